#include "graphics/GraphicsNanoVG.h"

#include "graphics/GLHeaders.h"

#include <nanovg.h>
#define NANOVG_GL3_IMPLEMENTATION
#include <nanovg_gl.h>
#include <nanovg_gl_utils.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace kit::gfx
{

namespace
{

// Font bytes shared by every back end in the process, so reopening the editor
// does not read the fonts again. NanoVG keeps pointers into these bytes
// (fonts are registered without copying), so they live until the last back
// end is gone.
struct FontDataCache
{
  std::mutex lock;
  int users = 0;
  std::unordered_map<std::string, std::shared_ptr<std::vector<uint8_t>>> fonts;
};

FontDataCache& FontCache()
{
  static FontDataCache cache;
  return cache;
}

std::string FontCacheKey(const char* fontID)
{
  char suffix[32];
  std::snprintf(suffix, sizeof(suffix), "-%.1fx", 1.0);
  return std::string(fontID) + suffix;
}

// NanoVG contexts alive in the process, by serial number (a new context may
// reuse a deleted one's address). Bitmaps sit in a process-wide cache that can
// outlive the context that decoded them; a bitmap whose context is gone must
// neither draw nor free its image (the image went with the context).
struct LiveContexts
{
  std::mutex lock;
  uint64_t lastSerial = 0;
  std::vector<uint64_t> serials;

  uint64_t Add()
  {
    std::lock_guard guard(lock);
    serials.push_back(++lastSerial);
    return lastSerial;
  }
  void Remove(uint64_t serial)
  {
    std::lock_guard guard(lock);
    std::erase(serials, serial);
  }
  bool Contains(uint64_t serial)
  {
    std::lock_guard guard(lock);
    return std::find(serials.begin(), serials.end(), serial) != serials.end();
  }
};

LiveContexts& Contexts()
{
  static LiveContexts live;
  return live;
}

NVGcolor ToNVGColor(const IColor& color, float weight)
{
  const IColor c = color.Clamped();
  return nvgRGBAf(c.R / 255.f, c.G / 255.f, c.B / 255.f, c.A / 255.f * weight);
}

} // namespace

GraphicsNanoVG::Bitmap::Bitmap(NVGcontext* pContext, uint64_t contextSerial, int image, int scale,
                               float drawScale)
    : mContext(pContext), mContextSerial(contextSerial), mImage(image)
{
  int w = 0, h = 0;
  if (pContext && image > 0) nvgImageSize(pContext, image, &w, &h);
  SetBitmap(w, h, scale, drawScale);
}

GraphicsNanoVG::Bitmap::Bitmap(NVGcontext* pContext, uint64_t contextSerial,
                               NVGLUframebuffer* pFramebuffer, int scale, float drawScale)
    : mContext(pContext), mContextSerial(contextSerial),
      mImage(pFramebuffer ? pFramebuffer->image : 0), mFramebuffer(pFramebuffer)
{
  int w = 0, h = 0;
  if (pContext && mImage > 0) nvgImageSize(pContext, mImage, &w, &h);
  SetBitmap(w, h, scale, drawScale);
}

GraphicsNanoVG::Bitmap::~Bitmap()
{
  if (!mContext || !Contexts().Contains(mContextSerial)) return;
  if (mFramebuffer)
    nvgluDeleteFramebuffer(mFramebuffer);
  else if (mImage > 0)
    nvgDeleteImage(mContext, mImage);
}

GraphicsNanoVG::GraphicsNanoVG(GraphicsEditorDelegate* pDelegate, int w, int h, int fps,
                               float scale)
    : GraphicsPathBase(pDelegate, w, h, fps, scale)
{
  FontDataCache& cache = FontCache();
  std::lock_guard guard(cache.lock);
  ++cache.users;
}

GraphicsNanoVG::~GraphicsNanoVG()
{
  // The platform normally tears the context down in CloseWindow; without it
  // the GL objects die with the GL context anyway.
  FontDataCache& cache = FontCache();
  std::lock_guard guard(cache.lock);
  if (--cache.users == 0) cache.fonts.clear();
}

void GraphicsNanoVG::OnViewInitialized(void*)
{
  if (mVG) return;
  mVG = nvgCreateGL3(NVG_ANTIALIAS);
  if (mVG) mContextSerial = Contexts().Add();
}

void GraphicsNanoVG::OnViewDestroyed()
{
  DeleteMainFramebuffer();
  DeleteLayers();
  if (mVG)
  {
    // Fonts and images belong to the context and go with it.
    Contexts().Remove(mContextSerial);
    mContextSerial = 0;
    mPixelImages.clear();
    nvgDeleteGL3(mVG);
    mVG = nullptr;
  }
}

void GraphicsNanoVG::DeleteMainFramebuffer()
{
  if (mMainFrameBuffer)
  {
    nvgluDeleteFramebuffer(mMainFrameBuffer);
    mMainFrameBuffer = nullptr;
  }
}

void GraphicsNanoVG::DeleteLayers()
{
  for (NVGLUframebuffer*& layer : mLayers)
  {
    if (layer) nvgluDeleteFramebuffer(layer);
    layer = nullptr;
  }
  InvalidateLayers();
}

void GraphicsNanoVG::DrawResize()
{
  if (!mVG) return;
  ActivateGLContext();
  DeleteMainFramebuffer();
  DeleteLayers();
  const int w = WindowWidth(), h = WindowHeight();
  if (w > 0 && h > 0) mMainFrameBuffer = nvgluCreateFramebuffer(mVG, w, h, 0);
  if (mMainFrameBuffer)
  {
    // A new texture holds whatever the driver left there; start transparent
    // so that areas no control has drawn yet show nothing.
    nvgluBindFramebuffer(mMainFrameBuffer);
    glViewport(0, 0, w, h);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, GetWindowFramebuffer());
  }
  DeactivateGLContext();
}

