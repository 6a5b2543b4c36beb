#include "app/display/time_value.h"

namespace qv::display {

int32_t DisplayTimeSeconds(int status, int32_t lengthMs, int32_t positionMs, bool stream, bool timeReverse) {
  int64_t ms;
  if (status == 0)
    ms = lengthMs;
  else if (!stream && timeReverse)
    ms = static_cast<int64_t>(lengthMs) - positionMs;
  else
    ms = positionMs;
  int64_t t = ms / 1000;
  if (t < 0) return 0;
  return static_cast<int32_t>(t % 6000);
}

}  // namespace qv::display
