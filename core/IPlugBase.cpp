#include "core/IPlugBase.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

IPlugBase::IPlugBase(int nParams, const char* channelIOString, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int version, int uniqueID, int mfrID,
                     int latency, int midiMode, bool stateChunks, bool isInstrument)
    : mUniqueCode(uniqueID),
      mMakerCode(mfrID),
      mVersionCode(version),
      mUsesChunks(stateChunks),
      mIsInstrument(isInstrument),
      mMidiMode(midiMode),
      mLatencyFrames(latency),
      mInPointers(4096),
      mOutPointers(4096)
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
  mInputList.Empty(true);
  mOutputList.Empty(true);
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

  mInPointers.Resize(maxIn);
  mOutPointers.Resize(maxOut);
  for (int i = 0; i < maxIn; ++i)
  {
    InChannel* channel = mInputList.Add(new InChannel());
    channel->source = mInPointers.Get() + i;
    *channel->source = nullptr;
  }
  for (int i = 0; i < maxOut; ++i)
  {
    OutChannel* channel = mOutputList.Add(new OutChannel());
    channel->destination = mOutPointers.Get() + i;
    *channel->destination = nullptr;
  }
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

void IPlugBase::AttachEditor(IGraphics* editor)
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
  // Scratch buffers only grow: a host that later passes more frames than it
  // announced is processed in slices of what they hold (see RunBuffersWith).
  mScratchFrames = std::max(mScratchFrames, nFrames);
  for (InChannel* channel : mInputList)
  {
    double* data = channel->scratch.Resize(mScratchFrames);
    if (data) std::fill(data, data + mScratchFrames, 0.0);
  }
  for (OutChannel* channel : mOutputList)
  {
    double* data = channel->scratch.Resize(mScratchFrames);
    if (data) std::fill(data, data + mScratchFrames, 0.0);
  }
  mMaxFrames = nFrames;
  // Unconnected channels point at their scratch, whose storage may have moved.
  for (InChannel* channel : mInputList)
    if (!channel->connected) *channel->source = channel->scratch.Get();
  for (OutChannel* channel : mOutputList)
    if (!channel->connected) *channel->destination = channel->scratch.Get();
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
    {"brainwaveproducer", 28}, {"cubase", 3},     {"reaper", 1},      {"nuendo", 4},     {"cakewalk", 5},
    {"samplitude", 8},         {"fruity", 7},     {"live", 9},        {"melodyne", 12},  {"vstmanlib", 13},
    {"aulab", 14},             {"forte", 15},     {"chainer", 16},    {"audition", 17},  {"orion", 18},
    {"sawstudio", 20},         {"logic", 21},     {"digital", 22},    {"audiomulch", 23}, {"presonus", 24},
    {"acoustica", 25},         {"garageband", 26}, {"ardour", 27},
};
} // namespace

void IPlugBase::SetHostKind(const char* productString, int version)
{
  char lower[kHostProductSize] = {};
  CopyBounded(lower, productString);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  mHostKind = 0;
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
  if (!(std::isfinite(rateHz) && rateHz > 0.0)) return false;
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
  if (!param) return false;
  if (mGraphics) mGraphics->ShowParamValue(paramIdx, normalized, true);
  param->SetFromNormalized(normalized);
  ApplyParamChangeLocked(paramIdx, normalized);
  return true;
}

