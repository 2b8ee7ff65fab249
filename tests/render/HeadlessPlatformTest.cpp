// The headless platform: frames driven by the display tick, text in
// registered fonts, SVGs, resizing and the scripted stand-ins for prompts.

#include "RenderFixture.h"

#include "graphics/IPopupMenu.h"
#include "graphics/svg/SVGParser.h"

#include <algorithm>
#include <climits>
#include <string>

namespace trazelle::test
{

namespace
{

class FillControl : public IControl
{
public:
  FillControl(const IRECT& bounds, IColor color) : IControl(bounds), mColor(color) {}
  void Draw(GraphicsContext& g) override
  {
    g.FillRect(mColor, GetRECT());
    ++mDraws;
  }
  void SetColor(IColor c) { mColor = c; }
  int mDraws = 0;

private:
  IColor mColor;
};

class TextControl : public IControl
{
public:
  TextControl(const IRECT& bounds) : IControl(bounds) {}
  void Draw(GraphicsContext&) override {}
  void OnTextEntryCompletion(const char* str, int) override { mText = str; }
  void OnPopupMenuSelection(IPopupMenu* pMenu, int) override
  {
    mChosen = pMenu ? pMenu->GetChosenItemIdx() : -1;
  }
  std::string mText = "unset";
  int mChosen = -2;
};

// Draws `str` on a white frame and returns the ink's bounding box: the pixels
// darker than mid-grey.
IRECT TextInk(RenderTest& t, const IText& text, const char* str, const IRECT& where)
{
  const int w = RenderTest::kWidth, h = RenderTest::kHeight;
  t.Frame(
      [&](GraphicsContext& g)
      {
        g.FillRect(COLOR_WHITE, IRECT(0, 0, float(w), float(h)));
        g.DrawText(text, str, where);
      });
  int l = INT_MAX, top = INT_MAX, r = -1, b = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (t.Px(x, y).R < 128)
      {
        l = std::min(l, x);
        top = std::min(top, y);
        r = std::max(r, x + 1);
        b = std::max(b, y + 1);
      }
  return r < 0 ? IRECT() : IRECT(float(l), float(top), float(r), float(b));
}

} // namespace

using HeadlessPlatform = RenderTest;

TEST_F(HeadlessPlatform, DescribesItself)
{
  EXPECT_STREQ(G().GetDrawingAPIStr(), "NanoVG | GL3");
  EXPECT_STREQ(G().GetPlatformAPIStr(), "headless");
  EXPECT_NE(G().GetWindow(), nullptr);
  EXPECT_NE(G().GetDrawContext(), nullptr);
  EXPECT_TRUE(G().BitmapExtSupported("PNG"));
  EXPECT_TRUE(G().BitmapExtSupported("jpeg"));
  EXPECT_FALSE(G().BitmapExtSupported("gif"));
  G().CloseWindow();
  EXPECT_EQ(G().GetWindow(), nullptr);
}

TEST_F(HeadlessPlatform, TickDrawsOnlyWhatIsDirtyAndKeepsTheRest)
{
  auto* left = new FillControl(IRECT(0, 0, 50, 80), COLOR_RED);
  auto* right = new FillControl(IRECT(50, 0, 100, 80), COLOR_BLUE);
  G().AttachControl(left);
  G().AttachControl(right);
  G().Tick();
  EXPECT_EQ(G().GetFrameCount(), 1);
  Capture();
  EXPECT_EQ(Px(25, 40), COLOR_RED);
  EXPECT_EQ(Px(75, 40), COLOR_BLUE);

  G().Tick(); // nothing dirty: no frame
  EXPECT_EQ(G().GetFrameCount(), 1);

  right->SetColor(COLOR_GREEN);
  right->SetDirty(false);
  const int leftDraws = left->mDraws;
  G().Tick();
  EXPECT_EQ(G().GetFrameCount(), 2);
  Capture();
  EXPECT_EQ(Px(75, 40), COLOR_GREEN);
  EXPECT_EQ(Px(25, 40), COLOR_RED);       // kept from the previous frame
  EXPECT_LE(left->mDraws - leftDraws, 1); // at most its edge strip was redrawn
}

TEST_F(HeadlessPlatform, TextInAnEmbeddedFontLandsWhereAligned)
{
  ASSERT_TRUE(G().LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  const IText text(30.f, COLOR_BLACK, "Roboto-Regular", EAlign::Center, EVAlign::Middle);
  const IRECT box(0, 0, 100, 80);
  const IRECT ink = TextInk(*this, text, "HH", box);
  ASSERT_FALSE(ink.Empty()) << "no text was drawn";
  // Centred: the ink's middle is the box's middle. NanoVG sizes a font by its
  // line height (ascender to descender): Roboto's capitals are 1456 of 2400 units.
  EXPECT_NEAR((ink.L + ink.R) / 2, 50.f, 2.f);
  EXPECT_NEAR((ink.T + ink.B) / 2, 40.f, 4.f);
  EXPECT_NEAR(ink.B - ink.T, 30.f * 1456.f / 2400.f, 2.f);
  IRECT measured = box;
  const float width = G().MeasureText(text, "HH", measured);
  EXPECT_NEAR(width, ink.R - ink.L, 6.f);

  const IText left(30.f, COLOR_BLACK, "Roboto-Regular", EAlign::Near, EVAlign::Top);
  const IRECT inkLeft = TextInk(*this, left, "H", IRECT(10, 10, 90, 70));
  EXPECT_NEAR(inkLeft.L, 12.f, 3.f);
  EXPECT_GT(inkLeft.T, 10.f);
  EXPECT_LT(inkLeft.T, 20.f);
}

TEST_F(HeadlessPlatform, FontFromAFileAndMissingFonts)
{
  G().AddResourceDirectory("/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF");
  EXPECT_TRUE(G().LoadFont("RobotoFromDisk", "Roboto-Regular.ttf"));
  EXPECT_FALSE(G().LoadFont("Nothing", "no-such-font.ttf"));
  // Text in an unknown face draws nothing.
  const IText text(30.f, COLOR_BLACK, "Nothing");
  EXPECT_TRUE(TextInk(*this, text, "HH", IRECT(0, 0, 100, 80)).Empty());
}

TEST_F(HeadlessPlatform, SVGEvenOddHoleStaysUnpainted)
{
  auto image = std::make_shared<svg::Image>();
  ASSERT_TRUE(svg::ParseSVG(R"svg(<svg width="100" height="80">
      <path fill="#ff0000" fill-rule="evenodd" d="M10 10 H90 V70 H10 Z M30 25 H70 V55 H30 Z"/>
    </svg>)svg",
                            "px", 72.f, *image));
  const ISVG svg(std::move(image));
  Frame([&](GraphicsContext& g) { g.DrawSVG(svg, IRECT(0, 0, 100, 80)); });
  EXPECT_EQ(Px(20, 40), COLOR_RED);
  EXPECT_EQ(Px(50, 15), COLOR_RED);
  EXPECT_EQ(Px(50, 40), COLOR_TRANSPARENT);
  EXPECT_EQ(Px(5, 5), COLOR_TRANSPARENT);
}

TEST_F(HeadlessPlatform, EmbeddedLogoDrawsInsideItsRectangle)
{
  const ISVG logo = G().LoadSVG("Quillmarsh_Logo_360x120.svg", "px", 72.f);
  ASSERT_TRUE(logo.IsValid());
  Frame([&](GraphicsContext& g) { g.DrawSVG(logo, IRECT(10, 10, 70, 30)); });
  int inside = 0, outside = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
    {
      const bool painted = Px(x, y).A > 0;
      (x >= 9 && x <= 70 && y >= 9 && y <= 30 ? inside : outside) += painted;
    }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(outside, 0);
}

TEST_F(HeadlessPlatform, ResizeToScaleOneAndAHalfMakesALargerFramebuffer)
{
  G().Resize(kWidth, kHeight, 1.5f);
  EXPECT_EQ(G().WindowWidth(), 150);
  EXPECT_EQ(G().WindowHeight(), 120);
  Frame([](GraphicsContext& g) { g.FillRect(COLOR_RED, IRECT(0, 0, 10, 10)); });
  EXPECT_EQ(Px(14, 14), COLOR_RED); // 10 logical pixels are 15 device pixels
  EXPECT_EQ(Px(16, 16), COLOR_TRANSPARENT);
  EXPECT_EQ(Px(149, 119), COLOR_TRANSPARENT);
  Frame([](GraphicsContext& g) { g.FillRect(COLOR_BLUE, IRECT(90, 70, 100, 80)); });
  EXPECT_EQ(Px(149, 119), COLOR_BLUE); // the whole new surface is drawn to
}

TEST_F(HeadlessPlatform, PopupMenusAreAnsweredByTheStandIn)
{
  auto* control = new TextControl(IRECT(0, 0, 10, 10));
  G().AttachControl(control);
  IPopupMenu menu("", {"one", "two", "three"});
  G().SetPopupMenuAnswer([](const IPopupMenu& m, const IRECT&) { return m.NItems() - 1; });
  G().CreatePopupMenu(*control, menu, IRECT(1, 2, 3, 4));
  EXPECT_EQ(control->mChosen, 2);
  ASSERT_EQ(G().GetPopupMenus().size(), 1u);
  EXPECT_EQ(G().GetPopupMenus()[0].items, (std::vector<std::string>{"one", "two", "three"}));

  G().SetPopupMenuAnswer([](const IPopupMenu&, const IRECT&) { return 7; }); // out of range
  G().CreatePopupMenu(*control, menu, IRECT(1, 2, 3, 4));
  EXPECT_EQ(control->mChosen, -1);
}

TEST_F(HeadlessPlatform, TextEntryCommitsOnTheNextTick)
{
  auto* control = new TextControl(IRECT(0, 0, 10, 10));
  G().AttachControl(control);
  G().SetTextEntryAnswer([](const std::string& initial, const IText&, const IRECT&, int)
                         { return std::optional<std::string>(initial + "!"); });
  G().CreateTextEntry(*control, IText(), IRECT(0, 0, 10, 10), "hello");
  EXPECT_EQ(control->mText, "unset");
  G().Tick();
  EXPECT_EQ(control->mText, "hello!");

  G().SetTextEntryAnswer(nullptr); // cancels
  G().CreateTextEntry(*control, IText(), IRECT(0, 0, 10, 10), "again");
  EXPECT_EQ(G().GetControlInTextEntry(), control);
  G().Tick();
  EXPECT_EQ(control->mText, "hello!");
  EXPECT_EQ(G().GetControlInTextEntry(), nullptr); // a cancelled entry does not linger
  EXPECT_EQ(G().GetTextEntries().size(), 2u);
}

TEST_F(HeadlessPlatform, LinksClipboardAndMessageBoxesStayInMemory)
{
  EXPECT_TRUE(G().OpenURL("https://example.org"));
  G().SetMessageBoxAnswer(EMsgBoxResult::No);
  EXPECT_FALSE(G().OpenURL("https://example.net", "Title", "Open it?"));
  ASSERT_EQ(G().GetOpenedURLs().size(), 1u);
  EXPECT_EQ(G().GetOpenedURLs()[0], "https://example.org");
  ASSERT_EQ(G().GetMessageBoxes().size(), 1u);
  EXPECT_EQ(G().GetMessageBoxes()[0].text, "Open it?");

  std::string text;
  EXPECT_FALSE(G().SetTextInClipboard(""));
  EXPECT_TRUE(G().SetTextInClipboard("copied"));
  EXPECT_TRUE(G().GetTextFromClipboard(text));
  EXPECT_EQ(text, "copied");
}

TEST(HeadlessContexts, TwoEditorsDrawIndependently)
{
  GraphicsHeadless a(nullptr, 20, 20), b(nullptr, 30, 10);
  ASSERT_NE(a.OpenWindow(nullptr), nullptr) << a.GetError();
  ASSERT_NE(b.OpenWindow(nullptr), nullptr) << b.GetError();
  a.AttachControl(new FillControl(IRECT(0, 0, 20, 20), COLOR_RED));
  b.AttachControl(new FillControl(IRECT(0, 0, 30, 10), COLOR_BLUE));
  a.Tick();
  b.Tick();
  EXPECT_EQ(a.ReadPixel(10, 10), COLOR_RED);
  EXPECT_EQ(b.ReadPixel(10, 5), COLOR_BLUE);
  EXPECT_EQ(b.ReadPixels().size(), 30u * 10u * 4u);
}

TEST_F(HeadlessPlatform, AngledTextTurnsAboutItsAnchor)
{
  ASSERT_TRUE(G().LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  const IText upright(24.f, COLOR_BLACK, "Roboto-Regular");
  IText turned = upright;
  turned.mAngle = 90.f;
  const IRECT box(0, 0, 100, 80);
  const IRECT flat = TextInk(*this, upright, "HHHH", box);
  const IRECT standing = TextInk(*this, turned, "HHHH", box);
  ASSERT_FALSE(flat.Empty());
  ASSERT_FALSE(standing.Empty());
  EXPECT_GT(flat.R - flat.L, flat.B - flat.T);
  EXPECT_GT(standing.B - standing.T, standing.R - standing.L); // a quarter turn
  EXPECT_NEAR(standing.B - standing.T, flat.R - flat.L, 2.f);
  // The pivot is the centred anchor, so the text stays centred.
  EXPECT_NEAR((standing.T + standing.B) / 2, 40.f, 2.f);
  EXPECT_NEAR((standing.L + standing.R) / 2, 50.f, 3.f);
  IRECT measured = box;
  G().MeasureText(turned, "HHHH", measured);
  EXPECT_GT(measured.B - measured.T, measured.R - measured.L);
}

} // namespace trazelle::test
