#pragma once

// A graphics context for unit tests: records every path primitive, stroke, fill, text draw,
// transform hand-over, clip and window request instead of rendering. Points are recorded after the
// current transform is applied, as a renderer would see them. Platform operations are inert.

#include "graphics/GraphicsPathBase.h"

#include <string>
#include <vector>

namespace kit::gfx::test
{

enum class Op
{
  Clear,
  Close,
  MoveTo,
  LineTo,
  Arc,
  Cubic,
  SetWinding,
  Stroke,
  Fill,
  Text
};

struct Command
{
  Op op = Op::Clear;
  std::vector<float> args; // transformed points; Arc: cx, cy, r, a1, a2 (untransformed) + winding
  IPattern pattern = IPattern(COLOR_BLACK);
  float thickness = 0.f;
  IStrokeOptions strokeOptions;
  IFillOptions fillOptions;
  bool hasBlend = false;
  IBlend blend;
  std::string text;
  IMatrix transform; // the transform in force when the command was issued
};

class RecordingGraphics : public GraphicsPathBase
{
public:
  explicit RecordingGraphics(int w = kDefaultWidth, int h = kDefaultHeight, float scale = 1.f,
                             GraphicsEditorDelegate* pDelegate = nullptr)
      : GraphicsPathBase(pDelegate, w, h, kDefaultFPS, scale)
  {
  }

  std::vector<Command> commands;
  std::vector<IRECT> clips;
  std::vector<IRECT> invalidated;
  int repaints = 0;
  int frames = 0;
  int transformHandOvers = 0;
  float windowScale = 1.f;
  // Pop-up answer: index chosen (-1: dismissed).
  int popupChoice = -1;
  IPopupMenu* lastMenu = nullptr;

  int Count(Op op) const
  {
    int n = 0;
    for (const auto& c : commands)
      n += c.op == op;
    return n;
  }

  std::vector<Command> Of(Op op) const
  {
    std::vector<Command> r;
    for (const auto& c : commands)
      if (c.op == op) r.push_back(c);
    return r;
  }

  void Reset()
  {
    commands.clear();
    clips.clear();
    invalidated.clear();
    repaints = 0;
  }

  // Path primitives
  void PathClear() override { Add(Op::Clear); }
  void PathClose() override { Add(Op::Close); }
  void PathMoveTo(float x, float y) override { AddPoints(Op::MoveTo, {x, y}); }
  void PathLineTo(float x, float y) override { AddPoints(Op::LineTo, {x, y}); }
  void PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding) override
  {
    Command& c = Add(Op::Arc);
    c.args = {cx, cy, r, a1, a2, static_cast<float>(winding)};
  }
  void PathSetWinding(bool clockwise) override
  {
    Add(Op::SetWinding).args = {clockwise ? 1.f : 0.f};
  }
  void PathCubicBezierTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override
  {
    AddPoints(Op::Cubic, {c1x, c1y, c2x, c2y, x, y});
  }
  void PathQuadraticBezierTo(float cx, float cy, float x, float y) override
  {
    float c1x, c1y, c2x, c2y;
    QuadraticToCubic(mLastX, mLastY, cx, cy, x, y, c1x, c1y, c2x, c2y);
    PathCubicBezierTo(c1x, c1y, c2x, c2y, x, y);
  }
  void PathStroke(const IPattern& pattern, float thickness, const IStrokeOptions& options,
                  const IBlend* pBlend) override
  {
    Command& c = Add(Op::Stroke);
    c.pattern = pattern;
    c.thickness = thickness;
    c.strokeOptions = options;
    SetBlend(c, pBlend);
  }
  void PathFill(const IPattern& pattern, const IFillOptions& options, const IBlend* pBlend) override
  {
    Command& c = Add(Op::Fill);
    c.pattern = pattern;
    c.fillOptions = options;
    SetBlend(c, pBlend);
  }

