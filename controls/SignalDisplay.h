#pragma once

#include <atomic>
#include <cmath>

namespace qm::Trazelle
{
class SampleBuffer;
}

namespace qm::control
{

/** What every signal view shares: the vertical mapping of sample values onto the control, the
 * sample feed it drains (owned by the plug-in) and its time settings. Not a control by itself; a
 * display derives from it and from ControlBase. */
template <int NChannels>
class SignalDisplay
{
public:
  /** `top` and `bottom` are the control rectangle's, truncated to whole pixels. */
  SignalDisplay(float top, float bottom, Trazelle::SampleBuffer* feed, double sampleRate,
                double maxDuration, double duration)
      : mTop(static_cast<int>(top)), mBottom(static_cast<int>(bottom)), mFeed(feed),
        mSampleRate(sampleRate), mMaxDuration(maxDuration), mDuration(duration)
  {
    mVerticalScale = static_cast<float>(mTop - mBottom) * 0.5f;
    mVerticalOffset = static_cast<float>(mBottom) - mVerticalScale * mValueMin;
  }
  virtual ~SignalDisplay() = default;

  virtual void SetDuration(double seconds) { mDuration = seconds; } // [ui thread]
  virtual double GetDuration() const { return mDuration; }
  virtual void SetSampleRate(double hz) { mSampleRate = hz; } // [any thread]

  double GetSampleRate() const { return mSampleRate.load(); }
  double GetMaxDuration() const { return mMaxDuration; }
  Trazelle::SampleBuffer* GetFeed() const { return mFeed; }

  /** Screen y of sample value `v` at vertical zoom `gain`. Far off-screen values are pinned a
   * million pixels out so that an infinite sample still gives a finite coordinate. */
  float ValueToY(double v, double gain) const
  {
    constexpr double kLimit = 1.0e6;
    double y =
        gain * v * static_cast<double>(mVerticalScale) + static_cast<double>(mVerticalOffset);
    if (!(y > -kLimit))
      y = -kLimit;
    else if (y > kLimit)
      y = kLimit;
    return static_cast<float>(y);
  }

protected:
  float mValueMin = -1.f;
  float mValueMax = 1.f;
  float mVerticalScale = 0.f;
  float mVerticalOffset = 0.f;
  int mTop;
  int mBottom;
  Trazelle::SampleBuffer* mFeed;
  std::atomic<double> mSampleRate;
  double mMaxDuration;
  double mDuration;
};

} // namespace qm::control
