#include "graphics/GraphicsPathBase.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{

// ------------------------------------------------------------------------------------------------
// Stock shapes: clear, one path primitive, stroke or fill with the colour's solid pattern.

void GraphicsPathBase::StrokeSolid(const IColor& color, float thickness, const IBlend* pBlend)
{
  PathStroke(IPattern(color), thickness, IStrokeOptions(), pBlend);
}

void GraphicsPathBase::FillSolid(const IColor& color, const IBlend* pBlend)
{
  PathFill(IPattern(color), IFillOptions(), pBlend);
}

void GraphicsPathBase::DrawPoint(const IColor& color, float x, float y, const IBlend* pBlend)
{
  FillRect(color, IRECT(x, y, x + 1.f, y + 1.f), pBlend);
}

void GraphicsPathBase::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                                const IBlend* pBlend, float thickness)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                                      const IBlend* pBlend, float thickness, float dashLen)
{
  PathClear();
  IStrokeOptions options;
  options.mDash.SetDash(&dashLen, 0.f, 1);
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IPattern(color), thickness, options, pBlend);
}

void GraphicsPathBase::DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                    float x3, float y3, const IBlend* pBlend, float thickness)
{
  PathClear();
  PathTriangle(x1, y1, x2, y2, x3, y3);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend,
                                float thickness)
{
  PathClear();
  PathRect(bounds);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                     float cRTR, float cRBR, float cRBL, const IBlend* pBlend,
                                     float thickness)
{
  PathClear();
  PathRoundRect(bounds, cRTL, cRTR, cRBR, cRBL);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                     const IBlend* pBlend, float thickness)
{
  PathClear();
  PathRoundRect(bounds, cornerRadius);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                               const IBlend* pBlend, float thickness)
{
  PathClear();
  PathArc(cx, cy, r, a1, a2);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawCircle(const IColor& color, float cx, float cy, float r,
                                  const IBlend* pBlend, float thickness)
{
  PathClear();
  PathCircle(cx, cy, r);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawEllipse(const IColor& color, float x, float y, float r1, float r2,
                                   float angle, const IBlend* pBlend, float thickness)
{
  PathClear();
  PathEllipse(x, y, r1, r2, angle);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* pBlend,
                                   float thickness)
{
  PathClear();
  PathEllipse(bounds);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawConvexPolygon(const IColor& color, const float* x, const float* y,
                                         int nPoints, const IBlend* pBlend, float thickness)
{
  PathClear();
  PathConvexPolygon(x, y, nPoints);
  StrokeSolid(color, thickness, pBlend);
}

void GraphicsPathBase::DrawDottedRect(const IColor& color, const IRECT& bounds,
                                      const IBlend* pBlend, float thickness, float dashLen)
{
  PathClear();
  IStrokeOptions options;
  options.mDash.SetDash(&dashLen, 0.f, 1);
  PathRect(bounds);
  PathStroke(IPattern(color), thickness, options, pBlend);
}

void GraphicsPathBase::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                    float x3, float y3, const IBlend* pBlend)
{
  PathClear();
  PathTriangle(x1, y1, x2, y2, x3, y3);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend)
{
  PathClear();
  PathRect(bounds);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                     float cRTR, float cRBR, float cRBL, const IBlend* pBlend)
{
  PathClear();
  PathRoundRect(bounds, cRTL, cRTR, cRBR, cRBL);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                     const IBlend* pBlend)
{
  PathClear();
  PathRoundRect(bounds, cornerRadius);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillCircle(const IColor& color, float cx, float cy, float r,
                                  const IBlend* pBlend)
{
  PathClear();
  PathCircle(cx, cy, r);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillEllipse(const IColor& color, float x, float y, float r1, float r2,
                                   float angle, const IBlend* pBlend)
{
  PathClear();
  PathEllipse(x, y, r1, r2, angle);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillEllipse(const IColor& color, const IRECT& bounds, const IBlend* pBlend)
{
  PathClear();
  PathEllipse(bounds);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                               const IBlend* pBlend)
{
  PathClear();
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, a1, a2);
  PathClose();
  FillSolid(color, pBlend);
}

void GraphicsPathBase::FillConvexPolygon(const IColor& color, const float* x, const float* y,
                                         int nPoints, const IBlend* pBlend)
{
  PathClear();
  PathConvexPolygon(x, y, nPoints);
  FillSolid(color, pBlend);
}

void GraphicsPathBase::DrawGrid(const IColor& color, const IRECT& bounds, float gridSizeH,
                                float gridSizeV, const IBlend* pBlend)
{
  PathClear();
  if (gridSizeH > 1.f)
  {
    for (int k = 1;; ++k)
    {
      const float x = bounds.L + k * gridSizeH;
      if (!(x < bounds.R)) break;
      PathMoveTo(x, bounds.T);
      PathLineTo(x, bounds.B);
    }
  }
  if (gridSizeV > 1.f)
  {
    for (int k = 1;; ++k)
    {
      const float y = bounds.T + k * gridSizeV;
      if (!(y < bounds.B)) break;
      PathMoveTo(bounds.L, y);
      PathLineTo(bounds.R, y);
    }
  }
  StrokeSolid(color, 1.f, pBlend);
}

void GraphicsPathBase::DrawData(const IColor& color, const IRECT& bounds, const float* normYPoints,
                                int nPoints, const float* normXPoints, const IBlend* pBlend,
                                float thickness)
{
  if (!normYPoints || nPoints < 1) return;
  const float w = bounds.W();
  const float h = bounds.H();
  const auto xAt = [&](int k)
  {
    if (normXPoints) return bounds.L + w * normXPoints[k];
    return nPoints > 1 ? bounds.L + k * w / (nPoints - 1) : bounds.L;
  };

  PathClear();
  PathMoveTo(xAt(0), bounds.B - h * normYPoints[0]);
  for (int k = 1; k < nPoints; ++k)
    PathLineTo(xAt(k), bounds.B - h * normYPoints[k]);
  StrokeSolid(color, thickness, pBlend);
}

// ------------------------------------------------------------------------------------------------
// Bitmaps and SVGs placed through the transform

void GraphicsPathBase::DrawFittedBitmap(const IBitmap& bitmap, const IRECT& bounds,
                                        const IBlend* pBlend)
{
  if (!bitmap.IsValid()) return;
  PathTransformSave();
  PathTransformTranslate(bounds.L, bounds.T);
  PathTransformScale(bounds.W() / bitmap.W(), bounds.H() / bitmap.H());
  DrawBitmap(bitmap, IRECT(0.f, 0.f, bitmap.W(), bitmap.H()), 0, 0, pBlend);
  PathTransformRestore();
}

void GraphicsPathBase::DrawRotatedBitmap(const IBitmap& bitmap, float destCentreX,
                                         float destCentreY, double angle, const IBlend* pBlend)
{
  if (!bitmap.IsValid()) return;
  const APIBitmap* pAPI = bitmap.GetAPIBitmap();
  const float w = pAPI->GetWidth() / pAPI->GetDrawScale();
  const float h = pAPI->GetHeight() / pAPI->GetDrawScale();
  PathTransformSave();
  PathTransformTranslate(destCentreX, destCentreY);
  PathTransformRotate(static_cast<float>(angle));
  DrawBitmap(bitmap, IRECT(-w * 0.5f, -h * 0.5f, w * 0.5f, h * 0.5f), 0, 0, pBlend);
  PathTransformRestore();
}

void GraphicsPathBase::DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* pBlend)
{
  if (!svg.IsValid() || svg.W() <= 0.f || svg.H() <= 0.f) return;
  PathTransformSave();
  PathTransformTranslate(bounds.L, bounds.T);
  PathTransformScale(std::min(bounds.W() / svg.W(), bounds.H() / svg.H()));
  RenderSVG(svg, pBlend);
  PathTransformRestore();
}

void GraphicsPathBase::DrawRotatedSVG(const ISVG& svg, float destCentreX, float destCentreY,
                                      float width, float height, double angle, const IBlend* pBlend)
{
  PathTransformSave();
  PathTransformTranslate(destCentreX, destCentreY);
  PathTransformRotate(static_cast<float>(angle));
  DrawSVG(svg, IRECT(-width * 0.5f, -height * 0.5f, width * 0.5f, height * 0.5f), pBlend);
  PathTransformRestore();
}

// ------------------------------------------------------------------------------------------------
// Path shapes

void GraphicsPathBase::PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3)
{
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
}

void GraphicsPathBase::PathRect(const IRECT& bounds)
{
  PathMoveTo(bounds.L, bounds.T);
  PathLineTo(bounds.R, bounds.T);
  PathLineTo(bounds.R, bounds.B);
  PathLineTo(bounds.L, bounds.B);
  PathClose();
}

void GraphicsPathBase::PathRoundRect(const IRECT& bounds, float cornerRadius)
{
  PathRoundRect(bounds, cornerRadius, cornerRadius, cornerRadius, cornerRadius);
}

void GraphicsPathBase::PathRoundRect(const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                                     float cRBL)
{
  if (cRTL <= 0.f && cRTR <= 0.f && cRBR <= 0.f && cRBL <= 0.f)
  {
    PathRect(bounds);
    return;
  }
  // A negative radius among positive ones is a square corner, not an inverted arc.
  cRTL = std::max(cRTL, 0.f);
  cRTR = std::max(cRTR, 0.f);
  cRBR = std::max(cRBR, 0.f);
  cRBL = std::max(cRBL, 0.f);
  const float l = bounds.L, t = bounds.T, r = bounds.R, b = bounds.B;
  PathMoveTo(l, t + cRTL);
  PathArc(l + cRTL, t + cRTL, cRTL, 270.f, 360.f);
  PathArc(r - cRTR, t + cRTR, cRTR, 0.f, 90.f);
  PathArc(r - cRBR, b - cRBR, cRBR, 90.f, 180.f);
  PathArc(l + cRBL, b - cRBL, cRBL, 180.f, 270.f);
  PathClose();
}

void GraphicsPathBase::PathCircle(float cx, float cy, float r)
{
  PathMoveTo(cx, cy - r);
  PathArc(cx, cy, r, 0.f, 360.f);
  PathClose();
}

void GraphicsPathBase::PathEllipse(const IRECT& bounds)
{
  PathEllipse(bounds.MW(), bounds.MH(), bounds.W() * 0.5f, bounds.H() * 0.5f, 0.f);
}

void GraphicsPathBase::PathEllipse(float x, float y, float r1, float r2, float angle)
{
  if (!(r1 > 0.f && r2 > 0.f)) return;
  PathTransformSave();
  PathTransformTranslate(x, y);
  PathTransformRotate(angle);
  PathTransformScale(r1, r2);
  PathCircle(0.f, 0.f, 1.f);
  PathTransformRestore();
}

void GraphicsPathBase::PathConvexPolygon(const float* x, const float* y, int nPoints)
{
  if (!x || !y || nPoints < 1) return;
  PathMoveTo(x[0], y[0]);
  for (int i = 1; i < nPoints; ++i)
    PathLineTo(x[i], y[i]);
  PathClose();
}

void GraphicsPathBase::QuadraticToCubic(float px, float py, float cx, float cy, float x, float y,
                                        float& c1x, float& c1y, float& c2x, float& c2y)
{
  constexpr float kTwoThirds = 0.6666667f;
  c1x = px + (cx - px) * kTwoThirds;
  c1y = py + (cy - py) * kTwoThirds;
  c2x = x + (cx - x) * kTwoThirds;
  c2y = y + (cy - y) * kTwoThirds;
}

// ------------------------------------------------------------------------------------------------
// Transform

void GraphicsPathBase::PathTransformSave()
{
  mTransformStack.push_back(mTransform);
}

void GraphicsPathBase::PathTransformRestore()
{
  if (mTransformStack.empty()) return;
  mTransform = mTransformStack.back();
  mTransformStack.pop_back();
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformReset()
{
  mTransform = IMatrix();
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformTranslate(float x, float y)
{
  mTransform.Translate(x, y);
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformScale(float scale)
{
  PathTransformScale(scale, scale);
}

void GraphicsPathBase::PathTransformScale(float x, float y)
{
  mTransform.Scale(x, y);
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformRotate(float angle)
{
  mTransform.Rotate(angle);
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformSkew(float xAngle, float yAngle)
{
  mTransform.Skew(xAngle, yAngle);
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathTransformMatrix(const IMatrix& matrix)
{
  mTransform.Transform(matrix);
  PathTransformSetMatrix(mTransform);
}

void GraphicsPathBase::PathClipRegion(const IRECT& r)
{
  SetClipRegion(r);
}

} // namespace kit::gfx
