#include <cstdint>

#include <gtest/gtest.h>

#include "raster/LICE_Blend.h"
#include "raster/LICE_MemBitmap.h"
#include "tests/raster/RasterTestSupport.h"

using rastertest::At;
using rastertest::Clear;
using rastertest::CountNot;

namespace
{
struct BlendCase
{
  LICE_pixel dest;
  LICE_pixel colour; // fill colour or source pixel
  float weight;
  int mode;
  LICE_pixel expected;
};

// Expected values worked out by hand from the documented integer rules
// (truncating division, saturation), independently of this code. Each
// shortcut weight (0.25, 0.5, 0.75, 1.0) sits next to a weight that takes
// the general path.
const BlendCase kFillCases[] = {
  {0xFF204060, 0x80FFA010, 0.25f, 0x0, 0xDE57584C},
  {0xFF204060, 0x80FFA010, 0.26f, 0x0, 0xCE5A594B},
  {0xFF204060, 0x80FFA010, 0.5f, 0x0, 0xBF8F7038},
  {0xFF204060, 0x80FFA010, 0.51f, 0x0, 0xBF927137},
  {0xFF204060, 0x80FFA010, 0.75f, 0x0, 0x9FC68824},
  {0xFF204060, 0x80FFA010, 0.74f, 0x0, 0xCEC58724},
  {0xFF204060, 0x80FFA010, 1.0f, 0x0, 0x80FFA010},
  {0xFF204060, 0x80FFA010, 0.99f, 0x0, 0xFDFD9F10},
  {0xFF204060, 0x80FFA010, 0.1f, 0x0, 0xE8364A58},
  {0xFF204060, 0x80FFA010, 0.25f, 0x1, 0xFF5F6864},
  {0xFF204060, 0x80FFA010, 0.26f, 0x1, 0xFF616964},
  {0xFF204060, 0x80FFA010, 0.5f, 0x1, 0xFF9F9068},
  {0xFF204060, 0x80FFA010, 0.51f, 0x1, 0xFFA19168},
  {0xFF204060, 0x80FFA010, 0.75f, 0x1, 0xFFDFB86C},
  {0xFF204060, 0x80FFA010, 0.74f, 0x1, 0xFFDCB66B},
  {0xFF204060, 0x80FFA010, 1.0f, 0x1, 0xFFFFE070},
  {0xFF204060, 0x80FFA010, 0.99f, 0x1, 0xFFFFDE6F},
  {0xFF204060, 0x80FFA010, 0.1f, 0x1, 0xFF384F61},
  {0xFF204060, 0x80FFA010, 0.25f, 0x2, 0xFF2A4B61},
  {0xFF204060, 0x80FFA010, 0.26f, 0x2, 0xFF2A4C61},
  {0xFF204060, 0x80FFA010, 0.5f, 0x2, 0xFF3F5D63},
  {0xFF204060, 0x80FFA010, 0.51f, 0x2, 0xFF405D63},
  {0xFF204060, 0x80FFA010, 0.75f, 0x2, 0xFF7E7864},
  {0xFF204060, 0x80FFA010, 0.74f, 0x2, 0xFF787664},
  {0xFF204060, 0x80FFA010, 1.0f, 0x2, 0xFFFFAA66},
  {0xFF204060, 0x80FFA010, 0.99f, 0x2, 0xFFFFA765},
  {0xFF204060, 0x80FFA010, 0.1f, 0x2, 0xFF234360},
  {0xFF204060, 0x80FFA010, 0.25f, 0x10000, 0xE33C4C56},
  {0xFF204060, 0x80FFA010, 0.26f, 0x10000, 0xE23D4D55},
  {0xFF204060, 0x80FFA010, 0.5f, 0x10000, 0xDE57584C},
  {0xFF204060, 0x80FFA010, 0.51f, 0x10000, 0xCE59594B},
  {0xFF204060, 0x80FFA010, 0.75f, 0x10000, 0xC3746442},
  {0xFF204060, 0x80FFA010, 0.74f, 0x10000, 0xC3736442},
  {0xFF204060, 0x80FFA010, 1.0f, 0x10000, 0xBF8F7038},
  {0xFF204060, 0x80FFA010, 0.99f, 0x10000, 0xBF8F7038},
  {0xFF204060, 0x80FFA010, 0.1f, 0x10000, 0xF32B455C},
};

const BlendCase kBlitCases[] = {
  {0xFF204060, 0x80FFA010, 1.0f, 0x0, 0x80FFA010},
  {0xFF204060, 0x80FFA010, 0.5f, 0x0, 0xBF8F7038},
  {0xFF204060, 0x80FFA010, 0.51f, 0x0, 0xBE927137},
  {0xFF204060, 0x80FFA010, 0.25f, 0x0, 0xDF58584C},
  {0xFF204060, 0x80FFA010, 0.75f, 0x0, 0x9FC88824},
  {0xFF204060, 0x80FFA010, 1.0f, 0x10000, 0xFF917137},
  {0xFF204060, 0x80FFA010, 0.5f, 0x10000, 0xFF58584C},
  {0xFF204060, 0x80FFA010, 0.51f, 0x10000, 0xFF59594B},
  {0xFF204060, 0x80FFA010, 0.25f, 0x10000, 0xFF3C4C56},
  {0xFF204060, 0x80FFA010, 0.75f, 0x10000, 0xFF746442},
  {0xFF204060, 0x80FFA010, 1.0f, 0x10001, 0xFFA09068},
  {0xFF204060, 0x80FFA010, 0.5f, 0x10001, 0xFF5F6864},
  {0xFF204060, 0x80FFA010, 0.51f, 0x10001, 0xFF606864},
  {0xFF204060, 0x80FFA010, 0.25f, 0x10001, 0xFF3F5462},
  {0xFF204060, 0x80FFA010, 0.75f, 0x10001, 0xFF7F7C66},
  {0xFF204060, 0x80FFA010, 1.0f, 0x10002, 0xFF405D63},
  {0xFF204060, 0x80FFA010, 0.5f, 0x10002, 0xFF2A4B61},
  {0xFF204060, 0x80FFA010, 0.51f, 0x10002, 0xFF2A4B61},
  {0xFF204060, 0x80FFA010, 0.25f, 0x10002, 0xFF244560},
  {0xFF204060, 0x80FFA010, 0.75f, 0x10002, 0xFF325362},
  {0xFF204060, 0x00FFFFFF, 1.0f, 0x0, 0x00FFFFFF},
  {0xFF204060, 0x00FFFFFF, 0.5f, 0x0, 0x7F8F9FAF},
  {0xFF204060, 0x00FFFFFF, 0.51f, 0x0, 0x7D92A1B1},
  {0xFF204060, 0x00FFFFFF, 0.25f, 0x0, 0xBF587088},
  {0xFF204060, 0x00FFFFFF, 0.75f, 0x0, 0x3FC8D0D8},
  {0xFF204060, 0x00FFFFFF, 1.0f, 0x10000, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.5f, 0x10000, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.51f, 0x10000, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.25f, 0x10000, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.75f, 0x10000, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 1.0f, 0x10001, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.5f, 0x10001, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.51f, 0x10001, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.25f, 0x10001, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.75f, 0x10001, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 1.0f, 0x10002, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.5f, 0x10002, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.51f, 0x10002, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.25f, 0x10002, 0xFF204060},
  {0xFF204060, 0x00FFFFFF, 0.75f, 0x10002, 0xFF204060},
  {0xFF204060, 0xFF112233, 1.0f, 0x0, 0xFF112233},
  {0xFF204060, 0xFF112233, 0.5f, 0x0, 0xFE183149},
  {0xFF204060, 0xFF112233, 0.51f, 0x0, 0xFF183049},
  {0xFF204060, 0xFF112233, 0.25f, 0x0, 0xFF1C3854},
  {0xFF204060, 0xFF112233, 0.75f, 0x0, 0xFF14293E},
  {0xFF204060, 0xFF112233, 1.0f, 0x10000, 0xFF112233},
  {0xFF204060, 0xFF112233, 0.5f, 0x10000, 0xFF183149},
  {0xFF204060, 0xFF112233, 0.51f, 0x10000, 0xFF183049},
  {0xFF204060, 0xFF112233, 0.25f, 0x10000, 0xFF1C3854},
  {0xFF204060, 0xFF112233, 0.75f, 0x10000, 0xFF14293E},
  {0xFF204060, 0xFF112233, 1.0f, 0x10001, 0xFF316293},
  {0xFF204060, 0xFF112233, 0.5f, 0x10001, 0xFF285179},
  {0xFF204060, 0xFF112233, 0.51f, 0x10001, 0xFF285179},
  {0xFF204060, 0xFF112233, 0.25f, 0x10001, 0xFF24486C},
  {0xFF204060, 0xFF112233, 0.75f, 0x10001, 0xFF2C5986},
  {0xFF204060, 0xFF112233, 1.0f, 0x10002, 0xFF224977},
  {0xFF204060, 0xFF112233, 0.5f, 0x10002, 0xFF21446A},
  {0xFF204060, 0xFF112233, 0.51f, 0x10002, 0xFF21446A},
  {0xFF204060, 0xFF112233, 0.25f, 0x10002, 0xFF204264},
  {0xFF204060, 0xFF112233, 0.75f, 0x10002, 0xFF214670},
  {0xFF204060, 0x0A808080, 1.0f, 0x0, 0x0A808080},
  {0xFF204060, 0x0A808080, 0.5f, 0x0, 0x84506070},
  {0xFF204060, 0x0A808080, 0.51f, 0x0, 0x82516171},
  {0xFF204060, 0x0A808080, 0.25f, 0x0, 0xC1385068},
  {0xFF204060, 0x0A808080, 0.75f, 0x0, 0x47687078},
  {0xFF204060, 0x0A808080, 1.0f, 0x10000, 0xFF254362},
  {0xFF204060, 0x0A808080, 0.5f, 0x10000, 0xFF224261},
  {0xFF204060, 0x0A808080, 0.51f, 0x10000, 0xFF224261},
  {0xFF204060, 0x0A808080, 0.25f, 0x10000, 0xFF214161},
  {0xFF204060, 0x0A808080, 0.75f, 0x10000, 0xFF234261},
  {0xFF204060, 0x0A808080, 1.0f, 0x10001, 0xFF254565},
  {0xFF204060, 0x0A808080, 0.5f, 0x10001, 0xFF224262},
  {0xFF204060, 0x0A808080, 0.51f, 0x10001, 0xFF224262},
  {0xFF204060, 0x0A808080, 0.25f, 0x10001, 0xFF214161},
  {0xFF204060, 0x0A808080, 0.75f, 0x10001, 0xFF244464},
  {0xFF204060, 0x0A808080, 1.0f, 0x10002, 0xFF204161},
  {0xFF204060, 0x0A808080, 0.5f, 0x10002, 0xFF204060},
  {0xFF204060, 0x0A808080, 0.51f, 0x10002, 0xFF204060},
  {0xFF204060, 0x0A808080, 0.25f, 0x10002, 0xFF204060},
  {0xFF204060, 0x0A808080, 0.75f, 0x10002, 0xFF204161},
};

LICE_pixel FillOne(LICE_pixel dest, LICE_pixel colour, float weight, int mode)
{
  LICE_MemBitmap bm(1, 1, 1);
  At(bm, 0, 0) = dest;
  LICE_FillRect(&bm, 0, 0, 1, 1, colour, weight, mode);
  return At(bm, 0, 0);
}

LICE_pixel BlitOne(LICE_pixel dest, LICE_pixel src, float weight, int mode)
{
  LICE_MemBitmap d(1, 1, 1), s(1, 1, 1);
  At(d, 0, 0) = dest;
  At(s, 0, 0) = src;
  LICE_Blit(&d, &s, 0, 0, nullptr, weight, mode);
  return At(d, 0, 0);
}

// One channel value of each byte of a pixel put together: a, b, c, d
// repeated so every channel position is exercised by the same value.
LICE_pixel Splat(unsigned v)
{
  return v * 0x01010101u;
}
} // namespace

