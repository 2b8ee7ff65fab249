#pragma once

// A one-line text entry drawn inside the editor, for window systems without
// native edit boxes. The platform attaches one per open editor as the
// graphics context's text-entry control; while it is active the context
// routes every pointer and key event to it.
//
// Editing: typing (filtered by the parameter's kind, as TextEntryAcceptsChar
// says), caret and selection with the arrows, Home and End (Shift extends),
// Backspace and Delete, Ctrl+A, and Ctrl+C / Ctrl+X / Ctrl+V through the
// graphics context's clipboard. Enter commits, Escape or the wheel cancels, a
// click outside the box commits. Like a native box, the answer is delivered on
// the display tick after the request (ProcessRequest), never from inside the
// event that asked for it.

#include "graphics/IControl.h"
#include "graphics/TextEntryRules.h"

#include <string>

namespace kit::gfx
{

class DrawnTextEntry : public IControl
{
public:
  DrawnTextEntry();

  // Starts editing `str` (all of it selected) over `bounds` in `style`:
  // mTextEntryBGColor fills the box, mTextEntryFGColor draws text, caret and
  // frame. `paramType` is a kTextEntryParam* kind; at most `maxLength` code
  // points (0: no limit). [ui thread]
  void Open(const IText& style, const IRECT& bounds, int paramType, int maxLength, const char* str);
  // The keyboard focus left the editor: commit, as a native box does.
  void RequestCommit() { mSession.Request(TextEntryRequest::Commit); }
  // Ends editing without an answer (the window closes).
  void Close();
  bool IsOpen() const { return mSession.IsOpen(); }

  // On the display tick: delivers a pending commit (SetControlValueAfterTextEdit)
  // or cancel (ClearInTextEntryControl) and removes the box. Returns whether
  // anything was delivered. [ui thread]
  bool ProcessRequest();

  const std::string& GetEditText() const { return mText; }
  // Byte offsets into the text: the caret, and the other end of the selection.
  size_t GetCaret() const { return mCaret; }
  size_t GetAnchor() const { return mAnchor; }

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;
  void Draw(GraphicsContext& g) override;
  bool IsHit(float, float) const override { return IsOpen(); }

private:
  bool HasSelection() const { return mCaret != mAnchor; }
  void DeleteSelection();
  void Insert(const std::string& text);
  void MoveCaret(size_t to, bool extend);
  size_t CaretForX(float x);
  float Measure(size_t bytes);
  float Origin();
  float TextX(size_t byteOffset) { return Origin() + Measure(byteOffset); }
  void Changed();

  TextEntrySession mSession;
  IText mStyle;
  IRECT mBox;
  int mParamType = kTextEntryNoParam;
  int mMaxLength = 0;
  std::string mText;
  size_t mCaret = 0;
  size_t mAnchor = 0;
  float mScroll = 0.f; // keeps the caret inside a box narrower than the text
};

} // namespace kit::gfx
