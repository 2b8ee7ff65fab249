#include "plugin/DemoSignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using qm::Trazelle::DemoSignal;

namespace
{

struct Peaks
{
  double left = 0.0, right = 0.0;
};

Peaks PeaksBetween(const DemoSignal& s, double begin, double end)
{
  Peaks p;
  for (auto i = static_cast<std::int64_t>(begin * s.SampleRate());
       i < static_cast<std::int64_t>(end * s.SampleRate()); ++i)
  {
    p.left = std::max(p.left, std::fabs(s.Left(i)));
    p.right = std::max(p.right, std::fabs(s.Right(i)));
  }
  return p;
}

} // namespace

TEST(DemoSignal, LastsThreeSecondsAndIsSilentOutside)
{
  const DemoSignal s(48000.0);
  EXPECT_EQ(s.TotalFrames(), 144000);
  EXPECT_EQ(s.Left(-1), 0.0);
  EXPECT_EQ(s.Right(144000), 0.0);
}

TEST(DemoSignal, EachSegmentPeaksAtItsLevel)
{
  const DemoSignal s(48000.0);
  for (const auto& segment : DemoSignal::kSegments)
  {
    const Peaks p = PeaksBetween(s, segment.begin, segment.end);
    EXPECT_NEAR(p.left, segment.leftLevel, segment.leftLevel * 0.01) << segment.begin;
    EXPECT_NEAR(p.right, segment.rightLevel, segment.rightLevel * 0.01 + 1e-12) << segment.begin;
  }
}

TEST(DemoSignal, HasAQuietStretchAndLevelChanges)
{
  const DemoSignal s(48000.0);
  const Peaks quiet = PeaksBetween(s, 2.0, 2.5);
  EXPECT_LT(quiet.left, 0.01);
  EXPECT_EQ(quiet.right, 0.0);
  EXPECT_GT(PeaksBetween(s, 0.75, 1.5).left, 1.5 * PeaksBetween(s, 0.0, 0.75).left);
}

TEST(DemoSignal, ChannelsDifferAndTheLeftRepeatsEveryPeriod)
{
  const DemoSignal s(44100.0);
  int differing = 0;
  for (int i = 0; i < 4410; ++i)
    differing += s.Left(i) != s.Right(i);
  EXPECT_GT(differing, 4000);
  // 110 Hz at 44100 Hz repeats every 400.9 frames: ten periods are 4009.09 frames.
  EXPECT_NEAR(s.Left(100), s.Left(100 + 4009), 0.01);
  // Falling zero crossings for a trigger: the sine crosses downward once per period.
  int falling = 0;
  for (int i = 1; i < 44100 / 2; ++i)
    falling += s.Left(i - 1) > 0.0 && s.Left(i) <= 0.0;
  EXPECT_NEAR(falling, 55, 1);
}

TEST(DemoSignal, FloatAndDoubleRenderingAgree)
{
  const DemoSignal s(48000.0);
  std::vector<float> lf(300), rf(300);
  std::vector<double> ld(300), rd(300);
  s.Render(143900, 300, lf.data(), rf.data()); // runs past the end
  s.Render(143900, 300, ld.data(), rd.data());
  for (int i = 0; i < 300; ++i)
  {
    EXPECT_EQ(lf[i], static_cast<float>(ld[i]));
    EXPECT_EQ(rf[i], static_cast<float>(rd[i]));
  }
  EXPECT_EQ(ld[299], 0.0);
}
