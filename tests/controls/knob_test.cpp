// The arc knobs: geometry from the centre, ring angles, the turning knob
// image over its fixed face, the read-out strip, the value prompt.
#include <cmath>

#include <gtest/gtest.h>

#include "controls/IKnobArcImg.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace controlstest;

namespace
{
constexpr double kDeg = 3.141592653589793 / 180.0;
constexpr LICE_pixel kPointer = LICE_RGBA(255, 0, 0, 255);
constexpr LICE_pixel kFace = LICE_RGBA(60, 60, 60, 255);
const IText kReadout("Arial", 15, IColor(160, 255, 255, 255));
const IColor kAccent(255, 100, 200, 255);

// Two 54 x 54 frames side by side: the turning part (a red pointer, two
// pixels wide, from 4 to 14 pixels below the top, on transparency) and the
// fixed face (a grey disc of radius 17).
std::unique_ptr<LICE_MemBitmap> KnobImage()
{
  auto bm = std::make_unique<LICE_MemBitmap>(108, 54, 4);
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 108; ++x)
    {
      LICE_pixel p = 0;
      if (x < 54 && (x == 26 || x == 27) && y >= 4 && y <= 14) p = kPointer;
      const double dx = x - 54 - 26.5, dy = y - 26.5;
      if (x >= 54 && dx * dx + dy * dy <= 17 * 17) p = kFace;
      bm->getBits()[y * bm->getRowSpan() + x] = p;
    }
  return bm;
}

struct KnobRig : ::testing::Test
{
  std::unique_ptr<LICE_MemBitmap> image = KnobImage();
  Rig rig;
  IKnobArcImg* knob = nullptr;

  void SetUp() override
  {
    knob = rig.Add(new IKnobArcImg(&rig.plug, ControlPlug::kLevel, 92, 119, kReadout, kAccent, 21.0f, 3.9f, 1,
                                   IKnobArc::kLabelStrip, 4, 300, 4.0, IKnobControl::kVertical, Frames(image, 2)));
    knob->SetImageRing(3.9f, 4);
    rig.Attach();
  }
  void PaintAt(double normalized)
  {
    rig.plug.SetParameterFromHost(ControlPlug::kLevel, normalized);
    rig.Clear(kBlack);
    rig.editor->PaintAll();
  }
  LICE_pixel At(int x, int y) const { return rig.editor->PixelAt(x, y); }
};

// Colour without the alpha byte, which drawing in replace mode sets to the
// coverage; the screen shows only the colour.
LICE_pixel Rgb(LICE_pixel p)
{
  return p & LICE_RGBA(255, 255, 255, 0);
}

bool Reddish(LICE_pixel p)
{
  return LICE_GETR(p) > 150 && LICE_GETG(p) < 90 && LICE_GETB(p) < 90;
}
} // namespace

TEST_F(KnobRig, RectangleAndReadOutStripFollowFromTheCentre)
{
  EXPECT_EQ(knob->Area(), IRECT(63, 90, 121, 164));
  EXPECT_EQ(knob->CentreX(), 92);
  EXPECT_EQ(knob->CentreY(), 119);
  PaintAt(0.5);
  EXPECT_EQ(knob->LabelRect(), IRECT(63, 149, 121, 164));
  // The read-out ("12dB") is drawn in the strip, centred.
  int lit = 0, left = 0, right = 0;
  for (int y = 149; y < 164; ++y)
    for (int x = 63; x < 121; ++x)
      if (At(x, y) != kBlack)
      {
        ++lit;
        (x < 92 ? left : right) += 1;
      }
  EXPECT_GT(lit, 20);
  EXPECT_NEAR(left, right, lit / 4);
}

TEST(KnobAngles, RingIsEmptyAtZeroAndTheImageStraightInTheMiddle)
{
  // The image class's ring: -147 degrees to +150.
  EXPECT_EQ(IKnobArcImg::RingStartAngle(300), IKnobArcImg::RingEndAngle(0.0, 300));
  EXPECT_NEAR(IKnobArcImg::RingStartAngle(300), -147 * kDeg, 1e-6);
  EXPECT_NEAR(IKnobArcImg::RingEndAngle(0.5, 300), 0.0, 1e-9);
  EXPECT_NEAR(IKnobArcImg::RingEndAngle(1.0, 300), 150 * kDeg, 1e-6);
  // The plain arc knob's: -148 to +150.
  EXPECT_EQ(IKnobArc::RingStartAngle(300), IKnobArc::RingEndAngle(0.0, 300));
  EXPECT_NEAR(IKnobArc::RingStartAngle(300), -148 * kDeg, 1e-6);
  EXPECT_NEAR(IKnobArc::RingEndAngle(1.0, 300), 150 * kDeg, 1e-6);
  // The image turns -150 .. +150 degrees and is neither turned nor shifted
  // in the middle.
  EXPECT_EQ(IKnobArcImg::ImageAngle(0.5, 300), 0.0);
  EXPECT_EQ(IKnobArcImg::SourceShift(0.5), 0.0f);
  EXPECT_NEAR(IKnobArcImg::ImageAngle(1.0, 300), 150 * kDeg, 1e-6);
  EXPECT_NEAR(IKnobArcImg::ImageAngle(0.0, 300), -150 * kDeg, 1e-6);
  EXPECT_NEAR(IKnobArcImg::SourceShift(0.0), -0.83, 0.01);
  EXPECT_EQ(IKnobArcImg::SourceShift(0.0), IKnobArcImg::SourceShift(1.0));
}

