#include "editor/EditorDrawing.h"

#include "editor/Styles.h"
#include "graphics/GraphicsContext.h"
#include "graphics/IPattern.h"

#include <string>

namespace qm::Trazelle
{

using kit::gfx::COLOR_WHITE;
using kit::gfx::EAlign;
using kit::gfx::GraphicsContext;
using kit::gfx::IColor;
using kit::gfx::IPattern;
using kit::gfx::IRECT;
using kit::gfx::ISVG;

namespace
{

constexpr float kTitleGradientInset = 100.f; // the right end of the bar stays white
constexpr float kTitleTextWidth = 416.f;
constexpr IColor kLegendFill{153, 255, 255, 255};
constexpr IColor kLegendFrame{255, 207, 216, 220};
constexpr float kLegendWordWidth = 24.f;
constexpr float kLegendSampleLength = 48.f;

} // namespace

void DrawTitleBar(control::ControlBase& bar, GraphicsContext& g)
{
  const IRECT r = bar.GetRECT();
  const IPattern gradient =
      IPattern::CreateLinearGradient(r.L, r.T, r.R - kTitleGradientInset, r.T,
                                     {{bar.GetStyle().Color(6), 0.f}, {COLOR_WHITE, 1.f}});
  g.PathRect(r);
  g.PathFill(gradient);
  g.DrawText(text::Title(), kProductName, IRECT(r.L, r.T, r.L + kTitleTextWidth, r.B));
}

void DrawLegend(control::ControlBase& legend, GraphicsContext& g, const IRECT& leftRow,
                const IRECT& rightRow)
{
  const IRECT r = legend.GetRECT();
  g.FillRect(kLegendFill, r);
  g.DrawRect(kLegendFrame, r, nullptr, 1.f);

  const auto words = text::About().WithAlign(EAlign::Near);
  g.DrawText(words, "left", IRECT(leftRow.R - kLegendWordWidth, leftRow.T, leftRow.R, leftRow.B));
  g.DrawText(words, "right",
             IRECT(rightRow.R - kLegendWordWidth, rightRow.T, rightRow.R, rightRow.B));

  const auto& style = legend.GetStyle();
  g.DrawLine(style.Color(8), leftRow.L, leftRow.MH(), leftRow.L + kLegendSampleLength, leftRow.MH(),
             nullptr, 1.f);
  g.DrawLine(style.Color(7), rightRow.L, rightRow.MH(), rightRow.L + kLegendSampleLength,
             rightRow.MH(), nullptr, 1.f);
}

void DrawLogo(GraphicsContext& g, const ISVG& logo, const IRECT& area)
{
  g.DrawSVG(logo, area);
}

void DrawAboutPage(GraphicsContext& g, const IRECT& r, float s, const ISVG& logo,
                   const IRECT& titleLogo)
{
  const auto about = text::About();
  const float t = about.mSize;

  g.DrawSVG(logo, titleLogo);
  g.FillRect(COLOR_WHITE, r);

  const std::string title = std::string(kProductName) + " v." + kVersionString;
  g.DrawText(about, title.c_str(), IRECT(r.L, r.T + s - t, r.R, r.T + s));

  g.DrawSVG(logo,
            IRECT(r.MW(), r.T + 3.5f * s, r.MW(), r.T + 3.5f * s).GetCentredInside(90.f, 30.f));

  const auto maker = text::Maker();
  g.DrawText(maker, kMakerName, IRECT(r.L, r.T + 4.f * s, r.R, r.T + 4.f * s + maker.mSize));
  g.DrawText(about, "(click to hide)", IRECT(r.L, r.B - s, r.R, r.B - s + t));
}

} // namespace qm::Trazelle
