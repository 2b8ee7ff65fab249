#pragma once

// The plug-in's editor: builds every control of the window into a freshly
// created graphics context (Layout) and keeps the controls in step with the
// settings record (SyncControls and the controls' action functions).
//
// The object lives inside the plug-in for the plug-in's whole life and owns no
// control: the graphics context owns them and is re-created each time the host
// opens the window, so the editor finds its controls by tag. Everything here
// runs on the host's UI thread.

namespace iplug::igraphics
{
class IGraphics;
}

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
  };

  // Controls that follow the colour theme are attached in this group.
  static constexpr const char* kThemeGroup = "MyControlGroup";

  TrazelleEditor(Trazelle* plugin, Settings* settings);

  // [ui thread] Builds the whole window into `g` (832 x 464 logical pixels).
  void Layout(iplug::igraphics::IGraphics* g);
  // [ui thread] Pushes the settings record, the freeze flag and the position
  // into the open editor's controls. Does nothing while the editor is closed.
  void SyncControls();

  // Where in the frozen history the view starts (1 = newest); not saved.
  double GetPosition() const { return mPosition; }

private:
  Trazelle* mPlugin;
  Settings* mSettings;
  double mPosition = 1.0;
};

} // namespace qm::Trazelle
