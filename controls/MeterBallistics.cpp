#include "controls/MeterBallistics.h"

#include <algorithm>
#include <cstdio>

namespace qm::control
{

void MeterBallistics::UpdateFactors()
{
  attackFactor_ = std::pow(10.0, attackDbPerSecond_ / sampleRate_ * 0.05);
  releaseFactor_ = std::pow(10.0, -releaseDbPerSecond_ / sampleRate_ * 0.05);
}

void MeterBallistics::SetSampleRate(double rate)
{
  sampleRate_ = rate;
  UpdateFactors();
  holdSamples_ = static_cast<uint64_t>(rate * 500.0 * 0.001);
}

void MeterBallistics::SetBallistics(double attackDbPerSecond, double releaseDbPerSecond,
                                    double floorDb, double ceilingDb, double holdMs)
{
  attackDbPerSecond_ = attackDbPerSecond;
  releaseDbPerSecond_ = releaseDbPerSecond;
  floorDb_ = floorDb;
  ceilingDb_ = ceilingDb;
  UpdateFactors();
  floorAmplitude_ = std::pow(10.0, floorDb * 0.05);
  holdSamples_ = static_cast<uint64_t>(sampleRate_ * holdMs * 0.001);
}

MeterReadout MeterBallistics::ReadOut(const MeterChannelState& s) const
{
  MeterReadout r;
  r.peakDb = floorAmplitude_ > s.peakHold ? floorDb_ : 20.0 * std::log10(s.peakHold);
  r.levelDb = floorAmplitude_ > s.level ? floorDb_ : 20.0 * std::log10(s.level);
  const double range = ceilingDb_ - floorDb_;
  if (range > 0.0)
  {
    r.levelFraction = std::clamp((r.levelDb - floorDb_) / range, 0.0, 1.0);
    r.peakFraction = std::clamp((r.peakDb - floorDb_) / range, 0.0, 1.0);
  }
  // A hold exactly at the floor amplitude reads "-Inf" even when rounding puts
  // its logarithm a hair above the floor.
  r.aboveFloor = s.peakHold > floorAmplitude_ && r.peakDb > floorDb_;
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
