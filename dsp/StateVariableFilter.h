#pragma once

#include "dsp/Filter.h"

#include <array>
#include <cmath>
#include <numbers>

namespace qm::dsp
{

// Trapezoidal (zero-delay-feedback) state-variable filter. The damping R is 1 / (2 Q); the type
// picks the low-pass, high-pass or band-pass output, any other type outputs silence while the state
// still runs.
template <typename T, int NC>
class StateVariableFilter : public Filter<T, NC>
{
  using Base = Filter<T, NC>;

public:
  StateVariableFilter(int type, double sampleRate, double cutoff,
                      double damping = 1.0 / std::sqrt(2.0))
      : Base(type, sampleRate, cutoff), mR(damping)
  {
    UpdateCoefficients();
  }

  void SetCutoff(double cutoff) override
  {
    this->mCutoff = cutoff;
    UpdateCoefficients();
  }

  T Process(const T& x, int channel) override
  {
    T& s1 = mState[channel][0];
    T& s2 = mState[channel][1];
    const T hp = (x - static_cast<T>(mTwoRPlusG) * s1 - s2) * static_cast<T>(mH);
    const T v = static_cast<T>(mG) * hp;
    const T bp = s1 + v;
    s1 = bp + v;
    const T w = static_cast<T>(mG) * bp;
    const T lp = w + s2;
    s2 = lp + w;
    switch (this->mType)
    {
    case kLowPass:
      return lp;
    case kHighPass:
      return hp;
    case kBandPass:
      return bp;
    default:
      return T(0);
    }
  }

  void SetSampleRate(double sampleRate) override
  {
    this->mSampleRate = sampleRate;
    SetCutoff(this->mCutoff);
    for (auto& state : mState)
      state = {T(0), T(0)};
  }

  double GetG() const { return mG; }
  double GetH() const { return mH; }
  double GetDamping() const { return mR; }

private:
  void UpdateCoefficients()
  {
    mG = std::tan(std::numbers::pi * this->mCutoff / this->mSampleRate);
    mTwoRPlusG = 2.0 * mR + mG;
    mH = 1.0 / (1.0 + 2.0 * mR * mG + mG * mG);
  }

  std::array<std::array<T, 2>, NC> mState{};
  double mG = 0.0;
  double mTwoRPlusG = 0.0;
  double mH = 0.0;
  double mR;
};

} // namespace qm::dsp
