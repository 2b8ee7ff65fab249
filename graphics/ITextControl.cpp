#include "graphics/ITextControl.h"

#include "graphics/GraphicsContext.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kit::gfx
{

ITextControl::ITextControl(const IRECT& bounds, const char* str, const IText& text,
                           const IColor& bgColor)
    : IControl(bounds), mStr(str ? str : ""), mBGColor(bgColor)
{
  SetText(text);
  SetIgnoreMouse(true);
}

void ITextControl::Draw(GraphicsContext& g)
{
  g.FillRect(mBGColor, GetRECT(), &GetBlend());
  if (!mStr.empty() && g.GetControlInTextEntry() != this)
    g.DrawText(GetText(), mStr.c_str(), GetRECT(), &GetBlend());
}

void ITextControl::SizeToString()
{
  GraphicsContext* pGraphics = GetUI();
  if (!pGraphics) return;
  IRECT measured;
  pGraphics->MeasureText(GetText(), mStr.c_str(), measured);
  SetTargetAndDrawRECTs(GetRECT().GetCentredInside(measured.W(), measured.H()));
  SetMouseIsOver(false);
  OnResize();
}

void ITextControl::OnInit()
{
  if (mSizeToString) SizeToString();
}

void ITextControl::SetStr(const char* str)
{
  const char* s = str ? str : "";
  if (mStr == s) return;
  mStr = s;
  if (mSizeToString) SizeToString();
  SetDirty(false);
}

void ITextControl::SetStrFmt(int maxlen, const char* fmt, ...)
{
  mStr.clear();
  if (fmt && maxlen > 0)
  {
    std::vector<char> buf(static_cast<size_t>(maxlen) + 1);
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buf.data(), buf.size(), fmt, args);
    va_end(args);
    if (n >= 0) mStr = buf.data();
  }
  SetDirty(false);
}

} // namespace kit::gfx
