#include "graphics/platform/win32/VBlankThread.h"

namespace kit::gfx
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
  mState = std::make_shared<State>();
  mState->window = window;
  mState->dc = dc;
  auto* threadRef = new std::shared_ptr<State>(mState);
  ++sLive;
  mThread = CreateThread(nullptr, 0, &VBlankThread::ThreadProc, threadRef, 0, nullptr);
  if (!mThread)
  {
    --sLive;
    delete threadRef;
    mState.reset();
  }
  return mThread != nullptr;
}

void VBlankThread::Stop()
{
  if (!mThread) return;
  mState->stop.store(true, std::memory_order_release);
  WaitForSingleObject(mThread, kStopTimeoutMs);
  CloseHandle(mThread);
  mThread = nullptr;
  mState.reset();
}

DWORD WINAPI VBlankThread::ThreadProc(LPVOID state)
{
  std::unique_ptr<std::shared_ptr<State>> ref(static_cast<std::shared_ptr<State>*>(state));
  Run(**ref);
  ref.reset();
  --sLive;
  return 0;
}

void VBlankThread::Run(State& state)
{
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

  HMODULE gdi = LoadLibraryA("gdi32.dll");
  auto openAdapter = Lookup<OpenAdapterFromHdcFn>(gdi, "D3DKMTOpenAdapterFromHdc");
  auto closeAdapter = Lookup<CloseAdapterFn>(gdi, "D3DKMTCloseAdapter");
  auto waitBlank = Lookup<WaitForVerticalBlankFn>(gdi, "D3DKMTWaitForVerticalBlankEvent");
  const bool haveThunks = openAdapter && closeAdapter && waitBlank;
  state.driverWait.store(haveThunks, std::memory_order_release);

  bool adapterOpen = false;
  KMTWaitForVerticalBlankEvent wait{};
  DWORD lastAttempt = 0;
  bool attempted = false;

  while (!state.stop.load(std::memory_order_acquire))
  {
    bool waited = false;
    if (haveThunks && !adapterOpen &&
        (!attempted || GetTickCount() - lastAttempt >= kAdapterRetryMs))
    {
      attempted = true;
      lastAttempt = GetTickCount();
      KMTOpenAdapterFromHdc open{};
      open.hDc = state.dc;
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

    const uint32_t count = state.count.fetch_add(1, std::memory_order_acq_rel) + 1;
    PostMessageW(state.window, kVBlankMessage, static_cast<WPARAM>(count), 0);
  }

  if (adapterOpen)
  {
    const KMTCloseAdapter close{wait.hAdapter};
    closeAdapter(&close);
  }
  if (gdi) FreeLibrary(gdi);
}

} // namespace kit::gfx
