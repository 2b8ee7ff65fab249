#include "editor/Themes.h"

#include <algorithm>
#include <array>

namespace qm::Trazelle
{

using kit::gfx::IColor;

namespace
{

// Slots 1, 2, 3, 5, 11 and 12 are shared; slot 0 is the accent (slot 7) made
// transparent; 4 and 6 are light tints, 8 and 10 dark shades and 9 a very
// light tint of the accent.
constexpr control::ColorSet MakeTheme(IColor accent, IColor tint4, IColor tint6, IColor shade8,
                                      IColor tint9, IColor shade10)
{
  return {accent.WithAlpha(0),
          IColor(255, 38, 50, 56),
          IColor(255, 84, 110, 122),
          IColor(255, 207, 216, 220),
          tint4,
          IColor(255, 55, 71, 79),
          tint6,
          accent,
          shade8,
          tint9,
          shade10,
          IColor(255, 207, 216, 220),
          IColor(255, 233, 76, 0)};
}

constexpr std::array<control::ColorSet, kNumThemes> kThemes{
    // blue
    MakeTheme({255, 56, 178, 230}, {255, 179, 228, 246}, {255, 179, 228, 246}, {255, 11, 85, 139},
              {255, 225, 244, 251}, {255, 19, 116, 173}),
    // orange
    MakeTheme({255, 255, 166, 12}, {255, 255, 224, 175}, {255, 255, 224, 175}, {255, 233, 76, 0},
              {255, 255, 243, 223}, {255, 233, 76, 0}),
    // green
    MakeTheme({255, 34, 188, 72}, {255, 196, 235, 201}, {255, 158, 222, 166}, {255, 0, 106, 16},
              {255, 230, 247, 233}, {255, 0, 106, 16}),
    // pink
    MakeTheme({255, 236, 64, 122}, {255, 252, 228, 236}, {255, 248, 187, 208}, {255, 136, 14, 79},
              {255, 252, 228, 236}, {255, 173, 20, 87}),
};

constexpr std::array<std::string_view, kNumThemes> kThemeNames{"blue", "orange", "green", "pink"};

constexpr IColor kNeutralLine{255, 236, 239, 241};
constexpr IColor kNeutralDark{255, 96, 125, 139};
constexpr IColor kNeutralLight{255, 207, 216, 220};
constexpr control::ColorSet kNeutral{IColor(0, 96, 125, 139),
                                     kNeutralLine,
                                     kNeutralLine,
                                     kNeutralLine,
                                     kNeutralDark,
                                     kNeutralDark,
                                     kNeutralLight,
                                     kNeutralLight,
                                     kNeutralLight,
                                     kNeutralLight,
                                     kNeutralLight,
                                     kNeutralLight,
                                     IColor(255, 233, 76, 0)};

constexpr std::array<float, kNumScales> kZoomFactors{0.7f, 0.85f, 1.0f, 1.15f, 1.3f, 1.5f};
constexpr std::array<std::string_view, kNumScales> kZoomItems{"70 %",  "85 %",  "100 %",
                                                              "115 %", "130 %", "150 %"};

} // namespace

int ClampTheme(int theme)
{
  return std::clamp(theme, 0, kNumThemes - 1);
}
int ClampScale(int scale)
{
  return std::clamp(scale, 0, kNumScales - 1);
}

const control::ColorSet& ThemeColors(int theme)
{
  return kThemes[size_t(ClampTheme(theme))];
}
std::string_view ThemeName(int theme)
{
  return kThemeNames[size_t(ClampTheme(theme))];
}
const control::ColorSet& NeutralColors()
{
  return kNeutral;
}
float ZoomFactor(int scale)
{
  return kZoomFactors[size_t(ClampScale(scale))];
}
std::string_view ZoomItem(int scale)
{
  return kZoomItems[size_t(ClampScale(scale))];
}

} // namespace qm::Trazelle
