#pragma once

#include <algorithm>
#include <cstdint>

namespace qm::control
{

// Calls fn(pointer, length) for the frames [first, first + count) of a frame
// history (index 0 the oldest), one contiguous run at a time (at most two),
// clipped to the frames the history holds: a window that reaches before the
// oldest or past the newest frame reads nothing there. Walks the ring's two
// contiguous halves instead of indexing it, which is what keeps a per-frame
// sweep over seconds of audio cheap.
template <class History, class Fn>
void ForEachRun(const History& history, int64_t first, int64_t count, Fn&& fn)
{
  const int64_t size = static_cast<int64_t>(history.size());
  const int64_t begin = std::max<int64_t>(first, 0);
  const int64_t end = std::min<int64_t>(first + count, size);
  if (begin >= end) return;
  const auto one = history.array_one();
  const int64_t oneSize = static_cast<int64_t>(one.second);
  if (begin < oneSize) fn(one.first + begin, std::min(end, oneSize) - begin);
  if (end > oneSize)
  {
    const int64_t from = std::max(begin, oneSize) - oneSize;
    fn(history.array_two().first + from, end - oneSize - from);
  }
}

// As ForEachRun, calling fn(frame) for each frame in order.
template <class History, class Fn>
void ForEachFrame(const History& history, int64_t first, int64_t count, Fn&& fn)
{
  ForEachRun(history, first, count,
             [&](const auto* frames, int64_t n)
             {
               for (int64_t k = 0; k < n; ++k)
                 fn(frames[k]);
             });
}

} // namespace qm::control
