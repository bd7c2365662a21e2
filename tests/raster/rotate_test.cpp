#include <cmath>

#include <gtest/gtest.h>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_Primitives.h"
#include "tests/raster/RasterTestSupport.h"

using rastertest::At;
using rastertest::Clear;
using rastertest::CountNot;

namespace
{
constexpr float kPi = 3.14159265358979f;

// Every pixel distinct: 0xFF000000 | y << 8 | x.
void Numbered(LICE_IBitmap& bm)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      At(bm, x, y) = 0xFF000000u | static_cast<unsigned>(y << 8) | static_cast<unsigned>(x);
}

void Rotate(LICE_IBitmap& dst, LICE_IBitmap& src, float angle, int mode)
{
  const int w = src.getWidth(), h = src.getHeight();
  LICE_RotatedBlit(&dst, &src, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h), angle,
                   false, 1.0f, mode);
}
} // namespace

TEST(RotatedBlit, AngleZeroReproducesTheSourceExactly)
{
  for (int size : {54, 7})
  {
    for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
    {
      LICE_MemBitmap src(size, size + 3, 4), dst(size, size + 3, 4);
      Numbered(src);
      Clear(dst, 0);
      Rotate(dst, src, 0.0f, mode);
      for (int y = 0; y < src.getHeight(); ++y)
        for (int x = 0; x < size; ++x) ASSERT_EQ(At(dst, x, y), At(src, x, y)) << size << " " << mode << " " << x << "," << y;
    }
  }
}

TEST(RotatedBlit, QuarterAndHalfTurnsMovePixelsWhereTheyBelong)
{
  const int n = 54;
  LICE_MemBitmap src(n, n, 4), dst(n, n, 4);
  Numbered(src);
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
  {
    Clear(dst, 0);
    Rotate(dst, src, kPi / 2, mode);
    // Clockwise: the top-left corner goes to the top-right.
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) ASSERT_EQ(At(dst, n - 1 - y, x), At(src, x, y)) << mode << " " << x << "," << y;

    Clear(dst, 0);
    Rotate(dst, src, kPi, mode);
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) ASSERT_EQ(At(dst, n - 1 - x, n - 1 - y), At(src, x, y)) << mode;
  }
}

TEST(RotatedBlit, NegativeWidthMirrors)
{
  LICE_MemBitmap src(5, 4, 4), dst(5, 4, 4);
  Numbered(src);
  LICE_RotatedBlit(&dst, &src, 5, 0, -5, 4, 0, 0, 5, 4, 0.0f, false, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(dst, x, y), At(src, 4 - x, y));
  LICE_RotatedBlit(&dst, &src, 0, 4, 5, -4, 0, 0, 5, 4, 0.0f, false, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(dst, x, y), At(src, x, 3 - y));
}

TEST(RotatedBlit, BilinearWeightsOnATwoByTwoSource)
{
  // Red channel of the four source pixels; sampled at quarter positions by
  // doubling the size. Expected values are the 16.16 weights worked by hand.
  LICE_MemBitmap src(2, 2, 1), dst(4, 4, 1);
  At(src, 0, 0) = LICE_RGBA(0, 0, 0, 255);
  At(src, 1, 0) = LICE_RGBA(200, 0, 0, 255);
  At(src, 0, 1) = LICE_RGBA(100, 0, 0, 255);
  At(src, 1, 1) = LICE_RGBA(40, 0, 0, 255);
  const LICE_pixel untouched = 0x00000009u;
  Clear(dst, untouched);
  LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 2, 2, 0.0f, false, 1.0f, LICE_BLIT_FILTER_BILINEAR);

  // fx = fy = 1/4: weights 36864, 12288, 12288, 4096.
  EXPECT_EQ(LICE_GETR(At(dst, 1, 1)), 58u);
  // fx = 3/4, fy = 1/4: weights 12288, 36864, 4096, 12288.
  EXPECT_EQ(LICE_GETR(At(dst, 2, 1)), 126u);
  // Last source column: only the lower neighbour, 3/4 and 1/4.
  EXPECT_EQ(LICE_GETR(At(dst, 3, 1)), 160u);
  // Last source row: only the right neighbour.
  EXPECT_EQ(LICE_GETR(At(dst, 1, 3)), 85u);
  // Last row and column: the pixel itself.
  EXPECT_EQ(At(dst, 3, 3), LICE_RGBA(40, 0, 0, 255));
  EXPECT_EQ(LICE_GETA(At(dst, 2, 2)), 255u);
  // Samples left of or above the source leave the destination alone.
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(At(dst, 0, i), untouched);
    EXPECT_EQ(At(dst, i, 0), untouched);
  }
}

