#pragma once

// What paths are filled and stroked with, and how: affine transforms, colour stops, patterns,
// stroke and fill options.

#include "graphics/GraphicsStructs.h"

#include <initializer_list>

namespace kit::gfx
{

enum class EPatternType : int
{
  Solid = 0,
  Linear,
  Radial
};

enum class EPatternExtend : int
{
  Pad = 1,
  Reflect,
  Repeat
};

enum class ELineCap : int
{
  Butt = 0,
  Round,
  Square
};

enum class ELineJoin : int
{
  Miter = 0,
  Round,
  Bevel
};

/** Preserve keeps the winding each sub-path was given with PathSetWinding. */
enum class EFillRule : int
{
  Winding = 0,
  EvenOdd,
  Preserve
};

enum class EWinding : int
{
  CW = 0,
  CCW
};

/** Affine transform mapping (x, y) to (xx*x + xy*y + tx, yx*x + yy*y + ty). */
struct IMatrix
{
  double mXX = 1.0;
  double mYX = 0.0;
  double mXY = 0.0;
  double mYY = 1.0;
  double mTX = 0.0;
  double mTY = 0.0;

  constexpr IMatrix() = default;
  constexpr IMatrix(double xx, double yx, double xy, double yy, double tx, double ty)
      : mXX(xx), mYX(yx), mXY(xy), mYY(yy), mTX(tx), mTY(ty)
  {
  }

  constexpr bool operator==(const IMatrix&) const = default;

  /** The operations below compose so that what is drawn afterwards is first moved, scaled or
   *  turned in the space this matrix already describes: result(p) = this(op(p)). */
  IMatrix& Translate(double x, double y) { return Transform(IMatrix(1, 0, 0, 1, x, y)); }
  IMatrix& Scale(double x, double y) { return Transform(IMatrix(x, 0, 0, y, 0, 0)); }
  IMatrix& Rotate(double degrees);
  IMatrix& Skew(double xDegrees, double yDegrees);

  /** this = this * m, i.e. m is applied first. */
  IMatrix& Transform(const IMatrix& m);

  /** Returns the identity for a singular matrix. */
  IMatrix Inverted() const;

  void TransformPoint(double& x, double& y) const
  {
    const double tx = mXX * x + mXY * y + mTX;
    y = mYX * x + mYY * y + mTY;
    x = tx;
  }
};

struct IColorStop
{
  IColor mColor = COLOR_BLACK;
  float mOffset = 0.f;
};

/** Solid colour or gradient. The transform maps drawing space to pattern space: a linear gradient
 *  runs from (0, 0) to (0, 1) there, a radial one is the unit circle about the origin. */
struct IPattern
{
  static constexpr int kMaxStops = 16;

  EPatternType mType = EPatternType::Solid;
  EPatternExtend mExtend = EPatternExtend::Pad;
  IColorStop mStops[kMaxStops];
  int mNStops = 0;
  IMatrix mTransform;

  /** A single-colour solid pattern. */
  IPattern(const IColor& color) // NOLINT: implicit so that a colour can be passed for a pattern
  {
    mStops[0] = {color, 0.f};
    mNStops = 1;
  }

  explicit IPattern(EPatternType type) : mType(type) {}

  /** Stops past the sixteenth are ignored. */
  void AddStop(const IColor& color, float offset)
  {
    if (mNStops < kMaxStops) mStops[mNStops++] = {color, offset};
  }

  int NStops() const { return mNStops; }
  const IColorStop& GetStop(int idx) const { return mStops[idx]; }
  IColor GetFirstColor() const { return mStops[0].mColor; }

  void SetTransform(const IMatrix& m) { mTransform = m; }

  /** From (x1, y1) to (x2, y2); beyond either end the end colour continues. */
  static IPattern CreateLinearGradient(float x1, float y1, float x2, float y2,
                                       std::initializer_list<IColorStop> stops = {});

  /** About (x, y) with radius r (r > 0). */
  static IPattern CreateRadialGradient(float x, float y, float r,
                                       std::initializer_list<IColorStop> stops = {});
};

struct IStrokeOptions
{
  struct DashOptions
  {
    static constexpr int kMaxDashes = 8;

    float mArray[kMaxDashes] = {};
    int mCount = 0;
    float mOffset = 0.f;

    /** Keeps at most eight lengths. */
    void SetDash(const float* lengths, float offset, int count)
    {
      mCount = std::clamp(count, 0, kMaxDashes);
      for (int i = 0; i < mCount; ++i)
        mArray[i] = lengths[i];
      mOffset = offset;
    }
  };

  float mMiterLimit = 10.f;
  bool mPreserve = false;
  ELineCap mCapOption = ELineCap::Butt;
  ELineJoin mJoinOption = ELineJoin::Miter;
  DashOptions mDash;
};

struct IFillOptions
{
  EFillRule mFillRule = EFillRule::Winding;
  bool mPreserve = false;

  constexpr IFillOptions() = default;
  constexpr IFillOptions(EFillRule rule, bool preserve) : mFillRule(rule), mPreserve(preserve) {}
};

} // namespace kit::gfx
