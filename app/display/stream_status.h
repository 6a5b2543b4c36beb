// The stream information line's text while a network stream connects,
// buffers or plays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::display {

struct StreamTexts {
  std::u16string_view connecting;  // "Connecting..."
  std::u16string_view buffering;   // "Buffering...   %d%%": one %d and literal %%
};

// The buffer fill shown: percent x 100 / prebuffer, kept within 0-100; a
// prebuffer of 0 or less (a damaged setting) counts as 100, so the line never
// divides by zero.
int32_t BufferingPercent(int32_t bufferPercent, int32_t preBuffer);

// state 2 connecting, 3 buffering, 4 playing (the stream's title), else empty.
std::u16string StreamStatusText(int streamState, int32_t shownPercent, const StreamTexts& texts,
                                std::u16string_view streamTitle);

}  // namespace qv::display
