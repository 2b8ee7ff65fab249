#pragma once

// The vertical-blank waiter: a thread that sleeps until the display showing a
// window finishes a frame and then posts kVBlankMessage to that window, with
// the blank counter as WPARAM. It waits through the display driver's kernel
// thunks in gdi32.dll; where those are missing or fail it sleeps 16 ms per
// tick instead, so the window ticks at about 60 fps either way.
//
// The thread touches only its stop flag, its counter and the window handle.

#include "graphics/platform/win32/WinIncludes.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace kit::gfx
{

inline constexpr UINT kVBlankMessage = WM_USER + 1;

class VBlankThread
{
public:
  VBlankThread() = default;
  VBlankThread(const VBlankThread&) = delete;
  VBlankThread& operator=(const VBlankThread&) = delete;
  ~VBlankThread() { Stop(); }

  // Starts waiting for blanks of the adapter showing `dc` and posting to
  // `window`. [ui thread]
  bool Start(HWND window, HDC dc);

  // Sets the stop flag and waits up to 10 s for the thread to end. [ui thread]
  void Stop();

  bool IsRunning() const { return mThread != nullptr; }

  // The number of blanks (or fallback sleeps) so far. [any thread]
  uint32_t Count() const { return mState ? mState->count.load(std::memory_order_acquire) : 0; }

  // True once the thread has found the gdi32 thunks (false: sleep fallback).
  bool UsesDriverWait() const
  {
    return mState && mState->driverWait.load(std::memory_order_acquire);
  }

  // Waiter threads running in this process (leak checks).
  static int LiveCount() { return sLive.load(); }

private:
  // Shared with the thread, which keeps its own reference: a waiter that
  // outlives the 10 s stop timeout still touches only memory that exists.
  struct State
  {
    HWND window = nullptr;
    HDC dc = nullptr;
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> count{0};
    std::atomic<bool> driverWait{false};
  };

  static DWORD WINAPI ThreadProc(LPVOID state);
  static void Run(State& state);

  HANDLE mThread = nullptr;
  std::shared_ptr<State> mState;
  static std::atomic<int> sLive;
};

} // namespace kit::gfx
