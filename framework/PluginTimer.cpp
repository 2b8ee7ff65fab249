#include "framework/PluginTimer.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace kit
{

namespace
{

// Recursive: a tick may stop or create timers (an editor closing, a plug-in
// instance being made) while the registry lock is held by the tick itself.
struct Registry
{
  std::recursive_mutex lock;
  std::vector<Timer*> timers;
};

Registry& GetRegistry()
{
  static Registry registry;
  return registry;
}

} // namespace

void Timer::Register(Timer* timer)
{
  Registry& registry = GetRegistry();
  std::lock_guard guard(registry.lock);
  registry.timers.push_back(timer);
}

void Timer::Unregister(Timer* timer)
{
  Registry& registry = GetRegistry();
  std::lock_guard guard(registry.lock);
  std::erase(registry.timers, timer);
}

void Timer::Call(Timer& timer)
{
  // Ticks come from the host's idle calls or its message loop: an exception must not unwind into
  // the host. The tick is lost; the next one runs as usual.
  try
  {
    timer.mFunc(timer);
  }
  catch (...)
  {
  }
}

bool Timer::Fire(Timer* timer)
{
  Registry& registry = GetRegistry();
  std::lock_guard guard(registry.lock);
  if (std::find(registry.timers.begin(), registry.timers.end(), timer) == registry.timers.end())
    return false;
  Call(*timer);
  return true;
}

bool Timer::FireById(std::uintptr_t id)
{
  Registry& registry = GetRegistry();
  std::lock_guard guard(registry.lock);
  if (id == 0) return false;
  for (Timer* timer : registry.timers)
  {
    if (timer->mId == id)
    {
      Call(*timer);
      return true;
    }
  }
  return false;
}

} // namespace kit
