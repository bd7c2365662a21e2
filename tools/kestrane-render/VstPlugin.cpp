#include "tools/kestrane-render/VstPlugin.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "tools/kestrane-render/ToolError.h"

namespace
{
// The instance whose entry point is running: the plug-in may call the host
// before the host has had a chance to mark the AEffect as its own.
thread_local VstPlugin* sConstructing = nullptr;

constexpr std::size_t kStringBufferSize = 256;

const char* kHostVendor = "Olvendu";
const char* kHostProduct = "kestrane-render";
constexpr VstIntPtr kHostVersion = 10100;

// dlerror() names the file first; the message already does.
std::string LoaderReason(const std::string& path)
{
  const char* why = dlerror();
  std::string reason = why ? why : "the loader gave no reason";
  const std::string prefix = path + ": ";
  if (reason.compare(0, prefix.size(), prefix) == 0) reason.erase(0, prefix.size());
  return reason;
}

std::string NotAPlugin(const std::string& path, const std::string& why)
{
  return "'" + path + "' is not a VST 2 plug-in (" + why + ")";
}
} // namespace

VstPlugin::VstPlugin(const std::string& path) : mPath(path)
{
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0)
    throw ToolError("cannot open plug-in '" + path + "': " + std::strerror(errno));
  if (!S_ISREG(info.st_mode)) throw ToolError(NotAPlugin(path, "not a file"));
  if (access(path.c_str(), R_OK) != 0)
    throw ToolError("cannot read plug-in '" + path + "': " + std::strerror(errno));

  // Without a slash the loader would search the library path instead.
  const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  mLibrary = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mLibrary) throw ToolError(NotAPlugin(path, "cannot load it: " + LoaderReason(loadPath)));

  void* symbol = dlsym(mLibrary, "VSTPluginMain");
  if (!symbol) symbol = dlsym(mLibrary, "main");
  if (!symbol)
  {
    dlclose(mLibrary);
    throw ToolError(NotAPlugin(path, "no VSTPluginMain or main entry point"));
  }
  using EntryPoint = AEffect* (*)(audioMasterCallback);
  EntryPoint entry = nullptr;
  static_assert(sizeof entry == sizeof symbol, "function and object pointers differ");
  std::memcpy(&entry, &symbol, sizeof entry);

  sConstructing = this;
  AEffect* effect = entry(HostCallback);
  sConstructing = nullptr;

  if (!effect)
  {
    dlclose(mLibrary);
    throw ToolError(NotAPlugin(path, "its entry point created no instance"));
  }
  if (effect->magic != kEffectMagic || !effect->dispatcher)
  {
    char why[64];
    std::snprintf(why, sizeof why, "bad magic number 0x%08X", static_cast<unsigned>(effect->magic));
    // Not an AEffect: nothing in it can be trusted, not even effClose.
    dlclose(mLibrary);
    throw ToolError(NotAPlugin(path, why));
  }
  effect->user = this;
  mEffect = effect;
}

VstPlugin::~VstPlugin()
{
  if (mEffect)
  {
    if (mResumed) Suspend();
    Dispatch(effClose);
    mEffect = nullptr;
  }
  if (mLibrary) dlclose(mLibrary);
}

VstIntPtr VstPlugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

// ---- Host callback ----