TEST_F(KnobRig, InTheMiddleTheTurningFrameLandsUnchangedOnTheFace)
{
  PaintAt(0.5);
  // The pointer, pixel for pixel where it is in the image (top-left of the
  // frame at (65, 92)), over the face.
  for (int y = 4; y <= 14; ++y)
  {
    EXPECT_EQ(At(65 + 26, 92 + y), kPointer) << y;
    EXPECT_EQ(At(65 + 27, 92 + y), kPointer) << y;
    EXPECT_NE(At(65 + 25, 92 + y), kPointer) << y;
  }
  EXPECT_EQ(At(92, 119), kFace);
  EXPECT_EQ(At(92, 92 + 16), kFace);
}

TEST_F(KnobRig, AtTheTopTheImageIsTurnedBy150Degrees)
{
  PaintAt(1.0);
  EXPECT_FALSE(Reddish(At(92, 100)));
  // The pointer's middle, 17.5 pixels from the centre, turned clockwise by
  // 150 degrees.
  const double a = 150 * kDeg;
  const int x = static_cast<int>(std::lround(92 + 17.5 * std::sin(a)));
  const int y = static_cast<int>(std::lround(119 - 17.5 * std::cos(a)));
  // Bilinear sampling and the source shift move it by up to a pixel.
  int red = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) red += Reddish(At(x + dx, y + dy));
  EXPECT_GE(red, 2) << x << "," << y;
  EXPECT_EQ(At(92, 119), kFace);
}

TEST_F(KnobRig, RingGrowsFromEmptyWithTheValue)
{
  // A ring pixel straight above the centre, half-way through the ring's
  // width, and one 120 degrees to the left (near the ring's start).
  const auto ringPixel = [&](double deg) {
    return Rgb(At(static_cast<int>(std::lround(91.8 + 23 * std::sin(deg * kDeg))),
              static_cast<int>(std::lround(118.8 - 23 * std::cos(deg * kDeg)))));
  };
  const LICE_pixel accent = Rgb(kAccent.ToPixel());
  const LICE_pixel black = Rgb(kBlack);
  PaintAt(0.0);
  EXPECT_EQ(ringPixel(0), black);
  EXPECT_EQ(ringPixel(-120), black);
  PaintAt(0.5);
  EXPECT_EQ(ringPixel(-120), accent);
  EXPECT_EQ(ringPixel(-5), accent);
  EXPECT_EQ(ringPixel(10), black);
  PaintAt(1.0);
  EXPECT_EQ(ringPixel(90), accent);
  EXPECT_EQ(ringPixel(-90), accent);
}

TEST_F(KnobRig, RightClickAsksForAValueOnce)
{
  rig.Click(92, 119, true);
  ASSERT_TRUE(rig.editor->HasPrompt());
  EXPECT_EQ(rig.editor->Prompt().control, knob);
  EXPECT_TRUE(knob->PromptRequested());
  EXPECT_TRUE(knob->IsPromptOpen());
  ASSERT_TRUE(rig.editor->ConfirmPrompt("18"));
  EXPECT_EQ(rig.plug.Param(ControlPlug::kLevel)->CurrentValue(), 18.0);
  EXPECT_FALSE(knob->IsPromptOpen());
  rig.editor->Tick();
  EXPECT_FALSE(knob->PromptRequested());
}

TEST_F(KnobRig, APromptThePlatformRefusesLeavesNoPromptState)
{
  // Another control's prompt is open: the headless host refuses a second.
  auto* other = new editortest::ProbeControl(&rig.plug, IRECT(0, 0, 10, 10), ControlPlug::kFreq);
  rig.editor->AddControl(other);
  rig.Click(5, 5, true);
  ASSERT_EQ(rig.editor->Prompt().control, other);

  rig.Click(92, 119, true);
  EXPECT_EQ(rig.editor->Prompt().control, other);
  EXPECT_FALSE(knob->IsPromptOpen());
  EXPECT_FALSE(knob->PromptRequested());
  // Once the other prompt is gone, one right click opens the knob's.
  rig.editor->CancelPrompt();
  rig.Click(92, 119, true);
  EXPECT_EQ(rig.editor->Prompt().control, knob);
}

TEST_F(KnobRig, APassCuttingTheKnobGetsOnlyItsOwnPart)
{
  PaintAt(1.0);
  std::vector<LICE_pixel> whole;
  for (int y = 80; y < 175; ++y)
    for (int x = 50; x < 135; ++x) whole.push_back(At(x, y));

  // Only the left half of the knob is in the pass: the ring, the turned
  // image and the read-out change nothing to its right.
  rig.Clear(kBlack);
  IRECT left(0, 0, 92, 470);
  rig.editor->Paint(&left);
  int i = 0;
  for (int y = 80; y < 175; ++y)
    for (int x = 50; x < 135; ++x, ++i)
      EXPECT_EQ(At(x, y), x < 92 ? whole[i] : kBlack) << x << "," << y;
}
