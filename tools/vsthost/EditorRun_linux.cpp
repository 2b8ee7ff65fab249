// The editor run on Linux: the test host opens a top-level X window as the
// editor's parent, plays the user through XTest, reads the editor back with
// XGetImage and counts what closing leaves behind. Run on a private X server
// without a window manager (scripts/test-linux-editor). Every wait polls for
// a condition with a generous bound; none relies on a delay being long enough.

#include "tools/vsthost/EditorRun.h"
#include "tools/vsthost/SavedSettings.h"
#include "tools/vsthost/TestTone.h"

#include "framework/VST2Interface.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <dirent.h>
#include <dlfcn.h>
#include <time.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
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

void Step(const char* what)
{
  std::printf("editor run: %s\n", what);
  std::fflush(stdout);
}

constexpr double kSampleRate = 48000.0;
constexpr int kBlock = 512;
constexpr double kIdlePeriod = 1.0 / 60.0;
constexpr double kPatience = 20.0; // upper bound of every wait, in seconds

double Now(clockid_t clock = CLOCK_MONOTONIC)
{
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct SizeRequests
{
  int count = 0;
  int width = 0, height = 0;
};

Display* gDisplay = nullptr;
Window gParent = 0;
SizeRequests gSizeRequests;

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*, float)
{
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterSizeWindow)
  {
    // A host resizes its plug-in window to what the editor asks.
    ++gSizeRequests.count;
    gSizeRequests.width = index;
    gSizeRequests.height = static_cast<int>(value);
    if (gDisplay && gParent && index > 0 && value > 0)
    {
      XResizeWindow(gDisplay, gParent, static_cast<unsigned>(index), static_cast<unsigned>(value));
      XFlush(gDisplay);
    }
    return 1;
  }
  return 0;
}

struct Frame
{
  int w = 0, h = 0;
  std::vector<uint8_t> rgb; // top row first

  bool Valid() const { return w > 0 && h > 0; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * w + x) * 3]; }
  bool Near(int x, int y, int r, int g, int b, int tolerance = 12) const
  {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    const uint8_t* p = At(x, y);
    return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
           std::abs(p[2] - b) <= tolerance;
  }
  int Count(int l, int t, int r, int b, const int (&c)[3], int tolerance = 24) const
  {
    int n = 0;
    for (int y = std::max(t, 0); y < std::min(b, h); ++y)
      for (int x = std::max(l, 0); x < std::min(r, w); ++x)
        n += Near(x, y, c[0], c[1], c[2], tolerance) ? 1 : 0;
    return n;
  }
  int CountDark(int l, int t, int r, int b) const
  {
    int n = 0;
    for (int y = t; y < std::min(b, h); ++y)
      for (int x = l; x < std::min(r, w); ++x)
      {
        const uint8_t* p = At(x, y);
        n += p[0] + p[1] + p[2] < 300 ? 1 : 0;
      }
    return n;
  }
  int Differences(const Frame& o, int l, int t, int r, int b) const
  {
    int n = 0;
    for (int y = t; y < std::min(b, h); ++y)
      for (int x = l; x < std::min(r, w); ++x)
        n += std::memcmp(At(x, y), o.At(x, y), 3) != 0 ? 1 : 0;
    return n;
  }
};

struct Host
{
  AEffect* plug = nullptr;
  Display* display = nullptr;
  Window parent = 0;
  Window editor = 0;
  Damage damage = 0;
  int damageEvent = 0;
  double startTime = 0.0;
  double nextIdle = 0.0;
  long long blocksDone = 0;
  TestTone tone{kSampleRate, kBlock};

