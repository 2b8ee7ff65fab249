#pragma once

// IControl: the base of everything drawn in the editor. A control owns its rectangle, text style,
// blend, value slots (normalised 0-1, each optionally bound to a plug-in parameter), an optional
// action function and animation, and its per-control flags. The graphics context attaches it (sets
// delegate and graphics), owns it from then on, asks it every frame whether it is dirty, calls
// Draw when its area is redrawn and routes input to it. Everything here runs on the UI thread.

#include "graphics/GraphicsInput.h"
#include "graphics/GraphicsStructs.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kit
{
class IParam;
struct IMidiMsg;
} // namespace kit

namespace kit::gfx
{

class IControl;
class GraphicsContext;
class GraphicsEditorDelegate;
class IPopupMenu;

using IActionFunction = std::function<void(IControl*)>;
using IAnimationFunction = std::function<void(IControl*)>;
using IGestureFunc = std::function<void(IControl*, const IGestureInfo&)>;

/** A value-slot index meaning "every slot". */
inline constexpr int kNoValIdx = -1;
/** A parameter index meaning "not bound". */
inline constexpr int kNoParameter = -1;

class IControl
{
public:
  explicit IControl(const IRECT& bounds, IActionFunction actionFunc = nullptr);
  virtual ~IControl() = default;

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // [ui thread] Input. Positions are logical pixels.

  /** Right click on a bound, promptable slot: asks the graphics context for a value prompt. */
  virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
  virtual void OnMouseUp(float /*x*/, float /*y*/, const IMouseMod& /*mod*/) {}
  virtual void OnMouseDrag(float /*x*/, float /*y*/, float /*dX*/, float /*dY*/,
                           const IMouseMod& /*mod*/)
  {
  }
  /** Resets the slot under the pointer (every slot for a multi-slot control) to its default. */
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  /** `d` is in whole wheel steps. */
  virtual void OnMouseWheel(float /*x*/, float /*y*/, const IMouseMod& /*mod*/, float /*d*/) {}
  /** Return true when the key was handled. */
  virtual bool OnKeyDown(float /*x*/, float /*y*/, const IKeyPress& /*key*/) { return false; }
  virtual bool OnKeyUp(float /*x*/, float /*y*/, const IKeyPress& /*key*/) { return false; }
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();
  /** A touch on this control was taken over by the system. */
  virtual void OnTouchCancelled(float /*x*/, float /*y*/, const IMouseMod& /*mod*/) {}
  /** A file was dropped on the control. */
  virtual void OnDrop(const char* /*path*/) {}

  // [ui thread] Lifecycle and messages.

  virtual void OnRescale() {}
  virtual void OnResize() {}
  /** After delegate and graphics are set, before the control is listed. */
  virtual void OnInit() {}
  /** After the control is listed. */
  virtual void OnAttached() {}
  virtual void OnMsgFromDelegate(int /*msgTag*/, int /*dataSize*/, const void* /*pData*/) {}
  /** Only for controls that want MIDI. */
  virtual void OnMidi(const IMidiMsg& /*msg*/) {}
  /** Runs the handler attached for this gesture type; false when there is none. */
  virtual bool OnGesture(const IGestureInfo& info);
  virtual void CreateContextMenu(IPopupMenu& /*contextMenu*/) {}
  /** `pSelectedMenu` is null when the menu was dismissed. */
  virtual void OnPopupMenuSelection(IPopupMenu* pSelectedMenu, int valIdx);
  virtual void OnTextEntryCompletion(const char* /*str*/, int /*valIdx*/) {}
  /** -1 when the context menu was dismissed. */
  virtual void OnContextSelection(int /*itemSelected*/) {}

  // [ui thread] Drawing.

  virtual void Draw(GraphicsContext& g) = 0;
  virtual void DrawHighlight(GraphicsContext& g);

  // [ui thread] Values.

