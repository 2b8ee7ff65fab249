#include "framework/GraphicsEditorDelegate.h"

#include "framework/IByteChunk.h"
#include "graphics/GraphicsContext.h"
#include "graphics/IControl.h"

#include <cmath>
#include <cstdint>

namespace kit::gfx
{

GraphicsEditorDelegate::GraphicsEditorDelegate(int nParams) : IEditorDelegate(nParams) {}

GraphicsEditorDelegate::~GraphicsEditorDelegate() = default;

void* GraphicsEditorDelegate::OpenWindow(void* parent)
{
  // Hosts may open again without a close to show the window anew. Laying out again into the open
  // context would double its controls: the editor is rebuilt from scratch instead.
  if (mGraphics) CloseWindow();
  // An editor inside its menu's modal loop cannot be replaced before the loop returns.
  if (mCloseDeferred) return nullptr;
  mGraphics = CreateGraphics();
  if (mGraphics && mLastWidth != 0 && mLastHeight != 0 && mLastScale != 0.f)
    mGraphics->Resize(mLastWidth, mLastHeight, mLastScale, false);
  // The context opens its window, lays the editor out and then calls OnUIOpen.
  return mGraphics ? mGraphics->OpenWindow(parent) : nullptr;
}

void GraphicsEditorDelegate::CloseWindow()
{
  if (mClosing) return;
  // The window, the context and the menu are on the stack below a modal loop: freeing them now
  // would pull them from under it.
  if (mGraphics && mGraphics->InModalLoop())
  {
    mCloseDeferred = true;
    return;
  }
  mCloseDeferred = false;
  mClosing = true;
  OnUIClose();
  if (mGraphics)
  {
    mLastWidth = mGraphics->Width();
    mLastHeight = mGraphics->Height();
    mLastScale = mGraphics->GetDrawScale();
    mGraphics->CloseWindow();
    mGraphics.reset();
  }
  mClosing = false;
}

bool GraphicsEditorDelegate::OnKeyDown(const IKeyPress& key)
{
  if (!mGraphics) return false;
  float x = 0.f;
  float y = 0.f;
  mGraphics->GetMouseLocation(x, y);
  return mGraphics->OnKeyDown(x, y, key);
}

bool GraphicsEditorDelegate::OnKeyUp(const IKeyPress& key)
{
  if (!mGraphics) return false;
  float x = 0.f;
  float y = 0.f;
  mGraphics->GetMouseLocation(x, y);
  return mGraphics->OnKeyUp(x, y, key);
}

void GraphicsEditorDelegate::SendControlValueFromDelegate(int ctrlTag, double normalizedValue)
{
  if (!mGraphics) return;
  if (IControl* control = mGraphics->GetControlWithTag(ctrlTag))
    control->SetValueFromDelegate(normalizedValue, 0);
}

void GraphicsEditorDelegate::SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize,
                                                        const void* data)
{
  if (!mGraphics) return;
  if (IControl* control = mGraphics->GetControlWithTag(ctrlTag))
    control->OnMsgFromDelegate(msgTag, dataSize, data);
}

void GraphicsEditorDelegate::SendMidiMsgFromDelegate(const IMidiMsg& msg)
{
  if (mGraphics)
  {
    mGraphics->ForAllControlsFunc(
        [&msg](IControl* control)
        {
          if (control->GetWantsMidi()) control->OnMidi(msg);
        });
  }
  IEditorDelegate::SendMidiMsgFromDelegate(msg);
}

void GraphicsEditorDelegate::SendParameterValueFromDelegate(int paramIdx, double value,
                                                            bool normalized)
{
  if (mGraphics)
  {
    if (!normalized)
    {
      if (const IParam* param = GetParam(paramIdx)) value = param->ToNormalized(value);
    }
    for (int c = 0; c < mGraphics->NControls(); ++c)
    {
      IControl* control = mGraphics->GetControl(c);
      for (int v = 0; v < control->NVals(); ++v)
      {
        if (control->GetParamIdx(v) == paramIdx) control->SetValueFromDelegate(value, v);
      }
    }
  }
  OnParamChangeUI(paramIdx, kDelegate);
}

bool GraphicsEditorDelegate::SerializeEditorState(IByteChunk& chunk) const
{
  const std::int32_t width = mGraphics ? mGraphics->Width() : mLastWidth;
  const std::int32_t height = mGraphics ? mGraphics->Height() : mLastHeight;
  const float scale = mGraphics ? mGraphics->GetDrawScale() : mLastScale;
  chunk.Put(width);
  chunk.Put(height);
  chunk.Put(scale);
  return true;
}

int GraphicsEditorDelegate::UnserializeEditorState(const IByteChunk& chunk, int startPos)
{
  std::int32_t width = 0;
  std::int32_t height = 0;
  float scale = 0.f;
  int pos = chunk.Get(width, startPos);
  if (pos < 0) width = 0;
  pos = chunk.Get(height, pos);
  if (pos < 0) height = 0;
  pos = chunk.Get(scale, pos);
  if (pos < 0) scale = 0.f;

  if (!mGraphics)
  {
    mLastWidth = width;
    mLastHeight = height;
    mLastScale = scale;
  }
  else if (width != 0 && height != 0 && scale != 0.f)
  {
    mGraphics->Resize(width, height, scale, true);
  }
  return pos;
}

void GraphicsEditorDelegate::SetScreenScale(float scale)
{
  if (mGraphics) mGraphics->SetScreenScale(static_cast<int>(std::lround(scale)));
}

std::unique_ptr<GraphicsContext> GraphicsEditorDelegate::CreateGraphics()
{
  return mMakeGraphicsFunc ? mMakeGraphicsFunc() : nullptr;
}

void GraphicsEditorDelegate::LayoutUI(GraphicsContext* graphics)
{
  if (mLayoutFunc) mLayoutFunc(graphics);
}

} // namespace kit::gfx
