#pragma once

// A tooltip drawn inside the editor, for window systems without native ones.
// The platform attaches one as the graphics context's tooltip control when
// tooltips are enabled; the context then tells it where the pointer is and
// when it pressed or left, and lets it look at the clock on every display
// tick. The tip of the control under the pointer shows once the pointer has
// rested on that control for kRestSeconds; it hides when the pointer moves on
// to another control, leaves the window, or presses, turns the wheel or types,
// and stays hidden over that control until the pointer has been elsewhere.

#include "graphics/IControl.h"

#include <string>

namespace kit::gfx
{

class DrawnTooltip : public IControl
{
public:
  static constexpr double kRestSeconds = 0.5;
  // Seconds on a monotonic clock; replaceable so that tests need not wait.
  using Clock = double (*)();

  DrawnTooltip();

  void SetClock(Clock clock) { mClock = clock ? clock : &SteadySeconds; }

  // The pointer is over `pControl` (null: over nothing) at x, y. [ui thread]
  void Track(const IControl* pControl, float x, float y);
  // A press, wheel turn or key: the tip goes until the pointer finds another control.
  void Dismiss();
  // The pointer left the window.
  void Leave();
  // Shows the tip once the pointer has rested long enough.
  void Tick();

  bool IsShowing() const { return !IsHidden(); }
  const std::string& GetShownText() const { return mText; }

  void Draw(GraphicsContext& g) override;
  bool IsHit(float, float) const override { return false; }

private:
  static double SteadySeconds();
  void Show();
  void Vanish();

  Clock mClock = &SteadySeconds;
  const void* mOver = nullptr; // identity only, never dereferenced after Track
  std::string mPending;        // the tip of the control under the pointer
  IText mStyle;
  float mX = 0.f, mY = 0.f;
  double mRestSince = 0.0;
  bool mDismissed = false;
  std::string mText; // the tip showing
};

} // namespace kit::gfx
