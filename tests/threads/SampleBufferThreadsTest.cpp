// The audio thread runs ProcessBlock on a numbered stream while the UI thread follows the display
// protocol; every frame must arrive exactly once and in order, and frames may be lost only when a
// queue is full.

#include "plugin/Trazelle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

using qm::Trazelle::Frame;
using qm::Trazelle::SampleBuffer;
using qm::Trazelle::Trazelle;

namespace
{

Frame StreamFrame(long long i)
{
  return {static_cast<double>(i), 0.5 - static_cast<double>(i)};
}

void Connect(Trazelle& plugin)
{
  plugin.SetChannelConnections(kit::kInput, 0, 2, true);
  plugin.SetChannelConnections(kit::kOutput, 0, 2, true);
  plugin.SetBlockSize(1024);
}

// Plays frames [0, total) in blocks of random size; `beforeBlock(first, n)` may hold the host back.
template <typename Pace>
void Produce(Trazelle& plugin, long long total, unsigned seed, Pace beforeBlock, bool& outputsMatch)
{
  std::mt19937 rng(seed);
  std::vector<double> inL(1024), inR(1024), outL(1024), outR(1024);
  double* inputs[2] = {inL.data(), inR.data()};
  double* outputs[2] = {outL.data(), outR.data()};
  outputsMatch = true;
  for (long long first = 0; first < total;)
  {
    const int n = static_cast<int>(std::min<long long>(1 + rng() % 1024, total - first));
    beforeBlock(first, n);
    for (int i = 0; i < n; ++i)
    {
      const Frame f = StreamFrame(first + i);
      inL[i] = f[0];
      inR[i] = f[1];
    }
    plugin.ProcessBlock(inputs, outputs, n);
    outputsMatch = outputsMatch && std::equal(inL.begin(), inL.begin() + n, outL.begin()) &&
                   std::equal(inR.begin(), inR.begin() + n, outR.begin());
    first += n;
  }
}

// The frames the last drain appended, newest last.
std::vector<Frame> Taken(const SampleBuffer& buffer, std::size_t n)
{
  const auto& h = buffer.History();
  return std::vector<Frame>(h.end() - static_cast<std::ptrdiff_t>(n), h.end());
}

} // namespace

TEST(SampleBufferThreads, ConsumerThatKeepsUpReceivesEveryFrameOnceInOrder)
{
  Trazelle plugin;
  Connect(plugin);
  constexpr long long kTotal = 150000; // a multiple of the oscilloscope stride below
  constexpr int kScopeStride = 3;
  const long long meterCapacity = static_cast<long long>(plugin.MeterBuffer().Capacity());
  std::atomic<long long> meterReceived{0};
  std::atomic<bool> failed{false};

  bool outputsMatch = false;
  std::thread audio(
      [&]
      {
        // The host never outruns the meter's queue here, so nothing may be dropped.
        Produce(
            plugin, kTotal, 1,
            [&](long long first, int n)
            {
              while (first + n - meterReceived.load() > meterCapacity && !failed.load())
                std::this_thread::yield();
            },
            outputsMatch);
      });

  long long scopeNext = 0, meterNext = 0;
  auto check = [&](SampleBuffer& buffer, std::size_t n, long long& next)
  {
    for (const Frame& f : Taken(buffer, n))
      if (f != StreamFrame(next++)) failed = true;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((scopeNext < kTotal || meterNext < kTotal) && !failed.load() &&
         std::chrono::steady_clock::now() < deadline)
  {
    check(plugin.OscilloscopeBuffer(), plugin.OscilloscopeBuffer().Consume(100, kScopeStride),
          scopeNext);
    check(plugin.MeterBuffer(), plugin.MeterBuffer().Consume(1, 1), meterNext);
    meterReceived.store(meterNext);
    std::this_thread::yield();
  }
  failed = failed.load() || scopeNext != kTotal || meterNext != kTotal;
  audio.join();

  EXPECT_FALSE(failed.load()) << "scope " << scopeNext << " meter " << meterNext;
  EXPECT_TRUE(outputsMatch);
  EXPECT_EQ(plugin.OscilloscopeBuffer().Dropped(), 0u);
  EXPECT_EQ(plugin.MeterBuffer().Dropped(), 0u);
  EXPECT_EQ(plugin.MeterBuffer().Available(), 0u);
  EXPECT_EQ(plugin.OscilloscopeBuffer().Available(), 0u);
}

TEST(SampleBufferThreads, SlowConsumerLosesFramesOnlyToAFullQueue)
{
  Trazelle plugin;
  Connect(plugin);
  constexpr long long kTotal = 120000;
  const long long capacity = static_cast<long long>(plugin.MeterBuffer().Capacity());
  std::atomic<bool> done{false};

  std::atomic<long long> produced{0};
  bool outputsMatch = false;
  std::thread audio(
      [&]
      {
        Produce(
            plugin, kTotal, 2, [&](long long first, int) { produced.store(first); }, outputsMatch);
        done = true;
      });

  std::vector<long long> received;
  received.reserve(kTotal);
  bool inOrder = true;
  auto drain = [&]
  {
    SampleBuffer& meter = plugin.MeterBuffer();
    for (const Frame& f : Taken(meter, meter.Consume(1, 1)))
    {
      const long long index = static_cast<long long>(f[0]);
      inOrder = inOrder && f == StreamFrame(index) && (received.empty() || index > received.back());
      received.push_back(index);
    }
  };
  // Between two drains the host pushes more than the queue holds (a block may straddle the drain,
  // hence the extra block), so frames must be dropped however the two threads are scheduled.
  while (!done.load())
  {
    drain();
    const long long mark = produced.load();
    while (!done.load() && produced.load() <= mark + capacity + 1024)
      std::this_thread::yield();
  }
  audio.join();
  drain();

  const long long dropped = static_cast<long long>(plugin.MeterBuffer().Dropped());
  EXPECT_TRUE(inOrder);
  EXPECT_TRUE(outputsMatch);
  EXPECT_GT(dropped, 0);
  EXPECT_EQ(static_cast<long long>(received.size()) + dropped, kTotal);
  // The first frame lost must have found the queue holding `capacity` earlier frames.
  long long firstMissing = 0;
  while (firstMissing < static_cast<long long>(received.size()) &&
         received[static_cast<std::size_t>(firstMissing)] == firstMissing)
    ++firstMissing;
  EXPECT_GE(firstMissing, capacity);
}
