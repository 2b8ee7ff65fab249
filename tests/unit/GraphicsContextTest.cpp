// The graphics context and its controls without a back end: geometry, values, dispatch of
// pointer events, dirty areas and resources, recorded instead of drawn.

#include "RecordingGraphics.h"
#include "graphics/GraphicsStructs.h"
#include "graphics/IPattern.h"
#include "graphics/IRECTList.h"
#include "graphics/svg/SVGParser.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

using namespace kit::gfx;
using namespace kit::gfx::test;

TEST(IRECT, EmptyRectangleContainsNothingAndNeverDragsAUnionTowardsTheOrigin)
{
  const IRECT empty, a(-3.f, 2.f, 1.f, 9.f);
  EXPECT_FALSE(empty.Contains(0.f, 0.f));
  EXPECT_FALSE(IRECT(0.f, 0.f, 0.f, 1.f).Empty());
  EXPECT_EQ(a.Union(empty), a);
  EXPECT_EQ(empty.Union(a), a);
  EXPECT_TRUE(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(10.f, 0.f, 20.f, 10.f)).Empty());
  EXPECT_EQ(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(5.f, -5.f, 20.f, 7.f)),
            IRECT(5.f, 0.f, 10.f, 7.f));
}

TEST(IRECTList, OverlappingRectanglesMergeDisjointOnesStay)
{
  IRECTList list;
  list.Add(IRECT(0.f, 0.f, 10.f, 10.f));
  list.Add(IRECT(50.f, 50.f, 60.f, 60.f));
  list.Add(IRECT(5.f, 5.f, 20.f, 20.f));
  list.Add(IRECT(19.f, 19.f, 30.f, 30.f)); // overlaps only the merged first pair
  list.Optimize();
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list.Get(0), IRECT(0.f, 0.f, 30.f, 30.f));
  EXPECT_EQ(list.Get(1), IRECT(50.f, 50.f, 60.f, 60.f));
  EXPECT_EQ(list.Bounds(), IRECT(0.f, 0.f, 60.f, 60.f));
}

TEST(IText, OverlongFontNameIsTruncatedAndTerminated)
{
  const std::string longName(100, 'x');
  const IText t(18.f, COLOR_BLACK, longName.c_str());
  EXPECT_EQ(std::strlen(t.mFont), 63u);
}

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

namespace
{
// Logs every event it receives.
class ProbeControl : public IControl
{
public:
  explicit ProbeControl(const IRECT& r) : IControl(r) {}
  void Draw(GraphicsContext&) override { ++draws; }
  void OnMouseDown(float, float, const IMouseMod&) override { ++downs; }
  void OnMouseUp(float, float, const IMouseMod&) override { ++ups; }
  void OnMouseDrag(float x, float, float, float dY, const IMouseMod&) override
  {
    ++drags;
    lastX = x;
    lastDY = dY;
  }
  void OnMouseWheel(float, float, const IMouseMod&, float d) override { wheel.push_back(d); }

  int draws = 0, downs = 0, ups = 0, drags = 0;
  float lastX = 0.f, lastDY = 0.f;
  std::vector<float> wheel;
};

IMouseInfoList Pointer(float x, float y, float dX = 0.f, float dY = 0.f, bool right = false)
{
  IMouseMod mod(!right, right);
  return {IMouseInfo{x, y, dX, dY, mod}};
}

ProbeControl* Attach(RecordingGraphics& g, const IRECT& r, int tag = -1, const char* group = "")
{
  return static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(r), tag, group));
}
} // namespace

TEST(ControlList, DuplicateTagIsRefused)
{
  RecordingGraphics g;
  ProbeControl* first = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), 3);
  EXPECT_EQ(Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), 3), nullptr);
  EXPECT_EQ(g.NControls(), 1);
  EXPECT_EQ(g.GetControlWithTag(3), first);
  // Untagged controls never collide.
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_EQ(g.NControls(), 3);
}

