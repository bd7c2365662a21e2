#include "core/IParam.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/NumericConversions.h"

IParam::IParam()
    : mKind(kTypeNone),
      mParamValue(0.0),
      mLow(0.0),
      mHigh(1.0),
      mStepSize(1.0),
      mShapeExp(1.0),
      mPrecision(0),
      mTitle{},
      mUnit{},
      mValueTexts(4096)
{
}

IParam::IParam(const IParam& other)
    : mKind(other.mKind),
      mParamValue(other.CurrentValue()),
      mLow(other.mLow),
      mHigh(other.mHigh),
      mStepSize(other.mStepSize),
      mShapeExp(other.mShapeExp),
      mPrecision(other.mPrecision),
      mValueTexts(other.mValueTexts)
{
  std::memcpy(mTitle, other.mTitle, sizeof mTitle);
  std::memcpy(mUnit, other.mUnit, sizeof mUnit);
}

IParam& IParam::operator=(const IParam& other)
{
  if (this == &other) return *this;
  mKind = other.mKind;
  mParamValue.store(other.CurrentValue(), std::memory_order_relaxed);
  mLow = other.mLow;
  mHigh = other.mHigh;
  mStepSize = other.mStepSize;
  mShapeExp = other.mShapeExp;
  mPrecision = other.mPrecision;
  std::memcpy(mTitle, other.mTitle, sizeof mTitle);
  std::memcpy(mUnit, other.mUnit, sizeof mUnit);
  mValueTexts = other.mValueTexts;
  return *this;
}

void IParam::SetupDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                         const char* label)
{
  if (mKind == kTypeNone) mKind = kTypeDouble;
  CopyBounded(mTitle, name);
  CopyBounded(mUnit, label);
  mParamValue.store(defaultValue, std::memory_order_relaxed);
  mLow = minValue;
  // The range spans at least one step, so normalising never divides by 0.
  mHigh = (maxValue > minValue + step) ? maxValue : minValue + step;
  mStepSize = step;

  int precision = 0;
  double s = step;
  while (precision < 6 && s != std::floor(s))
  {
    ++precision;
    s *= 10.0;
  }
  mPrecision = precision;
}

void IParam::SetupInt(const char* name, int defaultValue, int minValue, int maxValue, const char* label)
{
  if (mKind == kTypeNone) mKind = kTypeInt;
  SetupDouble(name, defaultValue, minValue, maxValue, 1.0, label);
}

void IParam::SetupEnum(const char* name, int defaultValue, int count, const char* label)
{
  if (mKind == kTypeNone) mKind = kTypeEnum;
  SetupDouble(name, defaultValue, 0.0, count - 1, 1.0, label);
}

void IParam::SetShapeExponent(double shape)
{
  if (shape != 0.0) mShapeExp = shape;
}

void IParam::AddDisplayText(int value, const char* text)
{
  DisplayText record{};
  record.mValue = value;
  CopyBounded(record.mText, text);
  mValueTexts.Add(record);
}

void IParam::Bounds(double* minValue, double* maxValue) const
{
  if (minValue) *minValue = mLow;
  if (maxValue) *maxValue = mHigh;
}

double IParam::FromNormalized(double normalized) const
{
  return mLow + (mHigh - mLow) * std::pow(normalized, mShapeExp);
}

double IParam::ToNormalized(double value) const
{
  if (std::isnan(value) || value < mLow) value = mLow;
  if (value > mHigh) value = mHigh;
  return std::pow((value - mLow) / (mHigh - mLow), 1.0 / mShapeExp);
}

double IParam::NormalizedValue() const
{
  return ToNormalized(CurrentValue());
}

void IParam::SetFromNormalized(double normalized)
{
  mParamValue.store(SnappedFromNormalized(normalized), std::memory_order_relaxed);
}

double IParam::SnappedFromNormalized(double normalized) const
{
  // Hosts send anything: keep the position in 0..1 (NaN counts as 0) so the
  // value always lands inside the range.
  if (!(normalized >= 0.0)) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;

  double v = FromNormalized(normalized);
  if (mKind != kTypeDouble) v = std::floor(v / mStepSize + 0.5) * mStepSize;
  if (v > mHigh) v = mHigh;
  if (v < mLow) v = mLow;
  return v;
}

void IParam::SetClamped(double value)
{
  if (std::isnan(value) || value < mLow) value = mLow;
  if (value > mHigh) value = mHigh;
  mParamValue.store(value, std::memory_order_relaxed);
}

int IParam::DisplayTextCount() const
{
  return mValueTexts.GetSize();
}

const char* IParam::DisplayTextFor(int value) const
{
  const DisplayText* records = mValueTexts.Get();
  for (int i = 0; i < mValueTexts.GetSize(); ++i)
    if (records[i].mValue == value) return records[i].mText;
  return "";
}

bool IParam::ValueForText(const char* text, double* value) const
{
  if (!text) return false;
  const DisplayText* records = mValueTexts.Get();
  for (int i = 0; i < mValueTexts.GetSize(); ++i)
  {
    if (std::strcmp(records[i].mText, text) == 0)
    {
      if (value) *value = records[i].mValue;
      return true;
    }
  }
  return false;
}

void IParam::FormatValue(double value, bool isNormalized, char* text) const
{
  if (!text) return;
  if (isNormalized) value = FromNormalized(value);

  const int key = RoundHalfAwayToInt32(value);
  const DisplayText* records = mValueTexts.Get();
  for (int i = 0; i < mValueTexts.GetSize(); ++i)
  {
    if (records[i].mValue == key)
    {
      // The first record with the key decides, even when its text is empty.
      if (records[i].mText[0])
      {
        CopyBounded(text, records[i].mText, kDisplaySize);
        return;
      }
      break;
    }
  }

  if (value == 0.0)
    std::snprintf(text, kDisplaySize, "0");
  else if (mPrecision == 0)
    std::snprintf(text, kDisplaySize, "%d", static_cast<int>(TruncToInt32(value)));
  else
    std::snprintf(text, kDisplaySize, "%.*f", mPrecision, value);
}

double IParam::ParseValue(const char* text) const
{
  if (!text) return 0.0;
  double value = 0.0;
  if (mValueTexts.GetSize() > 0 && ValueForText(text, &value)) return value;
  return std::atof(text);
}
