#include "engine/output/sample_ops.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

int16_t LoadS16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

void StoreS16(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint16_t>(static_cast<int16_t>(v));
  p[0] = static_cast<uint8_t>(u & 0xFF);
  p[1] = static_cast<uint8_t>(u >> 8);
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

// Arithmetic shift of a signed product (rounds towards minus infinity).
int32_t ShiftDown(int64_t v, int bits) { return static_cast<int32_t>(v >> bits); }

bool NearSilent16(const uint8_t* p) {
  const int16_t s = LoadS16(p);
  return s >= -16 && s <= 16;
}

bool FrameNearSilent(const uint8_t* frame, int bits, int channels) {
  for (int c = 0; c < channels; ++c) {
    const bool quiet = bits == 8 ? frame[c] == 128 : NearSilent16(frame + 2 * c);
    if (!quiet) return false;
  }
  return true;
}

// Frame bytes of a format the silence measure understands; 0 otherwise.
size_t MeasurableFrameBytes(int bits, int channels) {
  if ((bits != 8 && bits != 16) || channels <= 0) return 0;
  return static_cast<size_t>(channels) * static_cast<size_t>(bits / 8);
}

// The 16-bit gain runs on every sample of most sources (the headroom gain)
// and of every source while the volume is below full: eight samples at a
// time where the processor has SSE2 (x86 only, so the samples are in
// memory order), with the same results as the scalar steps.
void ApplyGain16(uint8_t* data, size_t samples, int gain) {
  size_t i = 0;
#if defined(__SSE2__)
  if (gain >= -32768 && gain <= 32767) {
    const __m128i factor = _mm_set1_epi16(static_cast<int16_t>(gain));
    for (; i + 8 <= samples; i += 8) {
      auto* p = reinterpret_cast<__m128i*>(data + 2 * i);
      const __m128i s = _mm_loadu_si128(p);
      // The 32-bit products from their low and high halves.
      const __m128i low = _mm_mullo_epi16(s, factor), high = _mm_mulhi_epi16(s, factor);
      const __m128i first = _mm_srai_epi32(_mm_unpacklo_epi16(low, high), 8);
      const __m128i second = _mm_srai_epi32(_mm_unpackhi_epi16(low, high), 8);
      _mm_storeu_si128(p, _mm_packs_epi32(first, second));  // clamps to 16 bits
    }
  }
#endif
  for (; i < samples; ++i)
    StoreS16(data + 2 * i, Clamp(ShiftDown(int64_t{LoadS16(data + 2 * i)} * gain, 8), -32768, 32767));
}

}  // namespace

void ApplyGain(uint8_t* data, size_t bytes, int bits, int gain) {
  if (gain == 256 || data == nullptr) return;
  if (bits == 16) {
    ApplyGain16(data, bytes / 2, gain);
  } else if (bits == 8) {
    for (size_t i = 0; i < bytes; ++i)
      data[i] = static_cast<uint8_t>(Clamp(ShiftDown(int64_t{data[i] - 128} * gain, 8) + 128, 0, 255));
  }
}

size_t MeasureSilenceFromStart(const uint8_t* data, size_t bytes, int bits, int channels) {
  const size_t frameBytes = MeasurableFrameBytes(bits, channels);
  if (frameBytes == 0 || data == nullptr) return 0;
  const size_t frames = bytes / frameBytes;
  size_t quiet = 0;
  while (quiet < frames && FrameNearSilent(data + quiet * frameBytes, bits, channels)) ++quiet;
  return quiet * frameBytes;
}

size_t MeasureSilenceFromEnd(const uint8_t* data, size_t bytes, int bits, int channels) {
  const size_t frameBytes = MeasurableFrameBytes(bits, channels);
  if (frameBytes == 0 || data == nullptr) return 0;
  const size_t frames = bytes / frameBytes;
  size_t quiet = 0;
  while (quiet < frames && FrameNearSilent(data + (frames - 1 - quiet) * frameBytes, bits, channels)) ++quiet;
  return quiet * frameBytes;
}

void FadeIn::Arm(int rate) {
  gain = 0;
  const uint64_t frames = rate > 0 ? static_cast<uint64_t>(rate) * 750 / 1000 : 0;
  framesLeft = static_cast<uint32_t>(std::min<uint64_t>(frames, UINT32_MAX));
  if (framesLeft == 0) {
    Cancel();
    return;
  }
  step = static_cast<int32_t>(1 + 65536 / framesLeft);
}

void FadeIn::Apply(uint8_t* data, size_t bytes, int bits, int channels) {
  if (!Active() || data == nullptr || channels <= 0 || (bits != 8 && bits != 16)) return;
  const size_t sampleBytes = static_cast<size_t>(bits / 8);
  const size_t frameBytes = sampleBytes * static_cast<size_t>(channels);
  for (size_t pos = 0; framesLeft > 0 && pos + frameBytes <= bytes; pos += frameBytes) {
    uint8_t* frame = data + pos;
    for (int c = 0; c < channels; ++c) {
      if (bits == 16) {
        uint8_t* p = frame + 2 * c;
        StoreS16(p, ShiftDown(int64_t{LoadS16(p)} * gain, 16));
      } else {
        frame[c] = static_cast<uint8_t>(ShiftDown(int64_t{frame[c] - 128} * gain, 16) + 128);
      }
    }
    gain += step;
    --framesLeft;
    if (gain >= 65536) Cancel();
  }
  if (framesLeft == 0) gain = 65536;
}

}  // namespace qv
