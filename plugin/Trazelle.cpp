#include "plugin/Trazelle.h"

#include "controls/Oscilloscope.h"
#include "controls/SignalMeter.h"
#include "graphics/GraphicsContext.h"
#include "graphics/PlatformGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>

namespace qm::Trazelle
{

kit::Config Trazelle::MakeConfig()
{
  kit::Config config;
  config.nParams = 0;
  config.nPresets = 1;
  config.channelIOStr = "2-2";
  config.pluginName = "Trazelle";
  config.productName = "";
  config.mfrName = "Quillmarsh";
  config.vendorVersion = kit::PackVersion(1, 0, 0);
  config.uniqueID = kit::FourCharCode("QmTz");
  config.mfrID = kit::FourCharCode("Qmsh");
  config.latency = 0;
  config.plugDoesMidiIn = false;
  config.plugDoesMidiOut = false;
  config.plugDoesMPE = false;
  config.plugDoesChunks = true;
  config.plugType = kit::kEffect;
  config.plugHasUI = true;
  config.plugWidth = 832;
  config.plugHeight = 464;
  config.plugMinWidth = 416;
  config.plugMaxWidth = 1664;
  config.plugMinHeight = 232;
  config.plugMaxHeight = 928;
  config.plugHostResize = false;
  config.bundleID = "";
  return config;
}

std::uint64_t Trazelle::BufferCapacity(double sampleRate, double seconds)
{
  const double rate = std::isfinite(sampleRate) ? std::clamp(sampleRate, 1.0, kMaxSampleRate) : 1.0;
  return static_cast<std::uint64_t>(rate * seconds);
}

Trazelle::Trazelle(const kit::InstanceInfo& info)
    : kit::PluginVST2(info, MakeConfig()),
      mOscilloscopeBuffer(BufferCapacity(GetSampleRate(), kOscilloscopeSeconds), Frame{0.0, 0.0}),
      mMeterBuffer(BufferCapacity(GetSampleRate(), kMeterSeconds), Frame{0.0, 0.0})
{
  // The editor joins through the delegate's two seams: a graphics factory that makes this
  // platform's graphics context for this object (draw scale 1.0, module handle gModuleHandle) and
  // the editor's Layout as the layout function. Windows and Linux (X11) have a window; elsewhere no
  // factory is installed and the host's effEditOpen answers 0.
  SetLayoutFunction([this](kit::gfx::GraphicsContext* g) { mEditor.Layout(g); });
#if defined(_WIN32) || defined(__linux__)
  SetGraphicsFactory(
      [this] { return kit::gfx::MakePlatformGraphics(this, GetEditorWidth(), GetEditorHeight()); });
#endif
}

// Members go in reverse order: each buffer releases its producer token, then its queue, then its
// history, the meter's first.
Trazelle::~Trazelle() = default;

void Trazelle::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  if (nFrames <= 0) return;
  const std::size_t n = static_cast<std::size_t>(nFrames);
  PublishHostTime();

  // A host that connects a single input gets silence on the missing side rather than a crash.
  const double* left = NChannels(kit::kInput) > 0 ? inputs[0] : nullptr;
  const double* right = NChannels(kit::kInput) > 1 ? inputs[1] : nullptr;
  // Overs are counted whatever the displays do: a clip light must catch what nobody watched.
  const double* const channels[2] = {left, right};
  mOvers.Count(channels, 2, n);

  if (!mFreeze.load())
  {
    const std::size_t pushed = mOscilloscopeBuffer.Push(left, right, n);
    mScopeFrames.store(mScopeFrames.load(std::memory_order_relaxed) + pushed,
                       std::memory_order_relaxed);
    mMeterBuffer.Push(left, right, n);
  }

  // Freezing stops the displays, never the audio.
  const int nOut = CountConnectedChannels(kit::kOutput);
  const int nIn = NChannels(kit::kInput);
  for (int c = 0; c < nOut; ++c)
  {
    double* out = outputs[c];
    const double* in = c < nIn ? inputs[c] : nullptr;
    if (!out || out == in) continue;
    if (in)
      std::memmove(out, in, n * sizeof(double));
    else
      std::memset(out, 0, n * sizeof(double));
  }
}

void Trazelle::PublishHostTime()
{
  // The binding asked the host (audioMasterGetTime) just before this block; a host that answers
  // nothing leaves the defaults, and those need publishing only once.
  const kit::ITimeInfo& info = GetTimeInfo();
  HostTime t;
  t.frame = mScopeFrames.load(std::memory_order_relaxed);
  t.tempo = std::isfinite(info.tempo) && info.tempo > 0.0 ? info.tempo : 120.0;
  t.hasPosition = std::isfinite(info.ppqPos) && info.ppqPos >= 0.0;
  t.position = t.hasPosition ? info.ppqPos : 0.0;
  t.playing = info.transportIsRunning;
  const bool informative = t.hasPosition || t.playing;
  if (!informative && !mTimelineInformative && t.tempo == mTimelineTempo) return;
  mTimeline.Publish(t);
  mTimelineInformative = informative;
  mTimelineTempo = t.tempo;
}

void Trazelle::OnReset()
{
  const double rate = GetSampleRate();
  mScopeFrames.store(0, std::memory_order_relaxed);
  mOscilloscopeBuffer.Resize(BufferCapacity(rate, kOscilloscopeSeconds));
  mMeterBuffer.Resize(BufferCapacity(rate, kMeterSeconds));
  if (kit::gfx::GraphicsContext* g = GetUI())
  {
    using Tag = TrazelleEditor::ControlTag;
    if (auto* scope =
            dynamic_cast<control::Oscilloscope<2>*>(g->GetControlWithTag(Tag::kTagOscilloscope)))
      scope->SetSampleRate(rate);
    if (auto* meter = dynamic_cast<control::SignalMeter<2>*>(g->GetControlWithTag(Tag::kTagMeter)))
      meter->SetSampleRate(rate);
  }
  // Durations and meter ballistics depend on the rate: the editor recomputes them.
  OnUIOpen();
}

void Trazelle::OnUIOpen()
{
  kit::PluginVST2::OnUIOpen();
  mEditor.SyncControls();
}

void Trazelle::OnRestoreState()
{
  kit::PluginVST2::OnRestoreState();
  // The settings record changed under the open editor's controls.
  mEditor.SyncControls();
}

bool Trazelle::SerializeState(kit::IByteChunk& chunk) const
{
  std::vector<std::uint8_t> blob;
  WriteSettingsBlob(mSettings, blob);
  chunk.PutBytes(blob.data(), static_cast<int>(blob.size()));
  return true;
}

int Trazelle::UnserializeState(const kit::IByteChunk& chunk, int startPos)
{
  if (startPos < 0 || startPos > chunk.Size()) return 0;
  const std::span<const std::uint8_t> blob(chunk.GetData() + startPos,
                                           static_cast<std::size_t>(chunk.Size() - startPos));
  if (!ReadSettingsBlob(blob, mSettings)) return 0;
  return chunk.Size();
}

} // namespace qm::Trazelle

kit::PluginVST2* kit::MakePlug(const kit::InstanceInfo& info)
{
  return new qm::Trazelle::Trazelle(info);
}
