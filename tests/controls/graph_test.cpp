// The modulation display: where the marker goes, the empty-range marker,
// which instance draws what.
#include <gtest/gtest.h>

#include "controls/GRAPH.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace controlstest;

TEST(Graph, EnvelopeMarkerIsPlacedInItsRange)
{
  Rig rig;
  auto* env = rig.Add(new GRAPH(&rig.plug, 37, 333, 194, 335));
  rig.Attach();
  IRECT marker;
  IColor colour;
  EXPECT_FALSE(env->Marker(&marker, &colour)); // hidden until the source is active

  env->SetShowEnv(true);
  env->SetEnvRange(20.0f, 20000.0f);
  env->SetEnvMark(10010.0f);
  ASSERT_TRUE(env->Marker(&marker, &colour));
  EXPECT_EQ(marker, IRECT(112, 333, 118, 335));
  EXPECT_EQ(colour, IColor(150, 255, 255, 255));
  env->SetEnvMark(20000.0f);
  env->Marker(&marker, &colour);
  EXPECT_EQ(marker.L, 37 + 150);
  // Outside the range it leaves the track.
  env->SetEnvMark(-19960.0f);
  env->Marker(&marker, &colour);
  EXPECT_EQ(marker.L, 37 - 150);

  env->SetEnvMark(10010.0f);
  rig.Clear(kBlack);
  rig.editor->PaintAll();
  const LICE_pixel white150 = rig.editor->PixelAt(112, 333);
  EXPECT_GT(LICE_GETR(white150), 140u);
  EXPECT_EQ(LICE_GETR(white150), LICE_GETB(white150));
  EXPECT_EQ(rig.editor->PixelAt(117, 334), white150);
  EXPECT_EQ(rig.editor->PixelAt(111, 333), kBlack);
  EXPECT_EQ(rig.editor->PixelAt(118, 333), kBlack);
  EXPECT_EQ(rig.editor->PixelAt(112, 335), kBlack);
}

TEST(Graph, AnEmptyRangeShowsARedBlockAtTheStart)
{
  Rig rig;
  auto* env = rig.Add(new GRAPH(&rig.plug, 37, 333, 194, 335));
  auto* lfo = rig.Add(new GRAPH(&rig.plug, 217, 270, 351, 272));
  rig.Attach();
  env->SetShowEnv(true);
  env->SetEnvRange(20.0f, 20.0f);
  env->SetEnvMark(500.0f);
  lfo->SetShowLfo(true);
  IRECT marker;
  IColor colour;
  ASSERT_TRUE(env->Marker(&marker, &colour));
  EXPECT_EQ(marker, IRECT(37, 333, 43, 335));
  EXPECT_EQ(colour, IColor(180, 255, 0, 0));
  ASSERT_TRUE(lfo->Marker(&marker, &colour));
  EXPECT_EQ(marker, IRECT(217, 270, 223, 272));
  EXPECT_EQ(colour, IColor(200, 255, 0, 0));

  rig.Clear(kBlack);
  rig.editor->PaintAll();
  const LICE_pixel red = rig.editor->PixelAt(37, 333);
  EXPECT_EQ(LICE_GETR(red), 180u);
  EXPECT_EQ(LICE_GETG(red), 0u);
  EXPECT_EQ(rig.editor->PixelAt(42, 334), red);
  EXPECT_EQ(rig.editor->PixelAt(43, 333), kBlack);
}

TEST(Graph, TheLfoInstanceUsesItsOwnSetAndTrack)
{
  Rig rig;
  auto* lfo = rig.Add(new GRAPH(&rig.plug, 217, 270, 351, 272));
  rig.Attach();
  lfo->SetShowEnv(true); // the envelope's set means nothing here
  lfo->SetEnvRange(0.0f, 1.0f);
  IRECT marker;
  IColor colour;
  EXPECT_FALSE(lfo->Marker(&marker, &colour));
  lfo->SetShowLfo(true);
  lfo->SetLfoRange(-1.0f, 1.0f);
  lfo->SetLfoMark(0.0f);
  ASSERT_TRUE(lfo->Marker(&marker, &colour));
  EXPECT_EQ(marker, IRECT(217 + 64, 270, 223 + 64, 272));
  lfo->SetLfoMark(0.99f); // 127.36 -> 127
  lfo->Marker(&marker, &colour);
  EXPECT_EQ(marker.L, 217 + 127);
}

TEST(Graph, HiddenOrMisplacedInstancesDrawNothingButStayDirty)
{
  Rig rig;
  auto* lfo = rig.Add(new GRAPH(&rig.plug, 217, 270, 351, 272));
  auto* stray = rig.Add(new GRAPH(&rig.plug, 50, 100, 200, 102));
  rig.Attach();
  stray->SetShowEnv(true);
  stray->SetShowLfo(true);
  stray->SetEnvRange(0.0f, 1.0f);
  IRECT marker;
  IColor colour;
  EXPECT_FALSE(stray->Marker(&marker, &colour));
  EXPECT_FALSE(lfo->Marker(&marker, &colour));
  rig.Clear(kBlack);
  rig.editor->Tick();
  EXPECT_EQ(rig.editor->PixelAt(217, 270), kBlack);
  EXPECT_EQ(rig.editor->PixelAt(50, 100), kBlack);
  // Every tick reports both, so the marker's old place is always repainted.
  for (int i = 0; i < 3; ++i)
  {
    IRECT dirty;
    ASSERT_TRUE(rig.editor->NeedsRedraw(&dirty));
    EXPECT_EQ(dirty, IRECT(50, 100, 351, 272));
    rig.editor->Tick();
  }
  // A broken value never moves the marker to an overflowing coordinate.
  lfo->SetShowLfo(true);
  lfo->SetLfoRange(0.0f, 1e-30f);
  lfo->SetLfoMark(1.0f);
  ASSERT_TRUE(lfo->Marker(&marker, &colour));
  EXPECT_GT(marker.L, 217);
  EXPECT_EQ(marker.R - marker.L, 6);
}
