#include "graphics/IURLControl.h"

#include "graphics/GraphicsContext.h"

namespace kit::gfx
{

IURLControl::IURLControl(const IRECT& bounds, const char* str, const char* url, const IText& text,
                         const IColor& bgColor, const IColor& mouseOverColor,
                         const IColor& clickedColor)
    : ITextControl(bounds, str, text, bgColor), mURLStr(url ? url : ""),
      mOriginalColor(text.mFGColor), mMOColor(mouseOverColor), mCLColor(clickedColor)
{
  SetIgnoreMouse(false);
}

void IURLControl::Draw(GraphicsContext& g)
{
  const IRECT& r = GetRECT();
  g.FillRect(mBGColor, r, &GetBlend());

  IText text = GetText();
  text.mFGColor = GetMouseIsOver() ? mMOColor : (mClicked ? mCLColor : mOriginalColor);
  SetText(text);

  if (mStr.empty()) return;
  IRECT m;
  g.MeasureText(text, mStr.c_str(), m);
  const float w = m.R - m.L;
  const float h = m.B - m.T;

  float x1 = r.L, x2 = r.L + w;
  if (text.mAlign == EAlign::Center)
  {
    x1 = r.MW() + m.L;
    x2 = r.MW() + m.R;
  }
  else if (text.mAlign == EAlign::Far)
  {
    x1 = r.R - w;
    x2 = r.R;
  }
  float y = r.T + h;
  if (text.mVAlign == EVAlign::Middle)
    y = r.MH() + m.B;
  else if (text.mVAlign == EVAlign::Bottom)
    y = r.B;

  g.DrawLine(text.mFGColor, x1, y, x2, y, &GetBlend());
  g.DrawText(text, mStr.c_str(), r, &GetBlend());
}

void IURLControl::OnMouseDown(float /*x*/, float /*y*/, const IMouseMod& /*mod*/)
{
  if (GraphicsContext* pGraphics = GetUI())
  {
    pGraphics->OpenURL(mURLStr.c_str());
    pGraphics->ReleaseMouseCapture();
  }
  mClicked = true;
}

void IURLControl::OnMouseOver(float /*x*/, float /*y*/, const IMouseMod& /*mod*/)
{
  if (GraphicsContext* pGraphics = GetUI()) pGraphics->SetMouseCursor(ECursor::HAND);
  const bool wasOver = GetMouseIsOver();
  SetMouseIsOver(true);
  if (!wasOver) SetDirty(false);
}

void IURLControl::OnMouseOut()
{
  if (GraphicsContext* pGraphics = GetUI()) pGraphics->SetMouseCursor(ECursor::ARROW);
  const bool wasOver = GetMouseIsOver();
  SetMouseIsOver(false);
  if (wasOver) SetDirty(false);
}

} // namespace kit::gfx
