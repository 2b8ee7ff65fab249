#include "controls/ControlBase.h"

#include "graphics/GraphicsContext.h"

#include <algorithm>

namespace qm::control
{

using namespace kit::gfx;

ControlBase::ControlBase(const IRECT& bounds, IActionFunction action, const ControlStyle& style,
                         const std::string& label)
    : IControl(bounds, std::move(action)), mWidgetBounds(bounds), mStyle(style), mLabel(label)
{
  PublishPromptText();
}

ControlBase::~ControlBase() = default;

void ControlBase::OnMouseUp(float x, float y, const IMouseMod&)
{
  mPressed = false;
  // The pointer may have been released outside the control after a drag.
  if (!GetRECT().Contains(x, y)) SetMouseIsOver(false);
  SetDirty(false);
}

void ControlBase::DrawLabel(GraphicsContext& g)
{
  if (mLabelRect.H() != 0.f && mStyle.showLabel && !mLabel.empty())
    g.DrawText(mStyle.labelText, mLabel.c_str(), mLabelRect, &GetBlend());
}

void ControlBase::DrawValue(GraphicsContext& g)
{
  // Unbound controls only: the plug-in binds no control to a parameter.
  if (mValueRect.H() != 0.f && mStyle.showValue && !mValueText.empty())
    g.DrawText(mStyle.valueText, mValueText.c_str(), mValueRect, &GetBlend());
}

void ControlBase::SetValueText(const std::string& text)
{
  mValueText = text;
}

void ControlBase::SetStyle(const ControlStyle& style)
{
  mStyle = style;
  PublishPromptText();
  OnStyleChanged();
  SetDirty(false);
}

void ControlBase::SetColors(const ColorSet& colors)
{
  mStyle.colors = colors;
  PublishPromptText();
  OnStyleChanged();
  SetDirty(false);
}

void ControlBase::PublishPromptText()
{
  // Prompts the platform draws itself (menus, text entry) follow the theme: value font, dark text,
  // light tint behind the highlighted row or the typed text, dark shade for frame and highlight.
  IText text = mStyle.valueText;
  text.mFGColor = mStyle.Color(1);
  text.mTextEntryBGColor = mStyle.Color(4);
  text.mTextEntryFGColor = mStyle.Color(8);
  SetText(text);
}

void ControlBase::PlaceLabel(GraphicsContext& g, const std::string& label, int side, float gap)
{
  mLabel = label;
  mStyle.showLabel = true;

  IRECT m;
  g.MeasureText(mStyle.labelText, mLabel.c_str(), m);
  const IRECT& w = mWidgetBounds;
  float dx = w.MW();
  float dy = w.B + gap + m.B;
  switch (side)
  {
  case kLabelLeft:
    dx = w.L - m.R - gap;
    dy = w.MH();
    break;
  case kLabelAbove:
    dy = w.T - m.B - gap;
    break;
  case kLabelCentred:
    dy = w.MH();
    break;
  default:
    break;
  }
  mLabelRect = m.GetTranslated(dx, dy);
  GrowBoundsToContents();
}

void ControlBase::SetBoundsKeepTarget(const IRECT& bounds)
{
  SetRECT(bounds);
  SetMouseIsOver(false);
  OnResize();
}

void ControlBase::GrowBoundsToContents()
{
  SetBoundsKeepTarget(mWidgetBounds.Union(mLabelRect).Union(mValueRect));
}

void ControlBase::PlaceLabelAndValueBelow(GraphicsContext& g)
{
  mStyle.showLabel = true;
  IRECT m;
  g.MeasureText(mStyle.labelText, mLabel.c_str(), m);
  mLabelRect = m.GetTranslated(mWidgetBounds.MW(), mWidgetBounds.B + mStyle.labelGap + m.B);
  GrowBoundsToContents();

  const IRECT& b = GetRECT();
  mValueRect = IRECT(b.L, mLabelRect.B, b.R, mLabelRect.B + mStyle.valueText.mSize);
  GrowBoundsToContents();
}

IPattern ControlBase::MakeRadialGradient(const IColor& inner, float cx, float cy, float r)
{
  return IPattern::CreateRadialGradient(cx, cy, r, {{inner, 0.2f}, {COLOR_WHITE, 1.f}});
}

IRECT ControlBase::CentredSquare(const IRECT& bounds)
{
  const float s = std::max(1.f, std::min(bounds.W(), bounds.H()));
  return bounds.GetCentredInside(s, s);
}

} // namespace qm::control