  // Back end
  void DrawBitmap(const IBitmap&, const IRECT&, int, int, const IBlend*) override {}
  IColor GetPoint(int, int) override { return COLOR_BLACK; }
  void* GetDrawContext() override { return nullptr; }
  const char* GetDrawingAPIStr() override { return "Recording"; }
  bool BitmapExtSupported(const char*) override { return false; }
  APIBitmap* LoadAPIBitmap(const char*, int, EResourceLocation, const char*) override
  {
    return nullptr;
  }
  bool LoadAPIFont(const char*, const PlatformFontPtr&) override { return true; }
  float DoMeasureText(const IText& text, const char* str, IRECT& bounds) const override
  {
    // Every glyph is 0.5 x size wide, lines are `size` high.
    const float w = text.mSize * 0.5f * static_cast<float>(std::string(str).size());
    const float h = text.mSize;
    float x = bounds.L;
    if (text.mAlign == EAlign::Center) x = bounds.MW() - w * 0.5f;
    if (text.mAlign == EAlign::Far) x = bounds.R - w;
    float y = bounds.T;
    if (text.mVAlign == EVAlign::Middle) y = bounds.MH() - h * 0.5f;
    if (text.mVAlign == EVAlign::Bottom) y = bounds.B - h;
    bounds = IRECT(x, y, x + w, y + h);
    return w;
  }
  void DoDrawText(const IText& text, const char* str, const IRECT& bounds,
                  const IBlend* pBlend) override
  {
    Command& c = Add(Op::Text);
    c.text = str;
    c.args = {bounds.L, bounds.T, bounds.R, bounds.B};
    c.pattern = IPattern(text.mFGColor);
    SetBlend(c, pBlend);
  }
  void PathTransformSetMatrix(const IMatrix&) override { ++transformHandOvers; }
  void SetClipRegion(const IRECT& r) override { clips.push_back(r); }
  void BeginFrame() override { ++frames; }

  // Platform
  void GetMouseLocation(float& x, float& y) const override { x = y = 0.f; }
  void HideMouseCursor(bool, bool) override {}
  void MoveMouseCursor(float, float) override {}
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindow() override { return nullptr; }
  bool GetTextFromClipboard(std::string&) override { return false; }
  bool SetTextInClipboard(const char*) override { return false; }
  EMsgBoxResult ShowMessageBox(const char*, const char*, EMsgBoxType,
                               IMsgBoxCompletionHandlerFunc) override
  {
    return EMsgBoxResult::OK;
  }
  void PromptForFile(std::string&, std::string&, EFileAction, const char*) override {}
  void PromptForDirectory(std::string&) override {}
  bool PromptForColor(IColor&, const char*, IColorPickerHandlerFunc) override { return false; }
  bool OpenURL(const char*, const char*, const char*, const char*) override { return true; }
  PlatformFontPtr LoadPlatformFont(const char*, const char*) override { return nullptr; }
  void CreatePlatformTextEntry(int, const IText&, const IRECT&, int, const char*) override {}
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT&, bool& isAsync) override
  {
    isAsync = false;
    lastMenu = &menu;
    if (popupChoice < 0) return nullptr;
    menu.SetChosenItemIdx(popupChoice);
    return &menu;
  }
  float GetPlatformWindowScale() override { return windowScale; }
  void PlatformInvalidate(const IRECT& r) override { invalidated.push_back(r); }
  void PlatformRepaint() override { ++repaints; }

private:
  Command& Add(Op op)
  {
    Command& c = commands.emplace_back();
    c.op = op;
    c.transform = GetTransform();
    return c;
  }

  void AddPoints(Op op, std::vector<float> pts)
  {
    // The quadratic conversion works in user space, so remember the untransformed end point.
    mLastX = pts[pts.size() - 2];
    mLastY = pts[pts.size() - 1];
    const IMatrix& m = GetTransform();
    for (size_t i = 0; i + 1 < pts.size(); i += 2)
    {
      double x = pts[i], y = pts[i + 1];
      m.TransformPoint(x, y);
      pts[i] = static_cast<float>(x);
      pts[i + 1] = static_cast<float>(y);
    }
    Add(op).args = std::move(pts);
  }

  static void SetBlend(Command& c, const IBlend* pBlend)
  {
    c.hasBlend = pBlend != nullptr;
    if (pBlend) c.blend = *pBlend;
  }

  float mLastX = 0.f;
  float mLastY = 0.f;
};

} // namespace kit::gfx::test
