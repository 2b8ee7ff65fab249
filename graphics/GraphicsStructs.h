#pragma once

// Plain value types every drawing call and every control uses: rectangles, colours, text styles
// and blends. Coordinates are logical (unscaled) pixels; angles are degrees.

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kit::gfx
{

/** How a drawing is composited with what is already there. */
enum class EBlend : int
{
  SrcOver = 0,
  SrcIn,
  SrcOut,
  SrcAtop,
  DstOver,
  DstIn,
  DstOut,
  DstAtop,
  Add,
  XOR,
  Default = SrcOver
};

enum class EAlign : int
{
  Near = 0,
  Center,
  Far
};

enum class EVAlign : int
{
  Top = 0,
  Middle,
  Bottom
};

/** Direction of a value-from-position mapping (SnapToMouse). */
enum class EDirection : int
{
  Vertical = 0,
  Horizontal
};

/** Axis-aligned rectangle. All four fields 0 means "empty"; an empty rectangle contains nothing.
 *  Every Get... operation returns a new rectangle and leaves this one unchanged. */
struct IRECT
{
  float L = 0.f;
  float T = 0.f;
  float R = 0.f;
  float B = 0.f;

  constexpr IRECT() = default;
  constexpr IRECT(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

  static constexpr IRECT MakeXYWH(float x, float y, float w, float h)
  {
    return {x, y, x + w, y + h};
  }

  constexpr bool operator==(const IRECT&) const = default;

  constexpr bool Empty() const { return L == 0.f && T == 0.f && R == 0.f && B == 0.f; }
  constexpr float W() const { return R - L; }
  constexpr float H() const { return B - T; }
  constexpr float MW() const { return (L + R) * 0.5f; }
  constexpr float MH() const { return (T + B) * 0.5f; }
  constexpr float Area() const { return W() * H(); }

  /** Left and top edges are inside, right and bottom edges outside. */
  constexpr bool Contains(float x, float y) const
  {
    return !Empty() && x >= L && x < R && y >= T && y < B;
  }

  /** Whether `rhs` lies entirely within this rectangle (edges may touch). */
  constexpr bool Contains(const IRECT& rhs) const
  {
    return !Empty() && !rhs.Empty() && rhs.L >= L && rhs.R <= R && rhs.T >= T && rhs.B <= B;
  }

  /** Whether the two rectangles share an area of positive size. */
  constexpr bool Intersects(const IRECT& rhs) const
  {
    return !Empty() && !rhs.Empty() && rhs.L < R && rhs.R > L && rhs.T < B && rhs.B > T;
  }

  /** Smallest rectangle holding both; an empty operand contributes nothing. */
  constexpr IRECT Union(const IRECT& rhs) const
  {
    if (Empty()) return rhs;
    if (rhs.Empty()) return *this;
    return {std::min(L, rhs.L), std::min(T, rhs.T), std::max(R, rhs.R), std::max(B, rhs.B)};
  }

  /** The shared area, or an empty rectangle when there is none. */
  constexpr IRECT Intersect(const IRECT& rhs) const
  {
    if (!Intersects(rhs)) return {};
    return {std::max(L, rhs.L), std::max(T, rhs.T), std::min(R, rhs.R), std::min(B, rhs.B)};
  }

  /** Grown by `d` on every side (shrunk for negative `d`). */
  constexpr IRECT GetGrown(float d) const { return {L - d, T - d, R + d, B + d}; }

  /** Each edge moved by its own amount (positive moves right / down). */
  constexpr IRECT GetOffset(float l, float t, float r, float b) const
  {
    return {L + l, T + t, R + r, B + b};
  }

  constexpr IRECT GetTranslated(float dx, float dy) const
  {
    return {L + dx, T + dy, R + dx, B + dy};
  }

  /** Every coordinate multiplied by `s` (logical to device pixels and back). */
  constexpr IRECT GetScaled(float s) const { return {L * s, T * s, R * s, B * s}; }

  /** The w x h rectangle sharing this one's centre. */
  constexpr IRECT GetCentredInside(float w, float h) const
  {
    return {MW() - w * 0.5f, MH() - h * 0.5f, MW() + w * 0.5f, MH() + h * 0.5f};
  }

  /** The largest square that fits, centred. */
  IRECT GetCentredSquare() const
  {
    const float s = std::min(W(), H());
    return GetCentredInside(s, s);
  }

  constexpr IRECT GetFromTop(float h) const { return {L, T, R, T + h}; }
  constexpr IRECT GetFromBottom(float h) const { return {L, B - h, R, B}; }
  constexpr IRECT GetFromLeft(float w) const { return {L, T, L + w, B}; }
  constexpr IRECT GetFromRight(float w) const { return {R - w, T, R, B}; }

  /** Grown outward to the device-pixel grid at the given scale: L, T rounded down, R, B up. */
  IRECT GetPixelAligned(float scale) const
  {
    return {std::floor(L * scale) / scale, std::floor(T * scale) / scale,
            std::ceil(R * scale) / scale, std::ceil(B * scale) / scale};
  }

  /** Converted to device pixels at the given scale and grown to whole pixels. */
  IRECT GetDeviceAligned(float scale) const
  {
    return {std::floor(L * scale), std::floor(T * scale), std::ceil(R * scale),
            std::ceil(B * scale)};
  }
};

/** Colour with 0-255 channels. The renderer divides by 255, after weighting alpha by the blend. */
struct IColor
{
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  constexpr IColor() = default;
  constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  constexpr bool operator==(const IColor&) const = default;

  constexpr IColor WithAlpha(int a) const { return {a, R, G, B}; }

  /** Each channel clamped into 0-255. */
  constexpr IColor Clamped() const
  {
    return {std::clamp(A, 0, 255), std::clamp(R, 0, 255), std::clamp(G, 0, 255),
            std::clamp(B, 0, 255)};
  }
};

inline constexpr IColor COLOR_TRANSPARENT{0, 0, 0, 0};
inline constexpr IColor COLOR_BLACK{255, 0, 0, 0};
inline constexpr IColor COLOR_WHITE{255, 255, 255, 255};
inline constexpr IColor COLOR_RED{255, 255, 0, 0};
inline constexpr IColor COLOR_GREEN{255, 0, 255, 0};
inline constexpr IColor COLOR_BLUE{255, 0, 0, 255};
inline constexpr IColor COLOR_GRAY{255, 127, 127, 127};
inline constexpr IColor COLOR_LIGHT_GRAY{255, 240, 240, 240};

/** Composite method and a weight that multiplies the alpha of everything drawn with it. Where an
 *  operation takes `const IBlend*`, null means source-over at weight 1. */
struct IBlend
{
  EBlend mMethod = EBlend::Default;
  float mWeight = 1.f;

  constexpr IBlend() = default;
  constexpr explicit IBlend(EBlend method, float weight = 1.f) : mMethod(method), mWeight(weight) {}
};

/** The weight a possibly-null blend applies to alpha. */
constexpr float BlendWeight(const IBlend* pBlend)
{
  return pBlend ? pBlend->mWeight : 1.f;
}

/** A text style. The font name is the name it was registered under with GraphicsContext::LoadFont
 * and is looked up at every draw. */
struct IText
{
  static constexpr int kFontNameLen = 64;

  char mFont[kFontNameLen] = "Roboto-Regular";
  float mSize = 14.f;
  IColor mFGColor = COLOR_BLACK;
  IColor mTextEntryBGColor = COLOR_WHITE;
  IColor mTextEntryFGColor = COLOR_BLACK;
  float mAngle = 0.f;
  EAlign mAlign = EAlign::Center;
  EVAlign mVAlign = EVAlign::Middle;

  IText() = default;

  explicit IText(float size, const IColor& color = COLOR_BLACK, const char* font = "Roboto-Regular",
                 EAlign align = EAlign::Center, EVAlign valign = EVAlign::Middle, float angle = 0.f,
                 const IColor& teBG = COLOR_WHITE, const IColor& teFG = COLOR_BLACK)
      : mSize(size), mFGColor(color), mTextEntryBGColor(teBG), mTextEntryFGColor(teFG),
        mAngle(angle), mAlign(align), mVAlign(valign)
  {
    SetFont(font);
  }

  /** Copies the name, truncating it to 63 characters. */
  void SetFont(const char* font)
  {
    std::memset(mFont, 0, sizeof(mFont));
    if (font) std::strncpy(mFont, font, kFontNameLen - 1);
  }

  IText WithFGColor(const IColor& c) const
  {
    IText t(*this);
    t.mFGColor = c;
    return t;
  }

  IText WithAlign(EAlign a) const
  {
    IText t(*this);
    t.mAlign = a;
    return t;
  }

  IText WithVAlign(EVAlign a) const
  {
    IText t(*this);
    t.mVAlign = a;
    return t;
  }

  IText WithSize(float s) const
  {
    IText t(*this);
    t.mSize = s;
    return t;
  }

  bool operator==(const IText& rhs) const
  {
    return std::strcmp(mFont, rhs.mFont) == 0 && mSize == rhs.mSize && mFGColor == rhs.mFGColor &&
           mTextEntryBGColor == rhs.mTextEntryBGColor &&
           mTextEntryFGColor == rhs.mTextEntryFGColor && mAngle == rhs.mAngle &&
           mAlign == rhs.mAlign && mVAlign == rhs.mVAlign;
  }
};

} // namespace kit::gfx
