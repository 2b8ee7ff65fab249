// Input dispatch and prompts of GraphicsContext: which control a pointer, wheel, key or drop goes
// to, pointer capture, mouse-over tracking, pop-up menus and text entry.

#include "graphics/GraphicsContext.h"

#include "graphics/GraphicsDelegateLink.h"

#include <algorithm>

namespace kit::gfx
{

IControl* GraphicsContext::FindHitControl(float x, float y, bool mouseOver, int& idx) const
{
  // The background (index 0) is never a mouse-over target.
  const int lowest = (mouseOver && mHasBackground) ? 1 : 0;
  for (int i = NControls() - 1; i >= lowest; --i)
  {
    IControl* pControl = mControls[static_cast<size_t>(i)].get();
    if (pControl->IsHidden() || pControl->GetIgnoreMouse()) continue;
    if (pControl->IsDisabled() && !(mouseOver ? pControl->GetMouseOverWhenDisabled()
                                              : pControl->GetMouseEventsWhenDisabled()))
      continue;
    if (pControl->IsHit(x, y))
    {
      idx = i;
      return pControl;
    }
  }
  return nullptr;
}

IControl* GraphicsContext::GetMouseControl(float x, float y, bool capture, bool mouseOver,
                                           int64_t touchID)
{
  if (const auto it = mCapturedMap.find(touchID); it != mCapturedMap.end()) return it->second;

  IControl* pControl = nullptr;
  int idx = -1;
  if (mPopupControl && !mPopupControl->IsHidden())
    pControl = mPopupControl.get();
  else if (mTextEntryControl && !mTextEntryControl->IsHidden())
    pControl = mTextEntryControl.get();
  else if (mCornerResizer && mCornerResizer->GetRECT().Contains(x, y))
    pControl = mCornerResizer.get();
  else if (mPerfDisplay && mPerfDisplay->GetRECT().Contains(x, y))
    pControl = mPerfDisplay.get();
  else if (!mouseOver || mEnableMouseOver)
    pControl = FindHitControl(x, y, mouseOver, idx);

  if (capture && pControl)
  {
    if (mEnableMultiTouch && !pControl->GetWantsMultiTouch() && ControlIsCaptured(pControl))
      return nullptr;
    mCapturedMap[touchID] = pControl;
  }
  if (mouseOver) mMouseOverIdx = idx;
  return pControl;
}

void GraphicsContext::ReleaseMouseCapture()
{
  mCapturedMap.clear();
}

void GraphicsContext::EndMouseCapture()
{
  IMouseInfoList points;
  for (const auto& [touchID, pControl] : mCapturedMap)
  {
    IMouseInfo p{mMouseX, mMouseY, 0.f, 0.f, IMouseMod()};
    p.ms.touchID = touchID;
    points.push_back(p);
  }
  if (!points.empty()) OnMouseUp(points);
  ReleaseMouseCapture();
}

bool GraphicsContext::ControlIsCaptured(const IControl* pControl) const
{
  return std::any_of(mCapturedMap.begin(), mCapturedMap.end(),
                     [pControl](const auto& entry) { return entry.second == pControl; });
}

void GraphicsContext::BeginGestures(IControl* pControl)
{
  for (int v = 0; v < pControl->NVals(); ++v)
    if (pControl->GetParamIdx(v) > kNoParameter)
      detail::BeginInformHostOfParamChangeFromUI(mDelegate, pControl->GetParamIdx(v));
}

void GraphicsContext::EndGestures(IControl* pControl)
{
  for (int v = 0; v < pControl->NVals(); ++v)
    if (pControl->GetParamIdx(v) > kNoParameter)
      detail::EndInformHostOfParamChangeFromUI(mDelegate, pControl->GetParamIdx(v));
}

void GraphicsContext::OnMouseDown(const IMouseInfoList& points)
{
  if (mTooltipControl) mTooltipControl->Dismiss();
  if (points.size() == 1)
  {
    mMouseDownX = points.front().x;
    mMouseDownY = points.front().y;
  }

  for (const IMouseInfo& p : points)
  {
    IControl* pControl = GetMouseControl(p.x, p.y, true, false, p.ms.touchID);
    if (!pControl) continue;

    const int valIdx = pControl->GetValIdxForPos(p.x, p.y);
    if (p.ms.R && pControl->IsBound(std::max(valIdx, 0)))
    {
      ReleaseMouseCapture();
      mContextMenu.Clear();
      pControl->CreateContextMenu(mContextMenu);
      if (mContextMenu.NItems() > 0)
      {
        CreatePopupMenu(*pControl, mContextMenu, IRECT(p.x, p.y, p.x, p.y), kNoValIdx, true);
        return;
      }
    }

    BeginGestures(pControl);
    pControl->OnMouseDown(p.x, p.y, p.ms);
  }
  if (!points.empty())
  {
    mMouseX = points.back().x;
    mMouseY = points.back().y;
  }
}

void GraphicsContext::OnMouseUp(const IMouseInfoList& points)
{
  if (ControlIsCaptured())
  {
    for (const IMouseInfo& p : points)
    {
      const auto it = mCapturedMap.find(p.ms.touchID);
      if (it == mCapturedMap.end()) continue;
      IControl* pControl = it->second;
      pControl->OnMouseUp(p.x, p.y, p.ms);
      EndGestures(pControl);
      mCapturedMap.erase(p.ms.touchID); // OnMouseUp may have released it already
    }
  }

  if (mResizingInProcess)
  {
    mResizingInProcess = false;
    if (mResizerMode == EUIResizerMode::Scale)
    {
      ForAllControls(
          [](IControl* pControl)
          {
            pControl->OnRescale();
            pControl->SetDirty(false);
          });
    }
  }
}

void GraphicsContext::OnMouseDrag(const IMouseInfoList& points)
{
  if (mResizingInProcess && points.size() == 1)
  {
    const IMouseInfo& p = points.front();
    if (mResizerMode == EUIResizerMode::Size)
    {
      Resize(static_cast<int>(p.x), static_cast<int>(p.y), mDrawScale);
    }
    else if (mMouseDownX > 0.f && mMouseDownY > 0.f)
    {
      const float scale = std::min(mDrawScale * p.x / mMouseDownX, mDrawScale * p.y / mMouseDownY);
      Resize(mWidth, mHeight, scale);
    }
    return;
  }

  if (!ControlIsCaptured() || mInTextEntry) return;
  for (const IMouseInfo& p : points)
  {
    const auto it = mCapturedMap.find(p.ms.touchID);
    if (it == mCapturedMap.end() || (p.dX == 0.f && p.dY == 0.f)) continue;
    it->second->OnMouseDrag(p.x, p.y, p.dX, p.dY, p.ms);
  }
  if (!points.empty())
  {
    mMouseX = points.back().x;
    mMouseY = points.back().y;
  }
}

void GraphicsContext::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  IControl* pControl = GetMouseControl(x, y, true);
  if (!pControl) return;
  if (pControl->GetDblAsSingleClick())
  {
    OnMouseDown({IMouseInfo{x, y, 0.f, 0.f, mod}});
  }
  else
  {
    pControl->OnMouseDblClick(x, y, mod);
    ReleaseMouseCapture();
  }
}

