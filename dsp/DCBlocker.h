#pragma once

#include "dsp/Filter.h"

#include <array>
#include <numbers>

namespace qm::dsp
{

// One-pole DC blocker: y = R * y1 + (x - x1), with the pole R = 1 - 2 pi fc / fs.
template <typename T, int NC>
class DCBlocker : public Filter<T, NC>
{
  using Base = Filter<T, NC>;

public:
  DCBlocker(double sampleRate, double cutoff) : Base(kHighPass, sampleRate, cutoff)
  {
    UpdatePole();
  }

  void SetCutoff(double cutoff) override
  {
    this->mCutoff = cutoff;
    UpdatePole();
  }

  T Process(const T& x, int channel) override
  {
    const T y = static_cast<T>(mR) * mY1[channel] + (x - mX1[channel]);
    mX1[channel] = x;
    mY1[channel] = y;
    return y;
  }

  void SetSampleRate(double sampleRate) override
  {
    this->mSampleRate = sampleRate;
    SetCutoff(this->mCutoff);
    Reset();
  }

  void Reset()
  {
    mX1.fill(T(0));
    mY1.fill(T(0));
  }

  double GetPole() const { return mR; }

private:
  void UpdatePole() { mR = 1.0 - 2.0 * std::numbers::pi * this->mCutoff / this->mSampleRate; }

  std::array<T, NC> mX1{};
  std::array<T, NC> mY1{};
  double mR = 0.0;
};

} // namespace qm::dsp
