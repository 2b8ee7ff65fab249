#include "controls/ScopedFlushDenormals.h"
#include "dsp/DCBlocker.h"
#include "dsp/StateVariableFilter.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using qm::dsp::DCBlocker;
using qm::dsp::StateVariableFilter;

namespace
{

// Peak output over the last second of two seconds of a unit sine through `filter`.
template <typename F>
double SteadyPeak(F& filter, double hz, double rate)
{
  double peak = 0.0;
  const int n = static_cast<int>(2 * rate);
  for (int i = 0; i < n; ++i)
  {
    const double y = filter.Process(std::sin(2 * std::numbers::pi * hz * i / rate), 0);
    if (i >= n / 2) peak = std::max(peak, std::fabs(y));
  }
  return peak;
}

} // namespace

TEST(DCBlocker, ConstantInputDecaysTowardZero)
{
  DCBlocker<double, 1> blocker(44100.0, 10.0);
  double y = blocker.Process(1.0, 0);
  EXPECT_EQ(y, 1.0); // the step passes at first
  double previous = y;
  for (int i = 1; i < 44100; ++i)
  {
    y = blocker.Process(1.0, 0);
    ASSERT_LT(y, previous);
    ASSERT_GT(y, 0.0);
    previous = y;
  }
  EXPECT_LT(y, 0.001); // one second is about 63 time constants of 1 / (2 pi 10 Hz)
}

// A reset at an unchanged rate (the host suspends and resumes) must still forget the old signal.
TEST(Filters, SetSampleRateClearsStateEvenAtTheSameRate)
{
  DCBlocker<double, 1> fresh(44100.0, 10.0), used(44100.0, 10.0);
  StateVariableFilter<double, 1> freshLow(qm::dsp::kLowPass, 44100.0, 20.0),
      usedLow(qm::dsp::kLowPass, 44100.0, 20.0);
  for (int i = 0; i < 100; ++i)
    usedLow.Process(used.Process(0.7, 0), 0);
  used.SetSampleRate(44100.0);
  usedLow.SetSampleRate(44100.0);
  EXPECT_EQ(used.Process(0.3, 0), fresh.Process(0.3, 0));
  EXPECT_EQ(usedLow.Process(0.5, 0), freshLow.Process(0.5, 0));
  used.Reset();
  EXPECT_EQ(used.Process(-0.2, 0), -0.2);
}

TEST(StateVariableFilter, LowPassPassesDcAndIsThreeDbDownAtCutoff)
{
  StateVariableFilter<double, 1> svf(qm::dsp::kLowPass, 48000.0, 1000.0);
  EXPECT_NEAR(SteadyPeak(svf, 1000.0, 48000.0), 1.0 / std::sqrt(2.0), 0.005);
  svf.SetSampleRate(48000.0);
  double y = 0.0;
  for (int i = 0; i < 48000; ++i)
    y = svf.Process(1.0, 0);
  EXPECT_NEAR(y, 1.0, 1e-9);
}

TEST(StateVariableFilter, TwentyHertzLowPassFallsTwelveDbPerOctave)
{
  StateVariableFilter<double, 1> svf(qm::dsp::kLowPass, 48000.0, 20.0);
  const double at1k = SteadyPeak(svf, 1000.0, 48000.0);
  EXPECT_NEAR(20 * std::log10(at1k), -68.0, 0.5); // (20 / 1000)^2
}

namespace
{

// Keeps the compiler from folding the arithmetic at build time.
volatile double gSmallest = DBL_MIN;

double Halved()
{
  return gSmallest * 0.5; // a denormal result unless flushed
}

} // namespace

#ifdef QM_FLUSH_DENORMALS_SSE
TEST(ScopedFlushDenormals, FlushesInsideAndRestoresOutside)
{
  EXPECT_GT(Halved(), 0.0);
  {
    qm::control::ScopedFlushDenormals flush;
    EXPECT_EQ(Halved(), 0.0);
    {
      qm::control::ScopedFlushDenormals nested;
      EXPECT_EQ(Halved(), 0.0);
    }
    EXPECT_EQ(Halved(), 0.0) << "an inner guard restores the outer mode, not the default";
  }
  EXPECT_GT(Halved(), 0.0);
}
#endif
