#include "graphics/GraphicsDelegateLink.h"

#include "framework/GraphicsEditorDelegate.h"
#include "framework/IParam.h"

#include <algorithm>

namespace kit::gfx::detail
{

const IParam* GetDelegateParam(GraphicsEditorDelegate* pDlg, int paramIdx)
{
  return pDlg ? pDlg->GetParam(paramIdx) : nullptr;
}

void SendParameterValueFromUI(GraphicsEditorDelegate* pDlg, int paramIdx, double normalizedValue)
{
  if (pDlg) pDlg->SendParameterValueFromUI(paramIdx, normalizedValue);
}

void BeginInformHostOfParamChangeFromUI(GraphicsEditorDelegate* pDlg, int paramIdx)
{
  if (pDlg) pDlg->BeginInformHostOfParamChangeFromUI(paramIdx);
}

void EndInformHostOfParamChangeFromUI(GraphicsEditorDelegate* pDlg, int paramIdx)
{
  if (pDlg) pDlg->EndInformHostOfParamChangeFromUI(paramIdx);
}

bool EditorResizeFromUI(GraphicsEditorDelegate* pDlg, int viewWidth, int viewHeight,
                        bool needsPlatformResize)
{
  return pDlg ? pDlg->EditorResizeFromUI(viewWidth, viewHeight, needsPlatformResize) : true;
}

void ConstrainEditorSize(GraphicsEditorDelegate* pDlg, int& w, int& h)
{
  if (!pDlg) return;
  // A delegate configured without limits accepts any size.
  if (pDlg->GetMaxWidth() > 0) w = std::clamp(w, pDlg->GetMinWidth(), pDlg->GetMaxWidth());
  if (pDlg->GetMaxHeight() > 0) h = std::clamp(h, pDlg->GetMinHeight(), pDlg->GetMaxHeight());
}

void LayoutUI(GraphicsEditorDelegate* pDlg, GraphicsContext& graphics)
{
  if (pDlg) pDlg->LayoutUI(&graphics);
}

int ParamDisplayTextCount(const IParam& param)
{
  return param.NDisplayTexts();
}

bool ParamPromptsWithMenu(const IParam& param)
{
  return param.Type() == IParam::kTypeEnum ||
         (param.Type() == IParam::kTypeBool && param.NDisplayTexts() > 0);
}

std::string ParamDisplayTextFor(const IParam& param, int value)
{
  return param.GetDisplayText(value);
}

std::string ParamCurrentDisplay(const IParam& param)
{
  return param.GetDisplay();
}

const char* ParamLabel(const IParam& param)
{
  return param.GetLabel().c_str();
}

double ParamToNormalized(const IParam& param, double value)
{
  return param.ToNormalized(value);
}

double ParamDefaultNormalized(const IParam& param)
{
  return param.GetDefault(true);
}

double ParamStringToNormalized(const IParam& param, const char* str)
{
  return param.ToNormalized(param.StringToValue(str));
}

} // namespace kit::gfx::detail
