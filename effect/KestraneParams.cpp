// The effect's 24 parameters: names, kinds, ranges, units, curves and
// display texts.
#include "effect/Kestrane.h"

#include "effect/SyncDivisions.h"

namespace
{
const char* const kTypeTexts[] = {"Lowpass", "Highpass", "Bandpass"};
// The target texts are the names of the four filter parameters.
const char* const kTargetTexts[] = {"No Assign", "Filter Freq", "Filter Bandwidth", "Filter Pan", "Filter Mix"};
const char* const kDirectionTexts[] = {"Up", "Down"};
const char* const kCompensationTexts[] = {"Left", "Right", "Both"};
const char* const kWaveTexts[] = {"Sine", "Triangle", "Saw", "Saw Rev", "Sine Half", "Sine Half 2"};
const char* const kNoYesTexts[] = {"No", "Yes"};

// One row of the parameter table. An enumeration has texts (its range is
// 0 .. count - 1 and no unit); an integer has a range and a unit.
struct ParamRow
{
  int index;
  const char* name;
  int defaultValue;
  int minValue;
  int maxValue;
  const char* label;
  double shape;
  const char* const* texts;
  int textCount;
};

template <int N>
constexpr ParamRow Enum(int index, const char* name, int defaultValue, const char* const (&texts)[N])
{
  return {index, name, defaultValue, 0, N - 1, "", 1.0, texts, N};
}

constexpr ParamRow Int(int index, const char* name, int defaultValue, int minValue, int maxValue,
                       const char* label, double shape = 1.0)
{
  return {index, name, defaultValue, minValue, maxValue, label, shape, nullptr, 0};
}

const ParamRow kParamTable[] = {
    Enum(kFilterType, "Filter Type", 1, kTypeTexts),
    Int(kFilterFreq, "Filter Freq", 20, 20, 20000, "Hz", 2.0),
    Int(kFilterBandwidth, "Filter Bandwidth", 20, 1, 100, "%"),
    Int(kFilterPan, "Filter Pan", 0, -100, 100, "%"),
    Int(kFilterMix, "Filter Mix", 100, 0, 100, "%"),
    Enum(kEnvTarget, "ENV Target", 0, kTargetTexts),
    Int(kEnvAttack, "ENV Attack", 800, 0, 16000, "ms"),
    Int(kEnvDecay, "ENV Decay", 500, 0, 16000, "ms"),
    Int(kEnvSustain, "ENV Sustain", 90, 0, 100, "%"),
    Int(kEnvRelease, "ENV Release", 700, 0, 16000, "ms"),
    Int(kEnvDepth, "ENV Depth", 90, 0, 100, "%"),
    Enum(kEnvDirection, "ENV Direction", 0, kDirectionTexts),
    Int(kEnvVolCompensation, "ENV Vol Compensation", 6, 0, 24, "dB"),
    Enum(kEnvCompensation, "ENV Compensation", 1, kCompensationTexts),
    Enum(kLfoTarget, "LFO1 Target", 0, kTargetTexts),
    Enum(kLfoWave, "LFO1 Wave", 0, kWaveTexts),
    Enum(kLfoSync, "LFO1 Sync", 1, kNoYesTexts),
    Enum(kLfoRateSync, "LFO1 Rate", 15, kSyncDivisionTexts),
    Int(kLfoRateMs, "LFO1 Rate", 2000, 60, 64000, "ms", 2.0),
    Enum(kLfoEnvChild, "LFO1 Env Child", 0, kNoYesTexts),
    Int(kLfoDepth, "LFO1 Depth", 90, 0, 100, "%"),
    Int(kLfoStart, "LFO1 Start", 25, 0, 100, "%"),
    Int(kLfoVolCompensation, "LFO1 Vol Compensation", 6, 0, 24, "dB"),
    Enum(kLfoCompensation, "LFO1 Compensation", 1, kCompensationTexts),
};
static_assert(sizeof kParamTable / sizeof kParamTable[0] == kNumKestraneParams, "one row per parameter");
} // namespace

void CLS_KESTRANE::SetupParams()
{
  for (const ParamRow& row : kParamTable)
  {
    IParam* param = Param(row.index);
    if (row.texts)
      param->SetupEnum(row.name, row.defaultValue, row.textCount);
    else
      param->SetupInt(row.name, row.defaultValue, row.minValue, row.maxValue, row.label);
    param->SetShapeExponent(row.shape);
    for (int value = 0; value < row.textCount; ++value) param->AddDisplayText(value, row.texts[value]);
  }
}
