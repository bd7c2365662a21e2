#include "tests/support/IPlugTest.h"

IPlugTest::IPlugTest(InstanceInfo, int nParams, const char* channelIOString, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int version, int uniqueID, int mfrID,
                     int latency, int midiMode, bool stateChunks, bool isInstrument)
    : IPlugBase(nParams, channelIOString, nPresets, effectName, productName, mfrName, version, uniqueID, mfrID,
                latency, midiMode, stateChunks, isInstrument)
{
  // As a real wrapper does: every channel connected, a default block size.
  SetInputConnections(0, InputCount(), true);
  SetOutputConnections(0, OutputCount(), true);
  ChangeBlockSize(1024);
}

void IPlugTest::BeginHostEdit(int paramIdx)
{
  FlushPendingEdit();
  mCalls.push_back({HostCall::kBeginEdit, paramIdx, 0.0, {}, {}});
}

void IPlugTest::NotifyHostParam(int paramIdx, double normalized)
{
  mCalls.push_back({HostCall::kAutomate, paramIdx, normalized, {}, {}});
}

void IPlugTest::EndHostEdit(int paramIdx)
{
  mCalls.push_back({HostCall::kEndEdit, paramIdx, 0.0, {}, {}});
}

void IPlugTest::NotifyHostPreset()
{
  mCalls.push_back({HostCall::kPresetChanged, -1, 0.0, {}, {}});
}

void IPlugTest::HostTimeSig(int* numerator, int* denominator)
{
  if (numerator) *numerator = mTimeSigNum;
  if (denominator) *denominator = mTimeSigDen;
}

int IPlugTest::HostKind()
{
  if (!HostIdentified()) SetHostKind(mHostProduct.c_str(), 0);
  return IPlugBase::HostKind();
}

void IPlugTest::ResizeEditorWindow()
{
  mCalls.push_back({HostCall::kResizeEditor, -1, 0.0, {}, {}});
}

bool IPlugTest::SendMidiMessage(const MidiMessage& message)
{
  mCalls.push_back({HostCall::kMidiOut, -1, 0.0, message, {}});
  return mMidiOutAccepted;
}

bool IPlugTest::SendSysExMessage(const SysExMessage& message)
{
  HostCall call{HostCall::kSysExOut, -1, 0.0, {}, {}};
  if (message.mData && message.mByteCount > 0) call.sysex.assign(message.mData, message.mData + message.mByteCount);
  mCalls.push_back(call);
  return mMidiOutAccepted;
}

void IPlugTest::Open()
{
  HostOpen();
}

void IPlugTest::SetSampleRate(double rateHz)
{
  HostSetSampleRate(rateHz);
}

void IPlugTest::SetBlockSize(int nFrames)
{
  HostSetBlockSize(nFrames);
}

void IPlugTest::ProcessDouble(double** inputs, double** outputs, int nFrames)
{
  HostProcess(inputs, outputs, nFrames);
}

void IPlugTest::ProcessFloat(float** inputs, float** outputs, int nFrames)
{
  HostProcess(inputs, outputs, nFrames, FloatOutput::kReplace);
}

void IPlugTest::ProcessFloatAccumulate(float** inputs, float** outputs, int nFrames)
{
  HostProcess(inputs, outputs, nFrames, FloatOutput::kAccumulate);
}

void IPlugTest::SendMidi(const MidiMessage& message)
{
  HostMidiIn(message);
}

void IPlugTest::SetParameterFromHost(int paramIdx, double normalized)
{
  HostSetParameterNormalized(paramIdx, normalized);
}

std::vector<IPlugTest::HostCall> IPlugTest::CallsOf(HostCall::Kind kind) const
{
  std::vector<HostCall> calls;
  for (const HostCall& call : mCalls)
    if (call.kind == kind) calls.push_back(call);
  return calls;
}

std::vector<IPlugTest::HostCall::Kind> IPlugTest::GestureOf(int paramIdx) const
{
  std::vector<HostCall::Kind> kinds;
  for (const HostCall& call : mCalls)
    if ((call.kind == HostCall::kBeginEdit || call.kind == HostCall::kEndEdit || call.kind == HostCall::kAutomate) &&
        call.index == paramIdx)
      kinds.push_back(call.kind);
  return kinds;
}
