#include <cstdint>

#include <gtest/gtest.h>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_SysBitmap.h"
#include "tests/raster/PlatformRaster.h"

TEST(PixelPacking, ChannelsByNameFollowTheByteOrderBgra)
{
  const LICE_pixel p = LICE_RGBA(0x11, 0x22, 0x33, 0x44);
  EXPECT_EQ(LICE_GETR(p), 0x11u);
  EXPECT_EQ(LICE_GETG(p), 0x22u);
  EXPECT_EQ(LICE_GETB(p), 0x33u);
  EXPECT_EQ(LICE_GETA(p), 0x44u);
  // On this platform the value is A<<24 | R<<16 | G<<8 | B, bytes B G R A.
  EXPECT_EQ(p, 0x44112233u);
}

TEST(MemBitmap, RowSpanFollowsLineAlignment)
{
  LICE_MemBitmap a4(13, 2, 4);
  EXPECT_EQ(a4.getRowSpan(), 16);
  LICE_MemBitmap a1(13, 2, 1);
  EXPECT_EQ(a1.getRowSpan(), 13);
  LICE_MemBitmap a0(13, 2, 0);
  EXPECT_EQ(a0.getRowSpan(), 13);
  // Only the lowest set bit of the alignment counts.
  LICE_MemBitmap a12(13, 2, 12);
  EXPECT_EQ(a12.getRowSpan(), 16);
  // Alignments beyond 16 are 16, and spans stay multiples of it.
  LICE_MemBitmap a64(17, 2, 64);
  EXPECT_EQ(a64.getRowSpan(), 32);
  LICE_MemBitmap a16(16, 1, 16);
  EXPECT_EQ(a16.getRowSpan(), 16);
}

TEST(MemBitmap, PixelPointerIs64ByteAlignedAndWritable)
{
  for (int w = 1; w < 40; w += 7)
  {
    LICE_MemBitmap bm(w, 3, 4);
    ASSERT_NE(bm.getBits(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bm.getBits()) % 64, 0u);
    // The whole span x height is usable (the sanitizer build checks this).
    for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i) bm.getBits()[i] = 0xFFFFFFFFu;
  }
}

TEST(MemBitmap, ResizeReusesGrowsAndFrees)
{
  LICE_MemBitmap bm(10, 10, 4);
  EXPECT_EQ(bm.getAllocSize(), 12 * 10 * 4);
  EXPECT_FALSE(bm.resize(10, 10));

  // Smaller: same storage, no shrink.
  LICE_pixel* before = bm.getBits();
  EXPECT_TRUE(bm.resize(4, 4));
  EXPECT_EQ(bm.getBits(), before);
  EXPECT_EQ(bm.getAllocSize(), 480);
  EXPECT_EQ(bm.getWidth(), 4);
  EXPECT_EQ(bm.getRowSpan(), 4);

  // Larger: grows with a quarter to spare.
  EXPECT_TRUE(bm.resize(20, 20));
  EXPECT_EQ(bm.getAllocSize(), 1600 + 400);
  EXPECT_EQ(bm.getWidth(), 20);

  EXPECT_TRUE(bm.resize(0, 0));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getAllocSize(), 0);
  EXPECT_EQ(bm.getWidth(), 0);
}

TEST(MemBitmap, SizesThatDoNotFitAreRefusedNotWrapped)
{
  // 65536 x 65536 x 4 bytes is 16 GiB; computed in int it wraps to 0 and a
  // later write would run past a tiny buffer.
  LICE_MemBitmap bm(65536, 65536, 4);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_EQ(bm.getAllocSize(), 0);

  // 0x40000001 x 2 x 4 wraps to a small positive number in 32 bits.
  LICE_MemBitmap wraps(8, 8, 1);
  EXPECT_TRUE(wraps.resize(0x40000001, 2));
  EXPECT_EQ(wraps.getBits(), nullptr);
  EXPECT_EQ(wraps.getWidth(), 0);

  // A width near INT_MAX must not wrap in the alignment rounding either.
  LICE_MemBitmap wide(1, 1, 16);
  EXPECT_TRUE(wide.resize(0x7FFFFFFF, 1));
  EXPECT_EQ(wide.getBits(), nullptr);
  EXPECT_EQ(wide.getRowSpan(), 0);
}

TEST(MemBitmap, NonPositiveSizesLeaveAnEmptyBitmap)
{
  LICE_MemBitmap bm(0, 0, 4);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_TRUE(bm.resize(-5, 10));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
}

TEST(SysBitmap, RowSpanIsWidthRoundedToFour)
{
  LICE_SysBitmap bm(13, 5);
  EXPECT_EQ(bm.getRowSpan(), 16);
  EXPECT_EQ(bm.getAllocWidth(), 16);
  EXPECT_FALSE(bm.isFlipped());
  ExpectPlatformSurface(bm);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bm.getBits()) % 64, 0u);
  // A new surface starts cleared.
  for (int i = 0; i < 16 * 5; ++i) EXPECT_EQ(bm.getBits()[i], 0u);
}

TEST(SysBitmap, ShrinkingReusesTheSurfaceGrowingReplacesIt)
{
  LICE_SysBitmap bm(388, 470);
  LICE_pixel* bits = bm.getBits();
  EXPECT_FALSE(bm.resize(388, 470));
  EXPECT_TRUE(bm.resize(100, 50));
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_EQ(bm.getWidth(), 100);
  EXPECT_EQ(bm.getRowSpan(), 388);
  EXPECT_EQ(bm.getAllocHeight(), 470);

  EXPECT_TRUE(bm.resize(389, 10));
  EXPECT_EQ(bm.getRowSpan(), 392);
  EXPECT_EQ(bm.getAllocHeight(), 10);

  EXPECT_TRUE(bm.resize(0, 10));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getRowSpan(), 0);

  LICE_SysBitmap huge(70000, 70000);
  EXPECT_EQ(huge.getBits(), nullptr);
  EXPECT_EQ(huge.getWidth(), 0);
}
