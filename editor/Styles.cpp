#include "editor/Styles.h"

#include "editor/Themes.h"

namespace qm::Trazelle
{

using kit::gfx::COLOR_BLACK;
using kit::gfx::EAlign;
using kit::gfx::EVAlign;
using kit::gfx::IColor;
using kit::gfx::IText;

namespace
{

constexpr IColor kDarkSlate{255, 38, 50, 56};

IText Make(const char* font, float size, const IColor& colour, EAlign align = EAlign::Center,
           EVAlign valign = EVAlign::Middle)
{
  return IText(size, colour, font, align, valign);
}

control::ControlStyle Preset(const control::ColorSet& colours, const IText& label,
                             const IText& value, float labelGap, bool showLabel, bool showValue)
{
  control::ControlStyle style;
  style.colors = colours;
  style.labelText = label;
  style.valueText = value;
  style.frameThickness = 1.f;
  style.labelGap = labelGap;
  style.showLabel = showLabel;
  style.showValue = showValue;
  return style;
}

} // namespace

namespace text
{

IText About()
{
  return Make(kFontBody, 18.f, COLOR_BLACK);
}
IText Heading()
{
  return Make(kFontBody, 20.f, IColor(255, 176, 190, 197));
}
IText Small()
{
  return Make(kFontBody, 15.f, COLOR_BLACK);
}
IText MeterValue()
{
  return Make(kFontBody, 14.f, kDarkSlate);
}
IText GridLabel(EVAlign valign)
{
  return Make(kFontBody, 14.f, kDarkSlate, EAlign::Near, valign);
}
IText GridSpare()
{
  return Make(kFontRoboto, 14.f, COLOR_BLACK);
}
IText Icon()
{
  return Make(kFontIcons, 15.f, COLOR_BLACK);
}
IText Title()
{
  return Make(kFontTitle, 24.f, kDarkSlate);
}
IText Maker()
{
  return Make(kFontTitle, 22.f, IColor(255, 55, 71, 79));
}

} // namespace text

control::ControlStyle DefaultStyle()
{
  return Preset(ThemeColors(kDefaultTheme), text::About(), text::Small(), 0.f, true, true);
}

const control::ControlStyle& SwitchStyle()
{
  static const control::ControlStyle style =
      Preset(ThemeColors(kDefaultTheme), text::About(), text::Small(), 15.f, true, true);
  return style;
}

const control::ControlStyle& PopupStyle()
{
  static const control::ControlStyle style =
      Preset(ThemeColors(kDefaultTheme), text::About(), text::Small(), 8.f, true, true);
  return style;
}

const control::ControlStyle& MeterStyle()
{
  static const control::ControlStyle style =
      Preset(ThemeColors(kDefaultTheme), text::About(), text::MeterValue(), 8.f, true, false);
  return style;
}

const control::ControlStyle& UpperLevelGridStyle()
{
  static const control::ControlStyle style =
      Preset(NeutralColors(), text::GridSpare(), text::GridLabel(EVAlign::Top), 0.f, false, true);
  return style;
}

const control::ControlStyle& LowerLevelGridStyle()
{
  static const control::ControlStyle style = Preset(
      NeutralColors(), text::GridSpare(), text::GridLabel(EVAlign::Bottom), 0.f, false, true);
  return style;
}

const control::ControlStyle& TimeGridStyle()
{
  // Same look as the lower level grid: labels along the bottom edge.
  static const control::ControlStyle style = Preset(
      NeutralColors(), text::GridSpare(), text::GridLabel(EVAlign::Bottom), 0.f, false, true);
  return style;
}

} // namespace qm::Trazelle
