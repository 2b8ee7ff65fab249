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

namespace iplug::igraphics
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
  uint32_t Count() const { return mCount.load(std::memory_order_acquire); }

  // True once the thread has found the gdi32 thunks (false: sleep fallback).
  bool UsesDriverWait() const { return mDriverWait.load(std::memory_order_acquire); }

  // Waiter threads started and not yet ended in this process (leak checks).
  static int LiveCount() { return sLive.load(); }

private:
  static DWORD WINAPI ThreadProc(LPVOID self);
  void Run();

  HANDLE mThread = nullptr;
  HWND mWindow = nullptr;
  HDC mDC = nullptr;
  std::atomic<bool> mStop{false};
  std::atomic<uint32_t> mCount{0};
  std::atomic<bool> mDriverWait{false};
  static std::atomic<int> sLive;
};

} // namespace iplug::igraphics
