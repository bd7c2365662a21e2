// kestrane-artwork: draws the editor's thirteen images into a folder (by
// default the source tree's resources/img/) and, on request, a preview of
// the whole editor built from them.
//
//   kestrane-artwork [--out DIR] [--preview FILE.png]
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "raster/LICE_PNGWrite.h"
#include "tools/kestrane-artwork/Artwork.h"
#include "tools/kestrane-artwork/Preview.h"

namespace
{
int Usage(const char* message)
{
  if (message) std::fprintf(stderr, "kestrane-artwork: %s\n", message);
  std::fprintf(stderr, "usage: kestrane-artwork [--out DIR] [--preview FILE.png]\n"
                       "  --out DIR          where the images go (default %s)\n"
                       "  --preview FILE.png also write a mock of the whole editor\n",
               KESTRANE_ARTWORK_DEFAULT_DIR);
  return 2;
}
} // namespace

int main(int argc, char** argv)
{
  std::string outDir = KESTRANE_ARTWORK_DEFAULT_DIR;
  std::string preview;
  for (int i = 1; i < argc; ++i)
  {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--out") == 0 && hasValue) outDir = argv[++i];
    else if (std::strcmp(argv[i], "--preview") == 0 && hasValue) preview = argv[++i];
    else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return Usage(nullptr), 0;
    else return Usage((std::string("unknown or incomplete argument ") + argv[i]).c_str());
  }

  try
  {
    std::vector<artwork::Image> images = artwork::MakeAll();
    for (artwork::Image& img : images)
    {
      const std::string path = outDir + "/" + img.file;
      if (!LICE_WritePNG(path.c_str(), &img.canvas.Bitmap(), img.alpha))
      {
        std::fprintf(stderr, "kestrane-artwork: cannot write %s\n", path.c_str());
        return 1;
      }
      std::printf("%s (%dx%d %s)\n", path.c_str(), img.canvas.Width(), img.canvas.Height(), img.alpha ? "RGBA" : "RGB");
    }
    if (!preview.empty())
    {
      auto picture = artwork::ComposePreview(images);
      if (!picture || !LICE_WritePNG(preview.c_str(), picture.get(), false))
      {
        std::fprintf(stderr, "kestrane-artwork: cannot write the preview %s\n", preview.c_str());
        return 1;
      }
      std::printf("%s (preview)\n", preview.c_str());
    }
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "kestrane-artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
