#pragma once

// GraphicsNanoVG: the drawing primitives of GraphicsPathBase on NanoVG's
// OpenGL 3 renderer. Each frame is drawn into an off-screen framebuffer the
// size of the window in device pixels and then copied to the window, so areas
// not redrawn in a frame keep their previous content.
//
// The platform that derives from this class owns the OpenGL context: it makes
// it current, then calls OnViewInitialized (creates the NanoVG context) and
// DrawResize (creates the framebuffer); every drawing call happens between
// BeginFrame and EndFrame with that context current. NanoVG's headers are
// included only by the .cpp.

#include "graphics/GraphicsPathBase.h"

#include <cstdint>
#include <vector>

struct NVGcontext;
struct NVGLUframebuffer;

namespace kit::gfx
{

class GraphicsNanoVG : public GraphicsPathBase
{
public:
  // A NanoVG image (or framebuffer) owned by the context that made it.
  class Bitmap : public APIBitmap
  {
  public:
    Bitmap(NVGcontext* pContext, uint64_t contextSerial, int image, int scale, float drawScale);
    Bitmap(NVGcontext* pContext, uint64_t contextSerial, NVGLUframebuffer* pFramebuffer, int scale,
           float drawScale);
    ~Bitmap() override;

    int GetImage() const { return mImage; }
    // Identifies the NanoVG context that owns the image (0: none).
    uint64_t GetContextSerial() const { return mContextSerial; }
    bool IsFramebuffer() const { return mFramebuffer != nullptr; }

  private:
    NVGcontext* mContext = nullptr;
    uint64_t mContextSerial = 0;
    int mImage = 0;
    NVGLUframebuffer* mFramebuffer = nullptr;
  };

  GraphicsNanoVG(GraphicsEditorDelegate* pDelegate, int w, int h, int fps, float scale);
  ~GraphicsNanoVG() override;

  // Frame and surface [ui thread, GL context current]
  void OnViewInitialized(void* pContext) override;
  void OnViewDestroyed() override;
  void DrawResize() override;
  void BeginFrame() override;
  void EndFrame() override;

  const char* GetDrawingAPIStr() override { return "NanoVG | GL3"; }
  void* GetDrawContext() override { return mVG; }
  // Pixel read-back is not offered through the drawing interface.
  IColor GetPoint(int, int) override { return COLOR_BLACK; }
  bool BitmapExtSupported(const char* ext) override;

  // Drawing [ui thread]
  void DrawBitmap(const IBitmap& bitmap, const IRECT& bounds, int srcX, int srcY,
                  const IBlend* pBlend = nullptr) override;
  // Dashes are drawn as explicit alternating pieces; NanoVG strokes have no dash support.
  void DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                      const IBlend* pBlend = nullptr, float thickness = 1.f,
                      float dashLen = 2.f) override;
  void DrawDottedRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                      float thickness = 1.f, float dashLen = 2.f) override;
  // A fill of the bounds with the owner's image: two GL draws and one texture upload.
  void DrawPixels(const void* owner, const uint8_t* rgba, int w, int h, bool columnMajor,
                  const IRECT& bounds, const IBlend* pBlend = nullptr) override;
  bool HasNativePixels() const override { return true; }
  // A one-channel image tinted with the colour: a quarter of the upload of DrawPixels.
  void DrawMask(const void* owner, int slot, const uint8_t* coverage, int w, int h,
                bool columnMajor, const IRECT& bounds, const IColor& color) override;
  // Layers are framebuffers the size of the window, made on first use; composing one is a single
  // GL draw.
  bool BeginLayer(int index) override;
  void EndLayer() override;
  void DrawLayer(int index, const IRECT& bounds) override;

  // Path primitives [ui thread]
  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float a1, float a2,
               EWinding winding = EWinding::CW) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathSetWinding(bool clockwise) override;
  void PathCubicBezierTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override;
  void PathQuadraticBezierTo(float cx, float cy, float x2, float y2) override;
  void PathStroke(const IPattern& pattern, float thickness,
                  const IStrokeOptions& options = IStrokeOptions(),
                  const IBlend* pBlend = nullptr) override;
  void PathFill(const IPattern& pattern, const IFillOptions& options = IFillOptions(),
                const IBlend* pBlend = nullptr) override;

  // Resources [ui thread]
  APIBitmap* LoadAPIBitmap(const char* fileNameOrResID, int scale, EResourceLocation location,
                           const char* ext) override;
  bool LoadAPIFont(const char* fontID, const PlatformFontPtr& font) override;
  float DoMeasureText(const IText& text, const char* str, IRECT& bounds) const override;
  void DoDrawText(const IText& text, const char* str, const IRECT& bounds,
                  const IBlend* pBlend) override;

  // Dotted shapes never emit more pieces than this, whatever the dash length.
  static constexpr int kMaxDashPieces = 4096;

protected:
  void PathTransformSetMatrix(const IMatrix& m) override;
  void SetClipRegion(const IRECT& r) override;

  // The framebuffer the finished frame is copied to: 0 is the window's own;
  // a platform without one (headless) supplies a framebuffer object.
  virtual unsigned GetWindowFramebuffer() const { return 0; }

private:
  void SetCompositeFromBlend(const IBlend* pBlend);
  void ApplyPaint(const IPattern& pattern, const IBlend* pBlend, bool stroke);
  void DeleteMainFramebuffer();
  void DeleteLayers();
  void BeginNanoVGFrame();
  // Sets font, size and alignment for `text`; returns the anchor point.
  void PrepareText(const IText& text, const IRECT& bounds, float& x, float& y) const;

  NVGcontext* mVG = nullptr;
  uint64_t mContextSerial = 0;
  struct PixelImage
  {
    const void* owner = nullptr;
    int slot = 0; // -1: the RGBA pixels of DrawPixels; masks from 0
    int image = 0, w = 0, h = 0;
  };
  // The owner's image for the slot, created or updated with `data`; 0 when none could be made.
  int UpdatePixelImage(const void* owner, int slot, const uint8_t* data, int w, int h);
  // Fills the bounds with the image times `tint` (at `weight`).
  void FillWithImage(int image, bool columnMajor, const IRECT& bounds, const IColor& tint,
                     float weight, const IBlend* pBlend);
  // Few owners (one per picture drawn in software): a short list, searched linearly.
  std::vector<PixelImage> mPixelImages;
  NVGLUframebuffer* mMainFrameBuffer = nullptr;
  std::vector<NVGLUframebuffer*> mLayers; // by number; null until used
  bool mInLayer = false;
  bool mInDraw = false;
};

} // namespace kit::gfx
