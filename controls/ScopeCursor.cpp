#include "controls/ScopeCursor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qm::control
{

using kit::gfx::IRECT;

namespace
{

constexpr float kLabelGap = 10.f; // between the pointer (or what the label avoids) and the label

template <typename... Args>
std::string Printed(const char* format, Args... args)
{
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), format, args...);
  return buffer;
}

IRECT ClampedInto(IRECT r, const IRECT& area)
{
  const float w = r.W(), h = r.H();
  const float x = std::max(area.L, std::min(r.L, area.R - w));
  const float y = std::max(area.T, std::min(r.T, area.B - h));
  return IRECT::MakeXYWH(x, y, w, h);
}

} // namespace

ScopeTimeBase ScopeTimeBase::Of(const ScopeColumns& columns)
{
  ScopeTimeBase base;
  base.sampleRate = columns.GetSampleRate();
  base.samplesPerColumn = columns.GetSamplesPerColumn();
  base.columnCount = columns.GetColumnCount();
  base.searchColumns = columns.GetSearchColumns();
  base.startColumn = columns.GetLastTriggerColumn();
  // Without a crossing the trigger search starts the picture at the search column count, which
  // shows the newest frames, as scrolling does.
  base.fromTrigger =
      columns.GetTriggerEnabled() && !columns.GetFrozen() && base.startColumn < base.searchColumns;
  return base;
}

double ScopeTimeBase::SecondsPerColumn() const
{
  return sampleRate > 0.0 ? double(samplesPerColumn) / sampleRate : 0.0;
}

double ScopeTimeBase::TimeAt(double column) const
{
  if (fromTrigger) return column * SecondsPerColumn();
  // The newest frame ends the window's last column.
  const double newest = double(columnCount) + double(searchColumns) - 1.0;
  return (double(startColumn) + column - newest) * SecondsPerColumn();
}

double ScopeTimeBase::ColumnAt(double seconds) const
{
  const double perColumn = SecondsPerColumn();
  if (!(perColumn > 0.0)) return 0.0;
  if (fromTrigger) return seconds / perColumn;
  const double newest = double(columnCount) + double(searchColumns) - 1.0;
  return seconds / perColumn + newest - double(startColumn);
}

bool ScopeCursor::Hover(int column)
{
  if (mHover == column) return false;
  mHover = column;
  return true;
}

bool ScopeCursor::Leave()
{
  if (!mHover) return false;
  mHover.reset();
  return true;
}

bool ScopeCursor::Click(int column, const ScopeTimeBase& base)
{
  const std::optional<int> reference = ReferenceColumn(base);
  if (reference && std::abs(*reference - column) <= kReferenceGrip)
    mReference.reset();
  else
    mReference = base.TimeAt(double(column));
  return true;
}

bool ScopeCursor::ClearReference()
{
  if (!mReference) return false;
  mReference.reset();
  return true;
}

std::optional<int> ScopeCursor::ReferenceColumn(const ScopeTimeBase& base) const
{
  if (!mReference) return std::nullopt;
  const double column = std::round(base.ColumnAt(*mReference));
  if (!(column >= 0.0 && column < double(base.columnCount))) return std::nullopt;
  return int(column);
}

std::vector<std::string> ScopeCursor::Lines(const ScopeTimeBase& base,
                                            const ScopeColumns& columns) const
{
  std::vector<std::string> lines;
  if (!mHover) return lines;
  const int column = *mHover;
  const double time = base.TimeAt(double(column));
  lines.push_back(FormatCursorTime(time));

  const int32_t mode = columns.GetChannelMode();
  const char* names[2] = {"L", "R"};
  for (int channel = 0; channel < 2; ++channel)
  {
    if (!(mode & (1 << channel))) continue;
    const ScopeColumns::Ring& ring = columns.GetColumns(channel);
    if (column >= 0 && size_t(column) < ring.size())
      lines.push_back(FormatChannelLevels(names[channel], ring[size_t(column)]));
  }

  if (mReference)
  {
    const double delta = time - *mReference;
    lines.push_back("\xCE\x94t " + FormatCursorTime(delta));
    // Within one column of the reference the interval is below what the picture resolves.
    const bool resolved = std::fabs(delta) >= 0.5 * base.SecondsPerColumn() && delta != 0.0;
    lines.push_back("1/\xCE\x94t " + (resolved ? FormatFrequency(1.0 / std::fabs(delta)) : "--"));
  }
  return lines;
}