void GraphicsNanoVG::BeginFrame()
{
  mInDraw = true;
  if (!mVG || !mMainFrameBuffer) return;
  glBindFramebuffer(GL_FRAMEBUFFER, GetWindowFramebuffer());
  glViewport(0, 0, WindowWidth(), WindowHeight());
  glClearColor(0.f, 0.f, 0.f, 0.f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  nvgluBindFramebuffer(mMainFrameBuffer);
  BeginNanoVGFrame();
}

void GraphicsNanoVG::BeginNanoVGFrame()
{
  nvgBeginFrame(mVG, Width() * GetDrawScale(), Height() * GetDrawScale(),
                static_cast<float>(GetScreenScale()));
}

bool GraphicsNanoVG::BeginLayer(int index)
{
  if (!mVG || !mMainFrameBuffer || !mInDraw || mInLayer || index < 0 || index > 63) return false;
  const auto slot = static_cast<size_t>(index);
  if (mLayers.size() <= slot) mLayers.resize(slot + 1, nullptr);
  // What was drawn so far belongs to the main frame: NanoVG renders at the end of a frame, into
  // whatever framebuffer is bound then.
  nvgEndFrame(mVG);
  if (!mLayers[slot]) mLayers[slot] = nvgluCreateFramebuffer(mVG, WindowWidth(), WindowHeight(), 0);
  nvgluBindFramebuffer(mLayers[slot] ? mLayers[slot] : mMainFrameBuffer);
  if (mLayers[slot])
  {
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
  BeginNanoVGFrame();
  mInLayer = mLayers[slot] != nullptr;
  return mInLayer;
}

void GraphicsNanoVG::EndLayer()
{
  if (!mInLayer) return;
  mInLayer = false;
  nvgEndFrame(mVG);
  nvgluBindFramebuffer(mMainFrameBuffer);
  BeginNanoVGFrame();
}

void GraphicsNanoVG::DrawLayer(int index, const IRECT& bounds)
{
  const auto slot = static_cast<size_t>(index);
  if (!mVG || !mInDraw || mInLayer || index < 0 || slot >= mLayers.size() || !mLayers[slot]) return;
  // In the frame's own units (the window's device pixels over the screen scale) the image covers
  // the window exactly, so every pixel lands on itself; the clip set before stays as it was set.
  const float w = Width() * GetDrawScale(), h = Height() * GetDrawScale();
  const float s = GetDrawScale();
  nvgSave(mVG);
  nvgResetTransform(mVG);
  nvgShapeAntiAlias(mVG, 0);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
  const NVGpaint image = nvgImagePattern(mVG, 0.f, 0.f, w, h, 0.f, mLayers[slot]->image, 1.f);
  nvgBeginPath(mVG);
  nvgRect(mVG, bounds.L * s - 1.f, bounds.T * s - 1.f, bounds.W() * s + 2.f, bounds.H() * s + 2.f);
  nvgFillPaint(mVG, image);
  nvgFill(mVG);
  nvgBeginPath(mVG);
  nvgRestore(mVG);
}

void GraphicsNanoVG::EndFrame()
{
  mInDraw = false;
  if (!mVG || !mMainFrameBuffer) return;
  nvgEndFrame(mVG);
  // Copy the whole off-screen frame to the window, one device pixel per pixel.
  glBindFramebuffer(GL_FRAMEBUFFER, GetWindowFramebuffer());
  const float w = static_cast<float>(WindowWidth()), h = static_cast<float>(WindowHeight());
  nvgBeginFrame(mVG, w, h, 1.f);
  const NVGpaint image = nvgImagePattern(mVG, 0.f, 0.f, w, h, 0.f, mMainFrameBuffer->image, 1.f);
  nvgShapeAntiAlias(mVG, 0); // whole pixels: one draw
  nvgBeginPath(mVG);
  nvgRect(mVG, 0.f, 0.f, w, h);
  nvgFillPaint(mVG, image);
  nvgFill(mVG);
  nvgEndFrame(mVG);
}

bool GraphicsNanoVG::BitmapExtSupported(const char* ext)
{
  if (!ext) return false;
  std::string lower(ext);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "png" || lower == "jpg" || lower == "jpeg";
}

void GraphicsNanoVG::SetCompositeFromBlend(const IBlend* pBlend)
{
  if (!mVG) return;
  switch (pBlend ? pBlend->mMethod : EBlend::SrcOver)
  {
  case EBlend::SrcOver:
    nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
    break;
  case EBlend::SrcIn:
    nvgGlobalCompositeOperation(mVG, NVG_SOURCE_IN);
    break;
  case EBlend::SrcOut:
    nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OUT);
    break;
  case EBlend::SrcAtop:
    nvgGlobalCompositeOperation(mVG, NVG_ATOP);
    break;
  case EBlend::DstOver:
    nvgGlobalCompositeOperation(mVG, NVG_DESTINATION_OVER);
    break;
  case EBlend::DstIn:
    nvgGlobalCompositeOperation(mVG, NVG_DESTINATION_IN);
    break;
  case EBlend::DstOut:
    nvgGlobalCompositeOperation(mVG, NVG_DESTINATION_OUT);
    break;
  case EBlend::DstAtop:
    nvgGlobalCompositeOperation(mVG, NVG_DESTINATION_ATOP);
    break;
  case EBlend::Add:
    nvgGlobalCompositeBlendFunc(mVG, NVG_SRC_ALPHA, NVG_DST_ALPHA);
    break;
  case EBlend::XOR:
    nvgGlobalCompositeOperation(mVG, NVG_XOR);
    break;
  default:
    break; // unknown methods leave the operation as it is
  }
}

// Gradients use only the first and the last stop: NanoVG gradients have two
// colours.
void GraphicsNanoVG::ApplyPaint(const IPattern& pattern, const IBlend* pBlend, bool stroke)
{
  const float weight = BlendWeight(pBlend);
  if (pattern.mType == EPatternType::Solid || pattern.NStops() < 1)
  {
    const IColor color = pattern.NStops() > 0 ? pattern.GetStop(0).mColor : COLOR_TRANSPARENT;
    if (stroke)
      nvgStrokeColor(mVG, ToNVGColor(color, weight));
    else
      nvgFillColor(mVG, ToNVGColor(color, weight));
    return;
  }
  const IColorStop& first = pattern.GetStop(0);
  const IColorStop& last = pattern.GetStop(pattern.NStops() - 1);
  const NVGcolor inner = ToNVGColor(first.mColor, weight);
  const NVGcolor outer = ToNVGColor(last.mColor, weight);
  const IMatrix inverse = pattern.mTransform.Inverted();
  double x0 = 0.0, y0 = 0.0;
  inverse.TransformPoint(x0, y0);
  NVGpaint paint;
  if (pattern.mType == EPatternType::Linear)
  {
    double x1 = 0.0, y1 = 1.0;
    inverse.TransformPoint(x1, y1);
    paint = nvgLinearGradient(mVG, float(x0), float(y0), float(x1), float(y1), inner, outer);
  }
  else
  {
    const float outerRadius = static_cast<float>(inverse.mXX);
    paint = nvgRadialGradient(mVG, float(x0), float(y0), first.mOffset * outerRadius, outerRadius,
                              inner, outer);
  }
  if (stroke)
    nvgStrokePaint(mVG, paint);
  else
    nvgFillPaint(mVG, paint);
}

void GraphicsNanoVG::PathClear()
{
  if (mVG) nvgBeginPath(mVG);
}

void GraphicsNanoVG::PathClose()
{
  if (mVG) nvgClosePath(mVG);
}

void GraphicsNanoVG::PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding)
{
  if (!mVG) return;
  // 0 degrees points up (12 o'clock); NanoVG's 0 points right.
  const auto toRadians = [](float degrees) { return nvgDegToRad(degrees - 90.f); };
  nvgArc(mVG, cx, cy, r, toRadians(a1), toRadians(a2), winding == EWinding::CW ? NVG_CW : NVG_CCW);
}

