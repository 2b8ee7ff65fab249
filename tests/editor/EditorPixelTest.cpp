// Pixel probes on frames the real editor renders on the headless platform
// while the demo signal plays.

#include "EditorTestSupport.h"

#include "controls/SignalMeter.h"
#include "editor/Themes.h"

using namespace qm;
using namespace qm::test;
using kit::gfx::IColor;

namespace
{

constexpr IColor kWhite{255, 255, 255, 255};
constexpr IColor kGridLine{255, 236, 239, 241};
constexpr IColor kDark{255, 38, 50, 56}; // title text and the logo's badge
// A one-pixel line on a pixel boundary covers two rows half each: on white
// it reads as the mid-point of white and the line colour.
constexpr IColor kHalfLine{255, 231, 235, 237};

} // namespace

// Each theme chosen from its menu, one second of the demo signal (its left channel is then the
// louder, so both traces show): the theme's colours land where they belong, the neutral parts
// stay neutral.
TEST(EditorPixels, EachThemeColoursTitleBarTracesAndMeterButNotGridsOrLines)
{
  for (int theme = 0; theme < Trazelle::kNumThemes; ++theme)
  {
    SCOPED_TRACE(theme);
    render::EditorHarness h(44100.0, 512);
    std::string error;
    ASSERT_TRUE(h.Open(error)) << error;
    h.SetMenuChoice(theme);
    h.Click(Where::kMenusX, Where::kThemeY);
    EXPECT_EQ(h.Plugin().GetSettings().theme, theme);
    const Trazelle::DemoSignal demo(44100.0);
    h.Run(60, [&demo](int64_t first, int n, double* l, double* r) { demo.Render(first, n, l, r); });
    render::RgbaImage image;
    ASSERT_TRUE(h.Capture(image, error)) << error;
    ASSERT_EQ(image.width, 832);
    ASSERT_EQ(image.height, 464);
    const auto& c = Trazelle::ThemeColors(theme);

    // The title bar fades from slot 6 to white 100 pixels before the right edge.
    EXPECT_TRUE(Near(image.At(0, 40), c[6], 2));
    const auto mid = image.At(366, 44);
    EXPECT_NEAR(mid.r, (c[6].R + 255) / 2, 4);
    EXPECT_NEAR(mid.b, (c[6].B + 255) / 2, 4);
    EXPECT_TRUE(Near(image.At(821, 44), kWhite, 1));
    // "Trazelle" is centred in the left 416 pixels; the logo sits in its rectangle.
    EXPECT_GT(CountColour(image, 108, 8, 308, 40, kDark, 40), 40);
    EXPECT_EQ(CountColour(image, 420, 0, 734, 47, kDark, 40), 0);
    EXPECT_GT(CountColour(image, 734, 13, 800, 35, kDark, 30), 30);
    EXPECT_EQ(CountColour(image, 800, 0, 832, 47, kDark, 30), 0);
    // The newest second fills the right half of the two-second view: left trace slot 8, right 7.
    EXPECT_GT(CountColour(image, 600, 49, 832, 304, c[8], 12), 200);
    EXPECT_GT(CountColour(image, 600, 49, 832, 304, c[7], 12), 200);
    // Left of the signal only the neutral grids and the flat zero trace are drawn.
    EXPECT_GT(CountColour(image, 150, 49, 500, 170, kGridLine, 1), 300);
    EXPECT_EQ(CountColour(image, 150, 49, 500, 170, c[8], 40), 0);
    EXPECT_TRUE(Near(image.At(826, 47), kHalfLine, 2));
    EXPECT_TRUE(Near(image.At(826, 48), kHalfLine, 2));
    // The meter bar in slot 8 over its slot 4 background.
    auto* meter = h.ControlAs<control::SignalMeter<2>>(Tag::kTagMeter);
    ASSERT_NE(meter, nullptr);
    const auto bar = meter->GetBarRect(0);
    ASSERT_GT(meter->GetReadout(0).levelFraction, 0.5);
    ASSERT_LT(meter->GetReadout(0).peakFraction, 0.95);
    EXPECT_TRUE(Near(image.At(int(bar.L + 4.f), int(bar.MH())), c[8], 6));
    EXPECT_TRUE(Near(image.At(int(bar.R - 2.f), int(bar.MH())), c[4], 6));
    for (auto [x, y] : {std::pair{10, 330}, {820, 455}, {20, 440}, {640, 440}})
      EXPECT_TRUE(Near(image.At(x, y), kWhite, 0)) << x << "," << y;
  }
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
