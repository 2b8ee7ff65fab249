// The plug-in's widgets, grids and lines drawn through the real frame cycle of the headless
// context (NanoVG on Mesa), probed pixel by pixel.

#include "RenderFixture.h"

#include "controls/ButtonControl.h"
#include "controls/KnobControl.h"
#include "controls/SliderControl.h"

namespace trazelle::test
{

namespace
{

using qm::control::ColorSet;
using qm::control::ControlStyle;

/** Opaque and far apart, so a probe can tell which slot painted a pixel. */
ControlStyle ProbeStyle()
{
  ControlStyle style;
  ColorSet colors;
  colors.fill(IColor(255, 128, 128, 128));
  colors[1] = IColor(255, 38, 50, 56);
  colors[2] = IColor(255, 84, 110, 122);
  colors[3] = IColor(255, 207, 216, 220);
  colors[6] = IColor(255, 255, 224, 175);
  colors[7] = IColor(255, 56, 178, 230);
  colors[9] = IColor(255, 225, 244, 251);
  colors[10] = IColor(255, 19, 116, 173);
  style.colors = colors;
  style.showLabel = false;
  style.showValue = false;
  return style;
}

class WidgetRender : public RenderTest
{
public:
  template <class T>
  T* Attach(T* control)
  {
    G().AttachControl(control);
    return control;
  }

  void Show()
  {
    G().Tick();
    Capture();
  }
};

TEST_F(WidgetRender, KnobValueArcIsPaintedInSlotSevenUpToTheValue)
{
  auto* knob = Attach(new qm::control::KnobControl(IRECT(0, 0, 56, 56), nullptr, ProbeStyle(), "",
                                                   225.f, 495.f, 4.0));
  knob->SetValue(0.5); // the arc runs from 225 degrees to 12 o'clock
  Show();
  // The arc band is 5.6 px wide about a radius of 25.2; probe its middle.
  // (12 o'clock itself is under the pointer.)
  const IColor arc = ProbeStyle().Color(7);
  EXPECT_TRUE(Near(Px(10, 10), arc, 8)) << Px(10, 10);           // half past ten
  EXPECT_TRUE(Near(Px(28 - 25, 28), arc, 8)) << Px(28 - 25, 28); // 9 o'clock
  EXPECT_EQ(Px(28 + 25, 28).A, 0) << "3 o'clock is beyond the value";

  knob->SetValue(1.0);
  knob->SetDirty(false);
  Show();
  EXPECT_TRUE(Near(Px(28 + 25, 28), arc, 8)) << Px(28 + 25, 28);
}

TEST_F(WidgetRender, PressedKnobDiscCentreTakesThePressedColour)
{
  auto* knob = Attach(new qm::control::KnobControl(IRECT(0, 0, 56, 56), nullptr, ProbeStyle(), "",
                                                   225.f, 495.f, 4.0));
  Show();
  EXPECT_EQ(Px(28, 28).A, 0) << "an idle disc is only outlined";

  knob->OnMouseDown(28, 28, IMouseMod(true));
  Show();
  EXPECT_TRUE(Near(Px(28, 28), ProbeStyle().Color(10), 12)) << Px(28, 28);
  // Toward the rim the gradient fades to white.
  const IColor rim = Px(28 + 12, 28);
  EXPECT_GT(rim.R, 200) << rim;
}

TEST_F(WidgetRender, ButtonOnStateFillsWithSlotSeven)
{
  auto* button =
      Attach(new qm::control::ButtonControl(IRECT(10, 10, 36, 36), nullptr, "", ProbeStyle()));
  Show();
  EXPECT_EQ(Px(23, 23).A, 0);
  button->SetValue(1.0);
  button->SetDirty(false);
  Show();
  EXPECT_TRUE(Near(Px(23, 23), ProbeStyle().Color(7), 12)) << Px(23, 23);
}

TEST_F(WidgetRender, DisabledSliderShowsAFaintOutlineAndNoFill)
{
  // A black outline on white, so the outline's weight reads directly as darkness. Half-pixel
  // edges let the 1 px outline cover whole pixels at the handle's left tip.
  ControlStyle style = ProbeStyle();
  style.colors[3] = COLOR_BLACK;
  Attach(new FillControl(IRECT(0, 0, 100, 80), COLOR_WHITE));
  auto* slider =
      Attach(new qm::control::SliderControl<1>(IRECT(0.5f, 20, 100.5f, 36), nullptr, style, ""));
  slider->SetHandle(IRECT(0.5f, 20, 30.5f, 36));
  slider->SetValue(0.5); // handle from 35.5 to 65.5
  Show();
  const IColor fill = style.Color(6);
  EXPECT_TRUE(Near(Px(50, 28), fill, 2)) << Px(50, 28);
  EXPECT_LT(Px(35, 27).R, 50) << Px(35, 27);

  slider->SetDisabled(true);
  Show();
  EXPECT_EQ(Px(50, 28), COLOR_WHITE) << "no fill while disabled";
  EXPECT_NEAR(Px(35, 27).R, 191, 16) << "black at a quarter weight over white";
}

} // namespace
} // namespace trazelle::test
