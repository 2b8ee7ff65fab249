// Pixel probes on frames the real editor renders on the headless platform
// while the demo signal plays.

#include "EditorTestSupport.h"

#include "controls/SignalMeter.h"
#include "editor/Themes.h"

#include <cstdlib>

using namespace qm;
using namespace qm::test;
using kit::gfx::IColor;

namespace
{

constexpr IColor kWhite{255, 255, 255, 255};
constexpr IColor kGridLine{255, 236, 239, 241};
constexpr IColor kTitleText{255, 38, 50, 56};
// A one-pixel line on a pixel boundary covers two rows half each: on white
// it reads as the mid-point of white and the line colour.
constexpr IColor kHalfLine{255, 231, 235, 237};

// Rendering is the slow part, so the probes that only read share one frame:
// one second of the demo signal (its left channel is then the louder, so both
// traces show), default settings.
struct SharedFrame
{
  std::unique_ptr<render::EditorHarness> harness;
  render::RgbaImage image;
};
SharedFrame* gShared = nullptr;

} // namespace

class EditorPixelTest : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    gShared = new SharedFrame;
    gShared->harness = std::make_unique<render::EditorHarness>(44100.0, 512);
    std::string error;
    ASSERT_TRUE(gShared->harness->Open(error)) << error;
    const Trazelle::DemoSignal demo(44100.0);
    gShared->harness->Run(60, [&demo](int64_t first, int n, double* l, double* r)
                          { demo.Render(first, n, l, r); });
    ASSERT_TRUE(gShared->harness->Capture(gShared->image, error)) << error;
  }
  static void TearDownTestSuite()
  {
    delete gShared;
    gShared = nullptr;
  }
  void SetUp() override
  {
    ASSERT_NE(gShared, nullptr);
    ASSERT_EQ(image.width, 832);
    ASSERT_EQ(image.height, 464);
  }

  const render::RgbaImage& image = gShared->image;
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
  // Half way along the gradient, which ends 100 pixels before the right edge.
  const auto mid = image.At(366, 44);
  EXPECT_NEAR(mid.r, (blue[6].R + 255) / 2, 4);
  EXPECT_NEAR(mid.b, (blue[6].B + 255) / 2, 4);
  EXPECT_TRUE(Near(image.At(821, 44), kWhite, 1));
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
  // The logo's badge is a dark disc; nothing else that dark lies near it.
  const IColor badge{255, 38, 50, 56};
  EXPECT_GT(CountColour(image, 734, 13, 800, 35, badge, 30), 30);
  EXPECT_EQ(CountColour(image, 690, 0, 734, 47, badge, 30), 0);
  EXPECT_EQ(CountColour(image, 800, 0, 832, 47, badge, 30), 0);
}

TEST_F(EditorPixelTest, ScopeDrawsTheLeftTraceInSlotEightAndTheRightInSlotSeven)
{
  // The newest second fills the right half of the two-second view.
  EXPECT_GT(CountColour(image, 600, 49, 832, 304, blue[8], 12), 200);
  EXPECT_GT(CountColour(image, 600, 49, 832, 304, blue[7], 12), 200);
}

TEST_F(EditorPixelTest, LevelGridLinesAreVeryLightGrey)
{
  // Left of the signal only the grids and the flat zero trace are drawn.
  EXPECT_GT(CountColour(image, 150, 49, 500, 170, kGridLine, 1), 300);
  EXPECT_EQ(CountColour(image, 150, 49, 500, 170, blue[8], 40), 0);
}

TEST_F(EditorPixelTest, MeterBarIsDrawnInSlotEight)
{
  auto* meter = gShared->harness->ControlAs<control::SignalMeter<2>>(Tag::kTagMeter);
  ASSERT_NE(meter, nullptr);
  const auto bar = meter->GetBarRect(0);
  ASSERT_GT(meter->GetReadout(0).levelFraction, 0.5);
  const auto p = image.At(int(bar.L + 4.f), int(bar.MH()));
  EXPECT_TRUE(Near(p, blue[8], 6)) << int(p.r) << "," << int(p.g) << "," << int(p.b);
}

