#include "RecordingGraphics.h"

#include "graphics/IPanelControl.h"
#include "graphics/ITextControl.h"
#include "graphics/IURLControl.h"

#include <gtest/gtest.h>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
class PlainControl : public IControl
{
public:
  using IControl::IControl;
  void Draw(GraphicsContext&) override { ++draws; }
  void OnResize() override { ++resizes; }
  int draws = 0;
  int resizes = 0;
};
} // namespace

TEST(IControlDefaults, MatchTheDocumentedInitialState)
{
  PlainControl c(IRECT(1.f, 2.f, 3.f, 4.f));
  EXPECT_EQ(c.GetRECT(), IRECT(1.f, 2.f, 3.f, 4.f));
  EXPECT_EQ(c.GetTargetRECT(), c.GetRECT());
  EXPECT_TRUE(c.GetGroup().empty());
  EXPECT_EQ(c.GetText(), IText());
  EXPECT_EQ(c.GetBlend().mMethod, EBlend::Default);
  EXPECT_FLOAT_EQ(c.GetBlend().mWeight, 1.f);
  EXPECT_EQ(c.GetTextEntryLength(), 7);
  EXPECT_TRUE(c.IsDirty());
  EXPECT_FALSE(c.IsHidden());
  EXPECT_FALSE(c.IsDisabled());
  EXPECT_TRUE(c.GetPromptDisabled());
  EXPECT_FALSE(c.GetDblAsSingleClick());
  EXPECT_FALSE(c.GetIgnoreMouse());
  EXPECT_FALSE(c.GetMouseIsOver());
  EXPECT_EQ(c.GetHighlightColor(), COLOR_RED);
  EXPECT_EQ(c.GetDelegate(), nullptr);
  EXPECT_EQ(c.GetUI(), nullptr);
  EXPECT_EQ(c.NVals(), 1);
  EXPECT_EQ(c.GetParamIdx(0), kNoParameter);
  EXPECT_DOUBLE_EQ(c.GetValue(0), 0.0);
}

TEST(IControlValues, SetValueStoresWithoutClampingSetDirtyClamps)
{
  int actions = 0;
  double seen = -1.0;
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f),
                 [&](IControl* p)
                 {
                   ++actions;
                   seen = p->GetValue();
                 });
  c.SetValue(1.7);
  EXPECT_DOUBLE_EQ(c.GetValue(), 1.7);
  EXPECT_EQ(actions, 0);
  c.SetDirty(true);
  EXPECT_DOUBLE_EQ(c.GetValue(), 1.0);
  EXPECT_EQ(actions, 1);
  EXPECT_DOUBLE_EQ(seen, 1.0); // the action sees the clamped value

  c.SetValue(-0.3);
  c.SetDirty(false);
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.0);
  EXPECT_EQ(actions, 1);
}

TEST(IControlValues, SetDirtyClampsEverySlotOfAMultiSlotControl)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  c.AddValueSlot();
  c.SetValue(2.0, 0);
  c.SetValue(-1.0, 1);
  c.SetDirty(false);
  EXPECT_DOUBLE_EQ(c.GetValue(0), 1.0);
  EXPECT_DOUBLE_EQ(c.GetValue(1), 0.0);
}

TEST(IControlValues, TwoSlotsAddressAllFromAPosition)
{
  PlainControl one(IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_EQ(one.GetValIdxForPos(5.f, 5.f), 0);
  PlainControl two(IRECT(0.f, 0.f, 10.f, 10.f));
  two.AddValueSlot();
  EXPECT_EQ(two.GetValIdxForPos(5.f, 5.f), kNoValIdx);
}

TEST(IControlValues, DelegateValueAlreadyShownDoesNotDirty)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  c.SetClean();
  c.SetValueFromDelegate(0.0);
  EXPECT_FALSE(c.IsDirty());
  c.SetValueFromDelegate(0.25);
  EXPECT_TRUE(c.IsDirty());
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.25);
}

TEST(IControlValues, DelegateValueIsIgnoredWhileThePointerHoldsTheControl)
{
  RecordingGraphics g;
  auto* c =
      static_cast<PlainControl*>(g.AttachControl(new PlainControl(IRECT(0.f, 0.f, 10.f, 10.f))));
  g.OnMouseDown({IMouseInfo{5.f, 5.f, 0.f, 0.f, IMouseMod(true)}});
  c->SetValueFromDelegate(0.8);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  g.OnMouseUp({IMouseInfo{5.f, 5.f, 0.f, 0.f, IMouseMod(true)}});
  c->SetValueFromDelegate(0.8);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.8);
}

TEST(IControlValues, UserInputTriggersTheActionOnlyOnChange)
{
  int actions = 0;
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f), [&](IControl*) { ++actions; });
  c.SetValueFromUserInput(0.0);
  EXPECT_EQ(actions, 0);
  c.SetValueFromUserInput(0.5);
  EXPECT_EQ(actions, 1);
}

