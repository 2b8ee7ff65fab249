// Checks of the Windows platform pieces that need a real (or wine) system:
// module resources, the OpenGL context, the vertical-blank waiter and clean
// shutdown. Prints one line per failed check and exits non-zero on failure.

#include "graphics/DisplayTick.h"
#include "graphics/platform/win32/ModuleResources.h"
#include "graphics/platform/win32/VBlankThread.h"
#include "graphics/platform/win32/WGLContext.h"
#include "tests/win32/WinCheck.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace kit::gfx;

namespace
{

int ThreadCount()
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

HWND MakeWindow()
{
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered)
  {
    WNDCLASSW wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TrazelleWin32Check";
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowW(L"TrazelleWin32Check", L"check", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320,
                       200, nullptr, nullptr, instance, nullptr);
}

void CheckResources()
{
  HMODULE self = GetModuleHandleW(nullptr);
  const char* names[] = {"Roboto-Regular.ttf", "neuropol-x-rg.ttf", "Abel-Regular.ttf",
                         "forkawesome-webfont.ttf", "Quillmarsh_Logo_360x120.svg"};
  for (const char* name : names)
  {
    const auto bytes = FindModuleResource(self, name);
    CHECK(bytes.size() > 1000);
    std::string upper, type;
    ResourceNameAndType(name, "", upper, type);
    // Stored under the UK English language and found there exactly.
    CHECK(FindResourceExA(self, type.c_str(), upper.c_str(), kResourceLanguage) != nullptr);
  }
  // TrueType files start with version 1.0; the logo is XML.
  const auto roboto = FindModuleResource(self, "Roboto-Regular.ttf");
  CHECK(roboto.size() > 4 && roboto[0] == 0 && roboto[1] == 1);
  const auto logo = FindModuleResource(self, "Quillmarsh_Logo_360x120.svg");
  CHECK(logo.size() > 5 && std::memcmp(logo.data(), "<?xml", 5) == 0);
  // Names ignore folders and the default extension supplies a type.
  CHECK(FindModuleResource(self, "C:\\fonts\\Roboto-Regular.ttf").size() == roboto.size());
  CHECK(FindModuleResource(self, "Roboto-Regular", "ttf").size() == roboto.size());

  CHECK(FindModuleResource(self, "missing.ttf").empty());
  CHECK(FindModuleResource(self, "tiny.ttf").empty()); // 4 bytes count as missing

  // With no resource, the file on disk is used.
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  std::string file = std::string(path) + "tiny.ttf";
  FILE* f = std::fopen(file.c_str(), "wb");
  CHECK(f != nullptr);
  if (f)
  {
    std::fputs("not a resource, a file", f);
    std::fclose(f);
    CHECK(LoadResourceOrFile(self, file).size() == 22);
    DeleteFileA(file.c_str());
  }
  CHECK(LoadResourceOrFile(self, "Roboto-Regular.ttf").size() == roboto.size());
  CHECK(LoadResourceOrFile(self, "nowhere/missing.ttf").empty());
}

void CheckGLContext()
{
  HWND window = MakeWindow();
  CHECK(window != nullptr);
  HDC dc = GetDC(window);
  {
    WGLContext context;
    CHECK(context.Create(dc));
    CHECK(context.FunctionsLoaded());
    CHECK(WGLContext::LiveCount() == 1);
    int major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    CHECK(major * 10 + minor >= 32);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    CHECK(fbo != 0);
    glDeleteFramebuffers(1, &fbo);

    // Borrowing restores whatever was current before.
    wglMakeCurrent(nullptr, nullptr);
    CHECK(context.Activate());
    CHECK(wglGetCurrentContext() == context.Handle());
    context.Deactivate();
    CHECK(wglGetCurrentContext() == nullptr);
  }
  CHECK(WGLContext::LiveCount() == 0);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

void CheckVBlankThread()
{
  const int threadsBefore = ThreadCount();
  HWND window = MakeWindow();
  HDC dc = GetDC(window);
  for (int round = 0; round < 3; ++round)
  {
    VBlankThread waiter;
    CHECK(waiter.Start(window, dc));
    CHECK(VBlankThread::LiveCount() == 1);
    VBlankTickFilter filter;
    // Counts, not a stopwatch: wait for the messages however long the machine
    // takes (the cap only turns a waiter that never posts into a failure).
    int messages = 0, ticks = 0;
    for (int waits = 0; ticks < 3 && waits < 3000; ++waits)
    {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
      MSG msg;
      while (PeekMessageW(&msg, window, kVBlankMessage, kVBlankMessage, PM_REMOVE))
      {
        ++messages;
        const auto count = static_cast<uint32_t>(msg.wParam);
        if (filter.ShouldTick(count, waiter.Count()))
        {
          ++ticks;
          filter.TickDone(count, waiter.Count());
        }
      }
    }
    CHECK(ticks >= 3 && ticks <= messages);
    if (round == 0)
      std::printf("vblank waiter: %s, %d messages for %d ticks\n",
                  waiter.UsesDriverWait() ? "driver wait" : "sleep fallback", messages, ticks);
    waiter.Stop();
    CHECK(!waiter.IsRunning());
  }
  CHECK(VBlankThread::LiveCount() == 0);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  CHECK(ThreadCount() <= threadsBefore);
}

} // namespace

int main()
{
  CheckResources();
  CheckGLContext();
  CheckVBlankThread();
  CHECK(DisplayTickTimerIntervalMs(60) == 15);
  return WinCheckResult("trazelle_win32_check");
}
