#include <cstring>

#include <gtest/gtest.h>

#include "tests/raster/PlatformRaster.h"

void ExpectPlatformSurface(LICE_SysBitmap& bm)
{
  EXPECT_EQ(bm.getDC(), nullptr);
}

const char* ExpectedFamilyFor(const char* windowsName)
{
  if (std::strcmp(windowsName, "Arial") == 0) return "Liberation Sans";
  if (std::strcmp(windowsName, "Verdana") == 0) return "DejaVu Sans";
  return nullptr;
}
