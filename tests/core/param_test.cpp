#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/IParam.h"

namespace
{
std::string Format(const IParam& p, double v, bool normalized = false)
{
  char text[IParam::kDisplaySize];
  p.FormatValue(v, normalized, text);
  return text;
}

IParam FilterType()
{
  IParam p;
  p.SetupEnum("Filter Type", 1, 3);
  p.AddDisplayText(0, "Lowpass");
  p.AddDisplayText(1, "Highpass");
  p.AddDisplayText(2, "Bandpass");
  return p;
}
} // namespace

TEST(Param, SetupRecordsKindRangeAndPrecision)
{
  IParam p;
  EXPECT_EQ(p.Kind(), IParam::kTypeNone);
  p.SetupInt("Filter Freq", 20, 20, 20000, "Hz");
  EXPECT_EQ(p.Kind(), IParam::kTypeInt);
  double lo = 0, hi = 0;
  p.Bounds(&lo, &hi);
  EXPECT_EQ(lo, 20.0);
  EXPECT_EQ(hi, 20000.0);
  EXPECT_STREQ(p.Title(), "Filter Freq");
  EXPECT_STREQ(p.UnitLabel(), "Hz");
  EXPECT_EQ(p.Precision(), 0);

  // The kind is set only once: a later SetupDouble keeps "int".
  p.SetupDouble("x", 0, 0, 1, 0.25);
  EXPECT_EQ(p.Kind(), IParam::kTypeInt);
  EXPECT_EQ(p.Precision(), 2);

  IParam tenth;
  tenth.SetupDouble("x", 0, 0, 1, 0.1);
  EXPECT_EQ(tenth.Precision(), 1);
  IParam never;
  never.SetupDouble("x", 0, 0, 1, 1.0 / 3.0);
  EXPECT_EQ(never.Precision(), 6);

  IParam degenerate;
  degenerate.SetupInt("x", 5, 5, 5);
  degenerate.Bounds(&lo, &hi);
  EXPECT_EQ(hi, 6.0);

  IParam two;
  two.SetupEnum("x", 0, 2);
  two.Bounds(&lo, &hi);
  EXPECT_EQ(lo, 0.0);
  EXPECT_EQ(hi, 1.0);
  EXPECT_EQ(Format(two, 1.0), "1");
}

TEST(Param, DefaultIsStoredUnclamped)
{
  IParam p;
  p.SetupInt("x", 500, 0, 100);
  EXPECT_EQ(p.CurrentValue(), 500.0);
}

TEST(Param, ShapeTwoPutsHalfTravelAtAQuarterOfTheRange)
{
  IParam p;
  p.SetupInt("Filter Freq", 20, 20, 20000, "Hz");
  p.SetShapeExponent(0.0); // ignored
  EXPECT_EQ(p.ShapeExponent(), 1.0);
  p.SetShapeExponent(2.0);
  p.SetFromNormalized(0.5);
  EXPECT_EQ(p.CurrentValue(), 5015.0);
  EXPECT_NEAR(p.NormalizedValue(), 0.5, 1e-12);
  EXPECT_EQ(p.ToNormalized(0.0), 0.0);      // below the range
  EXPECT_EQ(p.ToNormalized(1e9), 1.0);      // above the range
  EXPECT_DOUBLE_EQ(p.FromNormalized(0.5), 5015.0);

  IParam rate;
  rate.SetupInt("LFO1 Rate", 2000, 60, 64000, "ms");
  rate.SetShapeExponent(2.0);
  rate.SetFromNormalized(0.5);
  EXPECT_EQ(rate.CurrentValue(), 16045.0);
}

TEST(Param, IntegralKindsRoundHalfUpCountedFromZero)
{
  // Exact binary fractions: raw values of exactly +0.5 and -0.5.
  IParam small;
  small.SetupInt("x", 0, -2, 2);
  small.SetFromNormalized(0.625); // raw 0.5 -> 1
  EXPECT_EQ(small.CurrentValue(), 1.0);
  small.SetFromNormalized(0.375); // raw -0.5 -> floor(-0.5 + 0.5) = 0
  EXPECT_EQ(small.CurrentValue(), 0.0);

  IParam pan;
  pan.SetupInt("Filter Pan", 0, -100, 100, "%");
  pan.SetFromNormalized(0.4975); // raw -0.5 exactly in doubles
  EXPECT_EQ(pan.CurrentValue(), 0.0);
  // 0.5025 is stored just below itself, so its raw value is 0.49999999999998...
  pan.SetFromNormalized(0.5025);
  EXPECT_EQ(pan.CurrentValue(), 0.0);
  pan.SetFromNormalized(0.50251);
  EXPECT_EQ(pan.CurrentValue(), 1.0);
  pan.SetFromNormalized(0.0);
  EXPECT_EQ(pan.CurrentValue(), -100.0);
  pan.SetFromNormalized(1.0);
  EXPECT_EQ(pan.CurrentValue(), 100.0);

  IParam cont;
  cont.SetupDouble("Amount", 0, 0, 1, 0.01);
  cont.SetFromNormalized(0.123456);
  EXPECT_DOUBLE_EQ(cont.CurrentValue(), 0.123456); // no rounding for doubles
}

