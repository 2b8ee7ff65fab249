#include "framework/IEditorDelegate.h"

#include <algorithm>

namespace kit
{

IEditorDelegate::IEditorDelegate(int nParams)
{
  for (int i = 0; i < nParams; ++i)
    mParams.push_back(std::make_unique<IParam>());
}

IEditorDelegate::~IEditorDelegate() = default;

IParam* IEditorDelegate::GetParam(int paramIdx)
{
  return (paramIdx >= 0 && paramIdx < NParams()) ? mParams[static_cast<size_t>(paramIdx)].get()
                                                 : nullptr;
}

const IParam* IEditorDelegate::GetParam(int paramIdx) const
{
  return (paramIdx >= 0 && paramIdx < NParams()) ? mParams[static_cast<size_t>(paramIdx)].get()
                                                 : nullptr;
}

void* IEditorDelegate::OpenWindow(void* /*parent*/)
{
  OnUIOpen();
  return nullptr;
}

void IEditorDelegate::CloseWindow()
{
  OnUIClose();
}

void IEditorDelegate::OnParentWindowResize(int /*width*/, int /*height*/) {}

void IEditorDelegate::OnUIOpen()
{
  SendAllParamValuesToEditor();
}

void IEditorDelegate::OnRestoreState()
{
  SendAllParamValuesToEditor();
}

void IEditorDelegate::SendAllParamValuesToEditor()
{
  for (int i = 0; i < NParams(); ++i)
    SendParameterValueFromDelegate(i, GetParam(i)->GetNormalized(), true);
}

void IEditorDelegate::OnParamChange(int paramIdx, EParamSource source, int /*sampleOffset*/)
{
  Trace("kit::IEditorDelegate::OnParamChange", "idx:%i src:%s\n", paramIdx,
        ParamSourceName(source));
  OnParamChange(paramIdx);
}

void IEditorDelegate::OnAllParamsChanged(EParamSource source)
{
  for (int i = 0; i < NParams(); ++i)
  {
    OnParamChange(i, source, -1);
    OnParamChangeUI(i, source);
  }
}

void IEditorDelegate::SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize,
                                                 const void* data)
{
  OnMessage(msgTag, ctrlTag, dataSize, data);
}

void IEditorDelegate::SendArbitraryMsgFromDelegate(int msgTag, int dataSize, const void* data)
{
  OnMessage(msgTag, -1, dataSize, data);
}

void IEditorDelegate::SendParameterValueFromDelegate(int paramIdx, double /*value*/,
                                                     bool /*normalized*/)
{
  OnParamChangeUI(paramIdx, kDelegate);
}

void IEditorDelegate::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  if (IParam* param = GetParam(paramIdx)) param->SetNormalized(normalizedValue);
  OnParamChangeUI(paramIdx, kUI);
}

void IEditorDelegate::SetEditorSize(int width, int height)
{
  mEditorWidth = width;
  mEditorHeight = height;
}

void IEditorDelegate::SetSizeConstraints(int widthLo, int widthHi, int heightLo, int heightHi)
{
  mMinWidth = std::min(widthLo, widthHi);
  mMaxWidth = std::max(widthLo, widthHi);
  mMinHeight = std::min(heightLo, heightHi);
  mMaxHeight = std::max(heightLo, heightHi);
}

} // namespace kit
