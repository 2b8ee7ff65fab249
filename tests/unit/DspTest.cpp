#include "dsp/DCBlocker.h"
#include "dsp/MinMax.h"
#include "dsp/StateVariableFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using qm::dsp::DCBlocker;
using qm::dsp::MinMax;
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

TEST(DCBlocker, PoleFollowsCutoffAndRate)
{
  DCBlocker<double, 1> blocker(44100.0, 10.0);
  EXPECT_EQ(blocker.GetType(), 2);
  EXPECT_DOUBLE_EQ(blocker.GetPole(), 1.0 - 62.83185307179586 / 44100.0);
  blocker.SetSampleRate(48000.0);
  EXPECT_DOUBLE_EQ(blocker.GetPole(), 1.0 - 2 * std::numbers::pi * 10.0 / 48000.0);
  blocker.SetCutoff(20.0);
  EXPECT_DOUBLE_EQ(blocker.GetCutoff(), 20.0);
  EXPECT_DOUBLE_EQ(blocker.GetPole(), 1.0 - 2 * std::numbers::pi * 20.0 / 48000.0);
}

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

TEST(DCBlocker, PassesAudioBandSignalsAndKeepsChannelsApart)
{
  DCBlocker<double, 2> blocker(48000.0, 10.0);
  double peak0 = 0.0, last1 = 0.0;
  for (int i = 0; i < 96000; ++i)
  {
    const double x = std::sin(2 * std::numbers::pi * 1000.0 * i / 48000.0);
    const double y = blocker.Process(x, 0);
    if (i > 48000) peak0 = std::max(peak0, std::fabs(y));
    last1 = blocker.Process(0.0, 1);
  }
  EXPECT_NEAR(peak0, 1.0, 0.01);
  EXPECT_EQ(last1, 0.0);
}

TEST(DCBlocker, SetSampleRateClearsStateEvenAtTheSameRate)
{
  DCBlocker<double, 1> fresh(44100.0, 10.0), used(44100.0, 10.0);
  for (int i = 0; i < 100; ++i)
    used.Process(0.7, 0);
  used.SetSampleRate(44100.0);
  EXPECT_EQ(used.Process(0.3, 0), fresh.Process(0.3, 0));
  for (int i = 0; i < 100; ++i)
    used.Process(0.7, 0);
  used.Reset();
  EXPECT_EQ(used.Process(-0.2, 0), -0.2);
}

TEST(StateVariableFilter, CoefficientsFollowCutoffRateAndDamping)
{
  StateVariableFilter<double, 1> svf(qm::dsp::kLowPass, 48000.0, 20.0);
  const double g = std::tan(std::numbers::pi * 20.0 / 48000.0);
  const double r = 1.0 / std::sqrt(2.0);
  EXPECT_EQ(svf.GetDamping(), r);
  EXPECT_DOUBLE_EQ(svf.GetG(), g);
  EXPECT_DOUBLE_EQ(svf.GetH(), 1.0 / (1.0 + 2.0 * r * g + g * g));
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

TEST(StateVariableFilter, HighPassAndBandPassOutputs)
{
  StateVariableFilter<double, 1> hp(qm::dsp::kHighPass, 48000.0, 100.0);
  EXPECT_NEAR(SteadyPeak(hp, 5000.0, 48000.0), 1.0, 0.01);
  StateVariableFilter<double, 1> bp(qm::dsp::kBandPass, 48000.0, 1000.0);
  // With R = 1/sqrt(2) the band-pass peak at the centre is 1 / (2R) = 0.707.
  EXPECT_NEAR(SteadyPeak(bp, 1000.0, 48000.0), 1.0 / std::sqrt(2.0), 0.005);
  EXPECT_LT(SteadyPeak(bp, 20.0, 48000.0), 0.05);
}

TEST(StateVariableFilter, UnknownTypeOutputsSilenceButKeepsRunning)
{
  StateVariableFilter<double, 1> odd(4, 48000.0, 500.0), twin(qm::dsp::kLowPass, 48000.0, 500.0);
  for (int i = 0; i < 200; ++i)
  {
    const double x = std::sin(0.05 * i);
    ASSERT_EQ(odd.Process(x, 0), 0.0);
    twin.Process(x, 0);
  }
  odd.SetType(qm::dsp::kLowPass);
  EXPECT_EQ(odd.Process(0.25, 0), twin.Process(0.25, 0));
}

TEST(StateVariableFilter, SetSampleRateClearsStateEvenAtTheSameRate)
{
  StateVariableFilter<double, 1> fresh(qm::dsp::kLowPass, 44100.0, 20.0),
      used(qm::dsp::kLowPass, 44100.0, 20.0);
  for (int i = 0; i < 100; ++i)
    used.Process(1.0, 0);
  used.SetSampleRate(44100.0);
  EXPECT_EQ(used.Process(0.5, 0), fresh.Process(0.5, 0));
}

TEST(MinMax, StartsEmptyAndOneValueSetsBothEnds)
{
  MinMax<double> m;
  EXPECT_EQ(m.min, 1.7976931348623157e308);
  EXPECT_EQ(m.max, -1.7976931348623157e308);
  m.Apply(-0.25);
  EXPECT_EQ(m.min, -0.25);
  EXPECT_EQ(m.max, -0.25);
}

TEST(MinMax, TracksTheExtremesThroughTheBaseInterface)
{
  MinMax<double> m;
  qm::dsp::NumericFunctionObject<double, double>& f = m;
  for (double x : {0.1, -0.7, 0.9, 0.0, -0.2})
    f.Apply(x);
  EXPECT_EQ(m.min, -0.7);
  EXPECT_EQ(m.max, 0.9);
}
