#include "graphics/GraphicsContext.h"

#include "graphics/GraphicsDelegateLink.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{

namespace detail
{
// Process-wide caches live as long as at least one graphics context does.
void RetainResourceCaches();
void ReleaseResourceCaches();
} // namespace detail

GraphicsContext::GraphicsContext(GraphicsEditorDelegate* pDelegate, int w, int h, int fps,
                                 float scale)
    : mDelegate(pDelegate), mWidth(w), mHeight(h), mFPS(fps), mDrawScale(scale),
      mMinScale(scale * 0.5f), mMaxScale(scale * 2.f)
{
  detail::RetainResourceCaches();
}

GraphicsContext::~GraphicsContext()
{
  RemoveAllControls();
  detail::ReleaseResourceCaches();
}

// ------------------------------------------------------------------------------------------------
// Control list

void GraphicsContext::SetupControl(IControl* pControl)
{
  pControl->SetDelegate(mDelegate);
  pControl->SetGraphics(this);
  pControl->OnInit();
  pControl->OnResize();
  pControl->OnRescale();
}

IControl* GraphicsContext::AttachControl(IControl* pControl, int tag, const char* group)
{
  if (!pControl) return nullptr;
  if (tag > -1 && !mCtrlTags.emplace(tag, pControl).second)
  {
    // The caller handed ownership over; a refused control must not leak.
    delete pControl;
    return nullptr;
  }
  SetupControl(pControl);
  pControl->SetGroup(group);
  mControls.emplace_back(pControl);
  InvalidateLayers();
  pControl->OnAttached();
  return pControl;
}

IControl* GraphicsContext::AttachBackground(IControl* pControl)
{
  if (!pControl) return nullptr;
  SetupControl(pControl);
  if (mHasBackground)
  {
    if (mMouseOver == mControls.front().get()) mMouseOver = nullptr;
    mControls.front().reset(pControl);
  }
  else
  {
    mControls.emplace(mControls.begin(), pControl);
    mHasBackground = true;
  }
  InvalidateLayers();
  return pControl;
}

namespace
{
template <typename T>
void AttachSpecial(std::unique_ptr<T>& slot, T* pControl, GraphicsEditorDelegate* pDlg,
                   GraphicsContext* pGraphics)
{
  slot.reset(pControl);
  if (!pControl) return;
  pControl->SetDelegate(pDlg);
  pControl->SetGraphics(pGraphics);
  pControl->OnInit();
  pControl->OnResize();
  pControl->OnRescale();
}
} // namespace

void GraphicsContext::AttachCornerResizer(IControl* pControl)
{
  AttachSpecial(mCornerResizer, pControl, mDelegate, this);
}

void GraphicsContext::AttachPerformanceDisplay(IControl* pControl)
{
  AttachSpecial(mPerfDisplay, pControl, mDelegate, this);
}

void GraphicsContext::AttachTextEntryControl(IControl* pControl)
{
  AttachSpecial(mTextEntryControl, pControl, mDelegate, this);
}

void GraphicsContext::AttachPopupMenuControl(IControl* pControl)
{
  AttachSpecial(mPopupControl, pControl, mDelegate, this);
}

void GraphicsContext::AttachTooltipControl(DrawnTooltip* pControl)
{
  AttachSpecial(mTooltipControl, pControl, mDelegate, this);
}

void GraphicsContext::RemoveAllControls()
{
  mCapturedMap.clear();
  mMouseOver = nullptr;
  mMouseOverIdx = -1;
  mInPopupMenu = nullptr;
  mInTextEntry = nullptr;
  mCtrlTags.clear();
  mControls.clear();
  mHasBackground = false;
  // A new control may come to live at a removed one's address.
  for (ControlLayers& layers : mLayers)
    layers = ControlLayers{};
  mCornerResizer.reset();
  mPerfDisplay.reset();
  mTextEntryControl.reset();
  mPopupControl.reset();
  mTooltipControl.reset();
}

IControl* GraphicsContext::GetControl(int idx) const
{
  if (idx < 0 || idx >= NControls()) return nullptr;
  return mControls[static_cast<size_t>(idx)].get();
}

IControl* GraphicsContext::GetControlWithTag(int tag) const
{
  const auto it = mCtrlTags.find(tag);
  return it == mCtrlTags.end() ? nullptr : it->second;
}

int GraphicsContext::GetControlIdx(const IControl* pControl) const
{
  for (int i = 0; i < NControls(); ++i)
    if (mControls[static_cast<size_t>(i)].get() == pControl) return i;
  return -1;
}

void GraphicsContext::ForControlInGroup(const char* group, const IControlFunction& func)
{
  if (!group || !*group) return;
  for (size_t i = 0; i < mControls.size(); ++i)
  {
    IControl* pControl = mControls[i].get();
    if (!pControl->GetGroup().empty() && pControl->GetGroup() == group) func(pControl);
  }
}

void GraphicsContext::SetAllControlsDirty()
{
  ForAllControls([](IControl* pControl) { pControl->SetDirty(false); });
}

void GraphicsContext::SetAllControlsClean()
{
  ForAllControls([](IControl* pControl) { pControl->SetClean(); });
}

// ------------------------------------------------------------------------------------------------
// Size and scale

void GraphicsContext::SetDrawScaleLimits(float minScale, float maxScale)
{
  mMinScale = std::min(minScale, maxScale);
  mMaxScale = std::max(minScale, maxScale);
}

