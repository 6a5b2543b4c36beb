// A cascade of sections, software-pipelined: at step t section k works on
// sample t - k. The sections of one step are then independent of each other,
// so their arithmetic overlaps instead of waiting on the previous section;
// every section still sees its samples in order with the same operations, so
// the result is that of running the cascade sample by sample.
#include "dsp/processor_lanes.h"

namespace qv {

void RunCascadePipelined(const LanePair* coef, LanePair* memory, LanePair* pipe, LanePair* data, int n,
                         int count) {
  if (count <= 0 || n <= 0) return;
  const int last = count - 1;
  for (int t = 0; t < n + last; ++t) {
    const int kHigh = t < last ? t : last;
    const int kLow = t < n ? 0 : t - n + 1;
    if (t < n) pipe[0] = data[t];
    // Downwards, so that section k overwrites pipe[k + 1] only after
    // section k + 1 has taken its input for this step.
    for (int k = kHigh; k >= kLow; --k) {
      pipe[k + 1] = RunSection(coef + k * kSectionCoefs, memory[2 * k], memory[2 * k + 1], pipe[k]);
    }
    if (t >= last) data[t - last] = pipe[count];
  }
}

}  // namespace qv
