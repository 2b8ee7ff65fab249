// The graphics editor delegate against a recording graphics context whose
// "window" opens the way a platform window does: it lays the editor out and
// then tells the delegate that the editor is up.

#include "tests/unit/RecordingGraphics.h"
#include "tests/unit/TestPlugins.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kit;
using namespace kit::gfx;
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
};

class EditorPlug : public TestPluginAPI
{
public:
  EditorPlug()
  {
    SetGraphicsFactory([this] { return std::make_unique<WindowGraphics>(*this, &liveGraphics); });
    SetLayoutFunction(
        [this](GraphicsContext* g)
        {
          ++layouts;
          g->AttachControl(new ProbeControl({10, 10, 50, 50}), 7);
          g->AttachControl(new ProbeControl({60, 10, 90, 50}), 8);
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
