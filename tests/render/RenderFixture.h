#pragma once

// A headless graphics context with helpers to draw one frame and probe its
// pixels. Probes read device pixels (x right, y down).

#include "graphics/platform/headless/GraphicsHeadless.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace trazelle::test
{

using namespace kit::gfx;

class RenderTest : public ::testing::Test
{
public:
  static constexpr int kWidth = 100;
  static constexpr int kHeight = 80;

  void SetUp() override { Open(kWidth, kHeight, 1.f); }

  void Open(int w, int h, float scale)
  {
    mGraphics = std::make_unique<GraphicsHeadless>(nullptr, w, h, 60, scale);
    ASSERT_NE(mGraphics->OpenWindow(nullptr), nullptr) << mGraphics->GetError();
  }

  GraphicsHeadless& G() { return *mGraphics; }

  // Draws one frame over the whole editor, then reads the window back. The
  // back end keeps the previous frame where nothing is drawn, so each frame
  // starts by erasing everything to transparent black.
  void Frame(const std::function<void(GraphicsContext&)>& draw)
  {
    G().BeginFrame();
    G().PrepareRegion(G().GetBounds());
    const IBlend erase(EBlend::DstOut);
    G().FillRect(COLOR_BLACK, G().GetBounds(), &erase);
    draw(G());
    G().EndFrame();
    Capture();
  }

  void Capture()
  {
    mPixels = G().ReadPixels();
    ASSERT_EQ(mPixels.size(), size_t(G().WindowWidth()) * size_t(G().WindowHeight()) * 4u);
  }

  IColor Px(int x, int y) const
  {
    const size_t i = (size_t(y) * size_t(mGraphics->WindowWidth()) + size_t(x)) * 4u;
    return IColor(mPixels[i + 3], mPixels[i], mPixels[i + 1], mPixels[i + 2]);
  }

  static bool Near(const IColor& a, const IColor& b, int tolerance)
  {
    return std::abs(a.A - b.A) <= tolerance && std::abs(a.R - b.R) <= tolerance &&
           std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
  }

  std::unique_ptr<GraphicsHeadless> mGraphics;
  std::vector<uint8_t> mPixels;
};

// Fills its rectangle in one colour; counts its draws.
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

} // namespace trazelle::test

namespace kit::gfx
{
// Readable colours in failure messages.
inline std::ostream& operator<<(std::ostream& os, const IColor& c)
{
  return os << "(A" << c.A << " R" << c.R << " G" << c.G << " B" << c.B << ")";
}
} // namespace kit::gfx
