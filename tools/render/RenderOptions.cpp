#include "tools/render/RenderOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qm::render
{

namespace
{

constexpr double kEditorWidth = 832.0, kEditorHeight = 464.0;
constexpr double kMaxSeconds = 600.0;
constexpr int kMaxBlock = 8192;
constexpr int kScalePercents[] = {70, 85, 100, 115, 130, 150};

std::optional<double> ParseNumber(std::string_view s)
{
  double value = 0.0;
  const char* end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc{} || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> ParseInt(std::string_view s)
{
  int value = 0;
  const char* end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::vector<std::string_view> Split(std::string_view s, char separator)
{
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;)
  {
    const size_t at = s.find(separator, start);
    parts.push_back(
        s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

std::optional<int> IndexOf(std::string_view value, std::initializer_list<std::string_view> names)
{
  int i = 0;
  for (std::string_view name : names)
  {
    if (name == value) return i;
    ++i;
  }
  return std::nullopt;
}

bool ParsePair(std::string_view s, float& a, float& b)
{
  const auto parts = Split(s, ',');
  if (parts.size() != 2) return false;
  const auto x = ParseNumber(parts[0]), y = ParseNumber(parts[1]);
  if (!x || !y) return false;
  a = float(*x);
  b = float(*y);
  return true;
}

} // namespace

std::optional<PointerEvent> ParsePointerEvent(std::string_view text, std::string& error)
{
  const auto parts = Split(text, ':');
  PointerEvent e;
  const auto time = parts.size() >= 3 ? ParseNumber(parts[0]) : std::nullopt;
  const auto kind =
      parts.size() >= 3 ? IndexOf(parts[1], {"click", "drag", "wheel", "move"}) : std::nullopt;
  const size_t expected = kind == 0 || kind == 3 ? 3 : 4;
  if (!time || !kind || parts.size() != expected || !ParsePair(parts[2], e.x, e.y))
  {
    error = "bad --event '" + std::string(text) +
            "' (expected T:click:X,Y, T:drag:X,Y:DX,DY, T:wheel:X,Y:STEPS or T:move:X,Y)";
    return std::nullopt;
  }
  e.time = *time;
  e.kind = PointerEvent::Kind(*kind);
  if (e.kind == PointerEvent::Kind::Drag && !ParsePair(parts[3], e.dx, e.dy))
  {
    error = "bad drag distance in --event '" + std::string(text) + "' (expected DX,DY)";
    return std::nullopt;
  }
  if (e.kind == PointerEvent::Kind::Wheel)
  {
    const auto steps = ParseInt(parts[3]);
    if (!steps || *steps == 0 || std::abs(*steps) > 100)
    {
      error = "bad wheel steps in --event '" + std::string(text) + "' (a non-zero integer)";
      return std::nullopt;
    }
    e.steps = *steps;
  }
  if (e.time < 0.0)
  {
    error = "--event '" + std::string(text) + "' has a negative time";
    return std::nullopt;
  }
  if (e.x < 0.f || e.y < 0.f || e.x >= kEditorWidth || e.y >= kEditorHeight)
  {
    error = "--event '" + std::string(text) + "' lies outside the 832 x 464 editor";
    return std::nullopt;
  }
  return e;
}

ParsedOptions ParseRenderOptions(std::span<const std::string_view> args)
{
  ParsedOptions result;
  RenderOptions& o = result.options;
  auto fail = [&](std::string message)
  {
    result.ok = false;
    result.error = std::move(message);
    return result;
  };

  for (size_t i = 0; i < args.size(); ++i)
  {
    const std::string_view option = args[i];
    if (option == "--help" || option == "-h")
    {
      result.help = true;
      return result;
    }
    if (option == "--quiet")
    {
      o.quiet = true;
      continue;
    }
    if (option == "--stats")
    {
      o.stats = true;
      continue;
    }
    if (option == "--sync")
    {
      o.sync = true;
      continue;
    }
    if (option.substr(0, 2) != "--")
      return fail("unexpected argument '" + std::string(option) + "'");
    if (i + 1 >= args.size()) return fail(std::string(option) + " needs a value");
    const std::string_view value = args[++i];
    const std::string shown = std::string(option) + " '" + std::string(value) + "'";

    if (option == "--seconds")
    {
      const auto v = ParseNumber(value);
      if (!v || *v <= 0.0 || *v > kMaxSeconds) return fail("bad " + shown + " (0 < S <= 600)");
      o.seconds = *v;
    }
    else if (option == "--rate")
    {
      const auto v = ParseNumber(value);
      if (!v || *v < 8000.0 || *v > 384000.0) return fail("bad " + shown + " (8000 to 384000 Hz)");
      o.rate = *v;
    }
    else if (option == "--block")
    {
      const auto v = ParseInt(value);
      if (!v || *v < 1 || *v > kMaxBlock) return fail("bad " + shown + " (1 to 8192 frames)");
      o.block = *v;
    }
    else if (option == "--png")
    {
      if (value.empty()) return fail("--png needs a file name");
      o.png = value;
    }
    else if (option == "--input")
    {
      if (value.empty()) return fail("--input needs a file name");
      o.input = value;
    }
    else if (option == "--theme")
    {
      o.theme = IndexOf(value, {"blue", "orange", "green", "pink"});
      if (!o.theme) return fail("bad " + shown + " (blue, orange, green or pink)");
    }
    else if (option == "--scale")
    {
      const auto v = ParseInt(value);
      const auto* found = v ? std::find(std::begin(kScalePercents), std::end(kScalePercents), *v)
                            : std::end(kScalePercents);
      if (found == std::end(kScalePercents))
        return fail("bad " + shown + " (70, 85, 100, 115, 130 or 150)");
      o.scale = int(found - std::begin(kScalePercents));
    }
    else if (option == "--mode")
    {
      o.mode = IndexOf(value, {"waveform", "envelope"});
      if (!o.mode) return fail("bad " + shown + " (waveform or envelope)");
    }
    else if (option == "--channel")
    {
      o.channel = IndexOf(value, {"stereo", "left", "right"});
      if (!o.channel) return fail("bad " + shown + " (stereo, left or right)");
    }
    else if (option == "--event")
    {
      std::string error;
      const auto e = ParsePointerEvent(value, error);
      if (!e) return fail(error);
      o.events.push_back(*e);
    }
    else if (option == "--draw")
    {
      const auto v = IndexOf(value, {"band", "reference"});
      if (!v) return fail("bad " + shown + " (band or reference)");
      o.referenceDrawing = *v == 1;
    }
    else if (option == "--silence-after")
    {
      const auto v = ParseNumber(value);
      if (!v || *v < 0.0 || *v > kMaxSeconds) return fail("bad " + shown + " (0 to 600 s)");
      o.silenceAfter = *v;
    }
    else if (option == "--gain")
    {
      const auto v = ParseNumber(value);
      if (!v || *v < -60.0 || *v > 24.0) return fail("bad " + shown + " (-60 to 24 dB)");
      o.gainDb = *v;
    }
    else if (option == "--tempo")
    {
      const auto v = ParseNumber(value);
      if (!v || *v < 20.0 || *v > 999.0) return fail("bad " + shown + " (20 to 999 BPM)");
      o.tempo = *v;
    }
    else if (option == "--transport-start")
    {
      const auto v = ParseNumber(value);
      if (!v || *v < 0.0 || *v > kMaxSeconds) return fail("bad " + shown + " (0 to 600 s)");
      o.transportStart = *v;
    }
    else if (option == "--beats")
    {
      const auto v = IndexOf(value, {"1/4", "1/2", "1", "2", "4", "8", "16"});
      if (!v) return fail("bad " + shown + " (1/4, 1/2, 1, 2, 4, 8 or 16)");
      o.beats = std::ldexp(1.0, *v - 2);
    }
    else if (option == "--menu-choice")
    {
      const auto v = ParseInt(value);
      if (!v || *v < -1 || *v > 63) return fail("bad " + shown + " (-1 to dismiss, else 0 to 63)");
      o.menuChoice = *v;
    }
    else
      return fail("unknown option '" + std::string(option) + "' (see --help)");
  }

  if (o.transportStart > 0.0 && !o.tempo) return fail("--transport-start needs a --tempo");
  if (o.rate && !o.input.empty())
    return fail("--rate applies to the demo signal only; a file plays at its own rate");
  for (const PointerEvent& e : o.events)
    if (e.time > o.seconds)
      return fail("an --event at " + std::to_string(e.time) + " s lies after the end of the run");
  std::stable_sort(o.events.begin(), o.events.end(),
                   [](const PointerEvent& a, const PointerEvent& b) { return a.time < b.time; });
  result.ok = true;
  return result;
}

std::string RenderUsage()
{
  return "usage: trazelle-render [options]\n"
         "Plays audio through the Trazelle plug-in at simulated real time with its editor\n"
         "open on an off-screen surface, then writes the editor window as a PNG.\n"
         "\n"
         "  --input FILE        WAV, FLAC or AIFF file (default: the built-in demo signal)\n"
         "  --seconds S         length of the run (default 3)\n"
         "  --rate HZ           sample rate of the demo signal (default 44100)\n"
         "  --block N           host block size in frames (default 512)\n"
         "  --png FILE          output picture (default out/trazelle.png)\n"
         "  --theme NAME        blue, orange, green or pink\n"
         "  --scale PERCENT     70, 85, 100, 115, 130 or 150\n"
         "  --mode NAME         waveform or envelope\n"
         "  --channel NAME      stereo, left or right\n"
         "  --event T:click:X,Y          click at time T (s), editor coordinates\n"
         "  --event T:drag:X,Y:DX,DY     press at X,Y, move by DX,DY, release\n"
         "  --event T:wheel:X,Y:STEPS    turn the wheel STEPS notches (up positive)\n"
         "  --event T:move:X,Y           move the pointer there (hover)\n"
         "  --menu-choice N     item a pop-up menu answers with (-1 dismisses)\n"
         "  --silence-after S   play silence from S seconds on\n"
         "  --gain DB           amplify the input by DB decibels (-60 to 24), e.g. to clip it\n"
         "  --sync              tempo-locked view: the duration counts beats of the host's tempo\n"
         "  --beats N           its length: 1/4, 1/2, 1, 2, 4, 8 or 16 beats\n"
         "  --tempo BPM         act as a host whose transport plays at BPM (default: no "
         "transport)\n"
         "  --transport-start T the transport starts playing T seconds into the run\n"
         "  --draw NAME         scope traces: band (default) or reference (per-column outlines)\n"
         "  --stats             print ticks, frames drawn, GL draws and CPU per drawn frame (UI\n"
         "                      thread and picture helper)\n"
         "  --quiet             do not print what the editor shows\n";
}

} // namespace qm::render