  // Measurement of idle calls: how many, how many drew, process CPU time in them.
  long idleCalls = 0;
  long framesDrawn = 0;
  double idleCpu = 0.0;

  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f)
  {
    return plug->dispatcher(plug, op, index, value, ptr, opt);
  }

  // A fresh plug-in, switched on for 48 kHz in blocks of kBlock.
  bool Start(EntryPoint entry)
  {
    plug = entry(&HostCallback);
    if (!plug) return false;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
    return true;
  }

  // Plays the blocks of the test tone that real time has made due.
  void FeedAudio()
  {
    const auto due = static_cast<long long>((Now() - startTime) * kSampleRate / kBlock);
    for (; blocksDone < due; ++blocksDone)
      tone.PlayBlock(plug);
  }

  // Presented frames of the editor since the last call: every frame replaces
  // the whole window, which X DAMAGE reports as one rectangle the window's size.
  // The editor's connection is not ordered with ours, so a frame may be counted
  // one call late; the totals over a run are exact.
  int TakeFrames()
  {
    int frames = 0;
    XSync(display, False);
    XEvent event;
    while (XCheckTypedEvent(display, damageEvent + XDamageNotify, &event))
    {
      const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
      frames += notify.area.x == 0 && notify.area.y == 0 &&
                        notify.area.width == notify.geometry.width &&
                        notify.area.height == notify.geometry.height
                    ? 1
                    : 0;
    }
    return frames;
  }

  void Idle()
  {
    const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
    Dispatch(effEditIdle);
    idleCpu += Now(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    ++idleCalls;
    if (damage) framesDrawn += TakeFrames();
  }

  // Audio in real time and effEditIdle at 60 Hz, as a Linux host's GUI thread does.
  void Pump(double seconds)
  {
    const double end = Now() + seconds;
    while (Now() < end)
    {
      FeedAudio();
      if (Now() >= nextIdle)
      {
        Idle();
        nextIdle = std::max(nextIdle + kIdlePeriod, Now() - kIdlePeriod);
      }
      timespec nap{0, 1000000};
      nanosleep(&nap, nullptr);
    }
  }

  bool WaitFor(const std::function<bool()>& condition)
  {
    const double end = Now() + kPatience;
    while (!condition())
    {
      if (Now() > end) return false;
      Pump(0.02);
    }
    return true;
  }

  bool OpenEditor()
  {
    editor = 0;
    if (Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 1) return false;
    XSync(display, False);
    Window root = 0, parentOfParent = 0, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &n) && n == 1)
      editor = children[0];
    if (children) XFree(children);
    return editor != 0;
  }

  void WatchEditor()
  {
    damage = editor ? XDamageCreate(display, editor, XDamageReportRawRectangles) : 0;
  }

  Frame Capture()
  {
    Frame f;
    XSync(display, False);
    XWindowAttributes a{};
    if (!editor || !XGetWindowAttributes(display, editor, &a) || a.map_state != IsViewable)
      return f;
    XImage* image = XGetImage(display, editor, 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!image) return f;
    f.w = a.width;
    f.h = a.height;
    f.rgb.resize(static_cast<size_t>(f.w) * f.h * 3);
    for (int y = 0; y < f.h; ++y)
      for (int x = 0; x < f.w; ++x)
      {
        const unsigned long p = XGetPixel(image, x, y);
        uint8_t* out = &f.rgb[(static_cast<size_t>(y) * f.w + x) * 3];
        out[0] = static_cast<uint8_t>((p & image->red_mask) >> __builtin_ctzl(image->red_mask));
        out[1] = static_cast<uint8_t>((p & image->green_mask) >> __builtin_ctzl(image->green_mask));
        out[2] = static_cast<uint8_t>((p & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
      }
    XDestroyImage(image);
    return f;
  }

  // A frame that satisfies `condition`, waiting for the editor to draw it. The
  // last frame seen is kept in out/ when none does, for the one reading the log.
  Frame CaptureWhen(const std::function<bool(const Frame&)>& condition, bool& ok)
  {
    Frame f;
    ok = WaitFor(
        [&]
        {
          f = Capture();
          return f.Valid() && condition(f);
        });
    if (!ok && f.Valid()) Save(f);
    return f;
  }

  static void Save(const Frame& f)
  {
    static int n = 0;
    const std::string path = "out/editor-run-failed-" + std::to_string(++n) + ".ppm";
    if (FILE* file = std::fopen(path.c_str(), "wb"))
    {
      std::fprintf(file, "P6\n%d %d\n255\n", f.w, f.h);
      std::fwrite(f.rgb.data(), 1, f.rgb.size(), file);
      std::fclose(file);
      std::printf("editor run: last frame written to %s\n", path.c_str());
    }
  }

  // XTest input at editor coordinates (device pixels).
  void MoveTo(int x, int y)
  {
    int rx = 0, ry = 0;
    Window child = 0;
    XTranslateCoordinates(display, editor, DefaultRootWindow(display), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(display, -1, rx, ry, CurrentTime);
    XFlush(display);
  }
  void Button(unsigned button, bool down)
  {
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    XFlush(display);
  }
  void Click(int x, int y)
  {
    MoveTo(x, y);
    Button(1, true);
    Button(1, false);
    Pump(0.05);
  }
};

std::map<std::string, double> SavedSettings(Host& host)
{
  return vsthost::SavedSettings(host.plug);
}

double Setting(Host& host, const char* name)
{
  const auto s = SavedSettings(host);
  const auto it = s.find(name);
  return it == s.end() ? -1.0 : it->second;
}

// -------------------------------------------------------------------------------------------------
// What is left behind

int CountEntries(const char* dir)
{
  int n = 0;
  if (DIR* d = opendir(dir))
  {
    while (const dirent* e = readdir(d))
      n += e->d_name[0] != '.' ? 1 : 0;
    closedir(d);
  }
  return n;
}

int CountChildren(Display* display, Window window)
{
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  XQueryTree(display, window, &root, &parent, &children, &n);
  if (children) XFree(children);
  return static_cast<int>(n);
}

// -------------------------------------------------------------------------------------------------
// The checks. Editor coordinates at 100 %, as the layout places the controls.

constexpr int kFreezeX = 328, kFreezeY = 392;
constexpr int kZoomX = 440, kZoomY = 392;
constexpr int kDurationX = 504, kDurationY = 392;
constexpr int kLogoX = 767, kLogoY = 24;
constexpr int kThemeX = 728, kThemeY = 376;
constexpr int kScaleX = 728, kScaleY = 408;
// The drawn menus' rows: value text 15 px high, rows 1.6 times that, 4 px above
// the first row. Both menus sit too close to the bottom edge to hang below
// their anchor, so they open upward.
constexpr int kMenuRow = 24, kMenuPad = 4;
constexpr int kScopeL = 150, kScopeT = 48, kScopeR = 832, kScopeB = 304;
constexpr int kBlueLeft[3] = {11, 85, 139};
constexpr int kBlueRight[3] = {56, 178, 230};
constexpr int kBlueTint[3] = {179, 228, 246};
constexpr int kOrangeTint[3] = {255, 224, 175};
constexpr int kOrangeAccent[3] = {255, 166, 12};

// Device pixels of a row's middle at a backing scale.
int MenuRowY(int anchorY, int items, int row, double scale = 1.0)
{
  const double top = anchorY - scale * (2 * kMenuPad + items * kMenuRow);
  return static_cast<int>(top + scale * (kMenuPad + row * kMenuRow + kMenuRow / 2));
}

void Measure(Host& host, const char* label)
{
  host.Pump(0.5);
  host.idleCalls = host.framesDrawn = 0;
  host.idleCpu = 0.0;
  const double start = Now();
  host.Pump(3.0);
  const double seconds = Now() - start;
  std::printf("editor run: %s: %.1f idle calls/s, %.1f frames drawn/s, %.3f ms CPU per idle call\n",
              label, host.idleCalls / seconds, host.framesDrawn / seconds,
              host.idleCalls ? 1000.0 * host.idleCpu / host.idleCalls : 0.0);
}

void CheckPicture(Host& host)
{
  Step("running picture");
  bool ok = false;
  const Frame live1 = host.CaptureWhen(
      [](const Frame& f) { return f.Count(kScopeL, kScopeT, kScopeR, kScopeB, kBlueLeft) > 100; },
      ok);
  Check(ok && live1.w == 832 && live1.h == 464, "editor draws the scope at 832 x 464");
  if (!ok) return;
  host.Pump(0.3);
  const Frame live2 = host.Capture();
  Check(live1.Near(3, 24, kBlueTint[0], kBlueTint[1], kBlueTint[2], 16),
        "title bar starts in the blue theme's tint");
  Check(live1.Near(820, 6, 255, 255, 255), "title bar ends in white");
  Check(live1.Count(kScopeL, kScopeT, kScopeR, kScopeB, kBlueRight) > 100,
        "right trace in the theme's accent");
  Check(live2.Valid() && live1.Differences(live2, 0, 48, 832, 304) > 200, "running picture moves");

  Step("freeze");
  host.Click(kFreezeX, kFreezeY);
  // Frozen: two frames a while apart show the same scope.
  Frame frozen1;
  const bool frozen = host.WaitFor(
      [&]
      {
        frozen1 = host.Capture();
        host.Pump(0.4);
        const Frame frozen2 = host.Capture();
        return frozen1.Valid() && frozen2.Valid() &&
               frozen1.Differences(frozen2, 0, 48, 832, 304) <= 10;
      });
  Check(frozen, "the freeze click stops the picture");
  Check(frozen1.Count(kScopeL, kScopeT, kScopeR, kScopeB, kBlueLeft) > 100,
        "the frozen picture still shows the traces");
  if (frozen) Measure(host, "scope frozen at 100 % (baseline)");
  // A few pixels aside: the same spot twice in a row would be a double click.
  host.Click(kFreezeX + 6, kFreezeY);
  const bool running = host.WaitFor(
      [&]
      {
        const Frame a = host.Capture();
        host.Pump(0.3);
        const Frame b = host.Capture();
        return a.Valid() && b.Valid() && a.Differences(b, 0, 48, 832, 304) > 200;
      });
  Check(running, "a second click lets the picture run again");

  Step("about page");
  host.Click(kLogoX, kLogoY);
  host.CaptureWhen(
      [](const Frame& f)
      {
        return f.Count(kScopeL, kScopeT, kScopeR, kScopeB, kBlueLeft) < 10 &&
               f.Near(416, 130, 255, 255, 255);
      },
      ok);
  Check(ok, "the logo opens the about page over the scope");
  host.Click(416, 130);
  host.CaptureWhen([](const Frame& f)
                   { return f.Count(kScopeL, kScopeT, kScopeR, kScopeB, kBlueLeft) > 100; },
                   ok);
  Check(ok, "a click closes the about page");
}

void CheckControls(Host& host)
{
  Step("controls");
  const double gain = Setting(host, "gain");
  const double duration = Setting(host, "envelope_mode_duration");
  host.MoveTo(kZoomX, kZoomY);
  host.Pump(0.05);
  host.Button(1, true);
  for (int moved = 4; moved <= 40; moved += 4)
  {
    host.MoveTo(kZoomX, kZoomY - moved);
    host.Pump(0.02);
  }
  host.Button(1, false);
  Check(host.WaitFor([&] { return Setting(host, "gain") > gain + 0.01; }),
        "dragging v. zoom upward raises the gain");

  host.MoveTo(kDurationX, kDurationY);
  host.Pump(0.05);
  host.Button(4, true);
  host.Button(4, false);
  // The knob's gearing of 4 takes one notch from 3/7 to the top of its range.
  Check(host.WaitFor([&] { return Setting(host, "envelope_mode_duration") == 1.0; }),
        "one wheel notch over duration moves the envelope duration to its top");
  std::printf("editor run: gain %.4f -> %.4f, envelope duration %.4f -> %.4f\n", gain,
              Setting(host, "gain"), duration, Setting(host, "envelope_mode_duration"));
}

// Opens a drawn menu, hovers `row`, checks the highlight and chooses it.
bool ChooseFromMenu(Host& host, int anchorX, int anchorY, int items, int row, const int (&tint)[3],
                    double scale = 1.0)
{
  anchorX = static_cast<int>(anchorX * scale);
  anchorY = static_cast<int>(anchorY * scale);
  host.Click(anchorX, anchorY);
  const int x = anchorX + static_cast<int>(30 * scale);
  const int y = MenuRowY(anchorY, items, row, scale);
  bool ok = false;
  // The menu's white rows appear above the anchor (probed right of the item texts).
  host.CaptureWhen(
      [&](const Frame& f)
      {
        const int probe = anchorX + static_cast<int>(70 * scale);
        return f.Near(probe, MenuRowY(anchorY, items, 0, scale), 255, 255, 255, 3) &&
               f.Near(probe, y, 255, 255, 255, 3);
      },
      ok);
  if (!ok) return false;
  host.MoveTo(x, y);
  host.CaptureWhen(
      [&](const Frame& f)
      { return f.Near(anchorX + static_cast<int>(4 * scale), y, tint[0], tint[1], tint[2], 16); },
      ok);
  if (!ok) return false;
  host.Button(1, true);
  host.Button(1, false);
  return true;
}

// The editor at 150 % on a 96 dpi screen: what 144 dpi at 100 % must look like.
Frame gAt150;

void CheckMenus(Host& host)
{
  Step("theme menu");
  Check(ChooseFromMenu(host, kThemeX, kThemeY, 4, 1, kBlueTint),
        "the theme menu opens upward and highlights the row under the pointer");
  Check(host.WaitFor([&] { return Setting(host, "theme") == 1.0; }),
        "the theme menu chooses orange");
  bool ok = false;
  host.CaptureWhen(
      [](const Frame& f)
      {
        return f.Near(3, 24, kOrangeTint[0], kOrangeTint[1], kOrangeTint[2], 16) &&
               f.Count(kScopeL, kScopeT, kScopeR, kScopeB, kOrangeAccent) > 100;
      },
      ok);
  Check(ok, "title bar and scope in the orange theme");

  Step("scale menu");
  const int before = gSizeRequests.count;
  Check(ChooseFromMenu(host, kScaleX, kScaleY, 6, 5, kOrangeTint),
        "the scale menu opens upward and highlights the row under the pointer");
  XWindowAttributes a{};
  Check(host.WaitFor(
            [&]
            {
              XGetWindowAttributes(host.display, host.editor, &a);
              return a.width == 1248 && a.height == 696;
            }),
        "150 % makes the editor window 1248 x 696");
  Check(gSizeRequests.count > before && gSizeRequests.width == 1248 && gSizeRequests.height == 696,
        "the host was asked for 1248 x 696 (audioMasterSizeWindow)");
  ERect* rect = nullptr;
  host.Dispatch(effEditGetRect, 0, 0, &rect);
  Check(rect && rect->right - rect->left == 1248 && rect->bottom - rect->top == 696,
        "effEditGetRect reports 1248 x 696");
  gAt150 = host.CaptureWhen(
      [](const Frame& f)
      {
        return f.w == 1248 && f.Near(5, 36, kOrangeTint[0], kOrangeTint[1], kOrangeTint[2], 16) &&
               f.Count(225, 72, 1248, 456, kOrangeAccent) > 150;
      },
      ok);
  Check(ok, "the editor draws at 150 %");
}

// Freezes the picture with a click at `scale` and measures idle calls while it stands still.
void MeasureFrozen(Host& host, double scale, const char* label)
{
  const int x = static_cast<int>(kFreezeX * scale), y = static_cast<int>(kFreezeY * scale);
  host.Click(x, y);
  const bool frozen = host.WaitFor(
      [&]
      {
        const Frame a = host.Capture();
        host.Pump(0.4);
        const Frame b = host.Capture();
        return a.Valid() && b.Valid() && a.Differences(b, 0, 0, a.w, a.h) <= 10;
      });
  Check(frozen, "a click on freeze stops the picture at the new scale");
  if (frozen) Measure(host, label);
  host.Click(x + 6, y);
}

// The screen's scale from Xft.dpi in the root window's resources, as a desktop
// sets it: 144 dpi draws a fresh editor at 1.5 times its size, fractions kept.
void CheckScreenScale(Host& host, EntryPoint entry)
{
  Step("Xft.dpi 144");
  Display* d = host.display;
  const Window root = DefaultRootWindow(d);
  const char resources[] = "Xft.dpi:\t144\nXft.antialias:\t1\n";
  XChangeProperty(d, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources), sizeof(resources) - 1);
  XResizeWindow(d, host.parent, 832, 464);
  XSync(d, False);

  Check(host.Start(entry), "a second plug-in created");
  if (!host.plug) return;
  const int before = gSizeRequests.count;
  Check(host.OpenEditor(), "the editor opens at Xft.dpi 144");
  XWindowAttributes a{};
  XGetWindowAttributes(d, host.editor, &a);
  Check(a.width == 1248 && a.height == 696, "Xft.dpi 144 makes the editor window 1248 x 696");
  ERect* rect = nullptr;
  host.Dispatch(effEditGetRect, 0, 0, &rect);
  Check(rect && rect->right - rect->left == 1248 && rect->bottom - rect->top == 696,
        "effEditGetRect follows the screen scale");
  Check(gSizeRequests.count > before && gSizeRequests.width == 1248,
        "the host was asked for the scaled size");
  bool ok = false;
  host.CaptureWhen(
      [](const Frame& f)
      {
        return f.w == 1248 && f.Near(5, 36, kBlueTint[0], kBlueTint[1], kBlueTint[2], 16) &&
               f.Count(225, 72, 1248, 456, kBlueLeft) > 150;
      },
      ok);
  Check(ok, "the editor draws at 1.5 times its size");
  // The drawn menus at the fractional scale; then the title bar, text included, must match the
  // one drawn at 150 % on a 96 dpi screen, where an upscaled picture would blur every edge.
  Check(ChooseFromMenu(host, kThemeX, kThemeY, 4, 1, kBlueTint, 1.5),
        "the theme menu answers the pointer at Xft.dpi 144");
  const Frame f = host.CaptureWhen(
      [](const Frame& f)
      { return f.w == 1248 && f.Near(5, 36, kOrangeTint[0], kOrangeTint[1], kOrangeTint[2], 16); },
      ok);
  const int differ = ok && gAt150.w == 1248 ? f.Differences(gAt150, 0, 0, 1248, 70) : -1;
  std::printf("editor run: title bar at Xft.dpi 144 vs. 150 %%: %d of %d pixels differ\n", differ,
              1248 * 70);
  Check(differ >= 0 && differ <= 1248 * 70 / 100,
        "the title bar at Xft.dpi 144 is the one drawn at 150 %");
  if (differ > 1248 * 70 / 100) Host::Save(f);
  if (host.damageEvent >= 0) host.WatchEditor();
  Measure(host, "scope running at Xft.dpi 144, 100 %");
  MeasureFrozen(host, 1.5, "scope frozen at Xft.dpi 144, 100 %");
  host.damage = 0;
  host.Dispatch(effEditClose);
  host.Pump(0.1);
  host.Dispatch(effMainsChanged, 0, 0);
  host.Dispatch(effClose);
  XDeleteProperty(d, root, XA_RESOURCE_MANAGER);
  XSync(d, False);
}

} // namespace

