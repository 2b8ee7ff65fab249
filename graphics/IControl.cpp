#include "graphics/IControl.h"

#include "graphics/GraphicsContext.h"
#include "graphics/GraphicsDelegateLink.h"
#include "graphics/IPopupMenu.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{

IControl::IControl(const IRECT& bounds, IActionFunction actionFunc)
    : mRECT(bounds), mTargetRECT(bounds), mActionFunc(std::move(actionFunc))
{
}

void IControl::OnMouseDown(float x, float y, const IMouseMod& mod)
{
  if (!mod.R) return;
  const int valIdx = GetValIdxForPos(x, y);
  if (valIdx <= kNoValIdx || !IsBound(valIdx) || mDisablePrompt || !mGraphics) return;

  const IParam* pParam = GetParam(valIdx);
  if (!pParam) return;
  IRECT promptArea = mRECT;
  if (detail::ParamDisplayTextCount(*pParam) == 0)
    promptArea = IRECT(mRECT.MW() - 20.f, mRECT.MH() - 8.f, mRECT.MW() + 20.f, mRECT.MH() + 8.f);
  mGraphics->PromptForParameter(this, GetParamIdx(valIdx), promptArea, valIdx);
  SetDirty(false);
}

void IControl::OnMouseDblClick(float x, float y, const IMouseMod& /*mod*/)
{
  SetValueToDefault(GetValIdxForPos(x, y));
}

void IControl::OnMouseOver(float /*x*/, float /*y*/, const IMouseMod& /*mod*/)
{
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = true;
  if (!wasOver) SetDirty(false);
}

void IControl::OnMouseOut()
{
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = false;
  if (wasOver) SetDirty(false);
}

bool IControl::OnGesture(const IGestureInfo& info)
{
  const auto it = mGestureFuncs.find(info.type);
  if (it == mGestureFuncs.end()) return false;
  mLastGesture = info.type;
  it->second(this, info);
  return true;
}

void IControl::OnPopupMenuSelection(IPopupMenu* pSelectedMenu, int valIdx)
{
  if (!pSelectedMenu || valIdx <= kNoValIdx || !IsBound(valIdx) || mDisablePrompt) return;
  const IParam* pParam = GetParam(valIdx);
  if (!pParam) return;
  SetValueFromUserInput(detail::ParamToNormalized(*pParam, pSelectedMenu->GetChosenItemIdx()),
                        valIdx);
}

void IControl::DrawHighlight(GraphicsContext& g)
{
  if (mHighlighted) g.FillCircle(mHighlightColor, mRECT.R - 5.f, mRECT.T + 5.f, 2.f);
}

void IControl::SetParamIdx(int paramIdx, int valIdx)
{
  if (valIdx >= 0 && valIdx < NVals()) mVals[static_cast<size_t>(valIdx)].mParamIdx = paramIdx;
}

int IControl::GetValIdxForPos(float /*x*/, float /*y*/) const
{
  return NVals() == 1 ? 0 : kNoValIdx;
}

void IControl::SetValueFromDelegate(double value, int valIdx)
{
  if (mGraphics && mGraphics->ControlIsCaptured(this)) return;
  if (value != GetValue(valIdx))
  {
    SetValue(value, valIdx);
    SetDirty(false);
  }
}

void IControl::SetValueFromUserInput(double value, int valIdx)
{
  if (value != GetValue(valIdx))
  {
    SetValue(value, valIdx);
    SetDirty(true, valIdx);
  }
}

void IControl::SetValueToDefault(int valIdx)
{
  if (NVals() == 1) valIdx = 0;
  ForValIdx(valIdx,
            [this](int v)
            {
              if (const IParam* pParam = GetParam(v))
                SetValue(detail::ParamDefaultNormalized(*pParam), v);
            });
  SetDirty(true, valIdx);
}

void IControl::SetValue(double value, int valIdx)
{
  if (valIdx >= 0 && valIdx < NVals()) mVals[static_cast<size_t>(valIdx)].mValue = value;
}

void IControl::SetPosition(float x, float y)
{
  x = std::max(x, 0.f);
  y = std::max(y, 0.f);
  const float dx = x - mRECT.L;
  const float dy = y - mRECT.T;
  mRECT = mRECT.GetTranslated(dx, dy);
  mTargetRECT = mTargetRECT.GetTranslated(dx, dy);
  mMouseIsOver = false;
  OnResize();
}

