#pragma once

// When a window's display tick fires. A window ticks either from a plain timer
// or from a thread that waits for the monitor's vertical blank and posts one
// message per blank. Those messages can pile up behind a slow frame; the
// filter below drops the stale ones so that a backlog costs one redraw, not
// one redraw per queued message.

#include <cstdint>

namespace kit::gfx
{

// Timer identifier the window uses for its display tick.
inline constexpr unsigned kDisplayTickTimerId = 2;

// Period of the display-tick timer for a frame rate: whole milliseconds per
// frame, except that anything under 20 ms runs at 15 ms (so 60 fps gives 15,
// 30 fps gives 33). A non-positive rate counts as 60 fps.
int DisplayTickTimerIntervalMs(int framesPerSecond);

// Whether a system version offers the vertical-blank wait: Windows 8 (6.2)
// or later, compared as a version (so 10.0 qualifies, 6.1 does not).
bool SupportsVBlankWaiter(unsigned major, unsigned minor);

// Decides which vertical-blank messages become display ticks. The waiter
// thread increments a counter per blank and posts the new value; the window
// passes each message's value and the counter's current value.
// [ui thread] (the counter itself is read atomically by the caller)
class VBlankTickFilter
{
public:
  // True when a message carrying `messageCount` should run a display tick.
  // Only the newest message counts, and after a tick that overran a blank the
  // messages up to the count seen when that tick ended are dropped too.
  bool ShouldTick(uint32_t messageCount, uint32_t currentCount) const;

  // Reports a finished tick: the counter when it started and when it ended.
  void TickDone(uint32_t countAtStart, uint32_t countAtEnd);

private:
  uint32_t mSkipThrough = 0;
  bool mSkipping = false;
};

} // namespace kit::gfx
