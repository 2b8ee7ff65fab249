// Controls bound to plug-in parameters: what reaches the delegate (values and gestures) and how
// right-click prompts, menus and text entry turn into parameter values. The plug-in itself binds
// nothing, but the framework's routing must hold for any plug-in that does.

#include "tests/unit/RecordingGraphics.h"
#include "tests/unit/TestPlugins.h"

#include "framework/IParam.h"

#include <gtest/gtest.h>

using namespace kit;
using namespace kit::gfx;
using trazelle_test::TestConfig;
using trazelle_test::TestPluginAPI;

namespace
{

enum
{
  kGain = 0, // double, -20 .. 20 dB, default 0
  kMode = 1, // enum "off", "slow", "fast", default "slow"
};

class ParamPlug : public TestPluginAPI
{
public:
  ParamPlug() : TestPluginAPI(TestConfig(2))
  {
    GetParam(kGain)->InitDouble("gain", 0.0, -20.0, 20.0, 0.1, "dB");
    GetParam(kMode)->InitEnum("mode", 1, {"off", "slow", "fast"});
  }

  void BeginInformHostOfParamChangeFromUI(int idx) override { gestures.push_back(idx + 1); }
  void EndInformHostOfParamChangeFromUI(int idx) override { gestures.push_back(-(idx + 1)); }
  void SendParameterValueFromUI(int idx, double value) override
  {
    fromUI.push_back({idx, value});
    TestPluginAPI::SendParameterValueFromUI(idx, value);
  }

  std::vector<int> gestures; // +(idx + 1) begin, -(idx + 1) end
  std::vector<std::pair<int, double>> fromUI;
};

class Knob : public IControl
{
public:
  Knob(const IRECT& r, int paramIdx, IActionFunction action = nullptr) : IControl(r, action)
  {
    SetParamIdx(paramIdx);
    DisablePrompt(false);
  }
  void Draw(GraphicsContext&) override {}
  void OnContextSelection(int item) override { contextChoice = item; }
  void CreateContextMenu(IPopupMenu& menu) override
  {
    if (withContextMenu) menu.AddItem("Reset");
  }
  bool withContextMenu = false;
  int contextChoice = -5;
};

struct Fixture
{
  ParamPlug plug;
  test::RecordingGraphics g{832, 464, 1.f, &plug};
};

IMouseInfoList Click(float x, float y, bool right = false)
{
  return {IMouseInfo{x, y, 0.f, 0.f, IMouseMod(!right, right)}};
}

} // namespace

TEST(BoundParameter, UserChangeReachesTheDelegateAndOtherControlsOnTheSameParameter)
{
  Fixture f;
  int actions = 0;
  auto* knob = f.g.AttachControl(new Knob({0, 0, 50, 50}, kGain, [&](IControl*) { ++actions; }));
  auto* mirror = new Knob({60, 0, 110, 50}, kNoParameter);
  mirror->AddValueSlot(kGain); // bound in its second slot
  f.g.AttachControl(mirror);
  auto* unrelated = f.g.AttachControl(new Knob({120, 0, 170, 50}, kMode));

  knob->SetValue(1.4);
  knob->SetDirty(true);
  ASSERT_EQ(f.plug.fromUI.size(), 1u);
  EXPECT_EQ(f.plug.fromUI[0].first, kGain);
  EXPECT_DOUBLE_EQ(f.plug.fromUI[0].second, 1.0); // clamped before anyone hears of it
  EXPECT_DOUBLE_EQ(f.plug.GetParam(kGain)->Value(), 20.0);
  EXPECT_DOUBLE_EQ(mirror->GetValue(1), 1.0);
  EXPECT_DOUBLE_EQ(mirror->GetValue(0), 0.0);
  EXPECT_DOUBLE_EQ(unrelated->GetValue(), 0.0);
  EXPECT_EQ(actions, 1);

  knob->SetValue(0.2);
  knob->SetDirty(false); // no trigger: nobody is told
  EXPECT_EQ(f.plug.fromUI.size(), 1u);
}

