#pragma once

// The editor's own drawings: the title bar, the channel legend, the logo and
// the about page. They run inside controls' Draw on the UI thread and draw in
// the editor's logical coordinates.

#include "controls/ControlBase.h"
#include "graphics/ISVG.h"

namespace qm::Trazelle
{

inline constexpr const char* kProductName = "Trazelle";
inline constexpr const char* kVersionString = "1.0.0";
inline constexpr const char* kMakerName = "Quillmarsh";
inline constexpr const char* kMakerURL = "https://quillmarsh.example/";
inline constexpr const char* kDonationURL = "https://quillmarsh.example/donate";
inline constexpr const char* kDonationLabel = "buy me a coffee";

// A horizontal gradient from colour slot 6 to white over all but the last 100
// pixels, then "Trazelle" over the left 416 pixels.
void DrawTitleBar(control::ControlBase& bar, kit::gfx::GraphicsContext& g);

// The legend box: which trace colour belongs to which channel.
void DrawLegend(control::ControlBase& legend, kit::gfx::GraphicsContext& g,
                const kit::gfx::IRECT& leftRow, const kit::gfx::IRECT& rightRow);

// The logo fitted into `area` (the about overlay's closed drawing).
void DrawLogo(kit::gfx::GraphicsContext& g, const kit::gfx::ISVG& logo,
              const kit::gfx::IRECT& area);

// The about page drawn over `area`, with lines `spacing` apart; the logo stays
// drawn at its title-bar place `titleLogo` while the page covers the window.
void DrawAboutPage(kit::gfx::GraphicsContext& g, const kit::gfx::IRECT& area, float spacing,
                   const kit::gfx::ISVG& logo, const kit::gfx::IRECT& titleLogo);

} // namespace qm::Trazelle
