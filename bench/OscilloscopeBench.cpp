// Per-frame cost of the oscilloscope at 48 kHz with a full-scale signal arriving in real time:
// every iteration plays one display tick (800 frames) through the plug-in's block function and
// then does one frame of oscilloscope work. The audio side is excluded from the timings.
//
// Arguments: mode 0 = waveform 0.5 s (triggered, every column recomputed), 1 = envelope 4 s
// (free-running, only new columns reduced).
#include "ScopeBenchInput.h"
#include "controls/ScopeColumns.h"
#include "controls/ScopedFlushDenormals.h"

#include <benchmark/benchmark.h>

namespace
{

using trazelle::bench::kRate;
using trazelle::bench::kScopeColumns;
using LiveInput = trazelle::bench::ScopeBenchInput;

// The editor's scope in `mode` after five seconds of input: the history is full of signal.
void Prepare(qm::control::ScopeColumns& scope, LiveInput& input, int mode)
{
  scope.SetChannelMode(3);
  scope.SetTriggerEnabled(mode == 0);
  scope.SetDuration(mode == 0 ? 0.5 : 4.0);
  for (int i = 0; i < 300; ++i)
  {
    input.PlayTick();
    scope.Update(input.Buffer());
  }
}

// Drain, trigger search and column reduction: the signal work of one frame.
void BM_OscilloscopeFrame_Reduce(benchmark::State& state)
{
  const int mode = static_cast<int>(state.range(0));
  LiveInput input;
  qm::control::ScopeColumns scope(kScopeColumns, kRate, 4.0, 2.0);
  Prepare(scope, input, mode);
  for (auto _ : state)
  {
    state.PauseTiming();
    input.PlayTick();
    state.ResumeTiming();
    qm::control::ScopedFlushDenormals flush;
    scope.Update(input.Buffer());
    benchmark::DoNotOptimize(scope.GetColumns(0).back());
  }
  state.SetLabel(mode == 0 ? "waveform 0.5 s" : "envelope 4 s");
}
BENCHMARK(BM_OscilloscopeFrame_Reduce)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Baseline for the reduction: one read of every frame of the waveform window, both channels,
// the least any recomputation of the whole picture must do.
void BM_OscilloscopeFrame_ReadWindowBaseline(benchmark::State& state)
{
  LiveInput input;
  qm::control::ScopeColumns scope(kScopeColumns, kRate, 4.0, 2.0);
  Prepare(scope, input, 0);
  const auto& history = input.Buffer().History();
  const size_t window =
      size_t{kScopeColumns + scope.GetSearchColumns()} * scope.GetSamplesPerColumn();
  for (auto _ : state)
  {
    double sum = 0.0;
    const auto one = history.array_one();
    const auto two = history.array_two();
    const size_t skip = history.size() - window;
    for (size_t i = skip; i < one.second; ++i)
      sum += one.first[i][0] + one.first[i][1];
    for (size_t i = skip > one.second ? skip - one.second : 0; i < two.second; ++i)
      sum += two.first[i][0] + two.first[i][1];
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_OscilloscopeFrame_ReadWindowBaseline)->Unit(benchmark::kMicrosecond);

} // namespace
