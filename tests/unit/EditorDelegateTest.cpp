// The graphics editor delegate against a recording graphics context whose
// "window" opens the way a platform window does: it lays the editor out and
// then tells the delegate that the editor is up.

#include "tests/unit/RecordingGraphics.h"
#include "tests/unit/TestPlugins.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kit;
using namespace kit::gfx;
using trazelle_test::TestConfig;
using trazelle_test::TestPluginAPI;

namespace
{

class WindowGraphics : public test::RecordingGraphics
{
public:
  WindowGraphics(GraphicsEditorDelegate& dlg, int* liveCount)
      : RecordingGraphics(kDefaultWidth, kDefaultHeight, 1.f, &dlg), mDelegate(dlg),
        mLiveCount(liveCount)
  {
    ++*mLiveCount;
  }
  ~WindowGraphics() override { --*mLiveCount; }

  void* OpenWindow(void*) override
  {
    if (mOpen) return this;
    mDelegate.LayoutUI(this);
    mOpen = true;
    mDelegate.OnUIOpen();
    return this;
  }
  void CloseWindow() override { mOpen = false; }
  void* GetWindow() override { return mOpen ? this : nullptr; }
  void GetMouseLocation(float& x, float& y) const override
  {
    x = 15.f;
    y = 15.f;
  }

private:
  GraphicsEditorDelegate& mDelegate;
  int* mLiveCount;
  bool mOpen = false;
};

class ProbeControl : public IControl
{
public:
  explicit ProbeControl(const IRECT& bounds) : IControl(bounds) {}
  void Draw(GraphicsContext&) override {}
  void OnMsgFromDelegate(int msgTag, int dataSize, const void*) override
  {
    messages.push_back({msgTag, dataSize});
  }
  void OnMidi(const IMidiMsg& msg) override { midi.push_back(msg.status); }
  bool OnKeyDown(float x, float y, const IKeyPress& key) override
  {
    keys.push_back(key.VK);
    keyX = x;
    keyY = y;
    return true;
  }

  std::vector<std::pair<int, int>> messages;
  std::vector<int> midi;
  std::vector<int> keys;
  float keyX = -1.f;
  float keyY = -1.f;
};

class EditorPlug : public TestPluginAPI
{
public:
  explicit EditorPlug(const Config& config = TestConfig(1, 1)) : TestPluginAPI(config)
  {
    if (NParams() > 0) GetParam(0)->InitDouble("level", 0.0, -20.0, 20.0, 0.1);
    SetGraphicsFactory([this] { return std::make_unique<WindowGraphics>(*this, &liveGraphics); });
    SetLayoutFunction(
        [this](GraphicsContext* g)
        {
          ++layouts;
          probe =
              static_cast<ProbeControl*>(g->AttachControl(new ProbeControl({10, 10, 50, 50}), 7));
          bound =
              static_cast<ProbeControl*>(g->AttachControl(new ProbeControl({60, 10, 90, 50}), 8));
          bound->SetParamIdx(0);
          bound->SetWantsMidi(true);
        });
  }

  void OnUIClose() override
  {
    TestPluginAPI::OnUIClose();
    if (closeAgainFromHook) CloseWindow(); // re-entrant close: must do nothing
  }

  int liveGraphics = 0;
  int layouts = 0;
  bool closeAgainFromHook = false;
  ProbeControl* probe = nullptr;
  ProbeControl* bound = nullptr;
};

} // namespace

TEST(EditorDelegate, OpenCreatesLaysOutAndAnnounces)
{
  EditorPlug plug;
  EXPECT_NE(plug.OpenWindow(nullptr), nullptr);
  ASSERT_NE(plug.GetUI(), nullptr);
  EXPECT_EQ(plug.layouts, 1);
  EXPECT_EQ(plug.log.uiOpens, 1);
  EXPECT_EQ(plug.GetUI()->NControls(), 2);
  // A second open keeps the context.
  plug.OpenWindow(nullptr);
  EXPECT_EQ(plug.liveGraphics, 1);
}

TEST(EditorDelegate, CloseRemembersSizeAndScaleAndDestroysTheContext)
{
  EditorPlug plug;
  plug.OpenWindow(nullptr);
  plug.GetUI()->Resize(600, 400, 1.5f, false);
  plug.CloseWindow();
  EXPECT_EQ(plug.GetUI(), nullptr);
  EXPECT_EQ(plug.liveGraphics, 0);
  EXPECT_EQ(plug.GetRememberedWidth(), 600);
  EXPECT_EQ(plug.GetRememberedHeight(), 400);
  EXPECT_FLOAT_EQ(plug.GetRememberedScale(), 1.5f);

  plug.OpenWindow(nullptr);
  ASSERT_NE(plug.GetUI(), nullptr);
  EXPECT_EQ(plug.GetUI()->Width(), 600);
  EXPECT_EQ(plug.GetUI()->Height(), 400);
  EXPECT_FLOAT_EQ(plug.GetUI()->GetDrawScale(), 1.5f);
  EXPECT_EQ(plug.layouts, 2); // rebuilt from scratch
}

TEST(EditorDelegate, ASecondCloseDuringACloseDoesNothing)
{
  EditorPlug plug;
  plug.OpenWindow(nullptr);
  plug.closeAgainFromHook = true;
  plug.CloseWindow();
  EXPECT_EQ(plug.log.uiCloses, 1);
  EXPECT_EQ(plug.liveGraphics, 0);
  EXPECT_FALSE(plug.IsClosing());
}

