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

TEST_F(PopupFixture, ShowsTheInitialItem)
{
  EXPECT_EQ(popup->GetValueText(), "green");
  EXPECT_EQ(popup->GetMenu().GetChosenItemIdx(), 2);
  EXPECT_TRUE(chosen.empty()) << "construction reports nothing";
}

TEST_F(PopupFixture, ClickOpensItsMenuAndReportsTheChoice)
{
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

TEST_F(PopupFixture, LabelSitsLeftOfTheBoxAndValueInsideIt)
{
  const IRECT& label = popup->GetLabelRect();
  EXPECT_FLOAT_EQ(label.R, 672.f);
  EXPECT_FLOAT_EQ(label.MH(), 376.f);
  EXPECT_EQ(popup->GetValueRect(), IRECT(680, 368, 776, 384));
  EXPECT_FLOAT_EQ(popup->GetRECT().L, label.L);
  EXPECT_FLOAT_EQ(popup->GetRECT().R, 776.f);
}

TEST_F(PopupFixture, DrawsOutlineChevronLabelAndValue)
{
  g.Reset();
  popup->Draw(g);
  EXPECT_EQ(g.Count(Op::Fill), 0);
  ASSERT_EQ(PaintsWith(g, Op::Stroke, TestStyle().Color(2)).size(), 1u);

  const auto texts = Texts(g);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "\xEF\x84\x87");
  EXPECT_EQ(texts[0].args, (std::vector<float>{688, 368, 768, 384}));
  EXPECT_EQ(texts[1].text, "theme");
  EXPECT_EQ(texts[2].text, "green");

  popup->SetMouseIsOver(true);
  g.Reset();
  popup->Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  const Command fill = g.Of(Op::Fill)[0];
  EXPECT_EQ(fill.pattern.mType, EPatternType::Radial);
  EXPECT_EQ(fill.pattern.GetStop(0).mColor, TestStyle().Color(9));
}

} // namespace
} // namespace qm::control::test
