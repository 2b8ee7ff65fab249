#include "graphics/DrawnTextEntry.h"

#include "graphics/GraphicsContext.h"
#include "graphics/VirtualKeys.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{
namespace
{

constexpr float kInset = 3.f;

bool IsContinuation(char c)
{
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t NextBoundary(const std::string& s, size_t i)
{
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && IsContinuation(s[i]))
    ++i;
  return i;
}

size_t PrevBoundary(const std::string& s, size_t i)
{
  if (i == 0) return 0;
  --i;
  while (i > 0 && IsContinuation(s[i]))
    --i;
  return i;
}

size_t CodePoints(const std::string& s)
{
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuation(c); }));
}

char32_t FirstCodePoint(const char* utf8)
{
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  if (p[0] < 0x80) return p[0];
  if ((p[0] & 0xE0) == 0xC0) return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
  if ((p[0] & 0xF0) == 0xE0) return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
}

} // namespace

DrawnTextEntry::DrawnTextEntry() : IControl(IRECT())
{
  // Hidden is what tells the graphics context that no entry is active.
  IControl::Hide(true);
}

void DrawnTextEntry::Open(const IText& style, const IRECT& bounds, int paramType, int maxLength,
                          const char* str)
{
  mStyle = style;
  mStyle.mAngle = 0.f;
  mStyle.mVAlign = EVAlign::Middle;
  mBox = bounds;
  mParamType = paramType;
  mMaxLength = std::max(0, maxLength);
  mText = str ? str : "";
  mAnchor = 0;
  mCaret = mText.size();
  mScroll = 0.f;
  mSession.Begin();
  SetTargetAndDrawRECTs(bounds.GetGrown(1.f));
  IControl::Hide(false);
  Changed();
}

void DrawnTextEntry::Close()
{
  mSession.Reset();
  if (GraphicsContext* g = GetUI())
  {
    // The controls under the box show again.
    g->ForAllControlsFunc(
        [&](IControl* pControl)
        {
          if (pControl != this && pControl->GetRECT().Intersects(GetRECT()))
            pControl->SetDirty(false);
        });
  }
  IControl::Hide(true);
}

bool DrawnTextEntry::ProcessRequest()
{
  const TextEntryRequest request = mSession.TakeRequest();
  if (request != TextEntryRequest::Commit && request != TextEntryRequest::Cancel) return false;
  const std::string value = mText;
  Close();
  if (GraphicsContext* g = GetUI())
  {
    if (request == TextEntryRequest::Commit)
      g->SetControlValueAfterTextEdit(value.c_str());
    else
      g->ClearInTextEntryControl();
  }
  return true;
}

void DrawnTextEntry::OnMouseDown(float x, float y, const IMouseMod& mod)
{
  if (!IsOpen()) return;
  if (!mBox.Contains(x, y))
  {
    mSession.Request(TextEntryRequest::Commit);
    return;
  }
  MoveCaret(CaretForX(x), mod.S);
}

void DrawnTextEntry::OnMouseDrag(float x, float y, float, float, const IMouseMod&)
{
  if (IsOpen() && mBox.Contains(mBox.MW(), y)) MoveCaret(CaretForX(x), true);
}

void DrawnTextEntry::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  if (!IsOpen()) return;
  if (!mBox.Contains(x, y))
  {
    OnMouseDown(x, y, mod);
    return;
  }
  mAnchor = 0;
  mCaret = mText.size();
  Changed();
}

void DrawnTextEntry::OnMouseWheel(float, float, const IMouseMod&, float)
{
  mSession.Request(TextEntryRequest::Cancel);
}

bool DrawnTextEntry::OnKeyDown(float, float, const IKeyPress& key)
{
  if (!IsOpen()) return false;
  const TextEntryRequest request = TextEntryKeyRequest(key.VK);
  if (request != TextEntryRequest::None)
  {
    mSession.Request(request);
    return true;
  }
  GraphicsContext* g = GetUI();
  if (key.C && !key.A)
  {
    switch (key.VK)
    {
    case 'A':
      mAnchor = 0;
      mCaret = mText.size();
      Changed();
      break;
    case 'C':
    case 'X':
      if (HasSelection() && g)
      {
        const size_t from = std::min(mCaret, mAnchor), to = std::max(mCaret, mAnchor);
        g->SetTextInClipboard(mText.substr(from, to - from).c_str());
        if (key.VK == 'X') DeleteSelection();
      }
      break;
    case 'V':
    {
      std::string pasted;
      if (g && g->GetTextFromClipboard(pasted))
      {
        // One line, and only what this entry accepts.
        std::string accepted;
        for (size_t i = 0; i < pasted.size(); i = NextBoundary(pasted, i))
        {
          const std::string piece = pasted.substr(i, NextBoundary(pasted, i) - i);
          const char32_t ch = FirstCodePoint(piece.c_str());
          if (ch >= 0x20 && ch != 0x7F && TextEntryAcceptsChar(mParamType, ch)) accepted += piece;
        }
        Insert(accepted);
      }
      break;
    }
    default:
      break;
    }
    return true;
  }
  switch (key.VK)
  {
  case vk::kLeft:
    MoveCaret(HasSelection() && !key.S ? std::min(mCaret, mAnchor) : PrevBoundary(mText, mCaret),
              key.S);
    return true;
  case vk::kRight:
    MoveCaret(HasSelection() && !key.S ? std::max(mCaret, mAnchor) : NextBoundary(mText, mCaret),
              key.S);
    return true;
  case vk::kHome:
    MoveCaret(0, key.S);
    return true;
  case vk::kEnd:
    MoveCaret(mText.size(), key.S);
    return true;
  case vk::kBack:
  case vk::kDelete:
    if (!HasSelection())
      mAnchor = key.VK == vk::kBack ? PrevBoundary(mText, mCaret) : NextBoundary(mText, mCaret);
    DeleteSelection();
    return true;
  default:
    break;
  }
  const char32_t ch = FirstCodePoint(key.utf8);
  if (ch >= 0x20 && ch != 0x7F && TextEntryAcceptsChar(mParamType, ch)) Insert(key.utf8);
  // An open entry owns the keyboard, accepted or not.
  return true;
}

