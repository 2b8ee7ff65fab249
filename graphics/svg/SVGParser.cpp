#include "graphics/svg/SVGParser.h"

#include "graphics/svg/SVGPathBuilder.h"
#include "graphics/svg/SVGStyle.h"
#include "graphics/svg/SVGValues.h"

#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kit::gfx::svg
{

namespace
{

using Node = rapidxml::xml_node<char>;

constexpr int kMaxHrefChain = 16;
constexpr size_t kMaxStops = 256;

struct Failure
{
  const char* what;
};

std::string_view Name(const Node* node)
{
  std::string_view name(node->name(), node->name_size());
  if (name.starts_with("svg:")) name.remove_prefix(4);
  return name;
}

std::string_view Attribute(const Node* node, std::string_view name)
{
  for (auto* a = node->first_attribute(); a; a = a->next_attribute())
    if (std::string_view(a->name(), a->name_size()) == name) return {a->value(), a->value_size()};
  return {};
}

// rapidxml descends recursively, one stack frame chain per nesting level, so
// the nesting of a hostile document is measured before rapidxml sees it. The
// scan follows the same grammar (comments, CDATA, processing instructions,
// DOCTYPE, quoted attribute values); where a document is malformed rapidxml
// stops at the fault, no deeper than this scan has counted.
bool NestingWithin(std::string_view text, size_t maxDepth)
{
  size_t depth = 0;
  size_t i = 0;
  const size_t n = text.size();
  const auto skipPast = [&](std::string_view terminator)
  {
    const size_t end = text.find(terminator, i);
    i = end == std::string_view::npos ? n : end + terminator.size();
  };
  while (i < n)
  {
    if (text[i] != '<')
    {
      ++i;
      continue;
    }
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("<!--"))
      skipPast("-->");
    else if (rest.starts_with("<![CDATA["))
      skipPast("]]>");
    else if (rest.starts_with("<?"))
      skipPast("?>");
    else if (rest.starts_with("<!"))
    {
      int brackets = 0; // DOCTYPE may carry an internal subset in [ ]
      for (i += 2; i < n; ++i)
      {
        if (text[i] == '[')
          ++brackets;
        else if (text[i] == ']')
          --brackets;
        else if (text[i] == '>' && brackets <= 0)
          break;
      }
      ++i;
    }
    else if (rest.starts_with("</"))
    {
      if (depth > 0) --depth;
      skipPast(">");
    }
    else
    {
      char quote = 0;
      for (++i; i < n; ++i)
      {
        const char c = text[i];
        if (quote)
        {
          if (c == quote) quote = 0;
        }
        else if (c == '"' || c == '\'')
          quote = c;
        else if (c == '>')
          break;
      }
      const bool selfClosing = i < n && text[i - 1] == '/';
      ++i;
      if (!selfClosing && ++depth > maxDepth) return false;
    }
  }
  return true;
}

struct Box
{
  double l = 0, t = 0, r = 0, b = 0;
};

Box BoundsOf(const std::vector<Path>& paths)
{
  Box box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (const Path& p : paths)
  {
    box.l = std::min(box.l, double(p.bounds[0]));
    box.t = std::min(box.t, double(p.bounds[1]));
    box.r = std::max(box.r, double(p.bounds[2]));
    box.b = std::max(box.b, double(p.bounds[3]));
  }
  return box;
}

class Reader
{
public:
  Reader(const ParseLimits& limits, double dpi) : mLimits(limits), mPointBudget(limits.maxPoints)
  {
    mUnits.dpi = dpi;
    mUnits.maxNumberLength = limits.maxNumberLength;
  }

  void Read(Node* root, std::string_view units, Image& out);

private:
  void Index(Node* node, size_t depth);
  void Walk(Node* node, const Style& parent, size_t depth, Image& out);
  bool BuildGeometry(Node* node, std::string_view name, PathBuilder& builder);
  Paint ResolvePaint(const PaintDef& def, double opacity, const Box& box, const Transform& ctm);
  bool ResolveGradient(Node* node, double opacity, const Box& box, const Transform& ctm,
                       Paint& out);

  double Number(Node* node, std::string_view name, Axis axis, double fallback = 0.0)
  {
    const std::string_view text = Attribute(node, name);
    if (text.empty()) return fallback;
    const auto length = ParseLength(text);
    return length ? ToPixels(*length, axis, mUnits, mFontSize) : fallback;
  }

  const ParseLimits& mLimits;
  UnitContext mUnits;
  size_t mPointBudget;
  size_t mElements = 0;
  double mFontSize = 16.0;
  std::unordered_map<std::string_view, Node*> mIds;
};

void Reader::Index(Node* node, size_t depth)
{
  if (depth > mLimits.maxDepth) throw Failure{"nesting too deep"};
  for (Node* child = node->first_node(); child; child = child->next_sibling())
  {
    if (child->type() != rapidxml::node_element) continue;
    if (++mElements > mLimits.maxElements) throw Failure{"too many elements"};
    const std::string_view id = Attribute(child, "id");
    if (!id.empty()) mIds.emplace(id, child); // the first definition wins
    Index(child, depth + 1);
  }
}

void Reader::Read(Node* root, std::string_view units, Image& out)
{
  mElements = 1;
  Index(root, 1);

  // The outer viewport in pixels, then the viewBox mapped onto it.
  std::optional<Length> width = ParseLength(Attribute(root, "width"));
  std::optional<Length> height = ParseLength(Attribute(root, "height"));
  double vb[4] = {0, 0, 0, 0};
  bool hasViewBox = false;
  {
    Scanner s(Attribute(root, "viewBox"), mLimits.maxNumberLength);
    s.SkipSpace();
    int n = 0;
    while (n < 4 && s.Number(vb[n]))
    {
      ++n;
      s.SkipCommaSpace();
    }
    hasViewBox = n == 4 && vb[2] > 0.0 && vb[3] > 0.0;
  }
  const auto resolve = [&](const std::optional<Length>& l, double viewBoxSize)
  {
    if (!l || l->value <= 0.0) return viewBoxSize;
    if (l->unit == LengthUnit::Percent) return viewBoxSize * l->value / 100.0;
    return ToPixels(*l, Axis::X, mUnits, mFontSize);
  };
  double w = resolve(width, hasViewBox ? vb[2] : 0.0);
  double h = resolve(height, hasViewBox ? vb[3] : 0.0);

  Transform viewBox;
  if (hasViewBox)
  {
    if (w <= 0.0) w = vb[2];
    if (h <= 0.0) h = vb[3];
    mUnits.viewportWidth = vb[2];
    mUnits.viewportHeight = vb[3];
    double sx = w / vb[2], sy = h / vb[3];
    double alignX = 0.5, alignY = 0.5; // xMidYMid meet
    bool slice = false;
    const std::string_view aspect = Trim(Attribute(root, "preserveAspectRatio"));
    if (aspect.starts_with("none"))
      alignX = -1.0;
    else if (aspect.size() >= 8 && aspect[0] == 'x')
    {
      const std::string_view ax = aspect.substr(1, 3), ay = aspect.substr(5, 3);
      alignX = ax == "Min" ? 0.0 : ax == "Max" ? 1.0 : 0.5;
      alignY = ay == "Min" ? 0.0 : ay == "Max" ? 1.0 : 0.5;
      slice = aspect.find("slice") != std::string_view::npos;
    }
    if (alignX >= 0.0)
    {
      const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
      viewBox = Translation((w - vb[2] * s) * alignX, (h - vb[3] * s) * alignY);
      sx = sy = s;
    }
    viewBox = Multiply(viewBox, Multiply(Scaling(sx, sy), Translation(-vb[0], -vb[1])));
  }
  else if (w > 0.0 && h > 0.0)
  {
    mUnits.viewportWidth = w;
    mUnits.viewportHeight = h;
  }

  const auto unit = ParseUnit(units);
  if (!unit || *unit == LengthUnit::Percent || *unit == LengthUnit::Em || *unit == LengthUnit::Ex)
    throw Failure{"unsupported units"};
  const double perUnit = PixelsPerUnit(*unit, mUnits.dpi);

  Style style;
  style.ctm = Multiply(Scaling(1.0 / perUnit, 1.0 / perUnit), viewBox);
  Walk(root, style, 1, out);

  if (w <= 0.0 || h <= 0.0)
  {
    // No size given anywhere: the drawing's own extent, as in image space.
    Box box{0, 0, 0, 0};
    for (const Shape& s : out.shapes)
    {
      box.r = std::max(box.r, double(s.bounds[2]));
      box.b = std::max(box.b, double(s.bounds[3]));
    }
    out.width = float(box.r);
    out.height = float(box.b);
  }
  else
  {
    out.width = float(w / perUnit);
    out.height = float(h / perUnit);
  }
  if (!(out.width > 0.0f) || !(out.height > 0.0f) || !std::isfinite(out.width) ||
      !std::isfinite(out.height))
    throw Failure{"the image has no size"};
}

void Reader::Walk(Node* node, const Style& parent, size_t depth, Image& out)
{
  if (depth > mLimits.maxDepth) throw Failure{"nesting too deep"};
  Style style = parent;
  style.displayed = true;
  style.elementOpacity = 1.0;
  for (auto* a = node->first_attribute(); a; a = a->next_attribute())
  {
    const std::string_view name(a->name(), a->name_size());
    if (IsPresentationAttribute(name))
      ApplyProperty(style, name, {a->value(), a->value_size()}, mUnits);
  }
  ApplyStyleAttribute(style, Attribute(node, "style"), mUnits);
  if (!style.displayed) return;
  style.opacity *= style.elementOpacity;
  if (const std::string_view t = Attribute(node, "transform"); !t.empty())
    if (const auto m = ParseTransform(t, mLimits.maxNumberLength))
      style.ctm = Multiply(style.ctm, *m);
  mFontSize = style.fontSize;

  const std::string_view name = Name(node);
  if (name == "svg" || name == "g" || name == "a")
  {
    for (Node* child = node->first_node(); child; child = child->next_sibling())
      if (child->type() == rapidxml::node_element) Walk(child, style, depth + 1, out);
    return;
  }

  PathBuilder builder(mPointBudget, mLimits.maxNumberLength);
  const bool isShape = BuildGeometry(node, name, builder);
  if (!builder.Ok()) throw Failure{"too many points"};
  if (!isShape || builder.Paths().empty())
    return; // definitions, text, metadata and unsupported elements draw nothing

  Shape shape;
  shape.id = std::string(Attribute(node, "id"));
  shape.paths = std::move(builder.Paths());
  const Box local = BoundsOf(shape.paths);
  shape.fill = ResolvePaint(style.fill, style.fillOpacity, local, style.ctm);
  shape.stroke = ResolvePaint(style.stroke, style.strokeOpacity, local, style.ctm);
  shape.opacity = float(style.opacity);
  const double scale =
      std::sqrt(std::fabs(style.ctm.xx * style.ctm.yy - style.ctm.xy * style.ctm.yx));
  shape.strokeWidth = float(style.strokeWidth * scale);
  shape.dashOffset = float(style.dashOffset * scale);
  for (size_t i = 0; i < style.dashes.size() && i < kMaxDashes; ++i)
    shape.dashes.push_back(float(style.dashes[i] * scale));
  if (shape.dashes.size() % 2 == 1) shape.dashes.pop_back();
  shape.lineJoin = style.lineJoin;
  shape.lineCap = style.lineCap;
  shape.miterLimit = float(style.miterLimit);
  shape.fillRule = style.fillRule;
  shape.visible = style.visible;

  for (Path& path : shape.paths)
  {
    for (Point& p : path.points)
    {
      p = Apply(style.ctm, p);
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) throw Failure{"coordinates out of range"};
    }
    UpdateBounds(path);
  }
  const Box box = BoundsOf(shape.paths);
  shape.bounds = {float(box.l), float(box.t), float(box.r), float(box.b)};
  if (!std::isfinite(shape.strokeWidth) || !std::isfinite(shape.dashOffset))
    throw Failure{"stroke out of range"};
  out.shapes.push_back(std::move(shape));
}