void IControl::SetSize(float w, float h)
{
  w = std::max(w, 0.f);
  h = std::max(h, 0.f);
  mRECT = IRECT(mRECT.L, mRECT.T, mRECT.L + w, mRECT.T + h);
  mTargetRECT = mRECT;
  mMouseIsOver = false;
  OnResize();
}

void IControl::Hide(bool hide)
{
  mHide = hide;
  SetDirty(false);
}

void IControl::SetDisabled(bool disable)
{
  mDisabled = disable;
  mBlend.mWeight = disable ? 0.25f : 1.f;
  SetDirty(false);
}

bool IControl::IsHit(float x, float y) const
{
  return mTargetRECT.Contains(x, y);
}

void IControl::SetDirty(bool triggerAction, int valIdx)
{
  if (NVals() == 1) valIdx = 0;
  ForValIdx(valIdx, [this](int v) { SetValue(std::clamp(GetValue(v), 0.0, 1.0), v); });
  mDirty = true;

  if (!triggerAction) return;
  ForValIdx(valIdx,
            [this](int v)
            {
              const int paramIdx = GetParamIdx(v);
              if (paramIdx <= kNoParameter || !GetParam(v)) return;
              const double value = GetValue(v);
              detail::SendParameterValueFromUI(mDelegate, paramIdx, value);
              if (!mGraphics) return;
              mGraphics->ForAllControlsFunc(
                  [this, paramIdx, value](IControl* pOther)
                  {
                    if (pOther == this) return;
                    const int linked = pOther->LinkedToParam(paramIdx);
                    if (linked > kNoValIdx) pOther->SetValueFromDelegate(value, linked);
                  });
            });
  if (mActionFunc) mActionFunc(this);
}

void IControl::SnapToMouse(float x, float y, EDirection direction, const IRECT& bounds, int valIdx,
                           double lo, double hi)
{
  // Clamp into the bounds (right and bottom edges included: the ends of the range).
  x = std::clamp(x, bounds.L, bounds.R);
  y = std::clamp(y, bounds.T, bounds.B);
  double v = 0.0;
  if (direction == EDirection::Vertical)
    v = bounds.H() != 0.f ? 1.0 - (y - bounds.T) / static_cast<double>(bounds.H()) : 0.0;
  else
    v = bounds.W() != 0.f ? (x - bounds.L) / static_cast<double>(bounds.W()) : 0.0;
  v = std::round(v / 0.001) * 0.001;
  v = std::clamp(v, lo, hi);
  ForValIdx(valIdx, [this, v](int i) { SetValue(v, i); });
  SetDirty(true, valIdx);
}

void IControl::OnEndAnimation()
{
  mAnimationFunc = nullptr;
  SetDirty(false);
  if (mAnimationEndActionFunc) mAnimationEndActionFunc(this);
}

int IControl::AddValueSlot(int paramIdx, double value)
{
  mVals.push_back({paramIdx, value});
  return NVals() - 1;
}

int IControl::GetParamIdx(int valIdx) const
{
  if (valIdx < 0 || valIdx >= NVals()) return kNoParameter;
  return mVals[static_cast<size_t>(valIdx)].mParamIdx;
}

const IParam* IControl::GetParam(int valIdx) const
{
  const int paramIdx = GetParamIdx(valIdx);
  if (paramIdx <= kNoParameter || !mDelegate) return nullptr;
  return detail::GetDelegateParam(mDelegate, paramIdx);
}

int IControl::LinkedToParam(int paramIdx) const
{
  for (int v = 0; v < NVals(); ++v)
    if (mVals[static_cast<size_t>(v)].mParamIdx == paramIdx) return v;
  return kNoValIdx;
}

double IControl::GetValue(int valIdx) const
{
  if (valIdx < 0 || valIdx >= NVals()) return 0.0;
  return mVals[static_cast<size_t>(valIdx)].mValue;
}

void IControl::AttachGestureRecognizer(EGestureType type, IGestureFunc func)
{
  mGestureFuncs[type] = std::move(func);
}

} // namespace kit::gfx
