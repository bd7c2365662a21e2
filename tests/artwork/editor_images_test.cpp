// The editor's images as committed in resources/img/ and compiled into the
// plug-in: the sizes, frame layouts and PNG kinds the controls are built on.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/raster/RasterTestSupport.h"
#include <png.h>

#include "raster/EditorImages.h"
#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"

namespace
{
struct Expected
{
  int id;
  const char* file;
  int width, height;
  int colorType;
  int frames;
  bool vertical;
};

const Expected kExpected[] = {
    {kImageBackground, "bg.png", 388, 470, PNG_COLOR_TYPE_RGB, 1, true},
    {kImageKnob, "knob.png", 108, 54, PNG_COLOR_TYPE_RGB_ALPHA, 2, false},
    {kImageWave, "wave.png", 180, 30, PNG_COLOR_TYPE_RGB_ALPHA, 6, false},
    {kImageFilterType, "flt_tp.png", 28, 39, PNG_COLOR_TYPE_RGB, 3, true},
    {kImageTargetFace, "lfo1_tg.png", 44, 60, PNG_COLOR_TYPE_RGB_ALPHA, 5, true},
    {kImageTargetList, "lfo1_tg_.png", 44, 60, PNG_COLOR_TYPE_RGB, 1, true},
    {kImageEnvDirection, "adsr_tp.png", 50, 16, PNG_COLOR_TYPE_RGB, 1, true},
    {kImageSlider, "slider.png", 16, 16, PNG_COLOR_TYPE_RGB_ALPHA, 1, true},
    {kImageEnvCompensation, "comp.png", 39, 69, PNG_COLOR_TYPE_RGB_ALPHA, 3, true},
    {kImageLfoCompensation, "comp2.png", 33, 69, PNG_COLOR_TYPE_RGB_ALPHA, 3, true},
    {kImageRoutingMap, "map.png", 168, 39, PNG_COLOR_TYPE_RGB, 6, false},
    {kImageSync, "sync.png", 34, 18, PNG_COLOR_TYPE_RGB, 1, true},
    {kImageChild, "child.png", 34, 22, PNG_COLOR_TYPE_RGB, 1, true},
};

std::string PathOf(const char* file)
{
  return std::string(KESTRANE_IMAGE_DIR) + "/" + file;
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}


std::unique_ptr<LICE_IBitmap> LoadById(int id)
{
  return std::unique_ptr<LICE_IBitmap>(LICE_LoadPNGFromResource(nullptr, id));
}

LICE_pixel At(LICE_IBitmap& bm, int x, int y)
{
  return bm.getBits()[static_cast<long long>(y) * bm.getRowSpan() + x];
}

bool SameFrame(LICE_IBitmap& bm, int w, int h, int ax, int ay, int bx, int by)
{
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (At(bm, ax + x, ay + y) != At(bm, bx + x, by + y)) return false;
  return true;
}
} // namespace

TEST(EditorImages, FilesHaveTheSizesAndPngKindsTheControlsNeed)
{
  for (const Expected& e : kExpected)
  {
    rastertest::PngHeader h;
    ASSERT_TRUE(rastertest::ReadPngHeader(PathOf(e.file), &h)) << e.file;
    EXPECT_EQ(h.width, static_cast<png_uint_32>(e.width)) << e.file;
    EXPECT_EQ(h.height, static_cast<png_uint_32>(e.height)) << e.file;
    EXPECT_EQ(h.bitDepth, 8) << e.file;
    EXPECT_EQ(h.colorType, e.colorType) << e.file;
    EXPECT_EQ(h.interlace, PNG_INTERLACE_NONE) << e.file;
  }
}

TEST(EditorImages, CompiledInByIdAndByNameAsCommitted)
{
  ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), static_cast<size_t>(kEditorImageCount));
  for (const Expected& e : kExpected)
  {
    const ResourceImage* byId = ResourceImage::ById(e.id);
    ASSERT_NE(byId, nullptr) << e.file;
    EXPECT_EQ(byId, ResourceImage::ByName((std::string("../img/") + e.file).c_str())) << e.file;
    // The build embedded the committed bytes, not an older picture.
    const std::vector<unsigned char> file = ReadFile(PathOf(e.file));
    ASSERT_EQ(byId->size, file.size()) << e.file << ": re-run cmake to embed the current images";
    EXPECT_EQ(std::memcmp(byId->data, file.data(), file.size()), 0) << e.file;

    auto bm = LoadById(e.id);
    ASSERT_NE(bm, nullptr) << e.file;
    EXPECT_EQ(bm->getWidth(), e.width) << e.file;
    EXPECT_EQ(bm->getHeight(), e.height) << e.file;
  }
}

