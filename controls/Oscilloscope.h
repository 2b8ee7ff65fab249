#pragma once

#include "controls/ControlBase.h"
#include "controls/ScopeColumns.h"
#include "controls/SignalDisplay.h"

#include <atomic>
#include <vector>

namespace qm::control
{

/** The two-channel oscilloscope: the last 0 to 4 seconds of the input as a band between the
 * smallest and largest sample of each half-pixel column, scrolling freely ("envelope") or held
 * on the last falling zero crossing ("waveform"), with a freeze that lets the view slide through
 * the frozen history.
 *
 * It drains the plug-in's oscilloscope sample buffer inside Draw, so it reports dirty on every
 * frame while live. Setters store whole atomic values and mark the control dirty; the editor
 * calls them on the UI thread, SetSampleRate may come from the thread that resets the plug-in. */
template <int NChannels>
class Oscilloscope : public SignalDisplay<NChannels>, public ControlBase
{
public:
  Oscilloscope(const IRECT& bounds, Trazelle::SampleBuffer* feed, double sampleRate,
               double maxDuration, double duration, const ControlStyle& style);

  void Draw(GraphicsContext& g) override; // [ui thread]
  bool IsDirty() override;                // [ui thread]
  void OnStyleChanged() override;         // [ui thread]

  void SetDuration(double seconds) override; // [ui thread]
  /** The duration actually shown: whole samples per column times the column count. */
  double GetDuration() const override;
  void SetSampleRate(double hz) override; // [any thread]

  void SetTriggerEnabled(bool enabled);    // [ui thread] true: "waveform"
  void SetChannelMode(int32_t mode);       // [ui thread] 1 left, 2 right, 3 stereo
  void SetGain(double gain);               // [ui thread] vertical zoom factor
  void SetFrozen(bool frozen);             // [ui thread]
  void SetFrozenPosition(double position); // [ui thread] 0 oldest .. 1 newest window

  double GetGain() const { return mGain.load(); }

  /** [ui thread] The per-frame signal work of Draw without the drawing: drains the feed, finds
   * the trigger, reduces columns. Draw calls it with denormals flushed. */
  void UpdateColumns();
  /** [ui thread] Strokes one channel's columns as one path. */
  void DrawChannel(GraphicsContext& g, int channel);

  const ScopeColumns& GetColumns() const { return mColumns; }
  const IPattern& GetChannelPattern(int channel) const { return mChannelPatterns[channel]; }

private:
  using Display = SignalDisplay<NChannels>;

  ScopeColumns mColumns;
  std::vector<IPattern> mChannelPatterns;
  std::atomic<double> mGain{1.0};
};

extern template class Oscilloscope<2>;

} // namespace qm::control
