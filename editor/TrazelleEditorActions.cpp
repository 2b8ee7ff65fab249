// The action functions of the editor's controls: each writes the settings
// record and reconfigures the displays, grids and texts that depend on it.

#include "editor/TrazelleEditor.h"

#include "controls/GridControl.h"
#include "controls/KnobControl.h"
#include "controls/Oscilloscope.h"
#include "controls/SliderControl.h"
#include "controls/SwitchControl.h"
#include "editor/Themes.h"
#include "graphics/GraphicsContext.h"
#include "plugin/Trazelle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace qm::Trazelle
{

using kit::gfx::IRECT;
using Scope = control::Oscilloscope<2>;
using Slider = control::SliderControl<1>;

namespace
{

// Time-grid steps per mode, in seconds (single-precision values widened).
const double kEnvelopeGridStep = double(0.05f);
const double kWaveformGridStep = double(0.01f);

std::string Format(const char* format, double value)
{
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), format, value);
  return buffer;
}

void SetControlText(kit::gfx::IControl* control, const std::string& text)
{
  if (auto* c = dynamic_cast<control::ControlBase*>(control)) c->SetValueText(text);
}

} // namespace

void TrazelleEditor::OnModeChanged(IControl* control)
{
  const int mode = int(control->GetValue());
  mSettings->mode = EDisplayMode(mode);
  auto* knob = Find<control::KnobControl>(kTagDuration);
  auto* scope = Find<Scope>(kTagOscilloscope);
  auto* grid = Find<control::GridControl>(kTagTimeGrid);
  if (!knob || !scope || !grid) return;

  const bool envelope = mode != kWaveformMode;
  knob->SetValue(SyncActive() ? BeatsKnobValue()
                 : envelope   ? mSettings->envelope_mode_duration
                              : mSettings->waveform_mode_duration);
  scope->SetTriggerEnabled(!envelope);
  grid->SetXStep(envelope ? kEnvelopeGridStep : kWaveformGridStep);
  grid->SetDirty(false);
  SetControlText(control, envelope ? "envelope" : "waveform");
  knob->SetDirty(true);
}

void TrazelleEditor::OnDurationChanged(IControl* control)
{
  auto* scope = Find<Scope>(kTagOscilloscope);
  if (!scope) return;
  const double value = control->GetValue();
  std::string text;
  if (SyncActive())
    text = ApplyBeats(value);
  else if (mSettings->mode == kWaveformMode)
  {
    mSettings->waveform_mode_duration = value;
    scope->SetDuration(value * 0.5);
  }
  else if (mSettings->mode == kEnvelopeMode)
  {
    mSettings->envelope_mode_duration = value;
    scope->SetDuration(value * 3.5 + 0.5);
  }
  // The oscilloscope shows whole samples per column, so what it shows can
  // differ slightly from what was asked; every text follows what it shows.
  const double shown = scope->GetDuration();

  auto* grid = Find<control::GridControl>(kTagTimeGrid);
  if (grid && text.empty())
  {
    // Starting just above zero puts the first line one step after the left edge.
    grid->SetXRange(std::numeric_limits<double>::min(), shown);
    grid->SetXStep(mSettings->mode == kWaveformMode ? kWaveformGridStep : kEnvelopeGridStep);
    grid->SetLabelPrecision(2);
    grid->SetDirty(false);
  }
  SetControlText(control, text.empty() ? Format("%.3f s", shown) : text);

  if (auto* slider = Find<Slider>(kTagPosition))
  {
    // The handle shows how much of the kept history is on screen, but never
    // gets narrower than twice the track's height so it can still be grabbed.
    const double rate = scope->GetSampleRate();
    const double columns = double(scope->GetColumns().GetColumnCount());
    const double kept = std::trunc(rate * scope->GetMaxDuration() / columns) / (rate / columns);
    const double fraction = shown / kept;
    const IRECT track = slider->GetRECT();
    const double w = track.W();
    const double minimum = 2.0 * double(track.H());
    const double width = minimum > w * fraction ? minimum : std::min(w, w * fraction);
    const IRECT handle = slider->GetHandle();
    const double centre = (double(handle.L) + double(handle.R)) / 2.0;
    slider->SetHandle(
        IRECT(float(centre - width / 2.0), handle.T, float(centre + width / 2.0), handle.B));
    slider->SetDirty(false);
  }
}