void GraphicsContext::OnMouseOver(float x, float y, const IMouseMod& mod)
{
  IControl* pControl = GetMouseControl(x, y, false, true);
  if (pControl != mMouseOver)
  {
    if (mMouseOver) mMouseOver->OnMouseOut();
    mMouseOver = pControl;
  }
  // Every move reaches the control under the pointer, so that it can follow the position.
  if (mMouseOver) mMouseOver->OnMouseOver(x, y, mod);
  if (mTooltipControl) mTooltipControl->Track(mMouseOver, x, y);
}

void GraphicsContext::OnMouseOut()
{
  ForAllControls([](IControl* pControl) { pControl->OnMouseOut(); });
  mMouseOver = nullptr;
  mMouseOverIdx = -1;
  if (mTooltipControl) mTooltipControl->Leave();
  SetMouseCursor(ECursor::ARROW);
}

void GraphicsContext::OnMouseWheel(float x, float y, const IMouseMod& mod, float delta)
{
  if (mTooltipControl) mTooltipControl->Dismiss();
  IControl* pControl = GetMouseControl(x, y, false);
  if (!pControl) return;
  // Whole notches only: integer division truncating toward zero.
  const int steps = static_cast<int>(delta) / 120;
  pControl->OnMouseWheel(x, y, mod, static_cast<float>(steps));
}

bool GraphicsContext::OnKeyDown(float x, float y, const IKeyPress& key)
{
  if (mTooltipControl) mTooltipControl->Dismiss();
  bool handled = false;
  IControl* pControl = GetMouseControl(x, y, false);
  if (pControl && pControl != GetBackgroundControl()) handled = pControl->OnKeyDown(x, y, key);
  if (!handled && mKeyHandlerFunc) handled = mKeyHandlerFunc(key, false);
  return handled;
}

