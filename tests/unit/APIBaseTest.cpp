#include "graphics/IPanelControl.h"
#include "tests/unit/RecordingGraphics.h"
#include "tests/unit/TestPlugins.h"

#include <gtest/gtest.h>

using namespace kit;
using namespace kit::gfx;
using kit::gfx::test::RecordingGraphics;
using trazelle_test::TestConfig;
using trazelle_test::TestPluginAPI;

namespace
{

// Drives one tick of the editor timer by hand.
class TickPlug : public TestPluginAPI
{
public:
  using TestPluginAPI::TestPluginAPI;
  void Tick() { OnTimer(); }
  void OnIdle() override { ++idles; }
  int idles = 0;
};

class ParamTickPlug : public TickPlug
{
public:
  ParamTickPlug() : TickPlug(TestConfig(2, 1))
  {
    GetParam(0)->InitDouble("a", 0.0, -10.0, 10.0, 0.5);
    GetParam(1)->InitDouble("b", 0.0, 0.0, 1.0, 0.01);
  }
};

} // namespace

TEST(APIBaseQueues, ParameterQueueHolds512AndDropsThe513th)
{
  ParamTickPlug plug;
  for (int i = 0; i < 513; ++i)
    plug.SendParameterValueFromAPI(i % 2, 0.25, true);
  plug.Tick();
  EXPECT_EQ(plug.log.paramChangesUI.size(), 512u);
  for (const auto& change : plug.log.paramChangesUI)
    EXPECT_EQ(change.source, kDelegate);
  plug.Tick();
  EXPECT_EQ(plug.log.paramChangesUI.size(), 512u); // the 513th was dropped, not delayed
  EXPECT_EQ(plug.idles, 2);
}

TEST(APIBaseQueues, ParameterValuesForAnUnknownIndexAreNotQueued)
{
  ParamTickPlug plug;
  plug.SendParameterValueFromAPI(5, 0.5, true);
  plug.SendParameterValueFromAPI(-1, 0.5, true);
  plug.Tick();
  EXPECT_TRUE(plug.log.paramChangesUI.empty());
}

TEST(APIBaseQueues, MidiToTheEditorHolds32)
{
  TickPlug plug;
  int accepted = 0;
  for (int i = 0; i < 40; ++i)
    accepted += plug.SendMidiMsgToEditor({i, 0x90, 60, static_cast<std::uint8_t>(i)}) ? 1 : 0;
  EXPECT_EQ(accepted, 32);
  plug.Tick();
  ASSERT_EQ(plug.log.midiUI.size(), 32u);
  EXPECT_EQ(plug.log.midiUI.front().offset, 0);
  EXPECT_EQ(plug.log.midiUI.back().offset, 31);
}

TEST(APIBaseQueues, SysExToTheEditorHolds4)
{
  TickPlug plug;
  const std::uint8_t bytes[3] = {0xF0, 0x01, 0xF7};
  int accepted = 0;
  for (int i = 0; i < 6; ++i)
    accepted += plug.SendSysExToEditor({i, bytes, 3}) ? 1 : 0;
  EXPECT_EQ(accepted, 4);
  plug.Tick();
  EXPECT_EQ(plug.log.sysexSizesUI, (std::vector<int>{3, 3, 3, 3}));
}

TEST(APIBaseQueues, QueuesFromTheEditorHold32And4)
{
  TestPluginAPI plug;
  for (int i = 0; i < 40; ++i)
    plug.SendMidiMsgFromUI({i, 0x80, 1, 2});
  for (int i = 0; i < 9; ++i)
    plug.SendSysexMsgFromUI({i, nullptr, 100});
  EXPECT_EQ(plug.mMidiMsgsFromEditor.ElementsAvailable(), 32u);
  EXPECT_EQ(plug.mSysExFromEditor.ElementsAvailable(), 4u);
  SysExData entry;
  ASSERT_TRUE(plug.mSysExFromEditor.Pop(entry));
  EXPECT_EQ(entry.mSize, 100); // no data given: zero-filled copy
  EXPECT_EQ(entry.mData[99], 0);
}

TEST(APIBaseQueues, WithoutAnEditorTheTimerOnlyIdles)
{
  Config config = TestConfig(1, 1);
  config.plugHasUI = false;
  TickPlug plug(config);
  plug.SendParameterValueFromAPI(0, 0.5, true);
  plug.SendMidiMsgToEditor({});
  plug.Tick();
  EXPECT_TRUE(plug.log.paramChangesUI.empty());
  EXPECT_TRUE(plug.log.midiUI.empty());
  EXPECT_EQ(plug.idles, 1);
}

