#pragma once

#include <cmath>
#include <cstdint>

namespace qm::control
{

// Level of one meter channel, as linear amplitudes. Starts just below any
// floor the editor configures, so bars start empty and read-outs read "-Inf".
struct MeterChannelState
{
  double level = 0.0001;    // displayed bar level
  double peakHold = 0.0001; // held peak
  double inputPeak = 0.0;   // largest |sample| since the level last fell
  uint64_t holdCounter = 0; // samples since the level dropped below the hold
};

// What one channel shows at draw time.
struct MeterReadout
{
  double levelDb = 0.0;
  double peakDb = 0.0;
  double levelFraction = 0.0; // 0..1 of the bar length
  double peakFraction = 0.0;  // 0..1 of the bar length
  bool aboveFloor = false;    // false: the read-out is "-Inf"
};

// Rise/fall/hold ballistics shared by the channels of a level meter. The
// rates are in dB per second and become per-sample factors, so a level moves
// by multiplication only; logarithms are taken once per channel and draw.
class MeterBallistics
{
public:
  MeterBallistics() = default;

  // Recomputes the factors for the configured rates. Hold time becomes 500 ms
  // whatever was configured; the editor re-applies its hold right after.
  void SetSampleRate(double rate);
  void SetBallistics(double attackDbPerSecond, double releaseDbPerSecond, double floorDb,
                     double ceilingDb, double holdMs);

  // One sample of one channel. An infinite sample is a broken signal at its
  // loudest: it reads as an over (the top of the scale, never below full
  // scale), so the meter shows it rather than hide it as silence. NaN carries
  // no level and is ignored.
  void Process(MeterChannelState& s, double sample) const
  {
    double x = std::fabs(sample);
    if (std::isnan(x))
      x = 0.0;
    else if (std::isinf(x))
      x = mOverAmplitude;
    if (x > s.inputPeak) s.inputPeak = x;
    if (s.inputPeak <= s.level)
    {
      if (s.level > mFloorAmplitude)
      {
        s.level *= mReleaseFactor;
        s.inputPeak = 0.0;
      }
    }
    else
    {
      const double raised = s.level * mAttackFactor;
      s.level = raised < s.inputPeak ? raised : s.inputPeak;
    }
    if (s.level < s.peakHold)
    {
      if (++s.holdCounter > mHoldSamples) s.peakHold *= mReleaseFactor;
    }
    else
    {
      s.peakHold = s.level;
      s.holdCounter = 0;
    }
  }

  MeterReadout ReadOut(const MeterChannelState& s) const;

  // Writes the read-out text ("-Inf" or the held peak in dB, one decimal)
  // into `text` (at least 16 bytes).
  static void FormatPeak(const MeterReadout& r, char* text, int size);

  double GetSampleRate() const { return mSampleRate; }
  double GetAttackFactor() const { return mAttackFactor; }
  double GetReleaseFactor() const { return mReleaseFactor; }
  double GetFloorDb() const { return mFloorDb; }
  double GetCeilingDb() const { return mCeilingDb; }
  double GetFloorAmplitude() const { return mFloorAmplitude; }
  uint64_t GetHoldSamples() const { return mHoldSamples; }

private:
  void UpdateFactors();

  double mSampleRate = 44100.0;
  double mReleaseDbPerSecond = 50.0;
  double mAttackDbPerSecond = 50.0;
  double mAttackFactor = 1.0;
  double mReleaseFactor = 1.0;
  double mFloorDb = -80.0;
  double mCeilingDb = 0.0;
  double mFloorAmplitude = 0.0001;
  double mOverAmplitude = 1.0; // what an infinite sample reads as
  uint64_t mHoldSamples = 0;
};

} // namespace qm::control
