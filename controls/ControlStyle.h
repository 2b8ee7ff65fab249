#pragma once

#include "graphics/GraphicsStructs.h"

#include <array>
#include <cstddef>

namespace qm::control
{

/** The number of colour slots every style carries; themes replace exactly these. */
inline constexpr std::size_t kNumStyleColors = 13;

using ColorSet = std::array<kit::gfx::IColor, kNumStyleColors>;

/** Look of one control, copied into it at construction.
 *
 * The widgets read the colour slots by number (1 pointer and outlines, 2 tracks, 3 rings and
 * tracks, 6 slider handle, 7 value arc and "on" fill, 8 left trace and meter bar, 9 hover
 * gradient, 10 pressed gradient); the remaining slots are carried for themes only. */
struct ControlStyle
{
  ColorSet colors{};
  kit::gfx::IText labelText;
  kit::gfx::IText valueText;
  float frameThickness = 1.f;
  float labelGap = 0.f;
  bool showLabel = true;
  bool showValue = true;

  const kit::gfx::IColor& Color(std::size_t slot) const { return colors[slot]; }
};

} // namespace qm::control
