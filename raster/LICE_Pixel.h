#pragma once

#include <cstdint>

// One 32-bit pixel: four 8-bit channels, straight (not premultiplied) alpha.
// Where each channel sits depends on the platform's surfaces, so code reaches
// channels only through the names below and the packing has one definition.
typedef uint32_t LICE_pixel;

#if defined(KESTRANE_PIXEL_BYTES_ARGB)
// Core Graphics surfaces: bytes A, R, G, B in memory (value A + R<<8 + G<<16 + B<<24).
constexpr int LICE_PIXEL_A_SHIFT = 0;
constexpr int LICE_PIXEL_R_SHIFT = 8;
constexpr int LICE_PIXEL_G_SHIFT = 16;
constexpr int LICE_PIXEL_B_SHIFT = 24;
#else
// DIB sections and 32-bit X11 TrueColor images: bytes B, G, R, A in memory
// (value A<<24 + R<<16 + G<<8 + B).
constexpr int LICE_PIXEL_A_SHIFT = 24;
constexpr int LICE_PIXEL_R_SHIFT = 16;
constexpr int LICE_PIXEL_G_SHIFT = 8;
constexpr int LICE_PIXEL_B_SHIFT = 0;
#endif

constexpr unsigned LICE_GETB(LICE_pixel p) { return (p >> LICE_PIXEL_B_SHIFT) & 0xFFu; }
constexpr unsigned LICE_GETG(LICE_pixel p) { return (p >> LICE_PIXEL_G_SHIFT) & 0xFFu; }
constexpr unsigned LICE_GETR(LICE_pixel p) { return (p >> LICE_PIXEL_R_SHIFT) & 0xFFu; }
constexpr unsigned LICE_GETA(LICE_pixel p) { return (p >> LICE_PIXEL_A_SHIFT) & 0xFFu; }

// Packs four channel values; each is taken modulo 256.
constexpr LICE_pixel LICE_RGBA(unsigned r, unsigned g, unsigned b, unsigned a)
{
  return ((r & 0xFFu) << LICE_PIXEL_R_SHIFT) | ((g & 0xFFu) << LICE_PIXEL_G_SHIFT) |
         ((b & 0xFFu) << LICE_PIXEL_B_SHIFT) | ((a & 0xFFu) << LICE_PIXEL_A_SHIFT);
}

// Blend mode word: combine mode in bits 0-7, flags above.
constexpr int LICE_BLIT_MODE_MASK = 0xFF;
constexpr int LICE_BLIT_MODE_COPY = 0;
constexpr int LICE_BLIT_MODE_ADD = 1;
constexpr int LICE_BLIT_MODE_DODGE = 2;
constexpr int LICE_BLIT_FILTER_BILINEAR = 0x100;
constexpr int LICE_BLIT_USE_ALPHA = 0x10000;
