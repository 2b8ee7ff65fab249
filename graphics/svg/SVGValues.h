#pragma once

// Value syntax shared by the SVG parser: numbers, lengths, colours and
// transform lists. Every function reads from an untrusted string, never
// throws, and reports malformed input by returning false / nullopt.

#include "graphics/svg/SVGImage.h"

#include <optional>
#include <string_view>

namespace kit::gfx::svg
{

// A cursor over attribute text. Numbers longer than `maxNumberLength`
// characters are rejected so that a hostile document cannot make one number
// cost unbounded work.
class Scanner
{
public:
  explicit Scanner(std::string_view text, size_t maxNumberLength = 64)
      : mText(text), mMaxNumberLength(maxNumberLength)
  {
  }

  bool AtEnd() const { return mPos >= mText.size(); }
  char Peek() const { return AtEnd() ? '\0' : mText[mPos]; }
  void Advance() { ++mPos; }
  size_t Position() const { return mPos; }
  std::string_view Rest() const { return mText.substr(mPos); }

  void SkipSpace();
  // Skips white space, at most one comma, and white space again.
  void SkipCommaSpace();
  bool Consume(char c);
  // Reads a number: sign, digits, fraction, exponent. Finite results only.
  bool Number(double& value);
  // A path-data arc flag: a single '0' or '1'.
  bool Flag(bool& value);
  // An identifier made of letters, '-' and '_' (units, keywords).
  std::string_view Word();

private:
  std::string_view mText;
  size_t mPos = 0;
  size_t mMaxNumberLength;
};

inline bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
std::string_view Trim(std::string_view s);

enum class LengthUnit
{
  None,
  Px,
  Pt,
  Pc,
  Mm,
  Cm,
  In,
  Em,
  Ex,
  Percent
};

struct Length
{
  double value = 0.0;
  LengthUnit unit = LengthUnit::None;
};

std::optional<Length> ParseLength(std::string_view text);
std::optional<LengthUnit> ParseUnit(std::string_view text);

// Pixels per unit at `dpi` (Em/Ex/Percent are resolved by the caller).
double PixelsPerUnit(LengthUnit unit, double dpi);

// #rgb, #rgba, #rrggbb, #rrggbbaa, rgb()/rgba() with numbers or percentages,
// and the basic named colours.
std::optional<Color> ParseColor(std::string_view text);

Transform Multiply(const Transform& a, const Transform& b); // a after b: a(b(p))
std::optional<Transform> Invert(const Transform& t);
Point Apply(const Transform& t, Point p);
Transform Translation(double x, double y);
Transform Scaling(double x, double y);
Transform Rotation(double degrees);

// matrix(), translate(), scale(), rotate(a [cx cy]), skewX(), skewY(); the list
// composes left to right. nullopt for a malformed list.
std::optional<Transform> ParseTransform(std::string_view text, size_t maxNumberLength = 64);

} // namespace kit::gfx::svg