VstIntPtr VstPlugin::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
  VstPlugin* host = sConstructing;
  if (!host && effect) host = static_cast<VstPlugin*>(effect->user);
  if (!host) return opcode == audioMasterVersion ? kVstVersion : 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr VstPlugin::Answer(VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterAutomate:
    ++mAutomationCalls;
    return 0;
  case audioMasterWantMidi:
  case audioMasterBeginEdit:
  case audioMasterEndEdit:
  case audioMasterUpdateDisplay:
    return 1;
  case audioMasterGetTime:
    FillTimeInfo();
    return reinterpret_cast<VstIntPtr>(&mTimeInfo);
  case audioMasterProcessEvents:
    if (ptr)
    {
      const VstEvents* events = static_cast<const VstEvents*>(ptr);
      if (events->numEvents > 0) mMidiEventsOut += events->numEvents;
    }
    return 1;
  case audioMasterGetSampleRate:
    return static_cast<VstIntPtr>(mSampleRate);
  case audioMasterGetBlockSize:
    return mBlockSize;
  case audioMasterGetCurrentProcessLevel:
    return 4; // offline
  case audioMasterGetAutomationState:
    return 1; // off
  case audioMasterGetVendorString:
    if (ptr) std::snprintf(static_cast<char*>(ptr), kVstMaxVendorStrLen, "%s", kHostVendor);
    return ptr ? 1 : 0;
  case audioMasterGetProductString:
    if (ptr) std::snprintf(static_cast<char*>(ptr), kVstMaxProductStrLen, "%s", kHostProduct);
    return ptr ? 1 : 0;
  case audioMasterGetVendorVersion:
    return kHostVersion;
  case audioMasterGetLanguage:
    return 1; // English
  case audioMasterCanDo:
    if (ptr)
    {
      static const char* const kCanDo[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                           "receiveVstEvents", "receiveVstMidiEvent", "offline"};
      for (const char* canDo : kCanDo)
        if (std::strcmp(static_cast<const char*>(ptr), canDo) == 0) return 1;
    }
    return 0;
  default:
    return 0;
  }
}

void VstPlugin::FillTimeInfo()
{
  VstTimeInfo& t = mTimeInfo;
  t = VstTimeInfo{};
  t.samplePos = static_cast<double>(mSamplePos);
  t.sampleRate = mSampleRate;
  t.tempo = mTransport.tempo;
  t.timeSigNumerator = mTransport.timeSigNumerator;
  t.timeSigDenominator = mTransport.timeSigDenominator;
  const double samplesPerQuarter = mSampleRate * 60.0 / mTransport.tempo;
  t.ppqPos = t.samplePos / samplesPerQuarter;
  const double quartersPerBar = 4.0 * mTransport.timeSigNumerator / mTransport.timeSigDenominator;
  t.barStartPos = std::floor(t.ppqPos / quartersPerBar) * quartersPerBar;
  t.flags = kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstBarsValid;
  // The first answer of a new block position after a jump says so.
  if (mLastTimePos < 0) t.flags |= kVstTransportChanged;
  mLastTimePos = mSamplePos;
}

// ---- Identity ----

std::string VstPlugin::GetString(VstInt32 opcode, VstInt32 index) const
{
  char text[kStringBufferSize] = {};
  Dispatch(opcode, index, 0, text);
  text[sizeof text - 1] = '\0';
  return text;
}

std::string VstPlugin::EffectName() const
{
  return GetString(effGetEffectName);
}

std::string VstPlugin::VendorName() const
{
  return GetString(effGetVendorString);
}

int VstPlugin::VendorVersion() const
{
  return static_cast<int>(Dispatch(effGetVendorVersion));
}

bool VstPlugin::CanDoubleReplacing() const
{
  return (mEffect->flags & effFlagsCanDoubleReplacing) && mEffect->processDoubleReplacing;
}

// ---- Set-up ----

void VstPlugin::Open(double sampleRate, int blockSize)
{
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  Dispatch(effOpen);
  Dispatch(effGetVstVersion);
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
}

void VstPlugin::Resume()
{
  Dispatch(effMainsChanged, 0, 1);
  mResumed = true;
}

void VstPlugin::Suspend()
{
  Dispatch(effMainsChanged, 0, 0);
  mResumed = false;
}

// ---- Parameters ----

std::string VstPlugin::ParamName(int index) const
{
  return GetString(effGetParamName, index);
}

std::string VstPlugin::ParamLabel(int index) const
{
  return GetString(effGetParamLabel, index);
}

std::string VstPlugin::ParamDisplay(int index) const
{
  return GetString(effGetParamDisplay, index);
}

float VstPlugin::GetParameter(int index) const
{
  return mEffect->getParameter ? mEffect->getParameter(mEffect, index) : 0.0f;
}

void VstPlugin::SetParameter(int index, float normalized) const
{
  if (mEffect->setParameter) mEffect->setParameter(mEffect, index, normalized);
}

