#include "tools/vsthost/EditorRun.h"
#include "tools/vsthost/ImportHooks_win.h"
#include "tools/vsthost/SavedSettings.h"
#include "tools/vsthost/TestTone.h"

#include "framework/VST2Interface.h"

#include <windows.h>

#include <GL/gl.h>
#include <tlhelp32.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kit::vst2;

namespace vsthost
{
namespace
{

CheckFunction gCheck = nullptr;

void Check(bool ok, const char* what)
{
  gCheck(ok, what);
}

// -------------------------------------------------------------------------------------------------
// What the plug-in asks of the system, seen through its import table.

struct SystemWatch
{
  int liveContexts = 0;
  int threadsCreated = 0;
  int swaps = 0;
  std::set<std::pair<HWND, UINT_PTR>> windowTimers;
  std::map<UINT_PTR, UINT> windowTimerPeriods; // by identifier, last period set
  std::set<UINT_PTR> threadTimers;

  bool captureRequested = false;
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
};

SystemWatch gWatch;

using CreateContextFn = HGLRC(WINAPI*)(HDC);
using DeleteContextFn = BOOL(WINAPI*)(HGLRC);
using GetProcAddressFn = PROC(WINAPI*)(LPCSTR);
using CreateContextAttribsFn = HGLRC(WINAPI*)(HDC, HGLRC, const int*);
using SwapBuffersFn = BOOL(WINAPI*)(HDC);
using SetTimerFn = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC);
using KillTimerFn = BOOL(WINAPI*)(HWND, UINT_PTR);
using CreateThreadFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE,
                                       LPVOID, DWORD, LPDWORD);

CreateContextFn gCreateContext = nullptr;
DeleteContextFn gDeleteContext = nullptr;
GetProcAddressFn gGetProcAddress = nullptr;
CreateContextAttribsFn gCreateContextAttribs = nullptr;
SwapBuffersFn gSwapBuffers = nullptr;
SetTimerFn gSetTimer = nullptr;
KillTimerFn gKillTimer = nullptr;
CreateThreadFn gCreateThread = nullptr;

HGLRC WINAPI WatchCreateContext(HDC dc)
{
  HGLRC context = gCreateContext(dc);
  if (context) ++gWatch.liveContexts;
  return context;
}

HGLRC WINAPI WatchCreateContextAttribs(HDC dc, HGLRC share, const int* attribs)
{
  HGLRC context = gCreateContextAttribs(dc, share, attribs);
  if (context) ++gWatch.liveContexts;
  return context;
}

BOOL WINAPI WatchDeleteContext(HGLRC context)
{
  const BOOL ok = gDeleteContext(context);
  if (ok) --gWatch.liveContexts;
  return ok;
}

PROC WINAPI WatchGetProcAddress(LPCSTR name)
{
  PROC proc = gGetProcAddress(name);
  if (proc && std::strcmp(name, "wglCreateContextAttribsARB") == 0)
  {
    gCreateContextAttribs = reinterpret_cast<CreateContextAttribsFn>(reinterpret_cast<void*>(proc));
    return reinterpret_cast<PROC>(reinterpret_cast<void*>(&WatchCreateContextAttribs));
  }
  return proc;
}

// GL draw calls per presented frame: the plug-in's glDrawArrays (the only draw call of its
// NanoVG renderer), totalled at each buffer swap.
struct DrawWatch
{
  long long draws = 0, atLastSwap = 0, frames = 0, inFrames = 0, most = 0;
  long long mostSinceMark = 0; // most in one frame since the caller last reset it
};
DrawWatch gDraws;
using DrawArraysFn = void(WINAPI*)(GLenum, GLint, GLsizei);
DrawArraysFn gDrawArrays = nullptr;

void WINAPI WatchDrawArrays(GLenum mode, GLint first, GLsizei count)
{
  ++gDraws.draws;
  gDrawArrays(mode, first, count);
}

