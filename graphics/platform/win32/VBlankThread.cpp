#include "graphics/platform/win32/VBlankThread.h"

namespace iplug::igraphics
{

std::atomic<int> VBlankThread::sLive{0};

namespace
{

// The kernel-thunk records, declared here because the driver development
// headers are not part of the toolchain. Layouts as the display driver
// interface defines them.
using KMTHandle = UINT;
using KMTStatus = LONG;

struct KMTOpenAdapterFromHdc
{
  HDC hDc;
  KMTHandle hAdapter;
  LUID AdapterLuid;
  UINT VidPnSourceId;
};

struct KMTCloseAdapter
{
  KMTHandle hAdapter;
};

struct KMTWaitForVerticalBlankEvent
{
  KMTHandle hAdapter;
  KMTHandle hDevice;
  UINT VidPnSourceId;
};

using OpenAdapterFromHdcFn = KMTStatus(APIENTRY*)(KMTOpenAdapterFromHdc*);
using CloseAdapterFn = KMTStatus(APIENTRY*)(const KMTCloseAdapter*);
using WaitForVerticalBlankFn = KMTStatus(APIENTRY*)(const KMTWaitForVerticalBlankEvent*);

constexpr DWORD kStopTimeoutMs = 10000;
constexpr DWORD kFallbackSleepMs = 16;
constexpr DWORD kAdapterRetryMs = 1000;

template <typename Fn>
Fn Lookup(HMODULE module, const char* name)
{
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

} // namespace

bool VBlankThread::Start(HWND window, HDC dc)
{
  Stop();
  mWindow = window;
  mDC = dc;
  mStop.store(false);
  mThread = CreateThread(nullptr, 0, &VBlankThread::ThreadProc, this, 0, nullptr);
  if (mThread) ++sLive;
  return mThread != nullptr;
}

void VBlankThread::Stop()
{
  if (!mThread) return;
  mStop.store(true, std::memory_order_release);
  WaitForSingleObject(mThread, kStopTimeoutMs);
  CloseHandle(mThread);
  mThread = nullptr;
  --sLive;
}

DWORD WINAPI VBlankThread::ThreadProc(LPVOID self)
{
  static_cast<VBlankThread*>(self)->Run();
  return 0;
}

void VBlankThread::Run()
{
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

  HMODULE gdi = LoadLibraryA("gdi32.dll");
  auto openAdapter = Lookup<OpenAdapterFromHdcFn>(gdi, "D3DKMTOpenAdapterFromHdc");
  auto closeAdapter = Lookup<CloseAdapterFn>(gdi, "D3DKMTCloseAdapter");
  auto waitBlank = Lookup<WaitForVerticalBlankFn>(gdi, "D3DKMTWaitForVerticalBlankEvent");
  const bool haveThunks = openAdapter && closeAdapter && waitBlank;
  mDriverWait.store(haveThunks, std::memory_order_release);

  bool adapterOpen = false;
  KMTWaitForVerticalBlankEvent wait{};
  DWORD lastAttempt = 0;
  bool attempted = false;

  while (!mStop.load(std::memory_order_acquire))
  {
    bool waited = false;
    if (haveThunks && !adapterOpen &&
        (!attempted || GetTickCount() - lastAttempt >= kAdapterRetryMs))
    {
      attempted = true;
      lastAttempt = GetTickCount();
      KMTOpenAdapterFromHdc open{};
      open.hDc = mDC;
      if (openAdapter(&open) == 0)
      {
        adapterOpen = true;
        wait.hAdapter = open.hAdapter;
        wait.hDevice = 0;
        wait.VidPnSourceId = open.VidPnSourceId;
      }
    }
    if (adapterOpen)
    {
      if (waitBlank(&wait) == 0)
        waited = true;
      else
      {
        const KMTCloseAdapter close{wait.hAdapter};
        closeAdapter(&close);
        adapterOpen = false;
      }
    }
    if (!waited) Sleep(kFallbackSleepMs);

    const uint32_t count = mCount.fetch_add(1, std::memory_order_acq_rel) + 1;
    PostMessageW(mWindow, kVBlankMessage, static_cast<WPARAM>(count), 0);
  }

  if (adapterOpen)
  {
    const KMTCloseAdapter close{wait.hAdapter};
    closeAdapter(&close);
  }
  if (gdi) FreeLibrary(gdi);
}

} // namespace iplug::igraphics
