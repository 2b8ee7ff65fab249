// The oscilloscope redraws on every tick over grids and under labels that seldom change: those
// are kept in stored layers, so such a frame costs a handful of GL draws, and whatever changes
// among them still shows on the next frame exactly as a whole redraw shows it.

#include "EditorTestSupport.h"
#include "graphics/platform/headless/GraphicsHeadless.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

namespace qm::test
{

namespace
{

// ±0.5 with its sign flipping at irregular intervals of 10 to 60 ms: every block has the same peak
// and the same RMS, so the meter holds still, while the scope has something new on every tick.
void IrregularSquare(int64_t first, int n, double* left, double* right)
{
  for (int i = 0; i < n; ++i)
  {
    const int64_t step = (first + i) / 441;
    const double v = (step * 7919 / 3) % 5 < 2 ? 0.5 : -0.5;
    left[i] = v;
    right[i] = -v;
  }
}

// The window as the last ticks left it, without redrawing anything.
render::RgbaImage AsDrawn(render::EditorHarness& harness)
{
  auto* g = dynamic_cast<kit::gfx::GraphicsHeadless*>(harness.Plugin().GetUI());
  render::RgbaImage image;
  if (!g) return image;
  image.width = g->WindowWidth();
  image.height = g->WindowHeight();
  image.pixels = g->ReadPixels();
  return image;
}

int PixelsApart(const render::RgbaImage& a, const render::RgbaImage& b, int tolerance)
{
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
    {
      const auto p = a.At(x, y), q = b.At(x, y);
      if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance ||
          std::abs(p.b - q.b) > tolerance)
        ++n;
    }
  return n;
}

} // namespace

TEST_F(EditorTest, AFrameInWhichOnlyTheScopeMovedTakesAtMostSixteenDraws)
{
  // Envelope at 100 %, waveform at 150 % (where repainted regions are widened to whole logical
  // pixels and so reach past the device pixels the scope draws in).
  for (const auto& [mode, scale] : {std::pair{1, 2}, std::pair{0, 5}})
  {
    Settings().mode = Trazelle::EDisplayMode(mode);
    Settings().scale = scale;
    harness->Close();
    std::string error;
    ASSERT_TRUE(harness->Open(error)) << error;
    harness->Run(render::EditorHarness::kTicksPerSecond, IrregularSquare); // the meter settles
    for (int tick = 0; tick < 30; ++tick)
    {
      const render::TickStats before = harness->Stats();
      harness->Run(1, IrregularSquare);
      const render::TickStats& after = harness->Stats();
      ASSERT_EQ(after.frames, before.frames + 1) << "mode " << mode << ", tick " << tick;
      EXPECT_LE(after.draws - before.draws, 16) << "mode " << mode << ", tick " << tick;
    }
  }
}

TEST_F(EditorTest, WhatChangesAroundTheScopeShowsOnTheNextScopeFrames)
{
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"nothing", [] {}},
      {"theme",
       [&]
       {
         harness->SetMenuChoice(2);
         harness->Click(Where::kMenusX, Where::kThemeY);
       }},
      {"about page shown and closed",
       [&]
       {
         harness->Click(Where::kLogoX, Where::kLogoY);
         harness->Click(416.f, 150.f);
       }},
      {"vertical zoom", [&] { harness->Wheel(Where::kZoomX, Where::kRowY, 3); }},
  };
  for (int scale : {2, 5}) // 100 %, 150 %
  {
    Settings().scale = scale;
    harness->Close();
    std::string error;
    ASSERT_TRUE(harness->Open(error)) << error;
    harness->Run(30, IrregularSquare);
    for (const auto& [what, change] : changes)
    {
      SCOPED_TRACE(std::string(what) + ", scale " + std::to_string(scale));
      change();
      harness->Run(3, IrregularSquare);
      const render::RgbaImage drawn = AsDrawn(*harness);
      EXPECT_EQ(PixelsApart(drawn, Capture(), 2), 0);
    }
  }
}

} // namespace qm::test
