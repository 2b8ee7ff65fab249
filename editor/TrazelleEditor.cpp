#include "editor/TrazelleEditor.h"

#include "controls/ButtonControl.h"
#include "controls/CustomDrawControl.h"
#include "controls/GridControl.h"
#include "controls/HidingOverlayControl.h"
#include "controls/KnobControl.h"
#include "controls/LineControl.h"
#include "controls/Oscilloscope.h"
#include "controls/PopupControl.h"
#include "controls/ScopeCursorControl.h"
#include "controls/PositionStrip.h"
#include "controls/SignalMeter.h"
#include "controls/SliderControl.h"
#include "controls/SwitchControl.h"
#include "editor/EditorDrawing.h"
#include "editor/EditorLayout.h"
#include "editor/Styles.h"
#include "editor/Themes.h"
#include "graphics/GraphicsContext.h"
#include "graphics/IPanelControl.h"
#include "graphics/ITextControl.h"
#include "graphics/IURLControl.h"
#include "plugin/BeatWindow.h"
#include "plugin/Trazelle.h"

#include <memory>

namespace qm::Trazelle
{

using namespace kit::gfx;
using control::ControlBase;
using control::HidingOverlayControl;

namespace
{

constexpr double kMaxDuration = 4.0;     // seconds of history the oscilloscope keeps
constexpr double kInitialDuration = 2.0; // until the duration knob is synchronised
constexpr float kKnobMinAngle = 225.f;   // a 270 degree sweep through the top
constexpr float kKnobMaxAngle = 495.f;
constexpr double kKnobGearing = 4.0;
constexpr float kAboutLineSpacing = 40.f;
constexpr IColor kLinkHoverColor{255, 233, 76, 0};
constexpr const char* kThemeMenuTitle = "themes";
constexpr const char* kScaleMenuTitle = "scales";

// The scope's cursor read-out: a layer over the scope and the legend, so that it takes the scope's
// pointer input and draws on top; its label keeps clear of the legend.
control::ScopeCursorControl* MakeScopeCursor(GraphicsContext& g, const IRECT& legend)
{
  auto* scope = dynamic_cast<control::Oscilloscope<2>*>(
      g.GetControlWithTag(TrazelleEditor::kTagOscilloscope));
  if (!scope) return nullptr;
  auto style = DefaultStyle();
  style.valueText = text::MeterValue();
  return new control::ScopeCursorControl(*scope, legend, style);
}

} // namespace

TrazelleEditor::TrazelleEditor(Trazelle* plugin, Settings* settings)
    : mPlugin(plugin), mSettings(settings)
{
}

IControl* TrazelleEditor::FindControl(int tag) const
{
  GraphicsContext* g = mPlugin->GetUI();
  return g ? g->GetControlWithTag(tag) : nullptr;
}

void TrazelleEditor::Layout(GraphicsContext* g)
{
  const EditorLayout l = EditorLayout::Make(float(g->Width()), float(g->Height()));

  auto* background = new IPanelControl(l.bounds, IPattern(COLOR_WHITE), false);
  background->SetIgnoreMouse(true);
  g->AttachBackground(background);

  // Results are not checked: a missing font or logo is drawn as the
  // graphics back end draws missing resources, and the editor still works.
  g->LoadFont(kFontRoboto, "Roboto-Regular.ttf");
  g->LoadFont(kFontTitle, "neuropol-x-rg.ttf");
  g->LoadFont(kFontBody, "Abel-Regular.ttf");
  g->LoadFont(kFontIcons, "forkawesome-webfont.ttf");
  const ISVG logo = g->LoadSVG("Quillmarsh_Logo_360x120.svg", "px", 72.f);
  g->EnableMouseOver(true);

  g->AttachControl(new control::CustomDrawControl(l.titleBar, DrawTitleBar, DefaultStyle()),
                   kTagTitleBar, kThemeGroup);

  auto* overlay = new HidingOverlayControl(
      l.logo, l.aboutArea, [logo](GraphicsContext& gr, const IRECT& r) { DrawLogo(gr, logo, r); },
      [logo, titleLogo = l.logo](GraphicsContext& gr, const IRECT& r)
      { DrawAboutPage(gr, r, kAboutLineSpacing, logo, titleLogo); });
  g->AttachControl(overlay);

  // Everything below the title bar hides while the about page is shown. A control the context
  // refused is already deleted: only attached ones join the list.
  auto attach = [&](IControl* c, int tag = -1, const char* group = "")
  {
    if (IControl* attached = g->AttachControl(c, tag, group)) overlay->AddToListA(attached);
  };

  const float gridLabelSize = UpperLevelGridStyle().valueText.mSize;
  auto makeLevelGrid = [&](const IRECT& r, const control::ControlStyle& style, int mirrored)
  {
    auto* grid = new control::GridControl(r, style);
    grid->SetXRange(0.0, 1.0);
    grid->SetYRange(0.0, 1.0);
    grid->SetSteps(0.001, 3.0);
    grid->SetMinSpacing(3.f * gridLabelSize, gridLabelSize);
    grid->SetLines(true, false);
    grid->SetDecibelMode(true);
    grid->SetMirrored(mirrored);
    grid->SetLabelPrecision(1);
    return grid;
  };
  attach(makeLevelGrid(l.upperHalf, UpperLevelGridStyle(), 0), kTagUpperLevelGrid);
  attach(makeLevelGrid(l.lowerHalf, LowerLevelGridStyle(), 1), kTagLowerLevelGrid);

  auto* timeGrid = new control::GridControl(l.scope, TimeGridStyle());
  timeGrid->SetXRange(0.0, 1.0);
  timeGrid->SetYRange(0.0, 1.0);
  timeGrid->SetSteps(double(0.05f), 1.0);
  timeGrid->SetMinSpacing(3.f * gridLabelSize, gridLabelSize);
  timeGrid->SetLines(false, true);
  timeGrid->SetDecibelMode(false);
  timeGrid->SetMirrored(1);
  timeGrid->SetLabelPrecision(2);
  attach(timeGrid, kTagTimeGrid);

  auto* zeroLine = new control::LineControl(l.scope.L, l.zeroLineY, l.scope.R, l.zeroLineY);
  zeroLine->SetColor(kLineColor);
  attach(zeroLine);

  attach(new control::Oscilloscope<2>(l.scope, &mPlugin->OscilloscopeBuffer(),
                                      mPlugin->GetSampleRate(), kMaxDuration, kInitialDuration,
                                      DefaultStyle()),
         kTagOscilloscope, kThemeGroup);

  attach(new control::CustomDrawControl(
             l.legend,
             [left = l.legendRows[0], right = l.legendRows[1]](ControlBase& c, GraphicsContext& gr)
             { DrawLegend(c, gr, left, right); },
             DefaultStyle()),
         -1, kThemeGroup);
  if (auto* cursor = MakeScopeCursor(*g, l.legend))
  {
    attach(cursor, -1, kThemeGroup);
    // Keys go to the control under the pointer first, then here: Escape clears the reference
    // wherever the pointer is. The context owns both the cursor and this handler.
    g->SetKeyHandlerFunc([cursor](const IKeyPress& key, bool isUp)
                         { return !isUp && cursor->HandleKey(key); });
  }

  // The line under the title bar stays visible over the about page.
  auto* titleLine =
      new control::LineControl(l.titleBar.L, l.titleBar.B, l.titleBar.R, l.titleBar.B);
  titleLine->SetColor(kLineColor);
  g->AttachControl(titleLine);

  auto* slider = new control::PositionStrip(
      l.positionSlider, [this](IControl* c) { OnPositionChanged(c); }, DefaultStyle());
  slider->SetHandle(l.positionHandle);
  attach(slider, kTagPosition, kThemeGroup);

  attach(new control::SignalMeter<2>(l.meter, &mPlugin->MeterBuffer(), mPlugin->GetSampleRate(),
                                     {"L", "R"}, MeterStyle()),
         kTagMeter, kThemeGroup);

  auto heading = [&](const IRECT& r, const char* str)
  { attach(new ITextControl(r, str, text::Heading(), COLOR_TRANSPARENT)); };
  heading(l.inputHeading, "Input");

  attach(new control::ButtonControl(
             l.freezeButton, [this](IControl* c) { OnFreezeChanged(c); }, "freeze", SwitchStyle()),
         kTagFreeze, kThemeGroup);
  attach(new control::SwitchControl(
             l.channelSwitch, 3, [this](IControl* c) { OnChannelChanged(c); }, "channel",
             SwitchStyle()),
         kTagChannel, kThemeGroup);
  attach(new control::KnobControl(
             l.zoomKnob, [this](IControl* c) { OnZoomChanged(c); }, DefaultStyle(), "v. zoom",
             kKnobMinAngle, kKnobMaxAngle, kKnobGearing),
         kTagZoom, kThemeGroup);
  attach(new control::KnobControl(
             l.durationKnob, [this](IControl* c) { OnDurationChanged(c); }, DefaultStyle(),
             "duration", kKnobMinAngle, kKnobMaxAngle, kKnobGearing),
         kTagDuration, kThemeGroup);
  attach(new control::SwitchControl(
             l.modeSwitch, 2, [this](IControl* c) { OnModeChanged(c); }, "mode", SwitchStyle()),
         kTagMode, kThemeGroup);
  attach(new control::SwitchControl(
             l.syncSwitch, 2, [this](IControl* c) { OnSyncChanged(c); }, "sync", SwitchStyle()),
         kTagSync, kThemeGroup);
  heading(l.scopeHeading, "Oscilloscope");

  auto themes = std::make_unique<IPopupMenu>(kThemeMenuTitle);
  for (int i = 0; i < kNumThemes; ++i)
    themes->AddItem(std::string(ThemeName(i)).c_str());
  attach(new control::PopupControl(
             l.themeMenu, std::move(themes), ClampTheme(mSettings->theme),
             [this](int index) { OnThemeChosen(index); }, "theme", PopupStyle()),
         -1, kThemeGroup);

  auto scales = std::make_unique<IPopupMenu>(kScaleMenuTitle);
  for (int i = 0; i < kNumScales; ++i)
    scales->AddItem(std::string(ZoomItem(i)).c_str());
  attach(new control::PopupControl(
             l.scaleMenu, std::move(scales), ClampScale(mSettings->scale),
             [this](int index) { OnScaleChosen(index); }, "scale", PopupStyle()),
         -1, kThemeGroup);
  heading(l.graphicsHeading, "Graphics");

  // The links exist for the editor's whole life but show only on the about page.
  for (const auto& [rect, label, url] : {std::tuple{l.makerLink, kMakerURL, kMakerURL},
                                         std::tuple{l.donationLink, kDonationLabel, kDonationURL}})
  {
    auto* link = new IURLControl(rect, label, url, text::About(), COLOR_TRANSPARENT,
                                 kLinkHoverColor, COLOR_BLACK);
    link->SetIgnoreMouse(false);
    if (g->AttachControl(link)) overlay->AddToListB(link);
  }
}

void TrazelleEditor::SyncControls()
{
  GraphicsContext* g = mPlugin->GetUI();
  if (!g) return;

  if (auto* knob = Find<control::KnobControl>(kTagDuration))
    knob->SetAltClickFunction(
        [this]
        {
          SetAndTrigger(kTagDuration,
                        SyncActive()
                            ? beats::IndexOf(Settings{}.beats) / double(beats::kChoices - 1)
                        : mSettings->mode != kWaveformMode ? Settings{}.envelope_mode_duration
                                                           : Settings{}.waveform_mode_duration);
        });
  if (auto* scope = Find<control::Oscilloscope<2>>(kTagOscilloscope))
    scope->SetWrapSource([this] { return SyncWrap(); });

  SetAndTrigger(kTagZoom, mSettings->gain);
  if (auto* knob = Find<control::KnobControl>(kTagZoom))
    knob->SetAltClickFunction([this] { SetAndTrigger(kTagZoom, Settings::DefaultGain()); });

  SetAndTrigger(kTagChannel, double(mSettings->channel) * 0.5);
  // Before the mode: the mode's action sets the duration knob by the sync setting.
  SetAndTrigger(kTagSync, mSettings->sync ? 1.0 : 0.0);
  SetAndTrigger(kTagMode, double(mSettings->mode));
  SetAndTrigger(kTagFreeze, mPlugin->GetFreeze() ? 1.0 : 0.0);
  SetAndTrigger(kTagPosition, mPosition);

  if (auto* meter = Find<control::SignalMeter<2>>(kTagMeter))
  {
    meter->SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
    meter->SetOvers(&mPlugin->Overs());
  }
  if (auto* strip = Find<control::PositionStrip>(kTagPosition))
  {
    auto* scope = Find<control::Oscilloscope<2>>(kTagOscilloscope);
    strip->SetMarks(scope ? &scope->GetOverMarks() : nullptr,
                    [this](int64_t index, int64_t size) { OnOverMarkChosen(index, size); });
  }

  ApplyTheme(mSettings->theme);
  ApplyScale(mSettings->scale);

  // The menus name the record's theme and scale too: a state loaded while the
  // editor is open changes them under the menus.
  g->ForControlInGroup(kThemeGroup,
                       [this](IControl* c)
                       {
                         auto* popup = dynamic_cast<control::PopupControl*>(c);
                         if (!popup) return;
                         const std::string& menu = popup->GetMenu().GetRootTitle();
                         if (menu == kThemeMenuTitle)
                           popup->SetValueText(std::string(ThemeName(mSettings->theme)));
                         else if (menu == kScaleMenuTitle)
                           popup->SetValueText(std::string(ZoomItem(mSettings->scale)));
                         popup->SetDirty(false);
                       });
}

void TrazelleEditor::SetAndTrigger(int tag, double value)
{
  if (IControl* c = Find<IControl>(tag))
  {
    c->SetValue(value);
    c->SetDirty(true);
  }
}

void TrazelleEditor::ApplyTheme(int theme)
{
  GraphicsContext* g = mPlugin->GetUI();
  if (!g) return;
  const control::ColorSet& colors = ThemeColors(theme);
  // Only ControlBase-derived controls are ever put in the theme group; anything
  // else is skipped rather than trusted.
  g->ForControlInGroup(kThemeGroup,
                       [&colors](IControl* c)
                       {
                         if (auto* themed = dynamic_cast<ControlBase*>(c))
                           themed->SetColors(colors);
                       });
}

void TrazelleEditor::ApplyScale(int scale)
{
  if (GraphicsContext* g = mPlugin->GetUI())
    g->Resize(kEditorWidth, kEditorHeight, ZoomFactor(scale));
}

} // namespace qm::Trazelle
