// The fade-in after seeking: a seek drag keeps the player silent, and 200 ms
// after its last move the volume comes back in steps every 100 ms.
#pragma once

#include <cstdint>

namespace qv::display {

class SeekFade {
 public:
  // A move of a seek drag. True when the settle delay of an earlier move was
  // still pending: the player must go silent now (the fade restarts later).
  // The caller (re)starts the settle delay afterwards.
  bool OnDragMove();
  // The settle delay elapsed: the fade steps start.
  void OnSettled() { settlePending_ = false; }

  struct Step {
    int32_t engineVolume;  // what the engine gets now
    bool finished;         // the fade is over: stop the steps
  };
  // One fade step towards the set volume. Ends when it reaches the volume,
  // at once for volume 0, and while muted it keeps the player silent and ends.
  Step OnTick(int32_t volume, bool muted);

  bool Done() const { return done_; }

 private:
  bool settlePending_ = false;
  bool done_ = true;
  int32_t fadeVolume_ = 0;
  int32_t stepsLeft_ = 0;
};

}  // namespace qv::display