TEST(FillRect, ExactResultsForEveryModeAndWeight)
{
  for (const BlendCase& c : kFillCases)
    EXPECT_EQ(FillOne(c.dest, c.colour, c.weight, c.mode), c.expected)
        << std::hex << "dest " << c.dest << " colour " << c.colour << " weight " << c.weight << " mode " << c.mode;
}

TEST(FillRect, HalfWeightAveragesWholePixelsIncludingAlpha)
{
  EXPECT_EQ(FillOne(0xFF204060u, 0x80FFA010u, 0.5f, 0), 0xBF8F7038u);
  EXPECT_EQ(FillOne(0x01010101u, 0x01010101u, 0.5f, 0), 0u); // low bits drop, no carries
}

TEST(FillRect, WeightShortcutsEqualTheirPerChannelRuleOnEveryValuePair)
{
  // The whole-pixel shortcuts must act on each byte alone, with no carry into
  // the next channel: check every (pixel, colour) channel pair.
  for (unsigned d = 0; d < 256; ++d)
  {
    for (unsigned c = 0; c < 256; ++c)
    {
      const unsigned half = (c >> 1) + (d >> 1);
      const unsigned quarter = (d >> 1) + (d >> 2) + (c >> 2);
      const unsigned threeQuarters = (c >> 1) + (c >> 2) + (d >> 2);
      LICE_MemBitmap bm(4, 1, 1);
      for (int i = 0; i < 4; ++i) At(bm, i, 0) = Splat(d);
      LICE_FillRect(&bm, 0, 0, 1, 1, Splat(c), 0.5f, 0);
      LICE_FillRect(&bm, 1, 0, 1, 1, Splat(c), 0.25f, 0);
      LICE_FillRect(&bm, 2, 0, 1, 1, Splat(c), 0.75f, 0);
      LICE_FillRect(&bm, 3, 0, 1, 1, Splat(c), 1.0f, 0);
      ASSERT_EQ(At(bm, 0, 0), Splat(half)) << d << "," << c;
      ASSERT_EQ(At(bm, 1, 0), Splat(quarter)) << d << "," << c;
      ASSERT_EQ(At(bm, 2, 0), Splat(threeQuarters)) << d << "," << c;
      ASSERT_EQ(At(bm, 3, 0), Splat(c)) << d << "," << c;
    }
  }
}

