// trazelle-render: plays audio through the Trazelle plug-in with its editor
// open on an off-screen surface and writes the editor window as a PNG.

#include "tools/render/AudioInput.h"
#include "tools/render/EditorHarness.h"
#include "tools/render/EditorReport.h"
#include "tools/render/RenderOptions.h"

#include "controls/Oscilloscope.h"
#include "editor/TrazelleEditor.h"
#include "plugin/DemoSignal.h"
#include "plugin/Trazelle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace qm::render;

namespace
{

int Fail(const std::string& message)
{
  std::fprintf(stderr, "trazelle-render: %s\n", message.c_str());
  return 1;
}

void ApplySettings(const RenderOptions& o, qm::Trazelle::Settings& s)
{
  if (o.theme) s.theme = *o.theme;
  if (o.scale) s.scale = *o.scale;
  if (o.mode) s.mode = qm::Trazelle::EDisplayMode(*o.mode);
  if (o.channel) s.channel = qm::Trazelle::EDisplayChannel(*o.channel);
  if (o.sync) s.sync = true;
  if (o.beats) s.beats = *o.beats;
}

void Deliver(EditorHarness& h, const PointerEvent& e)
{
  switch (e.kind)
  {
  case PointerEvent::Kind::Click:
    h.Click(e.x, e.y);
    break;
  case PointerEvent::Kind::Drag:
    h.Drag(e.x, e.y, e.dx, e.dy);
    break;
  case PointerEvent::Kind::Wheel:
    h.Wheel(e.x, e.y, e.steps);
    break;
  case PointerEvent::Kind::Move:
    h.MouseOver(e.x, e.y);
    h.Tick();
    break;
  }
}

// The editor re-creates its controls when its layout changes: apply the choice again after
// anything that can do that.
void ApplyTraceDrawing(EditorHarness& h, bool reference)
{
  using Scope = qm::control::Oscilloscope<2>;
  if (auto* scope = h.ControlAs<Scope>(qm::Trazelle::TrazelleEditor::kTagOscilloscope))
    if (reference) scope->SetTraceDrawing(qm::control::ETraceDrawing::Reference);
}

void PrintStats(const TickStats& s)
{
  const double frames = double(std::max<int64_t>(s.frames, 1));
  std::printf("ticks:              %lld\n", (long long)s.ticks);
  std::printf("frames drawn:       %lld", (long long)s.frames);
  if (s.frames > 0)
    std::printf(" (the last at tick %lld, %.3f s)", (long long)s.lastFrameTick,
                double(s.lastFrameTick) / EditorHarness::kTicksPerSecond);
  std::printf("\nGL draws per frame: mean %.1f, max %lld\n", double(s.draws) / frames, s.maxDraws);
  std::printf("main-thread CPU:    %.3f ms per drawn frame\n", s.cpuSeconds * 1e3 / frames);
  std::printf("helper-thread CPU:  %.3f ms per drawn frame\n", s.helperSeconds * 1e3 / frames);
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseRenderOptions(args);
  if (parsed.help)
  {
    std::fputs(RenderUsage().c_str(), stdout);
    return 0;
  }
  if (!parsed.ok) return Fail(parsed.error + "\n" + RenderUsage());
  const RenderOptions& o = parsed.options;

  // The input: a file at its own rate, or the demo signal, looped so that any
  // length of run has something to show.
  AudioSource source;
  double rate = o.rate.value_or(44100.0);
  StereoAudio file;
  if (!o.input.empty())
  {
    std::string error;
    const int64_t maxFrames = int64_t(std::ceil(o.seconds * 384000.0)) + 1;
    if (!ReadAudioFile(o.input, maxFrames, file, error)) return Fail(error);
    rate = file.sampleRate;
    source = [&file](int64_t first, int n, double* l, double* r)
    {
      for (int i = 0; i < n; ++i)
      {
        const size_t at = size_t(first + i);
        const bool inside = at < file.left.size();
        l[i] = inside ? file.left[at] : 0.0;
        r[i] = inside ? file.right[at] : 0.0;
      }
    };
  }
  const qm::Trazelle::DemoSignal demo(rate);
  if (o.input.empty())
    source = [&demo](int64_t first, int n, double* l, double* r)
    {
      for (int i = 0; i < n; ++i)
      {
        const int64_t frame = (first + i) % demo.TotalFrames();
        l[i] = demo.Left(frame);
        r[i] = demo.Right(frame);
      }
    };

  if (o.silenceAfter)
  {
    const int64_t quietFrom = int64_t(std::ceil(*o.silenceAfter * rate));
    source = [played = source, quietFrom](int64_t first, int n, double* l, double* r)
    {
      played(first, n, l, r);
      for (int i = 0; i < n; ++i)
        if (first + i >= quietFrom) l[i] = r[i] = 0.0;
    };
  }

  if (o.gainDb != 0.0)
  {
    const double gain = std::pow(10.0, o.gainDb / 20.0);
    source = [played = source, gain](int64_t first, int n, double* l, double* r)
    {
      played(first, n, l, r);
      for (int i = 0; i < n; ++i)
      {
        l[i] *= gain;
        r[i] *= gain;
      }
    };
  }

  EditorHarness harness(rate, o.block);
  if (o.tempo) harness.SetTransport({*o.tempo, o.transportStart});
  ApplySettings(o, harness.Plugin().GetSettings());
  harness.SetMenuChoice(o.menuChoice);
  std::string error;
  if (!harness.Open(error)) return Fail(error);
  ApplyTraceDrawing(harness, o.referenceDrawing);

  const int ticks = int(std::ceil(o.seconds * EditorHarness::kTicksPerSecond - 1e-9));
  size_t next = 0;
  for (int tick = 0; tick < ticks; ++tick)
  {
    harness.Run(1, source);
    const double now = double(tick + 1) / EditorHarness::kTicksPerSecond;
    for (; next < o.events.size() && o.events[next].time <= now + 1e-9; ++next)
    {
      Deliver(harness, o.events[next]);
      ApplyTraceDrawing(harness, o.referenceDrawing);
    }
  }
  const TickStats stats = harness.Stats(); // before the capture redraws everything

  RgbaImage image;
  if (!harness.Capture(image, error)) return Fail(error);
  const std::filesystem::path png(o.png);
  if (png.has_parent_path())
  {
    std::error_code ec;
    std::filesystem::create_directories(png.parent_path(), ec);
  }
  if (!WritePngFile(o.png, image, error)) return Fail(error);

  if (!o.quiet)
  {
    std::printf("%s", FormatEditorReport(ReadEditorReport(harness)).c_str());
    std::printf("wrote %s (%d x %d) after %.3f s of %s at %.0f Hz\n", o.png.c_str(), image.width,
                image.height, double(harness.FramesPlayed()) / rate,
                o.input.empty() ? "the demo signal" : o.input.c_str(), rate);
  }
  if (o.stats) PrintStats(stats);
  return 0;
}
