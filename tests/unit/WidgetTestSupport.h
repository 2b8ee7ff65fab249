#pragma once

// Shared helpers for the widget, grid and line control tests: a style whose thirteen colours are
// all different (so every drawing can be traced back to its slot), pointer events for a
// recording graphics context, and queries over its recorded commands.

#include "RecordingGraphics.h"
#include "controls/ControlStyle.h"

#include <vector>

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

/** Strokes (or fills) whose pattern starts with `color`. */
inline std::vector<Command> PaintsWith(const RecordingGraphics& g, Op op, const IColor& color)
{
  std::vector<Command> found;
  for (const Command& c : g.commands)
    if (c.op == op && c.pattern.NStops() > 0 && c.pattern.GetFirstColor() == color)
      found.push_back(c);
  return found;
}

/** The path each stroke or fill painted: the primitives recorded since the previous clear or
 * the previous paint that did not keep its path. One entry per paint, in drawing order. */
struct Paint
{
  Command paint;
  std::vector<Command> path;
};

inline std::vector<Paint> Paints(const RecordingGraphics& g)
{
  std::vector<Paint> paints;
  std::vector<Command> path;
  for (const Command& c : g.commands)
  {
    if (c.op == Op::Clear)
      path.clear();
    else if (c.op == Op::Stroke || c.op == Op::Fill)
    {
      paints.push_back({c, path});
      const bool keep = c.op == Op::Stroke ? c.strokeOptions.mPreserve : c.fillOptions.mPreserve;
      if (!keep) path.clear();
    }
    else if (c.op != Op::Text && c.op != Op::Bitmap)
      path.push_back(c);
  }
  return paints;
}

inline std::vector<Command> Texts(const RecordingGraphics& g)
{
  return g.Of(Op::Text);
}

} // namespace qm::control::test
