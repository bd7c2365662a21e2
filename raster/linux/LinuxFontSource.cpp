// Fonts on Linux: fontconfig turns the requested family name into a font file
// (so "Arial" finds a metric-compatible substitute such as Liberation Sans)
// and FreeType rasterises its glyphs.
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "raster/PlatformFont.h"

namespace
{
// The plug-in's own fontconfig configuration. A host process may use
// fontconfig itself, so the plug-in never touches the library's default
// configuration (nor finalises the library); it loads a private one on first
// use and releases it when the library is unloaded. Matching is serialised.
class Fontconfig
{
public:
  static Fontconfig& Instance()
  {
    static Fontconfig instance;
    return instance;
  }
  ~Fontconfig()
  {
    if (mConfig) FcConfigDestroy(mConfig);
  }
  std::mutex& Lock() { return mLock; }
  // Null if fontconfig cannot load its configuration. [mLock held]
  FcConfig* Config()
  {
    if (!mConfig && !mTried)
    {
      mTried = true;
      mConfig = FcInitLoadConfigAndFonts();
    }
    return mConfig;
  }

private:
  std::mutex mLock;
  FcConfig* mConfig = nullptr;
  bool mTried = false;
};

struct FontFile
{
  std::string path;
  int index = 0;
  std::string family;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
};

bool FindFontFile(const PlatformFontRequest& req, FontFile* out)
{
  Fontconfig& fc = Fontconfig::Instance();
  std::lock_guard<std::mutex> guard(fc.Lock());
  FcConfig* config = fc.Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(req.name ? req.name : ""));
  FcPatternAddInteger(pattern, FC_WEIGHT, req.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, req.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;

  bool found = false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
  {
    out->path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &out->index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
      out->family = reinterpret_cast<const char*>(family);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &out->weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &out->slant);
    found = true;
  }
  FcPatternDestroy(match);
  return found;
}

class LinuxFont : public PlatformFont
{
public:
  ~LinuxFont() override
  {
    if (mFace) FT_Done_Face(mFace);
    if (mLibrary) FT_Done_FreeType(mLibrary);
  }

  bool Open(const PlatformFontRequest& req)
  {
    FontFile file;
    if (!FindFontFile(req, &file)) return false;
    mFamily = file.family;
    if (FT_Init_FreeType(&mLibrary) != 0) return false;
    if (FT_New_Face(mLibrary, file.path.c_str(), file.index, &mFace) != 0) return false;
    if (!FT_IS_SCALABLE(mFace) || req.size == 0) return false;

    // A positive size is the cell height (ascent + descent, as the Windows
    // font mapper reads it), a negative one the em height.
    double ascentUnits = mFace->ascender, descentUnits = -mFace->descender;
    if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(mFace, FT_SFNT_OS2)))
    {
      if (os2->usWinAscent + os2->usWinDescent > 0)
      {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
      }
    }
    if (ascentUnits + descentUnits <= 0) return false;
    const double pxPerUnit = req.size > 0 ? req.size / (ascentUnits + descentUnits)
                                          : -static_cast<double>(req.size) / mFace->units_per_EM;
    const double emPixels = pxPerUnit * mFace->units_per_EM;
    if (!(emPixels > 0.0 && emPixels < 4096.0)) return false;
    if (FT_Set_Char_Size(mFace, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0)), 72, 72) != 0)
      return false;
    mAscent = static_cast<int>(std::lround(ascentUnits * pxPerUnit));
    mLineHeight = mAscent + static_cast<int>(std::lround(descentUnits * pxPerUnit));

    mMono = req.quality == 1;
    // The family has no bold or italic face: synthesise it.
    mEmbolden = req.weight >= 600 && file.weight < FC_WEIGHT_DEMIBOLD;
    mOblique = req.italic && file.slant == FC_SLANT_ROMAN;
    return true;
  }

  int LineHeight() const override { return mLineHeight; }
  const char* FamilyName() const override { return mFamily.c_str(); }

  bool RenderGlyph(uint32_t codepoint, GlyphImage* out) override
  {
    const FT_UInt index = FT_Get_Char_Index(mFace, codepoint);
    const FT_Int32 loadFlags = mMono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Glyph(mFace, index, loadFlags) != 0) return false;
    FT_GlyphSlot slot = mFace->glyph;
    if (mEmbolden) FT_GlyphSlot_Embolden(slot);
    if (mOblique) FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, mMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return false;

    const FT_Bitmap& bm = slot->bitmap;
    out->advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out->left = slot->bitmap_left;
    out->top = mAscent - slot->bitmap_top;
    out->width = static_cast<int>(bm.width);
    out->height = static_cast<int>(bm.rows);
    out->coverage.assign(static_cast<size_t>(out->width) * out->height, 0);
    for (int y = 0; y < out->height; ++y)
    {
      const unsigned char* row = bm.buffer + static_cast<long>(y) * bm.pitch;
      uint8_t* dst = out->coverage.data() + static_cast<size_t>(y) * out->width;
      for (int x = 0; x < out->width; ++x)
      {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
          dst[x] = static_cast<uint8_t>(bm.num_grays == 256 ? row[x] : row[x] * 255 / (bm.num_grays - 1));
      }
    }
    return true;
  }

private:
  FT_Library mLibrary = nullptr;
  FT_Face mFace = nullptr;
  std::string mFamily;
  int mAscent = 0;
  int mLineHeight = 0;
  bool mMono = false;
  bool mEmbolden = false;
  bool mOblique = false;
};
} // namespace

// Orientation is not applied: glyphs are laid out upright on a horizontal
// line, which is all the editor draws.
PlatformFont* CreatePlatformFont(const PlatformFontRequest& request)
{
  LinuxFont* font = new LinuxFont;
  if (!font->Open(request))
  {
    delete font;
    return nullptr;
  }
  return font;
}
