#include "controls/SwitchControl.h"
#include "WidgetTestSupport.h"
#include "controls/ButtonControl.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm::control::test
{
namespace
{

struct SwitchFixture : ::testing::Test
{
  std::vector<double> seen;
  IActionFunction Record()
  {
    return [this](IControl* c) { seen.push_back(c->GetValue()); };
  }
};

TEST_F(SwitchFixture, ThreeStatesCycleThroughHalfAndOneBackToZero)
{
  SwitchControl sw(IRECT(347, 379, 405, 405), 3, Record(), "channel", TestStyle());
  for (int i = 0; i < 4; ++i)
    sw.OnMouseDown(376, 392, IMouseMod(true));
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  EXPECT_TRUE(sw.IsPressed());
}

TEST_F(SwitchFixture, TwoStatesToggle)
{
  SwitchControl sw(IRECT(0, 0, 58, 26), 2, Record(), "mode", TestStyle());
  sw.OnMouseDown(29, 13, IMouseMod(true));
  sw.OnMouseDown(29, 13, IMouseMod(true));
  sw.OnMouseDown(29, 13, IMouseMod(true));
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0, 1.0}));
}

TEST_F(SwitchFixture, ManyStatesVisitEveryStateAndLandExactlyOnOne)
{
  // Adding 0.1 ten times falls short of 1; stepping by state index must not.
  SwitchControl sw(IRECT(0, 0, 26, 26), 11, Record(), "", TestStyle());
  for (int i = 0; i < 11; ++i)
    sw.OnMouseDown(13, 13, IMouseMod(true));
  ASSERT_EQ(seen.size(), 11u);
  for (int i = 0; i < 10; ++i)
    EXPECT_NEAR(seen[i], (i + 1) / 10.0, 1e-12) << "click " << i;
  EXPECT_EQ(seen[9], 1.0);
  EXPECT_EQ(seen[10], 0.0);
}

TEST_F(SwitchFixture, DoubleClickTogglesTwiceThroughTheGraphicsContext)
{
  RecordingGraphics g;
  g.AttachControl(new SwitchControl(IRECT(0, 0, 58, 26), 2, Record(), "mode", TestStyle()));
  g.OnMouseDown(Pointer(29, 13));
  g.OnMouseUp(Pointer(29, 13));
  g.OnMouseDblClick(29, 13, IMouseMod(true));
  g.OnMouseUp(Pointer(29, 13));
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0}));
}

TEST_F(SwitchFixture, SquareWithValueTextBelowAcrossTheFullWidth)
{
  SwitchControl sw(IRECT(347, 379, 405, 405), 3, Record(), "channel", TestStyle());
  EXPECT_EQ(sw.GetWidgetBounds(), IRECT(363, 379, 389, 405));
  EXPECT_EQ(sw.GetValueRect(), IRECT(347, 409, 405, 424));
  EXPECT_EQ(sw.GetTargetRECT(), IRECT(347, 379, 405, 405));
  EXPECT_EQ(sw.GetRECT(), IRECT(347, 379, 405, 424));
  EXPECT_TRUE(sw.GetDblAsSingleClick());
}

TEST_F(SwitchFixture, AttachedSwitchPutsLabelBelowSquareAndValueBelowLabel)
{
  RecordingGraphics g;
  ControlStyle style = TestStyle();
  style.labelGap = 15.f;
  auto* sw = static_cast<SwitchControl*>(
      g.AttachControl(new SwitchControl(IRECT(347, 379, 405, 405), 3, Record(), "channel", style)));
  EXPECT_FLOAT_EQ(sw->GetLabelRect().T, 405.f + 15.f);
  EXPECT_FLOAT_EQ(sw->GetLabelRect().MW(), 376.f);
  EXPECT_FLOAT_EQ(sw->GetValueRect().T, sw->GetLabelRect().B);
  EXPECT_FLOAT_EQ(sw->GetRECT().B, sw->GetValueRect().B);

  sw->SetValueText("stereo");
  sw->Draw(g);
  const auto texts = Texts(g);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "channel");
  EXPECT_EQ(texts[1].text, "stereo");
}

TEST_F(SwitchFixture, DiscOutlinedInSlotOneAndFilledWhenPressed)
{
  RecordingGraphics g;
  SwitchControl sw(IRECT(0, 0, 58, 26), 2, Record(), "", TestStyle());
  sw.Draw(g);
  EXPECT_EQ(g.Count(Op::Fill), 0);
  ASSERT_EQ(PaintsWith(g, Op::Stroke, TestStyle().Color(1)).size(), 1u);
  const auto arcs = g.Of(Op::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_FLOAT_EQ(arcs[0].args[0], 29.f);
  EXPECT_FLOAT_EQ(arcs[0].args[2], 13.f);

  sw.OnMouseDown(29, 13, IMouseMod(true));
  g.Reset();
  sw.Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.GetStop(0).mColor, TestStyle().Color(10));
}

TEST_F(SwitchFixture, ButtonShowsOnStateAndNoValueText)
{
  RecordingGraphics g;
  ButtonControl button(IRECT(315, 379, 341, 405), Record(), "freeze", TestStyle());
  button.SetValueText("should not show");
  button.SetValue(1.0);
  button.Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.mType, EPatternType::Radial);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.GetStop(0).mColor, TestStyle().Color(7));
  EXPECT_TRUE(Texts(g).empty());

  // Under the pointer the "on" fill gets a translucent white wash on top.
  button.SetMouseIsOver(true);
  g.Reset();
  button.Draw(g);
  const auto fills = g.Of(Op::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[1].pattern.GetFirstColor(), IColor(60, 255, 255, 255));

  button.SetValue(0.0);
  g.Reset();
  button.Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.GetStop(0).mColor, TestStyle().Color(9));
}

TEST_F(SwitchFixture, ButtonThemeChangeRebuildsOnGradient)
{
  RecordingGraphics g;
  ButtonControl button(IRECT(0, 0, 26, 26), Record(), "freeze", TestStyle());
  ColorSet theme = DistinctColors();
  theme[7] = IColor(255, 233, 76, 0);
  button.SetColors(theme);
  button.SetValue(1.0);
  button.Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.GetStop(0).mColor, IColor(255, 233, 76, 0));
}

} // namespace
} // namespace qm::control::test