void TrazelleEditor::OnZoomChanged(IControl* control)
{
  mSettings->gain = control->GetValue();
  // 0.1 to 100 over the knob's range; the default gain gives 1.
  const double zoom = std::pow(mSettings->gain, 4.3) * 99.9 + 0.1;
  if (auto* scope = Find<Scope>(kTagOscilloscope)) scope->SetGain(zoom);
  for (int tag : {kTagUpperLevelGrid, kTagLowerLevelGrid})
    if (auto* grid = Find<control::GridControl>(tag))
    {
      grid->SetYRange(0.0, 1.0 / zoom);
      grid->SetDirty(false);
    }
  SetControlText(control, Format("%.2f dB", 20.0 * std::log10(zoom)));
}

void TrazelleEditor::OnChannelChanged(IControl* control)
{
  const double value = control->GetValue();
  const int channel = int(value + value);
  mSettings->channel = EDisplayChannel(channel);
  int scopeMode = 3;
  const char* name = "stereo";
  if (channel == kLeftChannel)
  {
    scopeMode = 1;
    name = "left";
  }
  else if (channel == kRightChannel)
  {
    scopeMode = 2;
    name = "right";
  }
  SetControlText(control, name);
  if (auto* scope = Find<Scope>(kTagOscilloscope)) scope->SetChannelMode(scopeMode);
}

void TrazelleEditor::OnFreezeChanged(IControl* control)
{
  const bool frozen = control->GetValue() != 0.0;
  mPlugin->SetFreeze(frozen);
  if (auto* scope = Find<Scope>(kTagOscilloscope)) scope->SetFrozen(frozen);
  if (auto* slider = Find<Slider>(kTagPosition))
  {
    slider->SetDisabled(!frozen);
    if (!frozen)
    {
      // Back to the newest frames.
      slider->SetValue(1.0);
      slider->SetDirty(true);
    }
  }
}

void TrazelleEditor::OnPositionChanged(IControl* control)
{
  mPosition = control->GetValue();
  if (auto* scope = Find<Scope>(kTagOscilloscope)) scope->SetFrozenPosition(mPosition);
}

void TrazelleEditor::OnOverMarkChosen(long long index, long long historySize)
{
  auto* scope = Find<Scope>(kTagOscilloscope);
  if (!scope || !mPlugin->GetFreeze()) return;
  // The frozen window starts `search` whole columns apart, from the first frame of position 0
  // (see the oscilloscope's columns); the step whose middle lies nearest the over wins.
  const control::ScopeColumns& columns = scope->GetColumns();
  const double stride = columns.GetSamplesPerColumn();
  const double shown = double(columns.GetColumnCount()) * stride;
  const double search = columns.GetSearchColumns();
  if (search < 1.0) return; // the whole history is on screen
  const double first =
      double(historySize) - double(columns.GetColumnCount()) * stride - search * stride;
  const double step =
      std::clamp(std::round((double(index) + 0.5 - shown / 2.0 - first) / stride), 0.0, search);
  // Half a step in, so that the oscilloscope's truncation lands on the step itself.
  SetAndTrigger(kTagPosition, step >= search ? 1.0 : (step + 0.5) / search);
}

void TrazelleEditor::OnThemeChosen(int index)
{
  mSettings->theme = ClampTheme(index);
  ApplyTheme(mSettings->theme);
}

void TrazelleEditor::OnScaleChosen(int index)
{
  mSettings->scale = ClampScale(index);
  ApplyScale(mSettings->scale);
}

} // namespace qm::Trazelle
