#include "app/skin/skin_ini_failure.h"

namespace qv {

std::u16string MissingSkinIniMessage() {
  std::u16string text = u"Please download the program again from the Quovira homepage (";
  text += kVendorHomepage;
  text += u") and reinstall it.";
  return text;
}

}  // namespace qv
