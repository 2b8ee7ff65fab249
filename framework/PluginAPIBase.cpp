#include "framework/PluginAPIBase.h"

namespace kit
{

PluginAPIBase::PluginAPIBase(const Config& config, EAPI plugAPI) : PluginBase(config, plugAPI) {}

PluginAPIBase::~PluginAPIBase()
{
  // Stop the timer before any member it drains goes away.
  mTimer.reset();
}

void PluginAPIBase::SetHost(const char* name, int version)
{
  mHost = IdentifyHost(name);
  mHostVersion = version;
}

void PluginAPIBase::CreateTimer()
{
  mTimer = Timer::Create([this](Timer&) { OnTimer(); }, kTimerIntervalMs);
}

void PluginAPIBase::SendParameterValueFromAPI(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (param == nullptr) return;
  if (normalized) value = param->FromNormalized(value);
  mParamChangeToEditor.Push({paramIdx, value});
}

void PluginAPIBase::InformHostOfAllParams()
{
  for (int i = 0; i < NParams(); ++i)
    InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

void PluginAPIBase::BeginInformHostOfParamChangeFromUI(int paramIdx)
{
  BeginInformHostOfParamChange(paramIdx);
}

void PluginAPIBase::EndInformHostOfParamChangeFromUI(int paramIdx)
{
  EndInformHostOfParamChange(paramIdx);
}

void PluginAPIBase::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (param == nullptr) return;
  param->SetNormalized(normalizedValue);
  InformHostOfParamChange(paramIdx, normalizedValue);
  OnParamChange(paramIdx, kUI, -1);
  // Again: OnParamChange may have moved the value, the editor's choice wins.
  param->SetNormalized(normalizedValue);
  OnParamChangeUI(paramIdx, kUI);
}

bool PluginAPIBase::EditorResizeFromUI(int viewWidth, int viewHeight, bool needsPlatformResize)
{
  if (needsPlatformResize) return EditorResize(viewWidth, viewHeight);
  return true;
}

void PluginAPIBase::SendArbitraryMsgFromUI(int msgTag, int ctrlTag, int dataSize, const void* data)
{
  OnMessage(msgTag, ctrlTag, dataSize, data);
}

void PluginAPIBase::OnTimer()
{
  if (HasUI())
  {
    // Take only what is there now: the audio thread may keep pushing.
    for (size_t n = mParamChangeToEditor.ElementsAvailable(); n > 0; --n)
    {
      ParamTuple change;
      if (!mParamChangeToEditor.Pop(change)) break;
      SendParameterValueFromDelegate(change.idx, change.value, false);
    }
    for (size_t n = mMidiMsgsToEditor.ElementsAvailable(); n > 0; --n)
    {
      IMidiMsg msg;
      if (!mMidiMsgsToEditor.Pop(msg)) break;
      SendMidiMsgFromDelegate(msg);
    }
    for (size_t n = mSysExToEditor.ElementsAvailable(); n > 0; --n)
    {
      SysExData msg;
      if (!mSysExToEditor.Pop(msg)) break;
      SendSysexMsgFromDelegate(msg.View());
    }
  }
  OnIdle();
}

} // namespace kit
