#include "controls/ScopeColumns.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "controls/HistorySpan.h"
#include "dsp/MinMax.h"
#include "plugin/SampleBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qm::control
{

namespace
{

// Truncation toward zero into a count. NaN, negative and absurd values (a zero sample rate, an
// empty control, a duration longer than the history) land on the nearest sane count.
uint32_t ToCount(double value)
{
  if (!(value > 0.0)) return 0;
  if (value >= 1.0e9) return 1000000000u;
  return static_cast<uint32_t>(value);
}

} // namespace

ScopeColumns::ScopeColumns(uint32_t columnCount, double sampleRate, double maxDuration,
                           double duration)
    : mColumnCount(columnCount), mMaxDuration(maxDuration), mSampleRate(sampleRate),
      mDuration(duration), mLowPass(dsp::kLowPass, sampleRate, 20.0, 1.0 / std::sqrt(2.0)),
      mDcBlocker(sampleRate, 10.0), mQuietRunLimit(ToCount(sampleRate * 0.001))
{
  for (auto& ring : mRings)
    ring.assign(mColumnCount, ColumnRange{});
  mLowPass.SetOrder(1);
  mDcBlocker.SetOrder(1);
  UpdateSamplesPerColumn();
  mResetPending.exchange(true);
  UpdateSearchWindow();
}

void ScopeColumns::UpdateSamplesPerColumn()
{
  const double perColumn = mDuration.load() * mSampleRate.load() /
                           static_cast<double>(std::max<uint32_t>(mColumnCount, 1));
  mSamplesPerColumn.exchange(std::max<uint32_t>(ToCount(perColumn), 1));
}

void ScopeColumns::UpdateSearchWindow()
{
  const double rate = mSampleRate.load();
  const double stride = static_cast<double>(mSamplesPerColumn.load());
  if (mFrozen.load())
    mSearchColumns.exchange(ToCount((mMaxDuration - GetDuration()) * rate / stride));
  else
    mSearchColumns.exchange(ToCount(rate / (stride * 10.0)));
}

double ScopeColumns::GetDuration() const
{
  return static_cast<double>(mColumnCount) * static_cast<double>(mSamplesPerColumn.load()) /
         mSampleRate.load();
}

void ScopeColumns::SetSampleRate(double sampleRate)
{
  mSampleRate.exchange(sampleRate);
  UpdateSamplesPerColumn();
  mResetPending.exchange(true);
  UpdateSearchWindow();
}

void ScopeColumns::SetDuration(double seconds)
{
  mDuration.exchange(seconds);
  UpdateSamplesPerColumn();
  mResetPending.exchange(true);
  UpdateSearchWindow();
}

void ScopeColumns::SetTriggerEnabled(bool enabled)
{
  mTriggerEnabled.exchange(enabled);
}

void ScopeColumns::SetChannelMode(int32_t mode)
{
  mChannelMode = mode;
}

void ScopeColumns::SetFrozen(bool frozen)
{
  mFrozen.exchange(frozen);
  UpdateSearchWindow();
}

void ScopeColumns::SetFrozenPosition(double position)
{
  mPosition.exchange(position);
  mResetPending.exchange(true);
}

template <class History>
uint32_t ScopeColumns::FindTriggerColumn(const History& history, int64_t start, uint32_t stride,
                                         uint32_t search)
{
  if (mFrozen.load())
    return ToCount(static_cast<double>(search) * std::clamp(mPosition.load(), 0.0, 1.0));
  if (!mTriggerEnabled.load()) return search;
  const int32_t mode = mChannelMode;
  if (mode == 0) return 0;

  // Stateless from frame to frame: both filters start from rest at the current rate and run over
  // the whole search span every time, so the crossing found depends on those frames alone.
  const double rate = mSampleRate.load();
  mLowPass.SetSampleRate(rate);
  mDcBlocker.SetSampleRate(rate);
  // The filters' own arithmetic, in their order, on local state from rest: kept in registers
  // instead of going through the filters' members on every frame of the span.
  const double g = mLowPass.GetG(), h = mLowPass.GetH();
  const double twoRPlusG = 2.0 * mLowPass.GetDamping() + g;
  const double pole = mDcBlocker.GetPole();
  double s1 = 0.0, s2 = 0.0, x1 = 0.0, y1 = 0.0;
  uint64_t quietRun = 0;
  const double quiet = mQuietThreshold;
  bool previousNegative = true;
  bool found = false;
  int64_t trigger = 0;
  int64_t i = std::max<int64_t>(0, -start);
  const bool countQuiet = mQuietRunLimit != 0;
  ForEachFrame(history, start, int64_t{stride} * search,
               [&](const auto& frame)
               {
                 const double x = mode == 1   ? frame[0]
                                  : mode == 2 ? frame[1]
                                  : mode == 3 ? frame[0] + frame[1]
                                              : 0.0;
                 if (countQuiet)
                 {
                   if (std::fabs(x) > quiet)
                     quietRun = 0;
                   else
                     ++quietRun; // NaN counts as quiet
                 }
                 const double hp = (x - twoRPlusG * s1 - s2) * h;
                 const double v = g * hp;
                 const double bp = s1 + v;
                 s1 = bp + v;
                 const double w = g * bp;
                 const double lp = w + s2;
                 s2 = lp + w;
                 const double y = pole * y1 + (lp - x1);
                 x1 = lp;
                 y1 = y;
                 const bool negative = std::signbit(y);
                 if (!previousNegative && negative)
                 {
                   found = true;
                   trigger = i;
                 }
                 previousNegative = negative;
                 ++i;
               });
  if (!countQuiet) return search;
  mQuietRun = quietRun;
  if (++mQuietRun >= mQuietRunLimit) return search;
  return found ? static_cast<uint32_t>(trigger / stride) : search;
}

template <class History>
void ScopeColumns::ReduceColumns(const History& history, int64_t start, uint32_t stride,
                                 uint32_t first, uint32_t count)
{
  // Both channels in one walk over the frames; the rings are independent, so this is the same
  // as reducing channel 0 and then channel 1. A frame's two samples lie side by side, so where
  // SSE2 is there one instruction each takes the smaller and the larger of both, with exactly the
  // comparisons of MinMax (a NaN never replaces what was there).
  for (uint64_t j = first; j < uint64_t{first} + count; ++j)
  {
    dsp::MinMax<double> left, right;
    ForEachRun(history, start + static_cast<int64_t>(j * stride), stride,
               [&](const auto* frames, int64_t n)
               {
#if defined(__SSE2__)
                 __m128d lo = _mm_set_pd(right.min, left.min), hi = _mm_set_pd(right.max, left.max);
                 for (int64_t k = 0; k < n; ++k)
                 {
                   const __m128d x = _mm_loadu_pd(frames[k].data());
                   lo = _mm_min_pd(x, lo);
                   hi = _mm_max_pd(x, hi);
                 }
                 left.min = _mm_cvtsd_f64(lo);
                 left.max = _mm_cvtsd_f64(hi);
                 right.min = _mm_cvtsd_f64(_mm_unpackhi_pd(lo, lo));
                 right.max = _mm_cvtsd_f64(_mm_unpackhi_pd(hi, hi));
#else
                 for (int64_t k = 0; k < n; ++k)
                 {
                   left.Apply(frames[k][0]);
                   right.Apply(frames[k][1]);
                 }
#endif
               });
    // A column without a single comparable frame (before the oldest frame, or all NaN) is drawn
    // at the middle instead of at the largest double.
    mRings[0].push_back(left.min <= left.max ? ColumnRange{left.min, left.max} : ColumnRange{});
    mRings[1].push_back(right.min <= right.max ? ColumnRange{right.min, right.max} : ColumnRange{});
  }
}

void ScopeColumns::Update(Trazelle::SampleBuffer& feed)
{
  const uint32_t stride = mSamplesPerColumn.load();
  const uint32_t search = mSearchColumns.load();
  const int64_t windowColumns = int64_t{mColumnCount} + search;
  const int64_t drained = static_cast<int64_t>(feed.Consume(
      static_cast<int>(std::min<int64_t>(windowColumns, 1 << 30)), static_cast<int>(stride)));
  mLastDrained = drained;

  const auto& history = feed.History();
  const int64_t start = static_cast<int64_t>(history.size()) - windowColumns * stride;
  uint32_t fresh = static_cast<uint32_t>(std::min<int64_t>(drained / stride, mColumnCount));
  const uint32_t t = FindTriggerColumn(history, start, stride, search);
  mLastTrigger = t;
  const bool reset = mResetPending.exchange(false);
  if (reset || mTriggerEnabled.load()) fresh = mColumnCount;
  ReduceColumns(history, start, stride, t + mColumnCount - fresh, fresh);
}

} // namespace qm::control
