#include "controls/ScopeCursorControl.h"

#include "graphics/GraphicsContext.h"
#include "graphics/VirtualKeys.h"

#include <algorithm>
#include <cmath>

namespace qm::control
{

using namespace kit::gfx;

namespace
{

constexpr float kPadding = 4.f;
constexpr float kLineSpacing = 2.f;
constexpr float kSwatchWidth = 6.f, kSwatchSpace = 10.f; // the channel's trace colour
constexpr uint8_t kFillAlpha = 230;

} // namespace

ScopeCursorControl::ScopeCursorControl(Scope& scope, const IRECT& keepClear,
                                       const ControlStyle& style)
    : ControlBase(scope.GetRECT(), nullptr, style, std::string()), mScope(scope),
      mKeepClear(keepClear)
{
  // A quick second click on the reference is still a click that clears it.
  SetDblAsSingleClick(true);
}

bool ScopeCursorControl::IsDirty()
{
  if (IsHidden()) return false;
  // The reference marks a moment of the frozen history; live, there is no such moment.
  if (!mScope.GetColumns().GetFrozen() && mCursor.ClearReference()) SetDirty(false);
  // The label reads the picture under it; the scope, attached before, has just said whether it
  // changes this frame.
  if (mCursor.HoverColumn() && mScope.PictureChanging()) SetDirty(false);
  return IControl::IsDirty();
}

void ScopeCursorControl::Hide(bool hide)
{
  if (hide) mCursor.Leave();
  ControlBase::Hide(hide);
}

void ScopeCursorControl::OnMouseOver(float x, float y, const IMouseMod&)
{
  SetMouseIsOver(true);
  const IRECT& r = GetRECT();
  const bool moved = x != mPointerX || y != mPointerY;
  mPointerX = x;
  mPointerY = y;
  const int column = ScopeCursor::ColumnAtX(x, r.L, mScope.GetColumns().GetColumnCount());
  if (mCursor.Hover(column) || moved) SetDirty(false);
}

void ScopeCursorControl::OnMouseOut()
{
  SetMouseIsOver(false);
  if (mCursor.Leave()) SetDirty(false);
}

void ScopeCursorControl::OnMouseDown(float x, float y, const IMouseMod& mod)
{
  const ScopeColumns& columns = mScope.GetColumns();
  if (mod.R || !columns.GetFrozen()) return;
  OnMouseOver(x, y, mod);
  const int column = ScopeCursor::ColumnAtX(x, GetRECT().L, columns.GetColumnCount());
  if (mCursor.Click(column, ScopeTimeBase::Of(columns))) SetDirty(false);
}

bool ScopeCursorControl::OnKeyDown(float, float, const IKeyPress& key)
{
  return HandleKey(key);
}

bool ScopeCursorControl::HandleKey(const IKeyPress& key)
{
  if (key.VK != vk::kEscape || !mCursor.ClearReference()) return false;
  SetDirty(false);
  return true;
}

void ScopeCursorControl::Draw(GraphicsContext& g)
{
  mShownLines.clear();
  mShownLabel = IRECT();
  const ScopeColumns& columns = mScope.GetColumns();
  const ScopeTimeBase base = ScopeTimeBase::Of(columns);
  if (const std::optional<int> reference = mCursor.ReferenceColumn(base))
    DrawLine(g, *reference, mStyle.Color(10), true);
  const std::optional<int> hover = mCursor.HoverColumn();
  if (!hover) return;
  DrawLine(g, *hover, mStyle.Color(1), false);
  DrawLabel(g, mCursor.Lines(base, columns));
}

void ScopeCursorControl::DrawLine(GraphicsContext& g, int column, const IColor& color, bool dotted)
{
  // Whole device pixels, so that the line stays one crisp stroke at every scale.
  const IRECT& r = GetRECT();
  const float scale = g.GetBackingPixelScale();
  const float width = std::max(1.f, std::round(scale));
  const float x = (std::floor(ScopeCursor::XOfColumn(column, r.L) * scale) + 0.5f * width) / scale;
  auto segment = [&](float top, float bottom)
  {
    if (bottom <= top) return;
    if (dotted)
      g.DrawDottedLine(color, x, top, x, bottom, nullptr, width / scale, 3.f);
    else
      g.DrawLine(color, x, top, x, bottom, nullptr, width / scale);
  };
  // The line passes behind what must stay readable, its frame included.
  const IRECT clear = mKeepClear.GetGrown(1.f);
  if (x + width / scale > clear.L && x - width / scale < clear.R)
  {
    segment(r.T, std::max(r.T, clear.T));
    segment(std::min(r.B, clear.B), r.B);
  }
  else
    segment(r.T, r.B);
}

void ScopeCursorControl::DrawLabel(GraphicsContext& g, const std::vector<std::string>& lines)
{
  const IText text = mStyle.valueText.WithAlign(EAlign::Near);
  const float lineHeight = text.mSize + kLineSpacing;
  float widest = 0.f;
  for (const std::string& line : lines)
  {
    IRECT measured;
    widest = std::max(widest, g.MeasureText(text, line.c_str(), measured));
  }
  const float w = std::ceil(widest + 2.f * kPadding + kSwatchSpace);
  const float h = std::ceil(float(lines.size()) * lineHeight + 2.f * kPadding);
  // The frame's stroke stays inside the scope too; the margins leave room for the box to move
  // onto whole device pixels, where its edges stay sharp.
  const IRECT placed = ScopeCursor::PlaceLabel(mPointerX, mPointerY, w, h, GetRECT().GetGrown(-1.f),
                                               mKeepClear.GetGrown(2.f));
  const float scale = g.GetBackingPixelScale();
  auto snap = [scale](float v) { return std::round(v * scale) / scale; };
  const IRECT label(snap(placed.L), snap(placed.T), snap(placed.R), snap(placed.B));

  g.FillRect(mStyle.Color(9).WithAlpha(kFillAlpha), label);
  g.DrawRect(mStyle.Color(4), label.GetGrown(-0.5f), nullptr, 1.f);
  float y = label.T + kPadding;
  for (const std::string& line : lines)
  {
    const IRECT row(label.L + kPadding + kSwatchSpace, y, label.R - kPadding, y + lineHeight);
    // Channel lines start with the channel's letter; a swatch of its trace colour goes before.
    if (line.size() > 2 && (line[0] == 'L' || line[0] == 'R') && line[1] == ' ')
      g.FillRect(mStyle.Color(line[0] == 'L' ? 8 : 7),
                 IRECT(label.L + kPadding, row.MH() - 1.f, label.L + kPadding + kSwatchWidth,
                       row.MH() + 1.f));
    g.DrawText(text, line.c_str(), row);
    y += lineHeight;
  }
  mShownLines = lines;
  mShownLabel = label;
}

} // namespace qm::control
