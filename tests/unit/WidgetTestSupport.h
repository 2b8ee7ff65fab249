#pragma once

// Shared helpers for the widget, grid and line control tests: a style whose thirteen colours are
// all different (so every drawing can be traced back to its slot) and pointer events for a
// recording graphics context.

#include "RecordingGraphics.h"
#include "controls/ControlStyle.h"

namespace qm::control::test
{

using namespace kit::gfx;
using kit::gfx::test::Command;
using kit::gfx::test::Op;
using kit::gfx::test::RecordingGraphics;

/** Slot i is (255, 10 i, 100 + i, 200 - i): distinct and recognisable. */
inline ColorSet DistinctColors(int alpha = 255)
{
  ColorSet colors;
  for (int i = 0; i < static_cast<int>(kNumStyleColors); ++i)
    colors[i] = IColor(alpha, 10 * i, 100 + i, 200 - i);
  return colors;
}

inline ControlStyle TestStyle()
{
  ControlStyle style;
  style.colors = DistinctColors();
  style.labelText = IText(18.f, COLOR_BLACK, "Abel-Regular");
  style.valueText = IText(15.f, COLOR_BLACK, "Abel-Regular");
  style.frameThickness = 1.f;
  style.labelGap = 0.f;
  return style;
}

inline IMouseInfoList Pointer(float x, float y, float dX = 0.f, float dY = 0.f,
                              const IMouseMod& mod = IMouseMod(true))
{
  IMouseInfo info;
  info.x = x;
  info.y = y;
  info.dX = dX;
  info.dY = dY;
  info.ms = mod;
  return {info};
}

} // namespace qm::control::test
