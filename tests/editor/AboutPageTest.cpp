// The about page: opened by the logo, links clickable only while it shows.

#include "EditorTestSupport.h"

#include "controls/HidingOverlayControl.h"
#include "editor/EditorDrawing.h"
#include "editor/Themes.h"
#include "graphics/IURLControl.h"

using namespace qm;
using namespace qm::test;
using kit::gfx::IColor;

namespace
{

control::HidingOverlayControl* Overlay(render::EditorHarness& h)
{
  for (int i = 0; i < h.UI()->NControls(); ++i)
    if (auto* o = dynamic_cast<control::HidingOverlayControl*>(h.UI()->GetControl(i))) return o;
  return nullptr;
}

std::vector<kit::gfx::IURLControl*> Links(render::EditorHarness& h)
{
  std::vector<kit::gfx::IURLControl*> links;
  for (int i = 0; i < h.UI()->NControls(); ++i)
    if (auto* l = dynamic_cast<kit::gfx::IURLControl*>(h.UI()->GetControl(i))) links.push_back(l);
  return links;
}

} // namespace

TEST_F(EditorTest, LogoOpensTheAboutPageALinkOpensItsAddressAndAClickElsewhereCloses)
{
  auto* overlay = Overlay(*harness);
  ASSERT_NE(overlay, nullptr);
  harness->Click(Where::kLogoX, Where::kLogoY);
  ASSERT_TRUE(overlay->IsOpen());
  for (auto* l : Links(*harness))
    EXPECT_FALSE(l->IsHidden());
  EXPECT_TRUE(harness->Control(Tag::kTagOscilloscope)->IsHidden());
  EXPECT_TRUE(harness->Control(Tag::kTagFreeze)->IsHidden());
  EXPECT_FALSE(harness->Control(Tag::kTagTitleBar)->IsHidden());

  harness->Click(416.f, 393.f); // "buy me a coffee"
  ASSERT_EQ(harness->OpenedURLs().size(), 1u);
  EXPECT_EQ(harness->OpenedURLs()[0], Trazelle::kDonationURL);
  EXPECT_TRUE(overlay->IsOpen());

  harness->Click(416.f, 279.f); // the maker's address
  ASSERT_EQ(harness->OpenedURLs().size(), 2u);
  EXPECT_EQ(harness->OpenedURLs()[1], Trazelle::kMakerURL);

  harness->Click(416.f, 150.f);
  EXPECT_FALSE(overlay->IsOpen());
  for (auto* l : Links(*harness))
    EXPECT_TRUE(l->IsHidden());
  EXPECT_FALSE(harness->Control(Tag::kTagOscilloscope)->IsHidden());
}

TEST_F(EditorTest, AboutPageDrawsItsTextsOnWhiteAndKeepsTheTitleBar)
{
  harness->Click(Where::kLogoX, Where::kLogoY);
  PlayDemo(0.1);
  const auto page = Capture();
  // The scope is covered: only white and dark text remain below the title bar.
  EXPECT_TRUE(Near(page.At(600, 150), IColor(255, 255, 255, 255), 0));
  EXPECT_GT(CountColour(page, 316, 70, 516, 88, IColor(255, 0, 0, 0), 60), 20);      // title line
  EXPECT_GT(CountColour(page, 371, 173, 461, 203, IColor(255, 38, 50, 56), 30), 20); // logo
  EXPECT_GT(CountColour(page, 316, 208, 516, 230, IColor(255, 55, 71, 79), 40), 20); // maker
  EXPECT_GT(CountColour(page, 316, 424, 516, 442, IColor(255, 0, 0, 0), 60), 20);    // hint
  // Title bar and its logo stay.
  EXPECT_TRUE(Near(page.At(0, 40), Trazelle::ThemeColors(0)[6], 2));
  EXPECT_GT(CountColour(page, 734, 13, 800, 35, IColor(255, 38, 50, 56), 30), 30);
}
