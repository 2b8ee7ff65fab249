#include "framework/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kit
{

void IParam::InitBool(const char* name, bool defaultValue, const char* offText, const char* onText,
                      int flags)
{
  mType = kTypeBool;
  mName = name;
  mLabel.clear();
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mFlags = flags | kFlagStepped;
  mDisplayTexts = {offText, onText};
  mDefault = defaultValue ? 1.0 : 0.0;
  Set(mDefault);
}

void IParam::InitEnum(const char* name, int defaultValue, std::vector<std::string> texts, int flags)
{
  mType = kTypeEnum;
  mName = name;
  mLabel.clear();
  mMin = 0.0;
  mMax = texts.empty() ? 0.0 : static_cast<double>(texts.size() - 1);
  mStep = 1.0;
  mFlags = flags | kFlagStepped;
  mDisplayTexts = std::move(texts);
  mDefault = Constrain(defaultValue);
  Set(mDefault);
}

void IParam::InitInt(const char* name, int defaultValue, int min, int max, const char* label,
                     int flags)
{
  mType = kTypeInt;
  mName = name;
  mLabel = label;
  mMin = std::min(min, max);
  mMax = std::max(min, max);
  mStep = 1.0;
  mFlags = flags | kFlagStepped;
  mDisplayTexts.clear();
  mDefault = Constrain(defaultValue);
  Set(mDefault);
}

void IParam::InitDouble(const char* name, double defaultValue, double min, double max, double step,
                        const char* label, int flags)
{
  mType = kTypeDouble;
  mName = name;
  mLabel = label;
  mMin = std::min(min, max);
  mMax = std::max(min, max);
  mStep = step > 0.0 ? step : 0.0;
  mFlags = flags;
  mDisplayTexts.clear();
  mDefault = Constrain(defaultValue);
  Set(mDefault);
}

double IParam::Constrain(double value) const
{
  if (std::isnan(value)) value = mMin;
  if (GetStepped() && mStep > 0.0) value = mStep * std::round(value / mStep);
  return std::clamp(value, mMin, mMax);
}

double IParam::ToNormalized(double value) const
{
  return std::clamp(ShapeLinear::ValueToNormalized(value, mMin, mMax), 0.0, 1.0);
}

double IParam::FromNormalized(double normalized) const
{
  return ShapeLinear::NormalizedToValue(std::clamp(normalized, 0.0, 1.0), mMin, mMax);
}

const char* IParam::GetDisplayText(int index) const
{
  if (index < 0 || index >= NDisplayTexts()) return "";
  return mDisplayTexts[static_cast<size_t>(index)].c_str();
}

std::string IParam::GetDisplay(double value, bool normalized) const
{
  if (normalized) value = FromNormalized(value);
  if (!mDisplayTexts.empty())
    return GetDisplayText(static_cast<int>(std::lround(Constrain(value) - mMin)));

  char text[64];
  if (mType == kTypeInt || mType == kTypeEnum || mType == kTypeBool)
  {
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(std::lround(value)));
    return text;
  }
  int decimals = 0;
  for (double step = mStep; decimals < 6 && step > 0.0 && step < 1.0 - 1e-9; step *= 10.0)
    ++decimals;
  if (mStep <= 0.0) decimals = 6;
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

double IParam::StringToValue(const char* text) const
{
  if (text == nullptr) return mDefault;
  for (int i = 0; i < NDisplayTexts(); ++i)
  {
    if (mDisplayTexts[static_cast<size_t>(i)] == text) return mMin + i;
  }
  return std::strtod(text, nullptr);
}

} // namespace kit