void GraphicsContext::Resize(int w, int h, float scale, bool needsPlatformResize)
{
  detail::ConstrainEditorSize(mDelegate, w, h);
  scale = std::clamp(scale, mMinScale, mMaxScale);
  if (w == mWidth && h == mHeight && scale == mDrawScale) return;

  ReleaseMouseCapture();
  mWidth = w;
  mHeight = h;
  mDrawScale = scale;
  if (mCornerResizer) mCornerResizer->OnRescale();
  const bool hostResized =
      detail::EditorResizeFromUI(mDelegate, WindowWidth(), WindowHeight(), needsPlatformResize);
  PlatformResize(needsPlatformResize && !hostResized);
  ForAllControls(
      [](IControl* pControl)
      {
        pControl->OnResize();
        pControl->SetDirty(false);
      });
  DrawResize();
  if (mLayoutOnResize) detail::LayoutUI(mDelegate, *this);
}

void GraphicsContext::SetScreenScale(float scale)
{
  mScreenScale = std::max(scale, 1.f);
  const bool hostResized =
      detail::EditorResizeFromUI(mDelegate, WindowWidth(), WindowHeight(), true);
  PlatformResize(!hostResized);
  ForAllControls(
      [](IControl* pControl)
      {
        pControl->OnRescale();
        pControl->SetDirty(false);
      });
  DrawResize();
}

// ------------------------------------------------------------------------------------------------
// Frame cycle

bool GraphicsContext::OnDisplayTick()
{
  const float screenScale = GetPlatformWindowScale();
  if (screenScale > 0 && screenScale != mScreenScale) SetScreenScale(screenScale);

  if (mTooltipControl) mTooltipControl->Tick();
  mDirtyRects.Clear();
  if (!IsDirty(mDirtyRects)) return false;

  SetAllControlsClean();
  const float scale = GetBackingPixelScale();
  for (const IRECT& r : mDirtyRects)
    PlatformInvalidate(r.GetDeviceAligned(scale));
  PlatformRepaint();
  return true;
}

bool GraphicsContext::IsDirty(IRECTList& rects)
{
  if (mDisplayTickFunc) mDisplayTickFunc();

  ForAllControls(
      [](IControl* pControl)
      {
        if (const auto& animation = pControl->GetAnimationFunction()) animation(pControl);
      });

  FindLayeredControls();
  bool dirty = false;
  size_t index = 0;
  ForAllControls(
      [&](IControl* pControl)
      {
        if (pControl->IsDirty())
        {
          rects.Add(pControl->GetRECT().GetGrown(0.75f));
          NoteDirtyForLayers(pControl, index);
          dirty = true;
        }
        ++index;
      });
  return dirty;
}

bool GraphicsContext::Draw(IRECTList& rects)
{
  if (rects.Empty()) return false;

  const float scale = GetBackingPixelScale();
  BeginFrame();
  if (mStrictDrawing)
  {
    DrawControlsIn(rects.Bounds().GetPixelAligned(scale));
  }
  else
  {
    rects.PixelAlign(scale);
    rects.Optimize();
    for (const IRECT& r : rects)
      DrawControlsIn(r);
  }
  EndFrame();
  return true;
}

void GraphicsContext::DrawControlsIn(const IRECT& r)
{
  if (DrawLayeredIn(r)) return;
  const float scale = GetBackingPixelScale();
  IControl* pBackground = GetBackgroundControl();
  ForAllControls(
      [&](IControl* pControl)
      {
        if (pControl->IsHidden() && pControl != pBackground) return;
        DrawOneControl(pControl, r, scale);
      });
}

void GraphicsContext::DrawOneControl(IControl* pControl, const IRECT& r, float scale)
{
  const IRECT clip = pControl->GetRECT().GetGrown(0.75f).GetPixelAligned(scale).Intersect(r);
  if (clip.W() <= 0.f || clip.H() <= 0.f) return;
  PrepareRegion(clip);
  pControl->Draw(*this);
  CompleteRegion(clip);
}

void GraphicsContext::PrepareRegion(const IRECT& r)
{
  PathTransformReset();
  PathClear();
  PathClipRegion(r);
}

// ------------------------------------------------------------------------------------------------
// Text and paths

float GraphicsContext::MeasureText(const IText& text, const char* str, IRECT& bounds)
{
  if (!str || !*str)
  {
    bounds = IRECT(bounds.L, bounds.T, bounds.L, bounds.T);
    return 0.f;
  }
  return DoMeasureText(text, str, bounds);
}

void GraphicsContext::DrawText(const IText& text, const char* str, const IRECT& bounds,
                               const IBlend* pBlend)
{
  if (!str || !*str) return;
  PathTransformSave();
  DoDrawText(text, str, bounds, pBlend);
  PathTransformRestore();
}

void GraphicsContext::PathRadialLine(float cx, float cy, float angle, float rMin, float rMax)
{
  const float theta = (angle - 90.f) / 180.f * 3.1415927f;
  const float c = std::cos(theta);
  const float s = std::sin(theta);
  PathMoveTo(cx + rMin * c, cy + rMin * s);
  PathLineTo(cx + rMax * c, cy + rMax * s);
}

ECursor GraphicsContext::SetMouseCursor(ECursor cursorType)
{
  const ECursor old = mCursorType;
  mCursorType = cursorType;
  return old;
}

} // namespace kit::gfx
