#pragma once

// The editor's periodic timer. It ticks on the thread that created it (the
// host's UI thread). Windows gives a plug-in a thread timer; Linux hosts give
// none, so there the host's idle calls drive it through Poll.
//
// Every live timer is in one process-wide registry guarded by one lock; a
// tick looks its timer up and runs the callback while holding the lock, so a
// timer being stopped on another thread can never fire half-destroyed.

#include <cstdint>
#include <functional>
#include <memory>

namespace kit
{

class Timer
{
public:
  using ITimerFunction = std::function<void(Timer&)>;

  // [ui thread] Starts a timer that calls func every intervalMs.
  static std::unique_ptr<Timer> Create(ITimerFunction func, std::uint32_t intervalMs);

  virtual ~Timer() = default;

  // [ui thread] Stops ticking; the destructor stops too.
  virtual void Stop() = 0;

  // [ui thread] Where no system timer exists, ticks when the interval has
  // passed since the last tick; elsewhere does nothing.
  virtual void Poll() {}

  std::uint32_t GetIntervalMs() const { return mIntervalMs; }

protected:
  Timer(ITimerFunction func, std::uint32_t intervalMs)
      : mFunc(std::move(func)), mIntervalMs(intervalMs)
  {
  }

  // The registry: a platform adds a timer while it runs and removes it when it
  // stops. Fire calls the timer's function under the lock if it is still
  // registered and returns whether it was.
  static void Register(Timer* timer);
  static void Unregister(Timer* timer);
  static bool Fire(Timer* timer);
  // Finds a registered timer by its platform id and fires it.
  static bool FireById(std::uintptr_t id);

  std::uintptr_t mId = 0; // the platform's id for this timer, 0 when none

private:
  static void Call(Timer& timer);

  ITimerFunction mFunc;
  std::uint32_t mIntervalMs;
};

} // namespace kit
