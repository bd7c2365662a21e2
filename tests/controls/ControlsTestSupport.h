#pragma once

#include <memory>
#include <vector>

#include "platform/linux/IGraphicsHeadless.h"
#include "raster/LICE_MemBitmap.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/support/IPlugTest.h"

// A plug-in with one parameter of each kind the effect's controls edit, and
// a headless editor of the effect's size to put controls on.
namespace controlstest
{
using Call = IPlugTest::HostCall;
using editortest::FrameColour;
using editortest::MakeFrames;

class ControlPlug : public IPlugTest
{
public:
  enum Params
  {
    kTarget,  // enum: five entries
    kWave,    // enum: six entries
    kType,    // enum: three entries
    kLevel,   // int 0 .. 24 dB
    kOnOff,   // enum: "No", "Yes"
    kFreq,    // int 20 .. 20000 Hz, shape 2
    kNumParams
  };

  ControlPlug()
      : IPlugTest(InstanceInfo{}, kNumParams, "1-1 2-2", 1, "Kestrane", "", "Olvendu", 0x00010100, 0x796A6A33,
                  0x4F6C7644, 0, 1, false, false)
  {
    const char* const targets[] = {"No Assign", "Filter Freq", "Filter Bandwidth", "Filter Pan", "Filter Mix"};
    Param(kTarget)->SetupEnum("Target", 0, 5);
    for (int i = 0; i < 5; ++i) Param(kTarget)->AddDisplayText(i, targets[i]);
    const char* const waves[] = {"Sine", "Triangle", "Saw", "Saw Rev", "Sine Half", "Sine Half 2"};
    Param(kWave)->SetupEnum("Wave", 0, 6);
    for (int i = 0; i < 6; ++i) Param(kWave)->AddDisplayText(i, waves[i]);
    Param(kType)->SetupEnum("Type", 0, 3);
    Param(kLevel)->SetupInt("Level", 0, 0, 24, "dB");
    Param(kOnOff)->SetupEnum("On", 0, 2);
    Param(kOnOff)->AddDisplayText(0, "No");
    Param(kOnOff)->AddDisplayText(1, "Yes");
    Param(kFreq)->SetupInt("Freq", 1000, 20, 20000, "Hz");
    Param(kFreq)->SetShapeExponent(2.0);
  }
};

// The plug-in with a 388 x 470 headless editor. Controls are added, then
// the editor is attached, as the effect does.
struct Rig
{
  Rig() : editor(new IGraphicsHeadless(&plug, 388, 470, 0)) {}
  ~Rig()
  {
    if (plug.Editor() != editor) delete editor;
  }
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  template <class T>
  T* Add(T* control)
  {
    editor->AddControl(control);
    return control;
  }
  void Attach()
  {
    plug.AttachEditor(editor);
    plug.ClearCalls();
  }
  void Click(int x, int y, bool right = false)
  {
    MouseMods mods(!right, right);
    editor->MouseDown(x, y, &mods);
    editor->MouseUp(x, y, &mods);
  }
  // Begin, automate and end calls for one parameter, in order.
  std::vector<Call::Kind> Gesture(int paramIdx) const
  {
    return plug.GestureOf(paramIdx);
  }
  // The editor's pixels cleared to one colour.
  void Clear(LICE_pixel colour)
  {
    LICE_IBitmap* bb = editor->BackBuffer();
    for (int y = 0; y < bb->getHeight(); ++y)
      for (int x = 0; x < bb->getWidth(); ++x) bb->getBits()[y * bb->getRowSpan() + x] = colour;
  }

  ControlPlug plug;
  IGraphicsHeadless* editor;
};

// An image of one colour.
inline std::unique_ptr<LICE_MemBitmap> Solid(int w, int h, LICE_pixel colour)
{
  auto bm = std::make_unique<LICE_MemBitmap>(w, h, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm->getBits()[y * bm->getRowSpan() + x] = colour;
  return bm;
}

inline IBitmap Frames(const std::unique_ptr<LICE_MemBitmap>& bm, int n)
{
  return IBitmap(bm.get(), bm->getWidth(), bm->getHeight(), n);
}

constexpr LICE_pixel kBlack = LICE_RGBA(0, 0, 0, 255);
const std::vector<Call::Kind> kGesture = {Call::kBeginEdit, Call::kAutomate, Call::kEndEdit};
} // namespace controlstest
