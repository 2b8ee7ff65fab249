// The oscilloscope's whole frame on the headless platform (NanoVG on Mesa), at 48 kHz with a
// full-scale signal arriving in real time: one display tick of audio per iteration, played
// through the block function outside the timed region.
//
//   BM_OscilloscopeFrame                 everything a display tick costs with the band drawing
//                                        (drain, trigger, reduction, the picture rendered in
//                                        software, its upload, GL work, glFinish)
//   BM_OscilloscopeFrame_Settled         the same, with the GL work queued before the scope
//   finished
//                                        first, so that sending the picture to the GPU never waits
//                                        for it (Mesa makes a texture upload wait for the work it
//                                        has queued): the UI thread's CPU is then all its own work
//   BM_OscilloscopeFrame_Reference       the same with the per-column reference outlines (one
//                                        GL draw per column pair)
//   BM_OscilloscopeFrame_EmptyBaseline   a frame with nothing drawn, the fixed cost of a frame
//   BM_OscilloscopeFrame_Paths           the band drawing's own work: both channels rendered
//                                        and handed to NanoVG (with the texture upload, no draw)
//   BM_OscilloscopeFrame_PolylineBaseline  the same columns as one polyline per channel
//
// Arguments: mode (0 = waveform 0.5 s, triggered; 1 = envelope 4 s, free-running) and scale in
// percent (100, 150). Times are wall clock (Mesa rasterises on worker threads); the CPU column
// is the main thread's; helper_us is what the helper thread spent on the right half of the picture
// per frame. The counter gl_draws is GL draw calls per frame, counted at the GL entry
// point; the scope's own share is the difference to the empty baseline at the same scale. draw_us
// is the wall time of the scope's Draw call alone: how long the UI thread is held by it (Mesa
// renders the frame later, on its own threads).

#include "ScopeBenchInput.h"
#include "controls/Oscilloscope.h"
#include "graphics/GLHeaders.h"
#include "graphics/platform/headless/GLDrawCounter.h"
#include "graphics/platform/headless/GraphicsHeadless.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <string>

namespace
{

using namespace kit::gfx;
using qm::control::ETraceDrawing;
using trazelle::bench::kRate;
using trazelle::bench::ScopeBenchInput;

// Fixed frame counts: software GL takes milliseconds a frame, and the paths stage spends most of
// each iteration outside its timed part, where the library cannot see it.
constexpr int kGLFrames = 40;
constexpr int kPathFrames = 100;

qm::control::ControlStyle BlueStyle()
{
  qm::control::ControlStyle style;
  style.colors[7] = IColor(255, 56, 178, 230);
  style.colors[8] = IColor(255, 11, 85, 139);
  return style;
}

// The editor's oscilloscope (832 x 256 at (0, 48)) in an 832 x 464 headless window at the given
// scale, with five seconds of signal behind it.
class ScopeFrame
{
public:
  explicit ScopeFrame(benchmark::State& state)
  {
    const int mode = static_cast<int>(state.range(0));
    const int percent = state.range(1) > 0 ? static_cast<int>(state.range(1)) : 100;
    mGraphics = std::make_unique<GraphicsHeadless>(nullptr, 832, 464, 60, percent / 100.f);
    if (!mGraphics->OpenWindow(nullptr))
    {
      state.SkipWithError(mGraphics->GetError().c_str());
      mGraphics.reset();
      return;
    }
    mScope = std::make_unique<qm::control::Oscilloscope<2>>(
        IRECT(0.f, 48.f, 832.f, 304.f), &mInput.Buffer(), kRate, 4.0, 2.0, BlueStyle());
    mScope->SetChannelMode(3);
    mScope->SetTriggerEnabled(mode == 0);
    mScope->SetDuration(mode == 0 ? 0.5 : 4.0);
    for (int i = 0; i < 300; ++i)
    {
      mInput.PlayTick();
      mScope->UpdateColumns();
    }
    const auto& columns = mScope->GetColumns();
    if (mode == 0 && columns.GetLastTriggerColumn() >= columns.GetSearchColumns())
      state.SkipWithError("the waveform test signal did not trigger");
    state.SetLabel(std::string(mode == 0 ? "waveform 0.5 s, " : "envelope 4 s, ") +
                   std::to_string(percent) + " %");
    // One frame resolves every GL entry point, so the draw counter can stand in from now on.
    Begin();
    mScope->Draw(G());
    End();
    InstallGLDrawCounter();
  }

  bool Ok() const { return mGraphics != nullptr; }
  GraphicsHeadless& G() { return *mGraphics; }
  qm::control::Oscilloscope<2>& Scope() { return *mScope; }
  ScopeBenchInput& Input() { return mInput; }

