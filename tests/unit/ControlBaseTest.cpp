#include "controls/ControlBase.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace qm::control::test
{
namespace
{

/** The smallest concrete ControlBase: draws its label and value and counts style rebuilds. */
class ProbeControl : public ControlBase
{
public:
  using ControlBase::ControlBase;
  using ControlBase::mLabelRect;
  using ControlBase::mValueRect;

  void Draw(GraphicsContext& g) override
  {
    DrawLabel(g);
    DrawValue(g);
  }
  void OnStyleChanged() override { ++styleChanges; }

  int styleChanges = 0;
};

TEST(ControlBase, SetColorsReplacesOnlyTheColoursAndRebuilds)
{
  ControlStyle style = TestStyle();
  style.labelGap = 8.f;
  ProbeControl c(IRECT(0, 0, 50, 20), nullptr, style, "theme");
  c.SetClean();

  const ColorSet theme = DistinctColors(128);
  c.SetColors(theme);

  EXPECT_EQ(c.GetStyle().colors, theme);
  EXPECT_EQ(c.GetStyle().labelGap, 8.f);
  EXPECT_EQ(c.GetStyle().labelText, style.labelText);
  EXPECT_EQ(c.styleChanges, 1);
  EXPECT_TRUE(c.IsDirty());
}

TEST(ControlBase, SetStyleMarksDirtyWithoutRunningTheAction)
{
  int actions = 0;
  ProbeControl c(
      IRECT(0, 0, 50, 20), [&](IControl*) { ++actions; }, TestStyle(), "x");
  c.SetClean();
  ControlStyle other = TestStyle();
  other.showValue = false;
  c.SetStyle(other);
  EXPECT_FALSE(c.GetStyle().showValue);
  EXPECT_EQ(c.styleChanges, 1);
  EXPECT_TRUE(c.IsDirty());
  EXPECT_EQ(actions, 0);
}

TEST(ControlBase, MouseUpOutsideClearsHoverInsideKeepsIt)
{
  ProbeControl c(IRECT(10, 10, 50, 30), nullptr, TestStyle(), "");
  c.SetMouseIsOver(true);
  c.OnMouseUp(20, 20, IMouseMod());
  EXPECT_TRUE(c.GetMouseIsOver());
  c.OnMouseUp(50, 20, IMouseMod()); // the right edge is outside
  EXPECT_FALSE(c.GetMouseIsOver());
  EXPECT_FALSE(c.IsPressed());
}

TEST(ControlBase, LabelAndValueDrawnOnlyWhenShownAndNotEmpty)
{
  RecordingGraphics g;
  ControlStyle style = TestStyle();
  ProbeControl c(IRECT(0, 0, 50, 20), nullptr, style, "label");
  c.mLabelRect = IRECT(0, 20, 50, 38);
  c.mValueRect = IRECT(0, 38, 50, 53);

  c.Draw(g);
  EXPECT_EQ(Texts(g).size(), 1u) << "an empty value text is not drawn";

  c.SetValueText("1.00 s");
  g.Reset();
  c.Draw(g);
  ASSERT_EQ(Texts(g).size(), 2u);
  EXPECT_EQ(Texts(g)[0].text, "label");
  EXPECT_EQ(Texts(g)[1].text, "1.00 s");

  style.showLabel = false;
  style.showValue = false;
  c.SetStyle(style);
  g.Reset();
  c.Draw(g);
  EXPECT_TRUE(Texts(g).empty());
}

TEST(ControlBase, DisabledControlDrawsItsTextsAtQuarterAlpha)
{
  RecordingGraphics g;
  ProbeControl c(IRECT(0, 0, 50, 20), nullptr, TestStyle(), "label");
  c.mLabelRect = IRECT(0, 20, 50, 38);
  c.SetDisabled(true);
  c.Draw(g);
  ASSERT_EQ(Texts(g).size(), 1u);
  ASSERT_TRUE(Texts(g)[0].hasBlend);
  EXPECT_FLOAT_EQ(Texts(g)[0].blend.mWeight, 0.25f);
}

// The recording context measures 0.5 x size per glyph, so "theme" at size 18 is 45 x 18.
TEST(ControlBase, PlaceLabelLeftCentresVerticallyAndGrowsBounds)
{
  RecordingGraphics g;
  ProbeControl c(IRECT(680, 368, 776, 384), nullptr, TestStyle(), "");
  c.PlaceLabel(g, "theme", ControlBase::kLabelLeft, 8.f);

  const IRECT& label = c.GetLabelRect();
  EXPECT_FLOAT_EQ(label.R, 680.f - 8.f);
  EXPECT_FLOAT_EQ(label.W(), 45.f);
  EXPECT_FLOAT_EQ(label.MH(), 376.f);
  EXPECT_EQ(c.GetLabel(), "theme");
  EXPECT_TRUE(c.GetStyle().showLabel);
  EXPECT_EQ(c.GetRECT(), IRECT(label.L, 367, 776, 385));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(680, 368, 776, 384)) << "the label is not clickable";
}

TEST(ControlBase, PlaceLabelAboveBelowAndCentred)
{
  RecordingGraphics g;
  const IRECT w(100, 100, 200, 140);
  ProbeControl above(w, nullptr, TestStyle(), "");
  above.PlaceLabel(g, "ab", ControlBase::kLabelAbove, 5.f);
  EXPECT_FLOAT_EQ(above.GetLabelRect().B, 95.f);
  EXPECT_FLOAT_EQ(above.GetLabelRect().MW(), 150.f);

  ProbeControl below(w, nullptr, TestStyle(), "");
  below.PlaceLabel(g, "ab", ControlBase::kLabelBelow, 5.f);
  EXPECT_FLOAT_EQ(below.GetLabelRect().T, 145.f);
  EXPECT_FLOAT_EQ(below.GetLabelRect().MW(), 150.f);

  ProbeControl centred(w, nullptr, TestStyle(), "");
  centred.PlaceLabel(g, "ab", ControlBase::kLabelCentred, 5.f);
  EXPECT_FLOAT_EQ(centred.GetLabelRect().MW(), 150.f);
  EXPECT_FLOAT_EQ(centred.GetLabelRect().MH(), 120.f);
  EXPECT_EQ(centred.GetRECT(), w);
}

} // namespace
} // namespace qm::control::test
