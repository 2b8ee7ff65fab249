#include "graphics/DrawnPopupMenu.h"

#include "graphics/GraphicsContext.h"
#include "graphics/IPopupMenu.h"
#include "graphics/VirtualKeys.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{
namespace
{

constexpr float kPadding = 4.f;      // above the first and below the last row
constexpr float kMarkMargin = 18.f;  // left of the text: the check mark
constexpr float kArrowMargin = 18.f; // right of the text: the sub-menu arrow
constexpr float kShadow = 3.f;
constexpr float kMinWidth = 80.f;

} // namespace

DrawnPopupMenu::DrawnPopupMenu() : IControl(IRECT())
{
  // Hidden is what tells the graphics context that no menu is showing.
  IControl::Hide(true);
}

IRECT DrawnPopupMenu::GetLevelRect(int level) const
{
  return level >= 0 && level < NLevels() ? mLevels[static_cast<size_t>(level)].rect : IRECT();
}

int DrawnPopupMenu::GetHighlighted(int level) const
{
  return level >= 0 && level < NLevels() ? mLevels[static_cast<size_t>(level)].highlighted : -1;
}

IRECT DrawnPopupMenu::GetItemRect(int level, int item) const
{
  const IRECT r = GetLevelRect(level);
  const float top = r.T + kPadding + static_cast<float>(item) * mRowHeight;
  return IRECT(r.L + 1.f, top, r.R - 1.f, top + mRowHeight);
}

void DrawnPopupMenu::Open(IPopupMenu& menu, const IRECT& anchor, const IText& style)
{
  mLevels.clear();
  mStyle = style;
  mStyle.mAlign = EAlign::Near;
  mStyle.mVAlign = EVAlign::Middle;
  mStyle.mAngle = 0.f;
  mRowHeight = std::ceil(style.mSize * 1.6f);
  IControl::Hide(false);
  PushLevel(menu, anchor, false);
  Refresh();
}

void DrawnPopupMenu::Close()
{
  mLevels.clear();
  Refresh();
  IControl::Hide(true);
}

void DrawnPopupMenu::PushLevel(IPopupMenu& menu, const IRECT& anchor, bool beside)
{
  GraphicsContext* g = GetUI();
  float textWidth = 0.f;
  for (int i = 0; i < menu.NItems(); ++i)
  {
    IRECT measured;
    const std::string text = menu.GetDisplayText(i);
    if (g && !text.empty())
      textWidth = std::max(textWidth, g->MeasureText(mStyle, text.c_str(), measured));
  }
  const float w = std::ceil(std::max(kMinWidth, textWidth + kMarkMargin + kArrowMargin));
  const float h = kPadding * 2.f + static_cast<float>(menu.NItems()) * mRowHeight;
  const float editorW = g ? static_cast<float>(g->Width()) : anchor.R + w;
  const float editorH = g ? static_cast<float>(g->Height()) : anchor.B + h;

  float x = 0.f, y = 0.f;
  if (beside)
  {
    x = anchor.R - 2.f;
    if (x + w > editorW) x = anchor.L - w + 2.f;
    y = anchor.T - kPadding;
  }
  else
  {
    x = anchor.L;
    y = anchor.B;
    if (y + h > editorH) y = anchor.T - h; // no room below: open upward
  }
  x = std::max(0.f, std::min(x, editorW - w));
  y = std::max(0.f, std::min(y, editorH - h));
  mLevels.push_back({&menu, IRECT(x, y, x + w, y + h), -1});
}

void DrawnPopupMenu::PopLevelsAbove(int level)
{
  if (static_cast<int>(mLevels.size()) > level + 1)
  {
    mLevels.resize(static_cast<size_t>(level + 1));
    Refresh();
  }
}

bool DrawnPopupMenu::ItemAt(float x, float y, int& level, int& item) const
{
  // Deeper levels lie on top.
  for (int l = NLevels() - 1; l >= 0; --l)
  {
    const Level& lv = mLevels[static_cast<size_t>(l)];
    if (!lv.rect.Contains(x, y)) continue;
    level = l;
    const int row = static_cast<int>(std::floor((y - lv.rect.T - kPadding) / mRowHeight));
    item = row >= 0 && row < lv.menu->NItems() ? row : -1;
    return true;
  }
  return false;
}

bool DrawnPopupMenu::Selectable(const Level& level, int item) const
{
  const IPopupMenu::Item* it = level.menu->GetItem(item);
  return it && it->GetEnabled() && !it->GetIsSeparator();
}

void DrawnPopupMenu::OnMouseOver(float x, float y, const IMouseMod&)
{
  int level = -1, item = -1;
  if (!ItemAt(x, y, level, item)) return;
  Level& lv = mLevels[static_cast<size_t>(level)];
  const int highlighted = Selectable(lv, item) ? item : -1;
  if (highlighted == lv.highlighted && level == NLevels() - 1) return;
  lv.highlighted = highlighted;
  PopLevelsAbove(level);
  const IPopupMenu::Item* it = lv.menu->GetItem(highlighted);
  if (it && it->GetSubmenu()) PushLevel(*it->GetSubmenu(), GetItemRect(level, highlighted), true);
  Refresh();
}

void DrawnPopupMenu::OnMouseDrag(float x, float y, float, float, const IMouseMod& mod)
{
  OnMouseOver(x, y, mod);
}

