// The Linux plug-in's editor window under a virtual X server, driven as a
// Linux host drives it: kestrane.so loaded through its entry point, the
// editor opened in a window of ours, effEditIdle from this thread, its
// pixels read back from the server and input synthesised with XTest.
// Run under xvfb-run (tests/linux-window/run-under-xvfb.sh).
// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/IRECT.h"
#include "effect/KestraneParams.h"
#include "raster/EditorImages.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"
#include "tests/linux-window/support/X11TestHost.h"

namespace
{
// Places on the editor (388 x 470), from its layout.
constexpr int kFreqKnobX = 92, kFreqKnobY = 119;          // the filter frequency knob's centre
constexpr int kCompSwitchX = 160, kCompSwitchY = 313;     // the envelope's compensation switch
constexpr int kTypeX = 334, kTypeY = 98;                  // the filter type buttons' corner

class EditorWindow : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // Skipped without a server; with one named, not reaching it fails.
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server: run under xvfb-run (run-under-xvfb.sh)";
    ASSERT_TRUE(x11.Ready()) << "cannot reach the X server named by DISPLAY, or it has no XTest";
    ASSERT_TRUE(library.Loaded());
  }

  float Value(EditorSession& session, int param) { return session.plugin.effect->getParameter(session.plugin.effect, param); }
  std::string Display(EditorSession& session, int param) { return session.plugin.Text(effGetParamDisplay, param); }

  // The host calls of one kind, for one parameter.
  static int Count(const RecordingHost& host, VstInt32 opcode, int param)
  {
    int n = 0;
    for (const RecordingHost::Call& call : host.calls) n += call.opcode == opcode && call.index == param;
    return n;
  }
  // The begin, automate and end calls for the parameter, in order.
  static std::vector<VstInt32> Gestures(const RecordingHost& host, int param)
  {
    std::vector<VstInt32> seen;
    for (const RecordingHost::Call& call : host.calls)
      if (call.index == param &&
          (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate || call.opcode == audioMasterEndEdit))
        seen.push_back(call.opcode);
    return seen;
  }
  // Begin, automation..., end, once.
  static bool IsOneGesture(const RecordingHost& host, int param)
  {
    const std::vector<VstInt32> seen = Gestures(host, param);
    return seen.size() >= 3 && seen.front() == audioMasterBeginEdit && seen.back() == audioMasterEndEdit &&
           std::count(seen.begin(), seen.end(), audioMasterBeginEdit) == 1 &&
           std::count(seen.begin(), seen.end(), audioMasterEndEdit) == 1;
  }
  // Every begin ended before the next, and an automation inside one.
  static bool AutomatedInsideGestures(const RecordingHost& host, int param)
  {
    int open = 0;
    bool automatedInside = false;
    for (VstInt32 opcode : Gestures(host, param))
    {
      if (opcode == audioMasterBeginEdit && open++ != 0) return false;
      if (opcode == audioMasterEndEdit && --open != 0) return false;
      if (opcode == audioMasterAutomate && open == 1) automatedInside = true;
    }
    return open == 0 && automatedInside;
  }

  X11TestDisplay x11;
  PluginLibrary library{KESTRANE_PLUGIN_LIBRARY};
};

TEST_F(EditorWindow, DrawsWhatTheHeadlessEditorDrawsAndReopens)
{
  EditorSession session(x11, library);
  ASSERT_NE(session.plugin.effect->flags & effFlagsHasEditor, 0);
  ASSERT_EQ(session.width, 388);
  ASSERT_EQ(session.height, 470);
  ASSERT_TRUE(session.Open());
  const Window child = session.EditorWindow();
  ASSERT_NE(child, 0u);
  XWindowAttributes attributes{};
  XGetWindowAttributes(x11.Connection(), child, &attributes);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(attributes.width, 388);
  EXPECT_EQ(attributes.height, 470);

  const std::vector<uint32_t> expected = HeadlessPicture(library, ProgramChunk(session.plugin));
  ASSERT_EQ(expected.size(), 388u * 470u);
  EXPECT_EQ(DifferentPixels(session.IdleUntilShows(expected), expected), 0);

  session.Close();
  EXPECT_TRUE(x11.Children(session.parent).empty());
  // Changed while closed, shown when opened again.
  session.plugin.effect->setParameter(session.plugin.effect, kFilterMix, 0.25f);
  ASSERT_TRUE(session.Open());
  const std::vector<uint32_t> changed = HeadlessPicture(library, ProgramChunk(session.plugin));
  EXPECT_NE(changed, expected);
  EXPECT_EQ(DifferentPixels(session.IdleUntilShows(changed), changed), 0);
}

