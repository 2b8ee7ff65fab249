#include "editor/EditorLayout.h"

#include "editor/Styles.h"

#include <algorithm>
#include <cmath>

namespace qm::Trazelle
{

using kit::gfx::IRECT;

namespace
{

constexpr float kTitleHeight = 48.f;
constexpr float kLogoWidth = 66.f, kLogoMargin = 32.f, kLogoTop = 13.f, kLogoBottom = 35.f;
constexpr float kPanelHeight = 144.f, kPanelWidth = 736.f;
constexpr int kSnap = 16;

// Width and height rounded down to multiples of 16 (width at least 1).
IRECT SnappedTo16(const IRECT& r)
{
  const float w = std::max(1.f, std::floor(r.W() * 0.0625f) * kSnap);
  const float h = std::floor(r.H() * 0.0625f) * kSnap;
  return r.GetCentredInside(w, h);
}

IRECT CentredOn(double cx, double cy, float w, float h)
{
  const float x = float(cx), y = float(cy);
  return {x - w * 0.5f, y - h * 0.5f, x + w * 0.5f, y + h * 0.5f};
}

} // namespace

EditorLayout EditorLayout::Make(float W, float H)
{
  EditorLayout l{};
  l.bounds = {0.f, 0.f, W, H};
  l.titleBar = {0.f, 0.f, W, kTitleHeight};
  const float logoCentre = ((W - kLogoWidth - kLogoMargin) + (W - kLogoMargin)) / 2.f;
  l.logo = {logoCentre - kLogoWidth / 2.f, kLogoTop, logoCentre + kLogoWidth / 2.f, kLogoBottom};
  l.aboutArea = {0.f, kTitleHeight, W, H};

  // The scope is a fixed rectangle; its rows are 128 pixels high.
  l.scope = {0.f, 48.f, 832.f, 304.f};
  const int rows = int(l.scope.H() * 0.0078125f);
  const float rowHeight = l.scope.H() / float(rows);
  // One column of cells: each half spans the scope's full width.
  l.upperHalf = {l.scope.L, l.scope.T, l.scope.R, l.scope.T + rowHeight};
  l.lowerHalf = {l.scope.L, l.scope.T + rowHeight, l.scope.R, l.scope.T + 2.f * rowHeight};
  l.zeroLineY = (l.scope.T + l.scope.B) / 2.f;

  const IRECT scopeSnapped = SnappedTo16(l.scope);
  const double legendX = double(l.scope.MW() - scopeSnapped.W() / 2.f) + 88.0;
  const double legendY = double(l.scope.MH() - scopeSnapped.H() / 2.f) + 40.0;
  l.legend = CentredOn(legendX, legendY, 96.f, 48.f);
  const IRECT inner = l.legend.GetGrown(-8.f);
  l.legendRows[0] = {inner.L, inner.T, inner.R, inner.T + 16.f};
  l.legendRows[1] = {inner.L, inner.B - 16.f, inner.R, inner.B};

  l.positionSlider = {l.scope.L, l.scope.B - 16.f + 16.f, l.scope.R, l.scope.B + 16.f};
  l.positionHandle = l.positionSlider.GetFromLeft(l.positionSlider.W() * 0.2f);

  const IRECT panelArea =
      IRECT(0.f, H - kPanelHeight, W, H).GetCentredInside(kPanelWidth, kPanelHeight);
  l.panel = SnappedTo16(panelArea);
  const double x0 = l.panel.L, y0 = l.panel.T;
  const double row = y0 + 72.0, headings = y0 + 24.0;
  const double meterX = x0 + 104.0, zoomX = x0 + 392.0, menusX = x0 + 680.0;
  l.meter = CentredOn(meterX, row, 192.f, 26.f);
  l.freezeButton = CentredOn(x0 + 280.0, row, 26.f, 26.f);
  l.channelSwitch = CentredOn(x0 + 328.0, row, 58.f, 26.f);
  l.zoomKnob = CentredOn(zoomX, row, 56.f, 56.f);
  l.durationKnob = CentredOn(x0 + 456.0, row, 56.f, 56.f);
  l.modeSwitch = CentredOn(x0 + 520.0, row, 58.f, 26.f);
  l.syncSwitch = CentredOn(x0 + 566.0, row, 32.f, 26.f);
  l.themeMenu = CentredOn(menusX, y0 + 56.0, 96.f, 16.f);
  l.scaleMenu = CentredOn(menusX, y0 + 88.0, 96.f, 16.f);

  const float headingHeight = text::Heading().mSize;
  l.inputHeading = CentredOn(meterX, headings, 50.f, headingHeight);
  l.scopeHeading = CentredOn(zoomX, headings, 100.f, headingHeight);
  l.graphicsHeading = CentredOn(menusX, headings, 80.f, headingHeight);

  const float s = text::About().mSize;
  l.makerLink = {0.f, 288.f - s, W, 288.f};
  l.donationLink = {0.f, H - 80.f, W, H - 80.f + s};
  return l;
}

} // namespace qm::Trazelle
