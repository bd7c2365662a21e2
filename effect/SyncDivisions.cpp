#include "effect/SyncDivisions.h"

#include <cmath>
#include <cstdint>

#include "core/NumericConversions.h"

const char* const kSyncDivisionTexts[kSyncDivisionCount] = {
    "1/32", "1/16T", "1/32D", "1/16", "1/8T",  "1/16D", "1/8",  "1/4T",  "1/8D", "1/4",  "1/2T",
    "1/4D", "1/2",   "1/1T",  "1/2D", "1/1",   "2/1T",  "1/1D", "2/1",   "4/1T", "2/1D", "4/1",
    "8/1T", "4/1D",  "8/1",   "16/1T", "8/1D", "16/1",  "32/1T", "16/1D", "32/1",
};

float SyncDivisionLength(int index)
{
  if (index < 0) index = 0;
  if (index >= kSyncDivisionCount) index = kSyncDivisionCount - 1;

  // The list repeats in groups of three (plain, triplet of the next power,
  // dotted) over rising powers of two. The exponent is formed in single
  // precision as the count times one third; every count used is a multiple
  // of three, so it is a whole number and the power of two is exact.
  int count = 0;
  float unit = 0.0f;
  switch (index % 3)
  {
  case 0:
    count = index;
    unit = 0.03125f; // 1/32
    break;
  case 1:
    count = index + 2;
    unit = 0.020833334f; // 1/48, the triplet of 1/32
    break;
  default:
    count = index - 2;
    unit = 0.046875f; // 3/64, the dotted 1/32
    break;
  }
  const float power = std::pow(2.0f, static_cast<float>(count) * 0.33333334f);
  return power * unit;
}

int NearestSyncDivision(int periodSamples, double samplesPerWholeNote)
{
  // 64-bit sums: lengths near the 32-bit limit must not overflow.
  int64_t previous = 0;
  for (int i = 0; i < kSyncDivisionCount - 1; ++i)
  {
    const int64_t length = RoundHalfAwayToInt32(SyncDivisionLength(i) * samplesPerWholeNote);
    if (length >= periodSamples)
      return (length + previous > 2 * static_cast<int64_t>(periodSamples)) ? i - 1 : i;
    previous = length;
  }
  return kSyncDivisionCount - 1;
}