void DrawnTextEntry::DeleteSelection()
{
  const size_t from = std::min(mCaret, mAnchor), to = std::max(mCaret, mAnchor);
  mText.erase(from, to - from);
  mCaret = mAnchor = from;
  Changed();
}

void DrawnTextEntry::Insert(const std::string& text)
{
  if (text.empty()) return;
  DeleteSelection();
  std::string piece = text;
  if (mMaxLength > 0)
  {
    // Whole code points only, up to the limit.
    const size_t room =
        static_cast<size_t>(mMaxLength) - std::min<size_t>(CodePoints(mText), mMaxLength);
    size_t end = 0;
    for (size_t n = 0; n < room && end < piece.size(); ++n)
      end = NextBoundary(piece, end);
    piece.resize(end);
  }
  mText.insert(mCaret, piece);
  mCaret += piece.size();
  mAnchor = mCaret;
  Changed();
}

void DrawnTextEntry::MoveCaret(size_t to, bool extend)
{
  mCaret = std::min(to, mText.size());
  if (!extend) mAnchor = mCaret;
  Changed();
}

float DrawnTextEntry::Measure(size_t bytes)
{
  GraphicsContext* g = GetUI();
  if (!g || bytes == 0) return 0.f;
  IRECT r;
  return g->MeasureText(mStyle, mText.substr(0, bytes).c_str(), r);
}

float DrawnTextEntry::Origin()
{
  const float room = mBox.W() - 2.f * kInset;
  const float width = Measure(mText.size());
  if (width <= room)
  {
    if (mStyle.mAlign == EAlign::Center) return mBox.MW() - width * 0.5f;
    if (mStyle.mAlign == EAlign::Far) return mBox.R - kInset - width;
  }
  return mBox.L + kInset - mScroll;
}

size_t DrawnTextEntry::CaretForX(float x)
{
  const float origin = Origin();
  size_t best = 0;
  float bestDistance = std::fabs(x - origin);
  for (size_t i = NextBoundary(mText, 0); i <= mText.size(); i = NextBoundary(mText, i))
  {
    const float d = std::fabs(x - (origin + Measure(i)));
    if (d < bestDistance)
    {
      best = i;
      bestDistance = d;
    }
    if (i == mText.size()) break;
  }
  return best;
}

void DrawnTextEntry::Changed()
{
  // Scroll just enough to keep the caret inside the box.
  const float room = mBox.W() - 2.f * kInset;
  const float caret = Measure(mCaret);
  if (Measure(mText.size()) <= room)
    mScroll = 0.f;
  else if (caret - mScroll > room)
    mScroll = caret - room;
  else if (caret < mScroll)
    mScroll = caret;
  SetDirty(false);
}

void DrawnTextEntry::Draw(GraphicsContext& g)
{
  if (!IsOpen()) return;
  const IColor ink = mStyle.mTextEntryFGColor;
  g.FillRect(mStyle.mTextEntryBGColor, mBox);
  g.DrawRect(ink, mBox.GetOffset(0.5f, 0.5f, -0.5f, -0.5f));
  // The text scrolls under the frame, never over it.
  g.PathClipRegion(mBox.GetGrown(-1.f));
  const float origin = Origin();
  if (HasSelection())
  {
    const float a = TextX(std::min(mCaret, mAnchor)), b = TextX(std::max(mCaret, mAnchor));
    g.FillRect(ink.WithAlpha(64), IRECT(a, mBox.T + 2.f, b, mBox.B - 2.f));
  }
  const float width = Measure(mText.size());
  IText text = mStyle.WithFGColor(ink);
  text.mAlign = EAlign::Near;
  g.DrawText(text, mText.c_str(), IRECT(origin, mBox.T, origin + width + 1.f, mBox.B));
  const float caretX = std::round(origin + Measure(mCaret)) + 0.5f;
  g.DrawLine(ink, caretX, mBox.T + 3.f, caretX, mBox.B - 3.f);
}

} // namespace kit::gfx
