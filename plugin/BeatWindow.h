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
// `beats` halved until they last at most `maxSeconds` at `tempo` (a window longer than the kept
// history could not be filled), or doubled until they last at least `minSeconds` (a picture
// holds at least a frame per column, and could not show a shorter window in place).
double Fit(double beats, double tempo, double minSeconds, double maxSeconds);

// Where the columns of a scrolling picture (`count` columns of `stride` frames, the newest ending
// at feed frame `taken`) go when every window of `beats` is to start at the left edge: the
// `newest` columns written since the current window started go from the left edge on; the
// window before it continues to the right edge, `gap` columns on, because the picture (whole
// frames per column) is a little shorter than the window. {0, 0}: the plain scrolling picture,
// as whenever the host's transport is not playing at a known position.
struct Place
{
  std::uint32_t newest = 0;
  std::uint32_t gap = 0;
};
Place Locate(const HostTime& time, std::uint64_t taken, double sampleRate, double beats,
             std::uint32_t count, std::uint32_t stride);

} // namespace qm::Trazelle::beats
