#pragma once

// Where the editor's controls go. Everything is derived from the window's
// logical size with the arithmetic the layout has always used (single
// precision, with the panel offsets added in double), so the rectangles come
// out identical on every platform and at every zoom factor.

#include "graphics/GraphicsStructs.h"

namespace qm::Trazelle
{

struct EditorLayout
{
  using IRECT = kit::gfx::IRECT;

  IRECT bounds;         // the whole window
  IRECT titleBar;       // top 48 pixels
  IRECT logo;           // 66 x 22 at the title bar's right end
  IRECT aboutArea;      // everything below the title bar
  IRECT scope;          // 832 x 256 under the title bar
  IRECT upperHalf;      // upper level grid
  IRECT lowerHalf;      // lower level grid
  float zeroLineY;      // the scope's vertical middle
  IRECT legend;         // channel legend box
  IRECT legendRows[2];  // "left" and "right" rows inside it
  IRECT positionSlider; // strip under the scope
  IRECT positionHandle; // initial handle: 0.2 of the track
  IRECT panel;          // control panel, snapped to multiples of 16
  IRECT meter;
  IRECT freezeButton;
  IRECT channelSwitch;
  IRECT zoomKnob;
  IRECT durationKnob;
  IRECT modeSwitch;
  IRECT syncSwitch; // the mode switch's disc, in the gap before the menus' labels
  IRECT themeMenu;
  IRECT scaleMenu;
  IRECT inputHeading;
  IRECT scopeHeading;
  IRECT graphicsHeading;
  IRECT makerLink;
  IRECT donationLink;

  static EditorLayout Make(float width, float height);
};

} // namespace qm::Trazelle
