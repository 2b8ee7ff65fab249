#include "controls/MeterBallistics.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace
{

// Ballistics over one display tick of stereo audio (48 kHz / 60 Hz = 800
// frames), the meter's whole per-frame level work.
void BM_MeterBallisticsTick(benchmark::State& state)
{
  qm::control::MeterBallistics b;
  b.SetSampleRate(48000.0);
  b.SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
  std::vector<double> frames(1600);
  for (size_t i = 0; i < frames.size(); ++i)
    frames[i] = std::sin(0.01 * static_cast<double>(i));
  qm::control::MeterChannelState channels[2];
  for (auto _ : state)
  {
    for (size_t i = 0; i < frames.size(); i += 2)
    {
      b.Process(channels[0], frames[i]);
      b.Process(channels[1], frames[i + 1]);
    }
    benchmark::DoNotOptimize(channels);
  }
}
BENCHMARK(BM_MeterBallisticsTick);

} // namespace
