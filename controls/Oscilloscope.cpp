#include "controls/Oscilloscope.h"

#include "controls/ScopedFlushDenormals.h"
#include "graphics/GraphicsContext.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qm::control
{

namespace
{

// Column colours: slot 8 the left channel, slot 7 the right.
constexpr std::size_t kLeftSlot = 8;
constexpr std::size_t kRightSlot = 7;

uint32_t ColumnCountFor(const IRECT& bounds)
{
  const float columns = 2.f * (bounds.R - bounds.L);
  return columns > 0.f ? static_cast<uint32_t>(columns) : 0u;
}

} // namespace

template <int NChannels>
Oscilloscope<NChannels>::Oscilloscope(const IRECT& bounds, Trazelle::SampleBuffer* feed,
                                      double sampleRate, double maxDuration, double duration,
                                      const ControlStyle& style)
    : Display(bounds.T, bounds.B, feed, sampleRate, maxDuration, duration),
      ControlBase(bounds, nullptr, style, ""),
      mColumns(ColumnCountFor(bounds), sampleRate, maxDuration, duration)
{
  // Redrawn most frames, over grids and under labels that seldom change.
  SetLayered(true);
  mChannelPatterns.reserve(2);
  OnStyleChanged();
  const size_t columns = mColumns.GetColumnCount();
  for (auto* values : {&mColumnX, &mColumnTop, &mColumnBottom})
    values->resize(columns);
  for (auto& drawn : mDrawnColumns)
    drawn.resize(columns);
}

template <int NChannels>
void Oscilloscope<NChannels>::OnStyleChanged()
{
  mChannelPatterns.clear();
  mChannelPatterns.emplace_back(mStyle.Color(kLeftSlot));
  mChannelPatterns.emplace_back(mStyle.Color(kRightSlot));
}

template <int NChannels>
void Oscilloscope<NChannels>::SetDuration(double seconds)
{
  Display::SetDuration(seconds);
  mColumns.SetDuration(seconds);
  SetDirty(false);
}

template <int NChannels>
double Oscilloscope<NChannels>::GetDuration() const
{
  return mColumns.GetDuration();
}

template <int NChannels>
void Oscilloscope<NChannels>::SetSampleRate(double hz)
{
  Display::SetSampleRate(hz);
  mColumns.SetSampleRate(hz);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetTriggerEnabled(bool enabled)
{
  mColumns.SetTriggerEnabled(enabled);
  SetDirty(false);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetChannelMode(int32_t mode)
{
  mColumns.SetChannelMode(mode);
  SetDirty(false);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetGain(double gain)
{
  mGain.exchange(gain);
  SetDirty(false);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetFrozen(bool frozen)
{
  mColumns.SetFrozen(frozen);
  if (frozen) mWrap = {};
  SetDirty(false);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetFrozenPosition(double position)
{
  mColumns.SetFrozenPosition(position);
  SetDirty(false);
}

template <int NChannels>
void Oscilloscope<NChannels>::SetTraceDrawing(ETraceDrawing drawing)
{
  if (drawing == mTraceDrawing) return;
  mTraceDrawing = drawing;
  SetDirty(false);
}

template <int NChannels>
bool Oscilloscope<NChannels>::IsDirty()
{
  if (IsHidden()) return false;
  // Frozen, nothing arrives: the picture changes only through the setters, which mark it.
  if (mColumns.GetFrozen()) return mPictureChanging = IControl::IsDirty();
  {
    ScopedFlushDenormals flush;
    UpdateColumns();
  }
  UpdateWrap();
  mColumnsFresh = true;
  mPictureChanging =
      IControl::IsDirty() || !mDrawnOnce || mWrap != mDrawnWrap || ColumnsChangedSinceDrawn();
  return mPictureChanging;
}

template <int NChannels>
bool Oscilloscope<NChannels>::ColumnsChangedSinceDrawn() const
{
  for (int c = 0; c < 2; ++c)
  {
    const ScopeColumns::Ring& ring = mColumns.GetColumns(c);
    if (!std::equal(ring.begin(), ring.end(), mDrawnColumns[c].begin(), mDrawnColumns[c].end()))
      return true;
  }
  return false;
}

template <int NChannels>
void Oscilloscope<NChannels>::UpdateWrap()
{
  mWrap = mWrapSource && !mColumns.GetFrozen() ? mWrapSource() : ColumnWrap{};
}

template <int NChannels>
void Oscilloscope<NChannels>::UpdateColumns()
{
  if (!this->mFeed) return;
  mColumns.Update(*this->mFeed);
  mOverMarks.Note(this->mFeed->History(), mColumns.GetLastDrained());
}

template <int NChannels>
void Oscilloscope<NChannels>::Draw(GraphicsContext& g)
{
  ScopedFlushDenormals flush;
  const bool fresh = std::exchange(mColumnsFresh, false);
  if (!fresh)
  {
    UpdateColumns();
    UpdateWrap();
  }
  DrawTraces(g);
  // Only a draw of columns that IsDirty compared counts as the picture on screen: a draw that
  // updated them itself may have been clipped to part of the control, so the next tick compares
  // against the older columns and redraws the whole.
  if (!fresh) return;
  for (int c = 0; c < 2; ++c)
    std::copy(mColumns.GetColumns(c).begin(), mColumns.GetColumns(c).end(),
              mDrawnColumns[c].begin());
  mDrawnWrap = mWrap;
  mDrawnOnce = true;
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawTraces(GraphicsContext& g)
{
  const int32_t mode = mColumns.GetChannelMode();
  if (mode < 1 || mode > 3) return;
  if (mTraceDrawing == ETraceDrawing::Band && g.HasNativePixels())
  {
    DrawPicture(g, mode);
    return;
  }
  if (mode != 2) DrawOutlines(g, 0);
  if (mode != 1) DrawOutlines(g, 1);
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawPicture(GraphicsContext& g, int32_t mode)
{
  // Whole device pixels around the control, with a margin for the soft edges of traces that run
  // along its top or bottom edge.
  const IRECT& r = GetRECT();
  const float scale = g.GetBackingPixelScale();
  const float x0 = std::floor(r.L * scale) - 2.f, y0 = std::floor(r.T * scale) - 2.f;
  const float x1 = std::ceil(r.R * scale) + 2.f, y1 = std::ceil(r.B * scale) + 2.f;
  mRaster.Begin(static_cast<int>(x1 - x0), static_cast<int>(y1 - y0), scale);
  const double gain = mGain.load();
  const double left = static_cast<double>(r.L) - static_cast<double>(x0 / scale);
  const float top = y0 / scale;
  for (int channel = 0; channel < 2; ++channel)
  {
    if ((channel == 0 && mode == 2) || (channel == 1 && mode == 1)) continue;
    const ScopeColumns::Ring& ring = mColumns.GetColumns(channel);
    const size_t count = ring.size();
    auto place = [&](size_t i, const ColumnRange& column)
    {
      mColumnX[i] = static_cast<float>(left + 0.5 * static_cast<double>(i) + 0.5);
      mColumnTop[i] = this->ValueToY(column.max, gain) - top;
      mColumnBottom[i] = this->ValueToY(column.min, gain) - top;
    };
    if (mWrap == ColumnWrap{})
    {
      // The plain picture: the ring's two contiguous halves in order.
      size_t i = 0;
      for (const auto& [data, n] : {ring.array_one(), ring.array_two()})
        for (size_t k = 0; k < n; ++k)
          place(i++, data[k]);
    }
    else
      for (size_t i = 0; i < count; ++i)
      {
        const size_t at = mWrap.IndexAt(i, count);
        place(i, at < count ? ring[at] : ColumnRange{});
      }
    mRaster.AddChannel(mColumnX.data(), mColumnTop.data(), mColumnBottom.data(),
                       static_cast<int>(ring.size()), mChannelPatterns[channel].GetFirstColor());
  }
  // Each channel's coverage filled with its colour, the second over the first: the back end's
  // blending composes them, and a byte per pixel and channel is all there is to upload. The first
  // goes to the back end while the helper still draws the second.
  struct Send
  {
    Oscilloscope* scope;
    GraphicsContext& g;
    IRECT bounds;
  } send{this, g, IRECT(x0 / scale, y0 / scale, x1 / scale, y1 / scale)};
  mRaster.End(
      [](void* context, int channel)
      {
        auto& [scope, g, bounds] = *static_cast<Send*>(context);
        const TraceRaster& raster = scope->mRaster;
        g.DrawMask(scope, channel, raster.Coverage(channel), raster.Width(), raster.Height(), true,
                   bounds, raster.ChannelColor(channel));
      },
      &send);
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawOutlines(GraphicsContext& g, int channel)
{
  // Each pair of neighbouring columns gives one open outline from the lower trace to the upper
  // one; where a column's minimum and maximum coincide the band collapses to a line.
  const ScopeColumns::Ring& ring = mColumns.GetColumns(channel);
  const double gain = mGain.load();
  const double left = static_cast<double>(GetRECT().L);
  const size_t count = ring.size();
  g.PathClear();
  if (count > 1)
  {
    auto column = [&](size_t slot)
    {
      const size_t at = mWrap.IndexAt(slot, count);
      return at < count ? ring[at] : ColumnRange{};
    };
    float x0 = static_cast<float>(left + 0.5);
    float min0 = this->ValueToY(column(0).min, gain);
    float max0 = this->ValueToY(column(0).max, gain);
    for (size_t i = 1; i < count; ++i)
    {
      const float x1 = static_cast<float>(left + 0.5 * static_cast<double>(i) + 0.5);
      const float min1 = this->ValueToY(column(i).min, gain);
      const float max1 = this->ValueToY(column(i).max, gain);
      g.PathMoveTo(x1, min1);
      g.PathLineTo(x0, min0);
      g.PathLineTo(x0, max0);
      g.PathLineTo(x1, max1);
      x0 = x1;
      min0 = min1;
      max0 = max1;
    }
  }
  IStrokeOptions options;
  options.mMiterLimit = 10.f;
  g.PathStroke(mChannelPatterns[channel], 1.f, options, nullptr);
}

template class Oscilloscope<2>;

} // namespace qm::control
