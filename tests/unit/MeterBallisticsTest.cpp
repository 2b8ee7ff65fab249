#include "controls/MeterBallistics.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using qm::control::MeterBallistics;
using qm::control::MeterChannelState;

namespace
{

constexpr double kRate = 48000.0;

double Db(double amplitude)
{
  return 20.0 * std::log10(amplitude);
}
double Amplitude(double db)
{
  return std::pow(10.0, db / 20.0);
}

// The editor's configuration.
MeterBallistics EditorBallistics(double rate = kRate)
{
  MeterBallistics b;
  b.SetSampleRate(rate);
  b.SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
  return b;
}

// Feeds a steady amplitude until the level has settled on it.
void Settle(const MeterBallistics& b, MeterChannelState& s, double amplitude)
{
  for (int i = 0; i < static_cast<int>(kRate); ++i)
    b.Process(s, i % 2 ? amplitude : -amplitude);
}

std::string Text(const MeterBallistics& b, const MeterChannelState& s)
{
  char text[16];
  MeterBallistics::FormatPeak(b.ReadOut(s), text, sizeof text);
  return text;
}

} // namespace

TEST(MeterBallistics, AttackRisesAt1100DbPerSecondAndStopsAtInputPeak)
{
  const MeterBallistics b = EditorBallistics();
  MeterChannelState s;
  const double floorAmp = Amplitude(-72.0);
  long aboveFloorAt = -1, reachedAt = -1;
  double previous = s.level;
  for (long i = 1; i <= 10000; ++i)
  {
    b.Process(s, 1.0);
    ASSERT_LE(s.level, 1.0) << "the level never overshoots the input";
    ASSERT_LE(Db(s.level) - Db(previous), 1100.0 / kRate + 1e-9) << "sample " << i;
    if (aboveFloorAt < 0 && s.level >= floorAmp) aboveFloorAt = i;
    if (reachedAt < 0 && s.level == 1.0) reachedAt = i;
    previous = s.level;
  }
  // 72 dB at 1100 dB/s: 65.45 ms, 3141.8 samples at 48 kHz.
  ASSERT_GT(aboveFloorAt, 0);
  ASSERT_GT(reachedAt, 0);
  EXPECT_NEAR(reachedAt - aboveFloorAt, 72.0 / 1100.0 * kRate, 1.0);
  // From the -80 dB start: 80 dB at 1100 dB/s.
  EXPECT_EQ(reachedAt, static_cast<long>(std::ceil(80.0 / 1100.0 * kRate)));
  EXPECT_EQ(s.peakHold, 1.0);
}

TEST(MeterBallistics, PeakHoldsFor750MsThenFallsAt200DbPerSecond)
{
  const MeterBallistics b = EditorBallistics();
  MeterChannelState s;
  Settle(b, s, 1.0);
  // The level wobbles by one release step on a steady input; end on a sample
  // where it touches the hold, so the hold time counts from the silence.
  while (s.level < s.peakHold)
    b.Process(s, 1.0);
  const double held = s.peakHold;
  ASSERT_EQ(held, 1.0);

  const long holdSamples = static_cast<long>(0.750 * kRate);
  for (long i = 0; i < holdSamples; ++i)
  {
    b.Process(s, 0.0);
    ASSERT_EQ(s.peakHold, held) << "released early at sample " << i;
  }
  b.Process(s, 0.0);
  EXPECT_LT(s.peakHold, held) << "still held after 750 ms";

  // 100 ms later it has fallen by a further 20 dB.
  const double start = Db(s.peakHold);
  for (long i = 0; i < static_cast<long>(0.1 * kRate); ++i)
    b.Process(s, 0.0);
  EXPECT_NEAR(start - Db(s.peakHold), 20.0, 1e-6);
}

TEST(MeterBallistics, ReadOutIsMinusInfAtTheFloorAndTheTrueValueAboveTheCeiling)
{
  const MeterBallistics b = EditorBallistics();
  MeterChannelState s;
  EXPECT_EQ(Text(b, s), "-Inf") << "fresh meter";
  s.peakHold = Amplitude(-72.0);
  EXPECT_EQ(Text(b, s), "-Inf");
  s.peakHold = Amplitude(-72.5);
  EXPECT_EQ(Text(b, s), "-Inf");
  EXPECT_EQ(b.ReadOut(s).peakFraction, 0.0);
  s.peakHold = Amplitude(-71.9);
  EXPECT_EQ(Text(b, s), "-71.9");
  Settle(b, s, Amplitude(12.3));
  EXPECT_EQ(Text(b, s), "12.3");
  EXPECT_EQ(b.ReadOut(s).peakFraction, 1.0);
}

TEST(MeterBallistics, InfinityReadsAsAnOverNaNIsIgnored)
{
  const MeterBallistics b = EditorBallistics();
  MeterChannelState s;
  Settle(b, s, 0.5);
  MeterChannelState withNaN = s;
  for (int i = 0; i < 4410; ++i)
  {
    b.Process(s, i % 2 ? INFINITY : -INFINITY);
    b.Process(withNaN, NAN);
  }
  EXPECT_NEAR(b.ReadOut(s).peakFraction, 1.0, 1e-9); // pinned at the top, not silence
  EXPECT_TRUE(std::isfinite(s.level));
  EXPECT_LE(withNaN.level, 0.5);
  EXPECT_EQ(withNaN.peakHold, 0.5);
}
