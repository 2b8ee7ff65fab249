#pragma once

// GraphicsPathBase: every stock shape of the drawing interface written once in path primitives,
// the transform with its stack of saved matrices, text and SVG rendering. A back end derives from
// it and supplies only:
//   path primitives   PathClear, PathClose, PathArc, PathMoveTo, PathLineTo, PathSetWinding,
//                     PathCubicBezierTo, PathQuadraticBezierTo, PathStroke, PathFill
//   transform/clip    PathTransformSetMatrix (called after every transform change), SetClipRegion
//   bitmaps and text  DrawBitmap, LoadAPIBitmap, LoadAPIFont, DoMeasureText, DoDrawText
//   queries           GetPoint, GetDrawContext, GetDrawingAPIStr, BitmapExtSupported
// No pixel snapping is applied: coordinates reach the back end unchanged.

#include "graphics/GraphicsContext.h"

#include <vector>

namespace kit::gfx
{

class GraphicsPathBase : public GraphicsContext
{
public:
  using GraphicsContext::GraphicsContext;

  // Stock shapes [ui thread]
  void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* pBlend = nullptr) override;
  void DrawRotatedSVG(const ISVG& svg, float destCentreX, float destCentreY, float width,
                      float height, double angle, const IBlend* pBlend = nullptr) override;
  void DrawFittedBitmap(const IBitmap& bitmap, const IRECT& bounds,
                        const IBlend* pBlend = nullptr) override;
  void DrawRotatedBitmap(const IBitmap& bitmap, float destCentreX, float destCentreY, double angle,
                         const IBlend* pBlend = nullptr) override;
  void DrawPoint(const IColor& color, float x, float y, const IBlend* pBlend = nullptr) override;
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                      const IBlend* pBlend = nullptr, float thickness = 1.f,
                      float dashLen = 2.f) override;
  void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                float thickness = 1.f) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                     const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
               const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawCircle(const IColor& color, float cx, float cy, float r, const IBlend* pBlend = nullptr,
                  float thickness = 1.f) override;
  void DrawEllipse(const IColor& color, float x, float y, float r1, float r2, float angle = 0.f,
                   const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                   float thickness = 1.f) override;
  void DrawConvexPolygon(const IColor& color, const float* x, const float* y, int nPoints,
                         const IBlend* pBlend = nullptr, float thickness = 1.f) override;
  void DrawDottedRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                      float thickness = 1.f, float dashLen = 2.f) override;
  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* pBlend = nullptr) override;
  void FillRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* pBlend = nullptr) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                     const IBlend* pBlend = nullptr) override;
  void FillCircle(const IColor& color, float cx, float cy, float r,
                  const IBlend* pBlend = nullptr) override;
  void FillEllipse(const IColor& color, float x, float y, float r1, float r2, float angle = 0.f,
                   const IBlend* pBlend = nullptr) override;
  void FillEllipse(const IColor& color, const IRECT& bounds,
                   const IBlend* pBlend = nullptr) override;
  void FillArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
               const IBlend* pBlend = nullptr) override;
  void FillConvexPolygon(const IColor& color, const float* x, const float* y, int nPoints,
                         const IBlend* pBlend = nullptr) override;
  void DrawGrid(const IColor& color, const IRECT& bounds, float gridSizeH, float gridSizeV,
                const IBlend* pBlend = nullptr) override;
  void DrawData(const IColor& color, const IRECT& bounds, const float* normYPoints, int nPoints,
                const float* normXPoints = nullptr, const IBlend* pBlend = nullptr,
                float thickness = 1.f) override;

  bool HasPathSupport() const override { return true; }

  // Path shapes built from the back end's primitives [ui thread]
  void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) override;
  void PathRect(const IRECT& bounds) override;
  void PathRoundRect(const IRECT& bounds, float cornerRadius = 0.f) override;
  void PathRoundRect(const IRECT& bounds, float cRTL, float cRTR, float cRBR, float cRBL) override;
  void PathCircle(float cx, float cy, float r) override;
  void PathEllipse(const IRECT& bounds) override;
  void PathEllipse(float x, float y, float r1, float r2, float angle = 0.f) override;
  void PathConvexPolygon(const float* x, const float* y, int nPoints) override;

  // Transform [ui thread]
  void PathTransformSave() override;
  void PathTransformRestore() override;
  void PathTransformReset() override;
  void PathTransformTranslate(float x, float y) override;
  void PathTransformScale(float scale) override;
  void PathTransformScale(float x, float y) override;
  void PathTransformRotate(float angle) override;
  void PathTransformSkew(float xAngle, float yAngle) override;
  void PathTransformMatrix(const IMatrix& matrix) override;
  void PathClipRegion(const IRECT& r = IRECT()) override;

  const IMatrix& GetTransform() const { return mTransform; }
  /** Number of saved matrices. */
  int GetTransformStackDepth() const { return static_cast<int>(mTransformStack.size()); }

  /** The cubic control points equivalent to a quadratic segment from (px, py) through control
   *  (cx, cy) to (x, y). Back ends use it for PathQuadraticBezierTo. */
  static void QuadraticToCubic(float px, float py, float cx, float cy, float x, float y, float& c1x,
                               float& c1y, float& c2x, float& c2y);

protected:
  /** Back end: adopt `m` as the transform for everything drawn from now on. */
  virtual void PathTransformSetMatrix(const IMatrix& m) = 0;
  /** Back end: clip to `r` (in the current transform); an empty rectangle lifts the clip. */
  virtual void SetClipRegion(const IRECT& r) = 0;

  /** Draws the shapes of a parsed image in image space (the fitting transform is already set). */
  void RenderSVG(const ISVG& svg, const IBlend* pBlend);

private:
  /** Stock outline: stroke the current path with a solid colour and default options. */
  void StrokeSolid(const IColor& color, float thickness, const IBlend* pBlend);
  void FillSolid(const IColor& color, const IBlend* pBlend);

  IMatrix mTransform;
  std::vector<IMatrix> mTransformStack;
};

} // namespace kit::gfx