void GraphicsNanoVG::PathMoveTo(float x, float y)
{
  if (mVG) nvgMoveTo(mVG, x, y);
}

void GraphicsNanoVG::PathLineTo(float x, float y)
{
  if (mVG) nvgLineTo(mVG, x, y);
}

void GraphicsNanoVG::PathSetWinding(bool clockwise)
{
  if (mVG) nvgPathWinding(mVG, clockwise ? NVG_HOLE : NVG_SOLID);
}

void GraphicsNanoVG::PathCubicBezierTo(float c1x, float c1y, float c2x, float c2y, float x2,
                                       float y2)
{
  if (mVG) nvgBezierTo(mVG, c1x, c1y, c2x, c2y, x2, y2);
}

void GraphicsNanoVG::PathQuadraticBezierTo(float cx, float cy, float x2, float y2)
{
  // NanoVG raises the quadratic to a cubic with the 2/3 control points from
  // its own current point.
  if (mVG) nvgQuadTo(mVG, cx, cy, x2, y2);
}

void GraphicsNanoVG::PathStroke(const IPattern& pattern, float thickness,
                                const IStrokeOptions& options, const IBlend* pBlend)
{
  if (!mVG) return;
  switch (options.mCapOption)
  {
  case ELineCap::Butt:
    nvgLineCap(mVG, NVG_BUTT);
    break;
  case ELineCap::Round:
    nvgLineCap(mVG, NVG_ROUND);
    break;
  case ELineCap::Square:
    nvgLineCap(mVG, NVG_SQUARE);
    break;
  }
  switch (options.mJoinOption)
  {
  case ELineJoin::Miter:
    nvgLineJoin(mVG, NVG_MITER);
    break;
  case ELineJoin::Round:
    nvgLineJoin(mVG, NVG_ROUND);
    break;
  case ELineJoin::Bevel:
    nvgLineJoin(mVG, NVG_BEVEL);
    break;
  }
  nvgMiterLimit(mVG, options.mMiterLimit);
  nvgStrokeWidth(mVG, thickness);
  ApplyPaint(pattern, pBlend, true);
  SetCompositeFromBlend(pBlend);
  nvgPathWinding(mVG, NVG_SOLID);
  nvgStroke(mVG);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
  if (!options.mPreserve) nvgBeginPath(mVG);
}