int ScopeCursor::ColumnAtX(float x, float left, uint32_t count)
{
  if (count == 0) return 0;
  // Column i is drawn at left + 0.5 + 0.5 i.
  const double i = std::round(2.0 * (double(x) - double(left)) - 1.0);
  if (!(i > 0.0)) return 0;
  return int(std::min(i, double(count - 1)));
}

float ScopeCursor::XOfColumn(int column, float left)
{
  return float(double(left) + 0.5 + 0.5 * double(column));
}

IRECT ScopeCursor::PlaceLabel(float px, float py, float w, float h, const IRECT& area,
                              const IRECT& avoid)
{
  const float right = px + kLabelGap, leftOf = px - kLabelGap - w;
  const float below = py + kLabelGap, above = py - kLabelGap - h;
  // Beside the pointer first, then pushed past each side of what must stay visible.
  const IRECT candidates[] = {
      IRECT::MakeXYWH(right, below, w, h),
      IRECT::MakeXYWH(leftOf, below, w, h),
      IRECT::MakeXYWH(right, above, w, h),
      IRECT::MakeXYWH(leftOf, above, w, h),
      IRECT::MakeXYWH(avoid.R + kLabelGap, below, w, h),
      IRECT::MakeXYWH(avoid.L - kLabelGap - w, below, w, h),
      IRECT::MakeXYWH(right, avoid.B + kLabelGap, w, h),
      IRECT::MakeXYWH(right, avoid.T - kLabelGap - h, w, h),
  };
  auto clear = [&avoid](const IRECT& r) { return !r.Intersects(avoid); };
  for (const IRECT& r : candidates)
    if (area.Contains(r) && clear(r)) return r;
  for (const IRECT& r : candidates)
    if (const IRECT clamped = ClampedInto(r, area); clear(clamped)) return clamped;
  return ClampedInto(candidates[0], area);
}

std::string FormatCursorTime(double seconds)
{
  if (!std::isfinite(seconds)) return "--";
  const double magnitude = std::fabs(seconds);
  // Rounding to the digits shown must not leave a "-0.00".
  if (magnitude < 0.000005) return "0.00 ms";
  if (magnitude < 0.01) return Printed("%.2f ms", seconds * 1000.0);
  if (magnitude < 0.99995) return Printed("%.1f ms", seconds * 1000.0);
  return Printed("%.3f s", seconds);
}

std::string FormatLevel(double sample)
{
  if (std::isnan(sample)) return "NaN";
  const double magnitude = std::fabs(sample);
  if (std::isinf(magnitude)) return "+inf";
  if (magnitude == 0.0) return "-inf";
  const double db = 20.0 * std::log10(magnitude);
  if (std::fabs(db) < 0.05) return "0.0";
  return Printed(db > 0.0 ? "+%.1f" : "%.1f", db);
}

std::string FormatFrequency(double hz)
{
  if (!(hz > 0.0) || !std::isfinite(hz)) return "--";
  const int decimals = hz >= 999.95 ? 0 : hz >= 99.995 ? 1 : hz >= 9.9995 ? 2 : 3;
  return Printed("%.*f Hz", decimals, hz);
}

std::string FormatChannelLevels(const char* channel, const ColumnRange& column)
{
  return std::string(channel) + " " + FormatLevel(column.max) + " / " + FormatLevel(column.min) +
         " dB";
}

} // namespace qm::control
