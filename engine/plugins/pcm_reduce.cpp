#include "engine/plugins/pcm_reduce.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

// One signed sample of `bits` to 16 bits: wider keep their top bits
// (arithmetic shift), narrower move up; out-of-range values are clamped.
int16_t To16(int32_t sample, int bits) {
  int64_t v = sample;
  if (bits > 16)
    v >>= (bits - 16);
  else if (bits < 16)
    v *= int64_t(1) << (16 - bits);
  return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

uint8_t ToUnsigned8(int32_t sample) { return static_cast<uint8_t>(std::clamp(sample, -128, 127) + 128); }

void Put16(uint8_t* out, int16_t v) {
  out[0] = static_cast<uint8_t>(v & 0xFF);
  out[1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

// 16-bit sources: each sample clipped to 16 bits. SSE2 (x86 only, so the
// stores are little-endian) packs eight frames at a time with the same
// saturation, for the usual mono and stereo.
void Interleave16(const int32_t* const planes[], uint32_t frames, uint32_t channels, uint8_t* out) {
  uint32_t f = 0;
#if defined(__SSE2__)
  if (channels == 2) {
    const int32_t *left = planes[0], *right = planes[1];
    for (; f + 8 <= frames; f += 8, out += 32) {
      const auto* l = reinterpret_cast<const __m128i*>(left + f);
      const auto* r = reinterpret_cast<const __m128i*>(right + f);
      const __m128i l16 = _mm_packs_epi32(_mm_loadu_si128(l), _mm_loadu_si128(l + 1));
      const __m128i r16 = _mm_packs_epi32(_mm_loadu_si128(r), _mm_loadu_si128(r + 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(l16, r16));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(l16, r16));
    }
  } else if (channels == 1) {
    for (; f + 8 <= frames; f += 8, out += 16) {
      const auto* m = reinterpret_cast<const __m128i*>(planes[0] + f);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(_mm_loadu_si128(m), _mm_loadu_si128(m + 1)));
    }
  }
#endif
  for (; f < frames; ++f)
    for (uint32_t c = 0; c < channels; ++c, out += 2) Put16(out, Clamp16(planes[c][f]));
}

}  // namespace

int DeliveredBits(int sourceBits) { return sourceBits == 8 ? 8 : 16; }

void InterleaveReduced(const int32_t* const planes[], uint32_t frames, uint32_t channels, int sourceBits,
                       uint8_t* out) {
  if (sourceBits == 8) {
    for (uint32_t f = 0; f < frames; ++f)
      for (uint32_t c = 0; c < channels; ++c) *out++ = ToUnsigned8(planes[c][f]);
    return;
  }
  if (sourceBits == 16) {
    Interleave16(planes, frames, channels, out);
    return;
  }
  for (uint32_t f = 0; f < frames; ++f)
    for (uint32_t c = 0; c < channels; ++c, out += 2) Put16(out, To16(planes[c][f], sourceBits));
}

void InterleavePlanes16(const int16_t* const planes[], size_t first, size_t frames, uint32_t channels,
                        uint8_t* out) {
  size_t f = first;
  const size_t end = first + frames;
#if defined(__SSE2__)
  if (channels == 2) {
    const int16_t *left = planes[0], *right = planes[1];
    for (; f + 8 <= end; f += 8, out += 32) {
      const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left + f));
      const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(right + f));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(l, r));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(l, r));
    }
  }
#endif
  for (; f < end; ++f)
    for (uint32_t c = 0; c < channels; ++c, out += 2) Put16(out, planes[c][f]);
}

int16_t FloatTo16(float x) {
  const long v = std::lrint(static_cast<double>(x) * 32768.0);
  return static_cast<int16_t>(std::clamp<long>(v, -32768, 32767));
}

void InterleaveFloatPlanes16(const float* const planes[], size_t frames, uint32_t channels, uint8_t* out) {
  if (channels == 2) {
    const float *left = planes[0], *right = planes[1];
    for (size_t f = 0; f < frames; ++f, out += 4) {
      Put16(out, FloatTo16(left[f]));
      Put16(out + 2, FloatTo16(right[f]));
    }
    return;
  }
  for (size_t f = 0; f < frames; ++f)
    for (uint32_t c = 0; c < channels; ++c, out += 2) Put16(out, FloatTo16(planes[c][f]));
}

void ReducePacked(const uint8_t* in, size_t samples, int sourceBits, uint8_t* out) {
  switch (sourceBits) {
    case 24:
      // Forward in place is safe: each output (2 bytes) ends before the
      // input it came from (3 bytes each) is read again.
      for (size_t i = 0; i < samples; ++i, in += 3, out += 2) {
        out[0] = in[1];
        out[1] = in[2];
      }
      return;
    case 32:
      for (size_t i = 0; i < samples; ++i, in += 4, out += 2) {
        out[0] = in[2];
        out[1] = in[3];
      }
      return;
    default:  // 8 and 16 bits are delivered as they are
      if (in != out) std::copy(in, in + samples * (sourceBits / 8), out);
  }
}

}  // namespace qv
