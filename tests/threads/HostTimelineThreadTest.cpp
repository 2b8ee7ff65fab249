#include "plugin/HostTimeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using qm::Trazelle::HostTime;
using qm::Trazelle::HostTimeline;

namespace
{

// Every field of record k follows from k, so a record mixed from two writes shows.
HostTime Record(std::uint64_t k)
{
  HostTime t;
  t.frame = k * 512;
  t.tempo = 60.0 + double(k % 1000);
  t.position = double(k) * 0.25;
  t.hasPosition = k % 2 == 0;
  t.playing = k % 3 == 0;
  return t;
}

} // namespace

TEST(HostTimelineThreads, TheReaderSeesWholeRecordsInTheOrderTheyWereWritten)
{
  HostTimeline timeline;
  HostTime t;
  EXPECT_FALSE(timeline.Read(t)); // nothing published yet

  // The writer goes on until the reader has seen enough whole records, however the two threads
  // happen to be scheduled.
  std::atomic<bool> enough{false};
  std::atomic<std::uint64_t> last{0};
  std::thread audio(
      [&]
      {
        std::uint64_t k = 0;
        while (!enough.load())
          timeline.Publish(Record(++k));
        last = k;
      });

  std::uint64_t previous = 0;
  int torn = 0, backwards = 0;
  for (int whole = 0; whole < 20000;)
  {
    if (!timeline.Read(t)) continue;
    const std::uint64_t k = t.frame / 512;
    torn += t != Record(k);
    backwards += k < previous;
    previous = k;
    ++whole;
  }
  enough = true;
  audio.join();
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(backwards, 0);
  ASSERT_TRUE(timeline.Read(t));
  EXPECT_EQ(t, Record(last.load()));
}
