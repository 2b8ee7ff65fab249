#include "controls/KnobControl.h"

#include "graphics/GraphicsContext.h"

namespace qm::control
{

using namespace kit::gfx;

KnobControl::KnobControl(const IRECT& bounds, IActionFunction action, const ControlStyle& style,
                         const std::string& label, float minAngle, float maxAngle, double gearing)
    : ControlBase(bounds, std::move(action), style, label), mMinAngle(minAngle),
      mMaxAngle(maxAngle), mGearing(gearing)
{
  // The knob is drawn in a square but stays clickable over the whole rectangle it was given.
  mWidgetBounds = CentredSquare(bounds);
  SetBoundsKeepTarget(mWidgetBounds);
  mCX = mWidgetBounds.MW();
  mCY = mWidgetBounds.MH();
  mRadius = mWidgetBounds.W() * 0.5f;
  mInnerRadius = mRadius * 0.5f;
  mTrackWidth = mRadius * 0.2f;
  BuildGradients();
  SetDblAsSingleClick(true);
}

KnobControl::~KnobControl() = default;

void KnobControl::OnMouseDown(float, float, const IMouseMod& mod)
{
  if (mod.A && mAltClickFunc) mAltClickFunc();
  mPressed = true;
  SetDirty(false);
}

void KnobControl::OnMouseDrag(float, float, float, float dY, const IMouseMod&)
{
  const IRECT& target = GetTargetRECT();
  SetValue(GetValue() + static_cast<double>(dY) / (target.T - target.B) / mGearing);
  SetDirty(true); // clamps to 0-1 before the action sees the value
}

void KnobControl::OnMouseWheel(float, float, const IMouseMod&, float d)
{
  SetValue(GetValue() + d * mGearing);
  SetDirty(true);
}

void KnobControl::OnInit()
{
  if (GraphicsContext* g = GetUI()) PlaceLabelAndValueBelow(*g);
}

void KnobControl::Draw(GraphicsContext& g)
{
  const IBlend* blend = &GetBlend();
  const IStrokeOptions stroke;
  IFillOptions fill;
  fill.mPreserve = true; // the filled disc is outlined afterwards

  const float r = mRadius;
  const float angle = mMinAngle + (mMaxAngle - mMinAngle) * static_cast<float>(GetValue());

  g.PathClear();
  g.PathRadialLine(mCX, mCY, mMinAngle, mInnerRadius, r);
  g.PathRadialLine(mCX, mCY, mMaxAngle, mInnerRadius, r);
  g.PathCircle(mCX, mCY, r - mTrackWidth);
  g.PathStroke(IPattern(mStyle.Color(3)), 1.f, stroke, blend);

  g.PathArc(mCX, mCY, r - r * 0.1f, mMinAngle, angle);
  g.PathStroke(IPattern(mStyle.Color(7)), mTrackWidth, stroke, blend);

  g.PathArc(mCX, mCY, r - mTrackWidth, mMinAngle, mMaxAngle);
  g.PathStroke(IPattern(mStyle.Color(2)), 1.f, stroke, blend);

  g.PathRadialLine(mCX, mCY, angle, mInnerRadius, r);
  g.PathStroke(IPattern(mStyle.Color(1)), 1.f, stroke, blend);

  g.PathCircle(mCX, mCY, mInnerRadius);
  if (mPressed)
    g.PathFill(mPressedGradient, fill, blend);
  else if (GetMouseIsOver())
    g.PathFill(mHoverGradient, fill, blend);
  g.PathStroke(IPattern(mStyle.Color(1)), 1.5f, stroke, blend);

  DrawLabel(g);
  DrawValue(g);
}

void KnobControl::OnStyleChanged()
{
  BuildGradients();
}

void KnobControl::BuildGradients()
{
  mHoverGradient = MakeRadialGradient(mStyle.Color(9), mCX, mCY, mInnerRadius);
  mPressedGradient = MakeRadialGradient(mStyle.Color(10), mCX, mCY, mInnerRadius);
}

} // namespace qm::control