TEST_F(EditorPixelTest, TitleLineKeepsTheLineColour)
{
  EXPECT_TRUE(Near(image.At(826, 47), kHalfLine, 2));
  EXPECT_TRUE(Near(image.At(826, 48), kHalfLine, 2));
}

TEST(EditorPixels, PinkThemeRecoloursTitleBarAndTracesButNotGridsOrLines)
{
  render::EditorHarness h(44100.0, 512);
  std::string error;
  ASSERT_TRUE(h.Open(error)) << error;
  h.SetMenuChoice(3);
  h.Click(Where::kMenusX, Where::kThemeY);
  h.Click(Where::kChannelX, Where::kRowY); // left only: its trace is not covered
  const Trazelle::DemoSignal demo(44100.0);
  h.Run(30, [&demo](int64_t first, int n, double* l, double* r) { demo.Render(first, n, l, r); });
  render::RgbaImage pink;
  ASSERT_TRUE(h.Capture(pink, error)) << error;

  const auto& p = Trazelle::ThemeColors(3);
  const auto& blue = Trazelle::ThemeColors(0);
  EXPECT_TRUE(Near(pink.At(0, 40), p[6], 2));
  EXPECT_GT(CountColour(pink, 600, 49, 832, 304, p[8], 12), 200);
  EXPECT_EQ(CountColour(pink, 0, 49, 832, 304, blue[8], 3), 0);
  EXPECT_GT(CountColour(pink, 150, 49, 500, 170, kGridLine, 1), 300);
  EXPECT_TRUE(Near(pink.At(826, 48), kHalfLine, 2));
}

TEST(EditorPixels, ClosingAndReopeningWhileFrozenShowsTheSameFrozenPicture)
{
  render::EditorHarness h(44100.0, 512);
  std::string error;
  ASSERT_TRUE(h.Open(error)) << error;
  const Trazelle::DemoSignal demo(44100.0);
  const render::AudioSource play = [&demo](int64_t first, int n, double* l, double* r)
  { demo.Render(first, n, l, r); };
  h.Run(60, play);
  h.Click(Where::kFreezeX, Where::kRowY);
  // Drag the handle back to about 0.7: an older stretch that still holds signal.
  h.Drag(624.f, Where::kSliderY, -120.f, 0.f);
  ASSERT_LT(h.Plugin().Editor().GetPosition(), 0.8);
  ASSERT_GT(h.Plugin().Editor().GetPosition(), 0.6);
  h.Run(3, play);
  render::RgbaImage before, after;
  ASSERT_TRUE(h.Capture(before, error)) << error;
  const double position = h.Plugin().Editor().GetPosition();

  h.Close();
  h.Run(6, play); // the host keeps playing; the frozen buffers take nothing
  ASSERT_TRUE(h.Open(error)) << error;
  h.Run(3, play);
  ASSERT_TRUE(h.Capture(after, error)) << error;
  EXPECT_EQ(h.Plugin().Editor().GetPosition(), position);
  if (std::getenv("TRAZELLE_DUMP"))
  {
    render::WritePngFile("/tmp/before.png", before, error);
    render::WritePngFile("/tmp/after.png", after, error);
  }

  // The scope shows signal, and exactly the same picture as before.
  EXPECT_GT(CountColour(after, 0, 49, 832, 304, Trazelle::ThemeColors(0)[7], 12), 200);
  int differing = 0;
  for (int y = 49; y < 304; ++y)
    for (int x = 0; x < 832; ++x)
    {
      const auto a = after.At(x, y);
      if (!Near(before.At(x, y), IColor(255, a.r, a.g, a.b), 0)) ++differing;
    }
  EXPECT_EQ(differing, 0);
}
