#include <climits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "raster/LICE_CachedFont.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/PlatformFont.h"
#include "tests/raster/PlatformRaster.h"
#include "tests/raster/RasterTestSupport.h"

using rastertest::At;
using rastertest::Clear;
using rastertest::CountNot;

// Glyph shapes come from FreeType and the installed fonts, so these tests
// check geometry measured from the drawn pixels (where the ink lies, its
// margins, its height) rather than exact pixel values.

namespace
{
constexpr LICE_pixel kBg = 0xFF000000u;

PlatformFontRequest Request(const char* name, int size)
{
  PlatformFontRequest r;
  r.name = name;
  r.size = size;
  return r;
}

std::unique_ptr<LICE_CachedFont> MakeFont(const char* name = "Arial", int size = 15)
{
  auto font = std::make_unique<LICE_CachedFont>();
  font->SetFromHFont(CreatePlatformFont(Request(name, size)), LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
  font->SetTextColor(0xFFFFFFFFu);
  return font;
}

struct Ink
{
  int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN; // r, b inclusive
  bool any() const { return r >= l; }
};

Ink InkOf(LICE_IBitmap& bm)
{
  Ink ink;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      if (At(bm, x, y) != kBg)
      {
        ink.l = std::min(ink.l, x);
        ink.r = std::max(ink.r, x);
        ink.t = std::min(ink.t, y);
        ink.b = std::max(ink.b, y);
      }
  return ink;
}

struct Page : LICE_MemBitmap
{
  Page() : LICE_MemBitmap(240, 80, 4) { Clear(*this, kBg); }
};
} // namespace

TEST(FontSource, WindowsFamilyNamesFindMetricCompatibleFonts)
{
  std::unique_ptr<PlatformFont> arial(CreatePlatformFont(Request("Arial", 15)));
  ASSERT_NE(arial, nullptr);
  if (const char* family = ExpectedFamilyFor("Arial"))
  {
    EXPECT_STREQ(arial->FamilyName(), family);
  }
  // Size is the cell height, as on Windows.
  EXPECT_EQ(arial->LineHeight(), 15);

  std::unique_ptr<PlatformFont> verdana(CreatePlatformFont(Request("Verdana", 13)));
  ASSERT_NE(verdana, nullptr);
  if (const char* family = ExpectedFamilyFor("Verdana"))
  {
    EXPECT_STREQ(verdana->FamilyName(), family);
  }
  EXPECT_EQ(verdana->LineHeight(), 13);

  EXPECT_EQ(CreatePlatformFont(Request("Arial", 0)), nullptr);
}

TEST(FontSource, BoldAndMonochromeRenderDifferently)
{
  PlatformFontRequest plain = Request("Arial", 20), bold = plain, mono = plain;
  bold.weight = 700;
  mono.quality = 1;
  std::unique_ptr<PlatformFont> p(CreatePlatformFont(plain)), b(CreatePlatformFont(bold)), m(CreatePlatformFont(mono));
  ASSERT_TRUE(p && b && m);
  GlyphImage gp, gb, gm;
  ASSERT_TRUE(p->RenderGlyph('H', &gp));
  ASSERT_TRUE(b->RenderGlyph('H', &gb));
  ASSERT_TRUE(m->RenderGlyph('H', &gm));
  long inkPlain = 0, inkBold = 0;
  for (uint8_t c : gp.coverage) inkPlain += c;
  for (uint8_t c : gb.coverage) inkBold += c;
  EXPECT_GT(inkBold, inkPlain * 5 / 4);
  if (const char* family = ExpectedFamilyFor("Arial"))
  {
    EXPECT_STREQ(b->FamilyName(), family);
  }
  for (uint8_t c : gm.coverage) EXPECT_TRUE(c == 0 || c == 255);
  bool partial = false;
  for (uint8_t c : gp.coverage) partial |= c > 0 && c < 255;
  EXPECT_TRUE(partial);
}

TEST(CachedFont, MeasureOnlyReportsTheExtentAndDrawsNothing)
{
  auto font = MakeFont();
  Page page;
  IRECT r(10, 20, 10, 20);
  const int h = font->DrawText(&page, "Kestrane", -1, &r, LICE_DT_CALCRECT | LICE_DT_CENTER);
  EXPECT_EQ(h, font->GetLineHeight());
  EXPECT_EQ(r.L, 10);
  EXPECT_EQ(r.T, 20);
  EXPECT_GT(r.W(), 40);
  EXPECT_EQ(r.H(), 15);
  EXPECT_EQ(CountNot(page, kBg), 0);
}

TEST(CachedFont, LeftCentreAndRightAlignmentMeasuredFromTheInk)
{
  auto font = MakeFont();
  const IRECT box(20, 10, 220, 40);
  IRECT measured = box;
  font->DrawText(nullptr, "440 Hz", -1, &measured, LICE_DT_CALCRECT);
  const int width = measured.W();

  Page left, centre, right;
  IRECT r = box;
  font->DrawText(&left, "440 Hz", -1, &r, 0);
  r = box;
  font->DrawText(&centre, "440 Hz", -1, &r, LICE_DT_CENTER);
  r = box;
  font->DrawText(&right, "440 Hz", -1, &r, LICE_DT_RIGHT);
  const Ink il = InkOf(left), ic = InkOf(centre), ir = InkOf(right);
  ASSERT_TRUE(il.any() && ic.any() && ir.any());

  // Side bearings put the ink a pixel or two inside the advance box.
  EXPECT_GE(il.l, box.L);
  EXPECT_LE(il.l, box.L + 2);
  EXPECT_LE(ir.r, box.R - 1);
  EXPECT_GE(ir.r, box.R - 3);
  EXPECT_LE(std::abs((ic.l - box.L) - (box.R - 1 - ic.r)), 2);
  // Same glyphs, only moved.
  EXPECT_EQ(ic.r - ic.l, il.r - il.l);
  EXPECT_EQ(ir.l - il.l, box.W() - width);
  EXPECT_EQ(ic.l - il.l, box.W() / 2 - width / 2);
  // Ink sits inside one line from the top.
  EXPECT_GE(il.t, box.T);
  EXPECT_LE(il.b, box.T + 15);
}

TEST(CachedFont, VerticalCentreAndBottom)
{
  auto font = MakeFont();
  const IRECT box(0, 10, 240, 70);
  Page top, mid, bottom;
  IRECT r = box;
  font->DrawText(&top, "Hg", -1, &r, 0);
  r = box;
  font->DrawText(&mid, "Hg", -1, &r, LICE_DT_VCENTER);
  r = box;
  font->DrawText(&bottom, "Hg", -1, &r, LICE_DT_BOTTOM);
  const Ink it = InkOf(top), im = InkOf(mid), ib = InkOf(bottom);
  EXPECT_EQ(im.t - it.t, (box.T + box.B) / 2 - 15 / 2 - box.T);
  EXPECT_EQ(ib.t - it.t, box.H() - 15);
  EXPECT_LE(ib.b, box.B - 1);
}

TEST(CachedFont, LineFeedsStartNewLinesUnlessSingleLine)
{
  auto font = MakeFont();
  IRECT r(0, 0, 200, 0);
  EXPECT_EQ(font->DrawText(nullptr, "A\r\nB\nC", -1, &r, LICE_DT_CALCRECT), 45);
  EXPECT_EQ(font->DrawText(nullptr, "A\r\nB\nC", -1, &r, LICE_DT_CALCRECT | LICE_DT_SINGLELINE), 15);
  Page page;
  r = IRECT(5, 5, 200, 75);
  font->DrawText(&page, "A\nB", -1, &r, 0);
  const Ink ink = InkOf(page);
  EXPECT_GT(ink.b - ink.t, 15);
  // Length limits the text.
  IRECT one(0, 0, 0, 0), two(0, 0, 0, 0);
  font->DrawText(nullptr, "AB", 1, &one, LICE_DT_CALCRECT);
  font->DrawText(nullptr, "A", -1, &two, LICE_DT_CALCRECT);
  EXPECT_EQ(one, two);
}

TEST(CachedFont, ClipsToTheRectangleUnlessTold)
{
  auto font = MakeFont();
  Page clipped, free;
  IRECT r(30, 20, 45, 28); // narrower and lower than the text
  font->DrawText(&clipped, "Wide text", -1, &r, 0);
  const Ink ic = InkOf(clipped);
  ASSERT_TRUE(ic.any());
  EXPECT_GE(ic.l, 30);
  EXPECT_LE(ic.r, 44);
  EXPECT_GE(ic.t, 20);
  EXPECT_LE(ic.b, 27);
  r = IRECT(30, 20, 45, 28);
  font->DrawText(&free, "Wide text", -1, &r, LICE_DT_NOCLIP);
  EXPECT_GT(InkOf(free).r, 60);
  // Text running off the bitmap is cut at its edges.
  Page edge;
  r = IRECT(-20, -5, 400, 200);
  font->DrawText(&edge, "Edge of the page and more", -1, &r, LICE_DT_NOCLIP | LICE_DT_BOTTOM);
}

TEST(CachedFont, GlyphsAreRenderedOncePerCharacter)
{
  auto font = MakeFont();
  Page page;
  IRECT r(0, 0, 240, 80);
  font->DrawText(&page, "abcabc", -1, &r, 0);
  EXPECT_EQ(font->GetRenderedGlyphCount(), 3);
  font->DrawText(&page, "cab", -1, &r, LICE_DT_RIGHT);
  EXPECT_EQ(font->GetRenderedGlyphCount(), 3);
  font->DrawText(&page, "abcd \xC3\xA9\xC3\xA9\xE2\x82\xAC", -1, &r, 0); // d, space, e-acute twice, euro
  EXPECT_EQ(font->GetRenderedGlyphCount(), 7);
  font->DrawText(&page, "\xE2\x82\xAC\xC3\xA9", -1, &r, 0);
  EXPECT_EQ(font->GetRenderedGlyphCount(), 7);
  // A new platform font starts a new cache.
  font->SetFromHFont(CreatePlatformFont(Request("Arial", 20)), LICE_FONT_FLAG_OWNS_HFONT);
  EXPECT_EQ(font->GetRenderedGlyphCount(), 0);
  EXPECT_EQ(font->GetLineHeight(), 20);
}

TEST(CachedFont, ColourAlphaScalesOnlyWithTheFlagAndWeightZeroDrawsNothing)
{
  auto font = MakeFont();
  font->SetTextColor(0x00FFFFFFu);
  Page a, b, c;
  IRECT r(0, 0, 240, 80);
  font->DrawText(&a, "Mix", -1, &r, LICE_DT_USEFGALPHA);
  EXPECT_EQ(CountNot(a, kBg), 0);
  font->DrawText(&b, "Mix", -1, &r, 0);
  EXPECT_GT(CountNot(b, kBg), 0);
  font->SetTextColor(0xFFFFFFFFu);
  font->SetCombineMode(LICE_BLIT_USE_ALPHA, 0.0f);
  font->DrawText(&c, "Mix", -1, &r, 0);
  EXPECT_EQ(CountNot(c, kBg), 0);

  // A half-alpha colour draws a weaker version of the same glyphs.
  font->SetCombineMode(LICE_BLIT_USE_ALPHA, 1.0f);
  font->SetTextColor(0x80FFFFFFu);
  Page half, full;
  font->DrawText(&half, "Mix", -1, &r, LICE_DT_USEFGALPHA);
  font->DrawText(&full, "Mix", -1, &r, 0);
  const Ink ih = InkOf(half), iff = InkOf(full);
  EXPECT_EQ(ih.l, iff.l);
  EXPECT_EQ(ih.r, iff.r);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 240; ++x) EXPECT_LE(LICE_GETR(At(half, x, y)), LICE_GETR(At(full, x, y)));
}

