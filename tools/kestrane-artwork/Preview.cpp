#include "tools/kestrane-artwork/Preview.h"

#include <cmath>
#include <map>
#include <string>

#include "raster/LICE_Blend.h"
#include "raster/LICE_CachedFont.h"
#include "raster/LICE_Primitives.h"
#include "raster/PlatformFont.h"
#include "tools/kestrane-artwork/Layout.h"

namespace artwork
{
namespace
{
constexpr int kAlphaBlend = LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA;
constexpr double kPi = 3.141592653589793;

// The image as the editor will load it: without an alpha channel every pixel
// is opaque.
std::unique_ptr<LICE_MemBitmap> AsLoaded(Image& img)
{
  art::Canvas& c = img.canvas;
  const int w = c.Width(), h = c.Height();
  auto bm = std::make_unique<LICE_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      LICE_pixel p = c.Bitmap().getBits()[static_cast<long long>(y) * c.Bitmap().getRowSpan() + x];
      if (!img.alpha) p = LICE_RGBA(LICE_GETR(p), LICE_GETG(p), LICE_GETB(p), 255);
      bm->getBits()[static_cast<long long>(y) * bm->getRowSpan() + x] = p;
    }
  return bm;
}

std::unique_ptr<LICE_CachedFont> MakeFont(const char* family, int size, LICE_pixel colour)
{
  PlatformFontRequest req;
  req.name = family;
  req.size = size;
  PlatformFont* pf = CreatePlatformFont(req);
  if (!pf) return nullptr;
  auto font = std::make_unique<LICE_CachedFont>();
  font->SetFromHFont(pf, LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
  font->SetTextColor(colour);
  return font;
}

void Text(LICE_CachedFont& font, LICE_IBitmap* dest, const char* s, IRECT r, unsigned align)
{
  font.DrawText(dest, s, -1, &r, LICE_DT_NOCLIP | LICE_DT_USEFGALPHA | align);
}

int Nearest(double v)
{
  return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5);
}
} // namespace

