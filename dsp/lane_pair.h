// Two doubles side by side: the left and right channel of one frame.
//
// Every operation acts on each lane exactly as the same scalar operation
// would (IEEE double, no contraction into fused multiply-adds: the build uses
// -ffp-contract=off), so each lane's result is bit-identical to plain double
// arithmetic in the same order, while one instruction serves both channels.
#pragma once

namespace qv {

#if defined(__GNUC__) || defined(__clang__)
typedef double LanePair __attribute__((vector_size(16)));
#else
#error "LanePair needs the GCC/Clang vector extension"
#endif

inline LanePair MakeLanes(double left, double right) { return LanePair{left, right}; }
inline LanePair Broadcast(double v) { return LanePair{v, v}; }

// One direct-form-II section on both lanes. Coefficients c[0..4] as in
// BiquadSection, memories w1 and w2 updated in place.
inline LanePair RunSection(const LanePair* c, LanePair& w1, LanePair& w2, LanePair x) {
  const LanePair w = x + c[0] * w1 + c[1] * w2;
  const LanePair y = c[2] * w + c[3] * w1 + c[4] * w2;
  w2 = w1;
  w1 = w;
  return y;
}

}  // namespace qv
