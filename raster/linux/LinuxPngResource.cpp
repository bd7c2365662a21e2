// PNG resources on Linux and macOS: the editor's images are compiled into the
// plug-in, so the plug-in needs no file beside it and the module handle is not
// used. (The macOS view loads the bundle's copies by name instead.)
#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"

LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, int resid, LICE_IBitmap* bmp)
{
  (void)hInst;
  const ResourceImage* image = ResourceImage::ById(resid);
  if (!image || image->size <= 7) return nullptr;
  return LICE_LoadPNGFromMemory(image->data, image->size, bmp);
}
