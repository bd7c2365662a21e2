#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "editor/FontCache.h"
#include "raster/LICE_IFont.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/raster/RasterTestSupport.h"

using namespace editortest;
using rastertest::At;

namespace
{
constexpr LICE_pixel kBlack = 0xFF000000u;

// A control whose drawing is given by the test.
class DrawControl : public IControl
{
public:
  DrawControl(IPlugBase* plug, const IRECT& area, std::function<void(IGraphics*)> draw)
      : IControl(plug, area), mDraw(std::move(draw))
  {
  }
  bool Paint(IGraphics* g) override
  {
    mDraw(g);
    return true;
  }

private:
  std::function<void(IGraphics*)> mDraw;
};

// An editor of 100 x 60 pixels, cleared to opaque black, drawing one
// control that covers all of it.
struct Drawing : ::testing::Test
{
  EditorRig rig{100, 60};
  std::function<void(IGraphics*)> draw = [](IGraphics*) {};

  void SetUp() override
  {
    rig.Add(new DrawControl(rig.plug.get(), IRECT(0, 0, 100, 60), [this](IGraphics* g) { draw(g); }));
    rig.Attach();
  }
  LICE_IBitmap& Picture() { return *rig.editor->BackBuffer(); }
  void PaintArea(const IRECT& area)
  {
    rastertest::Clear(Picture(), kBlack);
    IRECT r = area;
    rig.editor->Paint(&r);
  }
  void PaintAll() { PaintArea(IRECT(0, 0, 100, 60)); }
  // The changed pixels' bounding box (right and bottom outside); empty if none.
  IRECT Changed()
  {
    IRECT box;
    bool any = false;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 100; ++x)
        if (At(Picture(), x, y) != kBlack)
        {
          box = any ? box.Union(IRECT(x, y, x + 1, y + 1)) : IRECT(x, y, x + 1, y + 1);
          any = true;
        }
    return box;
  }
};

// Rows (or columns) numbered by colour: line i has red = i.
std::unique_ptr<LICE_MemBitmap> NumberedLines(int w, int h, bool rows)
{
  auto bm = std::make_unique<LICE_MemBitmap>(w, h, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) At(*bm, x, y) = LICE_RGBA(static_cast<unsigned>(rows ? y : x), 0, 0, 255);
  return bm;
}
} // namespace

TEST_F(Drawing, StackedFramesAreReadFromTheirOwnRows)
{
  auto frames = MakeFrames(4, 3, 5, true);
  const IBitmap image(frames.get(), 4, 15, 5);
  for (int frame = 1; frame <= 5; ++frame)
  {
    draw = [&](IGraphics* g) {
      const IRECT dest(10, 10, 14, 13);
      g->BlitBitmap(&image, &dest, frame, nullptr, true);
    };
    PaintAll();
    EXPECT_EQ(Changed(), IRECT(10, 10, 14, 13)) << frame;
    EXPECT_EQ(At(Picture(), 10, 10), FrameColour(frame)) << frame;
    EXPECT_EQ(At(Picture(), 13, 12), FrameColour(frame)) << frame;
  }
}

TEST_F(Drawing, SideBySideFramesAreReadFromTheirOwnColumns)
{
  auto frames = MakeFrames(3, 4, 6, false);
  const IBitmap image(frames.get(), 18, 4, 6);
  for (int frame = 1; frame <= 6; ++frame)
  {
    draw = [&](IGraphics* g) {
      const IRECT dest(20, 5, 23, 9);
      g->BlitBitmap(&image, &dest, frame, nullptr, false);
    };
    PaintAll();
    EXPECT_EQ(Changed(), IRECT(20, 5, 23, 9)) << frame;
    EXPECT_EQ(At(Picture(), 22, 8), FrameColour(frame)) << frame;
  }
}

