#include "core/IPlugBase.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/HostCallGuard.h"
#include "core/HostKinds.h"
#include "core/NumericConversions.h"

IPlugBase::IPlugBase(int nParams, const char* channelIOString, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int version, int uniqueID, int mfrID,
                     int latency, int midiMode, bool stateChunks, bool isInstrument)
    : mUniqueCode(uniqueID),
      mMakerCode(mfrID),
      mVersionCode(version),
      mUsesChunks(stateChunks),
      mIsInstrument(isInstrument),
      mMidiMode(midiMode),
      mLatencyFrames(latency)
{
  for (int i = 0; i < nParams; ++i) mParamList.Add(new IParam());
  for (int i = 0; i < nPresets; ++i)
  {
    IPreset* preset = mPresetList.Add(new IPreset());
    std::snprintf(preset->mPresetName, sizeof preset->mPresetName, "- %d -", i + 1);
  }
  CopyBounded(mEffectTitle, effectName);
  CopyBounded(mProductTitle, productName);
  CopyBounded(mMakerName, mfrName);
  ParseChannelIO(channelIOString);
}

IPlugBase::~IPlugBase()
{
  delete mGraphics;
  mGraphics = nullptr;
  while (mParamList.GetSize()) mParamList.Delete(mParamList.GetSize() - 1, true);
  mPresetList.Empty(true);
  mIOConfigs.Empty(true);
}

void IPlugBase::ParseChannelIO(const char* channelIOString)
{
  int maxIn = 0;
  int maxOut = 0;
  const char* token = channelIOString;
  while (token && *token)
  {
    ChannelIO* io = mIOConfigs.Add(new ChannelIO());
    int nIn = 0;
    int nOut = 0;
    if (std::sscanf(token, "%d-%d", &nIn, &nOut) != 2)
    {
      // A token that does not parse contributes 0-0.
      nIn = 0;
      nOut = 0;
    }
    io->mIn = nIn;
    io->mOut = nOut;
    maxIn = std::max(maxIn, nIn);
    maxOut = std::max(maxOut, nOut);
    token = std::strchr(token, ' ');
    if (token) ++token;
  }

  mRouting.CreateChannels(maxIn, maxOut);
}

// ---- Default behaviour ----

void IPlugBase::ResetEngine()
{
  WDL_MutexLock lock(&mPlugLock);
}

void IPlugBase::ApplyParamChange(int)
{
  WDL_MutexLock lock(&mPlugLock);
}

void IPlugBase::ApplyParamChangeLocked(int paramIdx, double)
{
  WDL_MutexLock lock(&mPlugLock);
  ApplyParamChange(paramIdx);
}

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const int nIn = InputCount();
  const int nOut = OutputCount();
  const int nThrough = std::min(nIn, nOut);
  const size_t bytes = sizeof(double) * static_cast<size_t>(std::max(nFrames, 0));
  for (int i = 0; i < nThrough; ++i)
    if (inputs[i] != outputs[i]) std::memmove(outputs[i], inputs[i], bytes);
  for (int i = nThrough; i < nOut; ++i) std::memset(outputs[i], 0, bytes);
}

void IPlugBase::Activated(bool)
{
  WDL_MutexLock lock(&mPlugLock);
}

void IPlugBase::ProcessMidiMessage(const MidiMessage&) {}

void IPlugBase::HandleSysEx(const SysExMessage&) {}

bool IPlugBase::NoteNameFor(int, char* text)
{
  if (text) text[0] = '\0';
  return false;
}

bool IPlugBase::SaveState(ChunkBuffer* chunk)
{
  return SaveParams(chunk);
}

int IPlugBase::LoadState(const ChunkBuffer* chunk, int startPos)
{
  return LoadParams(chunk, startPos);
}

void IPlugBase::OnStateVersion(int)
{
  WDL_MutexLock lock(&mPlugLock);
}

bool IPlugBase::CanRestoreParam(int)
{
  WDL_MutexLock lock(&mPlugLock);
  return true;
}

