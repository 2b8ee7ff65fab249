#include "controls/LineControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace qm::control::test
{
namespace
{

TEST(LineControl, ReversedPointsGiveAWellFormedBoxButKeepTheirDirection)
{
  RecordingGraphics g;
  LineControl line(300, 200, 100, 50);
  EXPECT_EQ(line.GetRECT(), IRECT(100, 50, 300, 200));
  line.Draw(g);
  const auto moves = g.Of(Op::MoveTo);
  const auto lines = g.Of(Op::LineTo);
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(moves[0].args, (std::vector<float>{300, 200}));
  EXPECT_EQ(lines[0].args, (std::vector<float>{100, 50}));
}

TEST(LineControl, FlatLineIsStillDrawnByTheGraphicsContext)
{
  // A horizontal line has a zero-height box; the context's 0.75 px margin must still reach it.
  RecordingGraphics g;
  g.AttachControl(new LineControl(0, 176, 832, 176));
  IRECTList dirty;
  ASSERT_TRUE(g.IsDirty(dirty));
  g.Draw(dirty);
  EXPECT_EQ(g.Count(Op::Stroke), 1);
}

} // namespace
} // namespace qm::control::test
