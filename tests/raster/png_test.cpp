#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "tests/raster/RasterTestSupport.h"

using rastertest::At;
using rastertest::EncodePng;
using rastertest::PatternRgba;
using rastertest::PngSpec;

namespace
{
std::unique_ptr<LICE_IBitmap> Load(const std::vector<uint8_t>& bytes)
{
  return std::unique_ptr<LICE_IBitmap>(LICE_LoadPNGFromMemory(bytes.data(), bytes.size()));
}

PngSpec Rgb3x2()
{
  PngSpec s;
  s.width = 3;
  s.height = 2;
  s.colorType = PNG_COLOR_TYPE_RGB;
  s.rows = {{10, 20, 30, 40, 50, 60, 70, 80, 90}, {255, 0, 0, 0, 255, 0, 0, 0, 255}};
  return s;
}

// Writes new width and height into an encoded PNG's header, with its CRC.
std::vector<uint8_t> WithDeclaredSize(std::vector<uint8_t> png, uint32_t w, uint32_t h)
{
  auto put = [&](size_t at, uint32_t v) {
    png[at] = static_cast<uint8_t>(v >> 24);
    png[at + 1] = static_cast<uint8_t>(v >> 16);
    png[at + 2] = static_cast<uint8_t>(v >> 8);
    png[at + 3] = static_cast<uint8_t>(v);
  };
  put(16, w); // signature 8, length 4, "IHDR" 4
  put(20, h);
  put(29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
  return png;
}
} // namespace

TEST(PngLoad, RgbGetsOpaqueAlpha)
{
  auto bm = Load(EncodePng(Rgb3x2()));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(bm->getWidth(), 3);
  EXPECT_EQ(bm->getHeight(), 2);
  EXPECT_EQ(bm->getRowSpan(), 4); // a new bitmap has line alignment 4
  EXPECT_EQ(At(*bm, 0, 0), LICE_RGBA(10, 20, 30, 255));
  EXPECT_EQ(At(*bm, 2, 0), LICE_RGBA(70, 80, 90, 255));
  EXPECT_EQ(At(*bm, 0, 1), LICE_RGBA(255, 0, 0, 255));
  EXPECT_EQ(At(*bm, 2, 1), LICE_RGBA(0, 0, 255, 255));
}

TEST(PngLoad, RgbaKeepsStraightAlpha)
{
  auto bm = Load(EncodePng(PatternRgba(9, 7, 3)));
  ASSERT_NE(bm, nullptr);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(At(*bm, x, y), LICE_RGBA(x * 16 + 3, y * 16, 255 - x - y, 255 - x * 8)) << x << "," << y;
}

TEST(PngLoad, InterlacedDecodesToTheSamePixels)
{
  PngSpec s = PatternRgba(13, 11, 5);
  auto plain = Load(EncodePng(s));
  s.interlaced = true;
  const std::vector<uint8_t> bytes = EncodePng(s);
  auto interlaced = Load(bytes);
  ASSERT_TRUE(plain && interlaced);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(At(*interlaced, x, y), At(*plain, x, y));
}

TEST(PngLoad, PaletteTransparencyBecomesAlpha)
{
  PngSpec s;
  s.width = 4;
  s.height = 1;
  s.bitDepth = 2;
  s.colorType = PNG_COLOR_TYPE_PALETTE;
  s.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7};
  s.trns = {0, 128}; // entries 2 and 3 stay opaque
  s.rows = {{0x1B}};  // indices 0, 1, 2, 3 at two bits each
  auto bm = Load(EncodePng(s));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(At(*bm, 0, 0), LICE_RGBA(255, 0, 0, 0));
  EXPECT_EQ(At(*bm, 1, 0), LICE_RGBA(0, 255, 0, 128));
  EXPECT_EQ(At(*bm, 2, 0), LICE_RGBA(0, 0, 255, 255));
  EXPECT_EQ(At(*bm, 3, 0), LICE_RGBA(9, 8, 7, 255));
}

TEST(PngLoad, GreyscaleVariantsExpandToRgb)
{
  PngSpec g16;
  g16.width = 2;
  g16.height = 1;
  g16.bitDepth = 16;
  g16.colorType = PNG_COLOR_TYPE_GRAY;
  g16.rows = {{0x12, 0x34, 0xFF, 0x01}};
  auto a = Load(EncodePng(g16));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(At(*a, 0, 0), LICE_RGBA(0x12, 0x12, 0x12, 255));
  EXPECT_EQ(At(*a, 1, 0), LICE_RGBA(0xFF, 0xFF, 0xFF, 255));

  PngSpec ga;
  ga.width = 2;
  ga.height = 1;
  ga.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.rows = {{50, 200, 7, 0}};
  auto b = Load(EncodePng(ga));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(At(*b, 0, 0), LICE_RGBA(50, 50, 50, 200));
  EXPECT_EQ(At(*b, 1, 0), LICE_RGBA(7, 7, 7, 0));

  PngSpec g1;
  g1.width = 3;
  g1.height = 1;
  g1.bitDepth = 1;
  g1.colorType = PNG_COLOR_TYPE_GRAY;
  g1.rows = {{0xA0}}; // 1, 0, 1
  auto c = Load(EncodePng(g1));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(At(*c, 0, 0), LICE_RGBA(255, 255, 255, 255));
  EXPECT_EQ(At(*c, 1, 0), LICE_RGBA(0, 0, 0, 255));
}