int IPlugBase::HostKind()
{
  return mHostKind;
}

void IPlugBase::AttachEditor(IPlugEditor* editor)
{
  if (!editor) return;
  WDL_MutexLock lock(&mPlugLock);
  // The plug-in owns its editor: one that is replaced is deleted.
  if (mGraphics && mGraphics != editor) delete mGraphics;
  for (int i = 0; i < ParamCount(); ++i) editor->ShowParamValue(i, Param(i)->NormalizedValue(), true);
  editor->PrepareDrawing();
  mGraphics = editor;
}

void IPlugBase::ChangeBlockSize(int nFrames)
{
  if (nFrames < 0) nFrames = 0;
  if (nFrames == mMaxFrames) return;
  mRouting.ResizeScratch(nFrames);
  mMaxFrames = nFrames;
}

void IPlugBase::ChangeLatency(int samples)
{
  mLatencyFrames = samples;
}

bool IPlugBase::SendMidiMessages(const MidiMessage* messages, int count)
{
  bool allSent = true;
  for (int i = 0; messages && i < count; ++i) allSent = SendMidiMessage(messages[i]) && allSent;
  return allSent;
}

// ---- Identity and host ----

bool IPlugBase::IsLegalIO(int nIn, int nOut) const
{
  for (const ChannelIO* io : mIOConfigs)
    if ((nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut)) return true;
  return false;
}

int IPlugBase::EffectVersion(bool decimal) const
{
  if (!decimal) return mVersionCode;
  const int major = (mVersionCode >> 16) & 0xFFFF;
  const int minor = (mVersionCode >> 8) & 0xFF;
  const int bugFix = mVersionCode & 0xFF;
  return major * 10000 + minor * 100 + bugFix;
}

void IPlugBase::EffectVersionText(char* text) const
{
  if (!text) return;
  std::snprintf(text, 32, "v%d.%02d", (mVersionCode >> 16) & 0xFFFF, (mVersionCode >> 8) & 0xFF);
}

double IPlugBase::SamplesPerBeat()
{
  const double tempo = HostTempo();
  return tempo > 0.0 ? mRateHz * 60.0 / tempo : 0.0;
}

namespace
{
struct HostName
{
  const char* substring;
  int code;
};

// Searched in this order; the first substring found names the host.
constexpr HostName kHostNames[] = {
    {"brainwaveproducer", kHostBrainwaveProducer},
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostCakewalk},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFruity},
    {"live", kHostLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVstManLib},
    {"aulab", kHostAuLab},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSawStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostPreSonus},
    {"acoustica", kHostAcoustica},
    {"garageband", kHostGarageBand},
    {"ardour", kHostArdour},
};
} // namespace

void IPlugBase::SetHostKind(const char* productString, int version)
{
  char lower[kHostProductSize] = {};
  CopyBounded(lower, productString);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  mHostKind = kHostUnknown;
  for (const HostName& host : kHostNames)
  {
    if (std::strstr(lower, host.substring))
    {
      mHostKind = host.code;
      break;
    }
  }
  mHostVersionCode = version;
}

// ---- Parameter changes ----

void IPlugBase::SetParameterFromEditor(int paramIdx, double normalized)
{
  WDL_MutexLock lock(&mPlugLock);
  IParam* param = Param(paramIdx);
  if (!param) return;
  param->SetFromNormalized(normalized);
  NotifyHostParam(paramIdx, normalized);
  ApplyParamChange(paramIdx);
}

void IPlugBase::BeginHostEditCoalesced(int paramIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  if (paramIdx == mPendingEditParam) return;
  BeginHostEdit(paramIdx); // which ends the pending gesture first
}

void IPlugBase::EndHostEditDelayed(int paramIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  if (mGraphics)
  {
    mPendingEditParam = paramIdx;
    mGraphics->StartParamChangeTimer(std::max(1, mGraphics->FrameRate() / 2));
  }
  else
  {
    EndHostEdit(paramIdx);
  }
}

