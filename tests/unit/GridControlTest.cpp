#include "controls/GridControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace qm::control::test
{
namespace
{

constexpr float kSpacing = 14.f; // the value text size, as the editor sets it

/** One drawn grid line: where it lies (y for horizontal, x for vertical) and its label. */
struct Line
{
  float pos;
  std::string label;
  std::vector<float> labelRect;
};

struct Grid : ::testing::Test
{
  ControlStyle style = TestStyle();
  RecordingGraphics g;

  Grid()
  {
    style.valueText = IText(14.f, IColor(255, 38, 50, 56), "Abel-Regular", EAlign::Near);
    style.showLabel = false;
  }

  /** Draws `grid` and pairs each slot-1 line stroke with the label drawn after it (if any). */
  std::vector<Line> Draw(GridControl& grid, bool vertical)
  {
    g.Reset();
    grid.Draw(g);
    std::vector<Line> lines;
    std::vector<Command> path;
    for (const Command& c : g.commands)
    {
      if (c.op == Op::Clear)
        path.clear();
      else if (c.op == Op::MoveTo || c.op == Op::LineTo)
        path.push_back(c);
      else if (c.op == Op::Stroke)
      {
        EXPECT_EQ(c.pattern.GetFirstColor(), style.Color(1));
        EXPECT_EQ(path.size(), 2u);
        const float a = path[0].args[vertical ? 0 : 1], b = path[1].args[vertical ? 0 : 1];
        EXPECT_EQ(a, b) << "grid lines are straight";
        lines.push_back({a, {}, {}});
        path.clear();
      }
      else if (c.op == Op::Text && !lines.empty())
      {
        lines.back().label = c.text;
        lines.back().labelRect = c.args;
      }
    }
    return lines;
  }
};

// The editor's upper level grid: 3 dB steps on an amplitude scale, labels at least 14 px apart.
TEST_F(Grid, DecibelLinesSitAtTheirAmplitudeCrowdedOnesAreSkippedNoneAtOrBelowMinus96)
{
  GridControl grid{IRECT(0, 48, 832, 176), style};
  grid.SetXRange(0, 1);
  grid.SetYRange(0, 1);
  grid.SetSteps(0.001, 3.0);
  grid.SetMinSpacing(3 * kSpacing, kSpacing);
  grid.SetLines(true, false);
  grid.SetDecibelMode(true);
  grid.SetLabelPrecision(1);
  const auto lines = Draw(grid, false);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0].label, "0.0");
  EXPECT_EQ(lines[1].label, "-3.0");
  const auto y = [](double level) { return 48.0 + 128.0 * (1.0 - std::pow(10.0, level / 20.0)); };
  size_t next = 0;
  double lastDrawn = 0.0;
  for (int level = 0; level > -96; level -= 3)
  {
    if (next < lines.size() && std::stod(lines[next].label) == level)
    {
      EXPECT_NEAR(lines[next].pos, y(level), 1e-3) << level;
      if (next > 0)
      {
        EXPECT_GE(std::fabs(y(level) - y(lastDrawn)), kSpacing - 1e-3) << level;
      }
      lastDrawn = level;
      ++next;
    }
    else
    {
      EXPECT_LT(std::fabs(y(level) - y(lastDrawn)), kSpacing) << "skipped " << level;
    }
  }
  EXPECT_EQ(next, lines.size()) << "every drawn line is a multiple of 3 dB above -96";
  EXPECT_LT(lines.size(), 32u) << "the quiet end thins out";

  grid.SetYRange(0, 1e-7);
  EXPECT_TRUE(Draw(grid, false).empty()) << "silent range";
  grid.SetYRange(0, 0);
  EXPECT_TRUE(Draw(grid, false).empty()) << "empty range";
  grid.SetYRange(0, 1);
  grid.SetSteps(0.001, 0.0);
  EXPECT_TRUE(Draw(grid, false).empty()) << "zero step";
}

// The editor's time grid starts at the smallest positive double, not at zero.
TEST_F(Grid, TimeGridFromSmallestPositiveDoubleStartsOneStepIn)
{
  style.valueText.mVAlign = EVAlign::Bottom;
  GridControl grid{IRECT(0, 48, 832, 304), style};
  grid.SetYRange(0, 1);
  grid.SetSteps(0.01, 1.0);
  grid.SetLines(false, true);
  grid.SetMirrored(1);
  grid.SetLabelPrecision(2);
  grid.SetMinSpacing(10.f, kSpacing);
  for (double lowest :
       {std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min()})
  {
    grid.SetXRange(lowest, 0.2);
    const auto lines = Draw(grid, true);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_NEAR(lines[0].pos, 41.6f, 1e-3);
    EXPECT_EQ(lines[0].label, "0.01");
    EXPECT_EQ(lines[1].label, "0.02");
    EXPECT_EQ(lines[0].labelRect, (std::vector<float>{lines[0].pos, 48, lines[1].pos, 304}))
        << "each label fills the cell right of its line";
  }
}

} // namespace
} // namespace qm::control::test