TEST(IControlValues, SnapToMouseRoundsToThousandthsAndClampsToTheRange)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  const IRECT track(0.f, 0.f, 300.f, 100.f);
  c.SnapToMouse(100.f, 0.f, EDirection::Horizontal, track);
  EXPECT_NEAR(c.GetValue(), 0.333, 1e-12);
  c.SnapToMouse(0.f, 25.f, EDirection::Vertical, track);
  EXPECT_NEAR(c.GetValue(), 0.75, 1e-12);
  c.SnapToMouse(900.f, 0.f, EDirection::Horizontal, track, kNoValIdx, 0.2, 0.6);
  EXPECT_NEAR(c.GetValue(), 0.6, 1e-12);
}

TEST(IControlGeometry, EmptyTargetIsNeverHitEvenAtTheOrigin)
{
  PlainControl c{IRECT()};
  EXPECT_FALSE(c.IsHit(0.f, 0.f));
  PlainControl d(IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_TRUE(d.IsHit(0.f, 0.f));
  EXPECT_FALSE(d.IsHit(10.f, 5.f));
  d.SetTargetRECT(IRECT(20.f, 20.f, 30.f, 30.f));
  EXPECT_FALSE(d.IsHit(5.f, 5.f)); // hits follow the target, not the drawing bounds
  EXPECT_TRUE(d.IsHit(25.f, 25.f));
}

TEST(IControlGeometry, SetPositionClampsToTheOriginAndMovesTheTargetAlong)
{
  PlainControl c(IRECT(10.f, 10.f, 30.f, 20.f));
  c.SetTargetRECT(IRECT(5.f, 5.f, 35.f, 25.f));
  c.SetMouseIsOver(true);
  c.SetPosition(-5.f, -5.f);
  EXPECT_EQ(c.GetRECT(), IRECT(0.f, 0.f, 20.f, 10.f));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(-5.f, -5.f, 25.f, 15.f));
  EXPECT_FALSE(c.GetMouseIsOver());
  EXPECT_EQ(c.resizes, 1);
}

TEST(IControlGeometry, SetSizeKeepsTheTopLeftAndResetsTheTarget)
{
  PlainControl c(IRECT(10.f, 10.f, 30.f, 20.f));
  c.SetTargetRECT(IRECT(0.f, 0.f, 50.f, 50.f));
  c.SetSize(5.f, -3.f);
  EXPECT_EQ(c.GetRECT(), IRECT(10.f, 10.f, 15.f, 10.f));
  EXPECT_EQ(c.GetTargetRECT(), c.GetRECT());
  EXPECT_EQ(c.resizes, 1);
}

TEST(IControlState, DisablingDrawsAtAQuarterWeightAndEnablingRestoresIt)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  c.SetClean();
  c.SetDisabled(true);
  EXPECT_TRUE(c.IsDisabled());
  EXPECT_FLOAT_EQ(c.GetBlend().mWeight, 0.25f);
  EXPECT_TRUE(c.IsDirty());
  c.SetDisabled(false);
  EXPECT_FLOAT_EQ(c.GetBlend().mWeight, 1.f);
}

TEST(IControlState, MouseOverDirtiesOnlyOnChange)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  c.SetClean();
  c.OnMouseOver(1.f, 1.f, IMouseMod());
  EXPECT_TRUE(c.IsDirty());
  c.SetClean();
  c.OnMouseOver(2.f, 2.f, IMouseMod());
  EXPECT_FALSE(c.IsDirty());
  c.OnMouseOut();
  EXPECT_TRUE(c.IsDirty());
  EXPECT_FALSE(c.GetMouseIsOver());
}

TEST(IControlState, AnimationKeepsTheControlDirtyUntilItEnds)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  int ended = 0;
  c.SetAnimationEndActionFunction([&](IControl*) { ++ended; });
  c.SetAnimation([](IControl*) {});
  c.SetClean();
  EXPECT_TRUE(c.IsDirty());
  c.OnEndAnimation();
  EXPECT_FALSE(static_cast<bool>(c.GetAnimationFunction()));
  EXPECT_EQ(ended, 1);
  c.SetClean();
  EXPECT_FALSE(c.IsDirty());
}

TEST(IControlState, GestureRunsItsHandlerAndIsRemembered)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  IGestureInfo info;
  info.type = EGestureType::Pinch;
  EXPECT_FALSE(c.OnGesture(info));
  int calls = 0;
  c.AttachGestureRecognizer(EGestureType::Pinch, [&](IControl*, const IGestureInfo&) { ++calls; });
  EXPECT_TRUE(c.OnGesture(info));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(c.GetLastGesture(), EGestureType::Pinch);
}

TEST(IControlState, HighlightIsASmallDotInTheTopRightCorner)
{
  RecordingGraphics g;
  PlainControl c(IRECT(10.f, 20.f, 50.f, 60.f));
  c.DrawHighlight(g);
  EXPECT_TRUE(g.commands.empty());
  c.SetHighlighted(true);
  c.DrawHighlight(g);
  const auto moves = g.Of(Op::MoveTo);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].args,
            (std::vector<float>{45.f, 23.f})); // top of a radius-2 circle at (45, 25)
}