// Linux hosts drive the editor timer from their idle calls (Poll). Intervals
// of an hour and of zero make the outcome independent of the machine's speed.
TEST(APIBaseTimer, PolledTimerTicksOnceItsIntervalHasPassedAndNotAfterStop)
{
  int early = 0, ticks = 0;
  auto hour = Timer::Create([&early](Timer&) { ++early; }, 3600u * 1000u);
  auto timer = Timer::Create([&ticks](Timer&) { ++ticks; }, 0);
  hour->Poll();
  timer->Poll();
  timer->Poll();
  EXPECT_EQ(early, 0);
  EXPECT_EQ(ticks, 2);
  timer->Stop();
  timer->Poll();
  EXPECT_EQ(ticks, 2);
  // A tick comes from the host's idle call: what it throws stays with us.
  auto thrower = Timer::Create([](Timer&) { throw 1; }, 0);
  EXPECT_NO_THROW(thrower->Poll());
}

TEST(APIBaseTimer, ATimerMayStopAnotherFromItsTick)
{
  // The registry lock is held during a tick; stopping a timer from inside one
  // must not deadlock.
  std::unique_ptr<Timer> other = Timer::Create([](Timer&) {}, 20);
  int ticks = 0;
  auto timer = Timer::Create(
      [&](Timer&)
      {
        ++ticks;
        other.reset();
      },
      0);
  timer->Poll();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(other, nullptr);
}

TEST(APIBaseParams, ValueFromTheUIGoesToTheHostAndTheHooks)
{
  ParamTickPlug plug;
  plug.SendParameterValueFromUI(0, 0.75);
  EXPECT_EQ(plug.GetParam(0)->Value(), 5.0);
  EXPECT_EQ(plug.log.paramChanges, (std::vector<int>{0}));
  ASSERT_EQ(plug.log.paramChangesUI.size(), 1u);
  EXPECT_EQ(plug.log.paramChangesUI[0].source, kUI);
}

TEST(APIBaseParams, HostValuesReachTheEditorAsRealValues)
{
  // Queued as real values, then normalised again on the way to the controls.
  ParamTickPlug plug;
  plug.SetGraphicsFactory([] { return std::make_unique<RecordingGraphics>(); });
  plug.OpenWindow(nullptr);
  ASSERT_NE(plug.GetUI(), nullptr);
  IControl* control =
      plug.GetUI()->AttachControl(new IPanelControl(IRECT(0, 0, 10, 10), IPattern(IColor())));
  control->SetParamIdx(0);
  plug.SendParameterValueFromAPI(0, 0.25, true); // -5
  plug.Tick();
  EXPECT_DOUBLE_EQ(control->GetValue(), 0.25);
  ASSERT_EQ(plug.log.paramChangesUI.size(), 1u);
  EXPECT_EQ(plug.log.paramChangesUI[0].idx, 0);
  plug.CloseWindow();
}

TEST(APIBaseParams, AllParamsChangedVisitsEachWithItsSource)
{
  ParamTickPlug plug;
  plug.OnAllParamsChanged(kReset);
  EXPECT_EQ(plug.log.paramChanges, (std::vector<int>{0, 1}));
  ASSERT_EQ(plug.log.paramChangesUI.size(), 2u);
  EXPECT_EQ(plug.log.paramChangesUI[1].source, kReset);
}

TEST(APIBaseHost, SetHostIdentifiesByName)
{
  TestPluginAPI plug;
  plug.SetHost("WaveLab Elements 10", (10 << 16) | (2 << 8) | 3);
  EXPECT_EQ(plug.GetHost(), kHostWaveLabElements);
  EXPECT_EQ(plug.GetHostVersion(), 0x000A0203);
}

TEST(ParamSource, NamesAsTheTraceWritesThem)
{
  EXPECT_STREQ(ParamSourceName(kReset), "Reset");
  EXPECT_STREQ(ParamSourceName(kHost), "Host");
  EXPECT_STREQ(ParamSourceName(kPresetRecall), "Preset");
  EXPECT_STREQ(ParamSourceName(kUI), "UI");
  EXPECT_STREQ(ParamSourceName(kDelegate), "Editor Delegate");
  EXPECT_STREQ(ParamSourceName(kRecompile), "Recompile");
  EXPECT_STREQ(ParamSourceName(kUnknown), "Unknown");
  EXPECT_STREQ(ParamSourceName(42), "Unknown");
}
