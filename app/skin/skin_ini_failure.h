// The one start-up failure the player shows: the installation folder has no
// "skin.ini". The player then cannot build its buttons and ends.
#pragma once

#include <string>

namespace qv {

constexpr char16_t kSkinIniName[] = u"skin.ini";
constexpr char16_t kVendorHomepage[] = u"http://www.quovira.com";
constexpr char16_t kSkinIniFailureTitle[] = u"QuoviraPlayer Error";
// The process ends with this code, so whoever started the player sees the
// failure (0 would report success).
constexpr int kMissingSkinIniExitCode = 2;

std::u16string MissingSkinIniMessage();

}  // namespace qv
