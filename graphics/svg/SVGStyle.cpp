#include "graphics/svg/SVGStyle.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kit::gfx::svg
{

namespace
{

constexpr std::array kPresentationAttributes{std::string_view("fill"),
                                             std::string_view("fill-opacity"),
                                             std::string_view("fill-rule"),
                                             std::string_view("stroke"),
                                             std::string_view("stroke-width"),
                                             std::string_view("stroke-opacity"),
                                             std::string_view("stroke-dasharray"),
                                             std::string_view("stroke-dashoffset"),
                                             std::string_view("stroke-linejoin"),
                                             std::string_view("stroke-linecap"),
                                             std::string_view("stroke-miterlimit"),
                                             std::string_view("opacity"),
                                             std::string_view("visibility"),
                                             std::string_view("display"),
                                             std::string_view("color"),
                                             std::string_view("font-size"),
                                             std::string_view("stop-color"),
                                             std::string_view("stop-opacity")};

bool ParseOpacity(std::string_view text, double& out)
{
  Scanner s(Trim(text));
  double v;
  if (!s.Number(v)) return false;
  if (s.Consume('%')) v /= 100.0;
  if (!s.AtEnd()) return false;
  out = std::clamp(v, 0.0, 1.0);
  return true;
}

bool ParsePaint(std::string_view text, const Color& currentColor, PaintDef& out)
{
  text = Trim(text);
  if (text == "none")
  {
    out = {};
    return true;
  }
  if (text == "currentColor")
  {
    out = {PaintDef::Kind::CurrentColor, currentColor, {}, false};
    return true;
  }
  if (text.starts_with("url("))
  {
    const size_t close = text.find(')');
    if (close == std::string_view::npos) return false;
    std::string_view ref = Trim(text.substr(4, close - 4));
    if (ref.size() >= 2 && (ref.front() == '"' || ref.front() == '\'') && ref.back() == ref.front())
      ref = ref.substr(1, ref.size() - 2);
    if (ref.size() < 2 || ref.front() != '#') return false;
    PaintDef paint{PaintDef::Kind::Url, {}, std::string(ref.substr(1)), false};
    const std::string_view fallback = Trim(text.substr(close + 1));
    if (fallback == "none")
      paint.hasFallback = false;
    else if (const auto c = ParseColor(fallback))
    {
      paint.color = *c;
      paint.hasFallback = true;
    }
    out = std::move(paint);
    return true;
  }
  if (const auto c = ParseColor(text))
  {
    out = {PaintDef::Kind::Color, *c, {}, false};
    return true;
  }
  return false;
}

bool ParseDashes(std::string_view text, const UnitContext& units, double fontSize,
                 std::vector<double>& out)
{
  text = Trim(text);
  if (text == "none")
  {
    out.clear();
    return true;
  }
  std::vector<double> dashes;
  Scanner s(text, units.maxNumberLength);
  while (!s.AtEnd())
  {
    Length l;
    if (!s.Number(l.value)) return false;
    std::string_view unit = "%";
    if (!s.Consume('%')) unit = s.Word();
    const auto u = ParseUnit(unit);
    if (!u || l.value < 0.0 || dashes.size() >= 2 * kMaxDashes) return false;
    l.unit = *u;
    dashes.push_back(ToPixels(l, Axis::Diagonal, units, fontSize));
    s.SkipCommaSpace();
  }
  double total = 0.0;
  for (double d : dashes)
    total += d;
  if (!(total > 0.0))
  {
    out.clear(); // all zero: a solid line
    return true;
  }
  if (dashes.size() % 2 == 1)
  {
    const size_t n = dashes.size();
    for (size_t i = 0; i < n; ++i)
      dashes.push_back(dashes[i]);
  }
  out = std::move(dashes);
  return true;
}

} // namespace

double ToPixels(const Length& length, Axis axis, const UnitContext& units, double fontSize)
{
  switch (length.unit)
  {
  case LengthUnit::Percent:
  {
    double reference = units.viewportWidth;
    if (axis == Axis::Y)
      reference = units.viewportHeight;
    else if (axis == Axis::Diagonal)
      reference = std::hypot(units.viewportWidth, units.viewportHeight) / std::sqrt(2.0);
    return length.value / 100.0 * reference;
  }
  case LengthUnit::Em:
    return length.value * fontSize;
  case LengthUnit::Ex:
    return length.value * fontSize * 0.5;
  default:
    return length.value * PixelsPerUnit(length.unit, units.dpi);
  }
}

bool IsPresentationAttribute(std::string_view name)
{
  return std::find(kPresentationAttributes.begin(), kPresentationAttributes.end(), name) !=
         kPresentationAttributes.end();
}

void ApplyProperty(Style& style, std::string_view name, std::string_view value,
                   const UnitContext& units)
{
  value = Trim(value);
  if (value == "inherit") return; // the copied parent state already is the inherited value
  double number;
  if (name == "fill")
    ParsePaint(value, style.currentColor, style.fill);
  else if (name == "stroke")
    ParsePaint(value, style.currentColor, style.stroke);
  else if (name == "color")
  {
    if (const auto c = ParseColor(value)) style.currentColor = *c;
  }
  else if (name == "fill-opacity" && ParseOpacity(value, number))
    style.fillOpacity = number;
  else if (name == "stroke-opacity" && ParseOpacity(value, number))
    style.strokeOpacity = number;
  else if (name == "opacity" && ParseOpacity(value, number))
    style.elementOpacity = number;
  else if (name == "stop-opacity" && ParseOpacity(value, number))
    style.stopOpacity = number;
  else if (name == "stop-color")
  {
    if (value == "currentColor")
      style.stopColor = style.currentColor;
    else if (const auto c = ParseColor(value))
      style.stopColor = *c;
  }
  else if (name == "fill-rule")
  {
    if (value == "nonzero")
      style.fillRule = FillRule::NonZero;
    else if (value == "evenodd")
      style.fillRule = FillRule::EvenOdd;
  }
  else if (name == "stroke-width")
  {
    if (const auto l = ParseLength(value); l && l->value >= 0.0)
      style.strokeWidth = ToPixels(*l, Axis::Diagonal, units, style.fontSize);
  }
  else if (name == "stroke-dashoffset")
  {
    if (const auto l = ParseLength(value))
      style.dashOffset = ToPixels(*l, Axis::Diagonal, units, style.fontSize);
  }
  else if (name == "stroke-dasharray")
    ParseDashes(value, units, style.fontSize, style.dashes);
  else if (name == "stroke-linejoin")
  {
    if (value == "miter" || value == "miter-clip" || value == "arcs")
      style.lineJoin = LineJoin::Miter;
    else if (value == "round")
      style.lineJoin = LineJoin::Round;
    else if (value == "bevel")
      style.lineJoin = LineJoin::Bevel;
  }
  else if (name == "stroke-linecap")
  {
    if (value == "butt")
      style.lineCap = LineCap::Butt;
    else if (value == "round")
      style.lineCap = LineCap::Round;
    else if (value == "square")
      style.lineCap = LineCap::Square;
  }
  else if (name == "stroke-miterlimit")
  {
    Scanner s(value, units.maxNumberLength);
    if (s.Number(number) && s.AtEnd() && number >= 1.0) style.miterLimit = number;
  }
  else if (name == "visibility")
  {
    if (value == "visible")
      style.visible = true;
    else if (value == "hidden" || value == "collapse")
      style.visible = false;
  }
  else if (name == "display")
    style.displayed = value != "none";
  else if (name == "font-size")
  {
    if (const auto l = ParseLength(value); l && l->value > 0.0 && l->unit != LengthUnit::Percent)
      style.fontSize = ToPixels(*l, Axis::Y, units, style.fontSize);
  }
}

void ApplyStyleAttribute(Style& style, std::string_view declarations, const UnitContext& units)
{
  while (!declarations.empty())
  {
    const size_t end = std::min(declarations.find(';'), declarations.size());
    const std::string_view declaration = declarations.substr(0, end);
    declarations.remove_prefix(std::min(end + 1, declarations.size()));
    const size_t colon = declaration.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = Trim(declaration.substr(0, colon));
    std::string_view value = Trim(declaration.substr(colon + 1));
    if (const size_t bang = value.find("!important"); bang != std::string_view::npos)
      value = Trim(value.substr(0, bang));
    ApplyProperty(style, name, value, units);
  }
}

} // namespace kit::gfx::svg
