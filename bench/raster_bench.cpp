// Cost of the raster operations the editor uses on every redraw, on the
// editor's 388 x 470 surface. Figures only; nothing here passes or fails.
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "raster/LICE_Blend.h"
#include "raster/LICE_CachedFont.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_Primitives.h"
#include "raster/LICE_SysBitmap.h"
#include "raster/PlatformFont.h"

namespace
{
constexpr int kEditorW = 388, kEditorH = 470;
constexpr float kPi = 3.1415927f;

void Fill(LICE_IBitmap& bm, uint32_t seed)
{
  LICE_pixel* p = bm.getBits();
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
    {
      seed = seed * 1664525u + 1013904223u;
      p[y * bm.getRowSpan() + x] = seed;
    }
}

// A knob face: an opaque disc with a soft edge and transparent corners.
std::unique_ptr<LICE_MemBitmap> KnobImage()
{
  auto bm = std::make_unique<LICE_MemBitmap>(54, 54, 4);
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 54; ++x)
    {
      const float dx = x - 26.5f, dy = y - 26.5f;
      const float d = std::sqrt(dx * dx + dy * dy);
      const int a = d < 22.0f ? 255 : (d < 26.0f ? static_cast<int>((26.0f - d) * 63.0f) : 0);
      bm->getBits()[y * bm->getRowSpan() + x] = LICE_RGBA(60 + x, 60 + y, 70, static_cast<unsigned>(a));
    }
  return bm;
}

std::unique_ptr<LICE_CachedFont> ReadoutFont()
{
  PlatformFontRequest req;
  req.name = "Arial";
  req.size = 15;
  auto font = std::make_unique<LICE_CachedFont>();
  font->SetFromHFont(CreatePlatformFont(req), LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
  font->SetTextColor(LICE_RGBA(255, 255, 255, 160));
  return font;
}

void BM_BlitFullWeight1(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  LICE_MemBitmap src(kEditorW, kEditorH, 4);
  Fill(src, 1);
  const size_t bytes = static_cast<size_t>(kEditorW) * kEditorH * sizeof(LICE_pixel);
  std::vector<unsigned char> a(bytes), b(bytes);
  std::memcpy(a.data(), src.getBits(), bytes);
  double blitSeconds = 0, copySeconds = 0;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state)
  {
    // memcpy of the same bytes, interleaved so both see the same caches.
    const auto t0 = Clock::now();
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
    const auto t1 = Clock::now();
    LICE_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0);
    benchmark::ClobberMemory();
    const auto t2 = Clock::now();
    copySeconds += std::chrono::duration<double>(t1 - t0).count();
    const double blit = std::chrono::duration<double>(t2 - t1).count();
    blitSeconds += blit;
    state.SetIterationTime(blit);
  }
  state.counters["memcpy_us"] = benchmark::Counter(copySeconds * 1e6 / static_cast<double>(state.iterations()));
  state.counters["ratio_vs_memcpy"] = benchmark::Counter(blitSeconds / copySeconds);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_BlitFullWeight1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MemcpyEditorSurface(benchmark::State& state)
{
  const size_t bytes = static_cast<size_t>(kEditorW) * kEditorH * sizeof(LICE_pixel);
  std::vector<unsigned char> a(bytes, 1), b(bytes);
  for (auto _ : state)
  {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemcpyEditorSurface)->Unit(benchmark::kMicrosecond);

void BM_BlitAlpha54(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  Fill(dst, 2);
  auto knob = KnobImage();
  for (auto _ : state)
  {
    LICE_Blit(&dst, knob.get(), 65, 92, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BlitAlpha54)->Unit(benchmark::kMicrosecond);

void BM_RotatedBilinear54(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  Fill(dst, 3);
  auto knob = KnobImage();
  for (auto _ : state)
  {
    LICE_RotatedBlit(&dst, knob.get(), 65, 92, 54, 54, 0, 0, 54, 54, 0.7f, false, 1.0f,
                     LICE_BLIT_USE_ALPHA | LICE_BLIT_FILTER_BILINEAR);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RotatedBilinear54)->Unit(benchmark::kMicrosecond);

void BM_ArcRadius21(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  for (auto _ : state)
  {
    LICE_Arc(&dst, 92, 119, 21.0f, -150.0f * kPi / 180, 100.0f * kPi / 180, LICE_RGBA(100, 200, 255, 255), 1.0f,
             LICE_BLIT_USE_ALPHA, true);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ArcRadius21)->Unit(benchmark::kMicrosecond);

void BM_TextLine8(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  auto font = ReadoutFont();
  for (auto _ : state)
  {
    IRECT r(63, 149, 121, 164);
    font->DrawText(&dst, "1234 Hz.", -1, &r, LICE_DT_NOCLIP | LICE_DT_USEFGALPHA | LICE_DT_CENTER);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TextLine8)->Unit(benchmark::kMicrosecond);

// What one knob costs: a 13-arc value ring, the turned face, the read-out.
void BM_WholeKnob(benchmark::State& state)
{
  LICE_SysBitmap dst(kEditorW, kEditorH);
  Fill(dst, 4);
  auto knob = KnobImage();
  auto font = ReadoutFont();
  const float start = -150.0f * kPi / 180, value = 40.0f * kPi / 180;
  for (auto _ : state)
  {
    for (int i = 0; i < 13; ++i)
      LICE_Arc(&dst, 92, 119, 21.0f + 0.3f * static_cast<float>(i), start, value, LICE_RGBA(100, 200, 255, 255),
               1.0f, LICE_BLIT_USE_ALPHA, true);
    LICE_RotatedBlit(&dst, knob.get(), 65, 92, 54, 54, 0, 0, 54, 54, value, false, 1.0f,
                     LICE_BLIT_USE_ALPHA | LICE_BLIT_FILTER_BILINEAR);
    IRECT r(63, 149, 121, 164);
    font->DrawText(&dst, "1234 Hz.", -1, &r, LICE_DT_NOCLIP | LICE_DT_USEFGALPHA | LICE_DT_CENTER);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WholeKnob)->Unit(benchmark::kMicrosecond);
} // namespace
