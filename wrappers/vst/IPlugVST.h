#pragma once

#include "core/ChunkBuffer.h"
#include "core/IPlugBase.h"
#include "wrappers/vst/Vst2Interface.h"
#include "wrappers/vst/VstEventOutbox.h"

struct KestraneEditorSnapshot;

// Adapts the plug-in base to the VST 2.4 interface: fills in the AEffect
// record the host sees, answers the dispatcher, runs the audio and parameter
// callbacks, and implements the base's host operations through the host
// callback. The effect class derives from it.
//
// Threads: the host calls the dispatcher and setParameter/getParameter from
// any of its threads and the audio callbacks from its audio thread. Every one
// of them holds the plug-in mutex for its whole duration, so they never
// overlap. The host callback is called with the plug-in mutex held.
class IPlugVST : public IPlugBase
{
public:
  // What the host hands the entry point.
  struct InstanceInfo
  {
    audioMasterCallback mHostCallback;
  };

  // effSetChunk refuses data larger than this.
  static constexpr int kMaxChunkBytes = 16 << 20;
  // Events handled from one effProcessEvents list at most.
  static constexpr int kMaxIncomingEvents = 1 << 16;

  IPlugVST(InstanceInfo info, int nParams, const char* channelIOString, int nPresets, const char* effectName,
           const char* productName, const char* mfrName, int version, int uniqueID, int mfrID, int latency,
           int midiMode, bool stateChunks, bool isInstrument);
  ~IPlugVST() override;

  // The record the host sees. Its object field points back to this plug-in.
  AEffect* GetAEffect() { return &mEffectRecord; }

  // Builds one plug-in for the entry point, one construction at a time in
  // the whole process; null when construction fails.
  // [host thread, any; takes the process-wide construction mutex]
  static AEffect* CreateInstance(audioMasterCallback hostCallback, IPlugVST* (*construct)(InstanceInfo));

  // ---- Host operations of the base ----

  // Edit gestures and automation: audioMasterBeginEdit, audioMasterAutomate,
  // audioMasterEndEdit, audioMasterUpdateDisplay.
  // [UI thread (editor edits) or host thread (presets); plug-in mutex held]
  void BeginHostEdit(int paramIdx) override;
  void NotifyHostParam(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;
  void NotifyHostPreset() override;
  // audioMasterGetTime; only what the reply marks valid is used.
  // [audio thread, plug-in mutex held]
  int HostSamplePos() override;
  double HostTempo() override;
  void HostTimeSig(int* numerator, int* denominator) override;
  // Asks the host for its product string once. [host thread, mutex held]
  int HostKind() override;
  void ResizeEditorWindow() override;
  // Once, at effOpen. [host thread, plug-in mutex held]
  void HostQuirksInit() override;
  void AttachEditor(IPlugEditor* editor) override;
  void ChangeLatency(int samples) override;
  // MIDI to the host. Outside a process callback the message waits in the
  // outbox for the next one (true when it fits); inside, it goes out at once
  // (true when the host takes it). [audio or host thread; takes the mutex]
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysExMessage(const SysExMessage& message) override;

protected:
  // Calls the host with this plug-in's AEffect; 0 without a host callback.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

private:
  // The callbacks in the AEffect record. Each finds the plug-in through
  // AEffect.object, holds the plug-in mutex while it runs, and runs its body
  // through the host-callback guard: nothing escapes into the host.
  // [any host thread]
  static VstIntPtr VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) noexcept;
  // [audio thread]
  static void VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 nFrames) noexcept;
  static void VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 nFrames) noexcept;
  static void VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 nFrames) noexcept;
  // [any host thread, also during processing]
  static void VSTSetParameter(AEffect* effect, VstInt32 index, float value) noexcept;
  static float VSTGetParameter(AEffect* effect, VstInt32 index) noexcept;

  static IPlugVST* FromEffect(AEffect* effect);

  // One dispatcher call other than effClose. [plug-in mutex held]
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(VstInt32 index, void* ptr);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, const void* data);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr PinProperties(VstInt32 index, VstPinProperties* pin, bool isInput);
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  // Paints the whole editor off screen and lends the picture ('KsSn').
  // False without an editor, with its window open, or without a picture.
  bool PaintSnapshot(KestraneEditorSnapshot* snapshot);
  VstIntPtr CanDo(const char* text) const;
  void SetSpeakerConnections(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs);

  template <class Sample>
  static void RunProcessCallback(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 nFrames,
                                 void (*process)(IPlugVST*, Sample**, Sample**, int)) noexcept;
  void FlushEventOutbox();

  // The editor that can open a window for the host, or null. Hosts are only
  // offered an editor (flag, rectangle, open/close) when this exists.
  IGraphics* WindowEditor() const;
  void UpdateEditorRect();

  static void SetArrangement(VstSpeakerArrangement* arrangement, int nChannels);

  ERect mEditorRect{};
  VstSpeakerArrangement mInputSpeakers{};
  VstSpeakerArrangement mOutputSpeakers{};
  bool mHostQuirksDone = false;
  ChunkBuffer mStateScratch;
  ChunkBuffer mBankScratch;
  audioMasterCallback mHostCallbackFn;
  AEffect mEffectRecord{};
  // [plug-in mutex held]
  VstEventOutbox mEventOutbox;
  bool mInProcessCallback = false;
};
