#include "raster/LICE_PNGWrite.h"

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <png.h>

#include "raster/LICE_PNG.h"

namespace
{
void OnPngError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// The temporary file's name: the target's with a suffix unique within this
// process, so two threads writing the same target never share one.
std::string TemporaryNameFor(const char* path)
{
  static std::atomic<unsigned> counter{0};
  return std::string(path) + ".partial" + std::to_string(counter.fetch_add(1));
}

// The encoder proper. Holds no object with a destructor, because a libpng
// error leaves it by longjmp; the rows are prepared by the caller.
bool Encode(FILE* fp, png_bytep* rows, png_uint_32 w, png_uint_32 h, bool withAlpha)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info)
  {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, fp);
  png_set_IHDR(png, info, w, h, 8, withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The images are committed to the repository: small beats fast.
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
} // namespace

bool LICE_WritePNG(const char* path, LICE_IBitmap* bmp, bool withAlpha)
{
  if (!path || !*path || !bmp) return false;
  const int w = bmp->getWidth(), h = bmp->getHeight(), span = bmp->getRowSpan();
  const LICE_pixel* bits = bmp->getBits();
  if (!bits || w <= 0 || h <= 0 || w > static_cast<int>(LICE_PNG_MAX_DIMENSION) ||
      h > static_cast<int>(LICE_PNG_MAX_DIMENSION) || span < w)
    return false;

  // Samples in PNG order (R, G, B[, A]) whatever the platform's packing.
  const int channels = withAlpha ? 4 : 3;
  const size_t rowBytes = static_cast<size_t>(w) * channels;
  std::vector<png_byte> samples(rowBytes * h);
  std::vector<png_bytep> rows(h);
  for (int y = 0; y < h; ++y)
  {
    const int stored = bmp->isFlipped() ? h - 1 - y : y;
    const LICE_pixel* src = bits + static_cast<long long>(stored) * span;
    png_bytep dst = samples.data() + rowBytes * y;
    rows[y] = dst;
    for (int x = 0; x < w; ++x)
    {
      *dst++ = static_cast<png_byte>(LICE_GETR(src[x]));
      *dst++ = static_cast<png_byte>(LICE_GETG(src[x]));
      *dst++ = static_cast<png_byte>(LICE_GETB(src[x]));
      if (withAlpha) *dst++ = static_cast<png_byte>(LICE_GETA(src[x]));
    }
  }

  const std::string temporary = TemporaryNameFor(path);
  FILE* fp = std::fopen(temporary.c_str(), "wb");
  if (!fp) return false;
  bool ok = Encode(fp, rows.data(), static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), withAlpha);
  ok = (std::fflush(fp) == 0) && ok;
  ok = (std::fclose(fp) == 0) && ok;
  std::error_code ec;
  // std::filesystem::rename replaces an existing target on every platform.
  if (ok) std::filesystem::rename(temporary, path, ec);
  if (!ok || ec)
  {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}