void IPlugBase::FlushPendingEdit()
{
  WDL_MutexLock lock(&mPlugLock);
  if (mGraphics) mGraphics->StopParamChangeTimer();
  if (mPendingEditParam >= 0)
  {
    const int paramIdx = mPendingEditParam;
    mPendingEditParam = -1;
    EndHostEdit(paramIdx);
  }
}

void IPlugBase::AfterParamsReset()
{
  WDL_MutexLock lock(&mPlugLock);
  for (int i = 0; i < ParamCount(); ++i) ApplyParamChange(i);
}

void IPlugBase::RefreshParamControls()
{
  if (!mGraphics) return;
  for (int i = 0; i < ParamCount(); ++i) mGraphics->ShowParamValue(i, Param(i)->CurrentValue(), false);
}

// ---- Host facade ----

void IPlugBase::HostOpen()
{
  WDL_MutexLock lock(&mPlugLock);
  HostQuirksInit();
  AfterParamsReset();
}

void IPlugBase::HostClose()
{
  WDL_MutexLock lock(&mPlugLock);
  Closing();
}

bool IPlugBase::HostSetSampleRate(double rateHz)
{
  // A rate that is not a positive number would turn every time and period
  // downstream into nonsense; the last good rate stays.
  if (!(std::isfinite(rateHz) && rateHz > 0.0))
  {
    KESTRANE_HOST_MISUSE("sample rate that is not a positive finite number");
    return false;
  }
  WDL_MutexLock lock(&mPlugLock);
  ChangeSampleRate(rateHz);
  ResetEngine();
  return true;
}

void IPlugBase::HostSetBlockSize(int64_t nFrames)
{
  WDL_MutexLock lock(&mPlugLock);
  ChangeBlockSize(static_cast<int>(std::min<int64_t>(std::max<int64_t>(nFrames, 0), kMaxBlockSize)));
  ResetEngine();
}

void IPlugBase::HostSetActive(bool active)
{
  WDL_MutexLock lock(&mPlugLock);
  Activated(active);
  if (!active) ResetEngine();
}

void IPlugBase::HostResetEngine()
{
  WDL_MutexLock lock(&mPlugLock);
  ResetEngine();
}

bool IPlugBase::HostSetParameterNormalized(int paramIdx, double normalized)
{
  WDL_MutexLock lock(&mPlugLock);
  IParam* param = Param(paramIdx);
  if (!param)
  {
    KESTRANE_HOST_MISUSE("parameter index out of range");
    return false;
  }
  if (mGraphics) mGraphics->ShowParamValue(paramIdx, normalized, true);
  param->SetFromNormalized(normalized);
  ApplyParamChangeLocked(paramIdx, normalized);
  return true;
}

bool IPlugBase::HostSetParameterValue(int paramIdx, double value)
{
  WDL_MutexLock lock(&mPlugLock);
  IParam* param = Param(paramIdx);
  if (!param)
  {
    KESTRANE_HOST_MISUSE("parameter index out of range");
    return false;
  }
  if (mGraphics) mGraphics->ShowParamValue(paramIdx, value, false);
  param->SetClamped(value);
  ApplyParamChange(paramIdx);
  return true;
}

double IPlugBase::HostNormalizedValue(int paramIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  const IParam* param = Param(paramIdx);
  return param ? param->NormalizedValue() : 0.0;
}

double IPlugBase::HostParameterValue(int paramIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  const IParam* param = Param(paramIdx);
  return param ? param->CurrentValue() : 0.0;
}

void IPlugBase::ReportBlockMisuse(int nFrames) const
{
  // Either still gets a defined answer: nothing for a negative count, the
  // block in slices for an oversized one.
  if (nFrames < 0) KESTRANE_HOST_MISUSE("negative frame count");
  if (nFrames > mMaxFrames) KESTRANE_HOST_MISUSE("more frames than the announced block size");
}

