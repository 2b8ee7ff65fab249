#pragma once

#include "plugin/SampleBuffer.h"

#include <boost/circular_buffer.hpp>
#include <cstddef>
#include <cstdint>

namespace qm::control
{

/** Where the overs lie in the oscilloscope's history, learnt from the frames as they are drained
 * into it, so nobody rescans seconds of audio per display frame.
 *
 * A mark is the first over of a run: overs closer than a thousandth of the history to the last
 * mark join it, which bounds the marks however hard a signal clips and is finer than any strip
 * can show. Everything runs on the UI thread. */
class OverMarks
{
public:
  using History = boost::circular_buffer<Trazelle::Frame>;

  OverMarks();

  /** After `drained` frames were appended to `history`: marks the overs among them and drops the
   * marks that left it. The first call scans the whole history, which may predate this object
   * (an editor opened again). */
  void Note(const History& history, int64_t drained);

  std::size_t Count() const { return mMarks.size(); }
  /** History index (0 the oldest frame) of mark `k`, oldest first. */
  int64_t IndexOf(std::size_t k) const { return mMarks[k] - (mNoted - mHistorySize); }
  /** Frames in the history at the last Note. */
  int64_t HistorySize() const { return mHistorySize; }

private:
  static constexpr int64_t kRunsPerHistory = 1000;

  void DropStale(const History& history);

  // Frame numbers counted from the first frame this object saw; the history's newest frame is
  // mNoted - 1.
  boost::circular_buffer<int64_t> mMarks;
  int64_t mNoted = 0;
  int64_t mHistorySize = 0;
  bool mScanned = false;
};

} // namespace qm::control
