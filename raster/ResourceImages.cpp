#include "raster/ResourceImages.h"

#include <cstring>

#include "raster/EditorImages.h"

namespace
{
// "../img/bg.png" -> "bg.png"
const char* FileNameOf(const char* name)
{
  const char* slash = std::strrchr(name, '/');
  return slash ? slash + 1 : name;
}

struct Registry
{
  ResourceImage images[kEditorImageCount];
  int count = 0;

  Registry()
  {
    const EmbeddedFileSet files = KestraneEditorImageFiles();
    for (const EditorImage& e : kEditorImages)
      if (ResourceImage::FindIn(files, e.id, &images[count])) ++count;
  }
};

const Registry& TheRegistry()
{
  static const Registry registry;
  return registry;
}
} // namespace

bool ResourceImage::FindIn(const EmbeddedFileSet& files, int id, ResourceImage* out)
{
  for (const EditorImage& e : kEditorImages)
  {
    if (e.id != id) continue;
    const EmbeddedFile* f = FindEmbeddedFile(files, FileNameOf(e.name));
    if (!f) return false;
    *out = ResourceImage{e.id, e.name, f->data, f->size};
    return true;
  }
  return false;
}

const ResourceImage* ResourceImage::ById(int id)
{
  const Registry& r = TheRegistry();
  for (int i = 0; i < r.count; ++i)
    if (r.images[i].id == id) return &r.images[i];
  return nullptr;
}

const ResourceImage* ResourceImage::ByName(const char* name)
{
  if (!name) return nullptr;
  const Registry& r = TheRegistry();
  for (int i = 0; i < r.count; ++i)
    if (std::strcmp(r.images[i].name, name) == 0) return &r.images[i];
  return nullptr;
}