TEST(DisplayTick, DirtyControlInvalidatesItsBoundsGrownByThreeQuartersInWholePixels)
{
  RecordingGraphics g;
  Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  IRECTList rects;
  ASSERT_TRUE(g.IsDirty(rects));
  ASSERT_EQ(rects.Size(), 1);
  EXPECT_EQ(rects.Get(0), IRECT(4.25f, 4.25f, 15.75f, 15.75f));

  g.OnDisplayTick();
  ASSERT_EQ(g.invalidated.size(), 1u);
  EXPECT_EQ(g.invalidated[0], IRECT(4.f, 4.f, 16.f, 16.f));
  EXPECT_EQ(g.repaints, 1);
  // Collected areas are cleaned: the next tick has nothing to do.
  g.OnDisplayTick();
  EXPECT_EQ(g.invalidated.size(), 1u);
  EXPECT_EQ(g.repaints, 1);
}

TEST(DisplayTick, InvalidatedAreaIsInDevicePixelsAtTheBackingScale)
{
  RecordingGraphics g(832, 464, 1.5f);
  g.windowScale = 2; // backing scale 3
  Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  g.OnDisplayTick();
  EXPECT_EQ(g.GetScreenScale(), 2);
  ASSERT_FALSE(g.invalidated.empty());
  EXPECT_EQ(g.invalidated.back(), IRECT(12.f, 12.f, 48.f, 48.f)); // 12.75 down, 47.25 up
}

TEST(DrawCycle, EachControlIsClippedToItsGrownBoundsWithinTheRedrawArea)
{
  RecordingGraphics g;
  ProbeControl* inside = Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  ProbeControl* outside = Attach(g, IRECT(200.f, 200.f, 210.f, 210.f));
  IRECTList rects;
  rects.Add(IRECT(0.f, 0.f, 10.2f, 100.f));
  g.Draw(rects);
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(outside->draws, 0);
  ASSERT_EQ(g.clips.size(), 1u);
  EXPECT_EQ(g.clips[0], IRECT(4.f, 4.f, 11.f, 16.f));
}

TEST(PointerDispatch, TopmostHitWinsHiddenAndIgnoringControlsAreSkipped)
{
  RecordingGraphics g;
  ProbeControl* below = Attach(g, IRECT(0.f, 0.f, 100.f, 100.f));
  ProbeControl* above = Attach(g, IRECT(0.f, 0.f, 50.f, 50.f));
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), above);
  above->Hide(true);
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), below);
  above->Hide(false);
  above->SetIgnoreMouse(true);
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), below);
}

TEST(PointerDispatch, DragFollowsTheCapturedControlOutsideItsBoundsUntilRelease)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  ProbeControl* other = Attach(g, IRECT(100.f, 100.f, 200.f, 200.f));
  g.OnMouseDown(Pointer(5.f, 5.f));
  g.OnMouseDrag(Pointer(150.f, 150.f, 145.f, 145.f));
  EXPECT_EQ(c->drags, 1);
  EXPECT_EQ(other->drags, 0);
  EXPECT_FLOAT_EQ(c->lastX, 150.f);
  EXPECT_FLOAT_EQ(c->lastDY, 145.f);
  g.OnMouseUp(Pointer(150.f, 150.f));
  EXPECT_EQ(c->ups, 1);
  EXPECT_EQ(other->ups, 0);
  EXPECT_FALSE(g.ControlIsCaptured());
  g.OnMouseDrag(Pointer(160.f, 160.f, 10.f, 10.f));
  EXPECT_EQ(c->drags, 1);
  EXPECT_EQ(other->drags, 0);
}

TEST(WheelDispatch, WholeStepsOf120TruncatedTowardZero)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  for (float raw : {119.f, 120.f, 240.f, -119.f, -130.f, 359.f})
    g.OnMouseWheel(5.f, 5.f, IMouseMod(), raw);
  EXPECT_EQ(c->wheel, (std::vector<float>{0.f, 1.f, 2.f, 0.f, -1.f, 2.f}));
}