TEST(RotatedBlit, ClipFlagLimitsSamplingToTheSourceRectangle)
{
  LICE_MemBitmap src(8, 8, 4), dst(4, 4, 4);
  Numbered(src);
  // Rectangle (2, 2, 4, 4) with its centre moved one pixel right: the last
  // destination column samples x = 6, outside the rectangle.
  Clear(dst, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 2, 2, 4, 4, 0.0f, true, 1.0f, 0, 1.0f, 0.0f);
  EXPECT_EQ(At(dst, 0, 0), At(src, 3, 2));
  EXPECT_EQ(At(dst, 2, 3), At(src, 5, 5));
  for (int y = 0; y < 4; ++y) EXPECT_EQ(At(dst, 3, y), 0u);

  Clear(dst, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 2, 2, 4, 4, 0.0f, false, 1.0f, 0, 1.0f, 0.0f);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(At(dst, 3, y), At(src, 6, 2 + y));
}

TEST(RotatedBlit, ClipsToTheDestinationAndCombinesWithAlpha)
{
  LICE_MemBitmap src(10, 10, 4), dst(6, 6, 4);
  Clear(src, 0x00FFFFFFu);
  At(src, 5, 5) = 0xFF0000FFu;
  Clear(dst, 0xFF000000u);
  // Placed half outside the destination; alpha-0 pixels change nothing.
  LICE_RotatedBlit(&dst, &src, -4, -4, 10, 10, 0, 0, 10, 10, 0.0f, false, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(At(dst, 1, 1), 0xFF0000FFu);
  EXPECT_EQ(CountNot(dst, 0xFF000000u), 1);

  // Half weight with source alpha: a = 128 x 256 / 256.
  Clear(dst, 0xFF000000u);
  LICE_RotatedBlit(&dst, &src, -4, -4, 10, 10, 0, 0, 10, 10, 0.0f, false, 0.5f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(At(dst, 1, 1), 0xFF000080u);

  LICE_RotatedBlit(nullptr, &src, 0, 0, 1, 1, 0, 0, 1, 1, 0.0f, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 0, 5, 0, 0, 1, 1, 0.0f, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, 100, 100, 5, 5, 0, 0, 5, 5, 1.0f, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 5, 5, 0, 0, 5, 5, 1.0f, false, 0.0f, 0);
}

TEST(RotatedBlit, AnyAngleKeepsARotationallySymmetricImageInPlace)
{
  // A centred disc turns into itself: at 37 degrees every destination pixel
  // well inside or well outside the disc keeps its colour.
  const int n = 40;
  LICE_MemBitmap src(n, n, 4), dst(n, n, 4);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
    {
      const float dx = x + 0.5f - n / 2.0f, dy = y + 0.5f - n / 2.0f;
      At(src, x, y) = std::sqrt(dx * dx + dy * dy) < 12.0f ? 0xFFFFFFFFu : 0xFF000000u;
    }
  Clear(dst, 0x12345678u);
  Rotate(dst, src, 37.0f * kPi / 180.0f, LICE_BLIT_FILTER_BILINEAR);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
    {
      const float dx = x + 0.5f - n / 2.0f, dy = y + 0.5f - n / 2.0f;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d < 10.0f)
      {
        EXPECT_EQ(At(dst, x, y), 0xFFFFFFFFu) << x << "," << y;
      }
      if (d > 14.0f && d < 18.0f)
      {
        EXPECT_EQ(At(dst, x, y), 0xFF000000u) << x << "," << y;
      }
    }
}

TEST(RotatedBlit, ExtremeInputsDrawNothing)
{
  LICE_MemBitmap src(8, 8, 4), dst(8, 8, 4);
  Numbered(src);
  Clear(dst, 0);
  const float nan = std::nanf("");
  LICE_RotatedBlit(&dst, &src, 0, 0, 8, 8, 0, 0, 8, 8, nan, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 8, 8, 0, 0, 1e30f, 8, 0.5f, false, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  LICE_RotatedBlit(&dst, &src, 0, 0, 8, 8, nan, 0, 8, 8, 0.5f, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, -2147483643, 0, 10, 8, 0, 0, 8, 8, 0.0f, false, 1.0f, 0);
  LICE_RotatedBlit(&dst, &src, 2147483647, 0, -2147483647, 8, 0, 0, 8, 8, 0.0f, false, 0.0f, 0);
  EXPECT_EQ(CountNot(dst, 0), 0);
}
