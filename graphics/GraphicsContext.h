#pragma once

// GraphicsContext: the editor's drawing surface and event hub. It owns the attached controls, turns
// their dirty state into redraw rectangles once per display tick, draws the affected controls, and
// routes pointer, wheel, key, drop, pop-up-menu and text-entry events to the right control.
//
// The class chain is GraphicsContext <- GraphicsPathBase (stock shapes in path primitives) <- a
// back end (NanoVG) <- a platform window. This class declares three families of virtual operations:
// the drawing interface (implemented by GraphicsPathBase and the back end), the back-end
// operations (fonts, bitmaps, text) and the platform operations (window, cursor, clipboard, menus,
// text entry, resources). Everything runs on the UI thread; only the process-wide caches are shared
// between editors and are locked.

#include "graphics/DrawnTooltip.h"
#include "graphics/GraphicsInput.h"
#include "graphics/GraphicsStructs.h"
#include "graphics/IBitmap.h"
#include "graphics/IControl.h"
#include "graphics/IPattern.h"
#include "graphics/IPopupMenu.h"
#include "graphics/IRECTList.h"
#include "graphics/ISVG.h"
#include "graphics/PlatformFont.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kit::gfx
{

class GraphicsEditorDelegate;

enum class EResourceLocation : int
{
  NotFound = 0,
  AbsolutePath,
  WinBinary
};

enum class EMsgBoxType : int
{
  OK = 0,
  OKCancel,
  YesNoCancel,
  YesNo,
  RetryCancel
};

enum class EMsgBoxResult : int
{
  Null = 0,
  OK,
  Cancel,
  Abort,
  Retry,
  Ignore,
  Yes,
  No
};

enum class EFileAction : int
{
  Open = 0,
  Save
};

/** Scale the editor (Scale) or change its size (Size) when the user drags the corner. */
enum class EUIResizerMode : int
{
  Scale = 0,
  Size
};

using IKeyHandlerFunc = std::function<bool(const IKeyPress& key, bool isUp)>;
using IDisplayTickFunc = std::function<void()>;
using IControlFunction = std::function<void(IControl* pControl)>;
using IMsgBoxCompletionHandlerFunc = std::function<void(EMsgBoxResult result)>;
using IColorPickerHandlerFunc = std::function<void(const IColor& color)>;

class GraphicsContext
{
public:
  static constexpr int kDefaultWidth = 832;
  static constexpr int kDefaultHeight = 464;
  static constexpr int kDefaultFPS = 60;

  /** `pDelegate` is not owned. It may be null (tests and tools): then no parameter exists, every
   *  editor size is accepted and nobody is told about resizes. */
  GraphicsContext(GraphicsEditorDelegate* pDelegate, int w = kDefaultWidth, int h = kDefaultHeight,
                  int fps = kDefaultFPS, float scale = 1.f);
  virtual ~GraphicsContext();

  GraphicsContext(const GraphicsContext&) = delete;
  GraphicsContext& operator=(const GraphicsContext&) = delete;

  // ---------------------------------------------------------------------------------------------
  // Frame and surface [ui thread]

  virtual void BeginFrame() {}
  /** The platform has a drawing surface (its GL context is current). */
  virtual void OnViewInitialized(void* /*pContext*/) {}
  virtual void OnViewDestroyed() {}
  virtual void EndFrame() {}

  // ---------------------------------------------------------------------------------------------
  // Drawing interface [ui thread]. Angles in degrees, arcs from 12 o'clock clockwise. A null blend
  // is source-over at weight 1.

  virtual void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* pBlend = nullptr) = 0;
  virtual void DrawRotatedSVG(const ISVG& svg, float destCentreX, float destCentreY, float width,
                              float height, double angle, const IBlend* pBlend = nullptr) = 0;
  virtual void DrawBitmap(const IBitmap& bitmap, const IRECT& bounds, int srcX, int srcY,
                          const IBlend* pBlend = nullptr) = 0;
  virtual void DrawFittedBitmap(const IBitmap& bitmap, const IRECT& bounds,
                                const IBlend* pBlend = nullptr) = 0;
  virtual void DrawRotatedBitmap(const IBitmap& bitmap, float destCentreX, float destCentreY,
                                 double angle, const IBlend* pBlend = nullptr) = 0;
  virtual void DrawPoint(const IColor& color, float x, float y, const IBlend* pBlend = nullptr) = 0;
  virtual void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                        const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                              const IBlend* pBlend = nullptr, float thickness = 1.f,
                              float dashLen = 2.f) = 0;
  virtual void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawRect(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                        float thickness = 1.f) = 0;
  virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR,
                             float cRBR, float cRBL, const IBlend* pBlend = nullptr,
                             float thickness = 1.f) = 0;
  virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                             const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                       const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawCircle(const IColor& color, float cx, float cy, float r,
                          const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawEllipse(const IColor& color, float x, float y, float r1, float r2,
                           float angle = 0.f, const IBlend* pBlend = nullptr,
                           float thickness = 1.f) = 0;
  virtual void DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* pBlend = nullptr,
                           float thickness = 1.f) = 0;
  virtual void DrawConvexPolygon(const IColor& color, const float* x, const float* y, int nPoints,
                                 const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawDottedRect(const IColor& color, const IRECT& bounds,
                              const IBlend* pBlend = nullptr, float thickness = 1.f,
                              float dashLen = 2.f) = 0;
  virtual void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const IBlend* pBlend = nullptr) = 0;
  virtual void FillRect(const IColor& color, const IRECT& bounds,
                        const IBlend* pBlend = nullptr) = 0;
  virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR,
                             float cRBR, float cRBL, const IBlend* pBlend = nullptr) = 0;
  virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                             const IBlend* pBlend = nullptr) = 0;
  virtual void FillCircle(const IColor& color, float cx, float cy, float r,
                          const IBlend* pBlend = nullptr) = 0;
  virtual void FillEllipse(const IColor& color, float x, float y, float r1, float r2,
                           float angle = 0.f, const IBlend* pBlend = nullptr) = 0;
  virtual void FillEllipse(const IColor& color, const IRECT& bounds,
                           const IBlend* pBlend = nullptr) = 0;
  /** A pie slice: centre, arc, back to the centre. */
  virtual void FillArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                       const IBlend* pBlend = nullptr) = 0;
  virtual void FillConvexPolygon(const IColor& color, const float* x, const float* y, int nPoints,
                                 const IBlend* pBlend = nullptr) = 0;
  /** Draws premultiplied RGBA pixels (`w` x `h`; row by row, top row first, or with
   *  `columnMajor` column by column, pixel (x, y) at x * h + y) stretched over `bounds`, without
   *  filtering: sized to the device pixels of `bounds` they land one to one. The back end keeps
   *  each `owner`'s pixels in one image it updates in place, so only the last pixels an owner
   *  gives in a frame show. Back ends without pixel images draw nothing (HasNativePixels). */
  virtual void DrawPixels(const void* /*owner*/, const uint8_t* /*rgba*/, int /*w*/, int /*h*/,
                          bool /*columnMajor*/, const IRECT& /*bounds*/,
                          const IBlend* /*pBlend*/ = nullptr)
  {
  }
  virtual bool HasNativePixels() const { return false; }
  /** As DrawPixels, for a coverage mask (one byte per pixel, 255 fully covered) filled with
   *  `color`; `slot` tells apart the masks of one owner. Where HasNativePixels is false nothing
   *  is drawn. */
  virtual void DrawMask(const void* /*owner*/, int /*slot*/, const uint8_t* /*coverage*/, int /*w*/,
                        int /*h*/, bool /*columnMajor*/, const IRECT& /*bounds*/,
                        const IColor& /*color*/)
  {
  }

  /** Off-screen layers the size of the window, numbered from 0, that keep what controls drew
   *  until the window is resized. BeginLayer sends the drawing to layer `index`, cleared to
   *  transparent, until EndLayer; false (no layers on this back end, or none could be made)
   *  leaves the drawing where it was. DrawLayer composes the layer's pixels within `bounds`, in
   *  the current clip, one to one. [ui thread, between BeginFrame and EndFrame] */
  virtual bool BeginLayer(int /*index*/) { return false; }
  virtual void EndLayer() {}
  virtual void DrawLayer(int /*index*/, const IRECT& /*bounds*/) {}

  /** Lays the string out as DrawText would, replaces `bounds` with the area the text covers and
   *  returns its width. */
  virtual float MeasureText(const IText& text, const char* str, IRECT& bounds);
  /** Pixel read-back; back ends that cannot read pixels return opaque black. */
  virtual IColor GetPoint(int x, int y) = 0;
  virtual void* GetDrawContext() = 0;
  virtual const char* GetDrawingAPIStr() = 0;
  /** Whether the back end decodes bitmaps with this file extension (lower case, no dot). */
  virtual bool BitmapExtSupported(const char* ext) = 0;

  /** Lines every gridW / gridH pixels inside bounds (none in a direction whose size is <= 1). */
  virtual void DrawGrid(const IColor& color, const IRECT& bounds, float gridSizeH, float gridSizeV,
                        const IBlend* pBlend = nullptr) = 0;
  /** Polyline through normalised points; evenly spaced across the width when normXPoints is null.
   */
  virtual void DrawData(const IColor& color, const IRECT& bounds, const float* normYPoints,
                        int nPoints, const float* normXPoints = nullptr,
                        const IBlend* pBlend = nullptr, float thickness = 1.f) = 0;

  /** The platform loads the font's bytes, the back end registers them under `fontID`. */
  virtual bool LoadFont(const char* fontID, const char* fileNameOrResID);

  /** Whether the Path... operations below draw anything. */
  virtual bool HasPathSupport() const { return false; }

  // ---------------------------------------------------------------------------------------------
  // Path primitives and transform [ui thread]. A path is built, then stroked or filled; stroke and
  // fill clear it unless asked to preserve it.

  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  virtual void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) = 0;
  virtual void PathRect(const IRECT& bounds) = 0;
  virtual void PathRoundRect(const IRECT& bounds, float cornerRadius = 0.f) = 0;
  virtual void PathRoundRect(const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                             float cRBL) = 0;
  virtual void PathArc(float cx, float cy, float r, float a1, float a2,
                       EWinding winding = EWinding::CW) = 0;
  virtual void PathCircle(float cx, float cy, float r) = 0;
  virtual void PathEllipse(const IRECT& bounds) = 0;
  virtual void PathEllipse(float x, float y, float r1, float r2, float angle = 0.f) = 0;
  virtual void PathConvexPolygon(const float* x, const float* y, int nPoints) = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  /** Winding of the current sub-path, used by fill rule Preserve. */
  virtual void PathSetWinding(bool clockwise) = 0;
  virtual void PathCubicBezierTo(float c1x, float c1y, float c2x, float c2y, float x2,
                                 float y2) = 0;
  virtual void PathQuadraticBezierTo(float cx, float cy, float x2, float y2) = 0;
  virtual void PathStroke(const IPattern& pattern, float thickness,
                          const IStrokeOptions& options = IStrokeOptions(),
                          const IBlend* pBlend = nullptr) = 0;
  virtual void PathFill(const IPattern& pattern, const IFillOptions& options = IFillOptions(),
                        const IBlend* pBlend = nullptr) = 0;

  /** Moves to the point at `angle` and radius rMin from (cx, cy) and lines to radius rMax. */
  void PathRadialLine(float cx, float cy, float angle, float rMin, float rMax);

  virtual void PathTransformSave() = 0;
  virtual void PathTransformRestore() = 0;
  virtual void PathTransformReset() = 0;
  virtual void PathTransformTranslate(float x, float y) = 0;
  virtual void PathTransformScale(float scale) = 0;
  virtual void PathTransformScale(float x, float y) = 0;
  virtual void PathTransformRotate(float angle) = 0;
  virtual void PathTransformSkew(float xAngle, float yAngle) = 0;
  virtual void PathTransformMatrix(const IMatrix& matrix) = 0;
  /** Restricts drawing to `r` (in the current transform); an empty rectangle lifts the clip. */
  virtual void PathClipRegion(const IRECT& r = IRECT()) = 0;

  /** Called around every control's Draw: reset the transform, clear the path, clip to `r`. */
  virtual void PrepareRegion(const IRECT& r);
  virtual void CompleteRegion(const IRECT& /*r*/) {}

  // ---------------------------------------------------------------------------------------------
  // Platform operations [ui thread]

  virtual void GetMouseLocation(float& x, float& y) const = 0;
  virtual void HideMouseCursor(bool hide = true, bool lock = true) = 0;
  virtual void MoveMouseCursor(float x, float y) = 0;
  /** Returns the previous cursor. */
  virtual ECursor SetMouseCursor(ECursor cursorType = ECursor::ARROW);
  /** Closes a platform text entry that is open, without committing it. */
  virtual void EndPlatformTextEntry() {}
  virtual void* OpenWindow(void* pParent) = 0;
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual bool GetTextFromClipboard(std::string& str) = 0;
  virtual bool SetTextInClipboard(const char* str) = 0;
  virtual EMsgBoxResult
  ShowMessageBox(const char* str, const char* caption, EMsgBoxType type,
                 IMsgBoxCompletionHandlerFunc completionHandler = nullptr) = 0;
  virtual void PromptForFile(std::string& fileName, std::string& path,
                             EFileAction action = EFileAction::Open, const char* ext = "") = 0;
  virtual void PromptForDirectory(std::string& dir) = 0;
  virtual bool PromptForColor(IColor& color, const char* str = "",
                              IColorPickerHandlerFunc func = nullptr) = 0;
  /** Opens a web address in the system browser; null texts mean no title, no confirmation and no
   *  error message. */
  virtual bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) = 0;
  virtual const char* GetPlatformAPIStr() { return ""; }
  virtual bool RevealPathInExplorerOrFinder(std::string& /*path*/, bool /*select*/ = false)
  {
    return false;
  }
  virtual void SetWinModuleHandle(void* pInstance) { mModuleHandle = pInstance; }
  virtual void* GetWinModuleHandle() { return mModuleHandle; }
  virtual void SetPlatformContext(void* pContext) { mPlatformContext = pContext; }
  void* GetPlatformContext() const { return mPlatformContext; }
  /** Locates and reads a font; null when it cannot be found. */
  virtual PlatformFontPtr LoadPlatformFont(const char* fontID, const char* fileNameOrResID) = 0;
  virtual void CachePlatformFont(const char* /*fontID*/, const PlatformFontPtr& /*font*/) {}
  virtual const char* GetBundleID() { return ""; }
  virtual void ActivateGLContext() {}
  virtual void DeactivateGLContext() {}
  /** Shows a native text entry over `bounds`; the result comes back through
   *  SetControlValueAfterTextEdit. */
  virtual void CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                       int length, const char* str) = 0;
  /** Shows `menu`. A synchronous platform returns the menu (or null when dismissed) with isAsync
   *  false; an asynchronous one sets isAsync and later calls SetControlValueAfterPopupMenu. */
  virtual IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                              bool& isAsync) = 0;
  virtual bool PlatformSupportsMultiTouch() const { return false; }
  /** The scale the window's screen asks for (1 when unknown). Windows rounds it to an integer;
   *  X11 answers fractions (1.5 at 144 dpi). */
  virtual float GetPlatformWindowScale() { return 1.f; }
  /** Marks a device-pixel rectangle of the window for repainting. */
  virtual void PlatformInvalidate(const IRECT& /*deviceRect*/) {}
  /** Asks the window to paint what was invalidated now. */
  virtual void PlatformRepaint() {}
  /** The host's idle call (effEditIdle): a window without a tick source of its own handles its
   *  events and runs the display tick here. */
  virtual void PlatformIdle() {}
  /** Resizes the window to the current device size; with `resizeParent` the host window grows or
   *  shrinks by the same difference (the host did not do it itself). */
  virtual void PlatformResize(bool /*resizeParent*/) {}
  /** Re-creates the back end's drawing surface at the current device size. */
  virtual void DrawResize() {}
  /** Reads a resource (module resource or file, located by name and extension); empty when it is
   *  missing. The default reads a file. */
  virtual std::vector<uint8_t> LoadResourceData(const char* fileNameOrResID, const char* ext);
  /** Where a resource lives; `result` receives the path or the resource name. The default checks
   *  for a file. */
  virtual EResourceLocation LocateResource(const char* fileNameOrResID, const char* ext,
                                           std::string& result);

  // ---------------------------------------------------------------------------------------------
  // Resources [ui thread]. Each first looks in the process-wide cache (key: name + "-%.1fx").

  /** `targetScale` 0 means the backing scale. An invalid bitmap (0 x 0) when it cannot be had. */
  virtual IBitmap LoadBitmap(const char* fileNameOrResID, int nStates = 1,
                             bool framesAreHorizontal = false, int targetScale = 0);
  /** An invalid ISVG when the resource is missing or does not parse. */
  virtual ISVG LoadSVG(const char* fileNameOrResID, const char* units = "px", float dpi = 72.f);
  /** Back end: decodes a bitmap; returns null (or a 0 x 0 bitmap) on failure. */
  virtual APIBitmap* LoadAPIBitmap(const char* fileNameOrResID, int scale,
                                   EResourceLocation location, const char* ext) = 0;
  /** Back end: registers a font's bytes under `fontID`; returns whether it is usable. */
  virtual bool LoadAPIFont(const char* fontID, const PlatformFontPtr& font) = 0;
  /** Back end: the text's bounds as it would be drawn into `bounds`; returns the width. */
  virtual float DoMeasureText(const IText& text, const char* str, IRECT& bounds) const = 0;
  virtual void DoDrawText(const IText& text, const char* str, const IRECT& bounds,
                          const IBlend* pBlend) = 0;
  /** Screen scale x draw scale: device pixels per logical pixel. */
  virtual float GetBackingPixelScale() const { return mScreenScale * mDrawScale; }

  /** Draws `str` anchored in `bounds` by the text's alignment; nothing for a null or empty string.
   */
  void DrawText(const IText& text, const char* str, const IRECT& bounds,
                const IBlend* pBlend = nullptr);

  // ---------------------------------------------------------------------------------------------
  // Control list [ui thread]

  /** Takes ownership. When `tag` is already in use the control is not attached: it is deleted and
   *  null is returned. */
  IControl* AttachControl(IControl* pControl, int tag = -1, const char* group = "");
  /** Takes ownership; the background sits at index 0, is drawn even when hidden and is never the
   *  mouse-over target. Replaces an existing background. */
  IControl* AttachBackground(IControl* pControl);
  /** Optional special controls, drawn after the list (all owned). */
  void AttachCornerResizer(IControl* pControl);
  void AttachPerformanceDisplay(IControl* pControl);
  void AttachTextEntryControl(IControl* pControl);
  void AttachPopupMenuControl(IControl* pControl);
  /** A drawn tooltip, for platforms without native ones: fed the pointer by the context. */
  void AttachTooltipControl(DrawnTooltip* pControl);
  DrawnTooltip* GetTooltipControl() const { return mTooltipControl.get(); }
  /** Deletes every attached control. */
  void RemoveAllControls();

  IControl* GetControl(int idx) const;
  IControl* GetControlWithTag(int tag) const;
  IControl* GetBackgroundControl() const { return mHasBackground ? GetControl(0) : nullptr; }
  int NControls() const { return static_cast<int>(mControls.size()); }
  int GetControlIdx(const IControl* pControl) const;

  /** Every listed control in index order, then the performance display, corner resizer, text-entry
   *  and pop-up menu controls when present. */
  void ForAllControlsFunc(const IControlFunction& func) { ForAllControls(func); }
  void ForControlInGroup(const char* group, const IControlFunction& func);
  void SetAllControlsDirty();
  void SetAllControlsClean();

  // ---------------------------------------------------------------------------------------------
  // Size and scale [ui thread]

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  /** Editor size in device pixels: logical size x draw scale (truncated) x screen scale, rounded
   *  to the nearest pixel (exact for integer screen scales). */
  int WindowWidth() const { return WindowPixels(mWidth, mScreenScale); }
  int WindowHeight() const { return WindowPixels(mHeight, mScreenScale); }
  /** A logical length in device pixels at the draw scale and a given screen scale. */
  int WindowPixels(int logical, float screenScale) const
  {
    return static_cast<int>(std::lround(static_cast<int>(logical * mDrawScale) * screenScale));
  }
  int FPS() const { return mFPS; }
  float GetDrawScale() const { return mDrawScale; }
  float GetScreenScale() const { return mScreenScale; }
  IRECT GetBounds() const
  {
    return {0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)};
  }
  void SetDrawScaleLimits(float minScale, float maxScale);
  float GetMinDrawScale() const { return mMinScale; }
  float GetMaxDrawScale() const { return mMaxScale; }

  /** Clamps size to the delegate's editor limits and scale to the draw-scale limits; when anything
   *  changed, tells the delegate and the window and marks every control dirty. */
  void Resize(int w, int h, float scale, bool needsPlatformResize = true);
  /** Adopts a new screen scale (the window moved to another monitor; never below 1). */
  void SetScreenScale(float scale);
  void SetLayoutOnResize(bool layout) { mLayoutOnResize = layout; }
  void SetResizerMode(EUIResizerMode mode) { mResizerMode = mode; }
  EUIResizerMode GetResizerMode() const { return mResizerMode; }
  /** The corner resizer starts and ends a resize drag. */
  void StartResizeGesture() { mResizingInProcess = true; }
  bool GetResizingInProcess() const { return mResizingInProcess; }

  GraphicsEditorDelegate* GetDelegate() const { return mDelegate; }

  // ---------------------------------------------------------------------------------------------
  // Frame cycle [ui thread]

  /** One display tick: screen-scale check, tick function, animations, dirty collection; invalidates
   *  each dirty area (grown by 0.75, in whole device pixels) and asks the window to repaint.
   *  Returns false when nothing was dirty: then nothing was invalidated, so the platform must
   *  neither draw nor present (swap) a frame for this tick. */
  bool OnDisplayTick();
  /** Runs the tick function and the animations, then adds every dirty control's bounds grown by
   *  0.75 to `rects`. Returns whether anything was dirty. */
  bool IsDirty(IRECTList& rects);
  /** Redraws the controls that intersect the given logical rectangles. Returns whether a frame was
   *  drawn (false for an empty list): only then has the platform anything to present. */
  bool Draw(IRECTList& rects);
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }
  void SetDisplayTickFunc(IDisplayTickFunc func) { mDisplayTickFunc = std::move(func); }

  // ---------------------------------------------------------------------------------------------
  // Input [ui thread], called by the window with logical coordinates.

  void OnMouseDown(const IMouseInfoList& points);
  void OnMouseUp(const IMouseInfoList& points);
  void OnMouseDrag(const IMouseInfoList& points);
  void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  void OnMouseOver(float x, float y, const IMouseMod& mod);
  void OnMouseOut();
  /** `delta` is the wheel's raw amount; the control gets whole steps of 120. */
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta);
  bool OnKeyDown(float x, float y, const IKeyPress& key);
  bool OnKeyUp(float x, float y, const IKeyPress& key);
  void OnDrop(const char* path, float x, float y);
  /** Delivers a gesture to the control under it. */
  void OnGestureRecognized(const IGestureInfo& info);

  /** The control input at (x, y) goes to; see the .cpp for the order of precedence. */
  IControl* GetMouseControl(float x, float y, bool capture, bool mouseOver = false,
                            int64_t touchID = 0);
  void ReleaseMouseCapture();
  /** The platform lost the pointer (a button whose release never comes, another window took it):
   *  every captured control gets its release at the last position, then nothing is captured. */
  void EndMouseCapture();
  bool ControlIsCaptured() const { return !mCapturedMap.empty(); }
  bool ControlIsCaptured(const IControl* pControl) const;

  void EnableMouseOver(bool enable) { mEnableMouseOver = enable; }
  bool MouseOverEnabled() const { return mEnableMouseOver; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableMultiTouch(bool enable) { mEnableMultiTouch = enable; }
  bool MultiTouchEnabled() const { return mEnableMultiTouch; }
  IControl* GetMouseOverControl() const { return mMouseOver; }
  int GetMouseOverIdx() const { return mMouseOverIdx; }
  /** Position of the last single-pointer button-down; (-1, -1) before the first. */
  void GetMouseDownPoint(float& x, float& y) const
  {
    x = mMouseDownX;
    y = mMouseDownY;
  }
  void SetKeyHandlerFunc(IKeyHandlerFunc func) { mKeyHandlerFunc = std::move(func); }
  ECursor GetMouseCursor() const { return mCursorType; }
  void SetTabletInput(bool tablet) { mTabletInput = tablet; }
  bool GetTabletInput() const { return mTabletInput; }

  // ---------------------------------------------------------------------------------------------
  // Prompts [ui thread]

  /** A menu for enumerations and labelled booleans, a text entry otherwise. */
  void PromptForParameter(IControl* pControl, int paramIdx, const IRECT& bounds, int valIdx);
  /** Shows `menu` for `pControl`; a new request replaces an outstanding one. */
  void CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRECT& bounds, int valIdx = 0,
                       bool isContext = false);
  void SetControlValueAfterPopupMenu(IPopupMenu* pMenu);
  void CreateTextEntry(IControl& control, const IText& text, const IRECT& bounds,
                       const char* str = "", int valIdx = 0);
  void SetControlValueAfterTextEdit(const char* str);
  /** The control whose text is being edited, or null. */
  IControl* GetControlInTextEntry() const { return mInTextEntry; }
  /** The platform's text entry closed without a value (cancelled): the control keeps its own. */
  void ClearInTextEntryControl()
  {
    mInTextEntry = nullptr;
    mTextEntryValIdx = -1;
  }
  IControl* GetControlInPopupMenu() const { return mInPopupMenu; }
  /** A synchronous platform menu is running its modal loop. */
  bool InModalLoop() const { return mModalDepth > 0; }

