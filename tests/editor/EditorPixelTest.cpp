// Pixel probes on frames the real editor renders on the headless platform
// while the demo signal plays.

#include "EditorTestSupport.h"

#include "controls/SignalMeter.h"
#include "editor/EditorLayout.h"
#include "editor/Themes.h"

using namespace qm;
using namespace qm::test;
using iplug::igraphics::IColor;

namespace
{

constexpr IColor kWhite{255, 255, 255, 255};
constexpr IColor kGridLine{255, 236, 239, 241};
constexpr IColor kTitleText{255, 38, 50, 56};

} // namespace

class EditorPixelTest : public EditorTest
{
protected:
  void SetUp() override
  {
    EditorTest::SetUp();
    PlayDemo(1.0); // the loudest stretch of the demo is playing at 1 s
    image = Capture();
    ASSERT_EQ(image.width, 832);
    ASSERT_EQ(image.height, 464);
  }
  render::RgbaImage image;
  const control::ColorSet& blue = Trazelle::ThemeColors(0);
};

TEST_F(EditorPixelTest, BackgroundIsWhiteAroundThePanel)
{
  for (auto [x, y] : {std::pair{10, 330}, {820, 455}, {20, 440}, {640, 440}})
    EXPECT_TRUE(Near(image.At(x, y), kWhite, 0)) << x << "," << y;
}

TEST_F(EditorPixelTest, TitleBarFadesFromSlotSixToWhite)
{
  EXPECT_TRUE(Near(image.At(0, 40), blue[6], 2));
  // Half way along the gradient (which ends 100 pixels before the right edge).
  const auto mid = image.At(366, 44);
  EXPECT_NEAR(mid.r, (blue[6].R + 255) / 2, 4);
  EXPECT_NEAR(mid.b, (blue[6].B + 255) / 2, 4);
  EXPECT_TRUE(Near(image.At(831 - 10, 44), kWhite, 1));
  EXPECT_TRUE(Near(image.At(740, 3), kWhite, 1));
}

TEST_F(EditorPixelTest, TitleTextIsDrawnInTheLeftPartOfTheTitleBar)
{
  // "Trazelle" is centred in the left 416 pixels.
  EXPECT_GT(CountColour(image, 108, 8, 308, 40, kTitleText, 40), 40);
  EXPECT_EQ(CountColour(image, 0, 0, 60, 47, kTitleText, 40), 0);
  EXPECT_EQ(CountColour(image, 420, 0, 700, 47, kTitleText, 40), 0);
}

TEST_F(EditorPixelTest, LogoIsDrawnInItsTitleBarRectangle)
{
  // The logo's badge is a dark disc; nothing else that dark lies there.
  const IColor badge{255, 38, 50, 56};
  EXPECT_GT(CountColour(image, 734, 13, 800, 35, badge, 30), 30);
  EXPECT_EQ(CountColour(image, 700, 0, 734, 47, badge, 30), 0);
}

TEST_F(EditorPixelTest, ScopeDrawsTheLeftTraceInSlotEightAndTheRightInSlotSeven)
{
  EXPECT_GT(CountColour(image, 150, 49, 832, 304, blue[8], 12), 200);
  EXPECT_GT(CountColour(image, 150, 49, 832, 304, blue[7], 12), 200);
}

TEST_F(EditorPixelTest, LevelGridLinesAreVeryLightGrey)
{
  EXPECT_GT(CountColour(image, 300, 49, 832, 304, kGridLine, 1), 300);
}

TEST_F(EditorPixelTest, MeterBarIsDrawnInSlotEight)
{
  auto* meter = harness->ControlAs<control::SignalMeter<2>>(Tag::kTagMeter);
  ASSERT_NE(meter, nullptr);
  const auto bar = meter->GetBarRect(0);
  const auto level = meter->GetReadout(0).levelFraction;
  ASSERT_GT(level, 0.5);
  const int y = int(bar.MH());
  const int x = int(bar.L + 4.f);
  EXPECT_TRUE(Near(image.At(x, y), blue[8], 6)) << int(image.At(x, y).r);
}

TEST_F(EditorPixelTest, ZeroLineAndTitleLineKeepTheLineColour)
{
  EXPECT_GT(CountColour(image, 0, 47, 832, 49, Trazelle::kLineColor, 2), 400);
}

TEST_F(EditorPixelTest, PinkThemeRecoloursTitleBarAndTracesButNotGridsOrHeadings)
{
  harness->SetMenuChoice(3);
  harness->Click(Where::kMenusX, Where::kThemeY);
  PlayDemo(0.2);
  const auto pink = Capture();
  const auto& p = Trazelle::ThemeColors(3);
  EXPECT_TRUE(Near(pink.At(0, 40), p[6], 2));
  EXPECT_GT(CountColour(pink, 150, 49, 832, 304, p[8], 12), 200);
  EXPECT_EQ(CountColour(pink, 150, 49, 832, 304, blue[8], 3), 0);
  EXPECT_GT(CountColour(pink, 300, 49, 832, 304, kGridLine, 1), 300);
  // Headings keep their light slate text.
  const IColor heading{255, 176, 190, 197};
  EXPECT_EQ(CountColour(pink, 670, 334, 790, 354, heading, 30) > 10,
            CountColour(image, 670, 334, 790, 354, heading, 30) > 10);
}

TEST_F(EditorPixelTest, ClosingAndReopeningWhileFrozenShowsTheSameFrozenPicture)
{
  harness->Click(Where::kFreezeX, Where::kRowY);
  harness->Click(300.f, Where::kSliderY);
  PlayDemo(0.2);
  const auto before = Capture();
  harness->Close();
  PlayDemo(0.5); // the host keeps playing; the frozen buffers take nothing
  std::string error;
  ASSERT_TRUE(harness->Open(error)) << error;
  PlayDemo(0.2);
  const auto after = Capture();
  int differing = 0;
  for (int y = 49; y < 320; ++y)
    for (int x = 0; x < 832; ++x)
      if (!Near(before.At(x, y), IColor(255, after.At(x, y).r, after.At(x, y).g, after.At(x, y).b),
                0))
        ++differing;
  EXPECT_EQ(differing, 0);
}