  /** Binds an existing slot to a parameter (kNoParameter unbinds). */
  virtual void SetParamIdx(int paramIdx, int valIdx = 0);
  /** The slot a position addresses: 0 with one slot, otherwise kNoValIdx (all slots). */
  virtual int GetValIdxForPos(float x, float y) const;
  /** A value from the plug-in side; ignored while a pointer holds this control. */
  virtual void SetValueFromDelegate(double value, int valIdx = 0);
  virtual void SetValueFromUserInput(double value, int valIdx = 0);
  virtual void SetValueToDefault(int valIdx = kNoValIdx);
  /** Stores the value as is: no clamping, no notification. */
  virtual void SetValue(double value, int valIdx = 0);

  // [ui thread] Geometry and state.

  /** Moves the top-left corner to (x, y), each raised to at least 0; calls OnResize. */
  virtual void SetPosition(float x, float y);
  virtual void SetSize(float w, float h);
  virtual void Hide(bool hide);
  /** A disabled control draws at a quarter of its alpha. */
  virtual void SetDisabled(bool disable);
  /** Target bounds contain the point; empty target bounds are never hit. */
  virtual bool IsHit(float x, float y) const;
  /** Clamps the addressed values to 0-1 and marks the control dirty; with `triggerAction` also
   *  tells the plug-in about bound parameters, updates other controls bound to them and runs the
   *  action function. */
  virtual void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx);
  virtual void SetClean() { mDirty = false; }
  /** Always dirty while an animation runs. */
  virtual bool IsDirty() { return mAnimationFunc ? true : mDirty; }
  /** Value from a pointer position inside `bounds`, rounded to 0.001 and clamped to [lo, hi]. */
  virtual void SnapToMouse(float x, float y, EDirection direction, const IRECT& bounds,
                           int valIdx = kNoValIdx, double lo = 0., double hi = 1.);
  /** Ends the animation and runs the end-of-animation action. */
  virtual void OnEndAnimation();

  // Accessors. No side effects beyond the field.

  const IRECT& GetRECT() const { return mRECT; }
  void SetRECT(const IRECT& bounds) { mRECT = bounds; }
  const IRECT& GetTargetRECT() const { return mTargetRECT; }
  void SetTargetRECT(const IRECT& bounds) { mTargetRECT = bounds; }
  void SetTargetAndDrawRECTs(const IRECT& bounds) { mRECT = mTargetRECT = bounds; }

  const std::string& GetGroup() const { return mGroup; }
  void SetGroup(const char* group) { mGroup = group ? group : ""; }

