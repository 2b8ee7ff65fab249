#include "graphics/svg/SVGValues.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kit::gfx::svg
{

namespace
{

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}
bool IsAlpha(char c)
{
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c)
{
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

int HexValue(char c)
{
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

struct NamedColor
{
  std::string_view name;
  Color color;
};

// The sixteen basic keywords plus a few that show up in hand-written icons.
constexpr std::array kNamedColors{
    NamedColor{"black", {0, 0, 0, 255}},           NamedColor{"silver", {192, 192, 192, 255}},
    NamedColor{"gray", {128, 128, 128, 255}},      NamedColor{"grey", {128, 128, 128, 255}},
    NamedColor{"white", {255, 255, 255, 255}},     NamedColor{"maroon", {128, 0, 0, 255}},
    NamedColor{"red", {255, 0, 0, 255}},           NamedColor{"purple", {128, 0, 128, 255}},
    NamedColor{"fuchsia", {255, 0, 255, 255}},     NamedColor{"magenta", {255, 0, 255, 255}},
    NamedColor{"green", {0, 128, 0, 255}},         NamedColor{"lime", {0, 255, 0, 255}},
    NamedColor{"olive", {128, 128, 0, 255}},       NamedColor{"yellow", {255, 255, 0, 255}},
    NamedColor{"navy", {0, 0, 128, 255}},          NamedColor{"blue", {0, 0, 255, 255}},
    NamedColor{"teal", {0, 128, 128, 255}},        NamedColor{"aqua", {0, 255, 255, 255}},
    NamedColor{"cyan", {0, 255, 255, 255}},        NamedColor{"orange", {255, 165, 0, 255}},
    NamedColor{"brown", {165, 42, 42, 255}},       NamedColor{"pink", {255, 192, 203, 255}},
    NamedColor{"darkgray", {169, 169, 169, 255}},  NamedColor{"darkgrey", {169, 169, 169, 255}},
    NamedColor{"lightgray", {211, 211, 211, 255}}, NamedColor{"lightgrey", {211, 211, 211, 255}},
    NamedColor{"transparent", {0, 0, 0, 0}},
};

uint8_t ClampByte(double v)
{
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return uint8_t(std::lround(v));
}

std::optional<Color> ParseHexColor(std::string_view hex)
{
  int d[8] = {};
  if (hex.size() != 3 && hex.size() != 4 && hex.size() != 6 && hex.size() != 8) return std::nullopt;
  for (size_t i = 0; i < hex.size(); ++i)
    if ((d[i] = HexValue(hex[i])) < 0) return std::nullopt;
  Color c;
  if (hex.size() <= 4)
  {
    c.r = uint8_t(d[0] * 17);
    c.g = uint8_t(d[1] * 17);
    c.b = uint8_t(d[2] * 17);
    c.a = hex.size() == 4 ? uint8_t(d[3] * 17) : 255;
  }
  else
  {
    c.r = uint8_t(d[0] * 16 + d[1]);
    c.g = uint8_t(d[2] * 16 + d[3]);
    c.b = uint8_t(d[4] * 16 + d[5]);
    c.a = hex.size() == 8 ? uint8_t(d[6] * 16 + d[7]) : 255;
  }
  return c;
}

// rgb(r, g, b) / rgba(r, g, b, a): each channel a number 0-255 or a percentage.
std::optional<Color> ParseFunctionalColor(std::string_view args, bool withAlpha)
{
  Scanner s(args);
  double v[4] = {0, 0, 0, 1};
  const int n = withAlpha ? 4 : 3;
  for (int i = 0; i < n; ++i)
  {
    s.SkipSpace();
    if (!s.Number(v[i])) return std::nullopt;
    if (s.Consume('%')) v[i] = i < 3 ? v[i] * 255.0 / 100.0 : v[i] / 100.0;
    s.SkipCommaSpace();
  }
  s.SkipSpace();
  if (!s.AtEnd()) return std::nullopt;
  return Color{ClampByte(v[0]), ClampByte(v[1]), ClampByte(v[2]), ClampByte(v[3] * 255.0)};
}

} // namespace

std::string_view Trim(std::string_view s)
{
  while (!s.empty() && IsSpace(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back()))
    s.remove_suffix(1);
  return s;
}

void Scanner::SkipSpace()
{
  while (!AtEnd() && IsSpace(mText[mPos]))
    ++mPos;
}

void Scanner::SkipCommaSpace()
{
  SkipSpace();
  if (Peek() == ',')
  {
    ++mPos;
    SkipSpace();
  }
}

bool Scanner::Consume(char c)
{
  if (Peek() != c) return false;
  ++mPos;
  return true;
}

bool Scanner::Number(double& value)
{
  const size_t start = mPos;
  size_t p = mPos;
  const size_t n = mText.size();
  bool negative = false;
  if (p < n && (mText[p] == '+' || mText[p] == '-')) negative = mText[p++] == '-';
  const size_t body = p;
  size_t digits = 0;
  while (p < n && IsDigit(mText[p]))
    ++p, ++digits;
  if (p < n && mText[p] == '.')
  {
    ++p;
    while (p < n && IsDigit(mText[p]))
      ++p, ++digits;
  }
  if (digits == 0) return false;
  // An exponent only when digits follow, so "1em" stays a number and a unit.
  if (p < n && (mText[p] == 'e' || mText[p] == 'E'))
  {
    size_t q = p + 1;
    if (q < n && (mText[q] == '+' || mText[q] == '-')) ++q;
    if (q < n && IsDigit(mText[q]))
    {
      while (q < n && IsDigit(mText[q]))
        ++q;
      p = q;
    }
  }
  if (p - start > mMaxNumberLength) return false;
  // from_chars rejects a leading '+' and "5." needs no special care.
  double v = 0.0;
  const char* first = mText.data() + body;
  const char* last = mText.data() + p;
  std::string buffer;
  if (mText[p - 1] == '.')
  {
    buffer.assign(first, last);
    buffer.push_back('0');
    first = buffer.data();
    last = buffer.data() + buffer.size();
  }
  const auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec == std::errc::result_out_of_range)
  {
    // Underflow reads as zero; overflow is an error.
    size_t e = 0;
    while (first + e < last && first[e] != 'e' && first[e] != 'E')
      ++e;
    if (first + e < last && first[e + 1] == '-')
      v = 0.0;
    else
      return false;
  }
  else if (ec != std::errc() || ptr != last)
    return false;
  if (!std::isfinite(v)) return false;
  value = negative ? -v : v;
  mPos = p;
  return true;
}

bool Scanner::Flag(bool& value)
{
  const char c = Peek();
  if (c != '0' && c != '1') return false;
  value = c == '1';
  ++mPos;
  return true;
}

std::string_view Scanner::Word()
{
  const size_t start = mPos;
  while (!AtEnd() && (IsAlpha(mText[mPos]) || mText[mPos] == '-' || mText[mPos] == '_'))
    ++mPos;
  return mText.substr(start, mPos - start);
}

std::optional<LengthUnit> ParseUnit(std::string_view text)
{
  text = Trim(text);
  constexpr std::pair<std::string_view, LengthUnit> units[] = {
      {"", LengthUnit::None},    {"px", LengthUnit::Px}, {"pt", LengthUnit::Pt},
      {"pc", LengthUnit::Pc},    {"mm", LengthUnit::Mm}, {"cm", LengthUnit::Cm},
      {"in", LengthUnit::In},    {"em", LengthUnit::Em}, {"ex", LengthUnit::Ex},
      {"%", LengthUnit::Percent}};
  for (const auto& [name, unit] : units)
    if (EqualsNoCase(text, name)) return unit;
  return std::nullopt;
}

std::optional<Length> ParseLength(std::string_view text)
{
  Scanner s(Trim(text));
  Length length;
  if (!s.Number(length.value)) return std::nullopt;
  const auto unit = ParseUnit(s.Rest());
  if (!unit) return std::nullopt;
  length.unit = *unit;
  return length;
}

double PixelsPerUnit(LengthUnit unit, double dpi)
{
  switch (unit)
  {
  case LengthUnit::Pt:
    return dpi / 72.0;
  case LengthUnit::Pc:
    return dpi / 6.0;
  case LengthUnit::Mm:
    return dpi / 25.4;
  case LengthUnit::Cm:
    return dpi / 2.54;
  case LengthUnit::In:
    return dpi;
  default:
    return 1.0;
  }
}

std::optional<Color> ParseColor(std::string_view text)
{
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '#') return ParseHexColor(text.substr(1));
  for (bool alpha : {true, false})
  {
    const std::string_view prefix = alpha ? "rgba(" : "rgb(";
    if (text.size() > prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix))
    {
      if (text.back() != ')') return std::nullopt;
      return ParseFunctionalColor(text.substr(prefix.size(), text.size() - prefix.size() - 1),
                                  alpha);
    }
  }
  for (const auto& named : kNamedColors)
    if (EqualsNoCase(text, named.name)) return named.color;
  return std::nullopt;
}