bool Reader::BuildGeometry(Node* node, std::string_view name, PathBuilder& builder)
{
  if (name == "path")
    builder.AddPathData(Attribute(node, "d"));
  else if (name == "rect")
  {
    const double w = Number(node, "width", Axis::X), h = Number(node, "height", Axis::Y);
    if (w <= 0.0 || h <= 0.0) return false;
    double rx = Number(node, "rx", Axis::X, -1.0), ry = Number(node, "ry", Axis::Y, -1.0);
    if (rx < 0.0) rx = ry;
    if (ry < 0.0) ry = rx;
    builder.AddRect(Number(node, "x", Axis::X), Number(node, "y", Axis::Y), w, h, std::max(rx, 0.0),
                    std::max(ry, 0.0));
  }
  else if (name == "circle")
  {
    const double r = Number(node, "r", Axis::Diagonal);
    if (r <= 0.0) return false;
    builder.AddEllipse(Number(node, "cx", Axis::X), Number(node, "cy", Axis::Y), r, r);
  }
  else if (name == "ellipse")
  {
    double rx = Number(node, "rx", Axis::X, -1.0), ry = Number(node, "ry", Axis::Y, -1.0);
    if (rx < 0.0) rx = ry; // "auto": the other radius
    if (ry < 0.0) ry = rx;
    if (rx <= 0.0 || ry <= 0.0) return false;
    builder.AddEllipse(Number(node, "cx", Axis::X), Number(node, "cy", Axis::Y), rx, ry);
  }
  else if (name == "line")
  {
    builder.MoveTo(Number(node, "x1", Axis::X), Number(node, "y1", Axis::Y));
    builder.LineTo(Number(node, "x2", Axis::X), Number(node, "y2", Axis::Y));
  }
  else if (name == "polyline" || name == "polygon")
    builder.AddPoints(Attribute(node, "points"), name == "polygon");
  else
    return false;
  return true;
}

