#pragma once

#include <array>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm::Trazelle
{

// Counts overs per channel: samples whose magnitude reaches full scale (1.0) or that are not
// finite. The audio thread is the counters' only writer and publishes once per block with relaxed
// stores, so counting costs no lock, no read-modify-write and no allocation.
//
// The UI side never writes the counters: a reset remembers the counts at that moment and the
// display shows the difference, so a reset cannot race a block that is being counted.
class OverCounter
{
public:
  static constexpr int kChannels = 2;

  // A comparison that is false for NaN, so NaN counts together with the infinities.
  static bool IsOver(double x) { return !(std::fabs(x) < 1.0); }

  // [audio thread] Counts the overs of one block; a null channel counts nothing.
  void Count(const double* const* channels, int nChannels, std::size_t nFrames)
  {
    for (int c = 0; c < kChannels && c < nChannels; ++c)
    {
      const double* x = channels[c];
      if (!x) continue;
      const std::uint64_t overs = CountOvers(x, nFrames);
      if (overs)
        mCounts[c].store(mCounts[c].load(std::memory_order_relaxed) + overs,
                         std::memory_order_relaxed);
    }
  }

  // [any thread] Overs of `channel` since construction.
  std::uint64_t Total(int channel) const
  {
    return mCounts[channel].load(std::memory_order_relaxed);
  }

  // [ui thread] Overs of `channel` since the last ResetShown.
  std::uint64_t Shown(int channel) const { return Total(channel) - mShownFrom[channel]; }
  // [ui thread] Starts the shown counts again from zero.
  void ResetShown()
  {
    for (int c = 0; c < kChannels; ++c)
      mShownFrom[c] = Total(c);
  }

  // Overs among x[0, n). Without branches, so its cost does not depend on how often a signal
  // clips; on SSE2 (every x86-64 target) four samples at a time, as the compiler's default
  // optimisation level would count them one by one.
  static std::uint64_t CountOvers(const double* x, std::size_t n)
  {
    std::size_t i = 0;
    std::uint64_t overs = 0;
#if defined(__SSE2__)
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
    const __m128d one = _mm_set1_pd(1.0);
    // A lane that is not below one compares as all ones, which is -1 subtracted.
    auto overLanes = [&](std::size_t at)
    { return _mm_castpd_si128(_mm_cmpnlt_pd(_mm_and_pd(_mm_loadu_pd(x + at), magnitude), one)); };
    __m128i a = _mm_setzero_si128(), b = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4)
    {
      a = _mm_sub_epi64(a, overLanes(i));
      b = _mm_sub_epi64(b, overLanes(i + 2));
    }
    alignas(16) std::uint64_t lanes[2];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), _mm_add_epi64(a, b));
    overs = lanes[0] + lanes[1];
#endif
    for (; i < n; ++i)
      overs += IsOver(x[i]) ? 1u : 0u;
    return overs;
  }

private:
  std::array<std::atomic<std::uint64_t>, kChannels> mCounts{};
  std::array<std::uint64_t, kChannels> mShownFrom{};
};

} // namespace qm::Trazelle
