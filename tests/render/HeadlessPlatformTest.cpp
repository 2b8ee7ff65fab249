// The headless platform: frames driven by the display tick, SVGs, and
// independent contexts.

#include "RenderFixture.h"

#include "graphics/svg/SVGParser.h"

namespace trazelle::test
{

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

TEST_F(HeadlessPlatform, FractionalScreenScaleSizesTheWindowAndDrawsOnWholePixels)
{
  // 100 x 80 at 150 %: logical 20 is device 30 exactly, so edges fall between pixels.
  G().AttachControl(new FillControl(IRECT(20, 20, 40, 40), COLOR_RED));
  G().SetScreenScaleAnswer(1.5f);
  G().Tick();
  EXPECT_EQ(G().WindowWidth(), 150);
  EXPECT_EQ(G().WindowHeight(), 120);
  Capture();
  for (const int inside : {30, 45, 59})
    EXPECT_EQ(Px(inside, inside), COLOR_RED) << inside;
  for (const int outside : {29, 60})
    EXPECT_EQ(Px(outside, outside), COLOR_TRANSPARENT) << outside;
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
