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
  std::vector<double> in[2] = {std::vector<double>(kBlock), std::vector<double>(kBlock)};
  std::vector<double> out[2] = {std::vector<double>(kBlock), std::vector<double>(kBlock)};
  double* inputs[2] = {in[0].data(), in[1].data()};
  double* outputs[2] = {out[0].data(), out[1].data()};

  Block()
  {
    for (int i = 0; i < kBlock; ++i)
      in[1][i] = -(in[0][i] = 0.5 * static_cast<double>(i % 97) / 97.0);
  }

  void Copy()
  {
    for (int c = 0; c < 2; ++c)
      std::memmove(outputs[c], inputs[c], kBlock * sizeof(double));
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
  }
};

// The plug-in as a host prepares it.
struct Plugin : Trazelle
{
  Plugin()
  {
    SetChannelConnections(kit::kInput, 0, 2, true);
    SetChannelConnections(kit::kOutput, 0, 2, true);
    SetBlockSize(kBlock);
    SetSampleRate(kRate);
    OnReset();
  }
};

// `playing`: the binding has just read a playing transport from the host, as it does before
// every block, so the block passes the time on to the editor.
void ProcessBlocks(benchmark::State& state, bool playing)
{
  Plugin plugin;
  Block block;
  kit::ITimeInfo time;
  time.transportIsRunning = playing;
  if (playing) time.ppqPos = 0.0;
  // The displays drain about every 800 frames; draining every 16 blocks keeps the smaller (meter)
  // queue from ever filling while keeping the paused-timer overhead out of the figure.
  int sinceDrain = 0;
  for (auto _ : state)
  {
    if (playing)
    {
      time.ppqPos += kBlock / kRate * 2.0;
      plugin.SetTimeInfo(time);
    }
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
    benchmark::DoNotOptimize(block.out[0].data());
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

void BM_ProcessBlock(benchmark::State& state)
{
  ProcessBlocks(state, false);
}
BENCHMARK(BM_ProcessBlock);

void BM_ProcessBlockPlaying(benchmark::State& state)
{
  ProcessBlocks(state, true);
}
BENCHMARK(BM_ProcessBlockPlaying);

// With the editor closed the queues stay full and every frame is dropped.
void BM_ProcessBlockFull(benchmark::State& state)
{
  Plugin plugin;
  Block block;
  while (plugin.OscilloscopeBuffer().Dropped() == 0)
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
  for (auto _ : state)
  {
    plugin.ProcessBlock(block.inputs, block.outputs, kBlock);
    benchmark::DoNotOptimize(block.out[0].data());
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_ProcessBlockFull);

void BM_CopyOnly(benchmark::State& state)
{
  Block block;
  for (auto _ : state)
    block.Copy();
  ReportPerFrame(state);
}
BENCHMARK(BM_CopyOnly);

void BM_TwoRingLimit(benchmark::State& state)
{
  Block block;
  std::vector<Frame> rings[2] = {std::vector<Frame>(static_cast<std::size_t>(kRate * 4.0)),
                                 std::vector<Frame>(static_cast<std::size_t>(kRate * 0.25))};
  std::size_t positions[2] = {0, 0};
  for (auto _ : state)
  {
    // Each block goes into a ring split at the wrap point, so the inner loop stays branch-free.
    for (int r = 0; r < 2; ++r)
      for (int done = 0; done < kBlock;)
      {
        const int n =
            static_cast<int>(std::min<std::size_t>(kBlock - done, rings[r].size() - positions[r]));
        Frame* dst = rings[r].data() + positions[r];
        for (int i = 0; i < n; ++i)
          dst[i] = Frame{block.in[0][done + i], block.in[1][done + i]};
        done += n;
        positions[r] = (positions[r] + n) % rings[r].size();
      }
    benchmark::DoNotOptimize(rings[0].data());
    benchmark::DoNotOptimize(rings[1].data());
    block.Copy();
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_TwoRingLimit);

} // namespace
