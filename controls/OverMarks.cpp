#include "controls/OverMarks.h"

#include "controls/HistorySpan.h"
#include "plugin/OverCounter.h"

#include <algorithm>

namespace qm::control
{

using Trazelle::OverCounter;

OverMarks::OverMarks() : mMarks(static_cast<std::size_t>(2 * kRunsPerHistory)) {}

void OverMarks::Note(const History& history, int64_t drained)
{
  const int64_t size = static_cast<int64_t>(history.size());
  if (!mScanned) drained = size;
  mScanned = true;
  drained = std::clamp<int64_t>(drained, 0, size);
  mNoted += drained;
  mHistorySize = size;
  DropStale(history);

  const int64_t gap = std::max<int64_t>(1, size / kRunsPerHistory);
  int64_t frame = mNoted - drained;
  ForEachFrame(history, size - drained, drained,
               [&](const Trazelle::Frame& f)
               {
                 if ((OverCounter::IsOver(f[0]) || OverCounter::IsOver(f[1])) &&
                     (mMarks.empty() || frame - mMarks.back() >= gap))
                   mMarks.push_back(frame);
                 ++frame;
               });
}

void OverMarks::DropStale(const History& history)
{
  const int64_t oldest = mNoted - mHistorySize;
  while (!mMarks.empty() && mMarks.front() < oldest)
    mMarks.pop_front();
  // A history replaced under the marks (a new sample rate, a reset) no longer holds their overs.
  const auto gone =
      std::remove_if(mMarks.begin(), mMarks.end(),
                     [&](int64_t mark)
                     {
                       const Trazelle::Frame& f = history[static_cast<std::size_t>(mark - oldest)];
                       return !OverCounter::IsOver(f[0]) && !OverCounter::IsOver(f[1]);
                     });
  mMarks.erase(gone, mMarks.end());
}

} // namespace qm::control
