// The artwork tool's drawing helpers: coverage, compositing and text.
#include <cmath>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tools/kestrane-artwork/Canvas.h"
#include "tools/kestrane-artwork/Text.h"

using namespace art;

namespace
{
float TotalAlpha(const Canvas& c)
{
  float sum = 0.0f;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) sum += c.Get(x, y).a;
  return sum;
}
} // namespace

TEST(ArtworkDraw, ShapesCoverTheirAreaWithSoftEdges)
{
  Canvas c(40, 40);
  c.Fill(Circle(20.0f, 20.0f, 12.3f), Solid(Rgb(255, 255, 255)));
  EXPECT_NEAR(TotalAlpha(c), 3.14159f * 12.3f * 12.3f, 3.0f);
  // Inside, outside and a partly covered edge pixel.
  EXPECT_FLOAT_EQ(c.Get(20, 20).a, 1.0f);
  EXPECT_FLOAT_EQ(c.Get(2, 2).a, 0.0f);
  const float edge = c.Get(32, 20).a; // its centre lies 0.2 beyond the edge
  EXPECT_GT(edge, 0.0f);
  EXPECT_LT(edge, 1.0f);

  Canvas r(20, 10);
  r.Fill(RoundRect(2, 2, 18, 8, 0), Solid(Rgb(0, 0, 0)));
  EXPECT_NEAR(TotalAlpha(r), 16.0f * 6.0f, 0.01f);
}

// Over a transparent pixel a partly covering colour keeps its own colour;
// a blend that treated the pixel as black would darken every soft edge.
TEST(ArtworkDraw, CompositingOverTransparencyKeepsTheColour)
{
  Canvas c(4, 1);
  c.Fill(RoundRect(0, 0, 4, 1, 0), Solid(Rgb(200, 100, 50, 0.5f)));
  const Rgba p = c.Get(1, 0);
  EXPECT_NEAR(p.r, 200.0f, 0.5f);
  EXPECT_NEAR(p.g, 100.0f, 0.5f);
  EXPECT_NEAR(p.a, 0.5f, 0.01f);

  // And over an opaque pixel it mixes.
  Canvas d(1, 1, Rgb(0, 0, 0));
  d.Fill(RoundRect(0, 0, 1, 1, 0), Solid(Rgb(200, 100, 50, 0.5f)));
  EXPECT_NEAR(d.Get(0, 0).r, 100.0f, 0.6f);
  EXPECT_NEAR(d.Get(0, 0).a, 1.0f, 0.01f);
}

TEST(ArtworkDraw, BlurSpreadsWithoutLosingCoverage)
{
  Mask m(41, 41);
  m.At(20, 20) = 1.0f;
  m.Blur(4.0f);
  float sum = 0.0f;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) sum += m.At(x, y);
  EXPECT_NEAR(sum, 1.0f, 1e-4f);
  EXPECT_LT(m.At(20, 20), 0.2f);
  EXPECT_GT(m.At(22, 20), 0.0f);
  EXPECT_NEAR(m.At(17, 20), m.At(23, 20), 1e-6f); // symmetric
}

TEST(ArtworkDraw, QuarterTurnAndBleed)
{
  Canvas c(3, 2);
  c.Set(2, 0, Rgb(255, 0, 0));
  const Canvas r = c.RotatedLeft();
  ASSERT_EQ(r.Width(), 2);
  ASSERT_EQ(r.Height(), 3);
  EXPECT_FLOAT_EQ(r.Get(0, 0).r, 255.0f); // the top-right corner comes to the top left

  c.BleedIntoTransparent();
  EXPECT_FLOAT_EQ(c.Get(0, 1).r, 255.0f);
  EXPECT_FLOAT_EQ(c.Get(0, 1).a, 0.0f);
}

TEST(ArtworkDraw, TextSitsOnItsBaselineAndAligns)
{
  const Font font{"DejaVu Sans", 12, false, 0.0f};
  const TextMetrics m = Measure(font, "Freq");
  EXPECT_GT(m.width, 15);
  EXPECT_LT(m.width, 40);
  EXPECT_GE(m.capHeight, 7);
  EXPECT_LE(m.capHeight, 10);
  EXPECT_GT(Measure(Font{"DejaVu Sans", 12, false, 2.0f}, "Freq").width, m.width + 5);

  Canvas c(60, 30);
  DrawText(c, font, "HH", 50.0f, 20, Align::Right, Solid(Rgb(255, 255, 255)));
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (c.Get(x, y).a > 0.5f)
      {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_EQ(maxY, 19);                    // capitals end on the baseline row
  EXPECT_NEAR(maxY - minY + 1, m.capHeight, 1);
  EXPECT_LE(maxX, 49);                    // right-aligned at x 50
  EXPECT_GE(maxX, 46);
}

TEST(ArtworkDraw, AMissingFontFamilyIsAnErrorNotASubstitute)
{
  EXPECT_THROW(Measure(Font{"No Such Family Kestrane", 10, false, 0.0f}, "x"), std::runtime_error);
}
