#include "controls/SwitchControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm::control::test
{
namespace
{

std::vector<double> Clicks(int states, int clicks)
{
  std::vector<double> seen;
  SwitchControl sw(
      IRECT(0, 0, 58, 26), states, [&](IControl* c) { seen.push_back(c->GetValue()); }, "",
      TestStyle());
  for (int i = 0; i < clicks; ++i)
    sw.OnMouseDown(29, 13, IMouseMod(true));
  return seen;
}

TEST(SwitchControl, EachClickStepsToTheNextStateAndWrapsToZero)
{
  EXPECT_EQ(Clicks(2, 3), (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_EQ(Clicks(3, 4), (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  // Adding 0.1 ten times falls short of 1; stepping by state index must not.
  const auto eleven = Clicks(11, 11);
  ASSERT_EQ(eleven.size(), 11u);
  for (int i = 0; i < 10; ++i)
    EXPECT_NEAR(eleven[i], (i + 1) / 10.0, 1e-12) << "click " << i;
  EXPECT_EQ(eleven[9], 1.0);
  EXPECT_EQ(eleven[10], 0.0);
}

TEST(SwitchControl, DoubleClickTogglesTwiceThroughTheGraphicsContext)
{
  std::vector<double> seen;
  RecordingGraphics g;
  g.AttachControl(new SwitchControl(
      IRECT(0, 0, 58, 26), 2, [&](IControl* c) { seen.push_back(c->GetValue()); }, "mode",
      TestStyle()));
  g.OnMouseDown(Pointer(29, 13));
  g.OnMouseUp(Pointer(29, 13));
  g.OnMouseDblClick(29, 13, IMouseMod(true));
  g.OnMouseUp(Pointer(29, 13));
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0}));
}

} // namespace
} // namespace qm::control::test