Paint Reader::ResolvePaint(const PaintDef& def, double opacity, const Box& box,
                           const Transform& ctm)
{
  Paint paint;
  switch (def.kind)
  {
  case PaintDef::Kind::None:
    break;
  case PaintDef::Kind::Color:
  case PaintDef::Kind::CurrentColor:
    paint.type = PaintType::Color;
    paint.color = def.color;
    paint.color.a = uint8_t(std::lround(def.color.a * opacity));
    break;
  case PaintDef::Kind::Url:
  {
    const auto it = mIds.find(def.url);
    if (it != mIds.end() && ResolveGradient(it->second, opacity, box, ctm, paint)) break;
    if (def.hasFallback)
    {
      paint.type = PaintType::Color;
      paint.color = def.color;
      paint.color.a = uint8_t(std::lround(def.color.a * opacity));
    }
    break;
  }
  }
  return paint;
}

// Gathers a gradient's attributes and stops along its href chain (nearest
// definition wins), then builds the image-to-gradient transform.
bool Reader::ResolveGradient(Node* node, double opacity, const Box& box, const Transform& ctm,
                             Paint& out)
{
  const std::string_view kind = Name(node);
  if (kind != "linearGradient" && kind != "radialGradient") return false;
  const bool radial = kind == "radialGradient";
  std::unordered_map<std::string_view, std::string_view> attrs;
  Node* stopsFrom = nullptr;
  Node* current = node;
  for (int i = 0; current && i < kMaxHrefChain; ++i)
  {
    for (auto* a = current->first_attribute(); a; a = a->next_attribute())
      attrs.emplace(std::string_view(a->name(), a->name_size()),
                    std::string_view(a->value(), a->value_size()));
    if (!stopsFrom)
      for (Node* c = current->first_node(); c && !stopsFrom; c = c->next_sibling())
        if (c->type() == rapidxml::node_element && Name(c) == "stop") stopsFrom = current;
    std::string_view href = Attribute(current, "xlink:href");
    if (href.empty()) href = Attribute(current, "href");
    if (href.size() < 2 || href.front() != '#') break;
    const auto it = mIds.find(href.substr(1));
    current = it == mIds.end() ? nullptr : it->second;
  }
  const auto attr = [&](std::string_view name)
  {
    const auto it = attrs.find(name);
    return it == attrs.end() ? std::string_view() : it->second;
  };

  Gradient gradient;
  if (stopsFrom)
  {
    float previous = 0.f;
    for (Node* c = stopsFrom->first_node(); c && gradient.stops.size() < kMaxStops;
         c = c->next_sibling())
    {
      if (c->type() != rapidxml::node_element || Name(c) != "stop") continue;
      Style stopStyle;
      for (auto* a = c->first_attribute(); a; a = a->next_attribute())
      {
        const std::string_view name(a->name(), a->name_size());
        if (name == "stop-color" || name == "stop-opacity")
          ApplyProperty(stopStyle, name, {a->value(), a->value_size()}, mUnits);
      }
      ApplyStyleAttribute(stopStyle, Attribute(c, "style"), mUnits);
      double offset = 0.0;
      Scanner s(Trim(Attribute(c, "offset")), mLimits.maxNumberLength);
      if (s.Number(offset) && s.Consume('%')) offset /= 100.0;
      previous = std::max(previous, float(std::clamp(offset, 0.0, 1.0)));
      GradientStop stop{stopStyle.stopColor, previous};
      stop.color.a = uint8_t(std::lround(stop.color.a * stopStyle.stopOpacity * opacity));
      gradient.stops.push_back(stop);
    }
  }
  if (gradient.stops.empty()) return true; // no stops: nothing is painted
  const auto solidLast = [&]
  {
    out.type = PaintType::Color;
    out.color = gradient.stops.back().color;
    return true;
  };
  if (gradient.stops.size() == 1) return solidLast();

  const bool userSpace = attr("gradientUnits") == "userSpaceOnUse";
  // Gradient coordinates: fractions of the bounding box, or user-space lengths.
  const auto coord = [&](std::string_view name, std::string_view fallback, Axis axis)
  {
    std::string_view text = attr(name);
    if (text.empty()) text = fallback;
    auto length = ParseLength(text);
    if (!length) length = ParseLength(fallback);
    if (!userSpace)
      return length->unit == LengthUnit::Percent ? length->value / 100.0 : length->value;
    return ToPixels(*length, axis, mUnits, mFontSize);
  };

  Transform toUser; // gradient space -> user space of the shape
  if (radial)
  {
    const double cx = coord("cx", "50%", Axis::X), cy = coord("cy", "50%", Axis::Y);
    const double r = coord("r", "50%", Axis::Diagonal);
    const double fx = attr("fx").empty() ? cx : coord("fx", "50%", Axis::X);
    const double fy = attr("fy").empty() ? cy : coord("fy", "50%", Axis::Y);
    if (!(r > 0.0)) return solidLast();
    toUser = {r, 0, 0, r, cx, cy};
    gradient.fx = float((fx - cx) / r);
    gradient.fy = float((fy - cy) / r);
  }
  else
  {
    const double x1 = coord("x1", "0%", Axis::X), y1 = coord("y1", "0%", Axis::Y);
    const double x2 = coord("x2", "100%", Axis::X), y2 = coord("y2", "0%", Axis::Y);
    const double dx = x2 - x1, dy = y2 - y1;
    if (dx == 0.0 && dy == 0.0) return solidLast();
    toUser = {dy, -dx, dx, dy, x1, y1};
  }
  if (const std::string_view t = attr("gradientTransform"); !t.empty())
    if (const auto m = ParseTransform(t, mLimits.maxNumberLength)) toUser = Multiply(*m, toUser);
  if (!userSpace)
  {
    if (!(box.r > box.l) || !(box.b > box.t))
      return true; // bounding-box units on a flat shape: not painted
    toUser = Multiply(Multiply(Translation(box.l, box.t), Scaling(box.r - box.l, box.b - box.t)),
                      toUser);
  }
  const auto inverse = Invert(Multiply(ctm, toUser));
  if (!inverse) return solidLast();
  gradient.xform = *inverse;
  const std::string_view spread = attr("spreadMethod");
  gradient.spread = spread == "reflect"  ? Spread::Reflect
                    : spread == "repeat" ? Spread::Repeat
                                         : Spread::Pad;
  out.type = radial ? PaintType::RadialGradient : PaintType::LinearGradient;
  out.gradient = std::move(gradient);
  return true;
}

} // namespace

