// The oscilloscope's band drawing against its per-column reference drawing, headless: the GL
// draw calls a scope frame costs, and that both give the same picture.

#include "RenderFixture.h"
#include "controls/Oscilloscope.h"
#include "graphics/platform/headless/GLDrawCounter.h"
#include "plugin/DemoSignal.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace trazelle::test
{

namespace
{

using qm::control::ETraceDrawing;
using Scope = qm::control::Oscilloscope<2>;

constexpr double kRate = 48000.0;
// The editor's scope, in a window just large enough for it.
const IRECT kScopeBounds(0.f, 48.f, 832.f, 304.f);

qm::control::ControlStyle BlueStyle()
{
  qm::control::ControlStyle style;
  style.colors[7] = IColor(255, 56, 178, 230);
  style.colors[8] = IColor(255, 11, 85, 139);
  return style;
}

using Signal = std::function<void(int64_t frame, double& left, double& right)>;

struct Case
{
  const char* name;
  bool waveform;
  double duration;
  Signal signal;
};

std::vector<Case> Cases()
{
  auto demo = std::make_shared<qm::Trazelle::DemoSignal>(kRate);
  auto noise = std::make_shared<std::mt19937>(7);
  return {
      {"demo, envelope 2 s", false, 2.0,
       [demo](int64_t i, double& l, double& r)
       {
         l = demo->Left(i % demo->TotalFrames());
         r = demo->Right(i % demo->TotalFrames());
       }},
      {"1 kHz sine, waveform 0.02 s", true, 0.02,
       [](int64_t i, double& l, double& r)
       { l = r = 0.8 * std::sin(2.0 * std::numbers::pi * 1000.0 * double(i) / kRate); }},
      {"full-scale white noise, envelope 2 s", false, 2.0,
       [noise](int64_t, double& l, double& r)
       {
         std::uniform_real_distribution<double> full(-1.0, 1.0);
         l = full(*noise);
         r = full(*noise);
       }},
      {"full-scale white noise, waveform 0.05 s", true, 0.05,
       [noise](int64_t, double& l, double& r)
       {
         std::uniform_real_distribution<double> full(-1.0, 1.0);
         l = full(*noise);
         r = full(*noise);
       }},
      // One sample per column: every column's minimum is its maximum, the band is a line.
      {"quiet sine, one sample per column", false, 0.0,
       [](int64_t i, double& l, double& r)
       {
         l = 0.002 * std::sin(2.0 * std::numbers::pi * 15.0 * double(i) / kRate);
         r = -l;
       }},
  };
}

class TraceDrawing : public RenderTest
{
public:
  void SetUp() override
  {
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
  }

  // A scope fed with three seconds of `c.signal`, in a window at `scale`.
  std::unique_ptr<Scope> Prepare(const Case& c, float scale, int channelMode)
  {
    Open(832, 320, scale);
    auto scope = std::make_unique<Scope>(kScopeBounds, &mPlugin.OscilloscopeBuffer(), kRate, 4.0,
                                         2.0, BlueStyle());
    scope->SetDuration(c.duration);
    scope->SetTriggerEnabled(c.waveform);
    scope->SetChannelMode(channelMode);
    constexpr int kBlock = 800;
    std::vector<double> l(kBlock), r(kBlock), o0(kBlock), o1(kBlock);
    for (int64_t first = 0; first < int64_t(3.0 * kRate); first += kBlock)
    {
      for (int i = 0; i < kBlock; ++i)
        c.signal(first + i, l[size_t(i)], r[size_t(i)]);
      double* in[2] = {l.data(), r.data()};
      double* out[2] = {o0.data(), o1.data()};
      mPlugin.ProcessBlock(in, out, kBlock);
      scope->UpdateColumns();
    }
    return scope;
  }

  void DrawFrame(Scope* scope)
  {
    Frame(
        [&](GraphicsContext& g)
        {
          g.FillRect(COLOR_WHITE, g.GetBounds());
          if (scope) scope->Draw(g);
        });
  }

  // Share of the scope's device pixels whose colours differ by more than 32 in any channel.
  double DifferingShare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) const
  {
    const float scale = mGraphics->GetBackingPixelScale();
    const int w = mGraphics->WindowWidth();
    const int top = int(kScopeBounds.T * scale), bottom = int(kScopeBounds.B * scale);
    int differing = 0, total = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < w; ++x, ++total)
      {
        const size_t i = (size_t(y) * size_t(w) + size_t(x)) * 4u;
        for (size_t k = 0; k < 4; ++k)
          if (std::abs(int(a[i + k]) - int(b[i + k])) > 32)
          {
            ++differing;
            break;
          }
      }
    return double(differing) / double(total);
  }

  qm::Trazelle::Trazelle mPlugin;
};

} // namespace

// At most 16 GL draw calls for both channels, whatever the mode, duration and scale (the
// per-column outlines need one per column pair).
TEST_F(TraceDrawing, AScopeFrameTakesAHandfulOfDrawCalls)
{
  for (const Case& c : Cases())
    for (float scale : {1.f, 1.5f})
    {
      auto scope = Prepare(c, scale, 3);
      DrawFrame(scope.get()); // resolves the GL entry points before counting
      InstallGLDrawCounter();
      const long long before = GLDrawCalls();
      DrawFrame(nullptr);
      const long long empty = GLDrawCalls() - before;
      DrawFrame(scope.get());
      const long long scopeDraws = GLDrawCalls() - before - 2 * empty;
      EXPECT_GT(scopeDraws, 0) << c.name << " at " << scale;
      EXPECT_LE(scopeDraws, 16) << c.name << " at " << scale;
      scope->SetTraceDrawing(ETraceDrawing::Reference);
      const long long reference = GLDrawCalls();
      DrawFrame(scope.get());
      EXPECT_GT(GLDrawCalls() - reference - empty, 1000) << "the reference: " << c.name;
    }
}

// The band and the reference outlines give the same picture: at most 1 % of the scope's pixels
// differ by more than 32 levels in a colour channel, for every signal, scale and channel choice.
TEST_F(TraceDrawing, BandLooksLikeTheReference)
{
  for (const Case& c : Cases())
    for (float scale : {1.f, 1.5f})
      for (int channels : {3, 1, 2})
      {
        auto scope = Prepare(c, scale, channels);
        DrawFrame(scope.get());
        const std::vector<uint8_t> band = mPixels;
        scope->SetTraceDrawing(ETraceDrawing::Reference);
        DrawFrame(scope.get());
        const double share = DifferingShare(band, mPixels);
        std::printf("[ picture ] %-40s %3.0f %%  channels %d: %.3f %% of pixels differ\n", c.name,
                    scale * 100.f, channels, share * 100.0);
        EXPECT_LE(share, 0.01) << c.name << " at " << scale << ", channels " << channels;
      }
}

} // namespace trazelle::test
