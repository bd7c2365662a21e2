#pragma once

#include <cstdint>

#include "core/ChunkBuffer.h"
#include "core/HostBufferRouting.h"
#include "core/HostKinds.h"
#include "core/IParam.h"
#include "core/IPlugEditor.h"
#include "core/IPreset.h"
#include "core/MidiMessage.h"
#include "core/wdl/WDL_Mutex.h"
#include "core/wdl/WDL_PtrList.h"

// The editor library's class. Core reaches its editor only through
// IPlugEditor; Editor() hands it out as an IGraphics to code that includes
// editor/IGraphics.h.
class IGraphics;

// The host-independent core of a plug-in object: parameters, preset slots,
// channel configurations and buffer plumbing, the plug-in mutex, identity and
// the link to the editor. A host wrapper derives from it and implements the
// host operations; the effect derives from the wrapper.
//
// Threads: host threads call in through the wrapper with mPlugLock held; the
// audio thread runs RunBuffers with mPlugLock held; the editor's UI thread
// reaches in only through SetParameterFromEditor and the edit-gesture calls,
// which take mPlugLock themselves.
class IPlugBase
{
public:
  static constexpr int kNameSize = 128;
  // Product strings longer than this are cut before host identification.
  static constexpr int kHostProductSize = 264;
  // Block sizes above this are taken as this: a host's larger blocks are
  // processed in slices instead of sizing buffers for an absurd request.
  static constexpr int kMaxBlockSize = 1 << 18;

  struct ChannelIO
  {
    int32_t mIn = 0;
    int32_t mOut = 0;
  };

  IPlugBase(int nParams, const char* channelIOString, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int version, int uniqueID, int mfrID,
            int latency, int midiMode, bool stateChunks, bool isInstrument);
  virtual ~IPlugBase();

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Overridable behaviour, in slot order ----

  // Clears the engine; called after sample-rate and block-size changes and
  // on deactivation [host thread], and an effect may call it from its own
  // processing [audio thread]: it must stay real-time safe. [plug-in mutex
  // held]
  virtual void ResetEngine();
  // A parameter's value changed; the effect updates its engine.
  // [any thread, plug-in mutex held]
  virtual void ApplyParamChange(int paramIdx);
  virtual void ApplyParamChangeLocked(int paramIdx, double value);
  // Processes one block. inputs/outputs hold InputCount()/OutputCount()
  // channel pointers. [audio thread, plug-in mutex held]
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
  virtual void OnEditorOpen() {}
  virtual void OnEditorClose() {}
  // The editor is about to delete every control (a resize): whatever points
  // into them must let go first, under the plug-in mutex. [UI thread]
  virtual void OnEditorControlsDeleting() {}
  virtual void Closing() {}
  virtual void Activated(bool active);
  // [audio or host thread, plug-in mutex held]
  virtual void ProcessMidiMessage(const MidiMessage& message);
  virtual void HandleSysEx(const SysExMessage& message);
  virtual bool NoteNameFor(int noteNumber, char* text);
  virtual bool SaveState(ChunkBuffer* chunk);
  virtual int LoadState(const ChunkBuffer* chunk, int startPos);
  virtual void OnStateVersion(int version);
  virtual bool CanRestoreParam(int paramIdx);

  // ---- Host operations every wrapper implements ----