bool IPlugBase::HostSetParameterValue(int paramIdx, double value)
{
  WDL_MutexLock lock(&mPlugLock);
  IParam* param = Param(paramIdx);
  if (!param) return false;
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

void IPlugBase::HostProcess(double** inputs, double** outputs, int nFrames)
{
  WDL_MutexLock lock(&mPlugLock);
  BindInputBuffers(0, InputCount(), inputs, nFrames);
  BindOutputBuffers(0, OutputCount(), outputs);
  RunBuffers(nFrames);
}

void IPlugBase::HostProcess(float** inputs, float** outputs, int nFrames, FloatOutput mode)
{
  WDL_MutexLock lock(&mPlugLock);
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

// ---- Presets ----

const char* IPlugBase::PresetName(int presetIdx) const
{
  const IPreset* preset = Preset(presetIdx);
  return preset ? preset->mPresetName : "";
}

IPreset* IPlugBase::FirstFreePreset() const
{
  for (IPreset* preset : mPresetList)
    if (!preset->mFilled) return preset;
  return nullptr;
}

void IPlugBase::NameFreePresets(const char* name, int count)
{
  for (int i = 0; i < count; ++i)
  {
    IPreset* preset = FirstFreePreset();
    if (!preset) return;
    preset->mFilled = true;
    CopyBounded(preset->mPresetName, name ? name : "Default");
  }
}

bool IPlugBase::MakePresetFromValues(const char* name, const double* values, int count)
{
  IPreset* preset = FirstFreePreset();
  if (!preset || !values || count != ParamCount()) return false;
  preset->mFilled = true;
  CopyBounded(preset->mPresetName, name);
  for (int i = 0; i < count; ++i)
  {
    // Integral parameters take whole numbers, as a preset table writes them.
    const double v = Param(i)->IsIntegral() ? static_cast<double>(TruncToInt32(values[i])) : values[i];
    preset->mStateData.WriteDouble(v);
  }
  return true;
}

void IPlugBase::EnsureDefaultPreset()
{
  if (PresetCount() > 0) return;
  IPreset* preset = mPresetList.Add(new IPreset());
  std::snprintf(preset->mPresetName, sizeof preset->mPresetName, "- %d -", 1);
  NameFreePresets(nullptr, 1);
}

void IPlugBase::MakeUserPresetName(char* name) const
{
  if (!name) return;
  static const char kUserPreset[] = "user preset";
  int count = 0;
  for (const IPreset* preset : mPresetList)
    if (std::strstr(preset->mPresetName, kUserPreset)) ++count;
  std::snprintf(name, IPreset::kNameSize, "%s %d", kUserPreset, count + 1);
}

bool IPlugBase::RecallPreset(int presetIdx)
{
  IPreset* preset = Preset(presetIdx);
  if (!preset) return false;

  bool restored = false;
  if (!preset->mFilled)
  {
    // Selecting an empty slot makes it a user preset holding the live values.
    preset->mFilled = true;
    MakeUserPresetName(preset->mPresetName);
    restored = true;
  }
  else
  {
    restored = LoadState(&preset->mStateData, 0) > 0;
  }

  if (restored)
  {
    mCurrentPreset = presetIdx;
    RefreshParamControls();
  }
  return restored;
}

void IPlugBase::StoreIntoCurrentPreset(const char* name)
{
  IPreset* preset = Preset(mCurrentPreset);
  if (!preset) return;
  preset->mStateData.Clear();
  SaveParams(&preset->mStateData);
  if (name && name[0]) CopyBounded(preset->mPresetName, name);
}

void IPlugBase::RemoveFreePresets()
{
  for (int i = PresetCount() - 1; i >= 0; --i)
    if (!Preset(i)->mFilled) mPresetList.Delete(i, true);
}

bool IPlugBase::RecallPresetNamed(const char* name)
{
  if (!name || !name[0]) return false;
  for (int i = 0; i < PresetCount(); ++i)
    if (std::strcmp(Preset(i)->mPresetName, name) == 0) return RecallPreset(i);
  return false;
}

namespace
{
// Slot flags in a bank. A filled slot's state follows its flag without a
// length, so a filled slot whose state is empty gets a flag of its own:
// otherwise a reader would parse the next slot's bytes as its state.
enum BankSlotFlag : unsigned char
{
  kBankSlotFree = 0,
  kBankSlotWithState = 1,
  kBankSlotWithoutState = 2
};
} // namespace

bool IPlugBase::SavePresetBank(ChunkBuffer* chunk)
{
  if (!chunk) return false;
  bool saved = true;
  for (const IPreset* preset : mPresetList)
  {
    chunk->WriteText(preset->mPresetName);
    const unsigned char flag = !preset->mFilled                 ? kBankSlotFree
                               : preset->mStateData.Empty() ? kBankSlotWithoutState
                                                            : kBankSlotWithState;
    chunk->WriteBytes(&flag, 1);
    if (preset->mFilled) saved = (chunk->WriteChunk(preset->mStateData) > 0) && saved;
  }
  return saved;
}

int IPlugBase::LoadPresetBank(const ChunkBuffer* chunk, int startPos)
{
  if (!chunk) return -1;
  int pos = startPos;
  for (int i = 0; i < PresetCount() && pos >= 0; ++i)
  {
    IPreset* preset = Preset(i);
    WDL_String name;
    const int nameEnd = chunk->ReadText(&name, pos);
    if (nameEnd < 0)
    {
      pos = -1;
      break;
    }
    // A name whose bytes are missing (truncated data) leaves the slot's name.
    if (nameEnd <= chunk->Length()) CopyBounded(preset->mPresetName, name.Get());
    unsigned char flag = kBankSlotFree;
    pos = chunk->ReadBytes(&flag, 1, nameEnd);
    if (pos < 0) break;
    preset->mFilled = flag != kBankSlotFree;
    if (flag == kBankSlotWithoutState)
    {
      preset->mStateData.Clear();
    }
    else if (preset->mFilled)
    {
      pos = LoadState(chunk, pos);
      if (pos > 0)
      {
        preset->mStateData.Clear();
        SaveState(&preset->mStateData);
      }
    }
  }
  RecallPreset(mCurrentPreset);
  return pos;
}

// ---- Channel plumbing ----

void IPlugBase::SetInputConnections(int start, int count, bool connected)
{
  const int end = std::min(start + count, InputCount());
  for (int i = std::max(start, 0); i < end; ++i)
  {
    InChannel* channel = mInputList.Get(i);
    channel->connected = connected;
    if (!connected) *channel->source = channel->scratch.Get();
  }
}

void IPlugBase::SetOutputConnections(int start, int count, bool connected)
{
  const int end = std::min(start + count, OutputCount());
  for (int i = std::max(start, 0); i < end; ++i)
  {
    OutChannel* channel = mOutputList.Get(i);
    channel->connected = connected;
    if (!connected) *channel->destination = channel->scratch.Get();
  }
}

bool IPlugBase::IsInputConnected(int channel) const
{
  const InChannel* in = mInputList.Get(channel);
  return in && in->connected;
}

bool IPlugBase::IsOutputConnected(int channel) const
{
  const OutChannel* out = mOutputList.Get(channel);
  return out && out->connected;
}

void IPlugBase::BindInputBuffers(int start, int count, double** buffers, int)
{
  const int end = std::min(start + count, InputCount());
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    InChannel* channel = mInputList.Get(i);
    if (!channel->connected) continue;
    channel->hostDouble = buffers ? buffers[next++] : nullptr;
    channel->hostFloat = nullptr;
    // A host that hands over a null channel gets silence-safe scratch instead.
    *channel->source = channel->hostDouble ? channel->hostDouble : channel->scratch.Get();
  }
}

void IPlugBase::BindInputBuffers(int start, int count, float** buffers, int nFrames)
{
  const int end = std::min(start + count, InputCount());
  const int nConvert = std::min(std::max(nFrames, 0), mScratchFrames);
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    InChannel* channel = mInputList.Get(i);
    if (!channel->connected) continue;
    channel->hostDouble = nullptr;
    channel->hostFloat = buffers ? buffers[next++] : nullptr;
    double* scratch = channel->scratch.Get();
    if (channel->hostFloat)
      for (int s = 0; s < nConvert; ++s) scratch[s] = channel->hostFloat[s];
    *channel->source = scratch;
  }
}