void GraphicsNanoVG::PathFill(const IPattern& pattern, const IFillOptions& options,
                              const IBlend* pBlend)
{
  if (!mVG) return;
  // NanoVG fills by the winding each sub-path carries; the rule sets the last one's.
  if (options.mFillRule == EFillRule::Winding)
    nvgPathWinding(mVG, NVG_SOLID);
  else if (options.mFillRule == EFillRule::EvenOdd)
    nvgPathWinding(mVG, NVG_HOLE);
  ApplyPaint(pattern, pBlend, false);
  SetCompositeFromBlend(pBlend);
  nvgFill(mVG);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
  if (!options.mPreserve) nvgBeginPath(mVG);
}

int GraphicsNanoVG::UpdatePixelImage(const void* owner, int slot, const uint8_t* data, int w, int h)
{
  auto it = std::find_if(mPixelImages.begin(), mPixelImages.end(),
                         [owner, slot](const PixelImage& p)
                         { return p.owner == owner && p.slot == slot; });
  if (it == mPixelImages.end())
    it = mPixelImages.insert(mPixelImages.end(), PixelImage{owner, slot});
  if (it->image > 0 && (it->w != w || it->h != h))
  {
    nvgDeleteImage(mVG, it->image);
    it->image = 0;
  }
  if (it->image > 0)
    nvgUpdateImage(mVG, it->image, data);
  else if (slot < 0)
    it->image = nvgCreateImageRGBA(mVG, w, h, NVG_IMAGE_PREMULTIPLIED | NVG_IMAGE_NEAREST, data);
  else
  {
    // NanoVG makes one-channel images only for its fonts; its renderer makes them for anyone.
    NVGparams* params = nvgInternalParams(mVG);
    it->image = params->renderCreateTexture(params->userPtr, NVG_TEXTURE_ALPHA, w, h,
                                            NVG_IMAGE_NEAREST, data);
  }
  it->w = w;
  it->h = h;
  return std::max(it->image, 0);
}

