#pragma once

#include "plugin/HostTimeline.h"

#include <cstdint>
#include <string>

// The tempo-locked view's arithmetic: which lengths in beats the duration knob offers, how long
// they last at a tempo, and where the newest column of a scrolling picture belongs when each
// window of that length is to start at the left edge.
namespace qm::Trazelle::beats
{

constexpr int kChoices = 7; // 1/4, 1/2, 1, 2, 4, 8, 16 beats
constexpr double kDefaultBeats = 4.0;
constexpr double kFallbackTempo = 120.0;
// Hosts report anything; outside this the windows are either far longer than the history or too
// short to hold one sample per column.
constexpr double kMinTempo = 20.0, kMaxTempo = 999.0;

// The choice `index` (clamped to the list) in beats.
double ForIndex(int index);
// The nearest choice to `beats` (in octaves); NaN gives the default.
int IndexOf(double beats);
inline double Snap(double beats)
{
  return ForIndex(IndexOf(beats));
}
// "1/4 beat", "1/2 beat", "1 beat", "2 beats", ...
std::string Text(double beats);

double ClampTempo(double tempo);
// `beats` halved until they last at most `maxSeconds` at `tempo` (never below the shortest
// choice): a window longer than the kept history could not be filled.
double Fit(double beats, double tempo, double maxSeconds);

// The rotation, in columns, that puts the columns of a scrolling picture (oldest first, the
// newest ending at feed frame `taken`, `stride` frames each) where a view starting at every
// multiple of `beats` shows them: the newest column lands in slot (count - 1 + shift) % count.
// 0 (the plain scrolling picture) unless the host's transport plays with a known position.
std::uint32_t Rotation(const HostTime& time, std::uint64_t taken, double sampleRate, double beats,
                       std::uint32_t count, std::uint32_t stride);

} // namespace qm::Trazelle::beats