TEST(ITextControl, EmptyStringDrawsOnlyTheBackground)
{
  RecordingGraphics g;
  auto* t = static_cast<ITextControl*>(
      g.AttachControl(new ITextControl(IRECT(0.f, 0.f, 80.f, 20.f), "", IText(), COLOR_WHITE)));
  EXPECT_TRUE(t->GetIgnoreMouse());
  t->Draw(g);
  EXPECT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Count(Op::Text), 0);
  t->SetStr("Input");
  t->Draw(g);
  EXPECT_EQ(g.Count(Op::Text), 1);
}

TEST(ITextControl, SetStrDirtiesOnlyOnChangeAndFormatTruncates)
{
  RecordingGraphics g;
  auto* t = static_cast<ITextControl*>(
      g.AttachControl(new ITextControl(IRECT(0.f, 0.f, 80.f, 20.f), "a")));
  t->SetClean();
  t->SetStr("a");
  EXPECT_FALSE(t->IsDirty());
  t->SetStrFmt(5, "%d dB", 123456);
  EXPECT_STREQ(t->GetStr(), "12345");
  EXPECT_TRUE(t->IsDirty());
  t->ClearStr();
  EXPECT_STREQ(t->GetStr(), "");
}

TEST(ITextControl, SizeToStringCentresTheMeasuredRectangle)
{
  RecordingGraphics g; // glyphs are 7 px wide at size 14
  auto* t = new ITextControl(IRECT(0.f, 0.f, 100.f, 40.f), "abcd");
  t->SetBoundsBasedOnStr(true);
  g.AttachControl(t);
  EXPECT_EQ(t->GetRECT(), IRECT(36.f, 13.f, 64.f, 27.f));
  EXPECT_EQ(t->GetTargetRECT(), t->GetRECT());
}

TEST(IURLControl, MouseOverColourWinsOverClickedWhichWinsOverNormal)
{
  RecordingGraphics g;
  const IColor normal(255, 1, 1, 1), over(255, 2, 2, 2), clicked(255, 3, 3, 3);
  auto* u = static_cast<IURLControl*>(
      g.AttachControl(new IURLControl(IRECT(0.f, 0.f, 200.f, 20.f), "site", "https://example.org/",
                                      IText(18.f, normal), COLOR_TRANSPARENT, over, clicked)));
  EXPECT_FALSE(u->GetIgnoreMouse());

  const auto textColour = [&]
  {
    g.Reset();
    u->Draw(g);
    return g.Of(Op::Text).at(0).pattern.GetStop(0).mColor;
  };
  EXPECT_EQ(textColour(), normal);
  u->OnMouseDown(5.f, 5.f, IMouseMod(true));
  EXPECT_EQ(g.openedURLs, (std::vector<std::string>{"https://example.org/"}));
  EXPECT_EQ(textColour(), clicked);
  u->OnMouseOver(5.f, 5.f, IMouseMod());
  EXPECT_EQ(g.GetMouseCursor(), ECursor::HAND);
  EXPECT_EQ(textColour(), over);
  u->OnMouseOut();
  EXPECT_EQ(g.GetMouseCursor(), ECursor::ARROW);
  EXPECT_EQ(textColour(), clicked);
}

TEST(IURLControl, CentredUnderlineSpansTheMeasuredText)
{
  RecordingGraphics g;
  auto* u = static_cast<IURLControl*>(
      g.AttachControl(new IURLControl(IRECT(0.f, 0.f, 200.f, 20.f), "abcd", "x", IText(10.f))));
  u->Draw(g);
  // Measured into an empty rectangle: 20 wide, 10 high, centred on the origin.
  const auto moves = g.Of(Op::MoveTo);
  const auto lines = g.Of(Op::LineTo);
  ASSERT_EQ(lines.size(), 4u); // background rectangle (3) + underline (1)
  EXPECT_EQ(moves.back().args, (std::vector<float>{90.f, 15.f}));
  EXPECT_EQ(lines.back().args, (std::vector<float>{110.f, 15.f}));
}

TEST(IPanelControl, FillsItsPatternAndFramesInLightGrey)
{
  RecordingGraphics g;
  IPanelControl panel(IRECT(0.f, 0.f, 832.f, 464.f), COLOR_WHITE, true);
  panel.Draw(g);
  const auto fills = g.Of(Op::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].pattern.GetStop(0).mColor, COLOR_WHITE);
  EXPECT_EQ(fills[0].fillOptions.mFillRule, EFillRule::Winding);
  EXPECT_FALSE(fills[0].hasBlend);
  const auto strokes = g.Of(Op::Stroke);
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0].pattern.GetStop(0).mColor, IColor(255, 240, 240, 240));
  EXPECT_FLOAT_EQ(strokes[0].thickness, 1.f);
}
