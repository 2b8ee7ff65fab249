// The audio path per frame. BM_TwoRingLimit is the floor for what ProcessBlock does: the same
// copy to the outputs plus each frame stored into two plain pre-allocated rings, with no queue and
// no cross-thread counting. BM_CopyOnly is the pass-through alone.

#include "plugin/Trazelle.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

using qm::Trazelle::Frame;
using qm::Trazelle::Trazelle;

namespace
{

constexpr int kBlock = 512;
constexpr double kRate = 48000.0;

void ReportPerFrame(benchmark::State& state)
{
  state.SetItemsProcessed(state.iterations() * kBlock);
  state.counters["per_frame"] = benchmark::Counter(
      kBlock, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

struct Block
{
  std::vector<double> inL = std::vector<double>(kBlock), inR = std::vector<double>(kBlock);
  std::vector<double> outL = std::vector<double>(kBlock), outR = std::vector<double>(kBlock);
  double* inputs[2] = {inL.data(), inR.data()};
  double* outputs[2] = {outL.data(), outR.data()};

  Block()
  {
    for (int i = 0; i < kBlock; ++i)
    {
      inL[i] = 0.5 * static_cast<double>(i % 97) / 97.0;
      inR[i] = -inL[i];
    }
  }
};

void PrepareHostState(Trazelle& plugin)
{
  plugin.SetChannelConnections(kit::kInput, 0, 2, true);
  plugin.SetChannelConnections(kit::kOutput, 0, 2, true);
  plugin.SetBlockSize(kBlock);
  plugin.SetSampleRate(kRate);
  plugin.OnReset();
}

void BM_ProcessBlock(benchmark::State& state)
{
  Trazelle plugin;
  PrepareHostState(plugin);
  Block block;
  // The displays drain about every 800 frames; draining every 16 blocks keeps the smaller (meter)
  // queue from ever filling while keeping the paused-timer overhead out of the figure.
  int sinceDrain = 0;
  for (auto _ : state)
  {
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
    benchmark::DoNotOptimize(block.outL.data());
    if (++sinceDrain == 16)
    {
      state.PauseTiming();
      plugin.OscilloscopeBuffer().Consume(1, 1);
      plugin.MeterBuffer().Consume(1, 1);
      sinceDrain = 0;
      state.ResumeTiming();
    }
  }
  if (plugin.MeterBuffer().Dropped() != 0) state.SkipWithError("consumer fell behind");
  ReportPerFrame(state);
}
BENCHMARK(BM_ProcessBlock);

void BM_ProcessBlockFull(benchmark::State& state)
{
  Trazelle plugin;
  PrepareHostState(plugin);
  Block block;
  while (plugin.OscilloscopeBuffer().Dropped() == 0)
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
  for (auto _ : state)
  {
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
    benchmark::DoNotOptimize(block.outL.data());
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_ProcessBlockFull);

void BM_CopyOnly(benchmark::State& state)
{
  Block block;
  for (auto _ : state)
  {
    std::memmove(block.outputs[0], block.inputs[0], kBlock * sizeof(double));
    std::memmove(block.outputs[1], block.inputs[1], kBlock * sizeof(double));
    benchmark::DoNotOptimize(block.outL.data());
    benchmark::ClobberMemory();
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_CopyOnly);

void BM_TwoRingLimit(benchmark::State& state)
{
  Block block;
  std::vector<Frame> scope(static_cast<std::size_t>(kRate * 4.0));
  std::vector<Frame> meter(static_cast<std::size_t>(kRate * 0.25));
  std::size_t scopePos = 0, meterPos = 0;
  // Interleaves one block into a ring, split at the wrap point so the inner loop stays branch-free.
  auto store = [&block](std::vector<Frame>& ring, std::size_t& pos)
  {
    for (int done = 0; done < kBlock;)
    {
      const int n = static_cast<int>(std::min<std::size_t>(kBlock - done, ring.size() - pos));
      Frame* dst = ring.data() + pos;
      for (int i = 0; i < n; ++i)
        dst[i] = Frame{block.inL[done + i], block.inR[done + i]};
      done += n;
      pos = (pos + n) % ring.size();
    }
  };
  for (auto _ : state)
  {
    store(scope, scopePos);
    store(meter, meterPos);
    std::memmove(block.outputs[0], block.inputs[0], kBlock * sizeof(double));
    std::memmove(block.outputs[1], block.inputs[1], kBlock * sizeof(double));
    benchmark::DoNotOptimize(scope.data());
    benchmark::DoNotOptimize(meter.data());
    benchmark::DoNotOptimize(block.outL.data());
    benchmark::ClobberMemory();
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_TwoRingLimit);

} // namespace
