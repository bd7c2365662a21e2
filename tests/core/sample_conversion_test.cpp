// The host-precision conversions against the plain casts they replace: every
// length from 0 to 19 (whole groups and leftovers) over random bit patterns,
// which take in NaNs, infinities, denormals, signed zeros and doubles beyond
// single precision's range.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/SampleConversion.h"

namespace
{
template <class T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b)
{
  // memcmp must not see the null data() of an empty vector.
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <class T, class Bits>
std::vector<T> RandomSamples(std::mt19937_64& random, int count)
{
  std::vector<T> samples(static_cast<std::size_t>(count));
  for (T& v : samples)
  {
    const Bits bits = static_cast<Bits>(random());
    std::memcpy(&v, &bits, sizeof v);
    // Half of them ordinary audio, where the rounding of most values matters.
    if (random() % 2) v = static_cast<T>(static_cast<double>(random() % 2000001) / 1000000.0 - 1.0);
  }
  return samples;
}
} // namespace

TEST(SampleConversion, EqualsThePlainCastsToTheBit)
{
  std::mt19937_64 random(5);
  for (int round = 0; round < 200; ++round)
    for (int count = 0; count < 20; ++count)
    {
      const std::vector<float> singles = RandomSamples<float, uint32_t>(random, count);
      const std::vector<double> doubles = RandomSamples<double, uint64_t>(random, count);
      const std::vector<float> targets = RandomSamples<float, uint32_t>(random, count);

      std::vector<double> widened(singles.size()), widenedPlain(singles.size());
      WidenSamples(singles.data(), widened.data(), count);
      for (int s = 0; s < count; ++s) widenedPlain[s] = singles[s];
      ASSERT_TRUE(SameBits(widened, widenedPlain)) << count;

      std::vector<float> narrowed(doubles.size()), narrowedPlain(doubles.size());
      NarrowSamples(doubles.data(), narrowed.data(), count);
      for (int s = 0; s < count; ++s) narrowedPlain[s] = static_cast<float>(doubles[s]);
      ASSERT_TRUE(SameBits(narrowed, narrowedPlain)) << count;

      std::vector<float> summed = targets, summedPlain = targets;
      AccumulateNarrowedSamples(doubles.data(), summed.data(), count);
      for (int s = 0; s < count; ++s) summedPlain[s] += static_cast<float>(doubles[s]);
      ASSERT_TRUE(SameBits(summed, summedPlain)) << count;
    }
}
