#include "wrappers/vst/IPlugVST.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/HostCallGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"
#include "raster/LICE_IBitmap.h"
#include "wrappers/vst/KestraneVendorCalls.h"
#include "wrappers/vst/VstMidiEvents.h"

namespace
{
// Output sizes of the strings the dispatcher writes into host buffers.
constexpr std::size_t kParamStringSize = 32;    // parameter name, label, display
constexpr std::size_t kIdentityStringSize = 128; // effect, vendor, product
constexpr std::size_t kProgramNameSize = kVstMaxProgNameLen + 1;
// Host strings are read into buffers of this size, so nothing past it is
// ever read even when a host forgets the terminator.
constexpr std::size_t kHostTextSize = 256;
// Buffer lent to the host for its product string: zeroed and larger than the
// published 64 bytes, which some hosts exceed.
constexpr std::size_t kHostProductBufferSize = 512;

// effVendorSpecific sub-opcodes (in index) that hosts use for their parameter
// views; they borrow the numbers of the matching dispatcher opcodes. Our own
// tools' calls (the editor snapshot, 'KsSn') are declared in
// wrappers/vst/KestraneVendorCalls.h.
constexpr VstInt32 kVendorFormatValue = effGetParamDisplay;      // 7
constexpr VstInt32 kVendorDisplayTextCount = effGetParamName;    // 8
constexpr VstInt32 kVendorParseToNormalized = effString2Parameter; // 27

// Host codes of the hosts that only cope with stereo.
bool HostNeedsStereoOnly(int hostKind)
{
  return hostKind == kHostForte || hostKind == kHostAudition || hostKind == kHostOrion || hostKind == kHostSawStudio;
}

// A host's decimal version (major * 10000 + minor * 100 + bug-fix) packed like
// our own version codes. Unsigned arithmetic: hosts may answer anything.
int PackDecimalVersion(VstIntPtr decimal)
{
  const uint64_t v = static_cast<uint64_t>(decimal);
  const uint64_t packed = (v / 10000u) * 65536u + ((v % 10000u) / 100u) * 256u + (v % 100u);
  return static_cast<int>(static_cast<uint32_t>(packed));
}

// A host's index argument as an int, or -1 when it cannot be one.
int IndexFromHost(VstIntPtr value)
{
  return (value >= 0 && value <= 0x7FFFFFFF) ? static_cast<int>(value) : -1;
}

VstInt16 ClampToInt16(int value)
{
  return static_cast<VstInt16>(std::min(std::max(value, -32768), 32767));
}
} // namespace

IPlugVST::IPlugVST(InstanceInfo info, int nParams, const char* channelIOString, int nPresets,
                   const char* effectName, const char* productName, const char* mfrName, int version, int uniqueID,
                   int mfrID, int latency, int midiMode, bool stateChunks, bool isInstrument)
    : IPlugBase(nParams, channelIOString, nPresets, effectName, productName, mfrName, version, uniqueID, mfrID,
                latency, midiMode, stateChunks, isInstrument),
      mHostCallbackFn(info.mHostCallback)
{
  AEffect& e = mEffectRecord;
  e.magic = kEffectMagic;
  e.dispatcher = VSTDispatcher;
  e.process = VSTProcess;
  e.setParameter = VSTSetParameter;
  e.getParameter = VSTGetParameter;
  e.processReplacing = VSTProcessReplacing;
  e.processDoubleReplacing = VSTProcessDoubleReplacing;
  e.numPrograms = PresetCount();
  e.numParams = ParamCount();
  e.numInputs = InputCount();
  e.numOutputs = OutputCount();
  e.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (UsesChunks()) e.flags |= effFlagsProgramChunks;
  if (IsLegalIO(1, -1)) e.flags |= effFlagsCanMono;
  if (IsInstrument()) e.flags |= effFlagsIsSynth;
  e.initialDelay = Latency();
  e.ioRatio = 1.0f;
  e.object = this;
  e.uniqueID = UniqueCode();
  e.version = EffectVersion(true);

  SetArrangement(&mInputSpeakers, InputCount());
  SetArrangement(&mOutputSpeakers, OutputCount());
  SetInputConnections(0, InputCount(), true);
  SetOutputConnections(0, OutputCount(), true);
  ChangeBlockSize(1024);
}

IPlugVST::~IPlugVST()
{
  mEffectRecord.object = nullptr;
}

