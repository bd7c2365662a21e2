#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_Primitives.h"
#include "tests/raster/RasterTestSupport.h"

using rastertest::At;
using rastertest::Clear;
using rastertest::CountNot;

namespace
{
constexpr float kPi = 3.1415927f;
constexpr LICE_pixel kBg = 0xFF000000u;
constexpr LICE_pixel kInk = 0xFFFFFFFFu;

struct Canvas : LICE_MemBitmap
{
  Canvas() : LICE_MemBitmap(101, 101, 4) { Clear(*this, kBg); }
};

bool SamePixels(LICE_IBitmap& a, LICE_IBitmap& b)
{
  for (int y = 0; y < a.getHeight(); ++y)
    for (int x = 0; x < a.getWidth(); ++x)
      if (At(a, x, y) != At(b, x, y)) return false;
  return true;
}

class FlippedCanvas : public LICE_MemBitmap
{
public:
  FlippedCanvas() : LICE_MemBitmap(101, 101, 4) { Clear(*this, kBg); }
  bool isFlipped() override { return true; }
};
} // namespace

TEST(Arc, QuarterFromZeroStaysInTheUpperRightQuadrant)
{
  for (bool aa : {true, false})
  {
    Canvas c;
    LICE_Arc(&c, 50, 50, 20, 0.0f, kPi / 2, kInk, 1.0f, 0, aa);
    int drawn = 0;
    for (int y = 0; y < 101; ++y)
      for (int x = 0; x < 101; ++x)
        if (At(c, x, y) != kBg)
        {
          ++drawn;
          EXPECT_GE(x, 50) << aa;
          EXPECT_LE(y, 50) << aa;
        }
    EXPECT_GT(drawn, 25) << aa;
    EXPECT_EQ(At(c, 50, 30), kInk) << aa;  // both end points are drawn
    EXPECT_EQ(At(c, 70, 50), kInk) << aa;
  }
}

TEST(Arc, OtherQuadrantsAndSpansAcrossThem)
{
  Canvas c;
  LICE_Arc(&c, 50, 50, 20, kPi / 2, kPi, kInk, 1.0f, 0, true);
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x)
      if (At(c, x, y) != kBg)
      {
        EXPECT_GE(x, 50);
        EXPECT_GE(y, 50);
      }
  EXPECT_EQ(At(c, 50, 70), kInk);

  // Negative angles come round: -pi/2..0 is the upper-left quadrant. Its end
  // at 2 pi is not integral in single precision (sin is about 1.7e-7), so
  // that piece's clip reaches one column further right.
  Canvas left;
  LICE_Arc(&left, 50, 50, 20, -kPi / 2, 0.0f, kInk, 1.0f, 0, true);
  EXPECT_GT(CountNot(left, kBg), 25);
  EXPECT_EQ(At(left, 30, 50), kInk);
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x)
      if (At(left, x, y) != kBg)
      {
        EXPECT_LE(x, 51);
        EXPECT_LE(y, 50);
      }

  // A knob-like sweep of 300 degrees leaves the bottom gap empty.
  Canvas knob;
  LICE_Arc(&knob, 50, 50, 21, -150.0f * kPi / 180, 150.0f * kPi / 180, kInk, 1.0f, 0, true);
  EXPECT_EQ(At(knob, 50, 71), kBg);
  EXPECT_EQ(At(knob, 50, 29), kInk);
  EXPECT_EQ(At(knob, 29, 50), kInk);
  EXPECT_EQ(At(knob, 71, 50), kInk);
}

TEST(Arc, SwappedAnglesDrawTheSameArc)
{
  Canvas a, b;
  LICE_Arc(&a, 40.3f, 55.7f, 17.4f, 0.3f, 2.9f, 0xFF80C0FFu, 0.8f, 0, true);
  LICE_Arc(&b, 40.3f, 55.7f, 17.4f, 2.9f, 0.3f, 0xFF80C0FFu, 0.8f, 0, true);
  EXPECT_TRUE(SamePixels(a, b));
  EXPECT_GT(CountNot(a, kBg), 0);
}