void DrawnPopupMenu::OnMouseDown(float x, float y, const IMouseMod&)
{
  if (!IsOpen()) return;
  int level = -1, item = -1;
  if (!ItemAt(x, y, level, item))
  {
    mLevels.front().menu->SetChosenItemIdx(-1);
    Finish(nullptr);
    return;
  }
  if (Selectable(mLevels[static_cast<size_t>(level)], item)) Choose(level, item);
}

void DrawnPopupMenu::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  OnMouseDown(x, y, mod);
}

bool DrawnPopupMenu::OnKeyDown(float, float, const IKeyPress& key)
{
  if (!IsOpen()) return false;
  Level& lv = mLevels.back();
  const int level = NLevels() - 1;
  switch (key.VK)
  {
  case vk::kUp:
    MoveHighlight(-1);
    break;
  case vk::kDown:
    MoveHighlight(1);
    break;
  case vk::kRight:
  case vk::kReturn:
  case vk::kSpace:
  {
    const IPopupMenu::Item* it = lv.menu->GetItem(lv.highlighted);
    if (it && (it->GetSubmenu() || key.VK != vk::kRight)) Choose(level, lv.highlighted);
    break;
  }
  case vk::kLeft:
    if (level > 0) PopLevelsAbove(level - 1);
    break;
  case vk::kEscape:
    if (level > 0)
      PopLevelsAbove(level - 1);
    else
    {
      lv.menu->SetChosenItemIdx(-1);
      Finish(nullptr);
    }
    break;
  default:
    break;
  }
  // A showing menu owns the keyboard: nothing reaches the controls beneath.
  return true;
}

void DrawnPopupMenu::MoveHighlight(int step)
{
  Level& lv = mLevels.back();
  const int n = lv.menu->NItems();
  int i = lv.highlighted;
  for (int tries = 0; tries < n; ++tries)
  {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(lv, i))
    {
      lv.highlighted = i;
      break;
    }
  }
  Refresh();
}

void DrawnPopupMenu::Choose(int level, int item)
{
  Level& lv = mLevels[static_cast<size_t>(level)];
  lv.highlighted = item;
  IPopupMenu::Item* it = lv.menu->GetItem(item);
  if (!it) return;
  if (IPopupMenu* sub = it->GetSubmenu())
  {
    PopLevelsAbove(level);
    PushLevel(*sub, GetItemRect(level, item), true);
    MoveHighlight(1);
    return;
  }
  IPopupMenu* menu = lv.menu;
  menu->SetChosenItemIdx(item);
  if (menu->HasFunction()) menu->ExecFunction();
  Finish(menu);
}

void DrawnPopupMenu::Finish(IPopupMenu* pChosen)
{
  Close();
  if (GraphicsContext* g = GetUI()) g->SetControlValueAfterPopupMenu(pChosen);
}

void DrawnPopupMenu::Refresh()
{
  IRECT covered;
  for (const Level& lv : mLevels)
    covered = covered.Union(lv.rect.GetOffset(0.f, 0.f, kShadow, kShadow));
  const IRECT stale = mCovered.Union(covered);
  mCovered = covered;
  SetTargetAndDrawRECTs(covered);
  if (GraphicsContext* g = GetUI(); g && !stale.Empty())
  {
    g->ForAllControlsFunc(
        [&](IControl* pControl)
        {
          if (pControl != this && pControl->GetRECT().Intersects(stale)) pControl->SetDirty(false);
        });
  }
  SetDirty(false);
}

void DrawnPopupMenu::Draw(GraphicsContext& g)
{
  const IColor frame = mStyle.mTextEntryFGColor;
  const IColor highlight = mStyle.mTextEntryBGColor;
  for (int l = 0; l < NLevels(); ++l)
  {
    const Level& lv = mLevels[static_cast<size_t>(l)];
    const IRECT& r = lv.rect;
    g.FillRect(IColor(60, 0, 0, 0), r.GetTranslated(kShadow, kShadow));
    g.FillRect(COLOR_WHITE, r);
    for (int i = 0; i < lv.menu->NItems(); ++i)
    {
      const IPopupMenu::Item* it = lv.menu->GetItem(i);
      const IRECT row = GetItemRect(l, i);
      if (it->GetIsSeparator())
      {
        g.DrawLine(frame.WithAlpha(80), row.L + 4.f, row.MH(), row.R - 4.f, row.MH());
        continue;
      }
      const bool lit = i == lv.highlighted;
      if (lit) g.FillRect(highlight, row);
      IColor ink = lit ? frame : mStyle.mFGColor;
      if (!it->GetEnabled()) ink = ink.WithAlpha(90);
      if (it->GetChecked()) g.FillCircle(ink, row.L + kMarkMargin * 0.5f, row.MH(), 3.f);
      const std::string text = lv.menu->GetDisplayText(i);
      g.DrawText(mStyle.WithFGColor(ink), text.c_str(),
                 IRECT(row.L + kMarkMargin, row.T, row.R - kArrowMargin, row.B));
      if (it->GetSubmenu())
      {
        const float x = row.R - kArrowMargin * 0.5f, y = row.MH();
        g.FillTriangle(ink, x - 3.f, y - 4.f, x - 3.f, y + 4.f, x + 3.f, y);
      }
    }
    g.DrawRect(frame, r.GetOffset(0.5f, 0.5f, -0.5f, -0.5f));
  }
}

} // namespace kit::gfx
