// The legacy (Carbon) view component of the Audio Unit. 64-bit hosts show
// the Cocoa view made by the view factory; this entry only keeps the
// Component Manager's view protocol answering: open, close and create, the
// last of which hands the host no control, since the editor core makes none
// for a window and control pair.
#include <cstddef>
#include <new>

#include "core/HostCallGuard.h"
#include "editor/IGraphics.h"
#include "wrappers/au/IPlugAU.h"

namespace
{
// The view instance's storage. It keeps the edited unit, not its plug-in: the
// host may close the unit before the view, and the plug-in is then gone,
// while the unit's storage reads as null from then on.
struct ViewRecord
{
  ComponentInstance mInstance;
  AudioUnit mEditedUnit;
};

const long* Words(const ComponentParameters* params)
{
  return reinterpret_cast<const long*>(reinterpret_cast<const char*>(params) +
                                       offsetof(ComponentParameters, params));
}

// The editor of the plug-in stored with an open unit; null when the unit is
// not open (any more) or has no editor.
IGraphics* EditorOf(AudioUnit unit)
{
  if (!unit) return nullptr;
  auto* plug = reinterpret_cast<IPlugAU*>(GetComponentInstanceStorage(unit));
  return plug ? plug->Editor() : nullptr;
}
} // namespace

ComponentResult IPlugAU::ViewComponentEntry(ComponentParameters* params, void* storage)
{
  if (!params)
  {
    KESTRANE_HOST_MISUSE("view entry called without a parameter block");
    return paramErr;
  }
  const long* args = Words(params);
  const SInt16 selector = params->what;
  return KESTRANE_GUARD_HOST_CALLBACK(static_cast<ComponentResult>(badComponentSelector), [&]() -> ComponentResult {
    auto* record = static_cast<ViewRecord*>(storage);
    switch (selector)
    {
    case kComponentOpenSelect:
    {
      auto* opened = new (std::nothrow) ViewRecord{reinterpret_cast<ComponentInstance>(args[1]), nullptr};
      if (!opened) return memFullErr;
      SetComponentInstanceStorage(opened->mInstance, reinterpret_cast<Handle>(opened));
      return noErr;
    }
    case kComponentCloseSelect:
      if (!record) return noErr;
      if (IGraphics* editor = EditorOf(record->mEditedUnit)) editor->CloseEditorWindow();
      SetComponentInstanceStorage(record->mInstance, nullptr);
      delete record;
      return noErr;
    case kAudioUnitCarbonViewCreateSelect:
    {
      if (!record) return badComponentSelector;
      record->mEditedUnit = reinterpret_cast<AudioUnit>(args[1]);
      IGraphics* editor = EditorOf(record->mEditedUnit);
      if (!editor) return badComponentSelector;
      void* control = editor->OpenEditorWindow(reinterpret_cast<void*>(args[2]), reinterpret_cast<void*>(args[3]));
      if (auto* outControl = reinterpret_cast<void**>(args[6])) *outControl = control;
      return noErr;
    }
    default:
      return badComponentSelector;
    }
  });
}
