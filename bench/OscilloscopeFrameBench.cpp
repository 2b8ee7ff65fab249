// The oscilloscope's whole frame on the headless platform (NanoVG on Mesa), at 48 kHz with a
// full-scale signal arriving in real time: one display tick of audio per iteration, played
// through the block function outside the timed region.
//
//   BM_OscilloscopeFrame_Paths  building both channels' paths and handing them to NanoVG, which
//                               tessellates each stroke (no GL work yet)
//   BM_OscilloscopeFrame_Flush  NanoVG's end of frame (vertex upload, one GL draw per sub-path)
//                               and the copy to the window, waited for with glFinish
//   BM_OscilloscopeFrame        everything a display tick costs: drain, trigger, reduction,
//                               paths, GL work, glFinish
//   ..._EmptyBaseline           a frame with nothing drawn, the fixed cost of a frame
//   ..._PolylineBaseline        the same columns as one polyline per channel, what a single
//                               path of the same length costs
//
// Argument: 0 = waveform 0.5 s (triggered), 1 = envelope 4 s (free-running). Times are wall
// clock: Mesa rasterises on worker threads. The counter gl_draws is the number of GL draw calls
// NanoVG issues per frame, counted at the GL entry point.

#include "ScopeBenchInput.h"
#include "controls/Oscilloscope.h"
#include "graphics/GLHeaders.h"
#include "graphics/platform/headless/GraphicsHeadless.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace
{

using namespace kit::gfx;
using trazelle::bench::kRate;
using trazelle::bench::ScopeBenchInput;

// Fixed frame counts: software GL takes tens of milliseconds a frame, and the paths stage spends
// most of each iteration outside its timed part, where the library cannot see it.
constexpr int kGLFrames = 30;
constexpr int kPathFrames = 100;

#if defined(TRAZELLE_GL_EPOXY)
// Counts glDrawArrays calls (the only draw call NanoVG's GL3 renderer makes) by standing in for
// libepoxy's dispatch pointer. It must be installed after the pointer has been resolved (after
// one drawn frame): epoxy's resolver stub calls through the global pointer again, which would
// then be this stand-in.
long long gDrawCalls = 0;
decltype(epoxy_glDrawArrays) gForwardDrawArrays = nullptr;

void EPOXY_CALLSPEC CountingDrawArrays(GLenum mode, GLint first, GLsizei count)
{
  ++gDrawCalls;
  gForwardDrawArrays(mode, first, count);
}

void InstallDrawCallCounter()
{
  if (epoxy_glDrawArrays != &CountingDrawArrays)
  {
    gForwardDrawArrays = epoxy_glDrawArrays;
    epoxy_glDrawArrays = &CountingDrawArrays;
  }
  gDrawCalls = 0;
}
#else
long long gDrawCalls = 0;
void InstallDrawCallCounter() {}
#endif

void WaitForGL()
{
  glFinish();
}

qm::control::ControlStyle BlueStyle()
{
  qm::control::ControlStyle style;
  style.colors[7] = IColor(255, 56, 178, 230);
  style.colors[8] = IColor(255, 11, 85, 139);
  return style;
}

// The editor's oscilloscope (832 x 256 at (0, 48)) in an 832 x 464 headless window, with five
// seconds of signal behind it.
class ScopeFrame
{
public:
  explicit ScopeFrame(benchmark::State& state)
  {
    mGraphics = std::make_unique<GraphicsHeadless>(nullptr, 832, 464);
    if (!mGraphics->OpenWindow(nullptr))
    {
      state.SkipWithError(mGraphics->GetError().c_str());
      mGraphics.reset();
      return;
    }
    const int mode = state.range(0);
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
    state.SetLabel(mode == 0 ? "waveform 0.5 s" : "envelope 4 s");
  }

  bool Ok() const { return mGraphics != nullptr; }

  // Draws one frame (which resolves every GL entry point it uses), then counts draw calls.
  void CountDrawCalls()
  {
    Begin();
    End();
    InstallDrawCallCounter();
  }
  GraphicsHeadless& G() { return *mGraphics; }
  qm::control::Oscilloscope<2>& Scope() { return *mScope; }
  ScopeBenchInput& Input() { return mInput; }

  void Begin()
  {
    G().BeginFrame();
    G().PrepareRegion(G().GetBounds());
    G().FillRect(COLOR_WHITE, Scope().GetRECT());
  }

  void End()
  {
    G().EndFrame();
    WaitForGL();
  }

private:
  ScopeBenchInput mInput;
  std::unique_ptr<GraphicsHeadless> mGraphics;
  std::unique_ptr<qm::control::Oscilloscope<2>> mScope;
};

void ReportDrawCalls(benchmark::State& state)
{
  state.counters["gl_draws"] =
      benchmark::Counter(static_cast<double>(gDrawCalls), benchmark::Counter::kAvgIterations);
}

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
    f.Scope().DrawChannel(f.G(), 0);
    f.Scope().DrawChannel(f.G(), 1);
    state.PauseTiming();
    f.End();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OscilloscopeFrame_Paths)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kPathFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_Flush(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  f.CountDrawCalls();
  for (auto _ : state)
  {
    state.PauseTiming();
    f.Input().PlayTick();
    f.Begin();
    f.Scope().Draw(f.G());
    state.ResumeTiming();
    f.End();
  }
  ReportDrawCalls(state);
}
BENCHMARK(BM_OscilloscopeFrame_Flush)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  f.CountDrawCalls();
  for (auto _ : state)
  {
    state.PauseTiming();
    f.Input().PlayTick();
    state.ResumeTiming();
    f.Begin();
    f.Scope().Draw(f.G());
    f.End();
  }
  ReportDrawCalls(state);
  benchmark::DoNotOptimize(f.G().ReadPixel(400, 176));
}
BENCHMARK(BM_OscilloscopeFrame)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_EmptyBaseline(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  f.CountDrawCalls();
  for (auto _ : state)
  {
    f.Begin();
    f.End();
  }
  ReportDrawCalls(state);
}
BENCHMARK(BM_OscilloscopeFrame_EmptyBaseline)
    ->Arg(0)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_OscilloscopeFrame_PolylineBaseline(benchmark::State& state)
{
  ScopeFrame f(state);
  if (!f.Ok()) return;
  f.CountDrawCalls();
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
  ReportDrawCalls(state);
}
BENCHMARK(BM_OscilloscopeFrame_PolylineBaseline)
    ->Arg(0)
    ->Iterations(kGLFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
