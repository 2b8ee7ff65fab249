#pragma once

#include "controls/ControlBase.h"
#include "controls/MeterBallistics.h"

#include <array>
#include <atomic>
#include <string>

namespace qm::Trazelle
{
class OverCounter;
class SampleBuffer;
} // namespace qm::Trazelle

namespace qm::control
{

/** The input level meter: one horizontal bar per channel (left above right) with rise and fall
 * ballistics in decibels, a peak-hold marker, a 0 dB mark and a read-out of the held peak that
 * rides along the bar. A channel that had overs since the last click on the meter shows a red
 * light with their count at the right end of its bar; the click also drops the peak hold.
 *
 * All level work happens in Draw on the UI thread, sample by sample over every frame drained
 * from the meter sample buffer since the previous draw; the audio thread only copies frames. */
template <int NChannels>
class SignalMeter : public ControlBase
{
public:
  /** `style` is the editor's meter style: slot 4 bar background, slot 8 bar and peak marker,
   * slot 2 the 0 dB mark; the label text for the channel labels, the value text for the
   * read-outs. */
  SignalMeter(const IRECT& bounds, Trazelle::SampleBuffer* feed, double sampleRate,
              const std::array<std::string, NChannels>& labels, const ControlStyle& style);

  void OnInit() override;                                            // [ui thread]
  void Draw(GraphicsContext& g) override;                            // [ui thread]
  void OnMouseDown(float x, float y, const IMouseMod& mod) override; // [ui thread]
  /** [ui thread] Brings the levels up to date and reports dirty only when the bars, peak markers
   * or read-outs would look different from the last drawn frame (a level still falling counts). */
  bool IsDirty() override;

  /** Takes effect at the next update or SetBallistics, on the UI thread. Hold time becomes
   * 500 ms until SetBallistics configures it again. */
  void SetSampleRate(double hz); // [any thread]
  void SetBallistics(double attackDbPerSecond, double releaseDbPerSecond, double floorDb,
                     double ceilingDb, double holdMs); // [ui thread]

  /** [ui thread] Drains the feed (its only consumer) and runs the ballistics over the new
   * frames. Draw calls it first. */
  void UpdateLevels();

  /** [ui thread] Where the over lights read their counts; null (the default) shows none. */
  void SetOvers(Trazelle::OverCounter* overs) { mOvers = overs; }
  /** [ui thread] Puts out the over lights and drops the peak hold to the current level. */
  void ResetOvers();
  /** [ui thread] The text the channel's over light shows; empty while it is out. */
  const char* GetOverText(int channel) const { return mDrawn[channel].overs.data(); }
  /** [ui thread] Where the channel's over light was last drawn. */
  const IRECT& GetOverRect(int channel) const { return mOverRects[channel]; }

  const MeterBallistics& GetBallistics() const { return mBallistics; }
  const MeterChannelState& GetChannel(int channel) const { return mChannels[channel]; }
  MeterReadout GetReadout(int channel) const { return mBallistics.ReadOut(mChannels[channel]); }
  const IRECT& GetBarRect(int channel) const { return mBarRects[channel]; }
  const IRECT& GetChannelLabelRect(int channel) const { return mLabelRects[channel]; }
  const IRECT& GetReadoutRect(int channel) const { return mReadoutRects[channel]; }

private:
  // What one channel shows, in the units it is drawn in.
  struct Shown
  {
    float levelLength = 0.f;
    float peakOffset = 0.f;
    std::array<char, 16> text{};
    std::array<char, 8> overs{}; // empty: no light
    bool operator==(const Shown&) const = default;
  };

  void ApplyPendingSampleRate();
  Shown ShownFor(int channel) const;
  void DrawOverLight(GraphicsContext& g, int channel);

  Trazelle::SampleBuffer* mFeed;
  Trazelle::OverCounter* mOvers = nullptr;
  std::array<IRECT, NChannels> mOverRects{};
  std::array<MeterChannelState, NChannels> mChannels{};
  std::array<std::string, NChannels> mChannelLabels;
  std::array<IRECT, NChannels> mBarRects{};
  std::array<IRECT, NChannels> mLabelRects{};
  std::array<IRECT, NChannels> mReadoutRects{};
  std::array<std::array<char, 16>, NChannels> mReadoutTexts{};
  MeterBallistics mBallistics;
  std::atomic<double> mPendingSampleRate{0.0};
  std::array<Shown, NChannels> mDrawn{};
  bool mDrawnOnce = false;
};

extern template class SignalMeter<2>;

} // namespace qm::control