void NoteFrameDraws()
{
  const long long frame = gDraws.draws - gDraws.atLastSwap;
  gDraws.atLastSwap = gDraws.draws;
  ++gDraws.frames;
  gDraws.inFrames += frame;
  gDraws.most = frame > gDraws.most ? frame : gDraws.most;
  gDraws.mostSinceMark = frame > gDraws.mostSinceMark ? frame : gDraws.mostSinceMark;
}

// The plug-in's context is current while it swaps: read its finished frame.
BOOL WINAPI WatchSwapBuffers(HDC dc)
{
  ++gWatch.swaps;
  NoteFrameDraws();
  if (gWatch.captureRequested)
  {
    RECT r{};
    GetClientRect(WindowFromDC(dc), &r);
    gWatch.width = r.right;
    gWatch.height = r.bottom;
    gWatch.pixels.assign(static_cast<size_t>(r.right) * r.bottom * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, r.right, r.bottom, GL_RGBA, GL_UNSIGNED_BYTE, gWatch.pixels.data());
    gWatch.captureRequested = false;
  }
  return gSwapBuffers(dc);
}

UINT_PTR WINAPI WatchSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc)
{
  const UINT_PTR result = gSetTimer(window, id, period, proc);
  if (result && window)
  {
    gWatch.windowTimers.insert({window, id});
    gWatch.windowTimerPeriods[id] = period;
  }
  if (result && !window) gWatch.threadTimers.insert(result);
  return result;
}

BOOL WINAPI WatchKillTimer(HWND window, UINT_PTR id)
{
  if (window)
    gWatch.windowTimers.erase({window, id});
  else
    gWatch.threadTimers.erase(id);
  return gKillTimer(window, id);
}

HANDLE WINAPI WatchCreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack,
                                LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                LPDWORD id)
{
  HANDLE thread = gCreateThread(attributes, stack, start, parameter, flags, id);
  if (thread) ++gWatch.threadsCreated;
  return thread;
}

template <typename Fn>
void Hook(HMODULE module, const char* dll, const char* name, Fn replacement, Fn& original)
{
  void* previous = PatchImport(module, dll, name, reinterpret_cast<void*>(replacement));
  if (previous) original = reinterpret_cast<Fn>(previous);
}

void HookPlugin(HMODULE module)
{
  Hook(module, "opengl32.dll", "wglCreateContext", &WatchCreateContext, gCreateContext);
  Hook(module, "opengl32.dll", "wglDeleteContext", &WatchDeleteContext, gDeleteContext);
  Hook(module, "opengl32.dll", "wglGetProcAddress", &WatchGetProcAddress, gGetProcAddress);
  Hook(module, "gdi32.dll", "SwapBuffers", &WatchSwapBuffers, gSwapBuffers);
  Hook(module, "user32.dll", "SetTimer", &WatchSetTimer, gSetTimer);
  Hook(module, "user32.dll", "KillTimer", &WatchKillTimer, gKillTimer);
  Hook(module, "kernel32.dll", "CreateThread", &WatchCreateThread, gCreateThread);
  Hook(module, "opengl32.dll", "glDrawArrays", &WatchDrawArrays, gDrawArrays);
}