TEST(FillRect, OpaqueColourWithSourceAlphaTakesTheFullWeightPath)
{
  // 255 x 0.003921569 in single precision comes to 1.0 x 256 = 256 exactly.
  EXPECT_EQ(FillOne(0xFF000000u, 0xFF808080u, 1.0f, LICE_BLIT_USE_ALPHA), 0xFF808080u);
}

TEST(FillRect, TransparentColourWithSourceAlphaDrawsNothing)
{
  LICE_MemBitmap bm(8, 8, 4);
  Clear(bm, 0xFF123456u);
  LICE_FillRect(&bm, 0, 0, 8, 8, 0x00FFFFFFu, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(CountNot(bm, 0xFF123456u), 0);
  // Zero and negative weights draw nothing in every mode.
  for (int mode : {0, 1, 2})
  {
    LICE_FillRect(&bm, 0, 0, 8, 8, 0xFFFFFFFFu, 0.0f, mode);
    LICE_FillRect(&bm, 0, 0, 8, 8, 0xFFFFFFFFu, -0.5f, mode);
    LICE_FillRect(&bm, 0, 0, 8, 8, 0xFFFFFFFFu, 0.003f, mode); // rounds to w = 0
  }
  EXPECT_EQ(CountNot(bm, 0xFF123456u), 0);
}

TEST(FillRect, ClipsOnEveryEdge)
{
  LICE_MemBitmap bm(10, 6, 4);
  const LICE_pixel bg = 0xFF000000u, fg = 0xFFFFFFFFu;
  auto filled = [&](int x, int y, int w, int h) {
    Clear(bm, bg);
    LICE_FillRect(&bm, x, y, w, h, fg, 1.0f, 0);
    return bm.getWidth() * bm.getHeight() - CountNot(bm, fg);
  };
  EXPECT_EQ(filled(-3, -2, 5, 4), 2 * 2);   // negative x and y shrink the size
  EXPECT_EQ(filled(8, 4, 10, 10), 2 * 2);   // right and bottom edges
  EXPECT_EQ(filled(-100, -100, 1000, 1000), 60);
  EXPECT_EQ(filled(10, 0, 5, 5), 0);        // starts right of the bitmap
  EXPECT_EQ(filled(0, 6, 5, 5), 0);
  EXPECT_EQ(filled(-5, 0, 5, 5), 0);        // ends left of it
  EXPECT_EQ(filled(0, 0, 0, 5), 0);
  EXPECT_EQ(filled(0x7FFFFFF0, 0, 0x7FFFFFF0, 1), 0);
  EXPECT_EQ(filled(-0x7FFFFFFF, 0, 0x7FFFFFFF, 1), 0);

  // The padding between width and row span is never touched.
  LICE_MemBitmap padded(5, 2, 4);
  for (int i = 0; i < 16; ++i) padded.getBits()[i] = 7;
  LICE_FillRect(&padded, 0, 0, 100, 100, fg, 1.0f, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 5; x < 8; ++x) EXPECT_EQ(padded.getBits()[y * 8 + x], 7u);

  LICE_FillRect(nullptr, 0, 0, 1, 1, fg, 1.0f, 0);
  LICE_MemBitmap empty;
  LICE_FillRect(&empty, 0, 0, 1, 1, fg, 1.0f, 0);
}

TEST(Blit, ExactResultsForEveryModeAndWeight)
{
  for (const BlendCase& c : kBlitCases)
    EXPECT_EQ(BlitOne(c.dest, c.colour, c.weight, c.mode), c.expected)
        << std::hex << "dest " << c.dest << " src " << c.colour << " weight " << c.weight << " mode " << c.mode;
}

TEST(Blit, HalfWeightCopyEqualsPerChannelAverageOnEveryValuePair)
{
  for (unsigned d = 0; d < 256; ++d)
    for (unsigned s = 0; s < 256; ++s)
      ASSERT_EQ(BlitOne(Splat(d), Splat(s), 0.5f, 0), Splat((s >> 1) + (d >> 1))) << d << "," << s;
}

TEST(Blit, AlphaZeroSourceLeavesEveryAlphaAwareModeAlone)
{
  for (int mode : {LICE_BLIT_USE_ALPHA, LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_ADD,
                   LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_DODGE})
    for (float weight : {1.0f, 0.75f, 0.5f, 0.3f})
      for (LICE_pixel d : {0xFF204060u, 0x00000000u, 0x80FFFFFFu, 0x01FEFDFCu})
        for (unsigned rgb : {0x000000u, 0xFFFFFFu, 0x123456u})
          EXPECT_EQ(BlitOne(d, rgb, weight, mode), d) << std::hex << mode << " " << d << " " << rgb;
}

TEST(Blit, AlphaAwareCopyAccumulatesDestinationAlpha)
{
  // Half-transparent onto opaque stays opaque.
  EXPECT_EQ(LICE_GETA(BlitOne(0xFF000000u, 0x80FFFFFFu, 1.0f, LICE_BLIT_USE_ALPHA)), 255u);
  EXPECT_EQ(LICE_GETA(BlitOne(0xFF000000u, 0x80FFFFFFu, 0.6f, LICE_BLIT_USE_ALPHA)), 255u);
  // Onto transparent, alphas add up.
  LICE_MemBitmap d(1, 1, 1), s(1, 1, 1);
  At(d, 0, 0) = 0;
  At(s, 0, 0) = 0x50FFFFFFu;
  LICE_Blit(&d, &s, 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GETA(At(d, 0, 0)), 0x50u);
  LICE_Blit(&d, &s, 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GETA(At(d, 0, 0)), 0xA0u);
  LICE_Blit(&d, &s, 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GETA(At(d, 0, 0)), 0xF0u);
  LICE_Blit(&d, &s, 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GETA(At(d, 0, 0)), 0xFFu);
}

TEST(Blit, WeightsAboveOneSaturateInsteadOfSpillingIntoOtherChannels)
{
  for (float weight : {1.5f, 3.0f, 1000.0f, 1e30f})
  {
    const LICE_pixel p = BlitOne(0xFF102030u, 0xFFF0E0D0u, weight, LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA);
    EXPECT_EQ(p, 0xFFFFFFFFu) << weight;
    const LICE_pixel q = FillOne(0xFF102030u, 0xFFF0E0D0u, weight, 0);
    EXPECT_EQ(LICE_GETR(q), 255u) << weight;  // beyond the colour, clamped
    EXPECT_EQ(LICE_GETB(q), 255u) << weight;
  }
}

namespace
{
// A source whose pixel (x, y) is 0xFF000000 | (y << 8) | x, on a bitmap with
// padded rows.
void Numbered(LICE_MemBitmap& bm)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      At(bm, x, y) = 0xFF000000u | static_cast<unsigned>(y << 8) | static_cast<unsigned>(x);
}
} // namespace

