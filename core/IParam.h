#pragma once

#include <atomic>
#include <cstdint>

#include "core/wdl/WDL_TypedBuf.h"

// One automatable parameter: kind, current real value, range, step, response
// curve, display precision, name, unit label and optional display texts.
// No lock of its own: writers hold the plug-in mutex (see IPlugBase).
class IParam
{
public:
  enum EParamKind : int32_t
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4
  };

  static constexpr int kNameSize = 32;
  // Smallest buffer FormatValue may be given.
  static constexpr int kDisplaySize = 32;

  struct DisplayText
  {
    int32_t mValue;
    char mText[kNameSize];
  };

  IParam();
  // Copies take the value as it stands (the atomic member is not copyable).
  IParam(const IParam& other);
  IParam& operator=(const IParam& other);

  // Set-up, once per parameter by the effect's constructor.
  void SetupDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                   const char* label = "");
  void SetupInt(const char* name, int defaultValue, int minValue, int maxValue, const char* label = "");
  void SetupEnum(const char* name, int defaultValue, int count, const char* label = "");
  void SetShapeExponent(double shape);
  void AddDisplayText(int value, const char* text);

  EParamKind Kind() const { return mKind; }
  double CurrentValue() const { return mParamValue.load(std::memory_order_relaxed); }
  const char* Title() const { return mTitle; }
  const char* UnitLabel() const { return mUnit; }
  void Bounds(double* minValue, double* maxValue) const;
  double StepSize() const { return mStepSize; }
  double ShapeExponent() const { return mShapeExp; }
  int Precision() const { return mPrecision; }
  bool IsIntegral() const { return mKind == kTypeBool || mKind == kTypeInt || mKind == kTypeEnum; }

  void SetFromNormalized(double normalized);
  // The value SetFromNormalized would store: stepped for the integral kinds,
  // always inside the range. Lets a control show what the engine will get.
  double SnappedFromNormalized(double normalized) const;
  double NormalizedValue() const;
  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;
  void SetClamped(double value);

  int DisplayTextCount() const;
  // Never null: an empty string when no record has this value.
  const char* DisplayTextFor(int value) const;
  bool ValueForText(const char* text, double* value) const;

  // Writes the display string into text, which must hold kDisplaySize bytes.
  void FormatValue(double value, bool isNormalized, char* text) const;
  double ParseValue(const char* text) const;

private:
  EParamKind mKind;
  // Written with the plug-in mutex held; read without it by the editor,
  // which draws read-outs and positions from it on the UI thread. Relaxed
  // is enough: it is one value with nothing published alongside it, and a
  // change is followed by ShowParamValue, whose dirty flag orders the
  // redraw that reads it.
  std::atomic<double> mParamValue;
  double mLow;
  double mHigh;
  double mStepSize;
  double mShapeExp;
  int mPrecision;
  char mTitle[kNameSize];
  char mUnit[kNameSize];
  WDL_TypedBuf<DisplayText> mValueTexts;
};
