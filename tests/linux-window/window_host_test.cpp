// The X11 window host in-process, on a small test plug-in, under a virtual X
// server: both ways of putting the picture on screen, and the wheel a host
// forwards without a position.
// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/IControl.h"
#include "editor/ITextControl.h"
#include "platform/linux/IGraphicsLinux.h"
#include "raster/LICE_IBitmap.h"
#include "tests/linux-window/support/X11TestHost.h"
#include "tests/support/TestPlug.h"

namespace
{
constexpr int kWidth = 120;
constexpr int kHeight = 80;

// One colour under everything, as the editor's background image: only
// inside the pass's area, as a bitmap would be clipped.
class Backdrop : public IControl
{
public:
  Backdrop(IPlugBase* plug, const IRECT& r) : IControl(plug, r) {}
  bool Paint(IGraphics* g) override
  {
    const IColor colour(255, 40, 44, 52);
    const IRECT r = mArea.Intersect(g->DirtyArea());
    return g->FillRectColor(&colour, &r, nullptr);
  }
};

// Bands of colour that tell the channels apart, bound to a parameter.
class Bands : public IControl
{
public:
  Bands(IPlugBase* plug, const IRECT& r, int param) : IControl(plug, r, param) {}
  bool Paint(IGraphics* g) override
  {
    const IColor colours[] = {IColor(255, 250, 10, 20), IColor(255, 30, 240, 40), IColor(255, 50, 60, 230),
                              IColor(255, static_cast<int>(mControlValue * 255), 128, 7)};
    for (int i = 0; i < 4; ++i)
    {
      IRECT band(mArea.L + i * mArea.W() / 4, mArea.T, mArea.L + (i + 1) * mArea.W() / 4, mArea.B);
      g->FillRectColor(&colours[i], &band, nullptr);
    }
    return true;
  }
};

class WindowHost : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // Skipped without a server; with one named, not reaching it fails.
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server: run under xvfb-run (run-under-xvfb.sh)";
    ASSERT_TRUE(x11.Ready()) << "cannot reach the X server named by DISPLAY, or it has no XTest";
    editor = new IGraphicsLinux(&plug, kWidth, kHeight);
    editor->AddControl(new Backdrop(&plug, IRECT(0, 0, kWidth, kHeight)));
    editor->AddControl(new Bands(&plug, IRECT(0, 0, kWidth, 40), TestPlug::kAmount));
    editor->AddControl(new ITextControl(&plug, IRECT(0, 40, kWidth, kHeight),
                                        IText("Arial", 15, IColor(255, 255, 255, 255)), "Kestrane 1.1"));
    plug.AttachEditor(editor);
    parent = x11.MakeParent(20, 20, kWidth, kHeight);
  }
  void TearDown() override
  {
    if (parent) x11.Destroy(parent);
  }

  // The editor's picture as the screen would show it.
  std::vector<uint32_t> BackBuffer()
  {
    LICE_IBitmap* picture = editor->BackBufferBitmap();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) pixels.push_back(picture->getBits()[y * picture->getRowSpan() + x] & 0xFFFFFFu);
    return pixels;
  }

  void Idle(int times)
  {
    for (int i = 0; i < times; ++i)
    {
      editor->TickAtNextIdle();
      editor->OnHostIdle();
    }
  }

  X11TestDisplay x11;
  TestPlug plug;
  IGraphicsLinux* editor = nullptr;
  Window parent = 0;
};

TEST_F(WindowHost, SharedMemoryAndPlainPutsShowTheSamePicture)
{
  std::vector<uint32_t> shown[2];
  for (int shared = 1; shared >= 0; --shared)
  {
    editor->SetSharedMemoryAllowed(shared != 0);
    ASSERT_NE(editor->OpenEditorWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))), nullptr);
    EXPECT_EQ(editor->UsesSharedMemory(), shared != 0);
    Idle(2);
    // The server shows the picture once it has handled the put.
    for (int tries = 0; tries < 100 && shown[shared] != BackBuffer(); ++tries)
    {
      Idle(1);
      shown[shared] = x11.Pixels(parent, kWidth, kHeight);
    }
    EXPECT_EQ(DifferentPixels(shown[shared], BackBuffer()), 0) << (shared ? "shared memory" : "plain");
    editor->CloseEditorWindow();
  }
  EXPECT_EQ(shown[0], shown[1]);
}

TEST_F(WindowHost, AForwardedWheelStepGoesToTheControlUnderThePointer)
{
  ASSERT_NE(editor->OpenEditorWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))), nullptr);
  Idle(1);
  const double before = plug.Param(TestPlug::kAmount)->CurrentValue();
  x11.MoveTo(parent, 200, 200);
  EXPECT_FALSE(editor->ProcessMouseWheel(1.0f));
  x11.MoveTo(parent, 30, 20);
  EXPECT_TRUE(editor->ProcessMouseWheel(2.0f));
  EXPECT_NEAR(plug.Param(TestPlug::kAmount)->CurrentValue(), before + 0.02, 1e-9);
  // The gesture ends with the window at the latest.
  EXPECT_EQ(plug.PendingEditParam(), TestPlug::kAmount);
  editor->CloseEditorWindow();
  EXPECT_EQ(plug.PendingEditParam(), -1);
}
} // namespace
