#pragma once

#include <cstdint>

#include "core/ChunkBuffer.h"
#include "core/IParam.h"
#include "core/IPreset.h"
#include "core/MidiMessage.h"
#include "core/wdl/WDL_Mutex.h"
#include "core/wdl/WDL_PtrList.h"
#include "core/wdl/WDL_TypedBuf.h"

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
  // on deactivation. [host thread, plug-in mutex held]
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
  virtual void BeginHostEditCoalesced(int paramIdx) = 0;
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
  virtual void AttachEditor(IGraphics* editor);
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
  int InputCount() const { return mInputList.GetSize(); }
  int OutputCount() const { return mOutputList.GetSize(); }
  bool IsLegalIO(int nIn, int nOut) const;
  double SampleRate() const { return mRateHz; }
  int BlockSize() const { return mMaxFrames; }
  int Latency() const { return mLatencyFrames; }
  const char* EffectName() const { return mEffectTitle; }
  const char* MakerName() const { return mMakerName; }
  const char* ProductName() const { return mProductTitle; }
  int UniqueCode() const { return mUniqueCode; }
  int MakerCode() const { return mMakerCode; }
  int MidiMode() const { return mMidiMode; }
  bool UsesChunks() const { return mUsesChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  int HostVersionCode() const { return mHostVersionCode; }
  IGraphics* Editor() const { return mGraphics; }
  bool IsReady() const { return mReady; }
  void SetReady(bool ready) { mReady = ready; }
  WDL_Mutex* PlugLock() { return &mPlugLock; }

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

  void SetInputConnections(int start, int count, bool connected);
  void SetOutputConnections(int start, int count, bool connected);
  void BindInputBuffers(int start, int count, double** buffers, int nFrames);
  void BindInputBuffers(int start, int count, float** buffers, int nFrames);
  void BindOutputBuffers(int start, int count, double** buffers);
  void BindOutputBuffers(int start, int count, float** buffers);
  // Processes the bound buffers. [audio thread, plug-in mutex held]
  void RunBuffers(int nFrames);                       // double precision
  void RunBuffersFloatReplacing(int nFrames);         // single precision, replacing
  void RunBuffersFloatAccumulating(int nFrames);      // single precision, adding

  bool IsInputConnected(int channel) const;
  bool IsOutputConnected(int channel) const;
  // Frames each scratch buffer holds; never shrinks.
  int ScratchFrames() const { return mScratchFrames; }

protected:
  WDL_Mutex mPlugLock;
  int mCurrentPreset = 0;
  int mPendingEditParam = -1;
  int mHostKind = -1;
  int mMidiMode;
  IGraphics* mGraphics = nullptr;

  IPreset* Preset(int presetIdx) const { return mPresetList.Get(presetIdx); }

private:
  struct InChannel
  {
    bool connected = false;
    double** source = nullptr; // this channel's entry in mInPointers
    WDL_TypedBuf<double> scratch;
    // The host's buffer of the current block, one of the two.
    double* hostDouble = nullptr;
    float* hostFloat = nullptr;
  };

  struct OutChannel
  {
    bool connected = false;
    double** destination = nullptr; // this channel's entry in mOutPointers
    float* floatDestination = nullptr;
    WDL_TypedBuf<double> scratch;
    double* hostDouble = nullptr;
  };

  enum class FloatOutput
  {
    kNone,
    kReplace,
    kAccumulate
  };

  void ParseChannelIO(const char* channelIOString);
  void RunBuffersWith(int nFrames, FloatOutput mode);
  // Points every channel at frame `offset` of its host buffer (converting
  // single-precision input into scratch) for one slice of `nFrames`.
  void PrepareSlice(int offset, int nFrames);
  void WriteFloatOutputs(int offset, int nFrames, FloatOutput mode);
  IPreset* FirstFreePreset() const;

  WDL_PtrList<ChannelIO> mIOConfigs;
  WDL_PtrList<IParam> mParamList;
  WDL_PtrList<IPreset> mPresetList;
  bool mReady = false;
  char mEffectTitle[kNameSize] = {};
  char mProductTitle[kNameSize] = {};
  char mMakerName[kNameSize] = {};
  int mUniqueCode;
  int mMakerCode;
  int mVersionCode;
  int mHostVersionCode = 0;
  bool mUsesChunks;
  bool mIsInstrument;
  double mRateHz = 44100.0;
  int mMaxFrames = 0;
  int mLatencyFrames;
  int mScratchFrames = 0;
  WDL_TypedBuf<double*> mInPointers;
  WDL_TypedBuf<double*> mOutPointers;
  WDL_PtrList<InChannel> mInputList;
  WDL_PtrList<OutChannel> mOutputList;
};
