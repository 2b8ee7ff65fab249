#pragma once

#include "controls/SliderControl.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qm::control
{

class OverMarks;

/** The position slider under the oscilloscope, which also shows where overs lie in the history:
 * a thin red tick per mark at its time, the oldest frame at the left end of the track and the
 * newest at the right, as the handle maps the shown window.
 *
 * A double-click within kMarkReach pixels of a tick hands that mark to the owner (which scrolls
 * the view to it); any other click or double-click is the slider's. */
class PositionStrip : public SliderControl<1>
{
public:
  /** Receives the chosen mark's history index and the history's size at that moment. */
  using MarkFunction = std::function<void(int64_t index, int64_t historySize)>;

  static constexpr float kMarkReach = 4.f;

  PositionStrip(const IRECT& bounds, IActionFunction action, const ControlStyle& style);

  /** [ui thread] The marks to show (null: none) and what a double-click on one does. */
  void SetMarks(const OverMarks* marks, MarkFunction onMark);

  bool IsDirty() override;                                               // [ui thread]
  void Draw(GraphicsContext& g) override;                                // [ui thread]
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override; // [ui thread]

  /** [ui thread] The x of every tick as drawn now, oldest mark first. */
  const std::vector<float>& CollectTicks();

private:
  const OverMarks* mMarks = nullptr;
  MarkFunction mOnMark;
  std::vector<float> mTicks;
  std::vector<float> mDrawnTicks;
};

} // namespace qm::control
