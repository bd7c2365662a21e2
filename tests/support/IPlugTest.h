#pragma once

#include <string>
#include <vector>

#include "core/IPlugBase.h"

// The host wrapper used by tests: implements every host operation by
// recording the call, answers time queries from settable values, and offers
// the calls a host makes (open, process, MIDI) as plain methods that take the
// plug-in mutex like a real wrapper's callbacks do: each goes through the
// base's host facade, exactly as the VST 2 and Audio Unit wrappers do.
class IPlugTest : public IPlugBase
{
public:
  // What a real wrapper receives from its host at creation; nothing here.
  struct InstanceInfo
  {
  };

  struct HostCall
  {
    enum Kind
    {
      kBeginEdit,
      kAutomate,
      kEndEdit,
      kPresetChanged,
      kResizeEditor,
      kMidiOut,
      kSysExOut
    };
    Kind kind;
    int index;     // parameter index, or -1
    double value;  // normalised value for kAutomate
    MidiMessage midi;
    std::vector<uint8_t> sysex;
  };

  IPlugTest(InstanceInfo info, int nParams, const char* channelIOString, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int version, int uniqueID, int mfrID, int latency,
            int midiMode, bool stateChunks, bool isInstrument);

  // ---- Host operations ----
  void BeginHostEdit(int paramIdx) override;
  void NotifyHostParam(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;
  void NotifyHostPreset() override;
  int HostSamplePos() override { return mSamplePos; }
  double HostTempo() override { return mTempo; }
  void HostTimeSig(int* numerator, int* denominator) override;
  int HostKind() override;
  void ResizeEditorWindow() override;
  void HostQuirksInit() override {}
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysExMessage(const SysExMessage& message) override;

  // ---- What the test host answers ----
  void SetTempo(double bpm) { mTempo = bpm; }
  void SetSamplePos(int pos) { mSamplePos = pos; }
  void SetTimeSig(int numerator, int denominator)
  {
    mTimeSigNum = numerator;
    mTimeSigDen = denominator;
  }
  void SetHostProduct(const std::string& product) { mHostProduct = product; }
  void SetMidiOutAccepted(bool accepted) { mMidiOutAccepted = accepted; }

  // ---- Calls a host makes, through the host facade ----
  void Open();                                     // applies every parameter
  void SetSampleRate(double rateHz);               // then resets the engine
  void SetBlockSize(int nFrames);                  // then resets the engine
  void ProcessDouble(double** inputs, double** outputs, int nFrames);
  void ProcessFloat(float** inputs, float** outputs, int nFrames);
  void ProcessFloatAccumulate(float** inputs, float** outputs, int nFrames);
  void SendMidi(const MidiMessage& message);
  // Sets a parameter as host automation does (editor told, engine applied).
  void SetParameterFromHost(int paramIdx, double normalized);

  // ---- Recorded calls ----
  const std::vector<HostCall>& Calls() const { return mCalls; }
  std::vector<HostCall> CallsOf(HostCall::Kind kind) const;
  // The begin, automate and end calls for one parameter, in order.
  std::vector<HostCall::Kind> GestureOf(int paramIdx) const;
  void ClearCalls() { mCalls.clear(); }

private:
  std::vector<HostCall> mCalls;
  double mTempo = 0.0;
  int mSamplePos = 0;
  int mTimeSigNum = 0;
  int mTimeSigDen = 0;
  std::string mHostProduct;
  bool mMidiOutAccepted = true;
};
