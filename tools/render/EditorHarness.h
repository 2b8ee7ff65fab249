#pragma once

// Drives the real plug-in and its editor without a host or a screen: the
// editor opens on the headless platform, audio goes through ProcessBlock in
// host-sized blocks, and display ticks happen at simulated real time (each
// tick of 1/60 s first processes that tick's frames, then ticks and draws the
// editor). Used by trazelle-render and by the editor tests.

#include "tools/render/PngFile.h"

#include "framework/VST2Interface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kit::gfx
{
class IControl;
class GraphicsContext;
} // namespace kit::gfx

namespace qm::Trazelle
{
class Trazelle;
}

namespace qm::render
{

// Writes frames [first, first + n) of the input into `left` and `right`.
using AudioSource = std::function<void(int64_t first, int n, double* left, double* right)>;

// What the display ticks since Open cost (the render tool's --stats).
struct TickStats
{
  int64_t ticks = 0;
  int64_t frames = 0;         // ticks that drew a frame
  long long draws = 0;        // GL draw calls of those frames
  long long maxDraws = 0;     // most GL draw calls in one frame
  double cpuSeconds = 0.0;    // main-thread CPU time of the ticks that drew
  double helperSeconds = 0.0; // CPU time the picture's helper thread spent in those ticks
  int64_t lastFrameTick = 0;  // 1-based tick of the last frame drawn; 0 for none
};

// The transport the harness reports to the plug-in as its host. With no tempo it answers no time
// at all; otherwise the song starts at `start` seconds of the run and plays at `tempo` until
// `stop` (stopped before and after, at its last position).
struct HostTransport
{
  double tempo = 0.0; // beats per minute; 0: no time information
  double start = 0.0;
  double stop = 1.0e300;
};

class EditorHarness
{
public:
  static constexpr int kTicksPerSecond = 60;

  // Builds the plug-in at `sampleRate` with host blocks of `blockSize` frames
  // and installs the headless graphics factory. The editor is not open yet.
  EditorHarness(double sampleRate, int blockSize);
  ~EditorHarness();

  Trazelle::Trazelle& Plugin() { return *mPlugin; }
  // The open editor's graphics context, or null.
  kit::gfx::GraphicsContext* UI() const;
  kit::gfx::IControl* Control(int tag) const;
  template <typename T>
  T* ControlAs(int tag) const
  {
    return dynamic_cast<T*>(Control(tag));
  }

  // Opens the editor as a host would (OpenWindow). False with a reason in
  // `error` when the headless platform cannot create its context.
  bool Open(std::string& error);
  void Close();
  bool IsOpen() const { return UI() != nullptr; }

  // A host changing the sample rate (and resetting the plug-in).
  void SetSampleRate(double sampleRate);
  // What the harness answers to the plug-in's time requests from the next block on.
  void SetTransport(const HostTransport& transport) { mTransport = transport; }

  // Plays `ticks` display ticks of audio from `source` (silence when empty).
  void Run(int ticks, const AudioSource& source = {});
  // One display tick and a draw of whatever became dirty; returns whether it drew.
  bool Tick();
  const TickStats& Stats() const { return mStats; }
  int64_t FramesPlayed() const { return mFramesPlayed; }

  // Pointer input in logical editor coordinates.
  void Click(float x, float y, bool alt = false);
  // Two presses at one place, the second arriving as the platforms deliver a double-click.
  void DoubleClick(float x, float y);
  void Drag(float x, float y, float dx, float dy);
  void Wheel(float x, float y, int steps);
  void MouseOver(float x, float y);
  // Item index the next pop-up menus answer with (-1 dismisses them).
  void SetMenuChoice(int index);
  // Web addresses the open editor asked to open, in order.
  std::vector<std::string> OpenedURLs() const;

  // Redraws the whole window and reads it back (device pixels).
  bool Capture(RgbaImage& image, std::string& error);

private:
  static std::intptr_t HostCallback(kit::vst2::AEffect* effect, std::int32_t opCode,
                                    std::int32_t index, std::intptr_t value, void* ptr, float opt);
  // The answer to a time request about the block that starts at frame `frame`.
  const kit::vst2::VstTimeInfo* TimeAt(int64_t frame);

  std::unique_ptr<Trazelle::Trazelle> mPlugin;
  HostTransport mTransport;
  std::unique_ptr<kit::vst2::VstTimeInfo> mTime;
  int mBlockSize;
  int64_t mFramesPlayed = 0;
  int64_t mTicks = 0;
  std::vector<double> mIn[2], mOut[2];
  int mMenuChoice = -1;
  TickStats mStats;
};

} // namespace qm::render