TEST(EditorDelegate, WithoutAFactoryThereIsNoEditor)
{
  TestPluginAPI plug;
  EXPECT_EQ(plug.OpenWindow(nullptr), nullptr);
  EXPECT_EQ(plug.GetUI(), nullptr);
  plug.CloseWindow();
  EXPECT_EQ(plug.log.uiCloses, 1);
  EXPECT_EQ(plug.GetRememberedWidth(), 0);
}

TEST(EditorDelegate, ParameterValueWithTheEditorClosedStillReachesTheHook)
{
  EditorPlug plug;
  plug.SendParameterValueFromDelegate(0, 5.0, false);
  ASSERT_EQ(plug.log.paramChangesUI.size(), 1u);
  EXPECT_EQ(plug.log.paramChangesUI[0].source, kDelegate);
}

TEST(EditorDelegate, ParameterValueReachesBoundControlsNormalised)
{
  EditorPlug plug;
  plug.OpenWindow(nullptr);
  plug.SendParameterValueFromDelegate(0, 10.0, false); // range -20..20
  EXPECT_DOUBLE_EQ(plug.bound->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(plug.probe->GetValue(), 0.0); // not bound
  plug.SendParameterValueFromDelegate(0, 0.25, true);
  EXPECT_DOUBLE_EQ(plug.bound->GetValue(), 0.25);
}

TEST(EditorDelegate, ControlValuesAndMessagesGoByTag)
{
  EditorPlug plug;
  plug.SendControlValueFromDelegate(7, 0.5); // closed: nothing to reach
  plug.OpenWindow(nullptr);
  plug.SendControlValueFromDelegate(7, 0.4);
  EXPECT_DOUBLE_EQ(plug.probe->GetValue(), 0.4);
  plug.SendControlValueFromDelegate(99, 0.9); // no such tag
  plug.SendControlMsgFromDelegate(7, 3, 12, nullptr);
  ASSERT_EQ(plug.probe->messages.size(), 1u);
  EXPECT_EQ(plug.probe->messages[0], std::make_pair(3, 12));
  EXPECT_TRUE(plug.bound->messages.empty());
}

TEST(EditorDelegate, MidiGoesToControlsThatWantItThenToTheHook)
{
  EditorPlug plug;
  plug.OpenWindow(nullptr);
  plug.SendMidiMsgFromDelegate({0, 0x90, 1, 2});
  EXPECT_EQ(plug.bound->midi, (std::vector<int>{0x90}));
  EXPECT_TRUE(plug.probe->midi.empty());
  EXPECT_EQ(plug.log.midiUI.size(), 1u);
}

TEST(EditorDelegate, KeysGoToTheControlUnderThePointer)
{
  EditorPlug plug;
  const IKeyPress key("a", 65);
  EXPECT_FALSE(plug.OnKeyDown(key)); // closed
  plug.OpenWindow(nullptr);
  EXPECT_TRUE(plug.OnKeyDown(key));
  EXPECT_EQ(plug.probe->keys, (std::vector<int>{65}));
  EXPECT_FLOAT_EQ(plug.probe->keyX, 15.f);
  EXPECT_FALSE(plug.OnKeyUp(key));
}

TEST(EditorDelegate, EditorStateIsSizeAndScale)
{
  EditorPlug plug;
  plug.OpenWindow(nullptr);
  plug.GetUI()->Resize(700, 300, 0.75f, false);
  IByteChunk chunk;
  ASSERT_TRUE(plug.SerializeEditorState(chunk));
  ASSERT_EQ(chunk.Size(), 12);
  plug.CloseWindow();

  EditorPlug other;
  EXPECT_EQ(other.UnserializeEditorState(chunk, 0), 12);
  EXPECT_EQ(other.GetRememberedWidth(), 700); // closed: remembered for the next open
  other.OpenWindow(nullptr);
  EXPECT_EQ(other.GetUI()->Width(), 700);
  EXPECT_FLOAT_EQ(other.GetUI()->GetDrawScale(), 0.75f);

  // With the editor open the context is resized at once.
  IByteChunk bigger;
  bigger.Put(std::int32_t{800});
  bigger.Put(std::int32_t{450});
  bigger.Put(1.f);
  EXPECT_EQ(other.UnserializeEditorState(bigger, 0), 12);
  EXPECT_EQ(other.GetUI()->Width(), 800);
}

TEST(EditorDelegate, ShortEditorStateFailsAndZeroSizeIsIgnored)
{
  EditorPlug plug;
  IByteChunk chunk;
  chunk.Put(std::int32_t{500});
  EXPECT_EQ(plug.UnserializeEditorState(chunk, 0), -1);
  EXPECT_EQ(plug.GetRememberedWidth(), 500);
  EXPECT_EQ(plug.GetRememberedHeight(), 0); // read past the end gives 0
  plug.OpenWindow(nullptr);
  EXPECT_EQ(plug.GetUI()->Width(), GraphicsContext::kDefaultWidth); // not all non-zero: not applied
}

TEST(EditorDelegate, ScreenScaleIsRoundedForTheContext)
{
  EditorPlug plug;
  plug.SetScreenScale(2.0f); // closed: nothing to tell
  plug.OpenWindow(nullptr);
  plug.SetScreenScale(1.6f);
  EXPECT_EQ(plug.GetUI()->GetScreenScale(), 2);
}

TEST(EditorDelegate, SizeLimitsApplyToTheContext)
{
  EditorPlug plug; // limits 200..800 x 150..600
  plug.OpenWindow(nullptr);
  plug.GetUI()->Resize(5000, 10, 1.f, false);
  EXPECT_EQ(plug.GetUI()->Width(), 800);
  EXPECT_EQ(plug.GetUI()->Height(), 150);
}
