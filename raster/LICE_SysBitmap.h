#pragma once

#include "raster/LICE_IBitmap.h"

// A bitmap whose pixels are shared with the platform's drawing surface, so
// the editor host can copy them to the screen. The row span is the width
// rounded up to 4 pixels; a smaller size reuses the surface.
//
// The members are declared here; each platform defines them in its own file
// (raster/mac/MacSysBitmap.cpp on macOS, a Core Graphics bitmap context;
// raster/linux/LinuxSysBitmap.cpp on Linux, where the surface is plain
// 64-byte aligned memory and there is no drawing context).
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  explicit LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;

  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_pixel* getBits() override { return m_bits; }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_allocw; }
  bool resize(int w, int h) override;
  void* getDC() override { return m_dc; }

  int getAllocWidth() const { return m_allocw; }
  int getAllocHeight() const { return m_alloch; }

private:
  // Releases the surface and zeroes the sizes.
  void ReleaseSurface();
  // Creates a surface of allocw x alloch pixels; false if it cannot.
  bool CreateSurface(int allocw, int alloch);

  void* m_dc = nullptr;          // platform drawing context, if the platform has one
  LICE_pixel* m_bits = nullptr;  // first pixel of the visible image
  int m_width = 0;
  int m_height = 0;
  int m_allocw = 0;
  int m_alloch = 0;
  void* m_bitmap = nullptr;      // platform surface handle
  [[maybe_unused]] void* m_oldbitmap = nullptr; // what the surface displaced in the context (Windows)
};
