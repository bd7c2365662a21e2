#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wrappers/vst/KestraneVendorCalls.h"
#include "wrappers/vst/Vst2Interface.h"

// The musical position the host reports through audioMasterGetTime.
struct HostTransport
{
  double tempo = 120.0;
  int timeSigNumerator = 4;
  int timeSigDenominator = 4;
};

// A VST 2 plug-in loaded from its library file and driven the way a host
// drives one. Construction loads the file, calls its entry point and checks
// the AEffect; destruction suspends and closes the instance and unloads the
// library. Every failure to get a working instance is a ToolError whose
// message says what is wrong with the file.
//
// Threads: one thread does everything here, as in an offline bounce: the
// host callback runs on it too.
class VstPlugin
{
public:
  // Editor pictures larger than this on either side are refused.
  static constexpr int kMaxSnapshotSide = 8192;

  explicit VstPlugin(const std::string& path);
  ~VstPlugin();

  VstPlugin(const VstPlugin&) = delete;
  VstPlugin& operator=(const VstPlugin&) = delete;

  const std::string& Path() const { return mPath; }
  AEffect* Effect() const { return mEffect; }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;

  // ---- Identity ----
  std::string EffectName() const;
  std::string VendorName() const;
  int VendorVersion() const;
  int UniqueID() const { return mEffect->uniqueID; }
  int NumParams() const { return mEffect->numParams; }
  int NumPrograms() const { return mEffect->numPrograms; }
  bool UsesProgramChunks() const { return (mEffect->flags & effFlagsProgramChunks) != 0; }
  bool CanDoubleReplacing() const;

  // ---- Set-up, in host order ----
  void Open(double sampleRate, int blockSize);
  void Resume();
  void Suspend();
  double SampleRate() const { return mSampleRate; }
  int BlockSize() const { return mBlockSize; }

  // ---- Parameters ----
  std::string ParamName(int index) const;
  std::string ParamLabel(int index) const;
  std::string ParamDisplay(int index) const;
  float GetParameter(int index) const;
  void SetParameter(int index, float normalized) const;
  // effString2Parameter; false when the plug-in does not take it.
  bool SetParameterFromText(int index, const std::string& text) const;
  // Any normalised value formatted by the plug-in (a vendor extension);
  // false when the plug-in does not offer it.
  bool FormatNormalized(int index, double normalized, std::string* text) const;
  // Number of display texts of a list parameter, or 0.
  int DisplayTextCount(int index) const;

  // ---- Programs ----
  int CurrentProgram() const;
  // True when the plug-in now has that program.
  bool SetProgram(int index) const;
  std::string ProgramName() const;
  std::string ProgramNameIndexed(int index) const;
  void SetProgramName(const std::string& name) const;
  std::vector<uint8_t> GetChunk(bool wholeBank) const;
  bool SetChunk(bool wholeBank, const std::vector<uint8_t>& data) const;

  // ---- Processing ----
  void SetTransport(const HostTransport& transport) { mTransport = transport; }
  // Moves the reported position to the start of the next block.
  void SetSamplePosition(int64_t samplePos) { mSamplePos = samplePos; }
  void ProcessEvents(VstEvents* events) const;
  void Process(float** inputs, float** outputs, int nFrames) const;
  void Process(double** inputs, double** outputs, int nFrames) const;

  // ---- Editor ----
  // The plug-in's editor painted off screen (Kestrane's private 'KsSn'
  // call); false when the plug-in has no such call or no editor. The pixels
  // stay valid until the next call to the plug-in.
  bool EditorSnapshot(KestraneEditorSnapshot* snapshot) const;

  // ---- What the plug-in told the host ----
  int MidiEventsOut() const { return mMidiEventsOut; }
  int AutomationCalls() const { return mAutomationCalls; }

private:
  static VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt);
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  std::string GetString(VstInt32 opcode, VstInt32 index = 0) const;
  void FillTimeInfo();

  std::string mPath;
  void* mLibrary = nullptr;
  AEffect* mEffect = nullptr;
  bool mResumed = false;
  double mSampleRate = 44100.0;
  int mBlockSize = 1024;
  HostTransport mTransport;
  int64_t mSamplePos = 0;
  int64_t mLastTimePos = -1;
  VstTimeInfo mTimeInfo{};
  int mMidiEventsOut = 0;
  int mAutomationCalls = 0;
};
