#include "controls/HidingOverlayControl.h"
#include "WidgetTestSupport.h"
#include "controls/LineControl.h"

#include <gtest/gtest.h>

namespace qm::control::test
{
namespace
{

const IRECT kLogo(734, 13, 800, 35);
const IRECT kAbout(0, 48, 832, 464);

struct OverlayFixture : ::testing::Test
{
  RecordingGraphics g;
  std::vector<IRECT> closedDraws;
  std::vector<IRECT> openDraws;
  HidingOverlayControl* overlay = nullptr;
  IControl* page = nullptr; // list A: shown while closed
  IControl* link = nullptr; // list B: shown while open

  void SetUp() override
  {
    overlay = static_cast<HidingOverlayControl*>(g.AttachControl(new HidingOverlayControl(
        kLogo, kAbout, [this](GraphicsContext&, const IRECT& r) { closedDraws.push_back(r); },
        [this](GraphicsContext&, const IRECT& r) { openDraws.push_back(r); })));
    page = g.AttachControl(new LineControl(0, 176, 832, 176));
    overlay->AddToListA(page);
    link = g.AttachControl(new LineControl(0, 288, 832, 288));
    overlay->AddToListB(link);
  }
};

TEST_F(OverlayFixture, ClickOnTheTriggerOpensAndSwapsTheLists)
{
  EXPECT_FALSE(page->IsHidden());
  EXPECT_TRUE(link->IsHidden());
  g.OnMouseDown(Pointer(750, 20));
  g.OnMouseUp(Pointer(750, 20));
  EXPECT_TRUE(overlay->IsOpen());
  EXPECT_TRUE(page->IsHidden());
  EXPECT_FALSE(link->IsHidden());
  EXPECT_EQ(overlay->GetTargetRECT(), kAbout);
  EXPECT_FALSE(overlay->GetMouseIsOver());

  // The trigger area is no longer the overlay's; a click in the page closes it again.
  g.OnMouseDown(Pointer(400, 100));
  EXPECT_FALSE(overlay->IsOpen());
  EXPECT_FALSE(page->IsHidden());
  EXPECT_TRUE(link->IsHidden());
  EXPECT_EQ(overlay->GetTargetRECT(), kLogo);
}

TEST_F(OverlayFixture, ControlsAddedWhileOpenAreHiddenAtOnce)
{
  overlay->OnMouseDown(750, 20, IMouseMod(true));
  IControl* late = g.AttachControl(new LineControl(0, 10, 10, 10));
  overlay->AddToListA(late);
  EXPECT_TRUE(late->IsHidden());
  IControl* lateLink = g.AttachControl(new LineControl(0, 20, 10, 20));
  overlay->AddToListB(lateLink);
  EXPECT_FALSE(lateLink->IsHidden());
}

} // namespace
} // namespace qm::control::test
