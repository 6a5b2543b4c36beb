#include "app/shell/name_list.h"

#include <cstring>

#include "engine/engine_api.h"

namespace qv {

namespace {

constexpr uint32_t kDropHeaderBytes = 20;

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<char16_t> PackNameList(const std::vector<std::u16string>& names) {
  std::vector<char16_t> out;
  for (const std::u16string& name : names) {
    if (name.empty()) break;  // an empty name would end the list here
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
  }
  out.push_back(0);
  return out;
}

std::optional<std::vector<std::u16string>> UnpackNameList(const void* data, size_t bytes) {
  if (!data || bytes == 0 || bytes % 2 != 0 || bytes > kMaxNameListBytes) return std::nullopt;
  std::vector<char16_t> units(bytes / 2);
  std::memcpy(units.data(), data, bytes);
  std::vector<std::u16string> names;
  size_t i = 0;
  while (i < units.size()) {
    size_t end = i;
    while (end < units.size() && units[end] != 0) ++end;
    if (end == units.size()) return std::nullopt;  // a name without its terminator
    if (end == i) return names;                     // the empty name ends the list
    if (end - i < kPathChars) names.emplace_back(units.begin() + i, units.begin() + end);
    i = end + 1;
  }
  return std::nullopt;  // no empty name
}

std::vector<uint8_t> BuildDropFilesBlock(const std::vector<std::u16string>& names) {
  std::vector<char16_t> list = PackNameList(names);
  // One more zero unit than the list needs, as the shell's own blocks carry.
  std::vector<uint8_t> out(kDropHeaderBytes + (list.size() + 1) * 2, 0);
  PutLe32(out, 0, kDropHeaderBytes);
  PutLe32(out, 4, 10);
  PutLe32(out, 8, 10);
  PutLe32(out, 12, 0);
  PutLe32(out, 16, 1);
  for (size_t i = 0; i < list.size(); ++i) {
    out[kDropHeaderBytes + 2 * i] = static_cast<uint8_t>(list[i] & 0xFF);
    out[kDropHeaderBytes + 2 * i + 1] = static_cast<uint8_t>(list[i] >> 8);
  }
  return out;
}

}  // namespace qv
