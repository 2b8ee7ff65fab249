#include "controls/Oscilloscope.h"

#include "controls/ScopedFlushDenormals.h"
#include "graphics/GraphicsContext.h"

#include <algorithm>
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
  mChannelPatterns.reserve(2);
  OnStyleChanged();
  const size_t columns = mColumns.GetColumnCount();
  mStripX.resize(2 * columns);
  mStripY.resize(2 * columns);
  // Nine quads of two triangles at most for each column's line.
  for (auto* mesh : {&mMeshX, &mMeshY, &mMeshCoverage})
    mesh->resize(54 * columns);
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
  if (mColumns.GetFrozen()) return IControl::IsDirty();
  {
    ScopedFlushDenormals flush;
    UpdateColumns();
  }
  mColumnsFresh = true;
  return IControl::IsDirty() || !mDrawnOnce || ColumnsChangedSinceDrawn();
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
void Oscilloscope<NChannels>::UpdateColumns()
{
  if (this->mFeed) mColumns.Update(*this->mFeed);
}

template <int NChannels>
void Oscilloscope<NChannels>::Draw(GraphicsContext& g)
{
  ScopedFlushDenormals flush;
  const bool fresh = std::exchange(mColumnsFresh, false);
  if (!fresh) UpdateColumns();
  switch (mColumns.GetChannelMode())
  {
  case 1:
    DrawChannel(g, 0);
    break;
  case 2:
    DrawChannel(g, 1);
    break;
  case 3:
    DrawChannel(g, 0);
    DrawChannel(g, 1);
    break;
  default:
    break;
  }
  // Only a draw of columns that IsDirty compared counts as the picture on screen: a draw that
  // updated them itself may have been clipped to part of the control, so the next tick compares
  // against the older columns and redraws the whole.
  if (!fresh) return;
  for (int c = 0; c < 2; ++c)
    std::copy(mColumns.GetColumns(c).begin(), mColumns.GetColumns(c).end(),
              mDrawnColumns[c].begin());
  mDrawnOnce = true;
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawChannel(GraphicsContext& g, int channel)
{
  if (mTraceDrawing == ETraceDrawing::Band && g.HasNativeTriangles())
    DrawBand(g, channel);
  else
    DrawOutlines(g, channel);
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawBand(GraphicsContext& g, int channel)
{
  // Each column but the last as the soft vertical 1-pixel line a stroke would give it (solid in
  // the middle, fading to nothing over one device pixel at every edge), all in one batch of
  // triangles; the closed outline (along the maxima, back along the minima) adds the traces
  // between the columns and is all that shows where a column's minimum equals its maximum.
  const ScopeColumns::Ring& ring = mColumns.GetColumns(channel);
  const double gain = mGain.load();
  const double left = static_cast<double>(GetRECT().L);
  const size_t count = ring.size();
  g.PathClear();
  if (count > 1)
  {
    size_t i = 0;
    for (const ColumnRange& column : ring)
    {
      const float x = static_cast<float>(left + 0.5 * static_cast<double>(i) + 0.5);
      mStripX[2 * i] = mStripX[2 * i + 1] = x;
      mStripY[2 * i] = this->ValueToY(column.max, gain);
      mStripY[2 * i + 1] = this->ValueToY(column.min, gain);
      ++i;
    }
    const int vertices = BuildColumnLines(count - 1, g.GetBackingPixelScale());
    g.FillTriangles(mChannelPatterns[channel].GetFirstColor(), mMeshX.data(), mMeshY.data(),
                    mMeshCoverage.data(), vertices);
    g.PathClear();
    g.PathMoveTo(mStripX[0], mStripY[0]);
    for (i = 1; i < count; ++i)
      g.PathLineTo(mStripX[2 * i], mStripY[2 * i]);
    for (i = count; i-- > 0;)
      g.PathLineTo(mStripX[2 * i + 1], mStripY[2 * i + 1]);
    g.PathClose();
  }
  IStrokeOptions options;
  options.mMiterLimit = 10.f;
  g.PathStroke(mChannelPatterns[channel], 1.f, options, nullptr);
}

template <int NChannels>
int Oscilloscope<NChannels>::BuildColumnLines(size_t columns, float devicePixels)
{
  // A 1-pixel stroke covers fully to half a pixel less half a device pixel from its middle and
  // fades out linearly to half a pixel plus half a device pixel.
  const float pixel = 1.f / std::max(devicePixels, 0.01f);
  const float outer = 0.5f + 0.5f * pixel, inner = std::max(0.f, 0.5f - 0.5f * pixel);
  constexpr float kFade[4] = {0.f, 1.f, 1.f, 0.f};
  int n = 0;
  for (size_t i = 0; i < columns; ++i)
  {
    const float x = mStripX[2 * i];
    const float top = std::min(mStripY[2 * i], mStripY[2 * i + 1]);
    const float bottom = std::max(mStripY[2 * i], mStripY[2 * i + 1]);
    const float xs[4] = {x - outer, x - inner, x + inner, x + outer};
    const float ys[4] = {top - outer, top - inner, bottom + inner, bottom + outer};
    for (int a = 0; a < 3; ++a)
      for (int b = 1; b < 2; ++b)
      {
        if (!(xs[a + 1] > xs[a]) || !(ys[b + 1] > ys[b])) continue;
        const int corners[6][2] = {{a, b}, {a + 1, b},     {a + 1, b + 1},
                                   {a, b}, {a + 1, b + 1}, {a, b + 1}};
        for (const auto& [cx, cy] : corners)
        {
          mMeshX[n] = xs[cx];
          mMeshY[n] = ys[cy];
          mMeshCoverage[n] = kFade[cx] * kFade[cy];
          ++n;
        }
      }
  }
  return n;
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
    auto previous = ring.begin();
    float x0 = static_cast<float>(left + 0.5);
    float min0 = this->ValueToY(previous->min, gain);
    float max0 = this->ValueToY(previous->max, gain);
    size_t i = 1;
    for (auto it = std::next(previous); it != ring.end(); ++it, ++i)
    {
      const float x1 = static_cast<float>(left + 0.5 * static_cast<double>(i) + 0.5);
      const float min1 = this->ValueToY(it->min, gain);
      const float max1 = this->ValueToY(it->max, gain);
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
