#include "raster/LICE_PNG.h"

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <png.h>

#include "raster/LICE_MemBitmap.h"

namespace
{
std::atomic<int> gDecoderStarts{0};

struct MemoryReader
{
  const unsigned char* data;
  size_t size;
  size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n)
{
  MemoryReader* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (n > r->size - r->pos) png_error(png, "truncated");
  std::memcpy(out, r->data + r->pos, n);
  r->pos += n;
}

void ReadFromFile(png_structp png, png_bytep out, png_size_t n)
{
  FILE* fp = static_cast<FILE*>(png_get_io_ptr(png));
  if (std::fread(out, 1, n, fp) != n) png_error(png, "truncated");
}

// libpng reports through these; the loader stays silent and unwinds to its
// own recovery point.
void OnPngError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// What must be released if libpng bails out half-way. Kept in the caller's
// frame and reached through a pointer, so nothing in it is lost to longjmp.
struct DecodeState
{
  LICE_IBitmap* created = nullptr;
  png_bytep* rows = nullptr;
};

// Everything between the header and the finished pixels. Holds no object
// with a destructor, because a libpng error leaves it by longjmp.
LICE_IBitmap* DecodeBody(png_structp png, png_infop info, LICE_IBitmap* bmp, DecodeState* st)
{
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (width == 0 || height == 0 || width > LICE_PNG_MAX_DIMENSION || height > LICE_PNG_MAX_DIMENSION)
    return nullptr;

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
  {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (colorType & PNG_COLOR_MASK_ALPHA)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return nullptr;

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  LICE_IBitmap* target = bmp;
  if (target)
    target->resize(w, h);
  else
    target = st->created = new (std::nothrow) LICE_MemBitmap(w, h, 4);
  if (!target || target->getWidth() != w || target->getHeight() != h || !target->getBits()) return nullptr;

  st->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * static_cast<size_t>(h)));
  if (!st->rows) return nullptr;
  LICE_pixel* bits = target->getBits();
  const long long span = target->getRowSpan();
  const bool flipped = target->isFlipped();
  for (int y = 0; y < h; ++y)
    st->rows[y] = reinterpret_cast<png_bytep>(bits + (flipped ? h - 1 - y : y) * span);
  png_read_image(png, st->rows);

  // Each pixel arrives as the bytes A, R, G, B; repack by channel name.
  for (int y = 0; y < h; ++y)
  {
    LICE_pixel* px = reinterpret_cast<LICE_pixel*>(st->rows[y]);
    const unsigned char* b = st->rows[y];
    for (int x = 0; x < w; ++x, b += 4) px[x] = LICE_RGBA(b[1], b[2], b[3], b[0]);
  }
  return target;
}

// Creates the libpng structures, installs the reader and decodes. A libpng
// error lands back here; everything allocated so far is released.
LICE_IBitmap* Decode(png_rw_ptr reader, void* io, int sigBytesRead, LICE_IBitmap* bmp)
{
  gDecoderStarts.fetch_add(1, std::memory_order_relaxed);
  // The version string must be the one of the libpng the build links.
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info)
  {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }

  DecodeState state;
  DecodeState* st = &state;
  LICE_IBitmap* volatile result = nullptr;
  if (setjmp(png_jmpbuf(png)) == 0)
  {
    png_set_user_limits(png, LICE_PNG_MAX_DIMENSION, LICE_PNG_MAX_DIMENSION);
    png_set_read_fn(png, io, reader);
    png_set_sig_bytes(png, sigBytesRead);
    result = DecodeBody(png, info, bmp, st);
  }
  if (!result)
  {
    delete st->created;
    st->created = nullptr;
  }
  std::free(st->rows);
  png_destroy_read_struct(&png, &info, nullptr);
  return result;
}
} // namespace

int LICE_PNGDecoderStarts()
{
  return gDecoderStarts.load(std::memory_order_relaxed);
}

LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, size_t len, LICE_IBitmap* bmp)
{
  if (!data || len < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  MemoryReader reader{static_cast<const unsigned char*>(data), len, 8};
  return Decode(ReadFromMemory, &reader, 8, bmp);
}

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp)
{
  if (!filename) return nullptr;
  FILE* fp = std::fopen(filename, "rb");
  if (!fp) return nullptr;
  LICE_IBitmap* result = nullptr;
  unsigned char sig[8];
  if (std::fread(sig, 1, 8, fp) == 8 && png_sig_cmp(sig, 0, 8) == 0)
    result = Decode(ReadFromFile, fp, 8, bmp);
  std::fclose(fp);
  return result;
}
