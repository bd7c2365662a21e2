#include "tests/raster/RasterTestSupport.h"

#include <cstdio>

#include <png.h>

namespace rastertest
{
LICE_pixel& At(LICE_IBitmap& bm, int x, int y)
{
  return bm.getBits()[static_cast<long long>(y) * bm.getRowSpan() + x];
}

void Clear(LICE_IBitmap& bm, LICE_pixel value)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) At(bm, x, y) = value;
}

int CountNot(LICE_IBitmap& bm, LICE_pixel value)
{
  int n = 0;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) n += At(bm, x, y) != value;
  return n;
}

namespace
{
void AppendBytes(png_structp png, png_bytep data, png_size_t n)
{
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void FlushNothing(png_structp) {}
} // namespace

std::vector<uint8_t> EncodePng(const PngSpec& desc)
{
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info)
  {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  std::vector<png_bytep> rows;
  for (const auto& r : desc.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(desc.width), static_cast<png_uint_32>(desc.height),
               desc.bitDepth, desc.colorType, desc.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!desc.palette.empty())
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(desc.palette.data()),
                 static_cast<int>(desc.palette.size() / 3));
  if (!desc.trns.empty())
    png_set_tRNS(png, info, desc.trns.data(), static_cast<int>(desc.trns.size()), nullptr);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

PngSpec PatternRgba(int w, int h, int seed)
{
  PngSpec s;
  s.width = w;
  s.height = h;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int y = 0; y < h; ++y)
  {
    std::vector<uint8_t> row;
    for (int x = 0; x < w; ++x)
    {
      row.push_back(static_cast<uint8_t>(x * 16 + seed));
      row.push_back(static_cast<uint8_t>(y * 16));
      row.push_back(static_cast<uint8_t>(255 - x - y));
      row.push_back(static_cast<uint8_t>(255 - x * 8));
    }
    s.rows.push_back(row);
  }
  return s;
}
bool ReadPngHeader(const std::string& path, PngHeader* out)
{
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (png && info && !setjmp(png_jmpbuf(png)))
  {
    png_init_io(png, fp);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    png_get_IHDR(png, info, &width, &height, &out->bitDepth, &out->colorType, &out->interlace, nullptr, nullptr);
    out->width = width;
    out->height = height;
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(fp);
  return ok;
}

} // namespace rastertest
