// The oscilloscope's frame drawn headless through the NanoVG back end, from
// made-up columns: the band (both channels rendered in software into one
// picture) and the reference (one stroked four-point sub-path per pair of
// half-pixel columns). CPU time per frame (main thread) is reported against a
// baseline frame that fills the view once, in the same run.

#include "controls/TraceRaster.h"
#include "graphics/platform/headless/GraphicsHeadless.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{

using namespace kit::gfx;

constexpr int kWidth = 832;
constexpr int kHeight = 464;
const IRECT kView(16.f, 48.f, 816.f, 400.f);

std::unique_ptr<GraphicsHeadless> OpenGraphics(benchmark::State& state)
{
  auto g = std::make_unique<GraphicsHeadless>(nullptr, kWidth, kHeight);
  if (!g->OpenWindow(nullptr))
  {
    state.SkipWithError(g->GetError().c_str());
    return nullptr;
  }
  return g;
}

// Column minima and maxima of a two-tone test signal, in view coordinates.
struct Columns
{
  std::vector<float> x, lo, hi;
};

Columns MakeColumns(int count, float phase)
{
  Columns c;
  const float mid = (kView.T + kView.B) * 0.5f, half = (kView.B - kView.T) * 0.45f;
  for (int i = 0; i < count; ++i)
  {
    const float t = static_cast<float>(i) / count;
    const float v = 0.7f * std::sin(40.f * t + phase) + 0.2f * std::sin(517.f * t);
    c.x.push_back(kView.L + 0.5f * i + 0.5f);
    c.lo.push_back(mid - half * v + 2.f);
    c.hi.push_back(mid - half * v - 2.f);
  }
  return c;
}

void DrawChannel(GraphicsContext& g, const Columns& c, const IColor& color)
{
  g.PathClear();
  for (size_t i = 1; i < c.x.size(); ++i)
  {
    g.PathMoveTo(c.x[i], c.lo[i]);
    g.PathLineTo(c.x[i - 1], c.lo[i - 1]);
    g.PathLineTo(c.x[i - 1], c.hi[i - 1]);
    g.PathLineTo(c.x[i], c.hi[i]);
  }
  IStrokeOptions options;
  options.mMiterLimit = 10.f;
  g.PathStroke(IPattern(color), 1.f, options);
}

// The band drawing: both channels rendered in software, each filled with its colour at once.
void DrawBands(GraphicsContext& g, const Columns& left, const Columns& right,
               qm::control::TraceRaster& raster)
{
  const float scale = g.GetBackingPixelScale();
  raster.Begin(static_cast<int>(kView.W() * scale), static_cast<int>(kView.H() * scale), scale);
  std::vector<float> x(left.x.size());
  for (const auto& [c, color] :
       {std::pair{&left, IColor(255, 80, 200, 255)}, std::pair{&right, IColor(255, 255, 160, 60)}})
  {
    for (size_t i = 0; i < x.size(); ++i)
      x[i] = c->x[i] - kView.L;
    std::vector<float> top(c->hi), bottom(c->lo);
    for (float& y : top)
      y -= kView.T;
    for (float& y : bottom)
      y -= kView.T;
    raster.AddChannel(x.data(), top.data(), bottom.data(), static_cast<int>(x.size()), color);
  }
  raster.End();
  for (int channel = 0; channel < raster.Channels(); ++channel)
    g.DrawMask(&raster, channel, raster.Coverage(channel), raster.Width(), raster.Height(), true,
               kView, raster.ChannelColor(channel));
}

template <typename Draw>
void RunFrames(benchmark::State& state, GraphicsHeadless& g, Draw&& draw)
{
  for (auto _ : state)
  {
    g.BeginFrame();
    g.PrepareRegion(g.GetBounds());
    draw(g);
    g.EndFrame();
    // Waits for the rasteriser so frames cannot pile up in the GL queue.
    benchmark::DoNotOptimize(g.ReadPixel(0, 0));
  }
}

void BM_HeadlessFrameBaseline(benchmark::State& state)
{
  auto g = OpenGraphics(state);
  if (!g) return;
  RunFrames(state, *g, [](GraphicsContext& gr) { gr.FillRect(COLOR_BLACK, kView); });
}
BENCHMARK(BM_HeadlessFrameBaseline)->Unit(benchmark::kMillisecond);

// Two channels of 1600 half-pixel columns as bands: one picture, one upload.
void BM_HeadlessOscilloscopeFrame(benchmark::State& state)
{
  auto g = OpenGraphics(state);
  if (!g) return;
  const int columns = static_cast<int>((kView.R - kView.L) * 2.f);
  const Columns left = MakeColumns(columns, 0.f), right = MakeColumns(columns, 1.3f);
  qm::control::TraceRaster raster;
  RunFrames(state, *g,
            [&](GraphicsContext& gr)
            {
              gr.FillRect(COLOR_BLACK, kView);
              DrawBands(gr, left, right, raster);
            });
}
BENCHMARK(BM_HeadlessOscilloscopeFrame)->Unit(benchmark::kMillisecond);

// The reference: 3198 stroked sub-paths per frame.
void BM_HeadlessOscilloscopeFrame_Reference(benchmark::State& state)
{
  auto g = OpenGraphics(state);
  if (!g) return;
  const int columns = static_cast<int>((kView.R - kView.L) * 2.f);
  const Columns left = MakeColumns(columns, 0.f), right = MakeColumns(columns, 1.3f);
  RunFrames(state, *g,
            [&](GraphicsContext& gr)
            {
              gr.FillRect(COLOR_BLACK, kView);
              DrawChannel(gr, left, IColor(255, 80, 200, 255));
              DrawChannel(gr, right, IColor(255, 255, 160, 60));
            });
}
BENCHMARK(BM_HeadlessOscilloscopeFrame_Reference)->Unit(benchmark::kMillisecond);

} // namespace
