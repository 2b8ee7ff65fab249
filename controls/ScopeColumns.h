#pragma once

#include "dsp/DCBlocker.h"
#include "dsp/StateVariableFilter.h"

#include <atomic>
#include <boost/circular_buffer.hpp>
#include <cstdint>

namespace qm::Trazelle
{
class SampleBuffer;
}

namespace qm::control
{

/** Smallest and largest sample of one display column. */
struct ColumnRange
{
  double min = 0.0;
  double max = 0.0;
  bool operator==(const ColumnRange&) const = default;
};

/** The oscilloscope's picture without its drawing. Once per display frame it drains the
 * oscilloscope sample buffer (as its only consumer), finds the trigger and keeps, per channel, a
 * ring of column minima and maxima, oldest first, that the control strokes.
 *
 * The window it reads is the newest (columns + search columns) x stride frames of the history.
 * Free-running, only the newly arrived columns are reduced and appended, so the picture scrolls
 * left; triggered, every column is recomputed from the trigger column, so the picture stands
 * still on the last falling zero crossing. Frozen, the window start comes from the position.
 *
 * Settings are whole atomic values: the editor sets them on the UI thread, a sample-rate change
 * may come from the thread that resets the plug-in; the next Update then uses the new rate and
 * recomputes every column. */
class ScopeColumns
{
public:
  using Ring = boost::circular_buffer<ColumnRange>;

  /** The quiet-run limit is the samples in 1 ms at `sampleRate`, kept for life. */
  ScopeColumns(uint32_t columnCount, double sampleRate, double maxDuration, double duration);

  void SetSampleRate(double sampleRate);   // [any thread]
  void SetDuration(double seconds);        // [ui thread]
  void SetTriggerEnabled(bool enabled);    // [ui thread]
  void SetChannelMode(int32_t mode);       // [ui thread] 1 left, 2 right, 3 stereo
  void SetFrozen(bool frozen);             // [ui thread]
  void SetFrozenPosition(double position); // [ui thread] 0 oldest .. 1 newest window

  /** Seconds shown: the column count times whole samples per column. */
  double GetDuration() const;
  double GetSampleRate() const { return mSampleRate.load(); }
  uint32_t GetColumnCount() const { return mColumnCount; }
  uint32_t GetSamplesPerColumn() const { return mSamplesPerColumn.load(); }
  uint32_t GetSearchColumns() const { return mSearchColumns.load(); }
  int32_t GetChannelMode() const { return mChannelMode; }
  bool GetTriggerEnabled() const { return mTriggerEnabled.load(); }
  bool GetFrozen() const { return mFrozen.load(); }
  double GetFrozenPosition() const { return mPosition.load(); }

  /** [ui thread] Drains the buffer and brings the column rings up to date. Call with denormals
   * flushed: the trigger filters run over long quiet stretches. */
  void Update(Trazelle::SampleBuffer& feed);

  /** Column history of channel 0 (left) or 1 (right), oldest first. */
  const Ring& GetColumns(int channel) const { return mRings[channel]; }
  /** Window column the last Update started the picture at; the search column count when it
   * did not trigger. */
  uint32_t GetLastTriggerColumn() const { return mLastTrigger; }
  /** Frames the last Update took from the buffer. */
  int64_t GetLastDrained() const { return mLastDrained; }

private:
  void UpdateSamplesPerColumn();
  void UpdateSearchWindow();
  template <class History>
  uint32_t FindTriggerColumn(const History& history, int64_t start, uint32_t stride,
                             uint32_t search);
  template <class History>
  void ReduceColumns(const History& history, int64_t start, uint32_t stride, uint32_t first,
                     uint32_t count);

  const uint32_t mColumnCount;
  const double mMaxDuration;
  std::atomic<double> mSampleRate;
  std::atomic<double> mDuration;
  Ring mRings[2];
  dsp::StateVariableFilter<double, 1> mLowPass;
  dsp::DCBlocker<double, 1> mDcBlocker;
  const double mQuietThreshold = 0.0001;
  const uint64_t mQuietRunLimit;
  uint64_t mQuietRun = 0;
  std::atomic<bool> mTriggerEnabled{false};
  std::atomic<bool> mFrozen{false};
  std::atomic<bool> mResetPending{true};
  int32_t mChannelMode = 1;
  std::atomic<uint32_t> mSearchColumns{0};
  std::atomic<uint32_t> mSamplesPerColumn{1};
  std::atomic<double> mPosition{1.0};
  uint32_t mLastTrigger = 0;
  int64_t mLastDrained = 0;
};

} // namespace qm::control