void IPlugVST::SetArrangement(VstSpeakerArrangement* arrangement, int nChannels)
{
  arrangement->numChannels = nChannels;
  arrangement->type = nChannels == 0   ? kSpeakerArrEmpty
                      : nChannels == 1 ? kSpeakerArrMono
                      : nChannels == 2 ? kSpeakerArrStereo
                                       : kSpeakerArrUserDefined;
}

// ---- Entry point ----

AEffect* IPlugVST::CreateInstance(audioMasterCallback hostCallback, IPlugVST* (*construct)(InstanceInfo))
{
  // Lives from the first call to the end of the process.
  static std::mutex sConstructionMutex;
  std::lock_guard<std::mutex> lock(sConstructionMutex);

  IPlugVST* plug = nullptr;
  try
  {
    plug = construct ? construct(InstanceInfo{hostCallback}) : nullptr;
  }
  catch (...)
  {
    // Nothing may unwind into the host: a failed construction is a null effect.
    return nullptr;
  }
  if (!plug) return nullptr;

  plug->EnsureDefaultPreset();
  plug->mEffectRecord.numPrograms = std::max(plug->mEffectRecord.numPrograms, 1);
  return &plug->mEffectRecord;
}

IPlugVST* IPlugVST::FromEffect(AEffect* effect)
{
  if (!effect || !effect->object)
  {
    KESTRANE_HOST_MISUSE("call without an open instance (null AEffect or object)");
    return nullptr;
  }
  return static_cast<IPlugVST*>(effect->object);
}

VstIntPtr IPlugVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return mHostCallbackFn ? mHostCallbackFn(&mEffectRecord, opcode, index, value, ptr, opt) : 0;
}

// ---- Dispatcher ----

