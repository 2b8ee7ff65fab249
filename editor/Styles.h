#pragma once

// Text styles and control style presets of the editor. Text colours never come
// from a theme: a theme replaces only a style's thirteen colours, so every
// text keeps the colour given here.

#include "controls/ControlStyle.h"
#include "graphics/GraphicsStructs.h"

namespace qm::Trazelle
{

// Fonts, by the names the editor's layout registers them under.
inline constexpr const char* kFontRoboto = "Roboto-Regular";
inline constexpr const char* kFontTitle = "Neuropol-Regular";
inline constexpr const char* kFontBody = "Abel-Regular";
inline constexpr const char* kFontIcons = "forkawesome";

namespace text
{

using kit::gfx::EVAlign;
using kit::gfx::IText;

IText About();                   // about page, links, legend words, control labels: 18, black
IText Heading();                 // "Input", "Oscilloscope", "Graphics": 20, light slate
IText Small();                   // value texts of knobs, switches and menus: 15, black
IText MeterValue();              // the meter's read-outs: 14, dark slate
IText GridLabel(EVAlign valign); // numbers beside the grid lines: 14, dark slate, near
IText GridSpare();               // grid label text, never drawn (grid labels are off)
IText Icon();                    // the pop-up menus' chevron glyph
IText Title();                   // "Trazelle" in the title bar
IText Maker();                   // "Quillmarsh" on the about page

} // namespace text

// Presets. The default style is built afresh for each control that takes it;
// the others are built once and shared.
control::ControlStyle DefaultStyle();
const control::ControlStyle& SwitchStyle();
const control::ControlStyle& PopupStyle();
const control::ControlStyle& MeterStyle();
const control::ControlStyle& UpperLevelGridStyle();
const control::ControlStyle& LowerLevelGridStyle();
const control::ControlStyle& TimeGridStyle();

} // namespace qm::Trazelle
