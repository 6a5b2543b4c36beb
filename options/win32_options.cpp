#include "options/win32_options.h"

#include <memory>

#include "options/registry_helpers.h"

namespace qv {

namespace {
constexpr char16_t kWindowAlpha[] = u"Window Alpha";
constexpr int32_t kOpaque = 255;
}  // namespace

CWin32Options::CWin32Options(SettingsStore& store) : COptions(store) {}

CWin32Options::~CWin32Options() = default;

void CWin32Options::LoadSettings(EngineHandle engine) {
  COptions::LoadSettings(engine);
  std::unique_ptr<SettingsKey> key;
  if (Store().Open(SettingsRoot::CurrentUser, kOptionsKey, KeyAccess::Read, key) != kSettingsOk) return;
  if (!QueryDwordField(*key, kWindowAlpha, WindowAlpha)) WindowAlpha = kOpaque;
  // 0 would make the window invisible with no way back.
  if (WindowAlpha < 1 || WindowAlpha > kOpaque) WindowAlpha = kOpaque;
}

long CWin32Options::SaveSettings(EngineHandle engine) {
  long rc = COptions::SaveSettings(engine);
  std::unique_ptr<SettingsKey> key;
  long opened = Store().Create(SettingsRoot::CurrentUser, kOptionsKey, key);
  if (opened != kSettingsOk) return rc != kSettingsOk ? rc : opened;
  long written = SetDwordValue(*key, kWindowAlpha, static_cast<uint32_t>(WindowAlpha));
  return rc != kSettingsOk ? rc : written;
}

}  // namespace qv
