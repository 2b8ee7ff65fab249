#include "controls/Oscilloscope.h"

#include "controls/ScopedFlushDenormals.h"
#include "graphics/GraphicsContext.h"

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
bool Oscilloscope<NChannels>::IsDirty()
{
  if (mColumns.GetFrozen()) return IControl::IsDirty();
  return !IsHidden();
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
  UpdateColumns();
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
}

template <int NChannels>
void Oscilloscope<NChannels>::DrawChannel(GraphicsContext& g, int channel)
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