void RunEditorChecks(EntryPoint entry, CheckFunction check)
{
  gCheck = check;
  // Mesa loads its software driver per X connection and unloads it when the
  // connection closes, leaving what the driver keeps for the process to look
  // like leaks from a vanished module to the leak checker. Kept loaded, the
  // driver's own memory stays reachable and the check sees only ours.
  dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
  Host host;
  host.display = XOpenDisplay(nullptr);
  Check(host.display != nullptr, "X display opens (DISPLAY)");
  if (!host.display) return;
  int xtestEvent = 0, xtestError = 0, major = 0, minor = 0, damageError = 0;
  Check(XTestQueryExtension(host.display, &xtestEvent, &xtestError, &major, &minor),
        "the X server offers XTest");
  if (!XDamageQueryExtension(host.display, &host.damageEvent, &damageError)) host.damageEvent = -1;
  gDisplay = host.display;
  // A failed request is a failed check, not the end of the run.
  XSetErrorHandler(
      [](Display*, XErrorEvent* e)
      {
        std::printf("editor run: X error %d (request %d.%d)\n", e->error_code, e->request_code,
                    e->minor_code);
        return 0;
      });

  Check(host.Start(entry), "plug-in created for the editor run");
  if (!host.plug) return;
  host.startTime = host.nextIdle = Now();

  ERect* rect = nullptr;
  host.Dispatch(effEditGetRect, 0, 0, &rect);
  Check(rect && rect->right - rect->left == 832 && rect->bottom - rect->top == 464,
        "editor rectangle 832 x 464");

  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(host.display, DefaultScreen(host.display));
  host.parent = XCreateWindow(host.display, DefaultRootWindow(host.display), 0, 0, 832, 464, 0,
                              CopyFromParent, InputOutput, nullptr, CWBackPixel, &attributes);
  gParent = host.parent;
  XStoreName(host.display, host.parent, "Trazelle test host");
  XMapWindow(host.display, host.parent);
  XSync(host.display, False);

  const int fdsBefore = CountEntries("/proc/self/fd");
  const int threadsBefore = CountEntries("/proc/self/task");
  const int topLevelBefore = CountChildren(host.display, DefaultRootWindow(host.display));

  Check(host.OpenEditor(), "effEditOpen puts the editor into the host's window");
  if (host.editor)
  {
    XWindowAttributes a{};
    XGetWindowAttributes(host.display, host.editor, &a);
    Check(a.width == 832 && a.height == 464, "editor window is 832 x 464 pixels");
    if (host.damageEvent >= 0) host.WatchEditor();
    CheckPicture(host);
    Measure(host, "scope running at 100 %");
    CheckControls(host);
    CheckMenus(host);
    Measure(host, "scope running at 150 %");
    MeasureFrozen(host, 1.5, "scope frozen at 150 %");
  }
  host.damage = 0; // destroyed with the editor's window
  Check(host.Dispatch(effEditClose) == 1, "effEditClose answers 1");
  host.Pump(0.1);
  // A second open without a close must neither crash nor duplicate the editor.
  Check(host.OpenEditor() && host.OpenEditor(), "effEditOpen twice without a close");
  host.Pump(0.2);
  Check(CountChildren(host.display, host.parent) == 1, "one editor window after a double open");
  host.Dispatch(effEditClose);
  host.Pump(0.1);
  // Mesa starts its helper threads on first use; count from here.
  const int threadsAfterFirst = CountEntries("/proc/self/task");

  Step("open and close twenty times");
  bool allOpened = true;
  for (int i = 0; i < 20; ++i)
  {
    allOpened = host.OpenEditor() && allOpened;
    host.Pump(0.05);
    host.Dispatch(effEditClose);
  }
  host.Pump(0.1);
  XSync(host.display, False);
  Check(allOpened, "the editor opens twenty times in a row");
  Check(CountChildren(host.display, host.parent) == 0,
        "no editor window left in the host's window");
  Check(CountChildren(host.display, DefaultRootWindow(host.display)) <= topLevelBefore,
        "no stray top-level window left");
  // Each editor's X connection (and with it its GLX context on the server) is one descriptor.
  Check(CountEntries("/proc/self/fd") <= fdsBefore, "no file descriptor (X connection) left");
  Check(CountEntries("/proc/self/task") <= std::max(threadsBefore, threadsAfterFirst),
        "no thread left behind");
  std::printf("editor run: threads %d before, %d after the first editor, %d at the end\n",
              threadsBefore, threadsAfterFirst, CountEntries("/proc/self/task"));

  host.Dispatch(effMainsChanged, 0, 0);
  host.Dispatch(effClose);
  CheckScreenScale(host, entry);
  gDisplay = nullptr;
  gParent = 0;
  XDestroyWindow(host.display, host.parent);
  XCloseDisplay(host.display);
}

} // namespace vsthost