TEST_F(Drawing, FrameOffsetsRoundToTheNearestLine)
{
  // Ten rows in three frames: frames start at rows 0, 3 (3.33) and 7 (6.67).
  auto rows = NumberedLines(2, 10, true);
  const IBitmap stacked(rows.get(), 2, 10, 3);
  auto cols = NumberedLines(10, 2, false);
  const IBitmap side(cols.get(), 10, 2, 3);
  const int expected[] = {0, 0, 3, 7};
  for (int frame = 1; frame <= 3; ++frame)
  {
    draw = [&](IGraphics* g) {
      const IRECT a(0, 0, 2, 3);
      g->BlitBitmap(&stacked, &a, frame, nullptr, true);
      const IRECT b(50, 0, 53, 2);
      g->BlitBitmap(&side, &b, frame, nullptr, false);
    };
    PaintAll();
    EXPECT_EQ(LICE_GETR(At(Picture(), 0, 0)), static_cast<unsigned>(expected[frame])) << frame;
    EXPECT_EQ(LICE_GETR(At(Picture(), 50, 0)), static_cast<unsigned>(expected[frame])) << frame;
  }
  // A single-frame image ignores the frame number.
  const IBitmap single(rows.get(), 2, 10, 1);
  draw = [&](IGraphics* g) {
    const IRECT a(0, 0, 2, 3);
    g->BlitBitmap(&single, &a, 3, nullptr, true);
  };
  PaintAll();
  EXPECT_EQ(LICE_GETR(At(Picture(), 0, 0)), 0u);
}

TEST_F(Drawing, BlitsAreClippedToTheDirtyAreaWithMatchingSource)
{
  auto cols = NumberedLines(40, 30, false);
  const IBitmap image(cols.get(), 40, 30, 1);
  draw = [&](IGraphics* g) {
    const IRECT dest(10, 10, 50, 40);
    g->BlitBitmap(&image, &dest, 2, 0, nullptr);
  };
  PaintArea(IRECT(20, 15, 30, 25));
  EXPECT_EQ(Changed(), IRECT(20, 15, 30, 25));
  // Destination x 20 is source column 20 - 10 + 2.
  EXPECT_EQ(LICE_GETR(At(Picture(), 20, 15)), 12u);
  EXPECT_EQ(LICE_GETR(At(Picture(), 29, 24)), 21u);

  PaintArea(IRECT(60, 0, 70, 5)); // misses the destination
  EXPECT_TRUE(Changed().Empty());
}

TEST_F(Drawing, BlendMethodsMapToTheRasterModes)
{
  EXPECT_EQ(IChannelBlend::ModeFor(IChannelBlend::kBlendNone), 0x10000);
  EXPECT_EQ(IChannelBlend::ModeFor(IChannelBlend::kBlendClobber), 0);
  EXPECT_EQ(IChannelBlend::ModeFor(IChannelBlend::kBlendAdd), 0x10001);
  EXPECT_EQ(IChannelBlend::ModeFor(IChannelBlend::kBlendColorDodge), 0x10002);
  EXPECT_EQ(IChannelBlend::ModeFor(9), 0x10000);
  EXPECT_EQ(BlendMode(nullptr), 0x10000);
  EXPECT_EQ(BlendWeight(nullptr), 1.0f);

  // A transparent source pixel: normal blending keeps what lies below,
  // replacing copies it as it is.
  LICE_MemBitmap clear(1, 1, 4);
  At(clear, 0, 0) = LICE_RGBA(255, 255, 255, 0);
  const IBitmap image(&clear, 1, 1, 1);
  const IChannelBlend replace(IChannelBlend::kBlendClobber);
  draw = [&](IGraphics* g) {
    const IRECT a(0, 0, 1, 1), b(1, 0, 2, 1);
    g->BlitBitmap(&image, &a, 0, 0, nullptr);
    g->BlitBitmap(&image, &b, 0, 0, &replace);
  };
  PaintAll();
  EXPECT_EQ(At(Picture(), 0, 0), kBlack);
  EXPECT_EQ(At(Picture(), 1, 0), LICE_RGBA(255, 255, 255, 0));

  // A greyed control's quarter weight: opaque white over black gives 64.
  LICE_MemBitmap white(1, 1, 4);
  At(white, 0, 0) = 0xFFFFFFFFu;
  const IBitmap whiteImage(&white, 1, 1, 1);
  const IChannelBlend dimmed(IChannelBlend::kBlendNone, 0.25f);
  draw = [&](IGraphics* g) {
    const IRECT a(5, 5, 6, 6);
    g->BlitBitmap(&whiteImage, &a, 0, 0, &dimmed);
  };
  PaintAll();
  EXPECT_EQ(LICE_GETR(At(Picture(), 5, 5)), 64u);
}

