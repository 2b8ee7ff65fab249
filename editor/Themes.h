#pragma once

// The editor's colour themes, the neutral colours of the grids, the colour of
// the fixed lines and the window zoom factors. Themes and zoom factors are
// indexed by the settings record's theme and scale; indices outside the tables
// (possible only with a hand-made state) are clamped to them.

#include "controls/ControlStyle.h"
#include "graphics/GraphicsStructs.h"

#include <string_view>

namespace qm::Trazelle
{

inline constexpr int kNumThemes = 4;
inline constexpr int kNumScales = 6;
inline constexpr int kDefaultTheme = 0; // "blue"
inline constexpr int kDefaultScale = 2; // "100 %"

// The editor's fixed logical size; a zoom factor scales the whole window.
inline constexpr int kEditorWidth = 832;
inline constexpr int kEditorHeight = 464;

int ClampTheme(int theme);
int ClampScale(int scale);

// The thirteen style colours of theme `theme` (clamped).
const control::ColorSet& ThemeColors(int theme);
// The "theme" menu item of `theme` (clamped): "blue", "orange", "green", "pink".
std::string_view ThemeName(int theme);

// Colours of the three grid styles; no theme ever replaces them.
const control::ColorSet& NeutralColors();

// The zero line and the title-bar line keep this colour whatever the theme.
inline constexpr kit::gfx::IColor kLineColor{255, 207, 216, 220};

// Window zoom factor of `scale` (clamped), a single-precision value.
float ZoomFactor(int scale);
// The "scale" menu item of `scale` (clamped): "70 %" ... "150 %".
std::string_view ZoomItem(int scale);

} // namespace qm::Trazelle