void GraphicsNanoVG::FillWithImage(int image, bool columnMajor, const IRECT& bounds,
                                   const IColor& tint, float weight, const IBlend* pBlend)
{
  const float bw = bounds.R - bounds.L, bh = bounds.B - bounds.T;
  NVGpaint paint = nvgImagePattern(mVG, bounds.L, bounds.T, bw, bh, 0.f, image, 1.f);
  paint.innerColor = paint.outerColor = ToNVGColor(tint, weight);
  if (columnMajor)
  {
    // The image's x runs down the bounds, its y across.
    const float transpose[6] = {0.f, 1.f, 1.f, 0.f, bounds.L, bounds.T};
    std::copy_n(transpose, 6, paint.xform);
    paint.extent[0] = bh;
    paint.extent[1] = bw;
  }
  SetCompositeFromBlend(pBlend);
  // The image lands on whole device pixels: an anti-aliased edge would only cost a second draw.
  nvgShapeAntiAlias(mVG, 0);
  nvgBeginPath(mVG);
  nvgRect(mVG, bounds.L, bounds.T, bw, bh);
  nvgFillPaint(mVG, paint);
  nvgFill(mVG);
  nvgBeginPath(mVG);
  nvgShapeAntiAlias(mVG, 1);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
}

void GraphicsNanoVG::DrawPixels(const void* owner, const uint8_t* rgba, int w, int h,
                                bool columnMajor, const IRECT& bounds, const IBlend* pBlend)
{
  if (!mVG || !rgba || w <= 0 || h <= 0) return;
  // Column by column, the pixels are an image h wide and w high, shown transposed.
  const int image = UpdatePixelImage(owner, -1, rgba, columnMajor ? h : w, columnMajor ? w : h);
  if (image > 0)
    FillWithImage(image, columnMajor, bounds, COLOR_WHITE, BlendWeight(pBlend), pBlend);
}