namespace
{
ISVG ParseSVG(const char* text)
{
  auto image = std::make_shared<svg::Image>();
  EXPECT_TRUE(svg::ParseSVG(text, "px", 72.f, *image));
  return ISVG(image);
}
} // namespace

TEST(Transform, SaveRestoreAndResetHandTheMatrixToTheBackEnd)
{
  RecordingGraphics g;
  g.PathTransformSave();
  g.PathTransformTranslate(10.f, 0.f);
  g.PathTransformScale(2.f);
  g.PathMoveTo(1.f, 1.f);
  EXPECT_EQ(g.commands.back().args, (std::vector<float>{12.f, 2.f}));
  g.PathTransformRestore();
  EXPECT_EQ(g.GetTransform(), IMatrix());
  g.PathTransformTranslate(5.f, 5.f);
  g.PathTransformReset();
  EXPECT_EQ(g.GetTransform(), IMatrix());
  EXPECT_EQ(g.transformHandOvers, 5);
  // An unbalanced restore is ignored rather than popping an empty stack.
  g.PathTransformRestore();
  EXPECT_EQ(g.GetTransformStackDepth(), 0);
}

TEST(SVG, InnerSubPathBecomesAHoleOuterStaysSolid)
{
  RecordingGraphics g;
  const ISVG svg = ParseSVG(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
    <path d="M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z M40 40 H60 V60 H40 Z" fill="black"/>
    </svg>)");
  g.DrawSVG(svg, IRECT(0.f, 0.f, 100.f, 100.f));
  const auto windings = g.Of(Op::SetWinding);
  ASSERT_EQ(windings.size(), 3u);
  EXPECT_EQ(windings[0].args[0], 0.f); // outer: inside no other outline
  EXPECT_EQ(windings[1].args[0], 1.f); // inside one outline: hole
  EXPECT_EQ(windings[2].args[0], 0.f); // inside two: solid again
}

namespace
{
std::string WriteTempSVG(const char* name, const char* text)
{
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path) << text;
  return path.string();
}

constexpr const char* kLogo = R"(<svg xmlns="http://www.w3.org/2000/svg" width="90" height="30">
  <rect width="90" height="30" fill="#123456"/></svg>)";
} // namespace

TEST(SVGLoading, ParsesOnceAndSharesTheImageWhileAContextLives)
{
  const std::string path = WriteTempSVG("trazelle_svg_cache_test.svg", kLogo);
  {
    RecordingGraphics g;
    const ISVG a = g.LoadSVG(path.c_str());
    ASSERT_TRUE(a.IsValid());
    EXPECT_FLOAT_EQ(a.W(), 90.f);
    EXPECT_FLOAT_EQ(a.H(), 30.f);
    RecordingGraphics other;
    const ISVG b = other.LoadSVG(path.c_str());
    EXPECT_EQ(a.GetImage(), b.GetImage());

    // A changed file is not re-read while the cache holds the image.
    WriteTempSVG("trazelle_svg_cache_test.svg", "not svg");
    EXPECT_TRUE(g.LoadSVG(path.c_str()).IsValid());
  }
  // The last context is gone: the cache was emptied, so the file is read afresh (and now fails).
  RecordingGraphics g;
  EXPECT_FALSE(g.LoadSVG(path.c_str()).IsValid());
  std::filesystem::remove(path);
}

TEST(SVGLoading, MissingOrMalformedResourceGivesAnInvalidSVGThatDrawsNothing)
{
  RecordingGraphics g;
  const ISVG missing = g.LoadSVG("/nonexistent/trazelle/logo.svg");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_FLOAT_EQ(missing.W(), 0.f);
  const std::string path = WriteTempSVG("trazelle_svg_bad_test.svg", "<svg><path d=");
  EXPECT_FALSE(g.LoadSVG(path.c_str()).IsValid());
  g.DrawSVG(missing, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_TRUE(g.commands.empty());
  std::filesystem::remove(path);
}
