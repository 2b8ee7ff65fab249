#pragma once

// A pop-up menu drawn inside the editor, for window systems without native
// menus. The platform attaches one per open editor as the graphics context's
// pop-up menu control and hands it each request; while it shows, the context
// routes every pointer and key event to it. It answers asynchronously through
// SetControlValueAfterPopupMenu: with the menu that holds the chosen item, or
// with null when dismissed.
//
// Pointer: hovering highlights, hovering an item with a sub-menu opens it, a
// press on an item chooses it, a press outside every open level dismisses.
// Keys: up/down move, right/Enter open a sub-menu, left/Escape close a level
// (Escape on the first level dismisses), Enter chooses.
//
// The first level hangs below the anchor, or above it when there is no room
// below; sub-menus open to the right of their item, or to the left.

#include "graphics/IControl.h"

#include <vector>

namespace kit::gfx
{

class IPopupMenu;

class DrawnPopupMenu : public IControl
{
public:
  DrawnPopupMenu();

  // Shows `menu` at `anchor` (logical pixels) in `style`: its font and size,
  // mFGColor for item text, mTextEntryBGColor for the highlighted row and
  // mTextEntryFGColor for the frame and highlighted text. [ui thread]
  void Open(IPopupMenu& menu, const IRECT& anchor, const IText& style);
  // Closes without answering (the request was replaced or the window closes).
  void Close();
  bool IsOpen() const { return !mLevels.empty(); }

  // Open levels (for tests and probes): the rectangle of each and its
  // highlighted item (-1 when none).
  int NLevels() const { return static_cast<int>(mLevels.size()); }
  IRECT GetLevelRect(int level) const;
  int GetHighlighted(int level) const;
  // The row of `item` in `level`, in logical pixels.
  IRECT GetItemRect(int level, int item) const;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float, float, const IMouseMod&, float) override {}
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;
  void Draw(GraphicsContext& g) override;
  bool IsHit(float, float) const override { return IsOpen(); }

private:
  struct Level
  {
    IPopupMenu* menu = nullptr;
    IRECT rect;
    int highlighted = -1;
  };

  void PushLevel(IPopupMenu& menu, const IRECT& anchor, bool beside);
  void PopLevelsAbove(int level);
  // The level and item under a point; false when outside every level.
  bool ItemAt(float x, float y, int& level, int& item) const;
  bool Selectable(const Level& level, int item) const;
  void MoveHighlight(int step);
  void Choose(int level, int item);
  void Finish(IPopupMenu* pChosen);
  // Everything under the menu's area needs drawing again once it changes.
  void Refresh();

  std::vector<Level> mLevels;
  IText mStyle;
  IRECT mCovered; // area drawn by the last frame
  float mRowHeight = 20.f;
};

} // namespace kit::gfx
