#pragma once

// Command line of trazelle-render. Parsing is separate from running so the
// accepted syntax and its error messages can be tested on their own.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm::render
{

// A pointer gesture at a moment of the simulated run, in logical editor
// coordinates (the 832 x 464 layout, whatever the zoom).
struct PointerEvent
{
  enum class Kind
  {
    Click, // press and release at (x, y)
    Drag,  // press at (x, y), move by (dx, dy), release
    Wheel, // wheel `steps` notches at (x, y); positive turns up
    Move   // the pointer moves to (x, y) without a button
  };
  double time = 0.0; // seconds from the start of the run
  Kind kind = Kind::Click;
  float x = 0.f, y = 0.f;
  float dx = 0.f, dy = 0.f;
  int steps = 0;
};

struct RenderOptions
{
  double seconds = 3.0;
  std::optional<double> rate; // demo signal only; a file plays at its own rate
  int block = 512;            // host block size in frames
  std::string png = "out/trazelle.png";
  std::string input; // empty: the built-in demo signal
  // Settings applied before the editor opens; unset keeps the defaults.
  std::optional<int> theme;           // 0 blue, 1 orange, 2 green, 3 pink
  std::optional<int> scale;           // index into 70, 85, 100, 115, 130, 150 %
  std::optional<int> mode;            // 0 waveform, 1 envelope
  std::optional<int> channel;         // 0 stereo, 1 left, 2 right
  std::vector<PointerEvent> events;   // sorted by time
  int menuChoice = -1;                // item a pop-up menu answers with; -1 dismisses it
  bool quiet = false;                 // no report of what the editor shows
  bool referenceDrawing = false;      // draw the scope with its per-column reference outlines
  bool stats = false;                 // print what the display ticks cost
  std::optional<double> silenceAfter; // seconds of input played before silence
  double gainDb = 0.0;                // applied to the input, unclipped
  bool sync = false;                  // the tempo-locked view
  std::optional<double> beats;        // its length: 0.25, 0.5, 1, 2, 4, 8 or 16
  std::optional<double> tempo;        // the host's tempo (BPM); unset: a host without a transport
  double transportStart = 0.0;        // seconds of the run before the host's transport plays
};

struct ParsedOptions
{
  bool ok = false;
  bool help = false; // --help asked; print the usage and exit 0
  std::string error; // why parsing failed (when !ok && !help)
  RenderOptions options;
};

// `args` excludes the program name.
ParsedOptions ParseRenderOptions(std::span<const std::string_view> args);

// Parses one --event value ("T:click:X,Y", "T:drag:X,Y:DX,DY", "T:wheel:X,Y:N", "T:move:X,Y").
std::optional<PointerEvent> ParsePointerEvent(std::string_view text, std::string& error);

std::string RenderUsage();

} // namespace qm::render
