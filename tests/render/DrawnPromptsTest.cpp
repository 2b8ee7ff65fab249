// The drawn pop-up menu and text entry (the Linux window's prompts), hosted by
// a headless context that routes its prompts to them as the X11 window does.

#include "RenderFixture.h"

#include "graphics/DrawnPopupMenu.h"
#include "graphics/DrawnTextEntry.h"
#include "graphics/DrawnTooltip.h"
#include "graphics/IPopupMenu.h"
#include "graphics/VirtualKeys.h"

#include <memory>
#include <string>
#include <vector>

namespace trazelle::test
{
namespace
{

const IColor kPaper(255, 30, 60, 90);
const IColor kTint(255, 179, 228, 246);
const IColor kShade(255, 11, 85, 139);

class DrawnPromptGraphics : public GraphicsHeadless
{
public:
  using GraphicsHeadless::GraphicsHeadless;

  void AttachPrompts()
  {
    menu = new DrawnPopupMenu();
    entry = new DrawnTextEntry();
    AttachPopupMenuControl(menu);
    AttachTextEntryControl(entry);
  }
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& m, const IRECT& bounds, bool& isAsync) override
  {
    isAsync = true;
    menu->Open(m, bounds, GetControlInPopupMenu()->GetText());
    return nullptr;
  }
  void CreatePlatformTextEntry(int, const IText& text, const IRECT& bounds, int length,
                               const char* str) override
  {
    entry->Open(text, bounds, paramType, length, str);
  }

