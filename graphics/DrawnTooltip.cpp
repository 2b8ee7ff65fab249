#include "graphics/DrawnTooltip.h"

#include "graphics/GraphicsContext.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kit::gfx
{
namespace
{

constexpr float kPadX = 6.f, kPadY = 3.f;
// The tip sits below and right of the pointer, clear of an arrow cursor.
constexpr float kOffsetX = 4.f, kOffsetY = 20.f;
constexpr float kMaxTextSize = 14.f;

} // namespace

DrawnTooltip::DrawnTooltip() : IControl(IRECT())
{
  IControl::Hide(true);
  SetIgnoreMouse(true);
}

double DrawnTooltip::SteadySeconds()
{
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void DrawnTooltip::Track(const IControl* pControl, float x, float y)
{
  const bool moved = x != mX || y != mY;
  mX = x;
  mY = y;
  if (pControl != mOver)
  {
    Vanish();
    mOver = pControl;
    mDismissed = false;
    mPending = pControl ? pControl->GetTooltip() : std::string();
    if (pControl) mStyle = pControl->GetText();
    mRestSince = mClock();
  }
  else if (moved && !IsShowing())
  {
    mRestSince = mClock();
  }
}

void DrawnTooltip::Dismiss()
{
  Vanish();
  mDismissed = true;
}

void DrawnTooltip::Leave()
{
  Vanish();
  mOver = nullptr;
  mPending.clear();
  mDismissed = false;
}

void DrawnTooltip::Tick()
{
  if (IsShowing() || mDismissed || mPending.empty()) return;
  if (mClock() - mRestSince >= kRestSeconds) Show();
}

void DrawnTooltip::Show()
{
  GraphicsContext* g = GetUI();
  if (!g) return;
  mText = mPending;
  mStyle.mSize = std::min(mStyle.mSize, kMaxTextSize);
  mStyle.mAlign = EAlign::Near;
  mStyle.mVAlign = EVAlign::Middle;
  mStyle.mAngle = 0.f;
  IRECT measured;
  const float w = std::ceil(g->MeasureText(mStyle, mText.c_str(), measured) + 2.f * kPadX);
  const float h = std::ceil(mStyle.mSize * 1.4f + 2.f * kPadY);
  const float editorW = static_cast<float>(g->Width()), editorH = static_cast<float>(g->Height());
  float l = std::clamp(std::round(mX + kOffsetX), 0.f, std::max(0.f, editorW - w));
  float t = std::round(mY + kOffsetY);
  // No room below the pointer: above it instead.
  if (t + h > editorH) t = std::max(0.f, std::round(mY - h - 2.f));
  l = std::max(l, 0.f);
  SetTargetAndDrawRECTs(IRECT(l, t, l + w, t + h));
  IControl::Hide(false);
  SetDirty(false);
}

void DrawnTooltip::Vanish()
{
  if (!IsShowing()) return;
  // What the tip covered needs its own pixels back.
  const IRECT covered = GetRECT();
  if (GraphicsContext* g = GetUI())
    g->ForAllControlsFunc(
        [&](IControl* pControl)
        {
          if (pControl != this && pControl->GetRECT().Intersects(covered))
            pControl->SetDirty(false);
        });
  IControl::Hide(true);
  mText.clear();
}

void DrawnTooltip::Draw(GraphicsContext& g)
{
  const IRECT& r = GetRECT();
  const IColor ink = mStyle.mTextEntryFGColor;
  g.FillRect(COLOR_WHITE, r);
  g.DrawRect(ink, r.GetOffset(0.5f, 0.5f, -0.5f, -0.5f));
  g.DrawText(mStyle.WithFGColor(ink), mText.c_str(), r.GetOffset(kPadX, 0.f, -kPadX, 0.f));
}

} // namespace kit::gfx