// [any host thread; takes the plug-in mutex]
VstIntPtr IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) noexcept
{
  return KESTRANE_GUARD_HOST_CALLBACK(VstIntPtr{0}, [&]() -> VstIntPtr {
    IPlugVST* plug = FromEffect(effect);
    if (!plug) return 0;

    if (opcode == effClose)
    {
      plug->HostClose();
      // The mutex is part of the plug-in: it is released before the plug-in goes.
      delete plug;
      return 0;
    }

    HostCallLock lock(plug);
    return plug->Dispatch(opcode, index, value, ptr, opt);
  });
}

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  char* text = static_cast<char*>(ptr);
  IParam* param = Param(index);

  switch (opcode)
  {
  case effOpen:
    HostOpen();
    return 0;

  case effSetProgram:
    // The preset being left keeps the edits made while it was current.
    StoreIntoCurrentPreset(nullptr);
    HostRecallPreset(IndexFromHost(value));
    return 0;

  case effGetProgram:
    return CurrentPresetIndex();

  case effSetProgramName:
    if (text)
    {
      // Program names are at most 24 characters: a longer one is cut there.
      char name[kProgramNameSize];
      CopyBounded(name, text);
      StoreIntoCurrentPreset(name);
    }
    return 0;

  case effGetProgramName:
    if (text) CopyBounded(text, PresetName(CurrentPresetIndex()), kProgramNameSize);
    return 0;

  case effGetParamLabel:
    if (param && text) CopyBounded(text, param->UnitLabel(), kParamStringSize);
    return 0;

  case effGetParamDisplay:
    if (param && text)
    {
      char display[IParam::kDisplaySize];
      param->FormatValue(param->CurrentValue(), false, display);
      CopyBounded(text, display, kParamStringSize);
    }
    return 0;

  case effGetParamName:
    if (param && text) CopyBounded(text, param->Title(), kParamStringSize);
    return 0;

  case effSetSampleRate:
    HostSetSampleRate(opt);
    return 0;

  case effSetBlockSize:
    HostSetBlockSize(static_cast<int64_t>(value));
    return 0;

  case effMainsChanged:
    HostSetActive(value != 0);
    // Events queued for a block that will not come are stale on resume.
    if (!value) mEventOutbox.Clear();
    return 0;

  case effEditGetRect:
    if (ptr && WindowEditor())
    {
      *static_cast<ERect**>(ptr) = &mEditorRect;
      return 1;
    }
    return 0;

  case effEditOpen:
  case effEditClose:
    // Only an editor that can open a window for the host takes part.
    return 0;

  case effIdentify:
    return kVstIdentifyReply;

  case effGetChunk:
    return GetChunk(index, ptr);

  case effSetChunk:
    return SetChunk(index, value, ptr);

  case effProcessEvents:
    return ProcessEvents(static_cast<const VstEvents*>(ptr));

  case effCanBeAutomated:
    return 1;

  case effString2Parameter:
    if (!param) return 0;
    if (text)
    {
      char input[kHostTextSize];
      CopyBounded(input, text);
      HostSetParameterValue(index, param->ParseValue(input));
    }
    return 1;

  case effGetProgramNameIndexed:
    if (!text) return 0;
    CopyBounded(text, PresetName(index), kProgramNameSize);
    return text[0] ? 1 : 0;

  case effGetInputProperties:
    return PinProperties(index, static_cast<VstPinProperties*>(ptr), true);

  case effGetOutputProperties:
    return PinProperties(index, static_cast<VstPinProperties*>(ptr), false);

  case effGetPlugCategory:
    return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;

  case effProcessVarIo:
    return 0;

  case effSetSpeakerArrangement:
    SetSpeakerConnections(reinterpret_cast<const VstSpeakerArrangement*>(value),
                          static_cast<const VstSpeakerArrangement*>(ptr));
    return 1;

  case effSetBypass:
    Activated(value == 0);
    return 0;

  case effGetEffectName:
    if (!text) return 0;
    CopyBounded(text, EffectName(), kIdentityStringSize);
    return 1;

  case effGetVendorString:
    if (!text) return 0;
    CopyBounded(text, MakerName(), kIdentityStringSize);
    return 1;

  case effGetProductString:
    if (!text) return 0;
    CopyBounded(text, ProductName(), kIdentityStringSize);
    return 1;

  case effGetVendorVersion:
    return EffectVersion(true);

  case effVendorSpecific:
    return VendorSpecific(index, value, ptr, opt);

  case effCanDo:
    return CanDo(text);

  case effGetVstVersion:
    return kVstVersion;

  case effGetMidiProgramName:
  case effGetCurrentMidiProgram:
  case effGetMidiProgramCategory:
  case effHasMidiProgramsChanged:
  case effBeginSetProgram:
  case effEndSetProgram:
  case effStartProcess:
    Activated(true);
    return 0;

  case effGetMidiKeyName:
    if (ptr)
    {
      MidiKeyName* key = static_cast<MidiKeyName*>(ptr);
      key->keyName[0] = '\0';
      // The plug-in names the key into a roomy buffer; the host's field
      // takes what fits.
      char name[kHostTextSize] = {};
      const bool named = NoteNameFor(key->thisKeyNumber, name);
      CopyBounded(key->keyName, name);
      return named ? 1 : 0;
    }
    return 0;

  case effGetSpeakerArrangement:
    if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputSpeakers;
    if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputSpeakers;
    return 1;

  case effStopProcess:
    Activated(false);
    return 0;

  default:
    return 0;
  }
}

// ---- Chunks ----

VstIntPtr IPlugVST::GetChunk(VstInt32 index, void* ptr)
{
  if (!ptr) return 0;
  ChunkBuffer& chunk = index == 0 ? mBankScratch : mStateScratch;
  chunk.Clear();
  chunk.WriteInt(EffectVersion(true));
  if (index == 0) StoreIntoCurrentPreset(nullptr);
  const bool saved = HostSaveState(&chunk);
  if (!saved || chunk.Empty()) return 0;
  // Stays ours and valid until the next chunk call or effClose.
  *static_cast<void**>(ptr) = chunk.Bytes();
  return chunk.Length();
}

VstIntPtr IPlugVST::SetChunk(VstInt32 index, VstIntPtr size, const void* data)
{
  if (!data) return 0;
  // A negative or absurd size is a broken host call, not a state to load.
  if (size < 0 || size > kMaxChunkBytes)
  {
    KESTRANE_HOST_MISUSE("chunk size negative or beyond the limit");
    return 0;
  }
  const int n = static_cast<int>(size);
  ChunkBuffer& chunk = index == 0 ? mBankScratch : mStateScratch;

  const unsigned char* source = static_cast<const unsigned char*>(data);
  const unsigned char* own = chunk.Bytes();
  const bool fromOwnBuffer = own && source >= own && source < own + chunk.Length();
  if (fromOwnBuffer)
  {
    // The host handed back memory we lent it with effGetChunk: move it in
    // place; resizing first could free it.
    if (n > (own + chunk.Length()) - source) return 0;
    std::memmove(chunk.Bytes(), source, static_cast<std::size_t>(n));
    chunk.Resize(n);
  }
  else
  {
    if (!chunk.Resize(n)) return 0;
    if (n > 0) std::memcpy(chunk.Bytes(), source, static_cast<std::size_t>(n));
  }

  int version = 0;
  int start = -1;
  int32_t stored = 0;
  if (chunk.ReadInt(&stored, 0) >= 0)
  {
    version = stored;
    start = 4;
  }
  OnStateVersion(version);
  return HostLoadState(&chunk, start) >= 0 ? 1 : 0;
}

