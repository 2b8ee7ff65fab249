// What the editor shows after opening and after the user operates it, through
// the real editor on the headless platform.

#include "EditorTestSupport.h"

#include "controls/GridControl.h"
#include "controls/KnobControl.h"
#include "controls/Oscilloscope.h"
#include "controls/PopupControl.h"
#include "controls/SignalMeter.h"
#include "controls/SliderControl.h"
#include "editor/Themes.h"
#include "framework/IByteChunk.h"

using namespace qm;
using namespace qm::test;
using Scope = control::Oscilloscope<2>;
using Slider = control::SliderControl<1>;

namespace
{

std::string PopupText(render::EditorHarness& h, const char* label)
{
  std::string text = "<no popup>";
  h.UI()->ForControlInGroup(Trazelle::TrazelleEditor::kThemeGroup,
                            [&](kit::gfx::IControl* c)
                            {
                              if (auto* p = dynamic_cast<control::PopupControl*>(c);
                                  p && p->GetLabel() == label)
                                text = p->GetValueText();
                            });
  return text;
}

} // namespace

TEST_F(EditorTest, EachModeKeepsItsOwnDurationAndTimeGridStep)
{
  auto* grid = harness->ControlAs<control::GridControl>(Tag::kTagTimeGrid);
  auto* scope = harness->ControlAs<Scope>(Tag::kTagOscilloscope);
  ASSERT_TRUE(grid && scope);
  EXPECT_EQ(grid->GetXStep(), double(0.05f));

  harness->Click(Where::kModeX, Where::kRowY);
  EXPECT_EQ(TextOf(Tag::kTagMode), "waveform");
  EXPECT_EQ(Settings().mode, Trazelle::kWaveformMode);
  EXPECT_EQ(TextOf(Tag::kTagDuration), "0.189 s");
  EXPECT_TRUE(scope->GetColumns().GetTriggerEnabled());
  EXPECT_EQ(grid->GetXStep(), double(0.01f));
  EXPECT_NEAR(grid->GetXMax(), scope->GetDuration(), 1e-12);
  EXPECT_GT(grid->GetXMin(), 0.0);

  harness->Click(Where::kModeX, Where::kRowY);
  EXPECT_EQ(TextOf(Tag::kTagMode), "envelope");
  EXPECT_EQ(TextOf(Tag::kTagDuration), "2.000 s");
  EXPECT_FALSE(scope->GetColumns().GetTriggerEnabled());
  EXPECT_EQ(grid->GetXStep(), double(0.05f));
}

TEST_F(EditorTest, VerticalZoomEndsReadFortyAndMinusTwentyDecibelsAndSetTheLevelGrids)
{
  auto* upper = harness->ControlAs<control::GridControl>(Tag::kTagUpperLevelGrid);
  auto* lower = harness->ControlAs<control::GridControl>(Tag::kTagLowerLevelGrid);
  ASSERT_TRUE(upper && lower);
  EXPECT_NEAR(upper->GetYMax(), 1.0, 1e-9);

  harness->Wheel(Where::kZoomX, Where::kRowY, 1);
  EXPECT_EQ(TextOf(Tag::kTagZoom), "40.00 dB");
  EXPECT_EQ(Settings().gain, 1.0);
  EXPECT_NEAR(upper->GetYMax(), 0.01, 1e-12);
  EXPECT_NEAR(lower->GetYMax(), 0.01, 1e-12);
  EXPECT_NEAR(harness->ControlAs<Scope>(Tag::kTagOscilloscope)->GetGain(), 100.0, 1e-9);

  harness->Wheel(Where::kZoomX, Where::kRowY, -1);
  EXPECT_EQ(TextOf(Tag::kTagZoom), "-20.00 dB");
  EXPECT_NEAR(upper->GetYMax(), 10.0, 1e-9);
  EXPECT_EQ(upper->GetYMin(), 0.0);
}

