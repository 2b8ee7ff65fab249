#pragma once

#include "controls/ControlStyle.h"
#include "graphics/IControl.h"
#include "graphics/IPattern.h"

#include <functional>
#include <string>

namespace qm::control
{

using kit::gfx::EPatternType;
using kit::gfx::GraphicsContext;
using kit::gfx::IActionFunction;
using kit::gfx::IBlend;
using kit::gfx::IColor;
using kit::gfx::IControl;
using kit::gfx::IFillOptions;
using kit::gfx::IMouseMod;
using kit::gfx::IPattern;
using kit::gfx::IRECT;
using kit::gfx::IStrokeOptions;
using kit::gfx::IText;

/** Base of the plug-in's own controls: a style, a label and a value text on top of IControl.
 *
 * No control of the plug-in is bound to a parameter; every change reaches the editor through the
 * action function. "Widget bounds" are the drawn shape (a knob's square, a meter's bars); the
 * control's bounds grow past them to hold the label and the value text. All members run on the
 * UI thread. */
class ControlBase : public IControl
{
public:
  /** Where PlaceLabel puts the label relative to the widget bounds. */
  enum LabelSide
  {
    kLabelLeft = 0,
    kLabelAbove = 1,
    kLabelBelow = 2,
    kLabelCentred = 4,
  };

  ControlBase(const IRECT& bounds, IActionFunction action, const ControlStyle& style,
              const std::string& label);
  ~ControlBase() override;

  void OnMouseUp(float x, float y, const IMouseMod& mod) override; // [ui thread]

  /** Rebuilds whatever a control derives from its style (gradients, patterns). */
  virtual void OnStyleChanged() {}
  virtual void DrawLabel(GraphicsContext& g);
  virtual void DrawValue(GraphicsContext& g);
  /** Stores the text shown in the value rectangle; the caller marks the control dirty. */
  virtual void SetValueText(const std::string& text);
  virtual void SetStyle(const ControlStyle& style); // [ui thread]
  /** Replaces the thirteen colours only (a theme change). */
  virtual void SetColors(const ColorSet& colors); // [ui thread]

  /** Measures the label, puts it beside the widget bounds and grows the bounds to hold it. */
  void PlaceLabel(GraphicsContext& g, const std::string& label, int side, float gap);

  /** Run by controls that support it (the knob) on an Alt-click, e.g. to restore a default. */
  void SetAltClickFunction(std::function<void()> func) { mAltClickFunc = std::move(func); }

  const ControlStyle& GetStyle() const { return mStyle; }
  const std::string& GetLabel() const { return mLabel; }
  const std::string& GetValueText() const { return mValueText; }
  const IRECT& GetWidgetBounds() const { return mWidgetBounds; }
  const IRECT& GetLabelRect() const { return mLabelRect; }
  const IRECT& GetValueRect() const { return mValueRect; }
  bool IsPressed() const { return mPressed; }

protected:
  /** Sets the control's bounds (not its mouse area) and lets the control re-lay itself out. */
  void SetBoundsKeepTarget(const IRECT& bounds);
  /** The union of widget bounds, label and value rectangles, made the control's bounds. */
  void GrowBoundsToContents();
  /** Puts the label centred below the square widget bounds and the value text below the label,
   * as the round widgets (knob, switch) show them. */
  void PlaceLabelAndValueBelow(GraphicsContext& g);

  /** The radial fill of the round widgets: `inner` at 20 % of the radius fading to white. */
  static IPattern MakeRadialGradient(const IColor& inner, float cx, float cy, float r);
  /** Largest square (side at least 1) centred in `bounds`. */
  static IRECT CentredSquare(const IRECT& bounds);

  IRECT mWidgetBounds;
  IRECT mLabelRect;
  IRECT mValueRect;
  ControlStyle mStyle;
  std::string mLabel;
  std::string mValueText;
  bool mPressed = false;
  std::function<void()> mAltClickFunc;

private:
  /** The control's text style (IControl::GetText), derived from the style's value text and colours,
   *  for prompts drawn by the platform. */
  void PublishPromptText();
};

} // namespace qm::control