TEST(Blit, ClipsOnEveryEdgeAndShiftsForNegativePositions)
{
  LICE_MemBitmap src(6, 5, 4);
  Numbered(src);
  LICE_MemBitmap dst(8, 7, 4);

  // Negative destination x draws the right-hand part from column 0.
  Clear(dst, 0);
  LICE_Blit(&dst, &src, -2, 1, nullptr, 1.0f, 0);
  EXPECT_EQ(At(dst, 0, 1), 0xFF000002u);
  EXPECT_EQ(At(dst, 3, 5), 0xFF000405u);
  EXPECT_EQ(At(dst, 4, 1), 0u);
  EXPECT_EQ(CountNot(dst, 0), 4 * 5);

  // Negative destination y, right and bottom edges.
  Clear(dst, 0);
  LICE_Blit(&dst, &src, 5, -3, nullptr, 1.0f, 0);
  EXPECT_EQ(At(dst, 5, 0), 0xFF000300u);
  EXPECT_EQ(At(dst, 7, 1), 0xFF000402u);
  EXPECT_EQ(CountNot(dst, 0), 3 * 2);

  // A negative source position moves the destination by the same amount.
  Clear(dst, 0);
  LICE_Blit(&dst, &src, 1, 1, -1, -2, 3, 4, 1.0f, 0);
  EXPECT_EQ(At(dst, 2, 3), 0xFF000000u);
  EXPECT_EQ(At(dst, 3, 4), 0xFF000101u);
  EXPECT_EQ(CountNot(dst, 0), 2 * 2);

  // Source rectangle past the source's right and bottom.
  Clear(dst, 0);
  const IRECT r(4, 3, 40, 40);
  LICE_Blit(&dst, &src, 0, 0, &r, 1.0f, 0);
  EXPECT_EQ(At(dst, 0, 0), 0xFF000304u);
  EXPECT_EQ(At(dst, 1, 1), 0xFF000405u);
  EXPECT_EQ(CountNot(dst, 0), 2 * 2);

  // Entirely outside, empty, or without pixels: nothing.
  Clear(dst, 0);
  LICE_Blit(&dst, &src, 8, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, -6, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, 0, 7, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, 0, 0, 6, 0, 3, 3, 1.0f, 0);
  LICE_Blit(&dst, &src, -0x7FFFFFFF, -0x7FFFFFFF, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, 0, 0, 0x7FFFFFFF, 0, 0x7FFFFFFF, 1, 1.0f, 0);
  LICE_MemBitmap empty;
  LICE_Blit(&dst, &empty, 0, 0, nullptr, 1.0f, 0);
  LICE_Blit(&empty, &src, 0, 0, nullptr, 1.0f, 0);
  LICE_Blit(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(CountNot(dst, 0), 0);
}

TEST(Blit, OverlappingCopyWithinOneBitmapReadsTheOriginal)
{
  LICE_MemBitmap bm(6, 5, 4);
  Numbered(bm);
  LICE_Blit(&bm, &bm, 1, 1, 0, 0, 4, 3, 1.0f, 0);
  EXPECT_EQ(At(bm, 1, 1), 0xFF000000u);
  EXPECT_EQ(At(bm, 4, 3), 0xFF000203u);
  EXPECT_EQ(At(bm, 0, 0), 0xFF000000u);
}

namespace
{
// A bitmap stored bottom row first, to check row order handling.
class FlippedBitmap : public LICE_MemBitmap
{
public:
  FlippedBitmap(int w, int h) : LICE_MemBitmap(w, h, 1) {}
  bool isFlipped() override { return true; }
};
} // namespace

TEST(Blit, HonoursFlippedBitmaps)
{
  LICE_MemBitmap src(3, 3, 1);
  Numbered(src);
  FlippedBitmap dst(3, 3);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0);
  // Image row 0 is stored last.
  EXPECT_EQ(At(dst, 1, 2), 0xFF000001u);
  EXPECT_EQ(At(dst, 2, 0), 0xFF000202u);
  LICE_FillRect(&dst, 0, 0, 3, 1, 0xFFABCDEFu, 1.0f, 0);
  EXPECT_EQ(At(dst, 0, 2), 0xFFABCDEFu);
  EXPECT_EQ(At(dst, 0, 0), 0xFF000200u);
}