TEST(BoundParameter, ClickBracketsTheGestureForEveryBoundSlot)
{
  Fixture f;
  auto* knob = new Knob({0, 0, 50, 50}, kGain);
  knob->AddValueSlot(kMode);
  f.g.AttachControl(knob);
  f.g.OnMouseDown(Click(10, 10));
  EXPECT_EQ(f.plug.gestures, (std::vector<int>{1, 2}));
  f.g.OnMouseUp(Click(10, 10));
  EXPECT_EQ(f.plug.gestures, (std::vector<int>{1, 2, -1, -2}));
}

TEST(BoundParameter, DoubleClickRestoresTheNormalisedDefault)
{
  Fixture f;
  auto* knob = f.g.AttachControl(new Knob({0, 0, 50, 50}, kGain));
  knob->SetValue(0.9);
  f.g.OnMouseDblClick(10, 10, IMouseMod(true));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5); // 0 dB in -20 .. 20
}

TEST(BoundParameter, RightClickOnANumberPromptsATextEntryInASmallCentredBox)
{
  Fixture f;
  auto* knob = f.g.AttachControl(new Knob({0, 0, 100, 60}, kGain));
  knob->SetPromptShowsParamLabel(true);
  f.g.OnMouseDown(Click(10, 10, true));
  EXPECT_EQ(f.g.lastTextEntry, "0.0 dB");
  EXPECT_EQ(f.g.lastTextEntryBounds, IRECT(30, 22, 70, 38));
  EXPECT_EQ(f.g.GetControlInTextEntry(), knob);

  f.g.SetControlValueAfterTextEdit("10");
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75);
  EXPECT_EQ(f.g.GetControlInTextEntry(), nullptr);
  ASSERT_FALSE(f.plug.fromUI.empty());
  EXPECT_DOUBLE_EQ(f.plug.fromUI.back().second, 0.75);
}

TEST(BoundParameter, RightClickOnAnEnumerationShowsItsTextsWithTheCurrentOneChecked)
{
  Fixture f;
  auto* knob = f.g.AttachControl(new Knob({0, 0, 100, 60}, kMode));
  f.plug.GetParam(kMode)->Set(1.0);
  f.g.popupChoice = 2;
  f.g.OnMouseDown(Click(10, 10, true));
  ASSERT_NE(f.g.lastMenu, nullptr);
  ASSERT_EQ(f.g.lastMenu->NItems(), 3);
  EXPECT_STREQ(f.g.lastMenu->GetItemText(0), "off");
  EXPECT_TRUE(f.g.lastMenu->IsItemChecked(1));
  EXPECT_FALSE(f.g.lastMenu->IsItemChecked(2));
  EXPECT_EQ(f.g.lastMenuBounds, knob->GetRECT()); // menus open over the whole control
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);        // "fast" = 2 of 0 .. 2
  EXPECT_EQ(f.g.GetControlInPopupMenu(), nullptr);
}

TEST(BoundParameter, DisabledPromptOrUnboundControlIgnoresTheRightClick)
{
  Fixture f;
  auto* knob = f.g.AttachControl(new Knob({0, 0, 100, 60}, kGain));
  knob->DisablePrompt(true);
  f.g.OnMouseDown(Click(10, 10, true));
  EXPECT_TRUE(f.g.lastTextEntry.empty());
  f.g.AttachControl(new Knob({200, 0, 300, 60}, kNoParameter));
  f.g.OnMouseDown(Click(210, 10, true));
  EXPECT_TRUE(f.g.lastTextEntry.empty());
  EXPECT_EQ(f.g.GetControlInTextEntry(), nullptr);
}

TEST(BoundParameter, ContextMenuTakesPrecedenceAndReportsTheChoice)
{
  Fixture f;
  auto* knob = static_cast<Knob*>(f.g.AttachControl(new Knob({0, 0, 100, 60}, kGain)));
  knob->withContextMenu = true;
  f.g.popupChoice = 0;
  f.g.OnMouseDown(Click(10, 10, true));
  EXPECT_EQ(knob->contextChoice, 0);
  EXPECT_TRUE(f.g.lastTextEntry.empty()); // no value prompt
  EXPECT_FALSE(f.g.ControlIsCaptured());

  f.g.popupChoice = -1;
  f.g.OnMouseDown(Click(10, 10, true));
  EXPECT_EQ(knob->contextChoice, -1); // dismissed
}
