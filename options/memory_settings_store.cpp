#include "options/memory_settings_store.h"

#include <cstring>

#include "platform/text/utf16.h"

namespace qv {

struct MemorySettingsStore::Node {
  std::u16string name;
  std::vector<std::shared_ptr<Node>> children;
  std::vector<Value> values;
  Node* parent = nullptr;
  bool deleted = false;

  std::shared_ptr<Node> Child(std::u16string_view childName) const {
    for (const auto& c : children)
      if (U16EqualsAsciiNoCase(c->name, childName)) return c;
    return nullptr;
  }
  Value* FindValue(std::u16string_view valueName) {
    for (auto& v : values)
      if (U16EqualsAsciiNoCase(v.name, valueName)) return &v;
    return nullptr;
  }
};

namespace {

// The parts of a key path between backslashes; empty parts are skipped.
std::vector<std::u16string_view> KeyParts(std::u16string_view subkey) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= subkey.size()) {
    size_t end = subkey.find(u'\\', start);
    if (end == std::u16string_view::npos) end = subkey.size();
    if (end > start) parts.push_back(subkey.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

class MemoryKey : public SettingsKey {
 public:
  MemoryKey(std::shared_ptr<MemorySettingsStore::Node> node, bool writable, std::recursive_mutex& lock)
      : node_(std::move(node)), writable_(writable), lock_(lock) {}

  long Query(std::u16string_view name, uint32_t* type, void* data, uint32_t* size) override {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (node_->deleted) return kSettingsKeyDeleted;
    MemorySettingsStore::Value* v = node_->FindValue(name);
    if (!v) return kSettingsNotFound;
    if (type) *type = v->type;
    uint32_t actual = static_cast<uint32_t>(v->bytes.size());
    if (!size) return data ? kSettingsInvalidParameter : kSettingsOk;
    if (data && *size < actual) {
      *size = actual;
      return kSettingsMoreData;
    }
    if (data && actual) std::memcpy(data, v->bytes.data(), actual);
    *size = actual;
    return kSettingsOk;
  }

  long Set(std::u16string_view name, uint32_t type, const void* data, uint32_t size) override {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (node_->deleted) return kSettingsKeyDeleted;
    if (!writable_) return kSettingsAccessDenied;
    MemorySettingsStore::Value* v = node_->FindValue(name);
    if (!v) {
      node_->values.push_back({std::u16string(name), 0, {}});
      v = &node_->values.back();
    }
    v->type = type;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    v->bytes.assign(bytes, bytes + (bytes ? size : 0));
    return kSettingsOk;
  }

  long DeleteValue(std::u16string_view name) override {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (node_->deleted) return kSettingsKeyDeleted;
    if (!writable_) return kSettingsAccessDenied;
    auto& values = node_->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (U16EqualsAsciiNoCase(it->name, name)) {
        values.erase(it);
        return kSettingsOk;
      }
    }
    return kSettingsNotFound;
  }

 private:
  // A deleted key stays alive, marked, while it is open.
  std::shared_ptr<MemorySettingsStore::Node> node_;
  bool writable_;
  std::recursive_mutex& lock_;
};

}  // namespace

MemorySettingsStore::MemorySettingsStore() {
  for (SettingsRoot root : {SettingsRoot::CurrentUser, SettingsRoot::LocalMachine, SettingsRoot::ClassesRoot})
    roots_[root] = std::make_shared<Node>();
}

MemorySettingsStore::~MemorySettingsStore() = default;

std::shared_ptr<MemorySettingsStore::Node> MemorySettingsStore::Find(SettingsRoot root,
                                                                     std::u16string_view subkey) const {
  std::shared_ptr<Node> node = roots_.at(root);
  for (std::u16string_view part : KeyParts(subkey)) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

long MemorySettingsStore::Open(SettingsRoot root, std::u16string_view subkey, KeyAccess access,
                               std::unique_ptr<SettingsKey>& out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  out.reset();
  if (failOpens_) return failOpens_;
  std::shared_ptr<Node> node = Find(root, subkey);
  if (!node) return kSettingsNotFound;
  out = std::make_unique<MemoryKey>(node, access == KeyAccess::Write, lock_);
  return kSettingsOk;
}

long MemorySettingsStore::Create(SettingsRoot root, std::u16string_view subkey,
                                 std::unique_ptr<SettingsKey>& out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  out.reset();
  if (failOpens_) return failOpens_;
  std::shared_ptr<Node> node = roots_.at(root);
  for (std::u16string_view part : KeyParts(subkey)) {
    std::shared_ptr<Node> child = node->Child(part);
    if (!child) {
      child = std::make_shared<Node>();
      child->name = std::u16string(part);
      child->parent = node.get();
      node->children.push_back(child);
    }
    node = child;
  }
  out = std::make_unique<MemoryKey>(node, true, lock_);
  return kSettingsOk;
}

long MemorySettingsStore::DeleteKey(SettingsRoot root, std::u16string_view subkey) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = Find(root, subkey);
  if (!node) return kSettingsNotFound;
  if (!node->parent || !node->children.empty()) return kSettingsAccessDenied;
  auto& siblings = node->parent->children;
  for (auto it = siblings.begin(); it != siblings.end(); ++it) {
    if (*it == node) {
      siblings.erase(it);
      break;
    }
  }
  node->deleted = true;
  node->parent = nullptr;
  return kSettingsOk;
}

bool MemorySettingsStore::KeyExists(SettingsRoot root, std::u16string_view subkey) const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return Find(root, subkey) != nullptr;
}

std::vector<MemorySettingsStore::Value> MemorySettingsStore::Values(SettingsRoot root,
                                                                    std::u16string_view subkey) const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = Find(root, subkey);
  return node ? node->values : std::vector<Value>{};
}

}  // namespace qv
