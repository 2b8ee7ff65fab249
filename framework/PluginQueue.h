#pragma once

// Fixed-capacity ring with exactly one writing thread and one reading thread.
// All storage is allocated at construction; Push and Pop never allocate, lock
// or wait, so either end may be the audio thread. A push into a full ring
// fails and the entry is dropped.

#include <atomic>
#include <cstddef>
#include <memory>

namespace kit
{

template <typename T>
class PluginQueue
{
public:
  explicit PluginQueue(std::size_t capacity)
      : mCapacity(capacity), mSlots(std::make_unique<T[]>(capacity))
  {
  }

  PluginQueue(const PluginQueue&) = delete;
  PluginQueue& operator=(const PluginQueue&) = delete;

  // [writer thread] false when full (the entry is dropped).
  bool Push(const T& value)
  {
    const std::size_t tail = mTail.load(std::memory_order_relaxed);
    if (tail - mHead.load(std::memory_order_acquire) >= mCapacity) return false;
    mSlots[tail % mCapacity] = value;
    mTail.store(tail + 1, std::memory_order_release);
    return true;
  }

  // [reader thread] false when empty.
  bool Pop(T& value)
  {
    const std::size_t head = mHead.load(std::memory_order_relaxed);
    if (head == mTail.load(std::memory_order_acquire)) return false;
    value = mSlots[head % mCapacity];
    mHead.store(head + 1, std::memory_order_release);
    return true;
  }

  // Exact on either end's own thread; a snapshot elsewhere.
  std::size_t ElementsAvailable() const
  {
    return mTail.load(std::memory_order_acquire) - mHead.load(std::memory_order_acquire);
  }

  std::size_t Capacity() const { return mCapacity; }

private:
  const std::size_t mCapacity;
  std::unique_ptr<T[]> mSlots;
  alignas(64) std::atomic<std::size_t> mHead{0};
  alignas(64) std::atomic<std::size_t> mTail{0};
};

} // namespace kit