Transform Multiply(const Transform& a, const Transform& b)
{
  return {a.xx * b.xx + a.xy * b.yx,        a.yx * b.xx + a.yy * b.yx,
          a.xx * b.xy + a.xy * b.yy,        a.yx * b.xy + a.yy * b.yy,
          a.xx * b.tx + a.xy * b.ty + a.tx, a.yx * b.tx + a.yy * b.ty + a.ty};
}

std::optional<Transform> Invert(const Transform& t)
{
  const double det = t.xx * t.yy - t.xy * t.yx;
  if (!std::isfinite(det) || std::fabs(det) < 1e-12) return std::nullopt;
  const double inv = 1.0 / det;
  Transform r{t.yy * inv, -t.yx * inv, -t.xy * inv, t.xx * inv, 0.0, 0.0};
  r.tx = -(r.xx * t.tx + r.xy * t.ty);
  r.ty = -(r.yx * t.tx + r.yy * t.ty);
  return r;
}

Point Apply(const Transform& t, Point p)
{
  return {float(t.xx * p.x + t.xy * p.y + t.tx), float(t.yx * p.x + t.yy * p.y + t.ty)};
}

Transform Translation(double x, double y)
{
  return {1, 0, 0, 1, x, y};
}
Transform Scaling(double x, double y)
{
  return {x, 0, 0, y, 0, 0};
}