  virtual void BeginHostEdit(int paramIdx) = 0;
  // Like BeginHostEdit, but nothing happens while paramIdx is the parameter
  // whose delayed end is pending (one gesture for a run of wheel steps).
  // Every wrapper shares this rule, so the base holds it.
  // [UI thread; takes the plug-in mutex]
  virtual void BeginHostEditCoalesced(int paramIdx);
  virtual void NotifyHostParam(int paramIdx, double normalized) = 0;
  virtual void EndHostEdit(int paramIdx) = 0;
  virtual void NotifyHostPreset() = 0;
  // Transport position in samples, tempo in beats per minute, time
  // signature; 0 when the host does not say. [audio thread]
  virtual int HostSamplePos() = 0;
  virtual double HostTempo() = 0;
  virtual void HostTimeSig(int* numerator, int* denominator) = 0;
  virtual int HostKind();
  virtual void ResizeEditorWindow() = 0;
  virtual void HostQuirksInit() = 0;
  // Takes ownership of the editor; one attached before is deleted.
  // [UI or host thread]
  virtual void AttachEditor(IPlugEditor* editor);
  virtual void ChangeBlockSize(int nFrames);
  virtual void ChangeLatency(int samples);
  virtual bool SendMidiMessage(const MidiMessage& message) = 0;
  virtual bool SendMidiMessages(const MidiMessage* messages, int count);
  virtual bool SendSysExMessage(const SysExMessage& message) = 0;
  virtual bool SaveParams(ChunkBuffer* chunk);
  virtual int LoadParams(const ChunkBuffer* chunk, int startPos);
  virtual bool SavePresetBank(ChunkBuffer* chunk);
  virtual int LoadPresetBank(const ChunkBuffer* chunk, int startPos);

  // ---- Queries ----

