#include "app/display/stream_status.h"

#include <string>

namespace qv::display {

int32_t BufferingPercent(int32_t bufferPercent, int32_t preBuffer) {
  int64_t base = preBuffer > 0 ? preBuffer : 100;
  int64_t shown = static_cast<int64_t>(bufferPercent) * 100 / base;
  return static_cast<int32_t>(shown < 0 ? 0 : (shown > 100 ? 100 : shown));
}

namespace {

// Expands the one "%d" and the "%%" escapes of a format text.
std::u16string FormatPercent(std::u16string_view format, int32_t value) {
  std::u16string out;
  std::string digits = std::to_string(value);
  bool usedNumber = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      char16_t next = format[i + 1];
      if (next == u'%') {
        out += u'%';
        ++i;
        continue;
      }
      if (next == u'd' && !usedNumber) {
        out.append(digits.begin(), digits.end());
        usedNumber = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace

std::u16string StreamStatusText(int streamState, int32_t shownPercent, const StreamTexts& texts,
                                std::u16string_view streamTitle) {
  switch (streamState) {
    case 2: return std::u16string(texts.connecting);
    case 3: return FormatPercent(texts.buffering, shownPercent);
    case 4: return std::u16string(streamTitle);
    default: return {};
  }
}

}  // namespace qv::display
