#include <windows.h>

#include <gtest/gtest.h>

#include "tests/raster/PlatformRaster.h"

void ExpectPlatformSurface(LICE_SysBitmap& bm)
{
  HDC dc = static_cast<HDC>(bm.getDC());
  ASSERT_NE(dc, nullptr);
  // The DIB section selected into the context is these very pixels, stored
  // top-down with the allocated width as its row length.
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmBits, bm.getBits());
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(dib.dsBm.bmWidth, bm.getAllocWidth());
  EXPECT_EQ(dib.dsBm.bmHeight, bm.getAllocHeight());
  // Top-down: what GDI draws at the top left is the first stored pixel.
  SetPixel(dc, 0, 0, RGB(10, 20, 30));
  GdiFlush();
  EXPECT_EQ(bm.getBits()[0] & 0xFFFFFFu, 0x0A141Eu);
  bm.getBits()[0] = 0;
}

const char* ExpectedFamilyFor(const char*)
{
  return nullptr;
}
