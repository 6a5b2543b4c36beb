// A cascade of sections over a block, arranged so that the arithmetic of
// different sections overlaps instead of each section waiting on the one
// before it. Every section still sees its samples in order with the same
// operations, so the result is that of running the cascade sample by sample.
#include "dsp/processor_lanes.h"

namespace qv {
namespace {

#if !defined(__i386__)
// Software-pipelined: at step t section k works on sample t - k, so the
// sections of one step are independent of each other. Best where there are
// registers enough for the loop's addresses (x86-64).
void RunPipelined(const LanePair* coef, LanePair* memory, LanePair* pipe, LanePair* data, int n, int count) {
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
#else
// Two sections at a time over the whole block, their memories in registers:
// fewer loads and stores, which suits the eight SSE registers of x86-32.
void RunInPairs(const LanePair* coef, LanePair* memory, LanePair* data, int n, int count) {
  int k = 0;
  for (; k + 2 <= count; k += 2) {
    const LanePair* a = coef + k * kSectionCoefs;
    const LanePair* b = a + kSectionCoefs;
    LanePair a1 = memory[2 * k], a2 = memory[2 * k + 1], b1 = memory[2 * k + 2], b2 = memory[2 * k + 3];
    for (int i = 0; i < n; ++i) data[i] = RunSection(b, b1, b2, RunSection(a, a1, a2, data[i]));
    memory[2 * k] = a1, memory[2 * k + 1] = a2, memory[2 * k + 2] = b1, memory[2 * k + 3] = b2;
  }
  if (k < count) {
    const LanePair* a = coef + k * kSectionCoefs;
    LanePair a1 = memory[2 * k], a2 = memory[2 * k + 1];
    for (int i = 0; i < n; ++i) data[i] = RunSection(a, a1, a2, data[i]);
    memory[2 * k] = a1, memory[2 * k + 1] = a2;
  }
}
#endif

}  // namespace

void RunCascade(const LanePair* coef, LanePair* memory, LanePair* pipe, LanePair* data, int n,
                int count) {
  if (count <= 0 || n <= 0) return;
#if defined(__i386__)
  (void)pipe;
  RunInPairs(coef, memory, data, n, count);
#else
  RunPipelined(coef, memory, pipe, data, n, count);
#endif
}

}  // namespace qv
