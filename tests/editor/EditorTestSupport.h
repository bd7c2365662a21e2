#pragma once

#include <memory>
#include <vector>

#include "editor/IControl.h"
#include "editor/KeyCodes.h"
#include "platform/linux/IGraphicsHeadless.h"
#include "raster/LICE_MemBitmap.h"
#include "tests/support/TestPlug.h"

namespace editortest
{
using Call = IPlugTest::HostCall;

// A control that records what the editor delivers to it and how often it
// was drawn. Its input handlers do what IControl's do, after recording.
class ProbeControl : public IControl
{
public:
  struct Event
  {
    enum Kind
    {
      kDown,
      kUp,
      kDrag,
      kDouble,
      kWheel,
      kKey,
      kOver,
      kOut
    };
    Kind kind;
    int x, y, dX, dY;
  };

  ProbeControl(IPlugBase* plug, const IRECT& area, int paramIdx = -1) : IControl(plug, area, paramIdx) {}

  void MouseDown(int x, int y, MouseMods* mod) override
  {
    mEvents.push_back({Event::kDown, x, y, 0, 0});
    IControl::MouseDown(x, y, mod);
  }
  void MouseUp(int x, int y, MouseMods* mod) override
  {
    mEvents.push_back({Event::kUp, x, y, 0, 0});
    IControl::MouseUp(x, y, mod);
  }
  void MouseDrag(int x, int y, int dX, int dY, MouseMods* mod) override
  {
    mEvents.push_back({Event::kDrag, x, y, dX, dY});
    IControl::MouseDrag(x, y, dX, dY, mod);
  }
  void MouseDoubleClick(int x, int y, MouseMods* mod) override
  {
    mEvents.push_back({Event::kDouble, x, y, 0, 0});
    IControl::MouseDoubleClick(x, y, mod);
  }
  void MouseWheel(int x, int y, MouseMods* mod, int d) override
  {
    mEvents.push_back({Event::kWheel, x, y, d, 0});
    IControl::MouseWheel(x, y, mod, d);
  }
  void KeyDown(int x, int y, int key) override { mEvents.push_back({Event::kKey, x, y, key, 0}); }
  void MouseOver(int x, int y, MouseMods*) override { mEvents.push_back({Event::kOver, x, y, 0, 0}); }
  void MouseOut() override { mEvents.push_back({Event::kOut, 0, 0, 0, 0}); }

  bool Paint(IGraphics*) override
  {
    ++mPaints;
    if (mRedrawWhilePainting) mAlwaysDirty = true;
    return true;
  }

  int Count(Event::Kind kind) const
  {
    int n = 0;
    for (const Event& e : mEvents) n += e.kind == kind;
    return n;
  }
  void SetValue(double v) { mControlValue = v; }

  std::vector<Event> mEvents;
  int mPaints = 0;
  bool mRedrawWhilePainting = false;
};

// A test plug-in with a headless editor attached, as the effect builds it:
// controls are added first, then the editor is attached (which pushes every
// parameter's value and prepares the back buffer).
struct EditorRig
{
  explicit EditorRig(int width = 200, int height = 100, int fps = 0)
      : plug(std::make_unique<TestPlug>()), editor(new IGraphicsHeadless(plug.get(), width, height, fps))
  {
  }

  ~EditorRig()
  {
    if (plug->Editor() != editor) delete editor;
  }
  EditorRig(const EditorRig&) = delete;
  EditorRig& operator=(const EditorRig&) = delete;

  template <class T>
  T* Add(T* control)
  {
    editor->AddControl(control);
    return control;
  }
  void Attach() { plug->AttachEditor(editor); }

  std::vector<Call::Kind> GestureKinds(int paramIdx = -2) const
  {
    std::vector<Call::Kind> kinds;
    for (const Call& c : plug->Calls())
      if ((c.kind == Call::kBeginEdit || c.kind == Call::kEndEdit || c.kind == Call::kAutomate) &&
          (paramIdx == -2 || c.index == paramIdx))
        kinds.push_back(c.kind);
    return kinds;
  }

  std::unique_ptr<TestPlug> plug;
  IGraphicsHeadless* editor; // the plug-in's once attached, else the rig's
};

// An in-memory image of n frames, each a solid colour (frame i, counted from
// 1, has red = i * 10 and full alpha), stacked vertically or side by side.
std::unique_ptr<LICE_MemBitmap> MakeFrames(int frameW, int frameH, int n, bool vertical);
// The colour MakeFrames gives frame i.
LICE_pixel FrameColour(int frame);
} // namespace editortest
