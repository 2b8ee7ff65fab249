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

TEST_F(NanoVGFill, MaskFillsColumnByColumnAndANewMaskReplacesTheOld)
{
  // A 60 x 40 mask, column by column: column x holds coverage 4 * x in its top half and 255 in
  // its bottom half.
  constexpr int kW = 60, kH = 40;
  std::vector<uint8_t> mask(size_t(kW) * kH);
  for (int x = 0; x < kW; ++x)
    for (int y = 0; y < kH; ++y)
      mask[size_t(x) * kH + size_t(y)] = y < kH / 2 ? uint8_t(4 * x) : uint8_t(255);
  const IRECT where(20, 20, 20 + kW, 20 + kH);
  const int owner = 0;
  auto probe = [&](int x, int y) { return Px(20 + x, 20 + y); };

  Frame([&](GraphicsContext& g) { g.DrawMask(&owner, 0, mask.data(), kW, kH, true, where, kRed); });
  EXPECT_TRUE(Near(probe(30, 5), IColor(120, 120, 0, 0), 1)) << probe(30, 5);
  EXPECT_EQ(probe(0, 5), kNone);
  EXPECT_EQ(probe(30, 30), kRed);

  // The same slot with other columns cleared: the image follows the new mask.
  for (int x = 10; x < 20; ++x)
    for (int y = 0; y < kH; ++y)
      mask[size_t(x) * kH + size_t(y)] = 0;
  Frame([&](GraphicsContext& g)
        { g.DrawMask(&owner, 0, mask.data(), kW, kH, true, where, kBlue); });
  EXPECT_EQ(probe(15, 30), kNone);
  EXPECT_EQ(probe(25, 30), kBlue);
}

} // namespace trazelle::test
