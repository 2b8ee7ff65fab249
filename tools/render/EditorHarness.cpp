#include "tools/render/EditorHarness.h"

#include "controls/HelperThread.h"
#include "graphics/GraphicsContext.h"
#include "graphics/IPopupMenu.h"
#include "graphics/platform/headless/GLDrawCounter.h"
#include "graphics/platform/headless/GraphicsHeadless.h"
#include "plugin/Trazelle.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace qm::render
{

using kit::gfx::GraphicsContext;
using kit::gfx::GraphicsHeadless;
using kit::gfx::IMouseInfo;
using kit::gfx::IMouseMod;
using kit::gfx::IPopupMenu;
using kit::gfx::IRECT;

namespace
{

GraphicsHeadless* Headless(GraphicsContext* g)
{
  return dynamic_cast<GraphicsHeadless*>(g);
}

double ThreadCpuSeconds()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Pointer events carry the logical position and the buttons held.
IMouseInfo Pointer(float x, float y, float dx = 0.f, float dy = 0.f, bool alt = false)
{
  IMouseInfo info;
  info.x = x;
  info.y = y;
  info.dX = dx;
  info.dY = dy;
  info.ms = IMouseMod(true, false, false, false, alt);
  return info;
}

} // namespace

std::intptr_t EditorHarness::HostCallback(kit::vst2::AEffect* effect, std::int32_t opCode,
                                          std::int32_t, std::intptr_t, void*, float)
{
  // Everything but the time is left unanswered, as by a minimal host.
  if (opCode != kit::vst2::audioMasterGetTime || !effect || !effect->user) return 0;
  auto* harness = static_cast<EditorHarness*>(effect->user);
  return reinterpret_cast<std::intptr_t>(harness->TimeAt(harness->mFramesPlayed));
}

const kit::vst2::VstTimeInfo* EditorHarness::TimeAt(int64_t frame)
{
  if (!(mTransport.tempo > 0.0)) return nullptr;
  using namespace kit::vst2;
  const double rate = mPlugin->GetSampleRate();
  const double now = double(frame) / rate;
  const double played =
      std::clamp(now, mTransport.start, std::max(mTransport.start, mTransport.stop));
  *mTime = VstTimeInfo{};
  mTime->samplePos = double(frame);
  mTime->sampleRate = rate;
  mTime->tempo = mTransport.tempo;
  mTime->ppqPos = (played - mTransport.start) * mTransport.tempo / 60.0;
  mTime->flags = kVstPpqPosValid | kVstTempoValid;
  if (now >= mTransport.start && now < mTransport.stop) mTime->flags |= kVstTransportPlaying;
  return mTime.get();
}

EditorHarness::EditorHarness(double sampleRate, int blockSize)
    : mPlugin(std::make_unique<Trazelle::Trazelle>(kit::InstanceInfo{&HostCallback})),
      mTime(std::make_unique<kit::vst2::VstTimeInfo>()), mBlockSize(std::max(1, blockSize))
{
  mPlugin->GetAEffect()->user = this;
  for (int c = 0; c < 2; ++c)
  {
    mIn[c].assign(size_t(mBlockSize), 0.0);
    mOut[c].assign(size_t(mBlockSize), 0.0);
  }
  mPlugin->SetBlockSize(mBlockSize);
  SetSampleRate(sampleRate);

  // The graphics factory a host build installs makes a native window; here it
  // makes the off-screen one, answering pop-up menus with the chosen item.
  Trazelle::Trazelle* plugin = mPlugin.get();
  mPlugin->SetGraphicsFactory(
      [plugin, this]() -> std::unique_ptr<GraphicsContext>
      {
        auto g = std::make_unique<GraphicsHeadless>(plugin, 832, 464, kTicksPerSecond, 1.f);
        g->SetPopupMenuAnswer([this](const IPopupMenu& menu, const IRECT&)
                              { return mMenuChoice < menu.NItems() ? mMenuChoice : -1; });
        return g;
      });
}

EditorHarness::~EditorHarness()
{
  Close();
}

GraphicsContext* EditorHarness::UI() const
{
  return mPlugin->GetUI();
}

kit::gfx::IControl* EditorHarness::Control(int tag) const
{
  GraphicsContext* g = UI();
  return g ? g->GetControlWithTag(tag) : nullptr;
}

bool EditorHarness::Open(std::string& error)
{
  if (UI()) return true;
  if (!mPlugin->OpenWindow(nullptr))
  {
    GraphicsHeadless* g = Headless(UI());
    error = g && !g->GetError().empty() ? "cannot open the editor off-screen: " + g->GetError()
                                        : std::string("cannot open the editor off-screen");
    mPlugin->CloseWindow();
    return false;
  }
  Tick();
  // The first frame has resolved the GL entry points: draws can be counted from here on.
  kit::gfx::InstallGLDrawCounter();
  mStats = TickStats{};
  return true;
}

void EditorHarness::Close()
{
  mPlugin->CloseWindow();
}

void EditorHarness::SetSampleRate(double sampleRate)
{
  mPlugin->SetSampleRate(sampleRate);
  mPlugin->OnReset();
}

void EditorHarness::Run(int ticks, const AudioSource& source)
{
  const double rate = mPlugin->GetSampleRate();
  double* in[2] = {mIn[0].data(), mIn[1].data()};
  double* out[2] = {mOut[0].data(), mOut[1].data()};
  for (int t = 0; t < ticks; ++t)
  {
    // A host processes whole blocks as the audio clock demands them, so by the
    // end of this tick every frame up to the tick's end time has been played.
    ++mTicks;
    const int64_t due = int64_t(std::floor(double(mTicks) * rate / kTicksPerSecond));
    while (mFramesPlayed < due)
    {
      if (source)
        source(mFramesPlayed, mBlockSize, in[0], in[1]);
      else
        for (int c = 0; c < 2; ++c)
          std::fill(mIn[c].begin(), mIn[c].end(), 0.0);
      // Through the effect's own callback, as a host calls it: the binding asks for the time.
      kit::vst2::AEffect* effect = mPlugin->GetAEffect();
      effect->processDoubleReplacing(effect, in, out, mBlockSize);
      mFramesPlayed += mBlockSize;
    }
    Tick();
  }
}

bool EditorHarness::Tick()
{
  GraphicsHeadless* g = Headless(UI());
  if (!g) return false;
  const long long draws = kit::gfx::GLDrawCalls();
  const double cpu = ThreadCpuSeconds();
  const double helper = qm::control::HelperThread::AllJobSeconds();
  const bool drew = g->Tick();
  ++mStats.ticks;
  if (drew)
  {
    const long long frameDraws = kit::gfx::GLDrawCalls() - draws;
    ++mStats.frames;
    mStats.draws += frameDraws;
    mStats.maxDraws = std::max(mStats.maxDraws, frameDraws);
    mStats.cpuSeconds += ThreadCpuSeconds() - cpu;
    mStats.helperSeconds += qm::control::HelperThread::AllJobSeconds() - helper;
    mStats.lastFrameTick = mStats.ticks;
  }
  return drew;
}

void EditorHarness::Click(float x, float y, bool alt)
{
  GraphicsContext* g = UI();
  if (!g) return;
  g->OnMouseOver(x, y, IMouseMod());
  g->OnMouseDown({Pointer(x, y, 0.f, 0.f, alt)});
  // The control may have closed the editor's menus or changed the layout; the
  // release goes wherever the press was captured.
  if ((g = UI())) g->OnMouseUp({Pointer(x, y, 0.f, 0.f, alt)});
  Tick();
}

void EditorHarness::DoubleClick(float x, float y)
{
  Click(x, y);
  GraphicsContext* g = UI();
  if (!g) return;
  g->OnMouseDblClick(x, y, Pointer(x, y).ms);
  if ((g = UI())) g->OnMouseUp({Pointer(x, y)});
  Tick();
}

void EditorHarness::Drag(float x, float y, float dx, float dy)
{
  GraphicsContext* g = UI();
  if (!g) return;
  g->OnMouseOver(x, y, IMouseMod());
  g->OnMouseDown({Pointer(x, y)});
  // Moves arrive in steps of a few pixels, as from a real pointer.
  const int steps = std::max(1, int(std::ceil(std::max(std::fabs(dx), std::fabs(dy)) / 4.f)));
  float px = x, py = y;
  for (int i = 1; i <= steps; ++i)
  {
    const float nx = x + dx * float(i) / float(steps), ny = y + dy * float(i) / float(steps);
    g->OnMouseDrag({Pointer(nx, ny, nx - px, ny - py)});
    px = nx;
    py = ny;
  }
  g->OnMouseUp({Pointer(px, py)});
  Tick();
}

void EditorHarness::Wheel(float x, float y, int steps)
{
  GraphicsContext* g = UI();
  if (!g) return;
  g->OnMouseOver(x, y, IMouseMod());
  g->OnMouseWheel(x, y, IMouseMod(), float(steps * 120)); // raw wheel units
  Tick();
}

void EditorHarness::MouseOver(float x, float y)
{
  if (GraphicsContext* g = UI()) g->OnMouseOver(x, y, IMouseMod());
}

void EditorHarness::SetMenuChoice(int index)
{
  mMenuChoice = index;
}

std::vector<std::string> EditorHarness::OpenedURLs() const
{
  GraphicsHeadless* g = Headless(UI());
  return g ? g->GetOpenedURLs() : std::vector<std::string>{};
}

bool EditorHarness::Capture(RgbaImage& image, std::string& error)
{
  GraphicsHeadless* g = Headless(UI());
  if (!g)
  {
    error = "the editor is not open";
    return false;
  }
  g->DrawAll();
  image.width = g->WindowWidth();
  image.height = g->WindowHeight();
  image.pixels = g->ReadPixels();
  if (image.pixels.size() != size_t(image.width) * size_t(image.height) * 4)
  {
    error = "the off-screen window could not be read back";
    return false;
  }
  return true;
}

} // namespace qm::render
