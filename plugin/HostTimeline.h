#pragma once

#include <atomic>
#include <cstdint>

namespace qm::Trazelle
{

// Where the host's transport stood at one frame of the oscilloscope's feed.
struct HostTime
{
  // Frames the oscilloscope's sample buffer had accepted before the block this belongs to, so the
  // block's first frame is frame `frame` of the feed.
  std::uint64_t frame = 0;
  double tempo = 120.0;  // beats (quarter notes) per minute, always positive
  double position = 0.0; // song position of that frame in quarter notes; valid if hasPosition
  bool hasPosition = false;
  bool playing = false;

  bool operator==(const HostTime&) const = default;
};

// The host's time from the audio thread to the editor: one record, overwritten once per block,
// read by the UI thread whenever it likes. A sequence counter (odd while a write is under way)
// lets the reader retry instead of waiting; the writer never waits. Every field is an atomic of
// its own, so a torn read is detected, never undefined.
class HostTimeline
{
public:
  // [audio thread] Replaces the record.
  void Publish(const HostTime& t) noexcept
  {
    const std::uint32_t s = mSequence.load(std::memory_order_relaxed);
    mSequence.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    mFrame.store(t.frame, std::memory_order_relaxed);
    mTempo.store(t.tempo, std::memory_order_relaxed);
    mPosition.store(t.position, std::memory_order_relaxed);
    mFlags.store((t.hasPosition ? 1u : 0u) | (t.playing ? 2u : 0u), std::memory_order_relaxed);
    mSequence.store(s + 2, std::memory_order_release);
  }

  // [ui thread] The latest record; false (and `t` untouched) if none was published yet or the
  // writer kept overwriting it during every attempt.
  bool Read(HostTime& t) const noexcept
  {
    for (int attempt = 0; attempt < 16; ++attempt)
    {
      const std::uint32_t before = mSequence.load(std::memory_order_acquire);
      if (before == 0) return false;
      if (before & 1u) continue;
      HostTime read;
      read.frame = mFrame.load(std::memory_order_relaxed);
      read.tempo = mTempo.load(std::memory_order_relaxed);
      read.position = mPosition.load(std::memory_order_relaxed);
      const std::uint32_t flags = mFlags.load(std::memory_order_relaxed);
      read.hasPosition = flags & 1u;
      read.playing = flags & 2u;
      std::atomic_thread_fence(std::memory_order_acquire);
      if (mSequence.load(std::memory_order_relaxed) != before) continue;
      t = read;
      return true;
    }
    return false;
  }

private:
  std::atomic<std::uint32_t> mSequence{0};
  std::atomic<std::uint64_t> mFrame{0};
  std::atomic<double> mTempo{120.0};
  std::atomic<double> mPosition{0.0};
  std::atomic<std::uint32_t> mFlags{0};
};

} // namespace qm::Trazelle
