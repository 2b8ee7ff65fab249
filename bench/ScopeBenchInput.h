#pragma once

// Live input for the oscilloscope benchmarks: the plug-in at 48 kHz playing a full-scale stereo
// signal (440 Hz left, 660 Hz right) through its block function, one display tick at a time.

#include "plugin/Trazelle.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace trazelle::bench
{

inline constexpr double kRate = 48000.0;
inline constexpr int kTick = 800;               // frames per display tick at 60 Hz
inline constexpr unsigned kScopeColumns = 1664; // the editor's 832-pixel scope

class ScopeBenchInput
{
public:
  ScopeBenchInput()
  {
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
    for (auto& channel : mIn)
      channel.resize(kTick);
    for (auto& channel : mOut)
      channel.resize(kTick);
  }

  void PlayTick()
  {
    for (int i = 0; i < kTick; ++i, ++mFrame)
    {
      const double t = static_cast<double>(mFrame) / kRate;
      mIn[0][i] = std::sin(2.0 * std::numbers::pi * 440.0 * t);
      mIn[1][i] = std::sin(2.0 * std::numbers::pi * 660.0 * t);
    }
    double* in[2] = {mIn[0].data(), mIn[1].data()};
    double* out[2] = {mOut[0].data(), mOut[1].data()};
    mPlugin.ProcessBlock(in, out, kTick);
  }

  qm::Trazelle::SampleBuffer& Buffer() { return mPlugin.OscilloscopeBuffer(); }

private:
  qm::Trazelle::Trazelle mPlugin;
  long long mFrame = 0;
  std::vector<double> mIn[2], mOut[2];
};

} // namespace trazelle::bench
