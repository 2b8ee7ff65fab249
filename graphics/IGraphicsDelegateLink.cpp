#include "graphics/IGraphicsDelegateLink.h"

// Until the editor delegate is built, controls see no parameters and the delegate accepts every
// size; every parameter path of the framework is then unreachable.

namespace iplug::igraphics::detail
{

const IParam* GetDelegateParam(IGEditorDelegate*, int)
{
  return nullptr;
}
void SendParameterValueFromUI(IGEditorDelegate*, int, double) {}
void BeginInformHostOfParamChangeFromUI(IGEditorDelegate*, int) {}
void EndInformHostOfParamChangeFromUI(IGEditorDelegate*, int) {}
bool EditorResizeFromUI(IGEditorDelegate*, int, int, bool)
{
  return true;
}
void ConstrainEditorSize(IGEditorDelegate*, int&, int&) {}
void LayoutUI(IGEditorDelegate*, IGraphics&) {}
int ParamDisplayTextCount(const IParam&)
{
  return 0;
}
bool ParamPromptsWithMenu(const IParam&)
{
  return false;
}
std::string ParamDisplayTextFor(const IParam&, int)
{
  return {};
}
std::string ParamCurrentDisplay(const IParam&)
{
  return {};
}
const char* ParamLabel(const IParam&)
{
  return "";
}
double ParamToNormalized(const IParam&, double value)
{
  return value;
}
double ParamDefaultNormalized(const IParam&)
{
  return 0.0;
}
double ParamStringToNormalized(const IParam&, const char*)
{
  return 0.0;
}

} // namespace iplug::igraphics::detail
