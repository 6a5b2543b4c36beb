#include "app/shell/install_folder.h"

#include <memory>
#include <vector>

#include "app/skin/skin_ini_failure.h"
#include "app/skin/skin_path.h"
#include "options/registry_helpers.h"

namespace qv {

InstallFolder ReadInstallFolder(SettingsStore& store) {
  InstallFolder result;
  std::unique_ptr<SettingsKey> key;
  if (store.Open(SettingsRoot::LocalMachine, kAppPathsKey, KeyAccess::Read, key) != kSettingsOk) return result;
  uint32_t size = 0;
  long rc = key->Query(u"Path", nullptr, nullptr, &size);
  if (rc != kSettingsOk && rc != kSettingsMoreData) return result;  // missing: empty
  if (size > kInstallPathBytes) {
    result.usable = false;
    return result;
  }
  constexpr size_t kChars = kInstallPathBytes / sizeof(char16_t);
  std::vector<char16_t> text(kChars + 1, 0);
  if (!QueryTextField(*key, u"Path", text.data(), text.size())) return result;
  result.folder = WithTrailingSeparator(text.data());
  return result;
}

std::u16string WithTrailingSeparator(std::u16string_view folder) {
  std::u16string out(folder);
  if (!out.empty() && out.back() != u'\\' && out.back() != u'/') out += u'\\';
  return out;
}

std::u16string ControlLayerFile(const InstallFolder& install) {
  if (!install.usable) return {};
  return JoinSkinPath(install.folder, kSkinIniName);
}

}  // namespace qv