void GraphicsNanoVG::DrawMask(const void* owner, int slot, const uint8_t* coverage, int w, int h,
                              bool columnMajor, const IRECT& bounds, const IColor& color)
{
  if (!mVG || !coverage || w <= 0 || h <= 0 || slot < 0) return;
  const int image =
      UpdatePixelImage(owner, slot, coverage, columnMajor ? h : w, columnMajor ? w : h);
  if (image > 0) FillWithImage(image, columnMajor, bounds, color, 1.f, nullptr);
}

void GraphicsNanoVG::DrawBitmap(const IBitmap& bitmap, const IRECT& bounds, int srcX, int srcY,
                                const IBlend* pBlend)
{
  const auto* pBitmap = dynamic_cast<const Bitmap*>(bitmap.GetAPIBitmap());
  // An image belongs to the context that decoded it; in another context its
  // number names a different texture.
  if (!mVG || !pBitmap || pBitmap->GetImage() <= 0 || pBitmap->GetContextSerial() != mContextSerial)
    return;
  const float divisor = pBitmap->GetScale() * pBitmap->GetDrawScale();
  const NVGpaint paint = nvgImagePattern(
      mVG, bounds.L - srcX, bounds.T - srcY, pBitmap->GetWidth() / divisor,
      pBitmap->GetHeight() / divisor, 0.f, pBitmap->GetImage(), BlendWeight(pBlend));
  SetCompositeFromBlend(pBlend);
  nvgBeginPath(mVG);
  nvgRect(mVG, bounds.L, bounds.T, bounds.R - bounds.L, bounds.B - bounds.T);
  nvgFillPaint(mVG, paint);
  nvgFill(mVG);
  nvgBeginPath(mVG);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
}

void GraphicsNanoVG::DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                                    const IBlend* pBlend, float thickness, float dashLen)
{
  PathClear();
  PathMoveTo(x1, y1);
  const float dx = x2 - x1, dy = y2 - y1;
  const float length = std::sqrt(dx * dx + dy * dy);
  // Shorter than one dash: nothing beyond the move-to. A dash length that is
  // not positive (or absurdly small) cannot be walked piece by piece.
  if (std::isfinite(length) && dashLen > 0.f && length >= dashLen)
  {
    const int pieces = std::min(static_cast<int>(std::lround(length / dashLen)), kMaxDashPieces);
    const float sx = dx / pieces, sy = dy / pieces;
    for (int i = 0; i < pieces; i += 2)
    {
      PathMoveTo(x1 + sx * i, y1 + sy * i);
      PathLineTo(x1 + sx * (i + 1), y1 + sy * (i + 1));
    }
  }
  PathStroke(IPattern(color), thickness, IStrokeOptions(), pBlend);
}