TEST(CachedFont, OpaqueBackgroundFillsTheTextBlock)
{
  auto font = MakeFont();
  font->SetBkColor(0xFF204080u);
  font->SetBkMode(LICE_BKMODE_OPAQUE);
  Page page;
  IRECT r(10, 10, 200, 60);
  font->DrawText(&page, "Hi", -1, &r, 0);
  EXPECT_EQ(At(page, 10, 10), 0xFF204080u);
  EXPECT_EQ(At(page, 10, 24), 0xFF204080u);
  EXPECT_EQ(At(page, 10, 25), kBg);
}

TEST(CachedFont, NothingWithoutAFontOrText)
{
  LICE_CachedFont font;
  Page page;
  IRECT r(0, 0, 100, 50);
  EXPECT_EQ(font.DrawText(&page, "text", -1, &r, 0), 0);
  auto real = MakeFont();
  EXPECT_EQ(real->DrawText(&page, "", -1, &r, 0), 0);
  EXPECT_EQ(real->DrawText(&page, nullptr, -1, &r, 0), 0);
  EXPECT_EQ(real->DrawText(&page, "text", 0, &r, 0), 0);
  EXPECT_EQ(CountNot(page, kBg), 0);
  // Malformed UTF-8 still draws and ends.
  EXPECT_EQ(real->DrawText(&page, "\xC3\x28\xF0\x9F", -1, &r, 0), 15);
  // The top flag bit is ignored.
  EXPECT_EQ(real->DrawText(&page, "x", -1, &r, 0x80000000u | LICE_DT_CALCRECT), 15);
}
