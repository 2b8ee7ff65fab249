#include "graphics/DisplayTick.h"

namespace kit::gfx
{

int DisplayTickTimerIntervalMs(int framesPerSecond)
{
  if (framesPerSecond <= 0) framesPerSecond = 60;
  const int interval = 1000 / framesPerSecond;
  return interval < 20 ? 15 : interval;
}

bool SupportsVBlankWaiter(unsigned major, unsigned minor)
{
  return major > 6 || (major == 6 && minor >= 2);
}

bool VBlankTickFilter::ShouldTick(uint32_t messageCount, uint32_t currentCount) const
{
  if (messageCount != currentCount) return false;
  // Counters wrap; compare by signed distance.
  if (mSkipping && static_cast<int32_t>(messageCount - mSkipThrough) <= 0) return false;
  return true;
}

void VBlankTickFilter::TickDone(uint32_t countAtStart, uint32_t countAtEnd)
{
  mSkipping = countAtEnd != countAtStart;
  mSkipThrough = countAtEnd;
}

} // namespace kit::gfx