void GraphicsNanoVG::DrawDottedRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend,
                                    float thickness, float dashLen)
{
  PathClear();
  const float w = bounds.R - bounds.L, h = bounds.B - bounds.T;
  const float perimeter = 2.f * (w + h);
  if (dashLen > 0.f && w >= 0.f && h >= 0.f && std::isfinite(perimeter) && perimeter > 0.f)
  {
    // Corners clockwise from the top-left; a point at distance d along the
    // outline lies on the edge that contains d.
    const float cornerAt[5] = {0.f, w, w + h, 2.f * w + h, perimeter};
    const float cornerX[5] = {bounds.L, bounds.R, bounds.R, bounds.L, bounds.L};
    const float cornerY[5] = {bounds.T, bounds.T, bounds.B, bounds.B, bounds.T};
    const auto pointAt = [&](float d, float& x, float& y)
    {
      int edge = 0;
      while (edge < 3 && d > cornerAt[edge + 1])
        ++edge;
      const float len = cornerAt[edge + 1] - cornerAt[edge];
      const float t = len > 0.f ? (d - cornerAt[edge]) / len : 0.f;
      x = cornerX[edge] + (cornerX[edge + 1] - cornerX[edge]) * t;
      y = cornerY[edge] + (cornerY[edge + 1] - cornerY[edge]) * t;
      return edge;
    };
    int pieces = 0;
    for (float d = 0.f; d < perimeter && pieces < kMaxDashPieces; d += 2.f * dashLen, ++pieces)
    {
      const float end = std::min(d + dashLen, perimeter);
      float x, y;
      int edge = pointAt(d, x, y);
      PathMoveTo(x, y);
      // Carry the piece round any corner it spans.
      while (edge < 3 && end > cornerAt[edge + 1])
      {
        ++edge;
        PathLineTo(cornerX[edge], cornerY[edge]);
      }
      pointAt(end, x, y);
      PathLineTo(x, y);
    }
  }
  PathStroke(IPattern(color), thickness, IStrokeOptions(), pBlend);
}

void GraphicsNanoVG::PathTransformSetMatrix(const IMatrix& m)
{
  if (!mVG) return;
  nvgResetTransform(mVG);
  nvgScale(mVG, GetDrawScale(), GetDrawScale());
  nvgTransform(mVG, float(m.mXX), float(m.mYX), float(m.mXY), float(m.mYY), float(m.mTX),
               float(m.mTY));
}

void GraphicsNanoVG::SetClipRegion(const IRECT& r)
{
  if (!mVG) return;
  if (r.L == 0.f && r.T == 0.f && r.R == 0.f && r.B == 0.f)
    nvgResetScissor(mVG);
  else
    nvgScissor(mVG, r.L, r.T, r.R - r.L, r.B - r.T);
}

APIBitmap* GraphicsNanoVG::LoadAPIBitmap(const char* fileNameOrResID, int scale,
                                         EResourceLocation location, const char* ext)
{
  int image = 0;
  if (mVG && location != EResourceLocation::NotFound)
  {
    const std::vector<uint8_t> data = LoadResourceData(fileNameOrResID, ext);
    if (!data.empty())
    {
      ActivateGLContext();
      image = nvgCreateImageMem(mVG, 0, const_cast<unsigned char*>(data.data()),
                                static_cast<int>(data.size()));
      DeactivateGLContext();
    }
  }
  return new Bitmap(mVG, mContextSerial, image, scale, 1.f);
}

bool GraphicsNanoVG::LoadAPIFont(const char* fontID, const PlatformFontPtr& font)
{
  if (!mVG || !fontID || !*fontID) return false;
  if (nvgFindFont(mVG, fontID) >= 0) return true;
  FontDataCache& cache = FontCache();
  std::shared_ptr<std::vector<uint8_t>> bytes;
  int faceIdx = 0;
  {
    std::lock_guard guard(cache.lock);
    const auto it = cache.fonts.find(FontCacheKey(fontID));
    if (it != cache.fonts.end()) bytes = it->second;
  }
  if (!bytes)
  {
    if (!font) return false;
    IFontDataPtr data = font->GetFontData();
    if (!data || !data->IsValid()) return false;
    faceIdx = data->mFaceIdx;
    bytes = std::make_shared<std::vector<uint8_t>>(std::move(data->mBytes));
  }
  const int id = nvgCreateFontMemAtIndex(mVG, fontID, bytes->data(),
                                         static_cast<int>(bytes->size()), 0, faceIdx);
  if (id < 0) return false;
  std::lock_guard guard(cache.lock);
  cache.fonts.emplace(FontCacheKey(fontID), std::move(bytes));
  return true;
}

