#pragma once

#include "controls/ControlBase.h"

namespace qm::control
{

/** Scale lines with numeric labels behind the oscilloscope.
 *
 * Linear mode: lines at every multiple of the step inside the value range, thinned to whole
 * multiples of the step until they are at least the minimum spacing apart; each label sits in
 * the cell after its line. Decibel mode: lines every step dB down from the range maximum, placed
 * by amplitude (denser toward the quiet end), skipping levels that would crowd the previous line
 * and stopping at -96 dB; "mirrored" measures from the bottom (right) edge instead of the top
 * (left). Nothing is cached: the owner writes ranges and steps, marks the grid dirty and the next
 * draw uses them. Steps and spacings must be positive; otherwise nothing is drawn. */
class GridControl : public ControlBase
{
public:
  /** Levels at or below this are never drawn (dB). */
  static constexpr double kFloorDb = -96.0;

  GridControl(const IRECT& bounds, const ControlStyle& style, const std::string& label = {});
  ~GridControl() override;

  void Draw(GraphicsContext& g) override;

  void SetXRange(double minimum, double maximum) { mXMin = minimum, mXMax = maximum; }
  void SetYRange(double minimum, double maximum) { mYMin = minimum, mYMax = maximum; }
  void SetSteps(double x, double y) { mXStep = x, mYStep = y; }
  void SetXStep(double x) { mXStep = x; }
  void SetYStep(double y) { mYStep = y; }
  void SetMinSpacing(float x, float y) { mXMinSpacing = x, mYMinSpacing = y; }
  /** Horizontal lines mark y values; vertical lines mark x values. */
  void SetLines(bool horizontal, bool vertical) { mHorizontal = horizontal, mVertical = vertical; }
  void SetDecibelMode(bool on) { mDecibel = on; }
  void SetMirrored(int mirrored) { mMirrored = mirrored; }
  void SetLabelPrecision(int decimals) { mPrecision = decimals; }

  double GetXMin() const { return mXMin; }
  double GetXMax() const { return mXMax; }
  double GetYMin() const { return mYMin; }
  double GetYMax() const { return mYMax; }
  double GetXStep() const { return mXStep; }
  double GetYStep() const { return mYStep; }

private:
  void DrawLinear(GraphicsContext& g, bool vertical);
  void DrawDecibel(GraphicsContext& g, bool vertical);
  std::string FormatLabel(double value) const;

  double mXMin = 0.0;
  double mXMax = 1.0;
  double mYMin = 0.0;
  double mYMax = 1.0;
  double mXStep = 0.1;
  double mYStep = 0.1;
  float mXMinSpacing;
  float mYMinSpacing;
  bool mHorizontal = true;
  bool mVertical = true;
  bool mDecibel = false;
  int mMirrored = 0;
  int mPrecision = 1;
};

} // namespace qm::control
