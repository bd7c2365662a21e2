// libFuzzer target: arbitrary bytes through the memory PNG loader, both into
// a new bitmap and into a given one. Any crash, leak or sanitizer report is a
// finding; decoded sizes must match what the loader reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (LICE_IBitmap* bm = LICE_LoadPNGFromMemory(data, size))
  {
    if (bm->getWidth() < 1 || bm->getHeight() < 1 || bm->getWidth() > static_cast<int>(LICE_PNG_MAX_DIMENSION) ||
        bm->getHeight() > static_cast<int>(LICE_PNG_MAX_DIMENSION))
      std::abort();
    // Touch the last pixel so a short buffer shows up under the sanitizer.
    volatile LICE_pixel last = bm->getBits()[(bm->getHeight() - 1) * bm->getRowSpan() + bm->getWidth() - 1];
    (void)last;
    delete bm;
  }

  LICE_MemBitmap given(3, 3, 1);
  if (LICE_LoadPNGFromMemory(data, size, &given) == &given)
  {
    volatile LICE_pixel last = given.getBits()[(given.getHeight() - 1) * given.getRowSpan() + given.getWidth() - 1];
    (void)last;
  }
  return 0;
}