void GraphicsNanoVG::PrepareText(const IText& text, const IRECT& bounds, float& x, float& y) const
{
  nvgFontFace(mVG, text.mFont);
  nvgFontSize(mVG, text.mSize);
  int align = 0;
  switch (text.mAlign)
  {
  case EAlign::Near:
    align |= NVG_ALIGN_LEFT;
    x = bounds.L;
    break;
  case EAlign::Center:
    align |= NVG_ALIGN_CENTER;
    x = (bounds.L + bounds.R) * 0.5f;
    break;
  case EAlign::Far:
    align |= NVG_ALIGN_RIGHT;
    x = bounds.R;
    break;
  }
  switch (text.mVAlign)
  {
  case EVAlign::Top:
    align |= NVG_ALIGN_TOP;
    y = bounds.T;
    break;
  case EVAlign::Middle:
    align |= NVG_ALIGN_MIDDLE;
    y = (bounds.T + bounds.B) * 0.5f;
    break;
  case EVAlign::Bottom:
    align |= NVG_ALIGN_BOTTOM;
    y = bounds.B;
    break;
  }
  nvgTextAlign(mVG, align);
}

// Angled text turns about its anchor point: the pivot is the same point that
// alignment anchors the text to.
float GraphicsNanoVG::DoMeasureText(const IText& text, const char* str, IRECT& bounds) const
{
  if (!mVG || !str) return 0.f;
  float x = 0.f, y = 0.f;
  PrepareText(text, bounds, x, y);
  float b[4] = {0.f, 0.f, 0.f, 0.f};
  nvgTextBounds(mVG, x, y, str, nullptr, b);
  IRECT r(b[0], b[1], b[2], b[3]);
  if (text.mAngle != 0.f)
  {
    const float a = nvgDegToRad(text.mAngle);
    const float c = std::cos(a), s = std::sin(a);
    float l = HUGE_VALF, t = HUGE_VALF, rr = -HUGE_VALF, bb = -HUGE_VALF;
    for (const auto& [px, py] : {std::pair{b[0], b[1]}, std::pair{b[2], b[1]},
                                 std::pair{b[2], b[3]}, std::pair{b[0], b[3]}})
    {
      const float qx = x + (px - x) * c - (py - y) * s;
      const float qy = y + (px - x) * s + (py - y) * c;
      l = std::min(l, qx);
      t = std::min(t, qy);
      rr = std::max(rr, qx);
      bb = std::max(bb, qy);
    }
    r = IRECT(l, t, rr, bb);
  }
  bounds = r;
  return r.R - r.L;
}

void GraphicsNanoVG::DoDrawText(const IText& text, const char* str, const IRECT& bounds,
                                const IBlend* pBlend)
{
  if (!mVG || !str || !*str) return;
  float x = 0.f, y = 0.f;
  PrepareText(text, bounds, x, y);
  nvgSave(mVG);
  if (text.mAngle != 0.f)
  {
    nvgTranslate(mVG, x, y);
    nvgRotate(mVG, nvgDegToRad(text.mAngle));
    x = y = 0.f;
  }
  nvgFillColor(mVG, ToNVGColor(text.mFGColor, BlendWeight(pBlend)));
  SetCompositeFromBlend(pBlend);
  nvgText(mVG, x, y, str, nullptr);
  nvgGlobalCompositeOperation(mVG, NVG_SOURCE_OVER);
  nvgRestore(mVG);
}

} // namespace kit::gfx