bool GraphicsContext::OnKeyUp(float x, float y, const IKeyPress& key)
{
  bool handled = false;
  IControl* pControl = GetMouseControl(x, y, false);
  if (pControl && pControl != GetBackgroundControl()) handled = pControl->OnKeyUp(x, y, key);
  if (!handled && mKeyHandlerFunc) handled = mKeyHandlerFunc(key, true);
  return handled;
}

void GraphicsContext::OnDrop(const char* path, float x, float y)
{
  if (IControl* pControl = GetMouseControl(x, y, false)) pControl->OnDrop(path);
}

void GraphicsContext::OnGestureRecognized(const IGestureInfo& info)
{
  if (IControl* pControl = GetMouseControl(info.x, info.y, false)) pControl->OnGesture(info);
}

// ------------------------------------------------------------------------------------------------
// Prompts

void GraphicsContext::PromptForParameter(IControl* pControl, int paramIdx, const IRECT& bounds,
                                         int valIdx)
{
  if (!pControl) return;
  const IParam* pParam = detail::GetDelegateParam(mDelegate, paramIdx);
  if (!pParam) return;

  if (detail::ParamPromptsWithMenu(*pParam))
  {
    mPromptMenu.Clear();
    const std::string current = detail::ParamCurrentDisplay(*pParam);
    const int n = detail::ParamDisplayTextCount(*pParam);
    for (int i = 0; i < n; ++i)
    {
      const std::string title = detail::ParamDisplayTextFor(*pParam, i);
      mPromptMenu.AddItem(title.c_str(), true, title == current);
    }
    CreatePopupMenu(*pControl, mPromptMenu, bounds, valIdx);
  }
  else
  {
    std::string str = detail::ParamCurrentDisplay(*pParam);
    if (pControl->GetPromptShowsParamLabel())
    {
      str += ' ';
      str += detail::ParamLabel(*pParam);
    }
    CreateTextEntry(*pControl, pControl->GetText(), bounds, str.c_str(), valIdx);
  }
}

void GraphicsContext::CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRECT& bounds,
                                      int valIdx, bool isContext)
{
  ReleaseMouseCapture();
  mInPopupMenu = &control;
  mPopupMenuValIdx = valIdx;
  mIsContextMenu = isContext;
  bool isAsync = false;
  ++mModalDepth;
  IPopupMenu* pResult = CreatePlatformPopupMenu(menu, bounds, isAsync);
  --mModalDepth;
  if (!isAsync) SetControlValueAfterPopupMenu(pResult);
}

void GraphicsContext::SetControlValueAfterPopupMenu(IPopupMenu* pMenu)
{
  if (!mInPopupMenu) return;
  // Clear the request first: the control's reaction may open the next menu.
  IControl* pControl = mInPopupMenu;
  const int valIdx = mPopupMenuValIdx;
  const bool isContext = mIsContextMenu;
  mInPopupMenu = nullptr;
  mPopupMenuValIdx = -1;
  mIsContextMenu = false;

  if (isContext)
    pControl->OnContextSelection(pMenu ? pMenu->GetChosenItemIdx() : -1);
  else
    pControl->OnPopupMenuSelection(pMenu, valIdx);
  EndGestures(pControl);
}

void GraphicsContext::CreateTextEntry(IControl& control, const IText& text, const IRECT& bounds,
                                      const char* str, int valIdx)
{
  mInTextEntry = &control;
  mTextEntryValIdx = valIdx;
  CreatePlatformTextEntry(control.GetParamIdx(valIdx), text, bounds, control.GetTextEntryLength(),
                          str ? str : "");
}

void GraphicsContext::SetControlValueAfterTextEdit(const char* str)
{
  if (!mInTextEntry) return;
  IControl* pControl = mInTextEntry;
  const int valIdx = mTextEntryValIdx;
  mInTextEntry = nullptr;
  mTextEntryValIdx = -1;

  if (const IParam* pParam = pControl->GetParam(valIdx))
    pControl->SetValueFromUserInput(detail::ParamStringToNormalized(*pParam, str ? str : ""),
                                    valIdx);
  else
    pControl->OnTextEntryCompletion(str ? str : "", valIdx);
}

} // namespace kit::gfx