std::unique_ptr<LICE_MemBitmap> ComposePreview(std::vector<Image>& images)
{
  std::map<std::string, std::unique_ptr<LICE_MemBitmap>> bm;
  for (Image& img : images) bm[img.file] = AsLoaded(img);
  auto readout = MakeFont("Arial", 15, LICE_RGBA(255, 255, 255, 160));
  auto version = MakeFont("Verdana", 13, LICE_RGBA(255, 255, 255, 55));
  if (!readout || !version) return nullptr;

  auto out = std::make_unique<LICE_MemBitmap>(layout::kWidth, layout::kHeight);
  LICE_IBitmap* dest = out.get();
  LICE_Blit(dest, bm["bg.png"].get(), 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_COPY);

  // Markers where the modulation might be.
  LICE_FillRect(dest, 37 + 75, 333, 6, 2, LICE_RGBA(255, 255, 255, 150), 1.0f, kAlphaBlend);
  LICE_FillRect(dest, 217 + 40, 270, 6, 2, LICE_RGBA(255, 255, 255, 150), 1.0f, kAlphaBlend);

  Text(*version, dest, "v1.01", IRECT(layout::kVersion.L, layout::kVersion.T, layout::kVersion.R, layout::kVersion.B),
       LICE_DT_RIGHT);

  // Routing: envelope on Freq, LFO on Pan, riding on the envelope.
  LICE_Blit(dest, bm["map.png"].get(), layout::kRoutingMap.L, layout::kRoutingMap.T, 5 * 28, 0, 28, 39, 1.0f,
            kAlphaBlend);

  // Knobs: value and read-out.
  struct KnobState
  {
    double value;
    const char* text;
  };
  const KnobState states[] = {{0.316, "2000Hz"}, {0.19, "20%"}, {0.5, "0%"},    {1.0, "100%"},
                              {0.25, "4000ms"},  {0.031, "500ms"}, {0.9, "90%"}, {0.044, "700ms"},
                              {0.9, "90%"},      {0.6, "1/4"},   {0.75, "75%"},  {0.0, "0%"}};
  LICE_MemBitmap cap(54, 54);
  LICE_Blit(&cap, bm["knob.png"].get(), 0, 0, 0, 0, 54, 54, 1.0f, LICE_BLIT_MODE_COPY);
  for (int i = 0; i < layout::kKnobCount; ++i)
  {
    const layout::Knob& k = layout::kKnobs[i];
    const double v = states[i].value;
    const LICE_pixel ring = k.accent ? LICE_RGBA(100, 200, 255, 255) : LICE_RGBA(200, 200, 200, 255);
    const float start = static_cast<float>(-(300 - 300 / 50) * kPi / 360.0);
    const float end = static_cast<float>(((v - 1) * 0.02 + 1) * 300 * (v - 0.5) * kPi / 180.0);
    for (float r = layout::kRingRadius; r < layout::kRingRadius + k.ringWidth; r += 0.3f)
      LICE_Arc(dest, k.cx - 0.2f, k.cy - 0.2f, r, start, end, ring, 1.0f, LICE_BLIT_MODE_COPY, true);
    LICE_Blit(dest, bm["knob.png"].get(), k.cx - 27, k.cy - 27, 54, 0, 54, 54, 1.0f, kAlphaBlend);
    const float angle = static_cast<float>((2 * v - 1) * static_cast<float>(300 * kPi * 0.002777777777777778));
    const float u = -std::sin(static_cast<float>(std::fabs(v - 0.5) * 4.319689898685965));
    LICE_RotatedBlit(dest, &cap, k.cx - 27, k.cy - 27, 54, 54, u, u, 54, 54, angle, false, 1.0f,
                     kAlphaBlend | LICE_BLIT_FILTER_BILINEAR);
    Text(*readout, dest, states[i].text, IRECT(k.readout.L, k.readout.T, k.readout.R, k.readout.B), LICE_DT_CENTER);
  }

  // Filter type: low-pass selected.
  LICE_Blit(dest, bm["flt_tp.png"].get(), layout::kFilterType.L, layout::kFilterType.T, 0, 0, 28, 13, 1.0f,
            kAlphaBlend);

  // Target faces (11 rows of each 12-row frame show): envelope on Freq, LFO on Pan.
  LICE_Blit(dest, bm["lfo1_tg.png"].get(), layout::kEnvTargetFace.L, layout::kEnvTargetFace.T + 1, 0, 12, 44, 11, 1.0f,
            kAlphaBlend);
  LICE_Blit(dest, bm["lfo1_tg.png"].get(), layout::kLfoTargetFace.L, layout::kLfoTargetFace.T + 1, 0, 36, 44, 11, 1.0f,
            kAlphaBlend);

  // Envelope direction down.
  LICE_Blit(dest, bm["adsr_tp.png"].get(), layout::kEnvDirection.L, layout::kEnvDirection.T, nullptr, 1.0f, kAlphaBlend);

  // Sliders: bar to the handle's centre, handle, read-out.
  struct SliderState
  {
    layout::Rect area, control;
    double value;
    const char* text;
  };
  const SliderState sliders[] = {{layout::kEnvSliderHandles, layout::kEnvSlider, 0.25, "6dB"},
                                 {layout::kLfoSliderHandles, layout::kLfoSlider, 0.5, "12dB"}};
  for (const SliderState& s : sliders)
  {
    const double p = 66 * s.value + 8;
    const int cm = (s.area.T + s.area.B) / 2;
    LICE_FillRect(dest, s.area.L + 1, cm - 3, Nearest(s.area.L + p) - (s.area.L + 1), 6,
                  LICE_RGBA(120, 120, 120, 255), 1.0f, kAlphaBlend);
    LICE_Blit(dest, bm["slider.png"].get(), Nearest(s.area.L + 66 * s.value), s.area.T, nullptr, 1.0f, kAlphaBlend);
    Text(*readout, dest, s.text, IRECT(s.control.L, s.control.B - 15, s.control.R, s.control.B), LICE_DT_CENTER);
  }

  // Compensation switches: envelope "Right", LFO "Both".
  LICE_Blit(dest, bm["comp.png"].get(), layout::kEnvComp.L, layout::kEnvComp.T, 0, 23, 39, 23, 1.0f, kAlphaBlend);
  LICE_Blit(dest, bm["comp2.png"].get(), layout::kLfoComp.L, layout::kLfoComp.T, 0, 46, 33, 23, 1.0f, kAlphaBlend);

  // Sync and child on.
  LICE_Blit(dest, bm["sync.png"].get(), layout::kSync.L, layout::kSync.T, nullptr, 1.0f, kAlphaBlend);
  LICE_Blit(dest, bm["child.png"].get(), layout::kChild.L, layout::kChild.T, nullptr, 1.0f, kAlphaBlend);

  // Wave: triangle.
  LICE_Blit(dest, bm["wave.png"].get(), layout::kWaveImage.L, layout::kWaveImage.T, 30, 0, 30, 30, 1.0f, kAlphaBlend);
  Text(*readout, dest, "Triangle",
       IRECT(layout::kWaveReadout.L, layout::kWaveReadout.T, layout::kWaveReadout.R, layout::kWaveReadout.B),
       LICE_DT_CENTER);

  // The envelope's target list, open.
  LICE_Blit(dest, bm["lfo1_tg_.png"].get(), layout::kEnvTargetList.L, layout::kEnvTargetList.T, nullptr, 1.0f,
            kAlphaBlend);
  return out;
}
} // namespace artwork
