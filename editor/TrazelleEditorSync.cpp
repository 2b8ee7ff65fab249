// The tempo-locked view: the sync switch, the duration knob's beats and the placing of the
// oscilloscope's columns that keeps every window of those beats in the same place while the host
// plays.

#include "editor/TrazelleEditor.h"

#include "controls/GridControl.h"
#include "controls/KnobControl.h"
#include "controls/Oscilloscope.h"
#include "controls/SwitchControl.h"
#include "graphics/GraphicsContext.h"
#include "plugin/BeatWindow.h"
#include "plugin/Trazelle.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qm::Trazelle
{

using Scope = control::Oscilloscope<2>;

namespace
{
constexpr double kKnobSteps = beats::kChoices - 1;
}

bool TrazelleEditor::SyncActive() const
{
  // The triggered view has its own anchor, the zero crossing: only the scrolling one locks.
  return mSettings->sync && mSettings->mode == kEnvelopeMode;
}

double TrazelleEditor::BeatsKnobValue() const
{
  return beats::IndexOf(mSettings->beats) / kKnobSteps;
}

double TrazelleEditor::HostTempo() const
{
  HostTime time;
  return mPlugin->Timeline().Read(time) ? beats::ClampTempo(time.tempo) : beats::kFallbackTempo;
}

void TrazelleEditor::OnSyncChanged(IControl* control)
{
  mSettings->sync = control->GetValue() > 0.5;
  if (auto* c = dynamic_cast<control::ControlBase*>(control))
    c->SetValueText(mSettings->sync ? "on" : "off");
  if (mSettings->mode != kEnvelopeMode) return;
  if (auto* knob = Find<control::KnobControl>(kTagDuration))
  {
    knob->SetValue(SyncActive() ? BeatsKnobValue() : mSettings->envelope_mode_duration);
    knob->SetDirty(true);
  }
}

std::string TrazelleEditor::ApplyBeats(double value)
{
  auto* scope = Find<Scope>(kTagOscilloscope);
  if (!scope) return {};
  mSettings->beats = beats::ForIndex(int(std::lround(std::clamp(value, 0.0, 1.0) * kKnobSteps)));
  mSyncTempo = HostTempo();
  // Longer than the history at this tempo (or too short for the columns): fitted, and the
  // read-out says so by naming what is shown.
  const double columnsSeconds = scope->GetColumns().GetColumnCount() / scope->GetSampleRate();
  mShownBeats = beats::Fit(mSettings->beats, mSyncTempo, columnsSeconds, scope->GetMaxDuration());
  scope->SetDuration(mShownBeats * 60.0 / mSyncTempo);

  if (auto* grid = Find<control::GridControl>(kTagTimeGrid))
  {
    // A line per beat, or per the shortest power-of-two division of the window that keeps the
    // labels apart.
    const double shownBeats = scope->GetDuration() * mSyncTempo / 60.0;
    const double pixelsPerBeat = double(grid->GetRECT().W()) / shownBeats;
    const double minSpacing = 3.0 * double(grid->GetStyle().valueText.mSize);
    double step = 0.25;
    while (step * pixelsPerBeat < minSpacing && step < 64.0)
      step *= 2.0;
    grid->SetXRange(std::numeric_limits<double>::min(), shownBeats);
    grid->SetXStep(step);
    grid->SetLabelPrecision(step < 1.0 ? 2 : 0);
    grid->SetDirty(false);
  }
  return beats::Text(mShownBeats);
}

control::ColumnWrap TrazelleEditor::SyncWrap()
{
  if (!SyncActive()) return {};
  HostTime time;
  const bool known = mPlugin->Timeline().Read(time);
  const double tempo = known ? beats::ClampTempo(time.tempo) : beats::kFallbackTempo;
  if (tempo != mSyncTempo)
    if (auto* knob = Find<control::KnobControl>(kTagDuration)) knob->SetDirty(true);
  auto* scope = Find<Scope>(kTagOscilloscope);
  if (!known || !scope) return {};
  const control::ScopeColumns& columns = scope->GetColumns();
  const beats::Place place =
      beats::Locate(time, mPlugin->OscilloscopeBuffer().Taken(), columns.GetSampleRate(),
                    mShownBeats, columns.GetColumnCount(), columns.GetSamplesPerColumn());
  return {place.newest, place.gap};
}

} // namespace qm::Trazelle
