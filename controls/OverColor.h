#pragma once

#include "graphics/GraphicsStructs.h"

namespace qm::control
{

/** The colour of everything that reports overs (the meter's lights, the marks on the position
 * strip). One red for every theme: deep enough to stand apart from the orange theme's bar and
 * from the pink theme's accent, light enough that white digits read on it. */
inline constexpr kit::gfx::IColor kOverColor{255, 208, 0, 24};

} // namespace qm::control
