#include "editor/EditorLayout.h"

#include <gtest/gtest.h>

using kit::gfx::IRECT;
using qm::Trazelle::EditorLayout;

namespace
{

void ExpectRect(const IRECT& r, float l, float t, float rr, float b, const char* what)
{
  EXPECT_FLOAT_EQ(r.L, l) << what;
  EXPECT_FLOAT_EQ(r.T, t) << what;
  EXPECT_FLOAT_EQ(r.R, rr) << what;
  EXPECT_FLOAT_EQ(r.B, b) << what;
}

} // namespace

TEST(EditorLayout, TitleBarLogoAndScopeRegions)
{
  const auto l = EditorLayout::Make(832.f, 464.f);
  ExpectRect(l.titleBar, 0, 0, 832, 48, "title bar");
  ExpectRect(l.logo, 734, 13, 800, 35, "logo");
  ExpectRect(l.aboutArea, 0, 48, 832, 464, "about area");
  ExpectRect(l.scope, 0, 48, 832, 304, "scope");
  ExpectRect(l.upperHalf, 0, 48, 832, 176, "upper grid");
  ExpectRect(l.lowerHalf, 0, 176, 832, 304, "lower grid");
  EXPECT_FLOAT_EQ(l.zeroLineY, 176.f);
}

TEST(EditorLayout, LegendIsCentredOn88And88WithTwoRows)
{
  const auto l = EditorLayout::Make(832.f, 464.f);
  ExpectRect(l.legend, 40, 64, 136, 112, "legend");
  ExpectRect(l.legendRows[0], 48, 72, 128, 88, "left row");
  ExpectRect(l.legendRows[1], 48, 88, 128, 104, "right row");
}

TEST(EditorLayout, PositionSliderIsTheStripUnderTheScopeWithAFifthWideHandle)
{
  const auto l = EditorLayout::Make(832.f, 464.f);
  ExpectRect(l.positionSlider, 0, 304, 832, 320, "slider");
  ExpectRect(l.positionHandle, 0, 304, 166.4f, 320, "handle");
}

TEST(EditorLayout, PanelControlsSitOnTheControlRow)
{
  const auto l = EditorLayout::Make(832.f, 464.f);
  ExpectRect(l.panel, 48, 320, 784, 464, "panel");
  ExpectRect(l.meter, 56, 379, 248, 405, "meter");
  ExpectRect(l.freezeButton, 315, 379, 341, 405, "freeze");
  ExpectRect(l.channelSwitch, 347, 379, 405, 405, "channel");
  ExpectRect(l.zoomKnob, 412, 364, 468, 420, "v. zoom");
  ExpectRect(l.durationKnob, 476, 364, 532, 420, "duration");
  ExpectRect(l.modeSwitch, 539, 379, 597, 405, "mode");
  ExpectRect(l.themeMenu, 680, 368, 776, 384, "theme");
  ExpectRect(l.scaleMenu, 680, 400, 776, 416, "scale");
}

TEST(EditorLayout, HeadingsAndLinks)
{
  const auto l = EditorLayout::Make(832.f, 464.f);
  ExpectRect(l.inputHeading, 127, 334, 177, 354, "Input");
  ExpectRect(l.scopeHeading, 390, 334, 490, 354, "Oscilloscope");
  ExpectRect(l.graphicsHeading, 688, 334, 768, 354, "Graphics");
  ExpectRect(l.makerLink, 0, 270, 832, 288, "maker link");
  ExpectRect(l.donationLink, 0, 384, 832, 402, "donation link");
}

TEST(EditorLayout, PanelSnapsToMultiplesOfSixteenInOtherSizes)
{
  // The panel follows the window's size; the scope does not.
  const auto l = EditorLayout::Make(1000.f, 600.f);
  EXPECT_FLOAT_EQ(l.panel.W(), 736.f);
  EXPECT_FLOAT_EQ(l.panel.H(), 144.f);
  EXPECT_FLOAT_EQ(l.panel.MW(), 500.f);
  EXPECT_FLOAT_EQ(l.panel.B, 600.f);
  ExpectRect(l.scope, 0, 48, 832, 304, "scope");
  ExpectRect(l.logo, 902, 13, 968, 35, "logo");
}
