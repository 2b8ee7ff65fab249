#pragma once

#include "controls/ColumnWrap.h"
#include "controls/ControlBase.h"
#include "controls/OverMarks.h"
#include "controls/ScopeColumns.h"
#include "controls/SignalDisplay.h"
#include "controls/TraceRaster.h"

#include <atomic>
#include <functional>
#include <vector>

namespace qm::control
{

/** How the oscilloscope draws each channel's band. */
enum class ETraceDrawing
{
  Band,     // each channel's coverage rendered in software and filled with its colour: one draw
            // and a one-byte-per-pixel upload per channel
  Reference // one stroked four-point outline per pair of neighbouring columns
};

/** The two-channel oscilloscope: the last 0 to 4 seconds of the input as a band between the
 * smallest and largest sample of each half-pixel column, scrolling freely ("envelope") or held
 * on the last falling zero crossing ("waveform"), with a freeze that lets the view slide through
 * the frozen history.
 *
 * While live, IsDirty drains the plug-in's oscilloscope sample buffer and reports dirty only when
 * the columns differ from the ones last drawn, so a still picture costs no frame. Setters store
 * whole atomic values and mark the control dirty; the editor calls them on the UI thread,
 * SetSampleRate may come from the thread that resets the plug-in. */
template <int NChannels>
class Oscilloscope : public SignalDisplay<NChannels>, public ControlBase
{
public:
  Oscilloscope(const IRECT& bounds, Trazelle::SampleBuffer* feed, double sampleRate,
               double maxDuration, double duration, const ControlStyle& style);

  void Draw(GraphicsContext& g) override; // [ui thread]
  bool IsDirty() override;                // [ui thread]
  /** What the last IsDirty said: the picture is drawn anew this frame. Controls over the picture
   * that read it follow it. */
  bool PictureChanging() const { return mPictureChanging; }
  void OnStyleChanged() override; // [ui thread]

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

  /** [ui thread] Asked after every update of the columns how to lay them out; unset, or while
   * frozen, the picture scrolls plainly. */
  void SetWrapSource(std::function<ColumnWrap()> source) { mWrapSource = std::move(source); }
  const ColumnWrap& GetWrap() const { return mWrap; }

  /** [ui thread] The band is drawn only on back ends that show pixel images; others draw the
   * reference outlines. */
  void SetTraceDrawing(ETraceDrawing drawing);
  ETraceDrawing GetTraceDrawing() const { return mTraceDrawing; }

  /** [ui thread] The per-frame signal work of Draw without the drawing: drains the feed, finds
   * the trigger, reduces columns. Draw calls it with denormals flushed. */
  void UpdateColumns();
  /** [ui thread] Draws the columns of the channels the channel mode shows, as chosen by
   * SetTraceDrawing, without updating them. */
  void DrawTraces(GraphicsContext& g);

  const ScopeColumns& GetColumns() const { return mColumns; }
  /** Where the overs lie in the history, kept up to date as UpdateColumns drains the feed. */
  const OverMarks& GetOverMarks() const { return mOverMarks; }
  const IPattern& GetChannelPattern(int channel) const { return mChannelPatterns[channel]; }
  /** The band's picture, drawn in two halves where a helper thread is available. */
  TraceRaster& GetRaster() { return mRaster; }

private:
  using Display = SignalDisplay<NChannels>;

  void DrawPicture(GraphicsContext& g, int32_t mode);
  void DrawOutlines(GraphicsContext& g, int channel);
  bool ColumnsChangedSinceDrawn() const;
  void UpdateWrap();

  ScopeColumns mColumns;
  OverMarks mOverMarks;
  std::vector<IPattern> mChannelPatterns;
  std::atomic<double> mGain{1.0};
  ETraceDrawing mTraceDrawing = ETraceDrawing::Band;
  // One channel's columns in the picture's coordinates, and the picture; sized once.
  std::vector<float> mColumnX, mColumnTop, mColumnBottom;
  TraceRaster mRaster;
  // The columns of the last frame drawn after IsDirty brought them up to date.
  std::vector<ColumnRange> mDrawnColumns[2];
  bool mDrawnOnce = false;
  // IsDirty updated the columns since the last Draw, which must then not update them again.
  bool mColumnsFresh = false;
  bool mPictureChanging = false;
  std::function<ColumnWrap()> mWrapSource;
  ColumnWrap mWrap, mDrawnWrap;
};

extern template class Oscilloscope<2>;

} // namespace qm::control
