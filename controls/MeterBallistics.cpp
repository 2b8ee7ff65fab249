#include "controls/MeterBallistics.h"

#include <algorithm>
#include <cstdio>

namespace qm::control
{

void MeterBallistics::UpdateFactors()
{
  mAttackFactor = std::pow(10.0, mAttackDbPerSecond / mSampleRate * 0.05);
  mReleaseFactor = std::pow(10.0, -mReleaseDbPerSecond / mSampleRate * 0.05);
}

void MeterBallistics::SetSampleRate(double rate)
{
  mSampleRate = rate;
  UpdateFactors();
  mHoldSamples = static_cast<uint64_t>(rate * 500.0 * 0.001);
}

void MeterBallistics::SetBallistics(double attackDbPerSecond, double releaseDbPerSecond,
                                    double floorDb, double ceilingDb, double holdMs)
{
  mAttackDbPerSecond = attackDbPerSecond;
  mReleaseDbPerSecond = releaseDbPerSecond;
  mFloorDb = floorDb;
  mCeilingDb = ceilingDb;
  UpdateFactors();
  mFloorAmplitude = std::pow(10.0, floorDb * 0.05);
  mOverAmplitude = std::max(1.0, std::pow(10.0, ceilingDb * 0.05));
  mHoldSamples = static_cast<uint64_t>(mSampleRate * holdMs * 0.001);
}

MeterReadout MeterBallistics::ReadOut(const MeterChannelState& s) const
{
  MeterReadout r;
  r.peakDb = mFloorAmplitude > s.peakHold ? mFloorDb : 20.0 * std::log10(s.peakHold);
  r.levelDb = mFloorAmplitude > s.level ? mFloorDb : 20.0 * std::log10(s.level);
  const double range = mCeilingDb - mFloorDb;
  if (range > 0.0)
  {
    r.levelFraction = std::clamp((r.levelDb - mFloorDb) / range, 0.0, 1.0);
    r.peakFraction = std::clamp((r.peakDb - mFloorDb) / range, 0.0, 1.0);
  }
  // A hold exactly at the floor amplitude reads "-Inf" even when rounding puts
  // its logarithm a hair above the floor.
  r.aboveFloor = s.peakHold > mFloorAmplitude && r.peakDb > mFloorDb;
  return r;
}

void MeterBallistics::FormatPeak(const MeterReadout& r, char* text, int size)
{
  if (r.aboveFloor)
    std::snprintf(text, static_cast<size_t>(size), "%.1f", r.peakDb);
  else
    std::snprintf(text, static_cast<size_t>(size), "-Inf");
}

} // namespace qm::control
