#pragma once

#if defined(__SSE2__) || defined(_M_X64) || defined(__x86_64__)
#include <xmmintrin.h>
#define QM_FLUSH_DENORMALS_SSE 1
#endif

namespace qm::control
{

/** Flushes denormal results to zero and treats denormal inputs as zero until it goes out of
 * scope, then restores the previous mode. Filters that decay over long quiet stretches otherwise
 * crawl through denormal arithmetic, which costs a hundred times a normal multiply. */
class ScopedFlushDenormals
{
public:
#ifdef QM_FLUSH_DENORMALS_SSE
  ScopedFlushDenormals() : mSaved(_mm_getcsr())
  {
    _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero);
  }
  ~ScopedFlushDenormals()
  {
    _mm_setcsr(mSaved);
  }
#else
  ScopedFlushDenormals() = default;
#endif
  ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
  ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
#ifdef QM_FLUSH_DENORMALS_SSE
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned mSaved;
#endif
};

} // namespace qm::control
