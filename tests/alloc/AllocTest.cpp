// The audio thread must never touch the heap. Every allocation function of this program is replaced
// by a counting one, and the counter must stay at zero across ProcessBlock in every state the
// sample buffers can be in. The display's per-frame work, helper thread included, must not either
// once its buffers have grown.

#include "controls/Oscilloscope.h"
#include "controls/TraceRaster.h"
#include "framework/VST2Interface.h"
#include "plugin/Trazelle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <numbers>
#include <vector>

extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void* __libc_memalign(std::size_t, std::size_t);
extern "C" void __libc_free(void*);

namespace
{

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void Count()
{
  if (gCounting.load(std::memory_order_relaxed))
    gAllocations.fetch_add(1, std::memory_order_relaxed);
}

void* AllocateOrThrow(std::size_t n)
{
  Count();
  if (void* p = __libc_malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t n, std::align_val_t alignment)
{
  Count();
  if (void* p = __libc_memalign(static_cast<std::size_t>(alignment), n ? n : 1)) return p;
  throw std::bad_alloc();
}

// Counts the heap calls made while alive.
class AllocationScope
{
public:
  AllocationScope()
  {
    gAllocations = 0;
    gCounting = true;
  }
  ~AllocationScope() { gCounting = false; }
  long Count() const { return gAllocations.load(); }
};

} // namespace

extern "C" void* malloc(std::size_t n)
{
  Count();
  return __libc_malloc(n);
}
extern "C" void* calloc(std::size_t n, std::size_t size)
{
  Count();
  return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, std::size_t n)
{
  Count();
  return __libc_realloc(p, n);
}
extern "C" void free(void* p)
{
  __libc_free(p);
}

void* operator new(std::size_t n)
{
  return AllocateOrThrow(n);
}
void* operator new[](std::size_t n)
{
  return AllocateOrThrow(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
  Count();
  return __libc_malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
  Count();
  return __libc_malloc(n ? n : 1);
}
void* operator new(std::size_t n, std::align_val_t a)
{
  return AllocateAlignedOrThrow(n, a);
}
void* operator new[](std::size_t n, std::align_val_t a)
{
  return AllocateAlignedOrThrow(n, a);
}
void operator delete(void* p) noexcept
{
  __libc_free(p);
}
void operator delete[](void* p) noexcept
{
  __libc_free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
  __libc_free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
  __libc_free(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
  __libc_free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
  __libc_free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
  __libc_free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
  __libc_free(p);
}

namespace
{

using qm::Trazelle::Trazelle;

struct Host
{
  Trazelle plugin;
  std::vector<double> inL = std::vector<double>(512, 0.25), inR = std::vector<double>(512, -0.25);
  std::vector<double> outL = std::vector<double>(512), outR = std::vector<double>(512);
  double* inputs[2] = {inL.data(), inR.data()};
  double* outputs[2] = {outL.data(), outR.data()};

  Host()
  {
    plugin.SetChannelConnections(kit::kInput, 0, 2, true);
    plugin.SetChannelConnections(kit::kOutput, 0, 2, true);
    plugin.SetBlockSize(512);
    plugin.SetSampleRate(48000.0);
    plugin.OnReset();
  }

  // Runs `blocks` blocks and returns the heap calls they made.
  long Process(int blocks, int frames = 512)
  {
    AllocationScope scope;
    for (int b = 0; b < blocks; ++b)
      plugin.ProcessBlock(inputs, outputs, frames);
    return scope.Count();
  }
};

} // namespace

TEST(AudioThreadAllocations, CounterSeesAllocations)
{
  AllocationScope scope;
  auto* p = new std::vector<int>(100);
  delete p;
  void* q = std::malloc(10);
  std::free(q);
  EXPECT_EQ(scope.Count(), 3);
}

TEST(AudioThreadAllocations, NoneWhileTheDisplaysDrain)
{
  Host host;
  long total = 0;
  for (int tick = 0; tick < 200; ++tick) // about 2 s of audio, drained the way the displays do
  {
    total += host.Process(2, tick % 2 ? 512 : 301);
    AllocationScope scope;
    host.plugin.OscilloscopeBuffer().Consume(1600, 60);
    host.plugin.MeterBuffer().Consume(400, 1);
    total += scope.Count();
  }
  EXPECT_EQ(total, 0);
  EXPECT_EQ(host.plugin.MeterBuffer().Dropped(), 0u);
}

TEST(AudioThreadAllocations, NoneWhileTheQueuesAreFull)
{
  Host host;
  EXPECT_EQ(host.Process(500), 0); // 5.3 s: both queues fill and then drop
  EXPECT_GT(host.plugin.OscilloscopeBuffer().Dropped(), 0u);
  EXPECT_EQ(host.plugin.OscilloscopeBuffer().Available(), 192000u);
  // Half-drained, refilled past full again.
  host.plugin.OscilloscopeBuffer().Consume(1, 1000);
  EXPECT_EQ(host.Process(400), 0);
}

TEST(AudioThreadAllocations, NoneWhileFrozenAndClipping)
{
  Host host;
  host.inL[7] = 1.5;
  host.inR[300] = std::numeric_limits<double>::quiet_NaN();
  host.plugin.SetFreeze(true);
  EXPECT_EQ(host.Process(50), 0);
  EXPECT_EQ(host.plugin.MeterBuffer().Available(), 0u);
  EXPECT_EQ(host.plugin.Overs().Total(0), 50u); // counted while frozen
  EXPECT_EQ(host.plugin.Overs().Total(1), 50u);
  host.plugin.SetFreeze(false);
  EXPECT_EQ(host.Process(50), 0);
}

TEST(AudioThreadAllocations, NoneOnTheHostsSinglePrecisionPath)
{
  Host host;
  std::vector<float> in(1000, 0.5f), outL(1000), outR(1000);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {outL.data(), outR.data()};
  AllocationScope scope;
  for (int b = 0; b < 20; ++b)
  {
    host.plugin.AttachHostBuffers(kit::kInput, 2, ins, 1000);
    host.plugin.AttachHostBuffers(kit::kOutput, 2, outs, 1000);
    host.plugin.ProcessHostBuffers(1000); // longer than the block size: split in pieces
    host.plugin.ProcessHostBuffersAccumulating(1000);
  }
  EXPECT_EQ(scope.Count(), 0);
}

TEST(AudioThreadAllocations, NoneWhileTheHostsTransportIsReadAndPassedOn)
{
  // A host answering the time request, called through the effect's own process callback.
  static kit::vst2::VstTimeInfo hostTime{};
  hostTime.tempo = 128.0;
  hostTime.flags =
      kit::vst2::kVstTransportPlaying | kit::vst2::kVstPpqPosValid | kit::vst2::kVstTempoValid;
  const kit::VSTHostCallback host = [](kit::vst2::AEffect*, std::int32_t opCode, std::int32_t,
                                       std::intptr_t, void*, float) -> std::intptr_t
  {
    return opCode == kit::vst2::audioMasterGetTime ? reinterpret_cast<std::intptr_t>(&hostTime) : 0;
  };
  Trazelle plugin(kit::InstanceInfo{host});
  plugin.SetBlockSize(512);
  plugin.SetSampleRate(48000.0);
  plugin.OnReset();
  std::vector<double> in(512, 0.5), outL(512), outR(512);
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {outL.data(), outR.data()};
  kit::vst2::AEffect* effect = plugin.GetAEffect();

  AllocationScope scope;
  for (int block = 0; block < 100; ++block)
  {
    hostTime.ppqPos = block * 512 * 128.0 / 60.0 / 48000.0;
    effect->processDoubleReplacing(effect, ins, outs, 512);
  }
  EXPECT_EQ(scope.Count(), 0);

  // The editor's side: the last block's record, tagged with the frame it started at.
  qm::Trazelle::HostTime last;
  ASSERT_TRUE(plugin.Timeline().Read(last));
  EXPECT_EQ(last.frame, 99u * 512u);
  EXPECT_EQ(last.position, hostTime.ppqPos);
  EXPECT_EQ(last.tempo, 128.0);
  EXPECT_TRUE(last.playing && last.hasPosition);
}

TEST(FrameAllocations, NoneOnceTheScopeHasDrawnItsPicture)
{
  // Two tones in waveform mode, tick by tick: the scope drains the feed, triggers and reduces its
  // columns, and both channels are drawn as the scope draws them at 150 %, with the helper where
  // there is one.
  Host host;
  qm::control::Oscilloscope<2> scope(kit::gfx::IRECT(0.f, 48.f, 832.f, 304.f),
                                     &host.plugin.OscilloscopeBuffer(), 48000.0, 4.0, 0.5, {});
  scope.SetTriggerEnabled(true);
  qm::control::TraceRaster raster;
  constexpr float kScale = 1.5f;
  const size_t columns = scope.GetColumns().GetColumnCount();
  std::vector<float> x(columns), top(columns), bottom(columns);
  long long frame = 0;
  int channelsSent = 0;
  auto tick = [&]
  {
    for (int i = 0; i < 512; ++i, ++frame)
    {
      const double t = static_cast<double>(frame) / 48000.0;
      host.inL[size_t(i)] = std::sin(2.0 * std::numbers::pi * 440.0 * t);
      host.inR[size_t(i)] = std::sin(2.0 * std::numbers::pi * 660.0 * t);
    }
    host.plugin.ProcessBlock(host.inputs, host.outputs, 512);
    host.plugin.ProcessBlock(host.inputs, host.outputs, 288);
    AllocationScope counting;
    scope.IsDirty();
    raster.Begin(int(832 * kScale) + 4, int(256 * kScale) + 4, kScale);
    for (int c = 0; c < 2; ++c)
    {
      const auto& ring = scope.GetColumns().GetColumns(c);
      size_t i = 0;
      for (const auto& column : ring)
      {
        x[i] = 0.5f * float(i) + 0.5f;
        top[i] = scope.ValueToY(column.max, 1.0) - 48.f;
        bottom[i] = scope.ValueToY(column.min, 1.0) - 48.f;
        ++i;
      }
      raster.AddChannel(x.data(), top.data(), bottom.data(), int(ring.size()), {});
    }
    raster.End([](void* sent, int) { ++*static_cast<int*>(sent); }, &channelsSent);
    return counting.Count();
  };
  for (int i = 0; i < 10; ++i)
    tick(); // the buffers grow and the helper starts
  long total = 0;
  for (int i = 0; i < 30; ++i)
    total += tick();
  EXPECT_EQ(total, 0);
  EXPECT_EQ(channelsSent, 80);
  EXPECT_GE(scope.GetColumns().GetLastTriggerColumn(), 0);
}