int LiveThreads()
{
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int n = 0;
  for (BOOL ok = Thread32First(snap, &entry); ok; ok = Thread32Next(snap, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++n;
  CloseHandle(snap);
  return n;
}

int CountThreadWindows()
{
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND, LPARAM counter) -> BOOL
      {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

int CountChildWindows(HWND parent)
{
  int n = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM counter) -> BOOL
      {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

// -------------------------------------------------------------------------------------------------
// The host side: a window, real-time audio, message pumping.

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

constexpr double kSampleRate = 48000.0;
constexpr int kBlock = 512;

// The editor's display ticks as the host's message loop sees them: its
// vertical-blank message, or its window timer 2 before Windows 8.
constexpr UINT kVBlankTick = WM_USER + 1;
constexpr UINT_PTR kTickTimer = 2;
constexpr int kTicksPerSecond = 60;

// The run's clock is the editor's own display ticks, not the wall clock: each
// tick makes 1/60 s of audio due, and every wait counts ticks or waits for
// what it needs, so a slow or loaded machine sees exactly the same run.
struct Host
{
  AEffect* plug = nullptr;
  HWND parent = nullptr;
  HWND editor = nullptr;
  long long ticks = 0;
  long long blocksDone = 0;
  TestTone tone{kSampleRate, kBlock};

  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f)
  {
    return plug->dispatcher(plug, op, index, value, ptr, opt);
  }

  // Processes the blocks that the ticks so far have made due: a 220 Hz sine at
  // half scale on the left, 330 Hz at quarter scale on the right.
  void FeedAudio()
  {
    const auto due = static_cast<long long>(ticks * (kSampleRate / kTicksPerSecond) / kBlock);
    for (; blocksDone < due; ++blocksDone)
      tone.PlayBlock(plug);
  }

  // Dispatches one message, or waits for one when none is queued (false).
  // One message at a time, so that audio follows every tick.
  bool PumpOne()
  {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      return false;
    }
    if (editor && msg.hwnd == editor &&
        (msg.message == kVBlankTick || (msg.message == WM_TIMER && msg.wParam == kTickTimer)))
      ++ticks;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    FeedAudio();
    return true;
  }

  // Runs until `until` holds. Only a loop that gets no message at all for a
  // long stretch gives up (and the check that follows fails).
  template <typename Condition>
  void PumpUntil(Condition until)
  {
    for (int idle = 0; !until() && idle < 600;)
      idle = PumpOne() ? 0 : idle + 1;
  }

  // Runs for `n` display ticks of the open editor.
  void Pump(int n)
  {
    const long long end = ticks + n;
    PumpUntil([&] { return ticks >= end; });
  }

  // Dispatches what is queued without waiting for more (the editor is closed).
  void Settle()
  {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  bool OpenEditor()
  {
    editor = nullptr;
    if (Dispatch(effEditOpen, 0, 0, parent) != 1) return false;
    editor = FindWindowExW(parent, nullptr, L"PluginWndClass", nullptr);
    return editor != nullptr;
  }
};

// -------------------------------------------------------------------------------------------------
// Frames

struct Frame
{
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;

  bool Valid() const { return w > 0 && h > 0 && rgba.size() == static_cast<size_t>(w) * h * 4; }
  // Editor coordinates (top-left origin); GL rows run bottom-up.
  const uint8_t* At(int x, int y) const
  {
    return &rgba[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
  }
  bool Near(int x, int y, int r, int g, int b, int tolerance = 12) const
  {
    const uint8_t* p = At(x, y);
    return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
           std::abs(p[2] - b) <= tolerance;
  }
  int Count(int l, int t, int r, int b, int red, int green, int blue, int tolerance) const
  {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x)
        n += Near(x, y, red, green, blue, tolerance) ? 1 : 0;
    return n;
  }
  int CountDark(int l, int t, int r, int b) const
  {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x)
      {
        const uint8_t* p = At(x, y);
        n += p[0] + p[1] + p[2] < 300 ? 1 : 0;
      }
    return n;
  }
  int Differences(const Frame& o, int l, int t, int r, int b) const
  {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x)
        n += std::memcmp(At(x, y), o.At(x, y), 3) != 0 ? 1 : 0;
    return n;
  }
};

Frame Capture(Host& host)
{
  gWatch.captureRequested = true;
  gWatch.pixels.clear();
  InvalidateRect(host.editor, nullptr, FALSE);
  host.PumpUntil([] { return !gWatch.captureRequested; });
  Frame frame;
  if (!gWatch.captureRequested)
  {
    frame.w = gWatch.width;
    frame.h = gWatch.height;
    frame.rgba = std::move(gWatch.pixels);
  }
  gWatch.captureRequested = false;
  return frame;
}

// -------------------------------------------------------------------------------------------------
// Mouse input, as the system would deliver it to the editor's window.

LPARAM Position(int x, int y)
{
  return MAKELPARAM(x, y);
}

void Click(HWND w, int x, int y)
{
  SendMessageW(w, WM_MOUSEMOVE, 0, Position(x, y));
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Position(x, y));
  SendMessageW(w, WM_LBUTTONUP, 0, Position(x, y));
}

