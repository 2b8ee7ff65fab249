#include "controls/ControlBase.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace qm::control::test
{
namespace
{

/** The smallest concrete ControlBase: counts style rebuilds. */
class ProbeControl : public ControlBase
{
public:
  using ControlBase::ControlBase;

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

} // namespace
} // namespace qm::control::test
