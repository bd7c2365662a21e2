#pragma once

#include <cstdint>

#include "effect/Envelope.h"
#include "effect/Filter.h"
#include "effect/KestraneParams.h"
#include "effect/KestraneWrapper.h"
#include "effect/Lfo.h"

class ModulationMarks;

// Kestrane: a stereo resonant two-pole filter whose cutoff, bandwidth, pan
// and mix can be moved by an ADSR envelope (started by MIDI notes) and by an
// LFO (free or at the host's tempo).
//
// Threads: every entry point below runs with the plug-in mutex held, by the
// wrapper's callbacks (host thread, audio thread) or by the editor's
// SetParameterFromEditor (UI thread); ApplyParamChange, ResetEngine and
// SetParamFromEngine take the recursive mutex themselves as well. The only
// state shared without the mutex is what the modulation displays show
// (ModulationMarks, atomic).
class CLS_KESTRANE : public KestraneWrapper
{
public:
  explicit CLS_KESTRANE(KestraneInstanceInfo info);

  // ---- Hooks the plug-in base calls ----

  // Turns parameter paramIdx's value into engine fields, when its nearest
  // integer changed. [any thread, plug-in mutex held or taken here]
  void ApplyParamChange(int paramIdx) override;
  // Follows the base's sample rate; releases every held note and restarts
  // the LFO at its start phase. [host thread after a rate, block-size or
  // activation change, and audio thread in the first block; plug-in mutex
  // held or taken here. Allocates nothing and does no I/O: the nested
  // applications only store engine values and editor display values.]
  void ResetEngine() override;
  // [audio thread, plug-in mutex held]
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
  // Note-on and note-off on any channel drive the envelope from the next
  // block on; every message is passed on to the host. [plug-in mutex held]
  void ProcessMidiMessage(const MidiMessage& message) override;

  // Sets a parameter as a user edit would, so host and engine both follow:
  // begin edit, value limited to the range, the change (through the editor's
  // controls when an editor is attached), end edit. [plug-in mutex taken]
  void SetParamFromEngine(int paramIdx, double value);

  // ---- Links the editor layout sets ----

  // Takes the editor; links into an editor it replaces (displays, routing
  // indicator) are dropped first, since the base deletes that editor.
  // [UI or host thread; takes the mutex]
  void AttachEditor(IPlugEditor* editor) override;
  // Drops the links into the controls the editor is about to delete, so the
  // audio thread stops writing into the displays. [UI thread; takes the mutex]
  void OnEditorControlsDeleting() override;

  // The two modulation displays (envelope, LFO; not owned, may be null) and
  // the routing indicator's index in the editor's control list. The displays
  // receive the current flags and ranges at once. [UI thread; takes the mutex]
  void AttachModulationDisplays(ModulationMarks* envGraph, ModulationMarks* lfoGraph, int routingControl);
  // The sync button calls this on every click, just before it changes
  // "LFO1 Sync": the next application carries the LFO period over to the
  // other rate parameter. [UI thread; takes the mutex]
  void MarkSyncClicked();

  // ---- Engine steps (plug-in mutex held) ----

  void EnvelopeNoteOn() { mEnv.NoteOn(); }
  void EnvelopeNoteOff() { mEnv.NoteOff(); }
  void EnvelopeStep() { mEnv.Step(); }
  void LfoStep() { mLfo.Step(); }
  void UpdateFilterCoefficients() { mFilter.UpdateCoefficients(); }
  void PlaceModulationRanges();
  static float SyncDivisionLength(int index);
  // The division nearest to `periodSamples` at the current tempo.
  int NearestSyncDivision(int periodSamples) const;
  static double CompensationFactor(double v, float min, float max, int mode, double gain);

  // ---- Read access to the engine (plug-in mutex held) ----

  const Envelope& EnvelopeState() const { return mEnv; }
  const Lfo& LfoState() const { return mLfo; }
  const Filter& FilterState() const { return mFilter; }
  // The integer last applied for a parameter (0 for an index out of range).
  int AppliedValue(int paramIdx) const;
  bool Initialised() const { return mInitialised; }
  bool EnvDisplayActive() const { return mEnvDisplayActive; }
  bool LfoDisplayActive() const { return mLfoDisplayActive; }
  bool SyncClicked() const { return mSyncClicked; }

  // The routing indicator's value for the given targets and child option:
  // 1.0 / 0.8 both targets set and apart (with / without child), 0.6 / 0.4
  // the LFO alone, 0.2 the envelope alone (equal targets count as envelope
  // only), 0.0 nothing routed.
  static double RoutingIndicatorValue(int envTarget, int lfoTarget, bool lfoChild);

private:
  void SetupParams();
  // Builds the editor with its controls and attaches it (KestraneEditorLayout.cpp).
  void MakeEditor();
  void MakePresets();

  void ApplyToEngine(int paramIdx, int value);
  void ApplyLfoSync(int value);
  // Every current filter value back to its parameter value.
  void RestoreCurrentValues();
  // Sets the routing indicator, except on the audio thread.
  // [plug-in mutex held]
  void ShowRouting();
  void SetEnvDisplayActive(bool active);
  void SetLfoDisplayActive(bool active);
  void ShowModulationRanges();
  int SampleCount(int milliseconds) const;

  Envelope mEnv;
  Lfo mLfo;
  Filter mFilter;

  // The integer last applied per parameter; starts as a value no parameter
  // has (every byte 155), so the first application always passes.
  int mParamCache[kNumKestraneParams];
  bool mInitialised = false;
  // Raised by the sync button just before it changes "LFO1 Sync"; cleared by
  // every application that passes the change check. [plug-in mutex held]
  bool mSyncClicked = false;

  // Readiness: processing starts once every parameter has been applied after
  // construction. Per object, so plug-in objects on different threads never
  // share it.
  bool mParamApplied[kNumKestraneParams];
  int mParamsPending = kNumKestraneParams;

  // Editor links, set by the layout; null / -1 until then.
  ModulationMarks* mEnvGraph = nullptr;
  ModulationMarks* mLfoGraph = nullptr;
  int16_t mRoutingControl = -1;
  // Set while ProcessBlock applies parameters itself (the first block's
  // reset, a tempo change). [audio thread, plug-in mutex held]
  bool mInAudioBlock = false;
  bool mEnvDisplayActive = false;
  bool mLfoDisplayActive = false;
};