TEST_F(EditorTest, FreezingEnablesThePositionSliderAndUnfreezingReturnsItToTheNewest)
{
  auto* slider = harness->ControlAs<Slider>(Tag::kTagPosition);
  auto* scope = harness->ControlAs<Scope>(Tag::kTagOscilloscope);
  ASSERT_TRUE(slider && scope);
  EXPECT_TRUE(slider->IsDisabled());
  harness->Click(100.f, Where::kSliderY); // disabled: ignored
  EXPECT_EQ(slider->GetValue(), 1.0);

  harness->Click(Where::kFreezeX, Where::kRowY);
  EXPECT_TRUE(Plugin().GetFreeze());
  EXPECT_TRUE(scope->GetColumns().GetFrozen());
  EXPECT_FALSE(slider->IsDisabled());

  harness->Click(100.f, Where::kSliderY); // the handle jumps to the click
  EXPECT_LT(slider->GetValue(), 0.5);
  EXPECT_LT(Plugin().Editor().GetPosition(), 0.5);
  EXPECT_EQ(scope->GetColumns().GetFrozenPosition(), slider->GetValue());

  harness->Click(Where::kFreezeX, Where::kRowY);
  EXPECT_FALSE(Plugin().GetFreeze());
  EXPECT_TRUE(slider->IsDisabled());
  EXPECT_EQ(slider->GetValue(), 1.0);
  EXPECT_EQ(Plugin().Editor().GetPosition(), 1.0);
  EXPECT_EQ(scope->GetColumns().GetFrozenPosition(), 1.0);
}

TEST_F(EditorTest, ResetAtANewRateWhileOpenRecomputesDurationsAndBallistics)
{
  auto* meter = harness->ControlAs<control::SignalMeter<2>>(Tag::kTagMeter);
  ASSERT_NE(meter, nullptr);
  harness->SetSampleRate(48000.0);
  EXPECT_EQ(TextOf(Tag::kTagDuration), "1.976 s");
  EXPECT_EQ(harness->ControlAs<Scope>(Tag::kTagOscilloscope)->GetSampleRate(), 48000.0);
  EXPECT_EQ(Plugin().OscilloscopeBuffer().Capacity(), 192000u);
  // The meter's hold lasts 750 ms at the new rate.
  PlayDemo(0.1);
  EXPECT_EQ(meter->GetBallistics().GetSampleRate(), 48000.0);
  EXPECT_EQ(meter->GetBallistics().GetHoldSamples(), 36000u);
}

TEST_F(EditorTest, StoredValuesOutsideTheTablesOpenSafely)
{
  harness->Close();
  Settings().theme = 99;
  Settings().scale = -7;
  std::string error;
  ASSERT_TRUE(harness->Open(error)) << error;
  EXPECT_EQ(harness->ControlAs<control::ControlBase>(Tag::kTagTitleBar)->GetStyle().colors,
            Trazelle::ThemeColors(3));
  EXPECT_EQ(harness->UI()->WindowWidth(), int(832 * 0.7f));
  PlayDemo(0.05);
  EXPECT_GT(Capture().width, 0);
}

TEST_F(EditorTest, StateLoadedWhileOpenRefreshesEveryControlAndMenu)
{
  Trazelle::Settings loaded;
  loaded.mode = Trazelle::kWaveformMode;
  loaded.channel = Trazelle::kRightChannel;
  loaded.theme = 2;
  loaded.scale = 1;
  kit::IByteChunk chunk;
  {
    Trazelle::Trazelle other;
    other.GetSettings() = loaded;
    ASSERT_TRUE(other.SerializeState(chunk));
  }
  ASSERT_GT(Plugin().UnserializeState(chunk, 0), 0);
  Plugin().OnRestoreState(); // what the plug-in base does after a load

  EXPECT_EQ(TextOf(Tag::kTagMode), "waveform");
  EXPECT_EQ(TextOf(Tag::kTagDuration), "0.189 s");
  EXPECT_EQ(TextOf(Tag::kTagChannel), "right");
  EXPECT_EQ(PopupText(*harness, "theme"), "green");
  EXPECT_EQ(PopupText(*harness, "scale"), "85 %");
  EXPECT_EQ(harness->ControlAs<control::ControlBase>(Tag::kTagTitleBar)->GetStyle().colors,
            Trazelle::ThemeColors(2));
  EXPECT_EQ(harness->UI()->WindowWidth(), int(832 * 0.85f));
}
