#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <png.h>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGWrite.h"
#include "tests/raster/RasterTestSupport.h"

namespace fs = std::filesystem;
using rastertest::At;
using rastertest::PngHeader;
using rastertest::ReadPngHeader;

namespace
{

// A folder of its own per test, removed afterwards.
class PngWrite : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    mDir = fs::temp_directory_path() / (std::string("kestrane-pngwrite-") + info->name());
    fs::remove_all(mDir);
    fs::create_directories(mDir);
  }
  void TearDown() override { fs::remove_all(mDir); }
  std::string Path(const char* name) const { return (mDir / name).string(); }
  int FilesInDir() const
  {
    int n = 0;
    for (const auto& e : fs::directory_iterator(mDir)) n += e.is_regular_file();
    return n;
  }
  fs::path mDir;
};

// Every channel varies, alpha includes 0 and 255 and colours under alpha 0.
void FillPattern(LICE_IBitmap& bm)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      At(bm, x, y) = LICE_RGBA(x * 40 + 3, y * 50 + 7, 255 - x * 9 - y, (x * 85 + y * 60) % 256);
}

class FlippedBitmap : public LICE_MemBitmap
{
public:
  using LICE_MemBitmap::LICE_MemBitmap;
  bool isFlipped() override { return true; }
};
} // namespace

TEST_F(PngWrite, RgbaRoundTripsExactlyWithStraightAlpha)
{
  LICE_MemBitmap bm(7, 5);
  FillPattern(bm);
  const std::string path = Path("a.png");
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &bm, true));

  PngHeader h;
  ASSERT_TRUE(ReadPngHeader(path, &h));
  EXPECT_EQ(h.width, 7u);
  EXPECT_EQ(h.height, 5u);
  EXPECT_EQ(h.bitDepth, 8);
  EXPECT_EQ(h.colorType, PNG_COLOR_TYPE_RGB_ALPHA);
  EXPECT_EQ(h.interlace, PNG_INTERLACE_NONE);

  std::unique_ptr<LICE_IBitmap> back(LICE_LoadPNG(path.c_str()));
  ASSERT_NE(back, nullptr);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(At(*back, x, y), At(bm, x, y)) << x << "," << y;
}

TEST_F(PngWrite, RgbDropsAlpha)
{
  LICE_MemBitmap bm(6, 3);
  FillPattern(bm);
  const std::string path = Path("b.png");
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &bm, false));

  PngHeader h;
  ASSERT_TRUE(ReadPngHeader(path, &h));
  EXPECT_EQ(h.colorType, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(h.bitDepth, 8);

  std::unique_ptr<LICE_IBitmap> back(LICE_LoadPNG(path.c_str()));
  ASSERT_NE(back, nullptr);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x)
    {
      const LICE_pixel p = At(bm, x, y);
      EXPECT_EQ(At(*back, x, y), LICE_RGBA(LICE_GETR(p), LICE_GETG(p), LICE_GETB(p), 255)) << x << "," << y;
    }
}

TEST_F(PngWrite, FlippedBitmapIsWrittenTopRowFirst)
{
  FlippedBitmap bm(2, 3);
  rastertest::Clear(bm, LICE_RGBA(0, 0, 0, 255));
  At(bm, 0, 0) = LICE_RGBA(255, 0, 0, 255); // stored first: the bottom row
  const std::string path = Path("f.png");
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &bm, false));
  std::unique_ptr<LICE_IBitmap> back(LICE_LoadPNG(path.c_str()));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(At(*back, 0, 2), LICE_RGBA(255, 0, 0, 255));
  EXPECT_EQ(At(*back, 0, 0), LICE_RGBA(0, 0, 0, 255));
}

TEST_F(PngWrite, ReplacesTheTargetAndLeavesNoTemporaryFile)
{
  const std::string path = Path("c.png");
  LICE_MemBitmap big(40, 40), small(2, 2);
  FillPattern(big);
  FillPattern(small);
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &big, true));
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &small, true));
  PngHeader h;
  ASSERT_TRUE(ReadPngHeader(path, &h));
  EXPECT_EQ(h.width, 2u);
  EXPECT_EQ(FilesInDir(), 1);
}

TEST_F(PngWrite, FailuresWriteNothing)
{
  LICE_MemBitmap bm(3, 3), empty;
  FillPattern(bm);
  EXPECT_FALSE(LICE_WritePNG(Path("missing/x.png").c_str(), &bm, true));
  EXPECT_FALSE(LICE_WritePNG(Path("e.png").c_str(), &empty, true));
  EXPECT_FALSE(LICE_WritePNG(Path("n.png").c_str(), nullptr, true));
  EXPECT_FALSE(LICE_WritePNG(nullptr, &bm, true));
  EXPECT_FALSE(LICE_WritePNG("", &bm, true));
  // The target is a folder: the rename fails and the temporary goes away.
  fs::create_directories(mDir / "d.png" / "inside");
  EXPECT_FALSE(LICE_WritePNG(Path("d.png").c_str(), &bm, true));
  EXPECT_EQ(FilesInDir(), 0);
}