  const IText& GetText() const { return mText; }
  void SetText(const IText& text) { mText = text; }
  const IBlend& GetBlend() const { return mBlend; }
  void SetBlend(const IBlend& blend) { mBlend = blend; }

  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }

  bool IsHidden() const { return mHide; }
  bool IsDisabled() const { return mDisabled; }
  bool GetPromptDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  bool GetMouseOverWhenDisabled() const { return mMouseOverWhenDisabled; }
  void SetMouseOverWhenDisabled(bool allow) { mMouseOverWhenDisabled = allow; }
  bool GetMouseEventsWhenDisabled() const { return mMouseEventsWhenDisabled; }
  void SetMouseEventsWhenDisabled(bool allow) { mMouseEventsWhenDisabled = allow; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  /** For a control that redraws most frames: the context keeps the controls under and over it in
   *  off-screen layers, so a frame in which only this control changed draws it between two
   *  stored images instead of redrawing its neighbours. */
  bool IsLayered() const { return mLayered; }
  void SetLayered(bool layered) { mLayered = layered; }
  bool GetWantsMidi() const { return mWantsMidi; }
  void SetWantsMidi(bool wants) { mWantsMidi = wants; }
  bool GetWantsMultiTouch() const { return mWantsMultiTouch; }
  void SetWantsMultiTouch(bool wants) { mWantsMultiTouch = wants; }
  bool GetPromptShowsParamLabel() const { return mPromptShowsParamLabel; }
  void SetPromptShowsParamLabel(bool show) { mPromptShowsParamLabel = show; }
  bool GetMouseIsOver() const { return mMouseIsOver; }
  void SetMouseIsOver(bool over) { mMouseIsOver = over; }

  const std::string& GetTooltip() const { return mTooltip; }
  void SetTooltip(const char* str) { mTooltip = str ? str : ""; }

  const IColor& GetHighlightColor() const { return mHighlightColor; }
  void SetHighlightColor(const IColor& color) { mHighlightColor = color; }
  bool GetHighlighted() const { return mHighlighted; }
  void SetHighlighted(bool highlighted) { mHighlighted = highlighted; }

  /** Set by the graphics context on attach; neither is owned. */
  GraphicsEditorDelegate* GetDelegate() const { return mDelegate; }
  void SetDelegate(GraphicsEditorDelegate* pDelegate) { mDelegate = pDelegate; }
  GraphicsContext* GetUI() const { return mGraphics; }
  void SetGraphics(GraphicsContext* pGraphics) { mGraphics = pGraphics; }

  const IActionFunction& GetActionFunction() const { return mActionFunc; }
  void SetActionFunction(IActionFunction func) { mActionFunc = std::move(func); }
  const IAnimationFunction& GetAnimationFunction() const { return mAnimationFunc; }
  /** While set, the control counts as dirty every frame and the context calls it every tick. */
  void SetAnimation(IAnimationFunction func) { mAnimationFunc = std::move(func); }
  const IActionFunction& GetAnimationEndActionFunction() const { return mAnimationEndActionFunc; }
  void SetAnimationEndActionFunction(IActionFunction func)
  {
    mAnimationEndActionFunc = std::move(func);
  }

  int NVals() const { return static_cast<int>(mVals.size()); }
  /** Adds a value slot; returns its index. */
  int AddValueSlot(int paramIdx = kNoParameter, double value = 0.0);
  /** kNoParameter when unbound or out of range. */
  int GetParamIdx(int valIdx = 0) const;
  bool IsBound(int valIdx = 0) const { return GetParamIdx(valIdx) > kNoParameter; }
  /** The bound parameter, or null when the slot is unbound or the parameter does not exist. */
  const IParam* GetParam(int valIdx = 0) const;
  /** The first slot bound to `paramIdx`, or kNoValIdx. */
  int LinkedToParam(int paramIdx) const;
  /** 0 for an out-of-range slot. */
  double GetValue(int valIdx = 0) const;

  void AttachGestureRecognizer(EGestureType type, IGestureFunc func);
  EGestureType GetLastGesture() const { return mLastGesture; }

protected:
  /** Calls `func` for the addressed slot, or every slot when valIdx < 0. */
  template <typename F>
  void ForValIdx(int valIdx, F func)
  {
    if (valIdx > kNoValIdx)
      func(valIdx);
    else
      for (int i = 0; i < NVals(); ++i)
        func(i);
  }

private:
  struct ValueSlot
  {
    int mParamIdx = kNoParameter;
    double mValue = 0.0;
  };

  IRECT mRECT;
  IRECT mTargetRECT;
  std::string mGroup;
  IText mText;
  IBlend mBlend;
  int mTextEntryLength = 7;
  bool mDirty = true;
  bool mHide = false;
  bool mDisabled = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMouseOverWhenDisabled = false;
  bool mMouseEventsWhenDisabled = false;
  bool mIgnoreMouse = false;
  bool mLayered = false;
  bool mWantsMidi = false;
  bool mWantsMultiTouch = false;
  bool mPromptShowsParamLabel = false;
  bool mMouseIsOver = false;
  std::string mTooltip;
  IColor mHighlightColor = COLOR_RED;
  bool mHighlighted = false;
  GraphicsEditorDelegate* mDelegate = nullptr;
  GraphicsContext* mGraphics = nullptr;
  IActionFunction mActionFunc;
  IActionFunction mAnimationEndActionFunc;
  IAnimationFunction mAnimationFunc;
  std::vector<ValueSlot> mVals{ValueSlot{}};
  std::unordered_map<EGestureType, IGestureFunc> mGestureFuncs;
  EGestureType mLastGesture = EGestureType::Unknown;
};

} // namespace kit::gfx