  void Begin(bool settled = false)
  {
    G().BeginFrame();
    G().PrepareRegion(G().GetBounds());
    G().FillRect(COLOR_WHITE, Scope().GetRECT());
    // The GL work the frame queued so far is done before the scope draws, so that sending its
    // picture to the GPU never waits for it.
    if (settled) glFinish();
  }

  void End()
  {
    G().EndFrame();
    glFinish();
  }

private:
  ScopeBenchInput mInput;
  std::unique_ptr<GraphicsHeadless> mGraphics;
  std::unique_ptr<qm::control::Oscilloscope<2>> mScope;
};

// GL draw calls per iteration since `start`.
void ReportDrawCalls(benchmark::State& state, long long start)
{
  state.counters["gl_draws"] = benchmark::Counter(static_cast<double>(GLDrawCalls() - start),
                                                  benchmark::Counter::kAvgIterations);
}

void ScopeArgs(benchmark::internal::Benchmark* b)
{
  for (int percent : {100, 150})
    for (int mode : {0, 1})
      b->Args({mode, percent});
}

void RunScopeFrames(benchmark::State& state, ETraceDrawing drawing, bool settled = false)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  f.Scope().SetTraceDrawing(drawing);
  const long long start = GLDrawCalls();
  const double helperStart = f.Scope().GetRaster().HelperSeconds();
  double drawSeconds = 0.0;
  for (auto _ : state)
  {
    state.PauseTiming();
    f.Input().PlayTick();
    state.ResumeTiming();
    f.Begin(settled);
    const auto drawStart = std::chrono::steady_clock::now();
    f.Scope().Draw(f.G());
    drawSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - drawStart).count();
    f.End();
  }
  ReportDrawCalls(state, start);
  state.counters["draw_us"] =
      benchmark::Counter(1e6 * drawSeconds, benchmark::Counter::kAvgIterations);
  state.counters["helper_us"] =
      benchmark::Counter(1e6 * (f.Scope().GetRaster().HelperSeconds() - helperStart),
                         benchmark::Counter::kAvgIterations);
  benchmark::DoNotOptimize(f.G().ReadPixel(400, 176));
}

void BM_OscilloscopeFrame(benchmark::State& state)
{
  RunScopeFrames(state, ETraceDrawing::Band);
}
BENCHMARK(BM_OscilloscopeFrame)
    ->Apply(ScopeArgs)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_Settled(benchmark::State& state)
{
  RunScopeFrames(state, ETraceDrawing::Band, true);
}
BENCHMARK(BM_OscilloscopeFrame_Settled)
    ->Apply(ScopeArgs)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_Reference(benchmark::State& state)
{
  RunScopeFrames(state, ETraceDrawing::Reference);
}
BENCHMARK(BM_OscilloscopeFrame_Reference)
    ->Apply(ScopeArgs)
    ->Iterations(kGLFrames / 4)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_EmptyBaseline(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  const long long start = GLDrawCalls();
  for (auto _ : state)
  {
    f.Begin();
    f.End();
  }
  ReportDrawCalls(state, start);
}
BENCHMARK(BM_OscilloscopeFrame_EmptyBaseline)
    ->Args({0, 100})
    ->Args({0, 150})
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_Paths(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  for (auto _ : state)
  {
    state.PauseTiming();
    f.Input().PlayTick();
    f.Scope().UpdateColumns();
    f.Begin();
    state.ResumeTiming();
    f.Scope().DrawTraces(f.G());
    state.PauseTiming();
    f.End();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OscilloscopeFrame_Paths)
    ->Args({0, 100})
    ->Args({1, 100})
    ->Iterations(kPathFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_PolylineBaseline(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  const long long start = GLDrawCalls();
  const double gain = f.Scope().GetGain();
  for (auto _ : state)
  {
    state.PauseTiming();
    f.Input().PlayTick();
    f.Scope().UpdateColumns();
    state.ResumeTiming();
    f.Begin();
    GraphicsContext& g = f.G();
    for (int channel = 0; channel < 2; ++channel)
    {
      const auto& ring = f.Scope().GetColumns().GetColumns(channel);
      g.PathClear();
      float x = 0.5f;
      for (const auto& column : ring)
      {
        const float y = f.Scope().ValueToY(0.5 * (column.min + column.max), gain);
        if (x == 0.5f)
          g.PathMoveTo(x, y);
        else
          g.PathLineTo(x, y);
        x += 0.5f;
      }
      g.PathStroke(f.Scope().GetChannelPattern(channel), 1.f);
    }
    f.End();
  }
  ReportDrawCalls(state, start);
}
BENCHMARK(BM_OscilloscopeFrame_PolylineBaseline)
    ->Args({0, 100})
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