bool ParseSVG(std::string_view text, std::string_view units, float dpi, Image& out,
              std::string* error, const ParseLimits& limits)
{
  out = {};
  const auto fail = [&](const char* what)
  {
    out = {};
    if (error) *error = what;
    return false;
  };
  if (text.size() > limits.maxBytes) return fail("document too large");
  if (!(dpi > 0.0f) || !std::isfinite(dpi)) return fail("invalid resolution");
  if (!NestingWithin(text, limits.maxDepth)) return fail("nesting too deep");
  try
  {
    // rapidxml parses in place and needs a writable, zero-terminated copy.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    auto document = std::make_unique<rapidxml::xml_document<char>>();
    document->parse<rapidxml::parse_no_data_nodes | rapidxml::parse_no_element_values>(
        buffer.data());
    Node* root = document->first_node();
    while (root && root->type() != rapidxml::node_element)
      root = root->next_sibling();
    if (!root || Name(root) != "svg") return fail("not an SVG document");
    Reader(limits, dpi).Read(root, units, out);
    return true;
  }
  catch (const Failure& f)
  {
    return fail(f.what);
  }
  catch (const rapidxml::parse_error&)
  {
    return fail("malformed XML");
  }
  catch (...)
  {
    return fail("out of memory");
  }
}

} // namespace kit::gfx::svg
