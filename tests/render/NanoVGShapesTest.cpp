// Shapes, blends, composites, clipping, arcs, dashes and gradients drawn by
// the NanoVG back end, probed pixel by pixel.

#include "RenderFixture.h"

namespace trazelle::test
{

namespace
{
constexpr IColor kRed = COLOR_RED;
constexpr IColor kBlue = COLOR_BLUE;
constexpr IColor kWhite = COLOR_WHITE;
constexpr IColor kNone = COLOR_TRANSPARENT;
} // namespace

using NanoVGFill = RenderTest;

TEST_F(NanoVGFill, FilledRectangleHasExactColourAndEdges)
{
  Frame([](GraphicsContext& g) { g.FillRect(IColor(255, 12, 200, 77), IRECT(10, 10, 30, 40)); });
  EXPECT_EQ(Px(20, 20), IColor(255, 12, 200, 77));
  EXPECT_EQ(Px(10, 10), IColor(255, 12, 200, 77)); // left/top edges are inside
  EXPECT_EQ(Px(29, 39), IColor(255, 12, 200, 77));
  EXPECT_EQ(Px(30, 20), kNone); // right/bottom edges are outside
  EXPECT_EQ(Px(20, 40), kNone);
  EXPECT_EQ(Px(5, 5), kNone);
}

TEST_F(NanoVGFill, EmptyRectangleDrawsNothing)
{
  Frame([](GraphicsContext& g) { g.FillRect(kRed, IRECT()); });
  for (int y = 0; y < kHeight; y += 7)
    for (int x = 0; x < kWidth; x += 7)
      ASSERT_EQ(Px(x, y), kNone) << x << "," << y;
}

TEST_F(NanoVGFill, BlendWeightHalvesAlpha)
{
  const IBlend half(EBlend::SrcOver, 0.5f);
  const IBlend none(EBlend::SrcOver, 0.f);
  Frame(
      [&](GraphicsContext& g)
      {
        g.FillRect(kWhite, IRECT(0, 0, 100, 30));
        g.FillRect(COLOR_BLACK, IRECT(0, 0, 20, 20), &half);
        g.FillRect(COLOR_BLACK, IRECT(20, 0, 40, 20));
        g.FillRect(COLOR_BLACK, IRECT(40, 0, 60, 20), &none);
        g.FillRect(kRed, IRECT(0, 40, 20, 60), &half); // on transparent
      });
  EXPECT_TRUE(Near(Px(10, 10), IColor(255, 128, 128, 128), 1)) << Px(10, 10);
  EXPECT_EQ(Px(30, 10), COLOR_BLACK); // a null blend leaves alpha as is
  EXPECT_EQ(Px(50, 10), kWhite);      // weight 0 leaves the target unchanged
  // Over transparent black the framebuffer holds premultiplied half red.
  EXPECT_TRUE(Near(Px(10, 50), IColor(128, 128, 0, 0), 1)) << Px(10, 50);
}

TEST_F(NanoVGFill, CompositeMethods)
{
  // Red square everywhere left of x = 50; a blue square over (30..70) with each method.
  const auto draw = [&](EBlend method)
  {
    const IBlend blend(method);
    Frame(
        [&](GraphicsContext& g)
        {
          g.FillRect(kRed, IRECT(0, 0, 50, 80));
          g.FillRect(kBlue, IRECT(30, 20, 70, 60), &blend);
        });
  };
  draw(EBlend::SrcOver);
  EXPECT_EQ(Px(40, 40), kBlue);
  EXPECT_EQ(Px(60, 40), kBlue);
  draw(EBlend::DstOver);
  EXPECT_EQ(Px(40, 40), kRed); // the destination stays on top
  EXPECT_EQ(Px(60, 40), kBlue);
  draw(EBlend::SrcIn);
  EXPECT_EQ(Px(40, 40), kBlue); // only where the destination is
  EXPECT_EQ(Px(60, 40), kNone);
  draw(EBlend::DstOut);
  EXPECT_EQ(Px(40, 40), kNone); // the source erases
  EXPECT_EQ(Px(20, 40), kRed);
  draw(EBlend::XOR);
  EXPECT_EQ(Px(40, 40), kNone);
  EXPECT_EQ(Px(60, 40), kBlue);
  EXPECT_EQ(Px(20, 40), kRed);
  draw(EBlend::Add);
  EXPECT_EQ(Px(40, 40), IColor(255, 255, 0, 255)); // source + destination
}

TEST_F(NanoVGFill, ClipRegionConfinesDrawing)
{
  Frame(
      [](GraphicsContext& g)
      {
        g.PathClipRegion(IRECT(20, 10, 60, 50));
        g.FillRect(kRed, IRECT(0, 0, 100, 80));
      });
  EXPECT_EQ(Px(20, 10), kRed);
  EXPECT_EQ(Px(59, 49), kRed);
  EXPECT_EQ(Px(19, 30), kNone);
  EXPECT_EQ(Px(60, 30), kNone);
  EXPECT_EQ(Px(40, 9), kNone);
  EXPECT_EQ(Px(40, 50), kNone);
}

TEST_F(NanoVGFill, ArcFromZeroToNinetyLiesInTheTopRightQuadrant)
{
  const float cx = 50, cy = 40, r = 30;
  Frame([&](GraphicsContext& g) { g.DrawArc(kRed, cx, cy, r, 0.f, 90.f, nullptr, 4.f); });
  const int d = static_cast<int>(r * 0.70710678f);
  EXPECT_EQ(Px(int(cx) + d, int(cy) - d), kRed);
  EXPECT_EQ(Px(int(cx) + 2, int(cy - r)), kRed); // starts at 12 o'clock
  EXPECT_EQ(Px(int(cx + r), int(cy) - 2), kRed); // ends at 3 o'clock
  EXPECT_EQ(Px(int(cx) - d, int(cy) - d), kNone);
  EXPECT_EQ(Px(int(cx) + d, int(cy) + d), kNone);
  EXPECT_EQ(Px(int(cx) - d, int(cy) + d), kNone);

  Frame([&](GraphicsContext& g) { g.FillArc(kBlue, cx, cy, r, 0.f, 90.f); });
  EXPECT_EQ(Px(int(cx) + 10, int(cy) - 10), kBlue);
  EXPECT_EQ(Px(int(cx) - 10, int(cy) - 10), kNone);
  EXPECT_EQ(Px(int(cx) + 10, int(cy) + 10), kNone);
}

TEST_F(NanoVGFill, DottedLineStartsWithAVisiblePiece)
{
  // Length 80, dash 10: eight pieces, the even ones drawn.
  Frame([](GraphicsContext& g) { g.DrawDottedLine(kRed, 10, 20, 90, 20, nullptr, 3.f, 10.f); });
  EXPECT_EQ(Px(15, 20), kRed);
  EXPECT_EQ(Px(25, 20), kNone);
  EXPECT_EQ(Px(35, 20), kRed);
  EXPECT_EQ(Px(85, 20), kNone);
  // Shorter than one dash: nothing at all.
  Frame([](GraphicsContext& g) { g.DrawDottedLine(kRed, 10, 20, 15, 20, nullptr, 3.f, 10.f); });
  EXPECT_EQ(Px(12, 20), kNone);
  // A dash length of zero does not hang or draw.
  Frame([](GraphicsContext& g) { g.DrawDottedLine(kRed, 10, 20, 90, 20, nullptr, 3.f, 0.f); });
  EXPECT_EQ(Px(15, 20), kNone);
}

TEST_F(NanoVGFill, DottedRectangleAlternatesAlongItsOutline)
{
  Frame([](GraphicsContext& g)
        { g.DrawDottedRect(kRed, IRECT(10, 10, 90, 70), nullptr, 3.f, 10.f); });
  EXPECT_EQ(Px(15, 10), kRed); // first piece from the top-left corner
  EXPECT_EQ(Px(25, 10), kNone);
  EXPECT_EQ(Px(50, 40), kNone); // nothing inside
  int onRight = 0;
  for (int y = 12; y < 68; ++y)
    onRight += Px(90, y) == kRed;
  EXPECT_GT(onRight, 15);
  EXPECT_LT(onRight, 45);
}

TEST_F(NanoVGFill, LinearGradientEndsCarryTheEndColours)
{
  Frame(
      [](GraphicsContext& g)
      {
        g.PathRect(IRECT(0, 0, 100, 40));
        g.PathFill(IPattern::CreateLinearGradient(20, 0, 80, 0, {{kRed, 0.f}, {kBlue, 1.f}}));
        // Three stops: only the first and the last take part.
        g.PathRect(IRECT(0, 40, 100, 80));
        g.PathFill(IPattern::CreateLinearGradient(
            0, 0, 100, 0, {{kRed, 0.f}, {COLOR_GREEN, 0.5f}, {kBlue, 1.f}}));
      });
  EXPECT_EQ(Px(5, 20), kRed); // beyond either end the end colour continues
  EXPECT_EQ(Px(95, 20), kBlue);
  const IColor mid = Px(50, 20);
  EXPECT_NEAR(mid.R, 128, 4);
  EXPECT_NEAR(mid.B, 128, 4);
  const IColor mid3 = Px(50, 60);
  EXPECT_LT(mid3.G, 8) << mid3; // the middle stop is not drawn
  EXPECT_NEAR(mid3.R, 128, 4);
}

TEST_F(NanoVGFill, RadialGradientRunsFromCentreToRadius)
{
  Frame(
      [](GraphicsContext& g)
      {
        g.PathRect(IRECT(0, 0, 100, 80));
        g.PathFill(IPattern::CreateRadialGradient(50, 40, 30, {{kRed, 0.f}, {kBlue, 1.f}}));
      });
  EXPECT_TRUE(Near(Px(50, 40), kRed, 6)) << Px(50, 40);
  EXPECT_EQ(Px(95, 40), kBlue);
  EXPECT_EQ(Px(50, 2), kBlue);
  const IColor half = Px(65, 40);
  EXPECT_NEAR(half.R, 128, 12);
  EXPECT_NEAR(half.B, 128, 12);
}

TEST_F(NanoVGFill, StrokedPathsHonourCapsAndWidth)
{
  Frame(
      [](GraphicsContext& g)
      {
        g.PathMoveTo(20, 20);
        g.PathLineTo(80, 20);
        IStrokeOptions square;
        square.mCapOption = ELineCap::Square;
        g.PathStroke(IPattern(kRed), 6.f, square);
        g.DrawLine(kBlue, 20, 50, 80, 50, nullptr, 6.f); // butt caps
      });
  EXPECT_EQ(Px(50, 18), kRed);
  EXPECT_EQ(Px(50, 22), kRed);
  EXPECT_EQ(Px(50, 25), kNone);
  EXPECT_EQ(Px(18, 20), kRed);  // square cap extends past the end
  EXPECT_EQ(Px(18, 50), kNone); // butt cap does not
  EXPECT_EQ(Px(21, 50), kBlue);
}

} // namespace trazelle::test
