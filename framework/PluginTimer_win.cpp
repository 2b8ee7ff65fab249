#include "framework/PluginTimer.h"

#include <windows.h>

namespace kit
{

namespace
{

// A thread timer without a window: it ticks in the message loop of the thread
// that created it (the host's UI thread) and finds its Timer by id.
class WinTimer final : public Timer
{
public:
  WinTimer(ITimerFunction func, std::uint32_t intervalMs) : Timer(std::move(func), intervalMs)
  {
    mId = ::SetTimer(nullptr, 0, intervalMs, TimerProc);
    if (mId != 0) Register(this);
  }

  ~WinTimer() override { Stop(); }

  void Stop() override
  {
    if (mId != 0)
    {
      // Unregister first: a tick already queued then finds nothing to call.
      Unregister(this);
      ::KillTimer(nullptr, mId);
      mId = 0;
    }
  }

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR idEvent, DWORD) { FireById(idEvent); }
};

} // namespace

std::unique_ptr<Timer> Timer::Create(ITimerFunction func, std::uint32_t intervalMs)
{
  return std::make_unique<WinTimer>(std::move(func), intervalMs);
}

} // namespace kit