  int ParamCount() const { return mParamList.GetSize(); }
  // Null for an index outside 0 .. ParamCount() - 1.
  IParam* Param(int paramIdx) const { return mParamList.Get(paramIdx); }
  int PresetCount() const { return mPresetList.GetSize(); }
  int CurrentPresetIndex() const { return mCurrentPreset; }
  int InputCount() const { return mRouting.InputCount(); }
  int OutputCount() const { return mRouting.OutputCount(); }
  bool IsLegalIO(int nIn, int nOut) const;
  // The channel configurations in the order the constructor's string gave
  // them; null for an index outside the list.
  int ChannelIOCount() const { return mIOConfigs.GetSize(); }
  const ChannelIO* ChannelIOAt(int index) const { return mIOConfigs.Get(index); }
  double SampleRate() const { return mRateHz; }
  int BlockSize() const { return mMaxFrames; }
  int Latency() const { return mLatencyFrames; }
  const char* EffectName() const { return mEffectTitle; }
  const char* MakerName() const { return mMakerName; }
  const char* ProductName() const { return mProductTitle; }
  int UniqueCode() const { return mUniqueCode; }
  int MakerCode() const { return mMakerCode; }
  int MidiMode() const { return mMidiMode; }
  // Bit 0 of the MIDI mode: the plug-in sends MIDI (modes 1 and 3).
  bool SendsMidi() const { return (mMidiMode & 1) != 0; }
  // Modes 1 and 2: the plug-in receives MIDI.
  bool ReceivesMidi() const { return mMidiMode != 0 && mMidiMode <= 2; }
  bool UsesChunks() const { return mUsesChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  int HostVersionCode() const { return mHostVersionCode; }
  // The attached editor, or null. Every editor is an IGraphics; the cast
  // happens where the caller has included editor/IGraphics.h (Graphics is
  // only a template parameter so that core need not include it).
  template <class Graphics = IGraphics>
  Graphics* Editor() const
  {
    return static_cast<Graphics*>(mGraphics);
  }
  bool IsReady() const { return mReady; }
  void SetReady(bool ready) { mReady = ready; }
  WDL_Mutex* PlugLock() { return &mPlugLock; }

  // ---- Host facade ----
  // The lifecycle every wrapper (VST 2, Audio Unit, the test wrapper) drives:
  // a wrapper translates its host's calls into these and touches no field of
  // the base. Each holds the plug-in mutex for its whole duration (it is
  // recursive: a wrapper callback that holds it already may call them) and
  // carries the validity checks, so every host meets the same rules.

  // Holds the plug-in mutex for the whole of a host callback that does more
  // than one facade call (a dispatcher call, an Audio Unit selector, a
  // render). [any host thread]
  class HostCallLock
  {
  public:
    explicit HostCallLock(IPlugBase* plug) : mLock(&plug->mPlugLock) {}

  private:
    WDL_MutexLock mLock;
  };

  enum class FloatOutput
  {
    kReplace,   // the host's buffers receive the output
    kAccumulate // the output is added to what the host's buffers hold
  };

  // The host opened (VST 2) or initialised (Audio Unit) the plug-in: the
  // one-time host adjustments, then every parameter applied once, which lets
  // the effect start processing. [host thread]
  void HostOpen();
  // The host is about to destroy the plug-in; the wrapper deletes it after
  // this returns, with the mutex released. [host thread]
  void HostClose();
  // A new sample rate, then an engine reset. A rate that is not a positive
  // finite number is ignored (the last good rate stays); false then.
  // [host thread]
  bool HostSetSampleRate(double rateHz);
  // The largest block the host will pass, limited to 0 .. kMaxBlockSize,
  // then an engine reset. [host thread]
  void HostSetBlockSize(int64_t nFrames);
  // Activation; switching off also resets the engine. [host thread]
  void HostSetActive(bool active);
  // An engine reset with nothing else changed. [host thread]
  void HostResetEngine();
  // Host automation from a normalised value: the editor shows it, the
  // parameter takes it, the engine applies it. False (nothing done) for an
  // index out of range. [any host thread]
  bool HostSetParameterNormalized(int paramIdx, double normalized);
  // The same from a real value, clamped into the parameter's range.
  bool HostSetParameterValue(int paramIdx, double value);
  // The parameter's normalised / real value; 0 for an index out of range.
  double HostNormalizedValue(int paramIdx);
  double HostParameterValue(int paramIdx);
  // One block of the host's buffers, one pointer per input / output channel
  // (connected channels only): bound and processed. [audio thread]
  void HostProcess(double** inputs, double** outputs, int nFrames);
  void HostProcess(float** inputs, float** outputs, int nFrames, FloatOutput mode);
  // The host selects a preset slot; false when it is out of range or cannot
  // be restored. [host thread]
  bool HostRecallPreset(int presetIdx);
  // The state for the host's project, appended to chunk. [host thread]
  bool HostSaveState(ChunkBuffer* chunk);
  // Restores a state the host hands back; on success (a position >= 0) the
  // editor's controls follow. Returns LoadState's position. [host thread]
  int HostLoadState(const ChunkBuffer* chunk, int startPos);
  // Incoming MIDI, before the block it belongs to; false (ignored) when the
  // plug-in does not receive MIDI. [host or audio thread]
  bool HostMidiIn(const MidiMessage& message);
  bool HostSysExIn(const SysExMessage& message);

  // mVersionCode, or major*10000 + minor*100 + bug-fix when decimal.
  int EffectVersion(bool decimal) const;
  // "v%d.%02d" with major and minor; text must hold 32 bytes.
  void EffectVersionText(char* text) const;

  void ChangeSampleRate(double rateHz) { mRateHz = rateHz; }
  // Sample rate x 60 / host tempo, or 0 without a tempo.
  double SamplesPerBeat();
  void SetHostKind(const char* productString, int version);

  // ---- Parameter changes ----

  // A control moved by the user. [UI thread; takes the plug-in mutex]
  void SetParameterFromEditor(int paramIdx, double normalized);
  // Ends a wheel gesture a few editor ticks later (immediately without an
  // editor). [UI thread; takes the plug-in mutex]
  void EndHostEditDelayed(int paramIdx);
  // Ends the pending wheel gesture now. [UI or host thread; takes the mutex]
  void FlushPendingEdit();
  int PendingEditParam() const { return mPendingEditParam; }
  // Applies every parameter once, in index order.
  void AfterParamsReset();
  // Shows every parameter's real value in the editor.
  void RefreshParamControls();

  // ---- State and presets ----

  // The slot's name, or "" for an index outside the list.
  const char* PresetName(int presetIdx) const;
  void NameFreePresets(const char* name, int count);
  // Fills the first free slot with one value per parameter, in index order.
  // Returns false (and changes nothing) when no slot is free or the count
  // does not match the parameter count.
  bool MakePresetFromValues(const char* name, const double* values, int count);
  void EnsureDefaultPreset();
  // Writes "user preset N" into name (IPreset::kNameSize bytes).
  void MakeUserPresetName(char* name) const;
  bool RecallPreset(int presetIdx);
  void StoreIntoCurrentPreset(const char* name);
  void RemoveFreePresets();
  bool RecallPresetNamed(const char* name);

  // ---- Channel plumbing for the wrappers ----
  // Each works on channels [start, min(start + count, total)).

  void SetInputConnections(int start, int count, bool connected)
  {
    mRouting.SetInputConnections(start, count, connected);
  }
  void SetOutputConnections(int start, int count, bool connected)
  {
    mRouting.SetOutputConnections(start, count, connected);
  }
  // Host buffers in either precision; see HostBufferRouting.
  void BindInputBuffers(int start, int count, double** buffers, int nFrames)
  {
    mRouting.BindInputs(start, count, buffers, nFrames);
  }
  void BindInputBuffers(int start, int count, float** buffers, int nFrames)
  {
    mRouting.BindInputs(start, count, buffers, nFrames);
  }
  void BindOutputBuffers(int start, int count, double** buffers) { mRouting.BindOutputs(start, count, buffers); }
  void BindOutputBuffers(int start, int count, float** buffers) { mRouting.BindOutputs(start, count, buffers); }
  // Processes the bound buffers. [audio thread, plug-in mutex held]
  void RunBuffers(int nFrames);                       // double precision
  void RunBuffersFloatReplacing(int nFrames);         // single precision, replacing
  void RunBuffersFloatAccumulating(int nFrames);      // single precision, adding
  // A host's bypass: the base's own pass-through (IPlugBase::ProcessBlock),
  // whatever the effect and the processing gate; single-precision outputs
  // are replaced. [audio thread, plug-in mutex held]
  void RunBuffersBypassed(int nFrames);

  bool IsInputConnected(int channel) const { return mRouting.IsInputConnected(channel); }
  bool IsOutputConnected(int channel) const { return mRouting.IsOutputConnected(channel); }
  // Frames each scratch buffer holds; never shrinks.
  int ScratchFrames() const { return mRouting.ScratchFrames(); }

protected:
  // The plug-in's own code (the effect) takes it around its engine work;
  // wrappers go through the host facade instead.
  WDL_Mutex mPlugLock;

  IPreset* Preset(int presetIdx) const { return mPresetList.Get(presetIdx); }
  // False until SetHostKind has identified the host (see HostKind).
  bool HostIdentified() const { return mHostKind != kHostNotIdentified; }

private:
  void ParseChannelIO(const char* channelIOString);
  void ReportBlockMisuse(int nFrames) const;
  void RunBuffersWith(int nFrames, HostBufferRouting::OutputConversion mode);
  IPreset* FirstFreePreset() const;

  WDL_PtrList<ChannelIO> mIOConfigs;
  WDL_PtrList<IParam> mParamList;
  WDL_PtrList<IPreset> mPresetList;
  int mCurrentPreset = 0;
  int mPendingEditParam = -1;
  bool mReady = false;
  char mEffectTitle[kNameSize] = {};
  char mProductTitle[kNameSize] = {};
  char mMakerName[kNameSize] = {};
  int mUniqueCode;
  int mMakerCode;
  int mVersionCode;
  int mHostKind = kHostNotIdentified;
  int mHostVersionCode = 0;
  bool mUsesChunks;
  bool mIsInstrument;
  int mMidiMode;
  double mRateHz = 44100.0;
  int mMaxFrames = 0;
  int mLatencyFrames;
  IPlugEditor* mGraphics = nullptr;
  HostBufferRouting mRouting;
};