TEST_F(EditorWindow, ClicksDragsAndTheWheelAreEditGestures)
{
  // Away from the screen's top, so a drag can leave the window upwards.
  EditorSession session(x11, library, 0, 100);
  ASSERT_TRUE(session.Open());
  session.IdleFor(50);
  RecordingHost& host = session.plugin.host;

  // A click on a three-state switch steps it: "Right" to "Both".
  host.Clear();
  x11.Click(session.parent, kCompSwitchX, kCompSwitchY, Button1);
  session.IdleFor(50);
  EXPECT_EQ(Display(session, kEnvCompensation), "Both");
  EXPECT_TRUE(IsOneGesture(host, kEnvCompensation));

  // Dragging the knob up raises it; the drag goes on outside the window.
  host.Clear();
  const float before = Value(session, kFilterFreq);
  x11.MoveTo(session.parent, kFreqKnobX, kFreqKnobY);
  x11.Button(Button1, true);
  session.IdleFor(30);
  x11.MoveTo(session.parent, kFreqKnobX, kFreqKnobY - 30);
  session.IdleFor(30);
  x11.MoveTo(session.parent, kFreqKnobX, -20);
  session.IdleFor(30);
  const float dragged = Value(session, kFilterFreq);
  x11.Button(Button1, false);
  session.IdleFor(30);
  EXPECT_GT(dragged, before + 0.05f);
  EXPECT_TRUE(IsOneGesture(host, kFilterFreq));

  // A double click brings back the value the editor opened with.
  x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button1);
  x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button1);
  session.IdleFor(50);
  EXPECT_FLOAT_EQ(Value(session, kFilterFreq), before);

  // Three wheel notches make one gesture, which ends half a second (12
  // ticks) after the last.
  host.Clear();
  for (int i = 0; i < 3; ++i) x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button4);
  session.IdleFor(100);
  EXPECT_NEAR(Value(session, kFilterFreq), before + 0.03f, 2e-4);
  EXPECT_EQ(Count(host, audioMasterBeginEdit, kFilterFreq), 1);
  EXPECT_EQ(Count(host, audioMasterEndEdit, kFilterFreq), 0);
  for (int waited = 0; waited < 3000 && Count(host, audioMasterEndEdit, kFilterFreq) == 0; waited += 50)
    session.IdleFor(50);
  EXPECT_TRUE(IsOneGesture(host, kFilterFreq));
}

TEST_F(EditorWindow, ValuesAreTypedIntoDrawnPromptsAndChosenFromLists)
{
  EditorSession session(x11, library);
  ASSERT_TRUE(session.Open());
  session.IdleFor(50);
  const std::vector<uint32_t> plain = x11.Pixels(session.parent, session.width, session.height);
  RecordingHost& host = session.plugin.host;

  // A right click opens a text field over the knob; the typed value counts
  // on Return.
  host.Clear();
  x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button3);
  session.IdleFor(50);
  EXPECT_GT(DifferentPixels(x11.Pixels(session.parent, session.width, session.height), plain), 0);
  x11.Type("1234");
  x11.Key(XK_BackSpace);
  x11.Type("5");
  x11.Key(XK_Return);
  session.IdleFor(50);
  EXPECT_EQ(Display(session, kFilterFreq), "1235");
  EXPECT_TRUE(AutomatedInsideGestures(host, kFilterFreq));

  // Escape, or a click elsewhere, drops what was typed.
  x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button3);
  session.IdleFor(50);
  x11.Type("99");
  x11.Key(XK_Escape);
  x11.Click(session.parent, kFreqKnobX, kFreqKnobY, Button3);
  session.IdleFor(50);
  x11.Type("77");
  x11.Click(session.parent, 10, 460, Button1);
  session.IdleFor(50);
  EXPECT_EQ(Display(session, kFilterFreq), "1235");

  // The filter type's list, centred under the buttons' middle; a click on
  // its first entry chooses "Lowpass".
  const EditorImage* type = FindEditorImage(kImageFilterType);
  ASSERT_NE(type, nullptr);
  const int cx = kTypeX + type->width / 2;
  const int cy = kTypeY + type->height / 2;
  EXPECT_EQ(Display(session, kFilterType), "Highpass");
  host.Clear();
  x11.Click(session.parent, kTypeX + 5, kTypeY + 5, Button3);
  session.IdleFor(50);
  x11.Click(session.parent, cx, cy + 10, Button1);
  session.IdleFor(50);
  EXPECT_EQ(Display(session, kFilterType), "Lowpass");
  EXPECT_TRUE(AutomatedInsideGestures(host, kFilterType));
  // Closed: the picture is the editor's again.
  const std::vector<uint32_t> expected = HeadlessPicture(library, ProgramChunk(session.plugin));
  EXPECT_EQ(DifferentPixels(session.IdleUntilShows(expected), expected), 0);
}