void DragVertically(HWND w, int x, int y, int distance)
{
  SendMessageW(w, WM_MOUSEMOVE, 0, Position(x, y));
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Position(x, y));
  const int step = distance < 0 ? -4 : 4;
  for (int moved = step; std::abs(moved) <= std::abs(distance); moved += step)
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Position(x, y + moved));
  SendMessageW(w, WM_LBUTTONUP, 0, Position(x, y + distance));
}

void Wheel(HWND w, int x, int y, int amount)
{
  POINT p{x, y};
  ClientToScreen(w, &p);
  SendMessageW(w, WM_MOUSEMOVE, 0, Position(x, y));
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(amount)), MAKELPARAM(p.x, p.y));
}

std::map<std::string, double> SavedSettings(Host& host)
{
  return vsthost::SavedSettings(host.plug);
}

// -------------------------------------------------------------------------------------------------
// The checks

// Editor coordinates of what the run operates and probes (100 % zoom).
constexpr int kFreezeX = 328, kFreezeY = 392;
constexpr int kZoomX = 440, kZoomY = 392;
constexpr int kDurationX = 504, kDurationY = 392;
constexpr int kLogoX = 767, kLogoY = 24;
// The scope without the legend box; the meter; the blue theme's trace colours.
constexpr int kScopeL = 150, kScopeT = 48, kScopeR = 832, kScopeB = 304;
constexpr int kLeftTrace[3] = {11, 85, 139};
constexpr int kRightTrace[3] = {56, 178, 230};

int TracePixels(const Frame& f, const int (&colour)[3])
{
  return f.Count(kScopeL, kScopeT, kScopeR, kScopeB, colour[0], colour[1], colour[2], 24);
}

bool SystemHasVBlankWait()
{
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  auto fn = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!fn || fn(&info) != 0) return false;
  return info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2);
}

void Step(const char* what)
{
  std::printf("editor run: %s\n", what);
  std::fflush(stdout);
}

