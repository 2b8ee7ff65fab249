#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <boost/circular_buffer.hpp>
#include <concurrentqueue/concurrentqueue.h>

namespace qm::Trazelle
{

// One stereo frame: left, right.
using Frame = std::array<double, 2>;

// The channel from the audio thread to one display: a lock-free queue of frames, a count of frames
// waiting, and on the display's side a history ring that always holds the newest N frames the
// display has taken (filled with the fill frame until real frames arrive).
//
// Exactly one producer (the audio thread) and one consumer (the UI thread). The queue holds at most
// N frames; a push into a full queue drops the frame and never blocks or allocates. `Available` is
// the exact number of frames waiting (a resize empties the queue and zeroes it with it), so a drain
// of Available rounded down to whole strides always takes whole columns.
//
// Consumer protocol, once per display frame: SetView(columns, stride); drain Available rounded down
// to a whole number of strides; subtract what was drained; start = history size - span; then read
// the window through Visit or History(). Consume() does all of it.
class SampleBuffer
{
public:
  SampleBuffer(std::uint64_t capacity, Frame fill);
  ~SampleBuffer();

  SampleBuffer(const SampleBuffer&) = delete;
  SampleBuffer& operator=(const SampleBuffer&) = delete;

  // [ui thread] New history of `capacity` fill frames and a new, empty queue; frames still queued
  // are lost and Available is 0. The consumer's view settings stay. Must not overlap a push: hosts
  // change rates only while processing is stopped.
  void Resize(std::uint64_t capacity);

  // [audio thread] Pushes one frame; false if the queue was full and the frame was dropped.
  bool Push(const Frame& frame);
  // [audio thread] Pushes frames (left[i], right[i]) in order until the queue is full; the rest
  // are dropped. A null channel reads as silence. Returns the number pushed.
  std::size_t Push(const double* left, const double* right, std::size_t nFrames);

  // [ui thread] Takes up to maxFrames from the queue into the history, oldest first. Does not touch
  // Available; returns the number taken.
  std::size_t Drain(std::size_t maxFrames);
  // [ui thread] Subtracts frames the consumer has drained from Available.
  void SubtractAvailable(std::uint64_t frames);
  // [ui thread] Sets column count and stride (at least 1); span = columns * stride.
  void SetView(int columns, int stride);
  // [ui thread] The whole consumer protocol for one display frame; returns the frames drained.
  std::size_t Consume(int columns, int stride);

  // [ui thread] Applies f.Apply(value) to the channel's values of one column's `stride` frames,
  // starting at history index start + column * stride; never reads outside the history.
  template <typename F>
  void Visit(int channel, int column, F& f) const;

  std::uint64_t Available() const { return mAvailable.load(); }
  // [ui thread] Frames taken into the history since construction or the last resize: the newest
  // history frame is frame Taken() - 1 of what the producer has pushed since then.
  std::uint64_t Taken() const { return mTaken; }
  std::uint64_t Capacity() const { return mCapacity; }
  // Frames the producer could not queue since construction or the last resize. [any thread]
  std::uint64_t Dropped() const { return mDropped.load(std::memory_order_relaxed); }

  const boost::circular_buffer<Frame>& History() const { return mHistory; }
  int Columns() const { return mColumns; }
  int Span() const { return mSpan; }
  int Start() const { return mStart; }
  int Stride() const { return mStride; }
  const Frame& Fill() const { return mFill; }

private:
  // Large blocks keep a 512-frame bulk push to a few block switches.
  struct QueueTraits : moodycamel::ConcurrentQueueDefaultTraits
  {
    static const size_t BLOCK_SIZE = 256;
  };
  using Queue = moodycamel::ConcurrentQueue<Frame, QueueTraits>;

  void MakeQueue(std::uint64_t capacity);
  void ReleaseQueue();

  boost::circular_buffer<Frame> mHistory;
  std::atomic<std::uint64_t> mAvailable{0};
  int mColumns = 0;
  int mSpan = 0;
  int mStart = 0;
  Frame mFill;
  int mStride = 1;
  std::uint64_t mCapacity = 0;
  // Frames in the queue right now: the producer's room check, exact, reset on resize.
  std::atomic<std::uint64_t> mQueued{0};
  std::atomic<std::uint64_t> mDropped{0};
  std::uint64_t mTaken = 0;
  std::unique_ptr<Queue> mQueue;
  std::unique_ptr<moodycamel::ProducerToken> mProducer;
  std::unique_ptr<moodycamel::ConsumerToken> mConsumer;
};

template <typename F>
void SampleBuffer::Visit(int channel, int column, F& f) const
{
  if (channel < 0 || channel > 1) return;
  const long long size = static_cast<long long>(mHistory.size());
  const long long first = static_cast<long long>(mStart) + static_cast<long long>(column) * mStride;
  const long long end = std::min(first + mStride, size);
  for (long long i = std::max(first, 0LL); i < end; ++i)
  {
    const double value = mHistory[static_cast<std::size_t>(i)][static_cast<std::size_t>(channel)];
    f.Apply(value);
  }
}

} // namespace qm::Trazelle
