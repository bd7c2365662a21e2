// The system bitmap on Windows: a 32-bit top-down DIB section selected into a
// memory device context, so GDI can draw into the pixels (native text) and
// the editor window can BitBlt them to the screen.
#include "raster/LICE_SysBitmap.h"

#include <windows.h>

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  m_dc = CreateCompatibleDC(nullptr);
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleaseSurface();
  if (m_dc) DeleteDC(static_cast<HDC>(m_dc));
}

void LICE_SysBitmap::ReleaseSurface()
{
  if (m_bitmap)
  {
    if (m_dc) SelectObject(static_cast<HDC>(m_dc), static_cast<HGDIOBJ>(m_oldbitmap));
    DeleteObject(static_cast<HGDIOBJ>(m_bitmap));
  }
  m_bitmap = nullptr;
  m_oldbitmap = nullptr;
  m_bits = nullptr;
  m_allocw = 0;
  m_alloch = 0;
}

bool LICE_SysBitmap::CreateSurface(int allocw, int alloch)
{
  // DIB sections are limited by their byte count in a 32-bit value.
  if (!m_dc || allocw < 1 || alloch < 1 || static_cast<long long>(allocw) * alloch * 4 > 0x7FFFFFFFLL) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = allocw;
  info.bmiHeader.biHeight = -alloch; // negative: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(static_cast<HDC>(m_dc), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits)
  {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  m_bitmap = bitmap;
  m_oldbitmap = SelectObject(static_cast<HDC>(m_dc), bitmap);
  m_bits = static_cast<LICE_pixel*>(bits);
  m_allocw = allocw;
  m_alloch = alloch;
  return true;
}

