#pragma once

// What the platform's text-entry box does with keys, clicks and focus, kept
// apart from the window system so that the rules can be checked directly.
// The window owns one TextEntrySession per open editor; the native edit box
// reports events to it, and the display tick acts on the pending request.

#include <cstdint>

namespace kit::gfx
{

enum class TextEntryState : int
{
  Idle = 0,
  Editing = 1,
  RedrawPending = 2,
  CancelRequested = 3,
  CommitRequested = 4,
};

enum class TextEntryRequest
{
  None,
  Commit,
  Cancel,
};

enum class TextEntryClick
{
  Left,
  Right,
  Middle,
};

// Key codes as the platform reports them (Windows virtual keys).
inline constexpr int kTextEntryKeyReturn = 0x0D;
inline constexpr int kTextEntryKeyEscape = 0x1B;
inline constexpr int kTextEntryKeyBackspace = 0x08;

// Parameter kinds as IParam stores them; kTextEntryNoParam for a control that
// edits free text.
inline constexpr int kTextEntryNoParam = -1;
inline constexpr int kTextEntryParamBool = 1;
inline constexpr int kTextEntryParamInt = 2;
inline constexpr int kTextEntryParamEnum = 3;
inline constexpr int kTextEntryParamDouble = 4;

// Enter commits, Escape cancels, any other key is left to the edit box.
TextEntryRequest TextEntryKeyRequest(int key);

// A click in the editor while an entry is open: a left or right click while
// the box has the keyboard focus cancels, any other click commits.
TextEntryRequest TextEntryClickRequest(TextEntryClick button, bool entryHasFocus);

// Whether a typed character may go into the box. Whole-number, boolean and
// list parameters take digits and signs, real numbers also a decimal point,
// free text anything; backspace always passes. Line breaks and Escape never
// reach the box: they are commands, and a single-value entry has no lines.
bool TextEntryAcceptsChar(int paramType, char32_t ch);

// The life of one entry: open, a commit or cancel request, its handling on the
// next display tick, one full repaint after the box is gone. The first request
// wins: a focus loss that follows Escape does not turn the cancel into a
// commit. [ui thread]
class TextEntrySession
{
public:
  TextEntryState State() const { return mState; }
  bool IsOpen() const
  {
    return mState == TextEntryState::Editing || mState == TextEntryState::CancelRequested ||
           mState == TextEntryState::CommitRequested;
  }

  void Begin() { mState = TextEntryState::Editing; }
  void Request(TextEntryRequest request);

  // On the display tick: the pending request (None when there is none). A
  // taken request leaves the session waiting for one repaint.
  TextEntryRequest TakeRequest();

  // On the display tick: true once after a request was handled.
  bool TakeRedraw();

  void Reset() { mState = TextEntryState::Idle; }

private:
  TextEntryState mState = TextEntryState::Idle;
};

} // namespace kit::gfx
