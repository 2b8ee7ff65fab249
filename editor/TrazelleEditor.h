#pragma once

// The plug-in's editor: builds every control of the window into a freshly
// created graphics context (Layout) and keeps the controls in step with the
// settings record (SyncControls and the controls' action functions).
//
// The object lives inside the plug-in for the plug-in's whole life and owns no
// control: the graphics context owns them and is re-created each time the host
// opens the window, so the editor finds its controls by tag. Everything here
// runs on the host's UI thread.

#include "controls/ColumnWrap.h"

#include <cstdint>
#include <string>

namespace kit::gfx
{
class IControl;
class GraphicsContext;
} // namespace kit::gfx

namespace qm::Trazelle
{

class Trazelle;
struct Settings;

class TrazelleEditor
{
public:
  // Control tags; every one is attached exactly once by Layout.
  enum ControlTag
  {
    kTagOscilloscope = 0,
    kTagMeter = 1,
    kTagDuration = 2,
    kTagZoom = 3,
    kTagChannel = 4,
    kTagUpperLevelGrid = 5,
    kTagLowerLevelGrid = 6,
    kTagTimeGrid = 7,
    kTagMode = 8,
    kTagFreeze = 9,
    kTagPosition = 10,
    kTagTitleBar = 11,
    kTagSync = 12,
  };

  // Controls that follow the colour theme are attached in this group.
  static constexpr const char* kThemeGroup = "MyControlGroup";

  TrazelleEditor(Trazelle* plugin, Settings* settings);

  // [ui thread] Builds the whole window into `g` (832 x 464 logical pixels).
  void Layout(kit::gfx::GraphicsContext* g);
  // [ui thread] Pushes the settings record, the freeze flag and the position
  // into the open editor's controls. Does nothing while the editor is closed.
  void SyncControls();

  // Where in the frozen history the view starts (1 = newest); not saved.
  double GetPosition() const { return mPosition; }

private:
  using IControl = kit::gfx::IControl;

  // Action functions: each control calls its own when its value changes or
  // when it is marked dirty with the trigger flag.
  void OnModeChanged(IControl* control);
  void OnDurationChanged(IControl* control);
  void OnZoomChanged(IControl* control);
  void OnChannelChanged(IControl* control);
  void OnFreezeChanged(IControl* control);
  void OnPositionChanged(IControl* control);
  // A double-click on an over's mark on the frozen strip: the view centres on that over.
  void OnOverMarkChosen(long long index, long long historySize);
  void OnSyncChanged(IControl* control);
  void OnThemeChosen(int index);
  void OnScaleChosen(int index);

  // The tempo-locked view (TrazelleEditorSync.cpp).
  bool SyncActive() const;
  // The duration knob's position for the stored beats.
  double BeatsKnobValue() const;
  // Sets the stored beats from the knob's `value` and the oscilloscope's duration from them at the
  // host's tempo; returns the read-out.
  std::string ApplyBeats(double value);
  // Called once per display tick: follows the host's tempo and places the picture's columns.
  control::ColumnWrap SyncWrap();
  double HostTempo() const;

  void ApplyTheme(int theme);
  void ApplyScale(int scale);
  // Sets a control's value and runs its action, as if the user had set it.
  void SetAndTrigger(int tag, double value);
  // The open editor's control with `tag`, or null while the editor is closed.
  IControl* FindControl(int tag) const;
  template <typename T>
  T* Find(int tag) const
  {
    return dynamic_cast<T*>(FindControl(tag));
  }

  Trazelle* mPlugin;
  Settings* mSettings;
  double mPosition = 1.0;
  double mSyncTempo = 0.0;  // the tempo the shown beats were applied at
  double mShownBeats = 0.0; // beats the oscilloscope shows while synced
};

} // namespace qm::Trazelle