bool VstPlugin::SetParameterFromText(int index, const std::string& text) const
{
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return Dispatch(effString2Parameter, index, 0, buffer.data()) == 1;
}

bool VstPlugin::FormatNormalized(int index, double normalized, std::string* text) const
{
  char buffer[kStringBufferSize] = {};
  const VstIntPtr handled =
      Dispatch(effVendorSpecific, effGetParamDisplay, index, buffer, static_cast<float>(normalized));
  if (handled < kVstVendorHandled) return false;
  buffer[sizeof buffer - 1] = '\0';
  if (text) *text = buffer;
  return true;
}

int VstPlugin::DisplayTextCount(int index) const
{
  int32_t count = 0;
  if (Dispatch(effVendorSpecific, effGetParamName, index, &count) < kVstVendorHandled) return 0;
  return count > 0 ? count : 0;
}

// ---- Editor ----

bool VstPlugin::EditorSnapshot(KestraneEditorSnapshot* snapshot) const
{
  KestraneEditorSnapshot lent{};
  const VstIntPtr handled =
      Dispatch(effVendorSpecific, kKestraneSnapshotIndex, static_cast<VstIntPtr>(sizeof lent), &lent);
  if (handled < kVstVendorHandled) return false;
  // What a plug-in lends is checked before anything reads it.
  if (!lent.pixels || lent.width <= 0 || lent.height <= 0 || lent.rowSpan < lent.width) return false;
  if (lent.width > kMaxSnapshotSide || lent.height > kMaxSnapshotSide) return false;
  *snapshot = lent;
  return true;
}

// ---- Programs ----

int VstPlugin::CurrentProgram() const
{
  return static_cast<int>(Dispatch(effGetProgram));
}

bool VstPlugin::SetProgram(int index) const
{
  Dispatch(effBeginSetProgram);
  Dispatch(effSetProgram, 0, index);
  Dispatch(effEndSetProgram);
  return CurrentProgram() == index;
}

std::string VstPlugin::ProgramName() const
{
  return GetString(effGetProgramName);
}

std::string VstPlugin::ProgramNameIndexed(int index) const
{
  char text[kStringBufferSize] = {};
  Dispatch(effGetProgramNameIndexed, index, -1, text);
  text[sizeof text - 1] = '\0';
  return text;
}

void VstPlugin::SetProgramName(const std::string& name) const
{
  // Program names are at most 24 characters.
  char text[kVstMaxProgNameLen + 1] = {};
  std::snprintf(text, sizeof text, "%s", name.c_str());
  Dispatch(effSetProgramName, 0, 0, text);
}

std::vector<uint8_t> VstPlugin::GetChunk(bool wholeBank) const
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, wholeBank ? 0 : 1, 0, &data);
  if (size <= 0 || !data) return {};
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

bool VstPlugin::SetChunk(bool wholeBank, const std::vector<uint8_t>& data) const
{
  std::vector<uint8_t> copy = data;
  if (copy.empty()) copy.push_back(0);
  return Dispatch(effSetChunk, wholeBank ? 0 : 1, static_cast<VstIntPtr>(data.size()), copy.data()) == 1;
}

// ---- Processing ----

void VstPlugin::ProcessEvents(VstEvents* events) const
{
  Dispatch(effProcessEvents, 0, 0, events);
}

void VstPlugin::Process(float** inputs, float** outputs, int nFrames) const
{
  if ((mEffect->flags & effFlagsCanReplacing) && mEffect->processReplacing)
  {
    mEffect->processReplacing(mEffect, inputs, outputs, nFrames);
    return;
  }
  // A plug-in that can only accumulate adds to silence.
  for (int c = 0; c < mEffect->numOutputs; ++c)
    std::memset(outputs[c], 0, sizeof(float) * static_cast<std::size_t>(nFrames));
  if (mEffect->process) mEffect->process(mEffect, inputs, outputs, nFrames);
}

void VstPlugin::Process(double** inputs, double** outputs, int nFrames) const
{
  if (mEffect->processDoubleReplacing) mEffect->processDoubleReplacing(mEffect, inputs, outputs, nFrames);
}
