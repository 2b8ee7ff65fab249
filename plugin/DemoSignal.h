#pragma once

#include <cstdint>

namespace qm::Trazelle
{

// The built-in demo signal: three seconds of stereo audio made in code, for the demo and for
// rendering tools. Left is a 110 Hz sine, right a 220 Hz triangle; both step through levels and
// share a quiet stretch, so the oscilloscope has something to trigger on and the meter something to
// follow. Deterministic: frame i is the same on every call.
class DemoSignal
{
public:
  static constexpr double kSeconds = 3.0;
  static constexpr double kLeftHz = 110.0;
  static constexpr double kRightHz = 220.0;

  // A stretch of the signal and the peak level of each channel in it.
  struct Segment
  {
    double begin; // seconds
    double end;
    double leftLevel;  // linear peak
    double rightLevel; // linear peak
  };
  static constexpr int kNumSegments = 5;
  static const Segment kSegments[kNumSegments];

  explicit DemoSignal(double sampleRate);

  double SampleRate() const { return mSampleRate; }
  std::int64_t TotalFrames() const { return mTotalFrames; }

  // Writes frames [first, first + n); frames past the end are silence.
  void Render(std::int64_t first, int n, float* left, float* right) const;
  void Render(std::int64_t first, int n, double* left, double* right) const;

  double Left(std::int64_t frame) const;
  double Right(std::int64_t frame) const;

private:
  const Segment* SegmentAt(std::int64_t frame) const;

  double mSampleRate;
  std::int64_t mTotalFrames;
};

} // namespace qm::Trazelle
