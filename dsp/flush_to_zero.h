// Flush-to-zero and denormals-are-zero for the scope of one block of effect
// processing on the playback thread, restoring the thread's previous mode.
// The processor's bias keeps its filters out of the denormal range anyway;
// this guards against the slow path should any value still get there.
#pragma once

#if defined(__SSE__) || defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define QV_HAVE_MXCSR 1
#endif

namespace qv {

class ScopedFlushToZero {
 public:
#ifdef QV_HAVE_MXCSR
  ScopedFlushToZero() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
  ~ScopedFlushToZero() { _mm_setcsr(saved_); }
#else
  ScopedFlushToZero() {}
#endif
  ScopedFlushToZero(const ScopedFlushToZero&) = delete;
  ScopedFlushToZero& operator=(const ScopedFlushToZero&) = delete;

 private:
#ifdef QV_HAVE_MXCSR
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned saved_;
#endif
};

}  // namespace qv
