// Plays the built-in demo signal through the plug-in the way a host would (48 kHz, 512-frame
// single-precision blocks) and drains both sample buffers the way the displays do, once per 60 Hz
// display tick. Prints what passed through, what each buffer delivered, the meter's peaks and the
// default settings blob. Exits non-zero if audio changed or frames went missing.

#include "plugin/DemoSignal.h"
#include "plugin/Trazelle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using qm::Trazelle::DemoSignal;
using qm::Trazelle::SampleBuffer;
using qm::Trazelle::Trazelle;

namespace
{

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSize = 512;
constexpr int kFramesPerTick = 800; // 60 display frames per second at 48 kHz
// An envelope view: 2 s over 1600 half-pixel columns, 60 frames per column.
constexpr int kScopeColumns = 1600;
constexpr int kScopeStride = 60;

double ToDb(double level)
{
  return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}

struct MeterPeaks
{
  double left = 0.0;
  double right = 0.0;
  std::vector<double> segmentLeft = std::vector<double>(DemoSignal::kNumSegments, 0.0);
  std::vector<double> segmentRight = std::vector<double>(DemoSignal::kNumSegments, 0.0);
};

// The newest `drained` history frames are the ones just taken; `firstFrame` is the stream position
// of the first of them.
void TrackPeaks(const SampleBuffer& meter, std::size_t drained, long long firstFrame,
                MeterPeaks& peaks)
{
  const auto& history = meter.History();
  for (std::size_t i = 0; i < drained; ++i)
  {
    const auto& frame = history[history.size() - drained + i];
    const double t = static_cast<double>(firstFrame + static_cast<long long>(i)) / kSampleRate;
    int segment = 0;
    while (segment + 1 < DemoSignal::kNumSegments && t >= DemoSignal::kSegments[segment].end)
      ++segment;
    peaks.left = std::max(peaks.left, std::fabs(frame[0]));
    peaks.right = std::max(peaks.right, std::fabs(frame[1]));
    peaks.segmentLeft[segment] = std::max(peaks.segmentLeft[segment], std::fabs(frame[0]));
    peaks.segmentRight[segment] = std::max(peaks.segmentRight[segment], std::fabs(frame[1]));
  }
}

} // namespace

int main()
{
  Trazelle plugin;
  plugin.SetChannelConnections(kit::kInput, 0, 2, true);
  plugin.SetChannelConnections(kit::kOutput, 0, 2, true);
  plugin.SetBlockSize(kBlockSize);
  plugin.SetSampleRate(kSampleRate);
  plugin.OnReset();

  const DemoSignal signal(kSampleRate);
  const long long total = signal.TotalFrames();
  std::vector<float> inL(kBlockSize), inR(kBlockSize), outL(kBlockSize), outR(kBlockSize);
  float* inputs[2] = {inL.data(), inR.data()};
  float* outputs[2] = {outL.data(), outR.data()};

  SampleBuffer& scope = plugin.OscilloscopeBuffer();
  SampleBuffer& meter = plugin.MeterBuffer();
  long long scopeReceived = 0, meterReceived = 0, sinceTick = 0, blocks = 0;
  bool identical = true;
  MeterPeaks peaks;

  auto tick = [&]
  {
    scopeReceived += static_cast<long long>(scope.Consume(kScopeColumns, kScopeStride));
    const std::size_t drained = meter.Consume(1, 1);
    TrackPeaks(meter, drained, meterReceived, peaks);
    meterReceived += static_cast<long long>(drained);
  };

  for (long long position = 0; position < total; position += kBlockSize, ++blocks)
  {
    const int n = static_cast<int>(std::min<long long>(kBlockSize, total - position));
    signal.Render(position, n, inL.data(), inR.data());
    plugin.AttachHostBuffers(kit::kInput, 2, inputs, n);
    plugin.AttachHostBuffers(kit::kOutput, 2, outputs, n);
    plugin.ProcessHostBuffers(n);
    identical = identical && std::memcmp(inL.data(), outL.data(), n * sizeof(float)) == 0 &&
                std::memcmp(inR.data(), outR.data(), n * sizeof(float)) == 0;
    for (sinceTick += n; sinceTick >= kFramesPerTick; sinceTick -= kFramesPerTick)
      tick();
  }
  tick();

  const long long scopeWaiting = total - scopeReceived - static_cast<long long>(scope.Dropped());
  std::printf("Trazelle demo: %.2f s of the built-in demo signal at %.0f Hz, %lld blocks of %d "
              "frames\n",
              DemoSignal::kSeconds, kSampleRate, blocks, kBlockSize);
  std::printf("audio:        %lld frames passed through, output %s input bit for bit\n", total,
              identical ? "equals" : "DIFFERS FROM");
  std::printf("oscilloscope: %lld frames received of %llu capacity, %lld waiting (less than one "
              "%d-frame column), %llu dropped\n",
              scopeReceived, static_cast<unsigned long long>(scope.Capacity()), scopeWaiting,
              kScopeStride, static_cast<unsigned long long>(scope.Dropped()));
  std::printf("meter:        %lld frames received of %llu capacity, %llu dropped\n", meterReceived,
              static_cast<unsigned long long>(meter.Capacity()),
              static_cast<unsigned long long>(meter.Dropped()));
  std::printf("peak:         left %.1f dB, right %.1f dB\n", ToDb(peaks.left), ToDb(peaks.right));
  for (int s = 0; s < DemoSignal::kNumSegments; ++s)
    std::printf("  %.2f-%.2f s: left %6.1f dB, right %6.1f dB\n", DemoSignal::kSegments[s].begin,
                DemoSignal::kSegments[s].end, ToDb(peaks.segmentLeft[s]),
                ToDb(peaks.segmentRight[s]));

  kit::IByteChunk chunk;
  plugin.SerializeState(chunk);
  const std::vector<std::uint8_t> blob(chunk.GetData(), chunk.GetData() + chunk.Size());
  std::printf("settings blob (%zu bytes):", blob.size());
  for (std::size_t i = 0; i < blob.size(); ++i)
    std::printf("%s%02x", i % 32 == 0 ? "\n  " : " ", blob[i]);
  std::printf("\n");

  const bool complete = meterReceived == total && scopeReceived + scopeWaiting == total &&
                        scopeWaiting < kScopeStride && scope.Dropped() == 0 && meter.Dropped() == 0;
  return identical && complete ? 0 : 1;
}