Transform Rotation(double degrees)
{
  const double r = degrees * M_PI / 180.0;
  const double c = std::cos(r), s = std::sin(r);
  return {c, s, -s, c, 0, 0};
}

std::optional<Transform> ParseTransform(std::string_view text, size_t maxNumberLength)
{
  Scanner s(text, maxNumberLength);
  Transform result;
  s.SkipCommaSpace();
  while (!s.AtEnd())
  {
    const std::string_view name = s.Word();
    s.SkipSpace();
    if (name.empty() || !s.Consume('(')) return std::nullopt;
    double a[6];
    int n = 0;
    s.SkipSpace();
    while (!s.Consume(')'))
    {
      if (n == 6 || !s.Number(a[n++])) return std::nullopt;
      s.SkipCommaSpace();
    }
    Transform t;
    if (name == "matrix" && n == 6)
      t = {a[0], a[1], a[2], a[3], a[4], a[5]};
    else if (name == "translate" && (n == 1 || n == 2))
      t = Translation(a[0], n == 2 ? a[1] : 0.0);
    else if (name == "scale" && (n == 1 || n == 2))
      t = Scaling(a[0], n == 2 ? a[1] : a[0]);
    else if (name == "rotate" && n == 1)
      t = Rotation(a[0]);
    else if (name == "rotate" && n == 3)
      t = Multiply(Translation(a[1], a[2]), Multiply(Rotation(a[0]), Translation(-a[1], -a[2])));
    else if (name == "skewX" && n == 1)
      t.xy = std::tan(a[0] * M_PI / 180.0);
    else if (name == "skewY" && n == 1)
      t.yx = std::tan(a[0] * M_PI / 180.0);
    else
      return std::nullopt;
    result = Multiply(result, t);
    s.SkipCommaSpace();
  }
  return result;
}

} // namespace kit::gfx::svg