void IPlugBase::BindOutputBuffers(int start, int count, double** buffers)
{
  const int end = std::min(start + count, OutputCount());
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    OutChannel* channel = mOutputList.Get(i);
    if (!channel->connected) continue;
    channel->hostDouble = buffers ? buffers[next++] : nullptr;
    channel->floatDestination = nullptr;
    *channel->destination = channel->hostDouble ? channel->hostDouble : channel->scratch.Get();
  }
}

void IPlugBase::BindOutputBuffers(int start, int count, float** buffers)
{
  const int end = std::min(start + count, OutputCount());
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    OutChannel* channel = mOutputList.Get(i);
    if (!channel->connected) continue;
    channel->hostDouble = nullptr;
    channel->floatDestination = buffers ? buffers[next++] : nullptr;
    *channel->destination = channel->scratch.Get();
  }
}

void IPlugBase::RunBuffers(int nFrames)
{
  RunBuffersWith(nFrames, OutputConversion::kNone);
}

void IPlugBase::RunBuffersFloatReplacing(int nFrames)
{
  RunBuffersWith(nFrames, OutputConversion::kReplace);
}

void IPlugBase::RunBuffersFloatAccumulating(int nFrames)
{
  RunBuffersWith(nFrames, OutputConversion::kAccumulate);
}

