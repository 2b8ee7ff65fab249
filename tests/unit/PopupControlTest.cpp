#include "controls/PopupControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qm::control::test
{
namespace
{

struct PopupFixture : ::testing::Test
{
  RecordingGraphics g;
  std::vector<int> chosen;
  PopupControl* popup = nullptr;

  void SetUp() override
  {
    ControlStyle style = TestStyle();
    style.labelGap = 8.f;
    auto menu = std::make_unique<IPopupMenu>(
        "themes", std::initializer_list<const char*>{"blue", "orange", "green", "pink"});
    popup = static_cast<PopupControl*>(g.AttachControl(new PopupControl(
        IRECT(680, 368, 776, 384), std::move(menu), 2, [this](int i) { chosen.push_back(i); },
        "theme", style)));
    ASSERT_NE(popup, nullptr);
  }
};

TEST_F(PopupFixture, ClickOpensItsMenuAndReportsTheChoice)
{
  EXPECT_EQ(popup->GetValueText(), "green");
  g.popupChoice = 1;
  g.OnMouseDown(Pointer(700, 376));
  EXPECT_EQ(g.lastMenu, &popup->GetMenu());
  EXPECT_EQ(chosen, (std::vector<int>{1}));
  EXPECT_EQ(popup->GetValueText(), "orange");
  EXPECT_FALSE(popup->IsPressed());
  EXPECT_FALSE(popup->GetMouseIsOver());
}

TEST_F(PopupFixture, DismissedMenuChangesNothing)
{
  g.popupChoice = -1;
  popup->SetMouseIsOver(true);
  g.OnMouseDown(Pointer(700, 376));
  EXPECT_EQ(g.lastMenu, &popup->GetMenu());
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(popup->GetValueText(), "green");
  EXPECT_FALSE(popup->GetMouseIsOver());
}

TEST_F(PopupFixture, ChoiceOutsideTheItemsKeepsTheTextButIsStillReported)
{
  popup->GetMenu().SetChosenItemIdx(7);
  popup->OnPopupMenuSelection(&popup->GetMenu(), 0);
  EXPECT_EQ(popup->GetValueText(), "green");
  EXPECT_EQ(chosen, (std::vector<int>{7}));
}

} // namespace
} // namespace qm::control::test
