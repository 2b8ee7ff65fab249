#pragma once

// A text link that opens a web address when clicked, drawn with an underline whose colour shows
// mouse-over and clicked state.

#include "graphics/ITextControl.h"

#include <string>

namespace kit::gfx
{

class IURLControl : public ITextControl
{
public:
  IURLControl(const IRECT& bounds, const char* str, const char* url, const IText& text = IText(),
              const IColor& bgColor = COLOR_TRANSPARENT, const IColor& mouseOverColor = COLOR_WHITE,
              const IColor& clickedColor = COLOR_BLUE);

  void Draw(GraphicsContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;

  const char* GetURL() const { return mURLStr.c_str(); }
  bool GetClicked() const { return mClicked; }

protected:
  std::string mURLStr;
  IColor mOriginalColor;
  IColor mMOColor;
  IColor mCLColor;
  bool mClicked = false;
};

} // namespace kit::gfx
