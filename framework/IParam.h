#pragma once

// One host-visible plug-in parameter. The value is stored atomically because
// the audio thread reads it while the UI thread writes it. Normalisation is
// linear over [min, max]; stepped parameters snap to multiples of the step.

#include <atomic>
#include <string>
#include <vector>

namespace kit
{

class IParam
{
public:
  enum EParamType
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  enum EFlags
  {
    kFlagsNone = 0,
    kFlagCannotAutomate = 1 << 0,
    kFlagStepped = 1 << 1,
  };

  // The only shape this framework has: the normalised position is linear in
  // the value.
  struct ShapeLinear
  {
    static double NormalizedToValue(double normalized, double min, double max)
    {
      return min + normalized * (max - min);
    }
    static double ValueToNormalized(double value, double min, double max)
    {
      return max > min ? (value - min) / (max - min) : 0.0;
    }
  };

  IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitBool(const char* name, bool defaultValue, const char* offText = "off",
                const char* onText = "on", int flags = 0);
  void InitEnum(const char* name, int defaultValue, std::vector<std::string> texts, int flags = 0);
  void InitInt(const char* name, int defaultValue, int min, int max, const char* label = "",
               int flags = 0);
  void InitDouble(const char* name, double defaultValue, double min, double max, double step,
                  const char* label = "", int flags = 0);

  EParamType Type() const { return mType; }
  int GetFlags() const { return mFlags; }
  bool GetCanAutomate() const { return !(mFlags & kFlagCannotAutomate); }
  bool GetStepped() const { return mFlags & kFlagStepped; }
  const std::string& GetName() const { return mName; }
  const std::string& GetLabel() const { return mLabel; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetRange() const { return mMax - mMin; }
  double GetStep() const { return mStep; }
  double GetDefault(bool normalized = false) const
  {
    return normalized ? ToNormalized(mDefault) : mDefault;
  }

  double Value() const { return mValue.load(std::memory_order_relaxed); }
  void Set(double value) { mValue.store(Constrain(value), std::memory_order_relaxed); }
  void SetNormalized(double normalized) { Set(FromNormalized(normalized)); }
  double GetNormalized() const { return ToNormalized(Value()); }

  // Snaps to the step when stepped, then clamps to [min, max].
  double Constrain(double value) const;
  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;

  int NDisplayTexts() const { return static_cast<int>(mDisplayTexts.size()); }
  const char* GetDisplayText(int index) const;

  // The text shown for a value: the display text for enumerations and
  // switches, else the number with as many decimals as the step needs.
  std::string GetDisplay(double value, bool normalized = false) const;
  std::string GetDisplay() const { return GetDisplay(Value()); }

  // Parses a display text or a number; the result is not constrained.
  double StringToValue(const char* text) const;

private:
  EParamType mType = kTypeNone;
  int mFlags = 0;
  std::atomic<double> mValue{0.0};
  double mDefault = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  std::string mName;
  std::string mLabel;
  std::vector<std::string> mDisplayTexts;
};

} // namespace kit