  DrawnPopupMenu* menu = nullptr;
  DrawnTextEntry* entry = nullptr;
  int paramType = kTextEntryNoParam;
};

// Fills the editor; records what its prompts answer.
class Requester : public IControl
{
public:
  Requester(const IRECT& r) : IControl(r)
  {
    IText style(15.f, IColor(255, 38, 50, 56));
    style.mTextEntryBGColor = kTint;
    style.mTextEntryFGColor = kShade;
    SetText(style);
  }
  void Draw(GraphicsContext& g) override { g.FillRect(kPaper, GetRECT()); }
  void OnPopupMenuSelection(IPopupMenu* pMenu, int) override
  {
    answers.push_back(pMenu
                          ? pMenu->GetRootTitle() + ":" + std::to_string(pMenu->GetChosenItemIdx())
                          : "dismissed");
  }
  void OnTextEntryCompletion(const char* str, int) override { answers.push_back(str); }
  std::vector<std::string> answers;
};

class DrawnPrompts : public RenderTest
{
public:
  void SetUp() override
  {
    mPrompts = std::make_unique<DrawnPromptGraphics>(nullptr, 300, 240);
    ASSERT_NE(mPrompts->OpenWindow(nullptr), nullptr) << mPrompts->GetError();
    ASSERT_TRUE(mPrompts->LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
    mPrompts->AttachPrompts();
    requester =
        static_cast<Requester*>(mPrompts->AttachControl(new Requester(IRECT(0, 0, 300, 240))));
    mPrompts->Tick();

    sub.AddItem("x");
    sub.AddItem("y");
    menu.AddItem("zero");
    menu.AddItem("one", false); // disabled
    menu.AddSeparator();
    menu.AddItem("three");
    auto nested = std::make_unique<IPopupMenu>("nested");
    nested->AddItem("x");
    nested->AddItem("y");
    menu.AddSubMenu("four", std::move(nested));
  }

  DrawnPromptGraphics& P() { return *mPrompts; }
  // The display tick as the X11 window runs it: the entry's pending answer first.
  void Tick()
  {
    P().entry->ProcessRequest();
    P().Tick();
  }
  IColor Pixel(int x, int y) { return P().ReadPixel(x, y); }
  void Key(int vk, const char* text = "", bool shift = false, bool ctrl = false)
  {
    P().OnKeyDown(0.f, 0.f, IKeyPress(text, vk, shift, ctrl));
  }
  void Press(float x, float y)
  {
    P().OnMouseDown({IMouseInfo{x, y, 0.f, 0.f, IMouseMod(true)}});
    P().OnMouseUp({IMouseInfo{x, y, 0.f, 0.f, IMouseMod()}});
  }
  IRECT Row(int item) { return P().menu->GetItemRect(P().menu->NLevels() - 1, item); }

  std::unique_ptr<DrawnPromptGraphics> mPrompts;
  Requester* requester = nullptr;
  IPopupMenu menu{"top"};
  IPopupMenu sub{"sub"};
};

TEST_F(DrawnPrompts, MenuHangsBelowItsAnchorOrAboveWhenThereIsNoRoom)
{
  struct Case
  {
    float anchorY;
    bool above;
  } cases[] = {{20.f, false}, {100.f, false}, {200.f, true}, {235.f, true}};
  for (const Case& c : cases)
  {
    P().CreatePopupMenu(*requester, menu, IRECT(40.f, c.anchorY, 40.f, c.anchorY));
    const IRECT r = P().menu->GetLevelRect(0);
    EXPECT_EQ(c.above ? r.B : r.T, c.anchorY) << c.anchorY;
    EXPECT_TRUE(r.T >= 0.f && r.B <= 240.f) << c.anchorY;
    Key(vk::kEscape);
    EXPECT_FALSE(P().menu->IsOpen());
  }
  EXPECT_EQ(requester->answers, std::vector<std::string>(4, "dismissed"));
}

TEST_F(DrawnPrompts, HoverHighlightsInTheRequestersTintAndClosingRestoresTheEditor)
{
  P().CreatePopupMenu(*requester, menu, IRECT(40.f, 20.f, 40.f, 20.f));
  const IRECT row = Row(3);
  P().OnMouseOver(row.MW(), row.MH(), IMouseMod());
  Tick();
  EXPECT_EQ(P().menu->GetHighlighted(0), 3);
  EXPECT_TRUE(Near(Pixel(int(row.L) + 3, int(row.MH())), kTint, 8))
      << Pixel(int(row.L) + 3, int(row.MH()));
  EXPECT_TRUE(Near(Pixel(int(Row(0).R) - 3, int(Row(0).MH())), COLOR_WHITE, 8));
  // Hovering a disabled item or a separator lights nothing.
  P().OnMouseOver(Row(1).MW(), Row(1).MH(), IMouseMod());
  EXPECT_EQ(P().menu->GetHighlighted(0), -1);

  Press(290.f, 230.f); // outside: dismissed
  Tick();
  EXPECT_EQ(requester->answers, std::vector<std::string>{"dismissed"});
  EXPECT_TRUE(Near(Pixel(int(row.L) + 3, int(row.MH())), kPaper, 2)) << "menu pixels left behind";
}

TEST_F(DrawnPrompts, MenuAnswersClicksAndKeysWithTheMenuThatHoldsTheItem)
{
  // Clicks: a disabled item does nothing, an enabled one answers.
  P().CreatePopupMenu(*requester, menu, IRECT(40.f, 20.f, 40.f, 20.f));
  Press(Row(1).MW(), Row(1).MH());
  EXPECT_TRUE(P().menu->IsOpen());
  Press(Row(3).MW(), Row(3).MH());
  // Keys: Down skips the disabled item and the separator; Right opens a
  // sub-menu, Left closes it; Enter chooses.
  P().CreatePopupMenu(*requester, menu, IRECT(40.f, 20.f, 40.f, 20.f));
  Key(vk::kDown);
  Key(vk::kDown);
  EXPECT_EQ(P().menu->GetHighlighted(0), 3);
  Key(vk::kDown);
  Key(vk::kRight);
  ASSERT_EQ(P().menu->NLevels(), 2);
  EXPECT_NEAR(P().menu->GetLevelRect(1).L, P().menu->GetLevelRect(0).R, 4.f); // beside its item
  Key(vk::kLeft);
  EXPECT_EQ(P().menu->NLevels(), 1);
  Key(vk::kRight);
  Key(vk::kDown);
  Key(vk::kReturn);
  // Hovering an item with a sub-menu opens it; a click there answers.
  P().CreatePopupMenu(*requester, menu, IRECT(40.f, 20.f, 40.f, 20.f));
  P().OnMouseOver(Row(4).MW(), Row(4).MH(), IMouseMod());
  ASSERT_EQ(P().menu->NLevels(), 2);
  Press(Row(0).MW(), Row(0).MH());
  EXPECT_EQ(requester->answers, (std::vector<std::string>{"top:3", "nested:1", "nested:0"}));
  EXPECT_FALSE(P().menu->IsOpen());
}

TEST_F(DrawnPrompts, TextEntryEditsAndAnswersOnTheNextTick)
{
  const IRECT box(20.f, 20.f, 180.f, 44.f);
  struct Case
  {
    int paramType;
    std::vector<IKeyPress> keys;
    std::string answer; // empty: cancelled
  } cases[] = {
      // All selected at first: typing replaces; Backspace deletes one.
      {kTextEntryNoParam, {{"h", 'H'}, {"i", 'I'}, {"!", 0}, {"", vk::kBack}}, "hi"},
      // Numbers take digits, signs and a point only.
      {kTextEntryParamDouble, {{"a", 'A'}, {"-", 0}, {"1", '1'}, {".", 0}, {"5", '5'}}, "-1.5"},
      {kTextEntryParamInt, {{"1", '1'}, {".", 0}, {"2", '2'}}, "12"},
      // Home, Shift+Right selects one character, typing replaces it; Delete at the end does
      // nothing.
      {kTextEntryNoParam,
       {{"", vk::kHome},
        {"", vk::kRight, true},
        {"B", 'B', true},
        {"", vk::kEnd},
        {"", vk::kDelete}},
       "Bbc"},
      // Ctrl+A, Ctrl+C, End, Ctrl+V doubles the text through the clipboard.
      {kTextEntryNoParam,
       {{"", 'A', false, true}, {"", 'C', false, true}, {"", vk::kEnd}, {"", 'V', false, true}},
       "abcabc"},
      // Escape cancels whatever was typed.
      {kTextEntryNoParam, {{"z", 'Z'}, {"", vk::kEscape}}, ""},
  };
  for (const Case& c : cases)
  {
    P().paramType = c.paramType;
    requester->answers.clear();
    P().CreateTextEntry(*requester, requester->GetText(), box, "abc");
    for (const IKeyPress& key : c.keys)
      P().OnKeyDown(0.f, 0.f, key);
    if (!c.answer.empty()) Key(vk::kReturn);
    EXPECT_TRUE(requester->answers.empty()) << "answered inside the key event";
    Tick();
    EXPECT_EQ(requester->answers,
              c.answer.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.answer})
        << c.answer;
    EXPECT_FALSE(P().entry->IsOpen());
    EXPECT_EQ(P().GetControlInTextEntry(), nullptr);
  }
}

TEST_F(DrawnPrompts, TextEntryDrawsInTheRequestersColoursAndAClickOutsideCommits)
{
  const IRECT box(20.f, 20.f, 180.f, 44.f);
  P().CreateTextEntry(*requester, requester->GetText(), box, "12345", 0);
  Tick();
  EXPECT_TRUE(Near(Pixel(int(box.R) - 4, int(box.MH())), kTint, 8))
      << Pixel(int(box.R) - 4, int(box.MH()));
  EXPECT_TRUE(Near(Pixel(int(box.L), int(box.MH())), kShade, 40)) << "frame";
  // A click inside moves the caret to the nearest character boundary.
  P().OnMouseDown({IMouseInfo{box.L + 3.f, box.MH(), 0.f, 0.f, IMouseMod(true)}});
  EXPECT_EQ(P().entry->GetCaret(), 0u);
  EXPECT_EQ(P().entry->GetAnchor(), 0u);
  P().OnMouseUp({IMouseInfo{box.L + 3.f, box.MH(), 0.f, 0.f, IMouseMod()}});
  Press(250.f, 200.f);
  Tick();
  EXPECT_EQ(requester->answers, std::vector<std::string>{"12345"});
  EXPECT_TRUE(Near(Pixel(int(box.R) - 4, int(box.MH())), kPaper, 2)) << "entry pixels left behind";
}

double gNow = 0.0;

TEST_F(DrawnPrompts, TooltipShowsAfterThePointerRestsAndGoesOnPressOrLeave)
{
  auto* tip = new DrawnTooltip();
  tip->SetClock([] { return gNow; });
  P().AttachTooltipControl(tip);
  P().EnableMouseOver(true);
  requester->SetTooltip("Freeze the picture");
  // A control without a tip on the right.
  P().AttachControl(new FillControl(IRECT(250, 0, 300, 240), COLOR_BLUE));
  const auto at = [&](float x, float y, double now)
  {
    gNow = now;
    P().OnMouseOver(x, y, IMouseMod());
    Tick();
  };
  const auto wait = [&](double now)
  {
    gNow = now;
    Tick();
  };

  at(40.f, 40.f, 10.0);
  wait(10.4);
  at(41.f, 40.f, 10.4); // moving restarts the wait
  wait(10.8);
  EXPECT_FALSE(tip->IsShowing());
  wait(10.95);
  ASSERT_TRUE(tip->IsShowing());
  EXPECT_EQ(tip->GetShownText(), "Freeze the picture");
  const IRECT box = tip->GetRECT();
  EXPECT_GT(box.T, 40.f) << "below the pointer";
  EXPECT_TRUE(Near(Pixel(int(box.R) - 3, int(box.MH())), COLOR_WHITE, 8));
  EXPECT_TRUE(Near(Pixel(int(box.L), int(box.MH())), kShade, 40)) << "frame in the control's ink";

  // A press hides it, and it stays hidden over the same control however long the pointer rests.
  Press(41.f, 40.f);
  Tick();
  EXPECT_FALSE(tip->IsShowing());
  EXPECT_TRUE(Near(Pixel(int(box.R) - 3, int(box.MH())), kPaper, 2)) << "tip pixels left behind";
  at(45.f, 40.f, 20.0);
  wait(30.0);
  EXPECT_FALSE(tip->IsShowing());

  // A control without a tip shows none; back near the bottom edge the tip goes above the pointer.
  at(270.f, 100.f, 31.0);
  wait(32.0);
  EXPECT_FALSE(tip->IsShowing());
  at(40.f, 230.f, 33.0);
  wait(33.6);
  ASSERT_TRUE(tip->IsShowing());
  EXPECT_LE(tip->GetRECT().B, 230.f);

  // Leaving the window hides it.
  P().OnMouseOut();
  Tick();
  EXPECT_FALSE(tip->IsShowing());
  EXPECT_TRUE(Near(Pixel(int(tip->GetRECT().R) - 3, int(tip->GetRECT().MH())), kPaper, 2));
}

} // namespace
} // namespace trazelle::test