TEST(Param, NormalizedInputOutsideZeroToOneStaysInRange)
{
  IParam pan;
  pan.SetupInt("Filter Pan", 0, -100, 100, "%");
  pan.SetFromNormalized(-0.5);
  EXPECT_EQ(pan.CurrentValue(), -100.0);
  pan.SetFromNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(pan.CurrentValue(), -100.0);
  pan.SetFromNormalized(7.0);
  EXPECT_EQ(pan.CurrentValue(), 100.0);

  IParam freq;
  freq.SetupInt("Filter Freq", 20, 20, 20000);
  freq.SetShapeExponent(2.0);
  freq.SetFromNormalized(-0.5); // (-0.5)^2 would land inside the range
  EXPECT_EQ(freq.CurrentValue(), 20.0);
  freq.SetFromNormalized(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(freq.CurrentValue(), 20.0);
}

TEST(Param, SetClampedKeepsFractionsAndRejectsNaN)
{
  IParam p;
  p.SetupInt("Filter Freq", 20, 20, 20000);
  p.SetClamped(30000);
  EXPECT_EQ(p.CurrentValue(), 20000.0);
  p.SetClamped(1234.75);
  EXPECT_EQ(p.CurrentValue(), 1234.75);
  p.SetClamped(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.CurrentValue(), 20.0);
}

TEST(Param, FormatValueUsesDisplayTextsRoundedHalfAwayFromZero)
{
  IParam type = FilterType();
  EXPECT_EQ(Format(type, 2.4), "Bandpass");
  EXPECT_EQ(Format(type, 1.5), "Bandpass");
  EXPECT_EQ(Format(type, -0.4), "Lowpass");
  EXPECT_EQ(Format(type, 0.5, true), "Highpass"); // normalised 0.5 -> 1.0

  // The first record with the value decides, even with an empty text.
  IParam p;
  p.SetupEnum("x", 0, 3);
  p.AddDisplayText(1, "");
  p.AddDisplayText(1, "one");
  EXPECT_EQ(Format(p, 1.0), "1");
}

TEST(Param, FormatValueNumbers)
{
  IParam pan;
  pan.SetupInt("Filter Pan", 0, -100, 100, "%");
  EXPECT_EQ(Format(pan, 0.0), "0");
  EXPECT_EQ(Format(pan, -100.0), "-100");
  EXPECT_EQ(Format(pan, 0.7), "0");   // truncated toward zero
  EXPECT_EQ(Format(pan, -0.7), "0");
  EXPECT_EQ(Format(pan, 99.9), "99"); // "%d" truncates, no unit label
  EXPECT_EQ(Format(pan, 1e12), "-2147483648"); // does not fit: integer indefinite, no crash

  IParam amount;
  amount.SetupDouble("Amount", 0, 0, 1, 0.25);
  EXPECT_EQ(Format(amount, 0.5), "0.50");
  EXPECT_EQ(Format(amount, 1.0 / 3.0), "0.33");

  IParam wide;
  wide.SetupDouble("wide", 0, -1e300, 1e300, 0.000001);
  char text[IParam::kDisplaySize];
  wide.FormatValue(1e300, false, text); // would need far more than 32 bytes
  EXPECT_LT(std::strlen(text), static_cast<size_t>(IParam::kDisplaySize));
}

TEST(Param, ParseValueAndValueForText)
{
  IParam comp;
  comp.SetupEnum("ENV Compensation", 1, 3);
  comp.AddDisplayText(0, "Left");
  comp.AddDisplayText(1, "Right");
  comp.AddDisplayText(2, "Both");

  double v = -1;
  EXPECT_TRUE(comp.ValueForText("Both", &v));
  EXPECT_EQ(v, 2.0);
  v = -1;
  EXPECT_FALSE(comp.ValueForText("both", &v)); // case-sensitive
  EXPECT_EQ(v, -1.0);
  EXPECT_EQ(comp.ParseValue("both"), 0.0);
  EXPECT_EQ(comp.ParseValue("Right"), 1.0);
  EXPECT_EQ(comp.ParseValue("2.5xyz"), 2.5); // leading number
  EXPECT_EQ(comp.CurrentValue(), 1.0);       // parsing never sets

  IParam plain;
  plain.SetupInt("x", 0, 0, 10);
  EXPECT_FALSE(plain.ValueForText("", &v));
  EXPECT_EQ(plain.ParseValue("  42 Hz"), 42.0);
  EXPECT_EQ(plain.ParseValue(nullptr), 0.0);
  EXPECT_STREQ(plain.DisplayTextFor(3), "");
}

TEST(Param, NamesAreCutAtTheirField)
{
  IParam p;
  const std::string longName(100, 'n');
  const std::string longLabel(50, 'l');
  p.SetupInt(longName.c_str(), 0, 0, 1, longLabel.c_str());
  p.AddDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(p.Title()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.UnitLabel()), std::string(31, 'l'));
  EXPECT_EQ(std::string(p.DisplayTextFor(0)), std::string(31, 'n'));
}