protected:
  /** Reads a file from disk; empty when it cannot be read. */
  static std::vector<uint8_t> ReadFile(const std::string& path);
  /** Back end: the layers' pixels are gone (resize, lost surface). */
  void InvalidateLayers();

  GraphicsEditorDelegate* mDelegate;

private:
  /** ForAllControlsFunc without wrapping the callable (the frame cycle must not allocate). An index
   *  loop, because a callable may attach controls while we walk the list. */
  template <typename F>
  void ForAllControls(F&& func)
  {
    for (size_t i = 0; i < mControls.size(); ++i)
      func(mControls[i].get());
    if (mPerfDisplay) func(mPerfDisplay.get());
    if (mCornerResizer) func(mCornerResizer.get());
    if (mTextEntryControl) func(mTextEntryControl.get());
    if (mTooltipControl) func(mTooltipControl.get());
    if (mPopupControl) func(mPopupControl.get());
  }

  void DrawControlsIn(const IRECT& r);
  // Layered controls (IControl::SetLayered): for each, the area it draws in and whether the
  // layers under (0) and over (1) it still hold what the other controls there look like.
  struct ControlLayers
  {
    IControl* owner = nullptr;
    size_t index = 0;
    IRECT area;
    bool valid[2] = {false, false};
    bool drawn[2] = {false, false}; // some control drew into the layer
  };
  static constexpr int kMaxLayeredControls = 2;
  void FindLayeredControls();
  void NoteDirtyForLayers(const IControl* pControl, size_t index);
  bool DrawLayeredIn(const IRECT& r);
  // Draws the controls under (which 0) or over (1) a layered control that reach `area`; returns
  // whether there were any.
  bool DrawNeighbours(const ControlLayers& layers, int which, const IRECT& area);
  bool BuildLayer(ControlLayers& layers, int which, int number);
  ControlLayers mLayers[kMaxLayeredControls];
  uint64_t mLayerGeometry = 0; // where every control is and whether it shows
  void DrawOneControl(IControl* pControl, const IRECT& r, float scale);
  void SetupControl(IControl* pControl);
  void BeginGestures(IControl* pControl);
  void EndGestures(IControl* pControl);
  IControl* FindHitControl(float x, float y, bool mouseOver, int& idx) const;

  std::vector<std::unique_ptr<IControl>> mControls;
  std::unordered_map<int, IControl*> mCtrlTags;
  std::unique_ptr<IControl> mCornerResizer;
  std::unique_ptr<IControl> mPerfDisplay;
  std::unique_ptr<IControl> mTextEntryControl;
  std::unique_ptr<IControl> mPopupControl;
  std::unique_ptr<DrawnTooltip> mTooltipControl;
  bool mHasBackground = false;

  int mWidth;
  int mHeight;
  int mFPS;
  float mDrawScale;
  float mScreenScale = 1.f;
  float mMinScale;
  float mMaxScale;

  std::unordered_map<int64_t, IControl*> mCapturedMap;
  IControl* mMouseOver = nullptr;
  int mMouseOverIdx = -1;
  float mMouseDownX = -1.f;
  float mMouseDownY = -1.f;
  float mMouseX = -1.f;
  float mMouseY = -1.f;

  IControl* mInPopupMenu = nullptr;
  int mModalDepth = 0;
  int mPopupMenuValIdx = -1;
  bool mIsContextMenu = false;
  IPopupMenu mContextMenu;
  IPopupMenu mPromptMenu;
  IControl* mInTextEntry = nullptr;
  int mTextEntryValIdx = -1;

  IKeyHandlerFunc mKeyHandlerFunc;
  IDisplayTickFunc mDisplayTickFunc;

  bool mEnableMouseOver = false;
  bool mStrictDrawing = false;
  bool mLayoutOnResize = false;
  bool mResizingInProcess = false;
  bool mEnableMultiTouch = false;
  bool mEnableTooltips = false;
  bool mCursorHidden = false;
  bool mTabletInput = false;
  EUIResizerMode mResizerMode = EUIResizerMode::Scale;
  ECursor mCursorType = ECursor::ARROW;

  void* mModuleHandle = nullptr;
  void* mPlatformContext = nullptr;
  IRECTList mDirtyRects; // reused every tick
};

} // namespace kit::gfx
