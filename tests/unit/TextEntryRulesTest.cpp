#include "graphics/TextEntryRules.h"

#include <gtest/gtest.h>

using namespace kit::gfx;

TEST(TextEntryClicks, ClickIntoEditorWhileTypingCancels)
{
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Left, true), TextEntryRequest::Cancel);
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Right, true), TextEntryRequest::Cancel);
}

TEST(TextEntryClicks, MiddleClickOrClickWithoutFocusCommits)
{
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Middle, true), TextEntryRequest::Commit);
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Left, false), TextEntryRequest::Commit);
}

TEST(TextEntryCharacters, LetterIsRefusedInNumericEntries)
{
  for (int type :
       {kTextEntryParamBool, kTextEntryParamInt, kTextEntryParamEnum, kTextEntryParamDouble})
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'a')) << "type " << type;
  EXPECT_TRUE(TextEntryAcceptsChar(kTextEntryNoParam, U'a'));
}

TEST(TextEntryCharacters, DigitsSignsAndBackspaceAlwaysPass)
{
  for (int type : {kTextEntryNoParam, kTextEntryParamBool, kTextEntryParamInt, kTextEntryParamEnum,
                   kTextEntryParamDouble})
  {
    for (char32_t ch : {U'0', U'7', U'9', U'+', U'-', U'\b'})
      EXPECT_TRUE(TextEntryAcceptsChar(type, ch)) << "type " << type << " char " << int(ch);
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'\r')) << "Enter must not become a line break";
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'\x1b'));
  }
}

TEST(TextEntrySessionFlow, EscapeThenFocusLossStaysCancelled)
{
  TextEntrySession session;
  session.Begin();
  session.Request(TextEntryKeyRequest(kTextEntryKeyEscape));
  session.Request(TextEntryRequest::Commit); // focus moves away as the box closes
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::Cancel);
}

TEST(TextEntrySessionFlow, FocusLossCommitsOnNextTickThenRepaintsOnce)
{
  TextEntrySession session;
  session.Begin();
  EXPECT_TRUE(session.IsOpen());
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::None) << "typing alone does nothing";
  session.Request(TextEntryRequest::Commit);
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::Commit);
  EXPECT_FALSE(session.IsOpen());
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::None) << "a request is handled once";
  EXPECT_TRUE(session.TakeRedraw());
  EXPECT_FALSE(session.TakeRedraw());
  EXPECT_EQ(session.State(), TextEntryState::Idle);
}
