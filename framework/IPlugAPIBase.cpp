#include "framework/IPlugAPIBase.h"

namespace iplug
{

IPlugAPIBase::IPlugAPIBase(const Config& config, EAPI plugAPI) : IPluginBase(config, plugAPI) {}

IPlugAPIBase::~IPlugAPIBase()
{
  // Stop the timer before any member it drains goes away.
  mTimer.reset();
}

void IPlugAPIBase::SetHost(const char* name, int version)
{
  mHost = IdentifyHost(name);
  mHostVersion = version;
}

void IPlugAPIBase::CreateTimer()
{
  mTimer = Timer::Create([this](Timer&) { OnTimer(); }, kTimerIntervalMs);
}

void IPlugAPIBase::SendParameterValueFromAPI(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (param == nullptr) return;
  if (normalized) value = param->FromNormalized(value);
  mParamChangeToEditor.Push({paramIdx, value});
}

void IPlugAPIBase::InformHostOfAllParams()
{
  for (int i = 0; i < NParams(); ++i)
    InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

void IPlugAPIBase::BeginInformHostOfParamChangeFromUI(int paramIdx)
{
  BeginInformHostOfParamChange(paramIdx);
}

void IPlugAPIBase::EndInformHostOfParamChangeFromUI(int paramIdx)
{
  EndInformHostOfParamChange(paramIdx);
}

void IPlugAPIBase::SendParameterValueFromUI(int paramIdx, double normalizedValue)
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

bool IPlugAPIBase::EditorResizeFromUI(int viewWidth, int viewHeight, bool needsPlatformResize)
{
  if (needsPlatformResize) return EditorResize(viewWidth, viewHeight);
  return true;
}

void IPlugAPIBase::SendArbitraryMsgFromUI(int msgTag, int ctrlTag, int dataSize, const void* data)
{
  OnMessage(msgTag, ctrlTag, dataSize, data);
}

void IPlugAPIBase::OnTimer()
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

} // namespace iplug
