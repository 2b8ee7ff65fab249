#include "editor/Themes.h"
#include "editor/Styles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qm::Trazelle;
using kit::gfx::EAlign;
using kit::gfx::EVAlign;
using kit::gfx::IColor;

TEST(Themes, MenuItemsAreTheThemeNamesInTableOrder)
{
  EXPECT_EQ(ThemeName(0), "blue");
  EXPECT_EQ(ThemeName(1), "orange");
  EXPECT_EQ(ThemeName(2), "green");
  EXPECT_EQ(ThemeName(3), "pink");
}

TEST(Themes, TraceAndMeterColoursOfEachTheme)
{
  // Slot 8 is the left trace and the meter bar, slot 7 the right trace, slot 6
  // where the title-bar gradient starts.
  EXPECT_EQ(ThemeColors(0)[8], IColor(255, 11, 85, 139));
  EXPECT_EQ(ThemeColors(0)[7], IColor(255, 56, 178, 230));
  EXPECT_EQ(ThemeColors(0)[6], IColor(255, 179, 228, 246));
  EXPECT_EQ(ThemeColors(1)[7], IColor(255, 255, 166, 12));
  EXPECT_EQ(ThemeColors(2)[6], IColor(255, 158, 222, 166));
  EXPECT_EQ(ThemeColors(2)[4], IColor(255, 196, 235, 201));
  EXPECT_EQ(ThemeColors(3)[8], IColor(255, 136, 14, 79));
  EXPECT_EQ(ThemeColors(3)[10], IColor(255, 173, 20, 87));
  EXPECT_EQ(ThemeColors(0)[9], IColor(255, 225, 244, 251));
}

TEST(Themes, SlotZeroIsTheAccentMadeTransparent)
{
  for (int t = 0; t < kNumThemes; ++t)
  {
    EXPECT_EQ(ThemeColors(t)[0].A, 0) << t;
    EXPECT_EQ(ThemeColors(t)[0], ThemeColors(t)[7].WithAlpha(0)) << t;
  }
}

TEST(Themes, SharedSlotsAreIdenticalAcrossThemes)
{
  for (int t = 1; t < kNumThemes; ++t)
    for (size_t slot : {1u, 2u, 3u, 5u, 11u, 12u})
      EXPECT_EQ(ThemeColors(t)[slot], ThemeColors(0)[slot]) << t << " slot " << slot;
  EXPECT_EQ(ThemeColors(0)[12], IColor(255, 233, 76, 0));
}

TEST(Themes, OrangeAndGreenShareTheirLeftTraceAndPressedColour)
{
  EXPECT_EQ(ThemeColors(1)[8], ThemeColors(1)[10]);
  EXPECT_EQ(ThemeColors(2)[8], ThemeColors(2)[10]);
  EXPECT_NE(ThemeColors(0)[8], ThemeColors(0)[10]);
  EXPECT_NE(ThemeColors(3)[8], ThemeColors(3)[10]);
}

TEST(Themes, IndicesOutsideTheTablesAreClamped)
{
  EXPECT_EQ(&ThemeColors(-3), &ThemeColors(0));
  EXPECT_EQ(&ThemeColors(99), &ThemeColors(3));
  EXPECT_EQ(ThemeName(1000), "pink");
  EXPECT_FLOAT_EQ(ZoomFactor(-1), 0.7f);
  EXPECT_FLOAT_EQ(ZoomFactor(6), 1.5f);
}

TEST(Themes, NeutralGridColoursAreLightGreyLines)
{
  const auto& n = NeutralColors();
  for (size_t slot : {1u, 2u, 3u})
    EXPECT_EQ(n[slot], IColor(255, 236, 239, 241));
  EXPECT_EQ(n[0], IColor(0, 96, 125, 139));
  EXPECT_EQ(n[5], IColor(255, 96, 125, 139));
  EXPECT_EQ(n[11], IColor(255, 207, 216, 220));
  EXPECT_EQ(kLineColor, IColor(255, 207, 216, 220));
}

TEST(Themes, ZoomTableIsSinglePrecisionWithExactHundredPercent)
{
  EXPECT_EQ(ZoomFactor(2), 1.0f);
  EXPECT_EQ(double(ZoomFactor(0)), double(0.7f));
  EXPECT_NE(double(ZoomFactor(0)), 0.7);
  EXPECT_EQ(ZoomItem(0), "70 %");
  EXPECT_EQ(ZoomItem(5), "150 %");
  EXPECT_EQ(int(kEditorWidth * ZoomFactor(5)), 1248);
  EXPECT_EQ(int(kEditorHeight * ZoomFactor(5)), 696);
}

TEST(Styles, PresetsCarryTheirTextStylesGapsAndFlags)
{
  const auto def = DefaultStyle();
  EXPECT_EQ(def.colors, ThemeColors(0));
  EXPECT_STREQ(def.labelText.mFont, "Abel-Regular");
  EXPECT_FLOAT_EQ(def.labelText.mSize, 18.f);
  EXPECT_FLOAT_EQ(def.valueText.mSize, 15.f);
  EXPECT_FLOAT_EQ(def.labelGap, 0.f);
  EXPECT_FLOAT_EQ(def.frameThickness, 1.f);
  EXPECT_FLOAT_EQ(SwitchStyle().labelGap, 15.f);
  EXPECT_FLOAT_EQ(PopupStyle().labelGap, 8.f);
  EXPECT_FALSE(MeterStyle().showValue);
  EXPECT_EQ(MeterStyle().valueText.mFGColor, IColor(255, 38, 50, 56));
  EXPECT_FLOAT_EQ(MeterStyle().valueText.mSize, 14.f);
}

TEST(Styles, GridPresetsAreNeutralWithLabelsOffAndValueTextsAnchored)
{
  for (const auto* style : {&UpperLevelGridStyle(), &LowerLevelGridStyle(), &TimeGridStyle()})
  {
    EXPECT_EQ(style->colors, NeutralColors());
    EXPECT_FALSE(style->showLabel);
    EXPECT_TRUE(style->showValue);
    EXPECT_STREQ(style->labelText.mFont, "Roboto-Regular");
    EXPECT_EQ(style->valueText.mAlign, EAlign::Near);
  }
  EXPECT_EQ(UpperLevelGridStyle().valueText.mVAlign, EVAlign::Top);
  EXPECT_EQ(LowerLevelGridStyle().valueText.mVAlign, EVAlign::Bottom);
  EXPECT_EQ(TimeGridStyle().valueText.mVAlign, EVAlign::Bottom);
}

TEST(Styles, HeadingAndTitleTexts)
{
  const auto heading = text::Heading();
  EXPECT_STREQ(heading.mFont, "Abel-Regular");
  EXPECT_FLOAT_EQ(heading.mSize, 20.f);
  EXPECT_EQ(heading.mFGColor, IColor(255, 176, 190, 197));
  const auto title = text::Title();
  EXPECT_STREQ(title.mFont, "Neuropol-Regular");
  EXPECT_FLOAT_EQ(title.mSize, 24.f);
  EXPECT_EQ(title.mFGColor, IColor(255, 38, 50, 56));
  EXPECT_EQ(text::Maker().mFGColor, IColor(255, 55, 71, 79));
  EXPECT_STREQ(text::Icon().mFont, "forkawesome");
}
