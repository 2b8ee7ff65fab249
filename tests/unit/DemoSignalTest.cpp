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
