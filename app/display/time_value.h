// The time the display shows, in seconds.
#pragma once

#include <cstdint>

namespace qv::display {

// Stopped: the length. Playing or paused: the position, or for a file with
// the remaining-time option the time left (never below 0). Times arrive in
// milliseconds; the result is 0-5999 (100 minutes and more wrap).
int32_t DisplayTimeSeconds(int status, int32_t lengthMs, int32_t positionMs, bool stream, bool timeReverse);

}  // namespace qv::display
