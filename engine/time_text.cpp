#include <cstdio>

#include "engine/engine_api.h"

namespace qv {

void FormatTimeText(int32_t durationMs, char16_t out[kTimeTextChars]) {
  const int64_t d = durationMs < 0 ? 0 : durationMs;
  const int64_t h = d / 3600000;
  const int64_t m = d / 60000 - 60 * h;
  const int64_t s = (d / 1000) % 60;
  char text[kTimeTextChars + 8];
  if (h == 0)
    std::snprintf(text, sizeof text, "%d%d:%d%d", int(m / 10), int(m % 10), int(s / 10), int(s % 10));
  else
    std::snprintf(text, sizeof text, "%d%d:%d%d:%d%d", int(h / 10), int(h % 10), int(m / 10),
                  int(m % 10), int(s / 10), int(s % 10));
  size_t i = 0;
  for (; text[i] && i + 1 < kTimeTextChars; ++i) out[i] = static_cast<char16_t>(text[i]);
  out[i] = 0;
}

}  // namespace qv