TEST(Arc, FullTurnOrMoreDrawsTheWholeCircle)
{
  Canvas circle, full, more;
  LICE_Circle(&circle, 50, 50, 20.5f, kInk, 0.9f, 0, true);
  LICE_Arc(&full, 50, 50, 20.5f, 0.0f, 2 * kPi, kInk, 0.9f, 0, true);
  LICE_Arc(&more, 50, 50, 20.5f, -1.0f, 9.0f, kInk, 0.9f, 0, true);
  EXPECT_TRUE(SamePixels(circle, full));
  EXPECT_TRUE(SamePixels(circle, more));
}

TEST(Arc, ZeroWeightAndEmptyBitmapsDrawNothing)
{
  Canvas c;
  LICE_Arc(&c, 50, 50, 20, 0.0f, 1.0f, kInk, 0.0f, 0, true);
  LICE_Arc(&c, 50, 50, 20, 0.0f, 1.0f, 0x00FFFFFFu, 1.0f, LICE_BLIT_USE_ALPHA, true);
  LICE_Circle(&c, 50, 50, 20, kInk, 0.001f, 0, false);
  EXPECT_EQ(CountNot(c, kBg), 0);
  LICE_MemBitmap empty;
  LICE_Arc(&empty, 50, 50, 20, 0.0f, 1.0f, kInk, 1.0f, 0, true);
  LICE_Arc(nullptr, 50, 50, 20, 0.0f, 1.0f, kInk, 1.0f, 0, true);
}

TEST(Arc, FlippedBitmapKeepsTheArcWhereTheImageShowsIt)
{
  FlippedCanvas c;
  LICE_Arc(&c, 50, 50, 20, 0.0f, kPi / 2, kInk, 1.0f, 0, true);
  int drawn = 0;
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x)
      if (At(c, x, 100 - y) != kBg) // image row y is stored row 100 - y
      {
        ++drawn;
        EXPECT_GE(x, 50);
        EXPECT_LE(y, 50);
      }
  EXPECT_GT(drawn, 25);
}

TEST(Circle, AntialiasedCoverageIsSymmetricInAllOctants)
{
  for (float r : {20.0f, 17.3f, 8.5f, 33.71f, 2.2f})
  {
    Canvas c;
    LICE_Circle(&c, 50, 50, r, kInk, 1.0f, 0, true);
    int drawn = 0;
    for (int b = -45; b <= 45; ++b)
      for (int a = -45; a <= 45; ++a)
      {
        const LICE_pixel p = At(c, 50 + a, 50 + b);
        drawn += p != kBg;
        ASSERT_EQ(p, At(c, 50 - a, 50 + b)) << r << " " << a << "," << b;
        ASSERT_EQ(p, At(c, 50 + a, 50 - b)) << r << " " << a << "," << b;
        ASSERT_EQ(p, At(c, 50 + b, 50 + a)) << r << " " << a << "," << b;
        // Only pixels near the radius are touched.
        if (p != kBg)
        {
          const float d = std::sqrt(static_cast<float>(a * a + b * b));
          EXPECT_LT(std::fabs(d - r), 1.5f) << r << " " << a << "," << b;
        }
      }
    EXPECT_GT(drawn, static_cast<int>(2 * kPi * r)) << r;
  }
}

TEST(Circle, AntialiasedAxisPointsShareTheWeightByTheRadiusFraction)
{
  Canvas c;
  LICE_Circle(&c, 50, 50, 20.25f, kInk, 1.0f, 0, true);
  // Distance 20 gets 0.75 (w = 192, the exact three-quarter blend), 21 gets
  // 0.25 (w = 64); both shortcuts work on whole pixels, alpha byte included.
  EXPECT_EQ(At(c, 50, 30), 0xFDBEBEBEu);
  EXPECT_EQ(At(c, 71, 50), 0xFD3F3F3Fu);
  EXPECT_EQ(At(c, 50, 28), kBg);
}