TEST_F(Drawing, FillsUseTheColourAlphaAndIgnoreTheDirtyArea)
{
  const IColor halfWhite(128, 255, 255, 255);
  draw = [&](IGraphics* g) {
    const IRECT r(60, 40, 70, 50);
    g->FillRectColor(&halfWhite, &r, nullptr);
  };
  PaintArea(IRECT(0, 0, 10, 10)); // the pass covers another part
  EXPECT_EQ(Changed(), IRECT(60, 40, 70, 50));
  EXPECT_EQ(LICE_GETR(At(Picture(), 60, 40)), 127u);

  const IChannelBlend replace(IChannelBlend::kBlendClobber);
  draw = [&](IGraphics* g) {
    const IRECT r(0, 0, 2, 2);
    g->FillRectColor(&halfWhite, &r, &replace);
  };
  PaintAll();
  EXPECT_EQ(At(Picture(), 1, 1), halfWhite.ToPixel());
}

TEST_F(Drawing, ArcsAreWeightedByTheColourAlpha)
{
  const IColor opaque(255, 0, 255, 0);
  draw = [&](IGraphics* g) { g->StrokeArc(&opaque, 50.0f, 30.0f, 20.0f, 0.0f, 1.5707964f, nullptr, true); };
  PaintAll();
  const IRECT box = Changed();
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.L, 50); // the quarter from 12 to 3 o'clock
  EXPECT_LE(box.B, 31);
  EXPECT_GE(box.R, 70);
  EXPECT_LE(box.T, 10);

  const IColor invisible(0, 0, 255, 0);
  draw = [&](IGraphics* g) { g->StrokeArc(&invisible, 50.0f, 30.0f, 20.0f, 0.0f, 6.3f, nullptr, true); };
  PaintAll();
  EXPECT_TRUE(Changed().Empty());
}

TEST_F(Drawing, RotatedImagesAreCentredOnThePointAndNotClipped)
{
  LICE_MemBitmap solid(10, 6, 4);
  rastertest::Clear(solid, 0xFFFFFFFFu);
  const IBitmap image(&solid, 10, 6, 1);
  draw = [&](IGraphics* g) { g->BlitRotated(&image, 50, 30, 0.0, nullptr); };
  PaintArea(IRECT(0, 0, 5, 5));
  EXPECT_EQ(Changed(), IRECT(45, 27, 55, 33));

  // A quarter turn stands the image up around the same centre.
  draw = [&](IGraphics* g) { g->BlitRotated(&image, 50, 30, M_PI / 2, nullptr); };
  PaintAll();
  const IRECT turned = Changed();
  EXPECT_GE(turned.L, 45);
  EXPECT_LE(turned.R, 55);
  EXPECT_GE(turned.T, 27);
  EXPECT_LE(turned.B, 33);
  EXPECT_EQ(At(Picture(), 50, 30), 0xFFFFFFFFu);
  EXPECT_EQ(At(Picture(), 46, 30), kBlack); // the long side no longer reaches here
}