void IPlugBase::PrepareSlice(int offset, int nFrames)
{
  for (InChannel* channel : mInputList)
  {
    double* scratch = channel->scratch.Get();
    if (!channel->connected)
      *channel->source = scratch;
    else if (channel->hostDouble)
      *channel->source = channel->hostDouble + offset;
    else
    {
      if (channel->hostFloat)
        for (int s = 0; s < nFrames; ++s) scratch[s] = channel->hostFloat[offset + s];
      *channel->source = scratch;
    }
  }
  for (OutChannel* channel : mOutputList)
  {
    if (channel->connected && channel->hostDouble)
      *channel->destination = channel->hostDouble + offset;
    else
      *channel->destination = channel->scratch.Get();
  }
}

void IPlugBase::WriteFloatOutputs(int offset, int nFrames, OutputConversion mode)
{
  if (mode == OutputConversion::kNone) return;
  for (OutChannel* channel : mOutputList)
  {
    if (!channel->connected || !channel->floatDestination) continue;
    const double* scratch = channel->scratch.Get();
    float* dest = channel->floatDestination + offset;
    if (mode == OutputConversion::kReplace)
      for (int s = 0; s < nFrames; ++s) dest[s] = static_cast<float>(scratch[s]);
    else
      for (int s = 0; s < nFrames; ++s) dest[s] += static_cast<float>(scratch[s]);
  }
}

void IPlugBase::RunBuffersWith(int nFrames, OutputConversion mode)
{
  if (nFrames <= 0) return;

  // Does any channel go through scratch memory for this block?
  bool usesScratch = false;
  for (const InChannel* channel : mInputList)
    usesScratch = usesScratch || !channel->connected || !channel->hostDouble;
  for (const OutChannel* channel : mOutputList)
    usesScratch = usesScratch || !channel->connected || !channel->hostDouble;

  if (!usesScratch || nFrames <= mScratchFrames)
  {
    // The common case: the pointers bound for this block cover it whole.
    if (mReady) ProcessBlock(mInPointers.Get(), mOutPointers.Get(), nFrames);
    WriteFloatOutputs(0, nFrames, mode);
    return;
  }

  // The host passed more frames than its announced block size: process in
  // slices that fit the scratch buffers, without allocating.
  if (mScratchFrames <= 0)
  {
    // No block size was ever set: nothing can be processed; the host gets
    // silence rather than whatever its buffers held.
    for (OutChannel* channel : mOutputList)
      if (channel->connected && channel->floatDestination && mode == OutputConversion::kReplace)
        std::fill(channel->floatDestination, channel->floatDestination + nFrames, 0.0f);
    return;
  }
  for (int offset = 0; offset < nFrames; offset += mScratchFrames)
  {
    const int n = std::min(mScratchFrames, nFrames - offset);
    PrepareSlice(offset, n);
    if (mReady) ProcessBlock(mInPointers.Get(), mOutPointers.Get(), n);
    WriteFloatOutputs(offset, n, mode);
  }
  PrepareSlice(0, 0);
}