void CheckPicture(Host& host)
{
  Step("running picture");
  // A pointer resting on the scope adds the cursor read-out, which follows the picture: this run
  // measures the picture alone.
  SetCursorPos(1270, 1010);
  host.Pump(90);
  const Frame live1 = Capture(host);
  // Frames of the running picture alone (a capture redraws the whole window): the scope and the
  // meter change, the controls around them are composed from stored layers.
  const DrawWatch before = gDraws;
  gDraws.mostSinceMark = 0;
  host.Pump(18);
  const long long running = gDraws.frames - before.frames;
  const double runningMean =
      running > 0 ? double(gDraws.inFrames - before.inFrames) / double(running) : 0.0;
  if (gDrawArrays && running > 0)
    std::printf("editor run: running picture: GL draw calls per frame: mean %.1f, max %lld over "
                "%lld frames\n",
                runningMean, gDraws.mostSinceMark, running);
  Check(!gDrawArrays || (running > 0 && runningMean <= 32.0),
        "a running frame redraws the scope and the meter, not the controls around them");
  const Frame live2 = Capture(host);
  Check(live1.Valid() && live1.w == 832 && live1.h == 464, "editor frame captured at 832 x 464");
  if (!live1.Valid() || !live2.Valid() || live1.w != 832 || live1.h != 464) return;

  Check(live1.Near(20, 440, 255, 255, 255) && live1.Near(810, 330, 255, 255, 255),
        "white background around the panel");
  Check(live1.Near(3, 24, 179, 228, 246, 16), "title bar starts in the blue theme's tint");
  Check(live1.Near(820, 6, 255, 255, 255), "title bar ends in white");
  Check(live1.CountDark(734, 13, 800, 35) > 20, "logo drawn in the title bar");
  Check(TracePixels(live1, kLeftTrace) > 100, "left trace in the theme's dark shade");
  Check(TracePixels(live1, kRightTrace) > 100, "right trace in the theme's accent");
  Check(live1.Count(56, 379, 248, 405, kLeftTrace[0], kLeftTrace[1], kLeftTrace[2], 24) > 20,
        "meter shows the input level");
  Check(live1.Differences(live2, 0, 48, 832, 304) > 200, "running picture moves");

  Step("freeze");
  Click(host.editor, kFreezeX, kFreezeY);
  host.Pump(30);
  const Frame frozen1 = Capture(host);
  host.Pump(36);
  const Frame frozen2 = Capture(host);
  Check(frozen1.Valid() && frozen2.Valid(), "frozen frames captured");
  if (frozen1.Valid() && frozen2.Valid())
  {
    Check(frozen1.Differences(frozen2, 0, 48, 832, 304) <= 10, "frozen picture stands still");
    Check(TracePixels(frozen2, kLeftTrace) > 100, "frozen picture still shows the traces");
    Check(frozen2.Count(56, 379, 248, 405, kLeftTrace[0], kLeftTrace[1], kLeftTrace[2], 24) > 20,
          "meter keeps its level while frozen");
    Check(frozen1.Differences(frozen2, 56, 379, 248, 405) <= 10, "meter holds still while frozen");
  }
  Click(host.editor, kFreezeX, kFreezeY); // running again
  host.Pump(18);

  // The about page: the logo opens it over the lower part, a click closes it.
  Step("about page");
  Click(host.editor, kLogoX, kLogoY);
  host.Pump(18);
  const Frame about = Capture(host);
  Check(about.Valid() && TracePixels(about, kLeftTrace) < 10 && about.Near(416, 130, 255, 255, 255),
        "about page covers the scope");
  Check(about.Valid() && about.CountDark(371, 173, 461, 203) > 20, "about page shows the logo");
  Click(host.editor, 416, 130);
  host.Pump(30);
  const Frame back = Capture(host);
  Check(back.Valid() && TracePixels(back, kLeftTrace) > 100,
        "closing the about page shows the scope");
}

void CheckControls(Host& host)
{
  const auto before = SavedSettings(host);
  Check(before.count("gain") && before.count("envelope_mode_duration"), "settings blob decodes");

  Step("controls");
  DragVertically(host.editor, kZoomX, kZoomY, -40);
  host.Pump(12);
  Wheel(host.editor, kDurationX, kDurationY, 60); // half a notch: no step
  Wheel(host.editor, kDurationX, kDurationY, 120);
  host.Pump(12);

  const auto after = SavedSettings(host);
  if (after.count("gain") && after.count("envelope_mode_duration"))
    std::printf("editor run: gain %.4f -> %.4f, envelope duration %.4f -> %.4f\n",
                before.at("gain"), after.at("gain"), before.at("envelope_mode_duration"),
                after.at("envelope_mode_duration"));
  Check(after.count("gain") && after.at("gain") > before.at("gain") + 0.01,
        "dragging v. zoom upward raises the gain");
  // The knob's gearing of 4 takes one notch from 3/7 to the top of its range.
  Check(after.count("envelope_mode_duration") && after.at("envelope_mode_duration") == 1.0,
        "one wheel notch over duration moves the envelope duration to its top");
  Check(after.count("waveform_mode_duration") &&
            after.at("waveform_mode_duration") == before.at("waveform_mode_duration"),
        "the other mode's duration stays");
}