// ---- Events ----

VstIntPtr IPlugVST::ProcessEvents(const VstEvents* events)
{
  if (!events) return 0;
  if (events->numEvents < 0) KESTRANE_HOST_MISUSE("negative event count");
  const int count = std::min(std::max(events->numEvents, 0), kMaxIncomingEvents);
  // The pointers sit inline and really number numEvents, past the declared two.
  VstEvent* const* list = events->events;
  for (int i = 0; i < count; ++i)
  {
    const VstEvent* event = list[i];
    if (!event) continue;
    // byteSize is not looked at: hosts fill it in two different ways.
    if (event->type == kVstMidiType)
    {
      HostMidiIn(MidiFromVstEvent(*reinterpret_cast<const VstMidiEvent*>(event)));
    }
    else if (event->type == kVstSysExType)
    {
      HostSysExIn(SysExFromVstEvent(*reinterpret_cast<const VstMidiSysexEvent*>(event)));
    }
  }
  return 1;
}

bool IPlugVST::SendMidiMessage(const MidiMessage& message)
{
  HostCallLock lock(this);
  if (!mInProcessCallback) return mEventOutbox.AddMidi(message);

  FlushEventOutbox();
  VstMidiEvent event = VstEventFromMidi(message);
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool IPlugVST::SendSysExMessage(const SysExMessage& message)
{
  HostCallLock lock(this);
  if (!mInProcessCallback) return mEventOutbox.AddSysEx(message);

  FlushEventOutbox();
  VstMidiSysexEvent event = VstEventFromSysEx(message, message.mData, SysExByteCount(message));
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

void IPlugVST::FlushEventOutbox()
{
  if (mEventOutbox.Empty()) return;
  CallHost(audioMasterProcessEvents, 0, 0, mEventOutbox.Events());
  mEventOutbox.Clear();
}

// ---- Pins, speakers ----

VstIntPtr IPlugVST::PinProperties(VstInt32 index, VstPinProperties* pin, bool isInput)
{
  const int count = isInput ? InputCount() : OutputCount();
  if (!pin || index < 0 || index >= count) return 0;
  std::snprintf(pin->label, sizeof pin->label, isInput ? "Input %d" : "Output %d", index + 1);
  pin->flags = kVstPinIsActive;
  // The first of each pair is the left of a stereo pin.
  if (index % 2 == 0 && index < count - 1) pin->flags |= kVstPinIsStereo;
  return 1;
}

void IPlugVST::SetSpeakerConnections(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs)
{
  // Only the channel count is read: a host's arrangement may be shorter than
  // our declaration, and nothing past numChannels is ever looked at.
  if (inputs)
  {
    const int n = std::min(std::max(inputs->numChannels, 0), InputCount());
    SetInputConnections(0, n, true);
    SetInputConnections(n, InputCount() - n, false);
  }
  if (outputs)
  {
    const int n = std::min(std::max(outputs->numChannels, 0), OutputCount());
    SetOutputConnections(0, n, true);
    SetOutputConnections(n, OutputCount() - n, false);
  }
}

// ---- Vendor extensions, can-do ----

VstIntPtr IPlugVST::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  IParam* param = (value >= 0 && value < ParamCount()) ? Param(static_cast<int>(value)) : nullptr;
  char* text = static_cast<char*>(ptr);

  switch (index)
  {
  case kVendorFormatValue: // any value, given normalised in opt, formatted
    if (!text) return 0;
    if (param)
    {
      char display[IParam::kDisplaySize];
      param->FormatValue(opt, true, display);
      CopyBounded(text, display, kParamStringSize);
    }
    return kVstVendorHandled;

  case kVendorDisplayTextCount: // number of display texts of a list parameter
    if (!param || !ptr || param->Kind() == IParam::kTypeInt || param->Kind() == IParam::kTypeDouble) return 0;
    {
      const int32_t count = param->DisplayTextCount();
      std::memcpy(ptr, &count, sizeof count);
    }
    return kVstVendorHandled;

  case kVendorParseToNormalized: // text to normalised value, in place
    if (!param || !text) return 0;
    if (text[0])
    {
      char input[kHostTextSize];
      CopyBounded(input, text);
      const double normalized = param->ToNormalized(param->ParseValue(input));
      std::snprintf(text, kParamStringSize, "%.17f", normalized);
    }
    return kVstVendorHandled;

  case kVstWheelVendorIndex:
    // Wheel steps go to an editor window; there is none to take them.
    return 0;

  case kKestraneSnapshotIndex:
    if (value != static_cast<VstIntPtr>(sizeof(KestraneEditorSnapshot))) return 0;
    return PaintSnapshot(static_cast<KestraneEditorSnapshot*>(ptr)) ? kVstVendorHandled : 0;

  default:
    return 0;
  }
}

bool IPlugVST::PaintSnapshot(KestraneEditorSnapshot* snapshot)
{
  // With a window open its UI thread paints; a second painter would race it.
  IGraphics* editor = Editor();
  if (!snapshot || !editor || editor->IsWindowOpen()) return false;
  IRECT whole(0, 0, editor->Width(), editor->Height());
  editor->Paint(&whole);
  LICE_IBitmap* picture = editor->BackBufferBitmap();
  if (!picture || !picture->getBits()) return false;
  snapshot->width = picture->getWidth();
  snapshot->height = picture->getHeight();
  snapshot->rowSpan = picture->getRowSpan();
  snapshot->reserved = 0;
  snapshot->pixels = picture->getBits();
  return true;
}

VstIntPtr IPlugVST::CanDo(const char* text) const
{
  if (!text) return 0;
  // strcmp stops at the first difference, so no more of the host's string is
  // read than the length of our own.
  auto is = [text](const char* answer) { return std::strcmp(text, answer) == 0; };

  if (is("receiveVstTimeInfo")) return 1;
  if (SendsMidi() && (is("sendVstEvents") || is("sendVstMidiEvent"))) return 1;
  if (ReceivesMidi() && (is("receiveVstEvents") || is("receiveVstMidiEvent"))) return 1;
  if (is("hasCockosExtensions") || is("hasCockosViewAsConfig")) return kVstVendorCanDoReply;
  return 0;
}

// ---- Audio and parameter callbacks ----

// One audio callback: the MIDI request and the events queued since the last
// block, then the host's buffers bound and run through the plug-in base with
// the precision and output mode of the callback the host chose.
// [audio thread; takes the plug-in mutex]
template <class Sample>
void IPlugVST::RunProcessCallback(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 nFrames,
                                  void (*process)(IPlugVST*, Sample**, Sample**, int)) noexcept
{
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  HostCallLock lock(plug);
  KESTRANE_GUARD_HOST_CALLBACK([&] {
    if (plug->MidiMode() != 0) plug->CallHost(audioMasterWantMidi, 0, 1);
    plug->mInProcessCallback = true;
    plug->FlushEventOutbox();
    process(plug, inputs, outputs, nFrames);
  });
  plug->mInProcessCallback = false;
}

// The three callbacks stay distinct functions: some hosts refuse
// processReplacing when it is the same pointer as process.
void IPlugVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 nFrames) noexcept
{
  RunProcessCallback<float>(effect, inputs, outputs, nFrames, [](IPlugVST* plug, float** in, float** out, int n) {
    plug->HostProcess(in, out, n, FloatOutput::kAccumulate);
  });
}

void IPlugVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 nFrames) noexcept
{
  RunProcessCallback<float>(effect, inputs, outputs, nFrames, [](IPlugVST* plug, float** in, float** out, int n) {
    plug->HostProcess(in, out, n, FloatOutput::kReplace);
  });
}

void IPlugVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 nFrames) noexcept
{
  RunProcessCallback<double>(effect, inputs, outputs, nFrames,
                             [](IPlugVST* plug, double** in, double** out, int n) { plug->HostProcess(in, out, n); });
}

// [any host thread, also while the audio thread waits; takes the plug-in mutex]
void IPlugVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value) noexcept
{
  KESTRANE_GUARD_HOST_CALLBACK([&] {
    if (IPlugVST* plug = FromEffect(effect)) plug->HostSetParameterNormalized(index, value);
  });
}

// [any host thread; takes the plug-in mutex]
float IPlugVST::VSTGetParameter(AEffect* effect, VstInt32 index) noexcept
{
  return KESTRANE_GUARD_HOST_CALLBACK(0.0f, [&] {
    IPlugVST* plug = FromEffect(effect);
    return plug ? static_cast<float>(plug->HostNormalizedValue(index)) : 0.0f;
  });
}

// ---- Host operations ----

void IPlugVST::BeginHostEdit(int paramIdx)
{
  FlushPendingEdit();
  CallHost(audioMasterBeginEdit, paramIdx);
}

