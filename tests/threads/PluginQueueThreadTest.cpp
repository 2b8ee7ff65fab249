// The framework's single-writer/single-reader rings across two threads: every
// entry that was accepted arrives once, in order, untorn.

#include "framework/PluginMidi.h"
#include "framework/PluginQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

using kit::PluginQueue;

namespace
{

// Two fields that must always travel together.
struct Pair
{
  std::uint64_t a = 0;
  std::uint64_t b = 0;
};

} // namespace

TEST(PluginQueueThreads, AcceptedEntriesArriveInOrderAndWhole)
{
  constexpr std::uint64_t kCount = 1'000'000;
  PluginQueue<Pair> queue(512);
  std::atomic<bool> done{false};
  std::uint64_t accepted = 0;

  std::thread producer(
      [&]
      {
        for (std::uint64_t i = 1; i <= kCount; ++i)
        {
          if (queue.Push({i, ~i})) ++accepted;
        }
        done.store(true, std::memory_order_release);
      });

  std::uint64_t received = 0;
  std::uint64_t last = 0;
  bool ordered = true;
  bool whole = true;
  Pair entry;
  while (!done.load(std::memory_order_acquire) || queue.ElementsAvailable() > 0)
  {
    while (queue.Pop(entry))
    {
      ++received;
      ordered = ordered && entry.a > last;
      whole = whole && entry.b == ~entry.a;
      last = entry.a;
    }
  }
  producer.join();

  EXPECT_TRUE(ordered);
  EXPECT_TRUE(whole);
  EXPECT_EQ(received, accepted);
  EXPECT_GT(received, 0u);
}

TEST(PluginQueueThreads, SysExEntriesAreCopiedWhole)
{
  constexpr int kCount = 20000;
  PluginQueue<kit::SysExData> queue(4);
  std::atomic<bool> done{false};

  std::thread producer(
      [&]
      {
        std::uint8_t bytes[kit::SysExData::kMaxSize];
        for (int i = 0; i < kCount; ++i)
        {
          const int size = 1 + i % kit::SysExData::kMaxSize;
          std::memset(bytes, i & 0xff, static_cast<size_t>(size));
          queue.Push(kit::SysExData(i, size, bytes));
        }
        done.store(true, std::memory_order_release);
      });

  bool whole = true;
  int received = 0;
  kit::SysExData entry;
  while (!done.load(std::memory_order_acquire) || queue.ElementsAvailable() > 0)
  {
    while (queue.Pop(entry))
    {
      ++received;
      whole = whole && entry.mSize == 1 + entry.mOffset % kit::SysExData::kMaxSize;
      for (int k = 0; k < entry.mSize; ++k)
        whole = whole && entry.mData[k] == (entry.mOffset & 0xff);
    }
  }
  producer.join();
  EXPECT_TRUE(whole);
  EXPECT_GT(received, 0);
}