TEST_F(EditorWindow, TwoEditorsAtOnceInOneProcess)
{
  EditorSession first(x11, library, 0, 0);
  EditorSession second(x11, library, 400, 0);
  ASSERT_TRUE(first.Open());
  ASSERT_TRUE(second.Open());
  second.plugin.effect->setParameter(second.plugin.effect, kFilterPan, 0.0f);
  x11.Click(first.parent, kCompSwitchX, kCompSwitchY, Button1);
  first.IdleFor(30);
  second.IdleFor(30);
  EXPECT_EQ(Display(first, kEnvCompensation), "Both");
  EXPECT_EQ(Display(second, kEnvCompensation), "Right");

  const std::vector<uint32_t> one = HeadlessPicture(library, ProgramChunk(first.plugin));
  const std::vector<uint32_t> two = HeadlessPicture(library, ProgramChunk(second.plugin));
  EXPECT_EQ(DifferentPixels(first.IdleUntilShows(one), one), 0);
  EXPECT_EQ(DifferentPixels(second.IdleUntilShows(two), two), 0);
  first.Close();
  second.plugin.effect->setParameter(second.plugin.effect, kFilterPan, 1.0f);
  const std::vector<uint32_t> moved = HeadlessPicture(library, ProgramChunk(second.plugin));
  EXPECT_EQ(DifferentPixels(second.IdleUntilShows(moved), moved), 0);
}

TEST_F(EditorWindow, HostsThatTearDownEarlyCostOnlyTheWindow)
{
  EditorSession session(x11, library);
  // The parent destroyed before effEditClose.
  ASSERT_TRUE(session.Open());
  session.IdleFor(50);
  x11.Destroy(session.parent);
  session.IdleFor(50);
  EXPECT_EQ(session.plugin.Dispatch(effEditClose), 1);
  session.parent = x11.MakeParent(0, 0, session.width, session.height);
  ASSERT_TRUE(session.Open());

  // The editor closed from inside the host call that a click causes, and
  // opened again right there.
  bool reopen = false;
  session.plugin.host.onCall = [&](VstInt32 opcode, VstInt32) {
    if (opcode != audioMasterBeginEdit) return;
    session.plugin.Dispatch(effEditClose);
    if (reopen) session.Open();
  };
  x11.Click(session.parent, kCompSwitchX, kCompSwitchY, Button1);
  session.IdleFor(50);
  EXPECT_TRUE(x11.Children(session.parent).empty());
  EXPECT_EQ(Display(session, kEnvCompensation), "Both");

  reopen = true;
  ASSERT_TRUE(session.Open());
  session.IdleFor(50);
  x11.Click(session.parent, kCompSwitchX, kCompSwitchY, Button1);
  session.IdleFor(50);
  session.plugin.host.onCall = nullptr;
  EXPECT_EQ(x11.Children(session.parent).size(), 1u);
  EXPECT_EQ(Display(session, kEnvCompensation), "Left");
  const std::vector<uint32_t> expected = HeadlessPicture(library, ProgramChunk(session.plugin));
  EXPECT_EQ(DifferentPixels(session.IdleUntilShows(expected), expected), 0);

  // A parent that does not exist: no window, no crash.
  EditorSession stray(x11, library);
  EXPECT_EQ(stray.plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7FFFFFF})), 0);
  EXPECT_EQ(stray.plugin.Dispatch(effEditOpen, 0, 0, nullptr), 0);
}

#ifdef KESTRANE_RENDER_TOOL
TEST_F(EditorWindow, PreviewToolShowsTheEditorWithItsMarkersMoving)
{
  const std::string picture = "/tmp/kestrane-preview-" + std::to_string(getpid()) + ".png";
  const std::string command = std::string(KESTRANE_RENDER_TOOL) + " --plugin '" + KESTRANE_PLUGIN_LIBRARY +
                              "' --gui --seconds 1.5 --screenshot '" + picture + "' -q";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::unique_ptr<LICE_IBitmap> shot(LICE_LoadPNG(picture.c_str()));
  unlink(picture.c_str());
  ASSERT_NE(shot, nullptr);
  ASSERT_EQ(shot->getWidth(), 388);
  ASSERT_EQ(shot->getHeight(), 470);

  // The tool's preset, pictured headless before any audio.
  PluginInstance reference(library);
  reference.OpenLikeAHost(48000.0f, 512);
  for (int i = 0; i < reference.effect->numPrograms; ++i)
    if (reference.Text(effGetProgramNameIndexed, i) == "Oscillating Filter") reference.Dispatch(effSetProgram, 0, i);
  const std::vector<uint32_t> expected = HeadlessPicture(library, ProgramChunk(reference));
  ASSERT_EQ(expected.size(), 388u * 470u);
  // Only the modulation markers' tracks differ: the audio moved them.
  const IRECT tracks[] = {IRECT(37, 333, 194, 335), IRECT(217, 270, 351, 272)};
  int elsewhere = 0;
  for (int y = 0; y < 470; ++y)
    for (int x = 0; x < 388; ++x)
    {
      const uint32_t shown = shot->getBits()[y * shot->getRowSpan() + x] & 0xFFFFFFu;
      if (shown == expected[static_cast<size_t>(y * 388 + x)]) continue;
      const bool onTrack = std::any_of(std::begin(tracks), std::end(tracks), [&](const IRECT& r) {
        return x >= r.L && x < r.R && y >= r.T && y < r.B;
      });
      elsewhere += !onTrack;
    }
  EXPECT_EQ(elsewhere, 0);
}
#endif
} // namespace

