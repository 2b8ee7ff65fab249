// The headless platform: frames driven by the display tick, text in
// registered fonts, SVGs, resizing and the scripted stand-ins for prompts.

#include "RenderFixture.h"

#include "graphics/svg/SVGParser.h"

#include <algorithm>
#include <climits>

namespace trazelle::test
{

namespace
{

class FillControl : public IControl
{
public:
  FillControl(const IRECT& bounds, IColor color) : IControl(bounds), mColor(color) {}
  void Draw(GraphicsContext& g) override
  {
    g.FillRect(mColor, GetRECT());
    ++mDraws;
  }
  void SetColor(IColor c) { mColor = c; }
  int mDraws = 0;

private:
  IColor mColor;
};

// Draws `str` on a white frame and returns the ink's bounding box: the pixels
// darker than mid-grey.
IRECT TextInk(RenderTest& t, const IText& text, const char* str, const IRECT& where)
{
  const int w = RenderTest::kWidth, h = RenderTest::kHeight;
  t.Frame(
      [&](GraphicsContext& g)
      {
        g.FillRect(COLOR_WHITE, IRECT(0, 0, float(w), float(h)));
        g.DrawText(text, str, where);
      });
  int l = INT_MAX, top = INT_MAX, r = -1, b = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (t.Px(x, y).R < 128)
      {
        l = std::min(l, x);
        top = std::min(top, y);
        r = std::max(r, x + 1);
        b = std::max(b, y + 1);
      }
  return r < 0 ? IRECT() : IRECT(float(l), float(top), float(r), float(b));
}

} // namespace

using HeadlessPlatform = RenderTest;

TEST_F(HeadlessPlatform, TickDrawsOnlyWhatIsDirtyAndKeepsTheRest)
{
  auto* left = new FillControl(IRECT(0, 0, 50, 80), COLOR_RED);
  auto* right = new FillControl(IRECT(50, 0, 100, 80), COLOR_BLUE);
  G().AttachControl(left);
  G().AttachControl(right);
  G().Tick();
  EXPECT_EQ(G().GetFrameCount(), 1);
  Capture();
  EXPECT_EQ(Px(25, 40), COLOR_RED);
  EXPECT_EQ(Px(75, 40), COLOR_BLUE);

  G().Tick(); // nothing dirty: no frame
  EXPECT_EQ(G().GetFrameCount(), 1);

  right->SetColor(COLOR_GREEN);
  right->SetDirty(false);
  const int leftDraws = left->mDraws;
  G().Tick();
  EXPECT_EQ(G().GetFrameCount(), 2);
  Capture();
  EXPECT_EQ(Px(75, 40), COLOR_GREEN);
  EXPECT_EQ(Px(25, 40), COLOR_RED);       // kept from the previous frame
  EXPECT_LE(left->mDraws - leftDraws, 1); // at most its edge strip was redrawn
}

TEST_F(HeadlessPlatform, TextInAnEmbeddedFontLandsWhereAligned)
{
  ASSERT_TRUE(G().LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  const IText text(30.f, COLOR_BLACK, "Roboto-Regular", EAlign::Center, EVAlign::Middle);
  const IRECT box(0, 0, 100, 80);
  const IRECT ink = TextInk(*this, text, "HH", box);
  ASSERT_FALSE(ink.Empty()) << "no text was drawn";
  // Centred: the ink's middle is the box's middle. NanoVG sizes a font by its
  // line height (ascender to descender): Roboto's capitals are 1456 of 2400 units.
  EXPECT_NEAR((ink.L + ink.R) / 2, 50.f, 2.f);
  EXPECT_NEAR((ink.T + ink.B) / 2, 40.f, 4.f);
  EXPECT_NEAR(ink.B - ink.T, 30.f * 1456.f / 2400.f, 2.f);
  IRECT measured = box;
  const float width = G().MeasureText(text, "HH", measured);
  EXPECT_NEAR(width, ink.R - ink.L, 6.f);

  const IText left(30.f, COLOR_BLACK, "Roboto-Regular", EAlign::Near, EVAlign::Top);
  const IRECT inkLeft = TextInk(*this, left, "H", IRECT(10, 10, 90, 70));
  EXPECT_NEAR(inkLeft.L, 12.f, 3.f);
  EXPECT_GT(inkLeft.T, 10.f);
  EXPECT_LT(inkLeft.T, 20.f);
}

TEST_F(HeadlessPlatform, SVGEvenOddHoleStaysUnpainted)
{
  auto image = std::make_shared<svg::Image>();
  ASSERT_TRUE(svg::ParseSVG(R"svg(<svg width="100" height="80">
      <path fill="#ff0000" fill-rule="evenodd" d="M10 10 H90 V70 H10 Z M30 25 H70 V55 H30 Z"/>
    </svg>)svg",
                            "px", 72.f, *image));
  const ISVG svg(std::move(image));
  Frame([&](GraphicsContext& g) { g.DrawSVG(svg, IRECT(0, 0, 100, 80)); });
  EXPECT_EQ(Px(20, 40), COLOR_RED);
  EXPECT_EQ(Px(50, 15), COLOR_RED);
  EXPECT_EQ(Px(50, 40), COLOR_TRANSPARENT);
  EXPECT_EQ(Px(5, 5), COLOR_TRANSPARENT);
}

TEST_F(HeadlessPlatform, EmbeddedLogoDrawsInsideItsRectangle)
{
  const ISVG logo = G().LoadSVG("Quillmarsh_Logo_360x120.svg", "px", 72.f);
  ASSERT_TRUE(logo.IsValid());
  Frame([&](GraphicsContext& g) { g.DrawSVG(logo, IRECT(10, 10, 70, 30)); });
  int inside = 0, outside = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
    {
      const bool painted = Px(x, y).A > 0;
      (x >= 9 && x <= 70 && y >= 9 && y <= 30 ? inside : outside) += painted;
    }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(outside, 0);
}

TEST(HeadlessContexts, TwoEditorsDrawIndependently)
{
  GraphicsHeadless a(nullptr, 20, 20), b(nullptr, 30, 10);
  ASSERT_NE(a.OpenWindow(nullptr), nullptr) << a.GetError();
  ASSERT_NE(b.OpenWindow(nullptr), nullptr) << b.GetError();
  a.AttachControl(new FillControl(IRECT(0, 0, 20, 20), COLOR_RED));
  b.AttachControl(new FillControl(IRECT(0, 0, 30, 10), COLOR_BLUE));
  a.Tick();
  b.Tick();
  EXPECT_EQ(a.ReadPixel(10, 10), COLOR_RED);
  EXPECT_EQ(b.ReadPixel(10, 5), COLOR_BLUE);
  EXPECT_EQ(b.ReadPixels().size(), 30u * 10u * 4u);
}

} // namespace trazelle::test