TEST(Circle, PlainOutlineIsTheMidpointCircleOfTheRoundedRadius)
{
  Canvas c;
  LICE_Circle(&c, 50.4f, 49.6f, 9.6f, kInk, 1.0f, 0, false);
  // Centre (50, 50), radius 10; every pixel at full ink and close to radius 10.
  EXPECT_EQ(At(c, 60, 50), kInk);
  EXPECT_EQ(At(c, 50, 40), kInk);
  EXPECT_EQ(At(c, 43, 43), kInk);
  int drawn = 0;
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x)
    {
      const LICE_pixel p = At(c, x, y);
      if (p == kBg) continue;
      ++drawn;
      EXPECT_EQ(p, kInk);
      const float d = std::hypot(static_cast<float>(x - 50), static_cast<float>(y - 50));
      EXPECT_LT(std::fabs(d - 10.0f), 0.75f);
      EXPECT_EQ(At(c, 100 - x, y), kInk);
      EXPECT_EQ(At(c, y, x), kInk);
    }
  // The midpoint circle of radius 10 has 8 octants of 8 steps, 4 pixels shared.
  EXPECT_EQ(drawn, 56);
}

TEST(Circle, PixelsAreBlendedOnceEvenWhereOctantsMeet)
{
  // At half weight the shortcut is exact: a pixel blended twice would show
  // a quarter of the background instead of a half.
  Canvas c;
  LICE_Circle(&c, 50, 50, 10, kInk, 0.5f, 0, false);
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x)
    {
      const LICE_pixel p = At(c, x, y);
      if (p != kBg)
      {
        EXPECT_EQ(p, 0xFE7F7F7Fu) << x << "," << y;
      }
    }
}

TEST(Circle, ClipsAtTheBitmapEdges)
{
  LICE_MemBitmap small(10, 10, 4);
  Clear(small, kBg);
  LICE_Circle(&small, 0, 0, 6.5f, kInk, 1.0f, 0, true);
  LICE_Circle(&small, 9, 9, 30, kInk, 1.0f, 0, true);
  LICE_Circle(&small, -100, 5, 3, kInk, 1.0f, 0, true);
  EXPECT_GT(CountNot(small, kBg), 0);
}

TEST(Circle, UnreasonableRadiiDrawNothing)
{
  Canvas c;
  LICE_Circle(&c, 50, 50, -3.0f, kInk, 1.0f, 0, true);
  LICE_Circle(&c, 50, 50, std::nanf(""), kInk, 1.0f, 0, false);
  LICE_Circle(&c, 50, 50, 1e20f, kInk, 1.0f, 0, true);
  LICE_Arc(&c, 50, 50, 1e20f, 0.0f, 1.0f, kInk, 1.0f, 0, false);
  LICE_Arc(&c, 50, 50, 20.0f, std::nanf(""), 1.0f, kInk, 1.0f, 0, true);
  EXPECT_EQ(CountNot(c, kBg), 0);
  // A radius of zero is a single pixel.
  LICE_Circle(&c, 50, 50, 0.0f, kInk, 1.0f, 0, false);
  EXPECT_EQ(CountNot(c, kBg), 1);
}

TEST(Circle, CentresFarOutsideTheBitmapDrawNothing)
{
  // Rounded to pixels these centres lie at or near the ends of the int range,
  // where adding the radius would overflow.
  const float inf = std::numeric_limits<float>::infinity();
  const float far[] = {2147483000.0f, -2147483000.0f, 3e9f, -3e9f, inf, -inf, std::nanf("")};
  Canvas c;
  for (float v : far)
    for (bool aa : {true, false})
    {
      LICE_Circle(&c, v, 50, 1000, kInk, 1.0f, 0, aa);
      LICE_Circle(&c, 50, v, 1000, kInk, 1.0f, 0, aa);
      LICE_Arc(&c, v, 50, 1000, 0.5f, 2.5f, kInk, 1.0f, 0, aa);
      LICE_Arc(&c, 50, v, 1000, -2.5f, 2.5f, kInk, 1.0f, 0, aa);
    }
  EXPECT_EQ(CountNot(c, kBg), 0);
}