void IPlugBase::HostProcess(double** inputs, double** outputs, int nFrames)
{
  WDL_MutexLock lock(&mPlugLock);
  ReportBlockMisuse(nFrames);
  BindInputBuffers(0, InputCount(), inputs, nFrames);
  BindOutputBuffers(0, OutputCount(), outputs);
  RunBuffers(nFrames);
}

void IPlugBase::HostProcess(float** inputs, float** outputs, int nFrames, FloatOutput mode)
{
  WDL_MutexLock lock(&mPlugLock);
  ReportBlockMisuse(nFrames);
  BindInputBuffers(0, InputCount(), inputs, nFrames);
  BindOutputBuffers(0, OutputCount(), outputs);
  if (mode == FloatOutput::kAccumulate)
    RunBuffersFloatAccumulating(nFrames);
  else
    RunBuffersFloatReplacing(nFrames);
}

bool IPlugBase::HostRecallPreset(int presetIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  return RecallPreset(presetIdx);
}

bool IPlugBase::HostSaveState(ChunkBuffer* chunk)
{
  WDL_MutexLock lock(&mPlugLock);
  return SaveState(chunk);
}

int IPlugBase::HostLoadState(const ChunkBuffer* chunk, int startPos)
{
  WDL_MutexLock lock(&mPlugLock);
  const int pos = LoadState(chunk, startPos);
  if (pos >= 0) RefreshParamControls();
  return pos;
}

bool IPlugBase::HostMidiIn(const MidiMessage& message)
{
  if (!ReceivesMidi()) return false;
  WDL_MutexLock lock(&mPlugLock);
  ProcessMidiMessage(message);
  return true;
}

bool IPlugBase::HostSysExIn(const SysExMessage& message)
{
  if (!ReceivesMidi()) return false;
  WDL_MutexLock lock(&mPlugLock);
  HandleSysEx(message);
  return true;
}

// ---- State ----

bool IPlugBase::SaveParams(ChunkBuffer* chunk)
{
  if (!chunk) return false;
  WDL_MutexLock lock(&mPlugLock);
  bool saved = true;
  for (int i = 0; i < ParamCount(); ++i) saved = (chunk->WriteDouble(Param(i)->CurrentValue()) > 0) && saved;
  return saved;
}

int IPlugBase::LoadParams(const ChunkBuffer* chunk, int startPos)
{
  if (!chunk) return -1;
  WDL_MutexLock lock(&mPlugLock);
  int pos = startPos;
  for (int i = 0; i < ParamCount() && pos >= 0; ++i)
  {
    double v = 0.0;
    pos = chunk->ReadDouble(&v, pos);
    // A state that ends early restores what it holds and leaves the rest
    // untouched: a missing value is never invented.
    if (pos < 0) break;
    if (CanRestoreParam(i))
    {
      Param(i)->SetClamped(v);
      ApplyParamChange(i);
    }
  }
  return pos;
}

// ---- Buffers ----

void IPlugBase::RunBuffers(int nFrames)
{
  RunBuffersWith(nFrames, HostBufferRouting::OutputConversion::kNone);
}

void IPlugBase::RunBuffersFloatReplacing(int nFrames)
{
  RunBuffersWith(nFrames, HostBufferRouting::OutputConversion::kReplace);
}

void IPlugBase::RunBuffersFloatAccumulating(int nFrames)
{
  RunBuffersWith(nFrames, HostBufferRouting::OutputConversion::kAccumulate);
}

void IPlugBase::RunBuffersBypassed(int nFrames)
{
  mRouting.Run(nFrames, HostBufferRouting::OutputConversion::kReplace, true,
               [this](double** inputs, double** outputs, int n) { IPlugBase::ProcessBlock(inputs, outputs, n); });
}

void IPlugBase::RunBuffersWith(int nFrames, HostBufferRouting::OutputConversion mode)
{
  mRouting.Run(nFrames, mode, mReady,
               [this](double** inputs, double** outputs, int n) { ProcessBlock(inputs, outputs, n); });
}
