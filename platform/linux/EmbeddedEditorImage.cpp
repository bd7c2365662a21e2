#include "platform/linux/EmbeddedEditorImage.h"

#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"

LICE_IBitmap* LoadEmbeddedEditorImage(int id, const char* name)
{
  if (LICE_IBitmap* bitmap = LICE_LoadPNGFromResource(nullptr, id)) return bitmap;
  const ResourceImage* image = ResourceImage::ByName(name);
  return image ? LICE_LoadPNGFromMemory(image->data, image->size) : nullptr;
}
