#pragma once

#include "controls/ControlBase.h"
#include "controls/Oscilloscope.h"
#include "controls/ScopeCursor.h"

#include <string>
#include <vector>

namespace kit::gfx
{
struct IKeyPress;
}

namespace qm::control
{

/** The oscilloscope's cursor read-out, a transparent layer over the scope: a thin vertical line at
 * the column under the pointer and a label beside it with the column's time and levels; on the
 * frozen view a click sets a reference cursor and the label adds the interval to it.
 *
 * It lies over the scope and takes the scope's pointer input, draws nothing while the pointer is
 * elsewhere and no reference is set, and is marked dirty only when what it shows moves: a still
 * pointer over a frozen view costs no frame. The label keeps out of `keepClear` (the legend).
 * Colours come from the style (theme): slot 1 the cursor, 10 the reference, 9 and 4 the label's
 * fill and frame, 8 and 7 the channel swatches; the text is the style's value text. */
class ScopeCursorControl : public ControlBase
{
public:
  using Scope = Oscilloscope<2>;

  ScopeCursorControl(Scope& scope, const IRECT& keepClear, const ControlStyle& style);

  void Draw(GraphicsContext& g) override;
  bool IsDirty() override;
  void Hide(bool hide) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  bool OnKeyDown(float x, float y, const kit::gfx::IKeyPress& key) override;

  /** Escape clears the reference cursor; false for every other key and when none is set, so
   * that the key goes on to the host. The editor routes keys pressed anywhere here. */
  bool HandleKey(const kit::gfx::IKeyPress& key);

  const ScopeCursor& GetCursor() const { return mCursor; }
  /** What the last Draw showed: the label's lines and rectangle (empty when it showed none). */
  const std::vector<std::string>& GetShownLines() const { return mShownLines; }
  const IRECT& GetShownLabel() const { return mShownLabel; }

private:
  void DrawLine(GraphicsContext& g, int column, const IColor& color, bool dotted);
  void DrawLabel(GraphicsContext& g, const std::vector<std::string>& lines);

  Scope& mScope;
  IRECT mKeepClear;
  ScopeCursor mCursor;
  float mPointerX = 0.f, mPointerY = 0.f;
  std::vector<std::string> mShownLines;
  IRECT mShownLabel;
};

} // namespace qm::control
