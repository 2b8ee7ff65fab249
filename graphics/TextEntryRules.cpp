#include "graphics/TextEntryRules.h"

namespace kit::gfx
{

TextEntryRequest TextEntryKeyRequest(int key)
{
  if (key == kTextEntryKeyReturn) return TextEntryRequest::Commit;
  if (key == kTextEntryKeyEscape) return TextEntryRequest::Cancel;
  return TextEntryRequest::None;
}

TextEntryRequest TextEntryClickRequest(TextEntryClick button, bool entryHasFocus)
{
  const bool cancels = button == TextEntryClick::Left || button == TextEntryClick::Right;
  return cancels && entryHasFocus ? TextEntryRequest::Cancel : TextEntryRequest::Commit;
}

bool TextEntryAcceptsChar(int paramType, char32_t ch)
{
  if (ch == static_cast<char32_t>(kTextEntryKeyBackspace)) return true;
  if (ch == U'\r' || ch == U'\n' || ch == static_cast<char32_t>(kTextEntryKeyEscape)) return false;
  const bool digitOrSign = (ch >= U'0' && ch <= U'9') || ch == U'+' || ch == U'-';
  switch (paramType)
  {
  case kTextEntryNoParam:
    return true;
  case kTextEntryParamBool:
  case kTextEntryParamInt:
  case kTextEntryParamEnum:
    return digitOrSign;
  default:
    return digitOrSign || ch == U'.';
  }
}

void TextEntrySession::Request(TextEntryRequest request)
{
  if (mState != TextEntryState::Editing) return;
  if (request == TextEntryRequest::Commit) mState = TextEntryState::CommitRequested;
  if (request == TextEntryRequest::Cancel) mState = TextEntryState::CancelRequested;
}

TextEntryRequest TextEntrySession::TakeRequest()
{
  TextEntryRequest request = TextEntryRequest::None;
  if (mState == TextEntryState::CommitRequested) request = TextEntryRequest::Commit;
  if (mState == TextEntryState::CancelRequested) request = TextEntryRequest::Cancel;
  if (request != TextEntryRequest::None) mState = TextEntryState::RedrawPending;
  return request;
}

bool TextEntrySession::TakeRedraw()
{
  if (mState != TextEntryState::RedrawPending) return false;
  mState = TextEntryState::Idle;
  return true;
}

} // namespace kit::gfx
