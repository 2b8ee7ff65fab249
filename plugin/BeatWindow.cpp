#include "plugin/BeatWindow.h"

#include <algorithm>
#include <cmath>

namespace qm::Trazelle::beats
{

namespace
{
constexpr int kDefaultIndex = 4; // 2^(4 - 2) = 4 beats
}

double ForIndex(int index)
{
  return std::ldexp(1.0, std::clamp(index, 0, kChoices - 1) - 2);
}

int IndexOf(double beats)
{
  if (std::isnan(beats)) return kDefaultIndex;
  if (!(beats > 0.0)) return 0;
  const double octave = std::round(std::log2(beats)) + 2.0;
  return static_cast<int>(std::clamp(octave, 0.0, double(kChoices - 1)));
}

std::string Text(double beats)
{
  if (beats < 0.375) return "1/4 beat";
  if (beats < 0.75) return "1/2 beat";
  const long whole = std::lround(beats);
  return std::to_string(whole) + (whole == 1 ? " beat" : " beats");
}

double ClampTempo(double tempo)
{
  if (!std::isfinite(tempo)) return kFallbackTempo;
  return std::clamp(tempo, kMinTempo, kMaxTempo);
}

double Fit(double beats, double tempo, double minSeconds, double maxSeconds)
{
  const double secondsPerBeat = 60.0 / ClampTempo(tempo);
  double fitted = Snap(beats);
  while (fitted > ForIndex(0) && fitted * secondsPerBeat > maxSeconds)
    fitted *= 0.5;
  while (fitted < ForIndex(kChoices - 1) && fitted * secondsPerBeat < minSeconds)
    fitted *= 2.0;
  return fitted;
}

Place Locate(const HostTime& time, std::uint64_t taken, double sampleRate, double beats,
             std::uint32_t count, std::uint32_t stride)
{
  if (!time.playing || !time.hasPosition || count == 0 || stride == 0 || !(sampleRate > 0.0) ||
      !(beats > 0.0))
    return {};
  const double framesPerBeat = sampleRate * 60.0 / ClampTempo(time.tempo);
  // Song position where the newest column ends, extrapolated from the record's frame (which may
  // lie before or after it) at the record's tempo.
  const double end = time.position +
                     (static_cast<double>(taken) - static_cast<double>(time.frame)) / framesPerBeat;
  if (!std::isfinite(end)) return {};
  const double intoWindow = end - std::floor(end / beats) * beats;
  const double columns = std::round(intoWindow * framesPerBeat / static_cast<double>(stride));
  // Past the last column (the window is a little longer than the picture): scroll until the next
  // window starts.
  if (!(columns >= 0.0) || columns >= static_cast<double>(count)) return {};
  const double window = std::round(beats * framesPerBeat / static_cast<double>(stride));
  const double gap =
      std::clamp(window - static_cast<double>(count), 0.0, static_cast<double>(count) - columns);
  return {static_cast<std::uint32_t>(columns), static_cast<std::uint32_t>(gap)};
}

} // namespace qm::Trazelle::beats