TEST_F(Drawing, TextIsAlignedInItsRectangle)
{
  IText left("Arial", 15, IColor(255, 255, 255, 255), IText::kStyleNormal, IText::kAlignNear);
  IText centre = left;
  centre.mAlign = IText::kAlignCenter;
  IText right = left;
  right.mAlign = IText::kAlignFar;
  const IRECT r(10, 10, 90, 30);
  IRECT ink[3];
  IText* styles[3] = {&left, &centre, &right};
  for (int i = 0; i < 3; ++i)
  {
    draw = [&](IGraphics* g) { EXPECT_TRUE(g->DrawTextIn(styles[i], "Ab1", &r)); };
    PaintAll();
    ink[i] = Changed();
    ASSERT_FALSE(ink[i].Empty()) << i;
  }
  EXPECT_LT(ink[0].L, 15);
  EXPECT_GT(ink[2].R, 85);
  EXPECT_NEAR((ink[1].L + ink[1].R) / 2.0, 50.0, 2.0);
  EXPECT_EQ(ink[0].W(), ink[1].W());
  EXPECT_EQ(ink[0].W(), ink[2].W());
  // All three styles differ only in alignment: one font serves them.
  EXPECT_NE(left.mCached, nullptr);
  EXPECT_EQ(left.mCached, centre.mCached);
  EXPECT_EQ(left.mCached, right.mCached);
}

TEST_F(Drawing, TranslucentTextIsFainter)
{
  IText solid("Arial", 15, IColor(255, 255, 255, 255));
  IText faint("Arial", 15, IColor(100, 255, 255, 255));
  const IRECT r(10, 10, 90, 30);
  auto brightest = [&](IText* t) {
    draw = [&](IGraphics* g) { g->DrawTextIn(t, "H", &r); };
    PaintAll();
    unsigned best = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 100; ++x) best = std::max(best, LICE_GETR(At(Picture(), x, y)));
    return best;
  };
  const unsigned full = brightest(&solid);
  const unsigned dim = brightest(&faint);
  EXPECT_GT(full, 200u);
  EXPECT_GT(dim, 0u);
  EXPECT_LT(dim, full * 60 / 100);
}

TEST_F(Drawing, EmptyTextDrawsNothingAndAFontThatCannotBeMadeFails)
{
  IText unusable("Arial", 0, IColor(255, 255, 255, 255));
  const IRECT r(10, 10, 90, 30);
  const int fontsBefore = FontCache::Instance().Count();
  draw = [&](IGraphics* g) {
    EXPECT_TRUE(g->DrawTextIn(&unusable, "", &r));
    EXPECT_TRUE(g->DrawTextIn(&unusable, nullptr, &r));
    EXPECT_FALSE(g->DrawTextIn(&unusable, "x", &r));
  };
  PaintAll();
  EXPECT_TRUE(Changed().Empty());
  EXPECT_EQ(unusable.mCached, nullptr);
  EXPECT_EQ(FontCache::Instance().Count(), fontsBefore);
}

TEST(FontCache, KeyIsSizeOrientationStyleAndName)
{
  TestPlug plug;
  IGraphicsHeadless editor(&plug, 10, 10, 0);
  IText base("DejaVu Sans", 13, IColor(255, 1, 2, 3), IText::kStyleNormal, IText::kAlignNear, 0,
             IText::kQualityDefault);
  LICE_IFont* font = editor.FontForText(&base);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(base.mCached, font);

  IText sameKey("DejaVu Sans", 13, IColor(10, 200, 200, 200), IText::kStyleNormal, IText::kAlignFar, 0,
                IText::kQualityNonAntiAliased);
  EXPECT_EQ(editor.FontForText(&sameKey), font);
  IText otherEditor = base;
  otherEditor.mCached = nullptr;
  TestPlug plug2;
  IGraphicsHeadless editor2(&plug2, 10, 10, 0);
  EXPECT_EQ(editor2.FontForText(&otherEditor), font);

  IText bigger = base, bold = base, turned = base, renamed = base;
  bigger.mSize = 14;
  bold.mStyle = IText::kStyleBold;
  turned.mOrientation = 90;
  CopyBounded(renamed.mFont, "DejaVu Serif");
  for (IText* t : {&bigger, &bold, &turned, &renamed})
  {
    LICE_IFont* other = editor.FontForText(t);
    EXPECT_NE(other, nullptr);
    EXPECT_NE(other, font);
  }
}