void CheckTickSource(Host& host, int threadsBefore)
{
  const bool vblank = SystemHasVBlankWait();
  const bool timer2 = gWatch.windowTimers.count({host.editor, 2}) == 1;
  if (vblank)
    Check(!timer2 && gWatch.threadsCreated > threadsBefore,
          "Windows 8 and later: the editor ticks from its vertical-blank thread");
  else
    Check(timer2 && gWatch.windowTimerPeriods[2] == 15,
          "before Windows 8: the editor ticks from timer 2 every 15 ms");
  std::printf("editor display tick: %s\n", vblank ? "vertical-blank thread" : "timer 2");
}

} // namespace

void RunEditorChecks(EntryPoint entry, CheckFunction check)
{
  gCheck = check;
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(entry)), &module);
  HookPlugin(module);
  Check(gCreateContext && gSwapBuffers && gSetTimer && gCreateThread,
        "the plug-in's system imports can be watched");

  Host host;
  host.plug = entry(&HostCallback);
  Check(host.plug != nullptr, "plug-in created for the editor run");
  if (!host.plug) return;
  host.Dispatch(effOpen);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  host.Dispatch(effSetBlockSize, 0, kBlock);
  host.Dispatch(effMainsChanged, 0, 1);

  ERect* rect = nullptr;
  host.Dispatch(effEditGetRect, 0, 0, &rect);
  Check(rect && rect->right - rect->left == 832 && rect->bottom - rect->top == 464,
        "editor rectangle 832 x 464");

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrazelleTestHost";
  RegisterClassW(&wc);
  RECT frame{0, 0, 832, 464};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  host.parent = CreateWindowW(L"TrazelleTestHost", L"Trazelle test host",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
  Check(host.parent != nullptr, "host window created");

  const int windowsBefore = CountThreadWindows();
  const int threadsCreatedBefore = gWatch.threadsCreated;
  Check(host.OpenEditor(), "effEditOpen puts the editor into the host's window");
  if (host.editor)
  {
    RECT client{};
    GetClientRect(host.editor, &client);
    Check(client.right == 832 && client.bottom == 464, "editor window is 832 x 464 pixels");
    Check(gWatch.liveContexts == 1, "one OpenGL context while the editor is open");
    CheckTickSource(host, threadsCreatedBefore);
    CheckPicture(host);
    CheckControls(host);
  }
  Check(host.Dispatch(effEditClose) == 1, "effEditClose answers 1");
  host.Settle();
  // Wine may start helper threads of its own on first use; count from here.
  const int threadsAfterFirst = LiveThreads();

  Step("open and close ten times");
  bool allOpened = true;
  for (int i = 0; i < 10; ++i)
  {
    allOpened = host.OpenEditor() && allOpened;
    host.Pump(6);
    host.Dispatch(effEditClose);
  }
  host.Settle();
  Check(allOpened, "the editor opens ten times in a row");
  Check(CountChildWindows(host.parent) == 0, "no editor window left in the host's window");
  Check(CountThreadWindows() <= windowsBefore, "no stray top-level window left");
  Check(gWatch.liveContexts == 0, "no OpenGL context left");
  Check(gWatch.windowTimers.empty(), "no window timer left");
  Check(LiveThreads() <= threadsAfterFirst, "no thread left behind");
  std::printf("editor run: %d buffer swaps, %d threads started by the plug-in\n", gWatch.swaps,
              gWatch.threadsCreated);
  if (gDrawArrays && gDraws.frames > 0)
    std::printf("editor run: GL draw calls per frame: mean %.1f, max %lld over %lld frames\n",
                double(gDraws.inFrames) / double(gDraws.frames), gDraws.most, gDraws.frames);
  // One draw per column pair would be 1663 per channel; the traces take a handful, the rest of a
  // frame is the grids, labels and meter around them.
  Check(gDrawArrays && gDraws.frames > 0 && gDraws.most < 1000,
        "GL draw calls per frame stay far below one per scope column");

  host.Dispatch(effMainsChanged, 0, 0);
  host.Dispatch(effClose);
  Check(gWatch.threadTimers.empty(), "closing the plug-in stops its editor timer");
  DestroyWindow(host.parent);
}

} // namespace vsthost
