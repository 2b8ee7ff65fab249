#include "plugin/DemoSignal.h"

#include <cmath>
#include <numbers>

namespace qm::Trazelle
{

const DemoSignal::Segment DemoSignal::kSegments[kNumSegments] = {
    {0.0, 0.75, 0.5, 0.7},   // -6.0 dB, -3.1 dB
    {0.75, 1.5, 0.9, 0.35},  // -0.9 dB, -9.1 dB
    {1.5, 2.0, 0.25, 0.125}, // -12.0 dB, -18.1 dB
    {2.0, 2.5, 0.001, 0.0},  // the quiet stretch: -60 dB on the left, silence on the right
    {2.5, 3.0, 0.7, 0.9},    // -3.1 dB, -0.9 dB
};

DemoSignal::DemoSignal(double sampleRate)
    : mSampleRate(sampleRate), mTotalFrames(static_cast<std::int64_t>(sampleRate * kSeconds))
{
}

const DemoSignal::Segment* DemoSignal::SegmentAt(std::int64_t frame) const
{
  if (frame < 0 || frame >= mTotalFrames) return nullptr;
  const double t = static_cast<double>(frame) / mSampleRate;
  for (const Segment& segment : kSegments)
    if (t < segment.end) return &segment;
  return nullptr;
}

double DemoSignal::Left(std::int64_t frame) const
{
  const Segment* segment = SegmentAt(frame);
  if (!segment) return 0.0;
  const double phase = std::fmod(kLeftHz * static_cast<double>(frame) / mSampleRate, 1.0);
  return segment->leftLevel * std::sin(2.0 * std::numbers::pi * phase);
}

double DemoSignal::Right(std::int64_t frame) const
{
  const Segment* segment = SegmentAt(frame);
  if (!segment) return 0.0;
  const double phase = std::fmod(kRightHz * static_cast<double>(frame) / mSampleRate, 1.0);
  // Triangle: 0 at phase 0, peak at 1/4, trough at 3/4.
  const double triangle = phase < 0.25   ? 4.0 * phase
                          : phase < 0.75 ? 2.0 - 4.0 * phase
                                         : 4.0 * phase - 4.0;
  return segment->rightLevel * triangle;
}

void DemoSignal::Render(std::int64_t first, int n, float* left, float* right) const
{
  for (int i = 0; i < n; ++i)
  {
    left[i] = static_cast<float>(Left(first + i));
    right[i] = static_cast<float>(Right(first + i));
  }
}

void DemoSignal::Render(std::int64_t first, int n, double* left, double* right) const
{
  for (int i = 0; i < n; ++i)
  {
    left[i] = Left(first + i);
    right[i] = Right(first + i);
  }
}

} // namespace qm::Trazelle
