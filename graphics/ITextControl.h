#pragma once

// A text label on a background colour. Ignores the mouse.

#include "graphics/IControl.h"

#include <string>

namespace kit::gfx
{

class ITextControl : public IControl
{
public:
  ITextControl(const IRECT& bounds, const char* str = "", const IText& text = IText(),
               const IColor& bgColor = COLOR_TRANSPARENT);

  void Draw(GraphicsContext& g) override;
  /** With size-to-string set, shrinks or grows the control around its centre to the string. */
  void OnInit() override;

  /** Stores the string and marks the control dirty when it changed. */
  virtual void SetStr(const char* str);
  /** printf-style; keeps at most `maxlen` characters; does not resize the control. */
  virtual void SetStrFmt(int maxlen, const char* fmt, ...);
  virtual void ClearStr() { SetStr(""); }

  const char* GetStr() const { return mStr.c_str(); }
  const IColor& GetBGColor() const { return mBGColor; }
  void SetBGColor(const IColor& color) { mBGColor = color; }
  void SetBoundsBasedOnStr(bool sizeToString) { mSizeToString = sizeToString; }

protected:
  /** Resizes to the measured string, centred on the current bounds. Needs the graphics. */
  void SizeToString();

  std::string mStr;
  IColor mBGColor;
  bool mSizeToString = false;
};

} // namespace kit::gfx