TEST(EditorImages, EveryFrameOfASwitchOrListLooksDifferent)
{
  for (const Expected& e : kExpected)
  {
    if (e.frames < 2) continue;
    auto bm = LoadById(e.id);
    ASSERT_NE(bm, nullptr) << e.file;
    const int fw = e.vertical ? e.width : e.width / e.frames;
    const int fh = e.vertical ? e.height / e.frames : e.height;
    for (int a = 0; a < e.frames; ++a)
      for (int b = 0; b < a; ++b)
        EXPECT_FALSE(SameFrame(*bm, fw, fh, e.vertical ? 0 : a * fw, e.vertical ? a * fh : 0, e.vertical ? 0 : b * fw,
                               e.vertical ? b * fh : 0))
            << e.file << " frames " << b + 1 << " and " << a + 1;
  }
}

// The value ring (radius 21, up to 3.9 wide) is drawn before the knob image,
// around the pixel (27, 27) of the fixed frame; the turning frame turns about
// the image's middle and moves by up to about 2 pixels on its way round, so
// it must stay clear of the ring by that much more.
TEST(EditorImages, KnobLeavesTheRingZoneClearAndPointsUp)
{
  auto knob = LoadById(kImageKnob);
  ASSERT_NE(knob, nullptr);
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 54; ++x)
    {
      const double fixed = std::hypot(x + 0.5 - 27.5, y + 0.5 - 27.5);
      const double turning = std::hypot(x + 0.5 - 27.0, y + 0.5 - 27.0);
      if (fixed >= 20.5)
      {
        EXPECT_EQ(LICE_GETA(At(*knob, 54 + x, y)), 0u) << "fixed frame " << x << "," << y;
      }
      if (turning >= 18.5)
      {
        EXPECT_EQ(LICE_GETA(At(*knob, x, y)), 0u) << "turning frame " << x << "," << y;
      }
    }

  // The pointer: bright at 12 o'clock, nowhere near as bright at 6.
  auto brightness = [&](int x, int y) {
    const LICE_pixel p = At(*knob, x, y);
    return static_cast<int>(LICE_GETR(p) + LICE_GETG(p) + LICE_GETB(p)) * static_cast<int>(LICE_GETA(p)) / 255;
  };
  EXPECT_GT(brightness(26, 17), 600);
  EXPECT_LT(brightness(26, 37), 300);
  EXPECT_LT(brightness(17, 27), 300);
}

// Images without alpha cover their whole rectangle; drawn over the panel
// at their place, their corners must be the panel itself.
TEST(EditorImages, OpaqueControlImagesBlendIntoTheBackgroundAtTheirCorners)
{
  struct Place
  {
    int id, x, y, frameW, frameH, frames;
  };
  const Place places[] = {{kImageFilterType, 334, 98, 28, 39, 1}, {kImageEnvDirection, 141, 261, 50, 16, 1},
                          {kImageRoutingMap, 26, 98, 28, 39, 6},  {kImageSync, 41, 379, 34, 18, 1},
                          {kImageChild, 41, 399, 34, 22, 1}};
  auto bg = LoadById(kImageBackground);
  ASSERT_NE(bg, nullptr);
  for (const Place& p : places)
  {
    auto img = LoadById(p.id);
    ASSERT_NE(img, nullptr);
    for (int f = 0; f < p.frames; ++f)
      for (int corner = 0; corner < 4; ++corner)
      {
        const int cx = (corner & 1) ? p.frameW - 1 : 0, cy = (corner & 2) ? p.frameH - 1 : 0;
        EXPECT_EQ(At(*img, f * p.frameW + cx, cy), At(*bg, p.x + cx, p.y + cy))
            << "image " << p.id << " frame " << f + 1 << " corner " << corner;
      }
  }
}
