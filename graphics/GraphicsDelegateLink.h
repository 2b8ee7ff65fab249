#pragma once

// The few things the graphics framework asks of the editor delegate and of plug-in parameters,
// gathered in one place so that controls and the graphics context do not depend on the plug-in
// framework's headers. Every function accepts a null delegate: no parameters, any size accepted.
// [ui thread]

#include <string>

namespace kit
{
class IParam;
}

namespace kit::gfx
{

class GraphicsEditorDelegate;
class GraphicsContext;

namespace detail
{

/** Null when the parameter does not exist. */
const IParam* GetDelegateParam(GraphicsEditorDelegate* pDlg, int paramIdx);

void SendParameterValueFromUI(GraphicsEditorDelegate* pDlg, int paramIdx, double normalizedValue);
void BeginInformHostOfParamChangeFromUI(GraphicsEditorDelegate* pDlg, int paramIdx);
void EndInformHostOfParamChangeFromUI(GraphicsEditorDelegate* pDlg, int paramIdx);

/** Asks the host for a new window size (device pixels); returns its answer. */
bool EditorResizeFromUI(GraphicsEditorDelegate* pDlg, int viewWidth, int viewHeight,
                        bool needsPlatformResize);
/** Clamps a requested editor size to the delegate's limits. */
void ConstrainEditorSize(GraphicsEditorDelegate* pDlg, int& w, int& h);
/** Runs the layout function on the graphics context again. */
void LayoutUI(GraphicsEditorDelegate* pDlg, GraphicsContext& graphics);

int ParamDisplayTextCount(const IParam& param);
/** True for enumerations and for booleans with display texts. */
bool ParamPromptsWithMenu(const IParam& param);
/** Display text of integer value `value`; empty when it has none. */
std::string ParamDisplayTextFor(const IParam& param, int value);
std::string ParamCurrentDisplay(const IParam& param);
const char* ParamLabel(const IParam& param);
double ParamToNormalized(const IParam& param, double value);
double ParamDefaultNormalized(const IParam& param);
/** The parsed text, as a normalised value. */
double ParamStringToNormalized(const IParam& param, const char* str);

} // namespace detail
} // namespace kit::gfx
