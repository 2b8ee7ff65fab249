// The oscilloscope's frame drawn headless through the NanoVG back end, from
// made-up columns: the band (one batch of triangles and one closed outline
// per channel) and the reference (one stroked four-point sub-path per pair of
// half-pixel columns). CPU time per frame (main thread) is reported against a
// baseline frame that fills the view once, in the same run.

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

// The band: each column's extent as one batch of triangles (solid, no soft edges here) and its
// closed outline.
void DrawBand(GraphicsContext& g, const Columns& c, const IColor& color, std::vector<float>& tx,
              std::vector<float>& ty)
{
  const size_t n = c.x.size();
  size_t v = 0;
  for (size_t i = 0; i < n; ++i)
  {
    const float l = c.x[i] - 0.5f, r = c.x[i] + 0.5f;
    const float xs[6] = {l, r, r, l, r, l};
    const float ys[6] = {c.hi[i], c.hi[i], c.lo[i], c.hi[i], c.lo[i], c.lo[i]};
    for (int k = 0; k < 6; ++k, ++v)
    {
      tx[v] = xs[k];
      ty[v] = ys[k];
    }
  }
  g.FillTriangles(color, tx.data(), ty.data(), nullptr, static_cast<int>(v));
  g.PathClear();
  g.PathMoveTo(c.x[0], c.hi[0]);
  for (size_t i = 1; i < n; ++i)
    g.PathLineTo(c.x[i], c.hi[i]);
  for (size_t i = n; i-- > 0;)
    g.PathLineTo(c.x[i], c.lo[i]);
  g.PathClose();
  IStrokeOptions options;
  options.mMiterLimit = 10.f;
  g.PathStroke(IPattern(color), 1.f, options);
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

// Two channels of 1600 half-pixel columns as bands: two batches of triangles, two outlines.
void BM_HeadlessOscilloscopeFrame(benchmark::State& state)
{
  auto g = OpenGraphics(state);
  if (!g) return;
  const int columns = static_cast<int>((kView.R - kView.L) * 2.f);
  const Columns left = MakeColumns(columns, 0.f), right = MakeColumns(columns, 1.3f);
  std::vector<float> sx(6 * columns), sy(6 * columns);
  RunFrames(state, *g,
            [&](GraphicsContext& gr)
            {
              gr.FillRect(COLOR_BLACK, kView);
              DrawBand(gr, left, IColor(255, 80, 200, 255), sx, sy);
              DrawBand(gr, right, IColor(255, 255, 160, 60), sx, sy);
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
