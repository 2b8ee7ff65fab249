#include "framework/PluginTimer.h"

#include <chrono>

namespace kit
{

namespace
{

// Linux hosts have no timer to lend a plug-in: the binding polls this timer
// from the host's idle calls on the UI thread.
class PolledTimer final : public Timer
{
public:
  PolledTimer(ITimerFunction func, std::uint32_t intervalMs)
      : Timer(std::move(func), intervalMs), mLastTick(Clock::now())
  {
    Register(this);
  }

  ~PolledTimer() override { Stop(); }

  void Stop() override
  {
    if (mRunning)
    {
      Unregister(this);
      mRunning = false;
    }
  }

  void Poll() override
  {
    if (!mRunning) return;
    const Clock::time_point now = Clock::now();
    if (now - mLastTick < std::chrono::milliseconds(GetIntervalMs())) return;
    mLastTick = now;
    Fire(this);
  }

private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point mLastTick;
  bool mRunning = true;
};

} // namespace

std::unique_ptr<Timer> Timer::Create(ITimerFunction func, std::uint32_t intervalMs)
{
  return std::make_unique<PolledTimer>(std::move(func), intervalMs);
}

} // namespace kit
