#include "controls/SignalMeter.h"

#include "controls/HistorySpan.h"
#include "controls/OverColor.h"
#include "graphics/GraphicsContext.h"
#include "plugin/OverCounter.h"
#include "plugin/SampleBuffer.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace qm::control
{

using kit::gfx::COLOR_WHITE;
using kit::gfx::EAlign;
using kit::gfx::EVAlign;

namespace
{

constexpr std::size_t kBackgroundSlot = 4;
constexpr std::size_t kBarSlot = 8;
constexpr std::size_t kZeroDbSlot = 2;

// At most four characters, so the light stays within the part of the bar above 0 dB.
void FormatOvers(std::uint64_t n, char* text, std::size_t size)
{
  if (n == 0)
    text[0] = '\0';
  else if (n < 1000)
    std::snprintf(text, size, "%" PRIu64, n);
  else if (n < 1000000)
    std::snprintf(text, size, "%" PRIu64 "k", n / 1000);
  else
    std::snprintf(text, size, "%" PRIu64 "M", std::min<std::uint64_t>(n / 1000000, 999));
}

} // namespace

template <int NChannels>
SignalMeter<NChannels>::SignalMeter(const IRECT& bounds, Trazelle::SampleBuffer* feed,
                                    double sampleRate,
                                    const std::array<std::string, NChannels>& labels,
                                    const ControlStyle& style)
    : ControlBase(bounds, nullptr, style, ""), mFeed(feed), mChannelLabels(labels)
{
  // Redrawn most frames while audio plays, over the panel that seldom changes.
  SetLayered(true);
  mBallistics.SetSampleRate(sampleRate);
  for (auto& text : mReadoutTexts)
    MeterBallistics::FormatPeak(MeterReadout{}, text.data(), static_cast<int>(text.size()));
}

template <int NChannels>
void SignalMeter<NChannels>::SetSampleRate(double hz)
{
  mPendingSampleRate.exchange(hz);
}

template <int NChannels>
void SignalMeter<NChannels>::ApplyPendingSampleRate()
{
  const double hz = mPendingSampleRate.exchange(0.0);
  if (hz > 0.0) mBallistics.SetSampleRate(hz);
}

template <int NChannels>
void SignalMeter<NChannels>::SetBallistics(double attackDbPerSecond, double releaseDbPerSecond,
                                           double floorDb, double ceilingDb, double holdMs)
{
  ApplyPendingSampleRate();
  mBallistics.SetBallistics(attackDbPerSecond, releaseDbPerSecond, floorDb, ceilingDb, holdMs);
}

template <int NChannels>
void SignalMeter<NChannels>::UpdateLevels()
{
  ApplyPendingSampleRate();
  if (!mFeed) return;
  const int64_t size = static_cast<int64_t>(mFeed->History().size());
  const int64_t drained = static_cast<int64_t>(mFeed->Consume(static_cast<int>(size), 1));
  // More frames than the history holds: their oldest part is already overwritten, so this
  // draw leaves the levels as they are rather than run over a torn sequence.
  if (drained > size) return;
  ForEachFrame(mFeed->History(), size - drained, drained,
               [&](const auto& frame)
               {
                 for (int c = 0; c < NChannels; ++c)
                   mBallistics.Process(mChannels[c], frame[c]);
               });
}

template <int NChannels>
void SignalMeter<NChannels>::OnInit()
{
  GraphicsContext* g = GetUI();
  if (!g) return;
  const IRECT& w = mWidgetBounds;
  const float gap = mStyle.labelGap;
  IRECT measured;
  g->MeasureText(mStyle.valueText, "-99.9", measured);
  IRECT labels;
  for (int i = 0; i < NChannels; ++i)
  {
    const float h = (w.B - w.T) * 0.5f;
    const float y = w.T + static_cast<float>(i) * h;
    mBarRects[i] = IRECT{w.L, y + 1.f, w.R, y + h - 1.f};
    IRECT text;
    if (!mChannelLabels[i].empty())
      g->MeasureText(mStyle.labelText, mChannelLabels[i].c_str(), text);
    const float width = text.R - text.L;
    const IRECT& bar = mBarRects[i];
    mLabelRects[i] = IRECT{bar.L - width - gap, bar.T, bar.L - gap, bar.B};
    labels = labels.Union(mLabelRects[i]);
  }
  // The read-outs are sized for the widest text they show: one above the upper bar, one below
  // the lower bar, 2 pixels away from it.
  const IRECT& top = mBarRects[0];
  const IRECT& bottom = mBarRects[NChannels - 1];
  mReadoutRects[0] = IRECT{top.L + measured.L, top.T - 2.f - measured.B + measured.T,
                           top.L + measured.R, top.T - 2.f};
  mReadoutRects[NChannels - 1] =
      IRECT{bottom.L + measured.L, bottom.B + 2.f + measured.B + measured.T, bottom.L + measured.R,
            bottom.B + 2.f + 2.f * measured.B};
  mLabelRect = labels;
  SetRECT(IRECT{labels.L, mReadoutRects[0].T, top.R + measured.R, mReadoutRects[NChannels - 1].B});
  SetMouseIsOver(false);
  OnResize();
}

template <int NChannels>
typename SignalMeter<NChannels>::Shown SignalMeter<NChannels>::ShownFor(int channel) const
{
  const double length = static_cast<double>(mWidgetBounds.R - mWidgetBounds.L);
  const MeterReadout r = mBallistics.ReadOut(mChannels[channel]);
  Shown shown;
  shown.levelLength = static_cast<float>(length * r.levelFraction);
  shown.peakOffset = static_cast<float>(length * r.peakFraction);
  MeterBallistics::FormatPeak(r, shown.text.data(), static_cast<int>(shown.text.size()));
  if (mOvers && channel < Trazelle::OverCounter::kChannels)
    FormatOvers(mOvers->Shown(channel), shown.overs.data(), shown.overs.size());
  return shown;
}

template <int NChannels>
void SignalMeter<NChannels>::OnMouseDown(float, float, const IMouseMod&)
{
  ResetOvers();
}

template <int NChannels>
void SignalMeter<NChannels>::ResetOvers()
{
  if (mOvers) mOvers->ResetShown();
  // Levels first, so that frames waiting since the last draw cannot bring the old peak back.
  UpdateLevels();
  for (auto& channel : mChannels)
  {
    channel.peakHold = channel.level;
    channel.holdCounter = 0;
  }
  SetDirty(false);
}

template <int NChannels>
void SignalMeter<NChannels>::DrawOverLight(GraphicsContext& g, int channel)
{
  const char* text = mDrawn[channel].overs.data();
  if (text[0] == '\0') return;
  const IRECT& bar = mBarRects[channel];
  IText digits = mStyle.valueText.WithFGColor(COLOR_WHITE);
  digits.mSize = bar.H();
  digits.mAlign = EAlign::Center;
  digits.mVAlign = EVAlign::Middle;
  IRECT measured;
  g.MeasureText(digits, text, measured);
  const float width = std::max(bar.H(), std::ceil(measured.W()) + 4.f);
  mOverRects[channel] = IRECT{bar.R - width, bar.T, bar.R, bar.B};
  g.FillRect(kOverColor, mOverRects[channel], nullptr);
  g.DrawText(digits, text, mOverRects[channel], nullptr);
}

template <int NChannels>
bool SignalMeter<NChannels>::IsDirty()
{
  if (IsHidden()) return false;
  UpdateLevels();
  if (IControl::IsDirty() || !mDrawnOnce) return true;
  for (int c = 0; c < NChannels; ++c)
    if (!(ShownFor(c) == mDrawn[c])) return true;
  return false;
}

template <int NChannels>
void SignalMeter<NChannels>::Draw(GraphicsContext& g)
{
  UpdateLevels();
  for (int c = 0; c < NChannels; ++c)
    mDrawn[c] = ShownFor(c);
  mDrawnOnce = true;
  const float left = mWidgetBounds.L;
  const double length = static_cast<double>(mWidgetBounds.R - mWidgetBounds.L);
  const double floorDb = mBallistics.GetFloorDb();
  const float zeroDb =
      left + static_cast<float>(floorDb / (floorDb - mBallistics.GetCeilingDb()) * length);
  for (int c = 0; c < NChannels; ++c)
  {
    const MeterReadout r = mBallistics.ReadOut(mChannels[c]);
    auto& text = mReadoutTexts[c];
    MeterBallistics::FormatPeak(r, text.data(), static_cast<int>(text.size()));
    const IRECT& bar = mBarRects[c];
    if (!mChannelLabels[c].empty())
      g.DrawText(mStyle.labelText, mChannelLabels[c].c_str(), mLabelRects[c], nullptr);
    g.FillRect(mStyle.Color(kBackgroundSlot), bar, nullptr);
    g.FillRect(mStyle.Color(kBarSlot),
               IRECT{bar.L, bar.T, bar.L + static_cast<float>(length * r.levelFraction), bar.B},
               nullptr);
    const float peakX = left + static_cast<float>(length * r.peakFraction);
    g.DrawLine(mStyle.Color(kBarSlot), peakX, bar.T, peakX, bar.B, nullptr, 1.f);
    g.DrawLine(mStyle.Color(kZeroDbSlot), zeroDb, bar.T, zeroDb, bar.B, nullptr, 1.f);
    if (text[0] != '\0')
      g.DrawText(mStyle.valueText, text.data(),
                 mReadoutRects[c].GetTranslated(static_cast<float>(length * r.peakFraction), 0.f),
                 nullptr);
    DrawOverLight(g, c);
  }
}

template class SignalMeter<2>;

} // namespace qm::control