TEST(PngLoad, IntoAGivenBitmapResizesIt)
{
  LICE_MemBitmap bm(50, 40, 1);
  LICE_IBitmap* got = LICE_LoadPNGFromMemory(EncodePng(Rgb3x2()).data(), EncodePng(Rgb3x2()).size(), &bm);
  EXPECT_EQ(got, &bm);
  EXPECT_EQ(bm.getWidth(), 3);
  EXPECT_EQ(bm.getHeight(), 2);
  EXPECT_EQ(bm.getRowSpan(), 3);
  EXPECT_EQ(At(bm, 1, 0), LICE_RGBA(40, 50, 60, 255));
}

TEST(PngLoad, WrongSignatureNeverReachesTheDecoder)
{
  std::vector<uint8_t> bytes = EncodePng(Rgb3x2());
  bytes[1] = 'Q';
  const int before = LICE_PNGDecoderStarts();
  EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), bytes.size()), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), 7), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(nullptr, 100), nullptr);
  EXPECT_EQ(LICE_PNGDecoderStarts(), before);
}

TEST(PngLoad, TruncatedDataFailsCleanly)
{
  const std::vector<uint8_t> bytes = EncodePng(PatternRgba(20, 20, 1));
  for (size_t cut : {size_t(8), size_t(20), size_t(33), bytes.size() / 2, bytes.size() - 13})
  {
    EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), cut), nullptr) << cut;
    LICE_MemBitmap given(2, 2, 4);
    EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), cut, &given), nullptr) << cut;
  }
  // Corrupt image data is an error too, not garbage.
  std::vector<uint8_t> corrupt = bytes;
  for (size_t i = 45; i < corrupt.size() - 20; i += 7) corrupt[i] ^= 0x5A;
  EXPECT_EQ(LICE_LoadPNGFromMemory(corrupt.data(), corrupt.size()), nullptr);
}

TEST(PngLoad, OversizeHeaderIsRefusedBeforeAllocating)
{
  const std::vector<uint8_t> small = EncodePng(Rgb3x2());
  for (auto wh : {std::pair<uint32_t, uint32_t>{16385, 2}, {3, 16385}, {100000, 100000}, {0x7FFFFFFF, 0x7FFFFFFF}})
  {
    const std::vector<uint8_t> big = WithDeclaredSize(small, wh.first, wh.second);
    LICE_MemBitmap given(2, 2, 4);
    EXPECT_EQ(LICE_LoadPNGFromMemory(big.data(), big.size(), &given), nullptr) << wh.first;
    // The given bitmap was never resized toward the declared size.
    EXPECT_EQ(given.getWidth(), 2);
    EXPECT_EQ(given.getAllocSize(), 2 * 4 * 4);
  }
  // The limit itself is accepted (declared; the data then runs short).
  const std::vector<uint8_t> edge = WithDeclaredSize(small, 16384, 1);
  LICE_MemBitmap given(2, 2, 4);
  EXPECT_EQ(LICE_LoadPNGFromMemory(edge.data(), edge.size(), &given), nullptr);
  EXPECT_EQ(given.getWidth(), 16384);
}

TEST(PngLoad, FromFile)
{
  const std::string path = ::testing::TempDir() + "kestrane_png_test.png";
  ASSERT_TRUE(rastertest::WriteFile(path, EncodePng(PatternRgba(5, 4, 9))));
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNG(path.c_str()));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(At(*bm, 4, 3), LICE_RGBA(4 * 16 + 9, 48, 255 - 7, 255 - 32));
  std::remove(path.c_str());

  EXPECT_EQ(LICE_LoadPNG(path.c_str()), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr), nullptr);
  const std::string junk = ::testing::TempDir() + "kestrane_png_junk.png";
  ASSERT_TRUE(rastertest::WriteFile(junk, {1, 2, 3}));
  EXPECT_EQ(LICE_LoadPNG(junk.c_str()), nullptr);
  const std::vector<uint8_t> bytes = EncodePng(PatternRgba(20, 20, 1));
  ASSERT_TRUE(rastertest::WriteFile(junk, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 60)));
  EXPECT_EQ(LICE_LoadPNG(junk.c_str()), nullptr);
  std::remove(junk.c_str());
}
