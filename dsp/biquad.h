// Second-order IIR sections and cascades as the effect processor stores them.
#pragma once

namespace qv {

// Normalised coefficients of H(z) = (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2):
// c0 = -a1/a0, c1 = -a2/a0, c2 = b0/a0, c3 = b1/a0, c4 = b2/a0.
struct BiquadSection {
  double c0;
  double c1;
  double c2;
  double c3;
  double c4;
};

// Direct form II memory of one section.
struct BiquadMemory {
  double w1;
  double w2;
};

// A section count (stored as a double, read by truncation) and the sections.
template <int Capacity>
struct SectionCascade {
  double count;
  BiquadSection section[Capacity];
};

constexpr BiquadSection kPassThroughSection{0.0, 0.0, 1.0, 0.0, 0.0};

// The number of sections a cascade runs: its count truncated and kept within
// what the cascade holds, so a damaged count can never index past the end.
template <int Capacity>
inline int SectionsToRun(const SectionCascade<Capacity>& cascade) {
  const double n = cascade.count;
  if (!(n >= 1.0)) return 0;  // also NaN
  if (n >= Capacity) return Capacity;
  return static_cast<int>(n);
}

template <int Capacity>
inline void SetPassThrough(SectionCascade<Capacity>& cascade) {
  cascade.count = Capacity;
  for (auto& s : cascade.section) s = kPassThroughSection;
}

}  // namespace qv
