// The part of the frame cycle that keeps the neighbours of busy controls in off-screen layers.
// A control that changes most frames (an oscilloscope at 60 frames a second) sits on grids and
// labels and under other labels; redrawing all of them with it costs far more draw calls than
// the control itself. When a frame's region lies inside such a control's area, the context draws
// the stored layer of everything under it, the control, and the layer of everything over it.
// A layer is drawn again only after a control in it was dirty, a control moved or hid, the
// control list changed or the back end lost its pixels (resize, rescale).

#include "graphics/GraphicsContext.h"

#include <cmath>
#include <cstring>

namespace kit::gfx
{

void GraphicsContext::InvalidateLayers()
{
  for (ControlLayers& layers : mLayers)
    layers.valid[0] = layers.valid[1] = false;
}

namespace
{

// Where a layered control draws, as a frame's region reaches it: a control's area is its bounds
// grown by 0.75 and widened to device pixels, and platforms widen the regions they repaint to
// whole logical pixels; the layers cover that much, to device pixels again, so such a region still
// lies inside.
IRECT LayerArea(const IControl& control, float scale)
{
  const IRECT device = control.GetRECT().GetGrown(0.75f).GetDeviceAligned(scale);
  return IRECT(std::floor(device.L / scale), std::floor(device.T / scale),
               std::ceil(device.R / scale), std::ceil(device.B / scale))
      .GetPixelAligned(scale);
}

uint64_t Mix(uint64_t hash, uint64_t value)
{
  return (hash ^ value) * 0x100000001b3ull;
}

uint64_t Mix(uint64_t hash, float value)
{
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return Mix(hash, uint64_t{bits});
}

} // namespace

void GraphicsContext::FindLayeredControls()
{
  const float scale = GetBackingPixelScale();
  // A control that moved, changed size or hid left its old place behind in a layer, where being
  // dirty at its new place does not reach.
  uint64_t geometry = 0xcbf29ce484222325ull;
  ForAllControls(
      [&](IControl* pControl)
      {
        const IRECT& r = pControl->GetRECT();
        geometry = Mix(Mix(Mix(Mix(geometry, r.L), r.T), r.R), r.B);
        geometry = Mix(geometry, uint64_t{pControl->IsHidden()});
      });
  if (geometry != mLayerGeometry)
  {
    mLayerGeometry = geometry;
    InvalidateLayers();
  }
  int found = 0;
  for (size_t i = 0; i < mControls.size() && found < kMaxLayeredControls; ++i)
  {
    IControl* pControl = mControls[i].get();
    if (!pControl->IsLayered()) continue;
    ControlLayers& layers = mLayers[found++];
    const IRECT area = LayerArea(*pControl, scale);
    if (layers.owner != pControl || layers.index != i || !(layers.area == area))
      layers = ControlLayers{pControl, i, area};
  }
  for (; found < kMaxLayeredControls; ++found)
    mLayers[found] = ControlLayers{};
}

void GraphicsContext::NoteDirtyForLayers(const IControl* pControl, size_t index)
{
  const float scale = GetBackingPixelScale();
  for (ControlLayers& layers : mLayers)
  {
    if (!layers.owner || layers.owner == pControl) continue;
    if (pControl->GetRECT().GetGrown(0.75f).GetPixelAligned(scale).Intersects(layers.area))
      layers.valid[index < layers.index ? 0 : 1] = false;
  }
}

bool GraphicsContext::DrawNeighbours(const ControlLayers& layers, int which, const IRECT& area)
{
  bool drawn = false;
  const float scale = GetBackingPixelScale();
  IControl* pBackground = GetBackgroundControl();
  size_t index = 0;
  ForAllControls(
      [&](IControl* pControl)
      {
        const bool under = index++ < layers.index;
        if (pControl == layers.owner || under != (which == 0)) return;
        if (pControl->IsHidden() && pControl != pBackground) return;
        if (!pControl->GetRECT().GetGrown(0.75f).GetPixelAligned(scale).Intersects(area)) return;
        DrawOneControl(pControl, area, scale);
        drawn = true;
      });
  return drawn;
}

bool GraphicsContext::BuildLayer(ControlLayers& layers, int which, int number)
{
  if (!BeginLayer(number)) return false;
  layers.drawn[which] = DrawNeighbours(layers, which, layers.area);
  EndLayer();
  layers.valid[which] = true;
  return true;
}

bool GraphicsContext::DrawLayeredIn(const IRECT& r)
{
  FindLayeredControls();
  for (int k = 0; k < kMaxLayeredControls; ++k)
  {
    ControlLayers& layers = mLayers[k];
    if (!layers.owner || layers.owner->IsHidden() || !layers.area.Contains(r)) continue;
    if (!layers.valid[0] && !BuildLayer(layers, 0, 2 * k)) return false;
    if (layers.drawn[0])
    {
      PrepareRegion(r);
      DrawLayer(2 * k, r);
    }
    DrawOneControl(layers.owner, r, GetBackingPixelScale());
    // The layer over the control is drawn after it: what lies over a picture may read the state
    // that drawing it brought up to date. Without a layer they are drawn straight into the frame.
    if (!layers.valid[1] && !BuildLayer(layers, 1, 2 * k + 1))
    {
      DrawNeighbours(layers, 1, r);
      return true;
    }
    if (layers.drawn[1])
    {
      PrepareRegion(r);
      DrawLayer(2 * k + 1, r);
    }
    return true;
  }
  return false;
}

} // namespace kit::gfx