void IPlugVST::NotifyHostParam(int paramIdx, double normalized)
{
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::EndHostEdit(int paramIdx)
{
  CallHost(audioMasterEndEdit, paramIdx);
}

void IPlugVST::NotifyHostPreset()
{
  CallHost(audioMasterUpdateDisplay);
}

// [audio thread, plug-in mutex held]
int IPlugVST::HostSamplePos()
{
  const VstTimeInfo* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, 0));
  if (!time || !(time->samplePos >= 0.0)) return 0;
  const double rounded = time->samplePos + 0.5;
  // Past the range of an int (half a day at 48 kHz) the position saturates.
  return rounded < 2147483647.0 ? static_cast<int>(rounded) : 2147483647;
}

// [audio thread, plug-in mutex held]
double IPlugVST::HostTempo()
{
  const VstTimeInfo* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kVstTempoValid));
  if (!time || !(time->flags & kVstTempoValid)) return 0.0;
  return (std::isfinite(time->tempo) && time->tempo >= 0.0) ? time->tempo : 0.0;
}

// [audio thread, plug-in mutex held]
void IPlugVST::HostTimeSig(int* numerator, int* denominator)
{
  int num = 0;
  int den = 0;
  const VstTimeInfo* time =
      reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kVstTimeSigValid));
  if (time && (time->flags & kVstTimeSigValid) && time->timeSigNumerator >= 0 && time->timeSigDenominator >= 0)
  {
    num = time->timeSigNumerator;
    den = time->timeSigDenominator;
  }
  if (numerator) *numerator = num;
  if (denominator) *denominator = den;
}

int IPlugVST::HostKind()
{
  if (!HostIdentified())
  {
    char product[kHostProductBufferSize] = {};
    CallHost(audioMasterGetProductString, 0, 0, product);
    product[sizeof product - 1] = '\0';
    int version = 0;
    if (product[0]) version = PackDecimalVersion(CallHost(audioMasterGetVendorVersion));
    SetHostKind(product, version);
  }
  return IPlugBase::HostKind();
}

void IPlugVST::HostQuirksInit()
{
  if (mHostQuirksDone) return;
  mHostQuirksDone = true;
  if (HostNeedsStereoOnly(HostKind()))
  {
    SetInputConnections(2, InputCount() - 2, false);
    if (OutputCount() >= 3) SetOutputConnections(2, OutputCount() - 2, true);
  }
  mEffectRecord.numInputs = mInputSpeakers.numChannels = InputCount();
  mEffectRecord.numOutputs = mOutputSpeakers.numChannels = OutputCount();
}

IGraphics* IPlugVST::WindowEditor() const
{
  // The editor cannot open a window of its own yet, so hosts are offered no
  // editor and show their generic parameter view instead.
  return nullptr;
}

void IPlugVST::UpdateEditorRect()
{
  const IGraphics* editor = Editor();
  if (!editor) return;
  mEditorRect.top = 0;
  mEditorRect.left = 0;
  mEditorRect.bottom = ClampToInt16(editor->Height());
  mEditorRect.right = ClampToInt16(editor->Width());
}

void IPlugVST::ResizeEditorWindow()
{
  HostCallLock lock(this);
  UpdateEditorRect();
}

void IPlugVST::AttachEditor(IPlugEditor* editor)
{
  HostCallLock lock(this);
  IPlugBase::AttachEditor(editor);
  if (WindowEditor()) mEffectRecord.flags |= effFlagsHasEditor;
  UpdateEditorRect();
}

void IPlugVST::ChangeLatency(int samples)
{
  IPlugBase::ChangeLatency(samples);
  mEffectRecord.initialDelay = samples;
}
