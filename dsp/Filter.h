#pragma once

namespace qm::dsp
{

enum EFilterType
{
  kLowPass = 1,
  kHighPass = 2,
  kBandPass = 3
};

// Base of the display's small filters: one sample at a time, per channel, on the UI thread.
// T is the sample type, NC the channel count.
template <typename T, int NC>
class Filter
{
public:
  Filter(int type, double sampleRate, double cutoff)
      : mType(type), mSampleRate(sampleRate), mCutoff(cutoff)
  {
  }
  virtual ~Filter() = default;

  virtual void SetCutoff(double cutoff) = 0;
  virtual T Process(const T& x, int channel) = 0;
  virtual void SetSampleRate(double sampleRate) = 0;
  // Stored for the displays; no computation reads it.
  virtual void SetOrder(int order) { mOrder = order; }

  void SetType(int type) { mType = type; }
  int GetType() const { return mType; }
  int GetOrder() const { return mOrder; }
  double GetSampleRate() const { return mSampleRate; }
  double GetCutoff() const { return mCutoff; }

protected:
  int mType;
  int mOrder = 0;
  double mSampleRate;
  double mCutoff;
};

} // namespace qm::dsp
