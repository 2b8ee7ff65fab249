#pragma once

#include "controls/ScopeColumns.h"
#include "graphics/GraphicsStructs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::control
{

/** Where the oscilloscope's picture lies in time, as its last update left it. Picture column 0 is
 * the left edge. A live view in "waveform" mode that found its trigger counts from the trigger
 * point (column 0); every other view (scrolling, untriggered, frozen) counts back from the newest
 * frame the history holds, so its times are zero or negative. */
struct ScopeTimeBase
{
  double sampleRate = 0.0;
  uint32_t samplesPerColumn = 1;
  uint32_t columnCount = 0;
  uint32_t searchColumns = 0;
  uint32_t startColumn = 0; // window column the picture starts at
  bool fromTrigger = false;

  static ScopeTimeBase Of(const ScopeColumns& columns);

  double SecondsPerColumn() const;
  double TimeAt(double column) const;
  /** The (fractional) picture column that shows `seconds`; TimeAt's inverse. */
  double ColumnAt(double seconds) const;
};

/** The read-out of the oscilloscope's cursor: which column the pointer is over, the optional
 * reference cursor of the frozen view, and the label's lines. Pure state and text, no drawing.
 *
 * The reference is kept as a time, not a column, so that it stays on its moment of the frozen
 * history while the view slides or changes its duration. */
class ScopeCursor
{
public:
  /** A click this many columns or fewer from the reference lands on it. */
  static constexpr int kReferenceGrip = 6;

  /** Each returns whether anything shown changed. */
  bool Hover(int column);
  bool Leave();
  /** A click on the frozen view at `column`: clears the reference when it lands on it, else puts
   * the reference there. */
  bool Click(int column, const ScopeTimeBase& base);
  bool ClearReference();

  std::optional<int> HoverColumn() const { return mHover; }
  std::optional<double> ReferenceTime() const { return mReference; }
  /** The picture column of the reference, rounded; empty when unset or outside the picture. */
  std::optional<int> ReferenceColumn(const ScopeTimeBase& base) const;

  /** The label: time, one line per channel shown (channel mode 1 left, 2 right, 3 both), then
   * Δt and 1/Δt while a reference is set. Empty while nothing is hovered. */
  std::vector<std::string> Lines(const ScopeTimeBase& base, const ScopeColumns& columns) const;

  /** The picture column nearest to logical x, for a picture of `count` half-pixel columns whose
   * left edge is `left`; and the x a column is drawn at. */
  static int ColumnAtX(float x, float left, uint32_t count);
  static float XOfColumn(int column, float left);

  /** Where a w x h label goes beside the pointer (px, py): below right of it by preference,
   * flipped where that leaves `area`, always inside `area` and clear of `avoid` when `area` has
   * room for both. */
  static kit::gfx::IRECT PlaceLabel(float px, float py, float w, float h,
                                    const kit::gfx::IRECT& area, const kit::gfx::IRECT& avoid);

private:
  std::optional<int> mHover;
  std::optional<double> mReference;
};

/** "-12.3 ms", "4.17 ms" below 1 s, "-1.234 s" above. */
std::string FormatCursorTime(double seconds);
/** A sample's magnitude in dBFS, one decimal: "-6.0", "+1.2" above full scale, "-inf" for 0. */
std::string FormatLevel(double sample);
/** Four significant digits: "440.0 Hz", "1000 Hz", "55.00 Hz". */
std::string FormatFrequency(double hz);
/** "L -6.0 / -9.5 dB": the column's largest sample, then its smallest. */
std::string FormatChannelLevels(const char* channel, const ColumnRange& column);

} // namespace qm::control
