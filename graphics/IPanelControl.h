#pragma once

// A filled background panel, optionally framed.

#include "graphics/IControl.h"
#include "graphics/IPattern.h"

namespace kit::gfx
{

class IPanelControl : public IControl
{
public:
  IPanelControl(const IRECT& bounds, const IPattern& pattern, bool drawFrame = false);

  void Draw(GraphicsContext& g) override;

  const IPattern& GetPattern() const { return mPattern; }
  void SetPattern(const IPattern& pattern)
  {
    mPattern = pattern;
    SetDirty(false);
  }

private:
  IPattern mPattern;
  bool mDrawFrame;
};

} // namespace kit::gfx
