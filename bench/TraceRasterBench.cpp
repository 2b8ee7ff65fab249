// The oscilloscope's trace picture alone, without GL: both channels of the editor's 832-pixel
// scope (1664 half-pixel columns, 256 pixels high) rendered in software, as the frame benchmarks
// draw them (440 Hz left, 660 Hz right, full scale, 48 kHz).
//
//   BM_TraceRaster/mode/percent/helped
//                                 mode 0: waveform 0.5 s (14 samples a column: every line
//                                 through the maxima and minima is steep); mode 1: envelope 4 s
//                                 (115 samples a column: a full band with flat edges); helped 1:
//                                 the right half drawn on the helper thread (where there are two
//                                 cores), whose time the counter helper_us reports. The CPU column
//                                 is the calling thread's.
//   BM_TraceRaster_ClearBaseline  the fixed cost: the picture's memory written once

#include "controls/TraceRaster.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace
{

constexpr int kColumns = 1664;
constexpr float kHeight = 256.f;

struct Channel
{
  std::vector<float> x, top, bottom;
};

Channel MakeChannel(double hz, int samplesPerColumn)
{
  Channel c;
  for (int i = 0; i < kColumns; ++i)
  {
    double lo = 1.0, hi = -1.0;
    for (int s = 0; s < samplesPerColumn; ++s)
    {
      const double v = std::sin(2.0 * std::numbers::pi * hz * (i * samplesPerColumn + s) / 48000.0);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    c.x.push_back(0.5f * static_cast<float>(i) + 2.5f);
    c.top.push_back(static_cast<float>(2.0 + 0.5 * kHeight * (1.0 - hi)));
    c.bottom.push_back(static_cast<float>(2.0 + 0.5 * kHeight * (1.0 - lo)));
  }
  return c;
}

void BM_TraceRaster(benchmark::State& state)
{
  const int samples = state.range(0) == 0 ? 14 : 115;
  const float scale = static_cast<float>(state.range(1)) / 100.f;
  const Channel left = MakeChannel(440.0, samples), right = MakeChannel(660.0, samples);
  const int w = static_cast<int>(std::ceil((0.5f * kColumns + 4.f) * scale));
  const int h = static_cast<int>(std::ceil((kHeight + 4.f) * scale));
  qm::control::TraceRaster raster;
  raster.SetHelped(state.range(2) != 0);
  double helperStart = -1.0;
  for (auto _ : state)
  {
    raster.Begin(w, h, scale);
    for (const Channel* c : {&left, &right})
      raster.AddChannel(c->x.data(), c->top.data(), c->bottom.data(), kColumns,
                        {255, 255, 255, 255});
    raster.End();
    benchmark::DoNotOptimize(raster.Coverage(1)[w * h / 2]);
    if (helperStart < 0.0) helperStart = raster.HelperSeconds();
  }
  state.counters["helper_us"] =
      benchmark::Counter(1e6 * (raster.HelperSeconds() - std::max(helperStart, 0.0)),
                         benchmark::Counter::kAvgIterations);
  state.SetLabel(std::string(state.range(0) == 0 ? "waveform, " : "envelope, ") +
                 std::to_string(state.range(1)) + " %" +
                 (raster.Helped() ? ", helped" : ", alone"));
}
BENCHMARK(BM_TraceRaster)->ArgsProduct({{0, 1}, {100, 150}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_TraceRaster_ClearBaseline(benchmark::State& state)
{
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  const size_t n = 2 * static_cast<size_t>(std::ceil((0.5f * kColumns + 4.f) * scale)) *
                   static_cast<size_t>(std::ceil((kHeight + 4.f) * scale));
  std::vector<uint8_t> picture(n);
  for (auto _ : state)
  {
    std::memset(picture.data(), 255, n);
    benchmark::DoNotOptimize(picture.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TraceRaster_ClearBaseline)->Arg(100)->Arg(150)->Unit(benchmark::kMicrosecond);

} // namespace
