// Drives the plug-in through the VST 2 entry path with an arbitrary sequence
// of host calls decoded from the input: every dispatcher opcode with
// plausible and implausible arguments (pointers always to buffers of the
// size the opcode promises, or null), parameter sets and gets, the three
// process callbacks with random sizes and audio that holds NaN, infinities
// and denormals, event lists, chunks (whole, truncated, damaged), programs
// and their names, sample-rate and block-size changes, suspend and resume,
// time info that changes under the plug-in, and the editor's input and
// ticks (the headless host; the X11 one needs a display, which CI lacks).
//
// After every call the invariants hold, or the run stops with a message:
// - every parameter is normalised inside [0, 1] and its real value inside
//   its range;
// - finite, bounded input gives finite output, once one block has passed
//   since the last non-finite input;
// - a chunk saved and handed back (to the same instance or a fresh one)
//   restores the same parameters;
// - audioMasterBeginEdit / audioMasterEndEdit come in pairs per parameter,
//   never nested on one parameter, and none is left open once the mouse is
//   up and the editor's pending-gesture countdown has run out;
// - strings written into host buffers stay inside the bytes the opcode
//   allows (the buffers are exactly that size: AddressSanitizer sees more).
//
// The entry point is VSTPluginMain's own body (IPlugVST::CreateInstance with
// the effect's constructor); the fuzzer cannot link VstPluginMain.cpp itself,
// whose legacy "main" alias would clash with libFuzzer's main.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "effect/Kestrane.h"
#include "platform/linux/IGraphicsHeadless.h"
#include "wrappers/vst/IPlugVST.h"
#include "wrappers/vst/KestraneVendorCalls.h"

#define FUZZ_CHECK(condition, what)                                                                      \
  do                                                                                                     \
  {                                                                                                      \
    if (!(condition))                                                                                    \
    {                                                                                                    \
      std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", what, __FILE__, __LINE__);                  \
      __builtin_trap();                                                                                  \
    }                                                                                                    \
  } while (0)

namespace
{
constexpr int kMaxSteps = 256;
constexpr int kMaxFrames = 4096;
// Bounded input: larger finite samples may legitimately overflow the
// filter's gain into infinity, so only these count as "finite input".
constexpr double kTameLimit = 1.0e6;

// ---- The host side ----

// What the fuzzing host knows of one instance. Reached from the host
// callback through AEffect::user.
struct HostSide
{
  int gestureDepth[kNumKestraneParams] = {};
  VstTimeInfo time{};
  bool timeAvailable = true;
};

// Time info the host hands out; the fuzzer changes it between calls.
VstTimeInfo DefaultTime()
{
  VstTimeInfo t{};
  t.sampleRate = 48000.0;
  t.tempo = 120.0;
  t.timeSigNumerator = 4;
  t.timeSigDenominator = 4;
  t.flags = kVstTempoValid | kVstTimeSigValid;
  return t;
}

void ReadEventsFromPlugin(const VstEvents* events)
{
  FUZZ_CHECK(events && events->numEvents >= 0, "event list sent to the host");
  volatile unsigned sum = 0;
  VstEvent* const* list = events->events;
  for (int i = 0; i < events->numEvents; ++i)
  {
    const VstEvent* event = list[i];
    FUZZ_CHECK(event, "null event sent to the host");
    if (event->type == kVstMidiType)
    {
      sum = sum + static_cast<unsigned char>(reinterpret_cast<const VstMidiEvent*>(event)->midiData[0]);
    }
    else
    {
      FUZZ_CHECK(event->type == kVstSysExType, "event of an unknown type sent to the host");
      const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      FUZZ_CHECK(sysex->dumpBytes >= 0 && (sysex->dumpBytes == 0 || sysex->sysexDump), "sysex dump sent");
      for (int b = 0; b < sysex->dumpBytes; ++b) sum = sum + static_cast<unsigned char>(sysex->sysexDump[b]);
    }
  }
}

VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float opt)
{
  HostSide* host = effect ? static_cast<HostSide*>(effect->user) : nullptr;
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterAutomate:
    FUZZ_CHECK(index >= 0 && index < kNumKestraneParams, "automation of a parameter that does not exist");
    FUZZ_CHECK(opt >= 0.0f && opt <= 1.0f, "automation value outside [0, 1]");
    return 1;
  case audioMasterBeginEdit:
    FUZZ_CHECK(index >= 0 && index < kNumKestraneParams, "gesture on a parameter that does not exist");
    if (host)
    {
      FUZZ_CHECK(host->gestureDepth[index] == 0, "gesture begun twice on one parameter");
      ++host->gestureDepth[index];
    }
    return 1;
  case audioMasterEndEdit:
    FUZZ_CHECK(index >= 0 && index < kNumKestraneParams, "gesture on a parameter that does not exist");
    if (host)
    {
      FUZZ_CHECK(host->gestureDepth[index] == 1, "gesture ended that was not begun");
      --host->gestureDepth[index];
    }
    return 1;
  case audioMasterGetTime:
    return (host && host->timeAvailable) ? reinterpret_cast<VstIntPtr>(&host->time) : 0;
  case audioMasterProcessEvents:
    ReadEventsFromPlugin(static_cast<const VstEvents*>(ptr));
    return 1;
  case audioMasterGetProductString:
    if (ptr) std::snprintf(static_cast<char*>(ptr), 64, "Fuzz Host");
    return 1;
  case audioMasterGetVendorVersion:
    return 10000;
  default:
    return 0;
  }
}

IPlugVST* ConstructEffect(IPlugVST::InstanceInfo info)
{
  return new CLS_KESTRANE(info);
}

// ---- One instance ----

struct Instance
{
  AEffect* effect = nullptr;
  std::unique_ptr<HostSide> host;
  // The last process call had input that was not finite and bounded.
  bool tainted = false;

  Instance()
  {
    host = std::make_unique<HostSide>();
    host->time = DefaultTime();
    effect = IPlugVST::CreateInstance(HostCallback, ConstructEffect);
    FUZZ_CHECK(effect && effect->magic == kEffectMagic, "the entry point gave an instance");
    effect->user = host.get();
  }
  ~Instance() { Close(); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  void Close()
  {
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  void OpenLikeAHost()
  {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(effSetBlockSize, 0, 512);
    Dispatch(effMainsChanged, 0, 1);
  }

  CLS_KESTRANE* Plug() const { return static_cast<CLS_KESTRANE*>(static_cast<IPlugVST*>(effect->object)); }
  IGraphicsHeadless* Editor() const { return dynamic_cast<IGraphicsHeadless*>(Plug()->Editor()); }
};

// ---- Values a host may send ----

float PickNormalized(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 0: return 0.0f;
  case 1: return 1.0f;
  case 2: return -in.ConsumeFloatingPointInRange(0.0f, 10.0f);
  case 3: return 1.0f + in.ConsumeFloatingPointInRange(0.0f, 10.0f);
  case 4: return std::numeric_limits<float>::quiet_NaN();
  case 5: return in.ConsumeBool() ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
  case 6: return in.ConsumeFloatingPoint<float>();
  default: return in.ConsumeProbability<float>();
  }
}

int PickIndex(FuzzedDataProvider& in, int count)
{
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0: return -1;
  case 1: return count;
  case 2: return in.ConsumeIntegral<int32_t>();
  default: return in.ConsumeIntegralInRange(0, count - 1);
  }
}

// A host string: NUL-terminated, of any length up to 300 bytes.
std::vector<char> PickText(FuzzedDataProvider& in)
{
  std::string s;
  switch (in.ConsumeIntegralInRange(0, 3))
  {
  case 0: s = in.ConsumeRandomLengthString(300); break;
  case 1: s = std::to_string(in.ConsumeFloatingPoint<double>()); break;
  case 2: s = std::string(in.ConsumeIntegralInRange<size_t>(0, 300), 'x'); break;
  default:
  {
    static const char* const kWords[] = {"receiveVstTimeInfo", "sendVstEvents", "receiveVstMidiEvent",
                                         "hasCockosExtensions", "bypass", "Lowpass", "Yes", "1/4", "440 Hz",
                                         "-100", "nan", "inf", "1e999", ""};
    s = kWords[in.ConsumeIntegralInRange<size_t>(0, sizeof kWords / sizeof kWords[0] - 1)];
  }
  }
  std::vector<char> text(s.begin(), s.end());
  text.push_back('\0');
  return text;
}

// An output string buffer of exactly `size` bytes; after the call the text
// must end inside it.
struct OutText
{
  explicit OutText(size_t size) : bytes(size, '\x7f') {}
  char* Ptr() { return bytes.data(); }
  void CheckTerminated(const char* what) const
  {
    FUZZ_CHECK(std::memchr(bytes.data(), '\0', bytes.size()) != nullptr || bytes[0] == '\x7f', what);
  }
  std::vector<char> bytes;
};

// ---- Checks ----

void CheckParameters(Instance& instance)
{
  AEffect* effect = instance.effect;
  for (int i = 0; i < effect->numParams; ++i)
  {
    const float normalized = effect->getParameter(effect, i);
    FUZZ_CHECK(normalized >= 0.0f && normalized <= 1.0f, "normalised parameter outside [0, 1]");
    const IParam* param = instance.Plug()->Param(i);
    double lo = 0.0, hi = 0.0;
    param->Bounds(&lo, &hi);
    const double value = param->CurrentValue();
    FUZZ_CHECK(value >= lo && value <= hi, "parameter value outside its range");
  }
}

std::vector<double> ParameterValues(Instance& instance)
{
  std::vector<double> values;
  for (int i = 0; i < instance.effect->numParams; ++i) values.push_back(instance.Plug()->Param(i)->CurrentValue());
  return values;
}

// The mouse released and the pending wheel gesture run out, as the UI
// thread would get there: then no gesture may be left open.
void SettleGestures(Instance& instance)
{
  if (IGraphicsHeadless* editor = instance.Editor())
  {
    editor->MouseUp(0, 0, nullptr);
    for (int tick = 0; tick < 1000 && editor->ParamChangeCountdown() > 0; ++tick) editor->Tick();
  }
  for (int i = 0; i < kNumKestraneParams; ++i)
    FUZZ_CHECK(instance.host->gestureDepth[i] == 0, "gesture left open once the editor settled");
}

// ---- Steps ----

// A buffer of audio for one process call: a tone, noise, silence or
// denormals, with NaN, infinities and huge values sprinkled in.
template <class Sample>
struct AudioBlock
{
  std::vector<Sample> left, right;
  bool tame = true;

  void Fill(FuzzedDataProvider& in, int frames)
  {
    left.assign(static_cast<size_t>(frames), Sample(0));
    right.assign(static_cast<size_t>(frames), Sample(0));
    const int kind = in.ConsumeIntegralInRange(0, 4);
    uint32_t noise = in.ConsumeIntegral<uint32_t>() | 1u;
    const double level = in.ConsumeFloatingPointInRange(0.0, 4.0);
    for (int s = 0; s < frames; ++s)
    {
      noise = noise * 1664525u + 1013904223u;
      double v = 0.0;
      if (kind == 0) v = level * std::sin(0.05 * s);
      if (kind == 1) v = level * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
      if (kind == 2) v = (noise & 1 ? 1.0 : -1.0) * std::numeric_limits<Sample>::denorm_min() * (noise >> 20);
      if (kind == 3) v = level;
      left[static_cast<size_t>(s)] = static_cast<Sample>(v);
      right[static_cast<size_t>(s)] = static_cast<Sample>(kind == 4 ? 0.0 : -v);
    }
    const int specials = frames > 0 ? in.ConsumeIntegralInRange(0, 3) : 0;
    for (int k = 0; k < specials; ++k)
    {
      Sample special;
      switch (in.ConsumeIntegralInRange(0, 3))
      {
      case 0: special = std::numeric_limits<Sample>::quiet_NaN(); break;
      case 1: special = std::numeric_limits<Sample>::infinity(); break;
      case 2: special = -std::numeric_limits<Sample>::infinity(); break;
      default: special = std::numeric_limits<Sample>::max(); break;
      }
      const size_t at = in.ConsumeIntegralInRange<size_t>(0, static_cast<size_t>(frames - 1));
      (in.ConsumeBool() ? left : right)[at] = special;
    }
    for (size_t s = 0; s < left.size(); ++s)
      if (!(std::fabs(static_cast<double>(left[s])) <= kTameLimit &&
            std::fabs(static_cast<double>(right[s])) <= kTameLimit))
        tame = false;
  }
};

template <class Sample>
bool AllFinite(const std::vector<Sample>& samples)
{
  for (Sample s : samples)
    if (!std::isfinite(s)) return false;
  return true;
}

void StepProcess(Instance& instance, FuzzedDataProvider& in)
{
  AEffect* effect = instance.effect;
  const int blockSize = instance.Plug()->BlockSize();
  int frames;
  switch (in.ConsumeIntegralInRange(0, 3))
  {
  case 0: frames = 0; break;
  case 1: frames = in.ConsumeIntegralInRange(1, std::max(1, std::min(blockSize, kMaxFrames))); break;
  case 2: frames = in.ConsumeIntegralInRange(1, kMaxFrames); break;
  default: frames = in.ConsumeIntegralInRange(1, 64); break;
  }
  const int mode = in.ConsumeIntegralInRange(0, 2); // accumulate, replace, double
  const bool inPlace = in.ConsumeBool();
  bool finiteOut = true;
  bool tame = true;

  if (mode == 2)
  {
    AudioBlock<double> input, output;
    input.Fill(in, frames);
    output.left.assign(static_cast<size_t>(frames), 0.5);
    output.right.assign(static_cast<size_t>(frames), -0.5);
    double* ins[2] = {input.left.data(), input.right.data()};
    double* outs[2] = {output.left.data(), output.right.data()};
    effect->processDoubleReplacing(effect, ins, inPlace ? ins : outs, frames);
    const AudioBlock<double>& result = inPlace ? input : output;
    finiteOut = AllFinite(result.left) && AllFinite(result.right);
    tame = input.tame;
  }
  else
  {
    AudioBlock<float> input, output;
    input.Fill(in, frames);
    output.left.assign(static_cast<size_t>(frames), 0.5f);
    output.right.assign(static_cast<size_t>(frames), -0.5f);
    float* ins[2] = {input.left.data(), input.right.data()};
    float* outs[2] = {output.left.data(), output.right.data()};
    // The accumulating call adds to what the host's outputs hold, so it
    // never runs in place.
    if (mode == 0)
      effect->process(effect, ins, outs, frames);
    else
      effect->processReplacing(effect, ins, inPlace ? ins : outs, frames);
    const AudioBlock<float>& result = (mode == 1 && inPlace) ? input : output;
    finiteOut = AllFinite(result.left) && AllFinite(result.right);
    tame = input.tame;
  }

  if (tame && !instance.tainted) FUZZ_CHECK(finiteOut, "finite input gave output that is not finite");
  if (frames > 0) instance.tainted = !tame;
}

void StepEvents(Instance& instance, FuzzedDataProvider& in)
{
  const int count = in.ConsumeIntegralInRange(0, 24);
  std::vector<VstMidiEvent> midi(static_cast<size_t>(count));
  std::vector<VstMidiSysexEvent> sysex(static_cast<size_t>(count));
  std::vector<std::vector<char>> dumps(static_cast<size_t>(count));
  std::vector<VstEvent> junk(static_cast<size_t>(count));
  std::vector<VstIntPtr> storage(VstEventsBytes(static_cast<size_t>(count) + 2) / sizeof(VstIntPtr) + 1, 0);
  VstEvents* events = reinterpret_cast<VstEvents*>(storage.data());
  // The inline array really holds `count` pointers, past the declared two.
  VstEvent** list = events->events;
  for (int i = 0; i < count; ++i)
  {
    const size_t k = static_cast<size_t>(i);
    switch (in.ConsumeIntegralInRange(0, 5))
    {
    case 0:
      list[i] = nullptr;
      break;
    case 1:
    {
      VstMidiSysexEvent& e = sysex[k];
      e.type = kVstSysExType;
      e.byteSize = in.ConsumeBool() ? 48 : 40;
      e.deltaFrames = in.ConsumeIntegralInRange(-8, 5000);
      dumps[k] = in.ConsumeBytes<char>(in.ConsumeIntegralInRange(0, 300));
      e.dumpBytes = static_cast<VstInt32>(dumps[k].size());
      if (in.ConsumeBool() && e.dumpBytes > 0) e.dumpBytes = -e.dumpBytes;
      e.sysexDump = dumps[k].empty() ? nullptr : dumps[k].data();
      list[i] = reinterpret_cast<VstEvent*>(&e);
      break;
    }
    case 2:
    {
      VstEvent& e = junk[k];
      e.type = in.ConsumeIntegral<int32_t>();
      e.byteSize = in.ConsumeIntegral<int32_t>();
      e.deltaFrames = in.ConsumeIntegral<int32_t>();
      list[i] = &e;
      break;
    }
    default:
    {
      VstMidiEvent& e = midi[k];
      e.type = kVstMidiType;
      e.byteSize = in.ConsumeBool() ? 32 : 24;
      e.deltaFrames = in.ConsumeIntegralInRange(-8, 5000);
      static const uint8_t kStatus[] = {0x90, 0x80, 0xB0, 0xE0, 0xC0, 0xF8, 0x9F, 0x00};
      e.midiData[0] = static_cast<char>(in.ConsumeBool() ? in.ConsumeIntegral<uint8_t>()
                                                         : kStatus[in.ConsumeIntegralInRange(0, 7)]);
      e.midiData[1] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
      e.midiData[2] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
      list[i] = reinterpret_cast<VstEvent*>(&e);
      break;
    }
    }
  }
  events->numEvents = in.ConsumeIntegralInRange(0, 5) == 0 ? -count - 1 : count;
  instance.Dispatch(effProcessEvents, 0, 0, events);
}

void StepParameter(Instance& instance, FuzzedDataProvider& in)
{
  AEffect* effect = instance.effect;
  const int index = PickIndex(in, effect->numParams);
  if (in.ConsumeBool())
  {
    effect->setParameter(effect, index, PickNormalized(in));
  }
  else
  {
    const float v = effect->getParameter(effect, index);
    FUZZ_CHECK(v >= 0.0f && v <= 1.0f, "getParameter outside [0, 1]");
    if (index < 0 || index >= effect->numParams) FUZZ_CHECK(v == 0.0f, "getParameter of no parameter");
  }
}

// Saves a chunk, disturbs the parameters, hands the chunk back to the same
// instance or to a fresh one: the parameters are those saved.
void StepChunkRoundTrip(Instance& instance, FuzzedDataProvider& in, std::vector<uint8_t>* lastChunk)
{
  const VstInt32 index = in.ConsumeBool() ? 1 : 0;
  void* data = nullptr;
  const VstIntPtr size = instance.Dispatch(effGetChunk, index, 0, &data);
  FUZZ_CHECK(size > 0 && data, "no chunk saved");
  std::vector<uint8_t> copy(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  *lastChunk = copy;
  const std::vector<double> saved = ParameterValues(instance);

  if (in.ConsumeBool())
  {
    Instance fresh;
    fresh.OpenLikeAHost();
    FUZZ_CHECK(fresh.Dispatch(effSetChunk, index, size, copy.data()) == 1, "saved chunk refused");
    FUZZ_CHECK(ParameterValues(fresh) == saved, "chunk restored other parameters in a fresh instance");
    return;
  }
  for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k)
    instance.effect->setParameter(instance.effect, in.ConsumeIntegralInRange(0, kNumKestraneParams - 1),
                                  in.ConsumeProbability<float>());
  // Handed back as a copy, or as the very memory the plug-in lent (valid
  // until the next chunk call; parameter changes are none).
  void* back = in.ConsumeBool() ? static_cast<void*>(copy.data()) : data;
  FUZZ_CHECK(instance.Dispatch(effSetChunk, index, size, back) == 1, "saved chunk refused");
  FUZZ_CHECK(ParameterValues(instance) == saved, "chunk restored other parameters");
}

// A damaged chunk: the last saved one (or input bytes) cut short, bytes
// changed, sizes that do not cover it refused by the host itself.
void StepChunkDamaged(Instance& instance, FuzzedDataProvider& in, const std::vector<uint8_t>& lastChunk)
{
  std::vector<uint8_t> chunk = lastChunk.empty() || in.ConsumeBool()
                                   ? in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 512))
                                   : lastChunk;
  if (!chunk.empty() && in.ConsumeBool()) chunk.resize(in.ConsumeIntegralInRange<size_t>(0, chunk.size()));
  for (int k = in.ConsumeIntegralInRange(0, 4); k > 0 && !chunk.empty(); --k)
    chunk[in.ConsumeIntegralInRange<size_t>(0, chunk.size() - 1)] = in.ConsumeIntegral<uint8_t>();
  VstIntPtr claimed = static_cast<VstIntPtr>(chunk.size());
  if (in.ConsumeIntegralInRange(0, 7) == 0) claimed = -1 - in.ConsumeIntegralInRange(0, 1000);
  instance.Dispatch(effSetChunk, in.ConsumeIntegralInRange(-1, 2), claimed, chunk.empty() ? nullptr : chunk.data());
}

void StepRateAndBlock(Instance& instance, FuzzedDataProvider& in)
{
  const bool bracket = in.ConsumeBool();
  if (bracket) instance.Dispatch(effMainsChanged, 0, 0);
  if (in.ConsumeBool())
  {
    static const float kRates[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f, 8000.0f, 22050.0f, 1.0f, 0.0f,
                                   -48000.0f, 1.0e9f, std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity()};
    const float rate = in.ConsumeBool() ? kRates[in.ConsumeIntegralInRange<size_t>(0, 11)]
                                        : in.ConsumeFloatingPointInRange(1.0f, 400000.0f);
    instance.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  }
  if (in.ConsumeBool())
  {
    static const VstIntPtr kSizes[] = {0, 1, 64, 512, 1024, 4096, 8192, -1, VstIntPtr{1} << 40};
    const VstIntPtr size = in.ConsumeBool() ? kSizes[in.ConsumeIntegralInRange<size_t>(0, 8)]
                                            : in.ConsumeIntegralInRange<VstIntPtr>(0, 10000);
    instance.Dispatch(effSetBlockSize, 0, size);
  }
  if (bracket || in.ConsumeBool()) instance.Dispatch(effMainsChanged, 0, in.ConsumeIntegralInRange(0, 2));
}

void StepTime(Instance& instance, FuzzedDataProvider& in)
{
  VstTimeInfo& t = instance.host->time;
  instance.host->timeAvailable = in.ConsumeIntegralInRange(0, 7) != 0;
  static const double kTempi[] = {120.0, 60.0, 999.0, 1.0, 0.0, 1.0e-3, -120.0, 1.0e9,
                                  std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  t.tempo = in.ConsumeBool() ? kTempi[in.ConsumeIntegralInRange<size_t>(0, 9)]
                             : in.ConsumeFloatingPointInRange(20.0, 300.0);
  t.samplePos = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>() : in.ConsumeFloatingPointInRange(0.0, 1.0e7);
  t.timeSigNumerator = in.ConsumeIntegralInRange(-1, 32);
  t.timeSigDenominator = in.ConsumeIntegralInRange(-1, 32);
  t.flags = in.ConsumeIntegral<int32_t>();
}

// The editor as its UI thread drives it: mouse, wheel, double clicks, value
// prompts and ticks.
void StepEditorInput(Instance& instance, FuzzedDataProvider& in)
{
  IGraphicsHeadless* editor = instance.Editor();
  if (!editor) return;
  const int x = in.ConsumeIntegralInRange(-10, editor->Width() + 10);
  const int y = in.ConsumeIntegralInRange(-10, editor->Height() + 10);
  MouseMods mods;
  mods.mLeft = in.ConsumeBool();
  mods.mRight = in.ConsumeBool();
  mods.mShift = in.ConsumeBool();
  mods.mCtrl = in.ConsumeBool();
  mods.mAlt = in.ConsumeBool();
  switch (in.ConsumeIntegralInRange(0, 8))
  {
  case 0: editor->MouseDown(x, y, &mods); break;
  case 1: editor->MouseDrag(x, y, &mods); break;
  case 2: editor->MouseUp(x, y, &mods); break;
  case 3: editor->MouseWheel(x, y, &mods, in.ConsumeIntegralInRange(-3, 3)); break;
  case 4: editor->MouseDoubleClick(x, y, &mods); break;
  case 5: editor->MouseOver(x, y, &mods); break;
  case 6:
    if (editor->HasPrompt())
    {
      if (in.ConsumeBool())
        editor->ConfirmPrompt(PickText(in).data());
      else
        editor->CancelPrompt();
    }
    break;
  case 7: editor->KeyDown(x, y, in.ConsumeIntegralInRange(0, 200)); break;
  default:
    for (int tick = in.ConsumeIntegralInRange(1, 40); tick > 0; --tick) editor->Tick();
    break;
  }
}

// One dispatcher call with arguments shaped as its opcode says.
void StepDispatch(Instance& instance, FuzzedDataProvider& in, std::vector<uint8_t>* lastChunk)
{
  VstInt32 opcode = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<int32_t>()
                                                         : in.ConsumeIntegralInRange(0, 90);
  const VstInt32 index = PickIndex(in, kNumKestraneParams);
  const VstIntPtr value = in.ConsumeBool() ? in.ConsumeIntegralInRange<VstIntPtr>(-2, 130)
                                           : in.ConsumeIntegral<VstIntPtr>();
  const float opt = PickNormalized(in);
  const bool nullPtr = in.ConsumeIntegralInRange(0, 5) == 0;

  switch (opcode)
  {
  case effClose:
    // Ends the instance: a new one takes its place.
    SettleGestures(instance);
    instance.Close();
    instance.effect = IPlugVST::CreateInstance(HostCallback, ConstructEffect);
    FUZZ_CHECK(instance.effect, "the entry point gave an instance");
    *instance.host = HostSide{};
    instance.host->time = DefaultTime();
    instance.effect->user = instance.host.get();
    instance.tainted = false;
    if (in.ConsumeBool()) instance.OpenLikeAHost();
    return;
  case effSetProgramName:
  case effCanDo:
  case effString2Parameter:
  {
    std::vector<char> text = PickText(in);
    instance.Dispatch(opcode, index, value, nullPtr ? nullptr : text.data(), opt);
    return;
  }
  case effGetProgramName:
  case effGetProgramNameIndexed:
  case effGetParamLabel:
  case effGetParamDisplay:
  case effGetParamName:
  case effGetEffectName:
  case effGetVendorString:
  case effGetProductString:
  case effShellGetNextPlugin:
  case effGetErrorText:
  {
    // The sizes the plug-in documents for these buffers.
    const size_t size = (opcode == effGetProgramName || opcode == effGetProgramNameIndexed) ? kVstMaxProgNameLen + 1
                        : (opcode <= effGetParamName)                                      ? 32
                                                                                           : 128;
    OutText text(size);
    instance.Dispatch(opcode, index, value, nullPtr ? nullptr : text.Ptr(), opt);
    if (!nullPtr) text.CheckTerminated("string written without its end inside the host's buffer");
    return;
  }
  case effEditGetRect:
  {
    ERect* rect = nullptr;
    if (instance.Dispatch(opcode, index, value, nullPtr ? nullptr : &rect, opt) == 1)
      FUZZ_CHECK(rect && rect->right >= rect->left && rect->bottom >= rect->top, "editor rectangle");
    return;
  }
  case effGetChunk:
  {
    void* data = nullptr;
    const VstIntPtr size = instance.Dispatch(opcode, index, value, nullPtr ? nullptr : &data, opt);
    FUZZ_CHECK(size >= 0, "negative chunk size");
    if (size > 0)
    {
      FUZZ_CHECK(data, "chunk size without data");
      lastChunk->assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    }
    return;
  }
  case effSetChunk:
    StepChunkDamaged(instance, in, *lastChunk);
    return;
  case effProcessEvents:
    StepEvents(instance, in);
    return;
  case effGetInputProperties:
  case effGetOutputProperties:
  {
    VstPinProperties pin{};
    instance.Dispatch(opcode, index, value, nullPtr ? nullptr : &pin, opt);
    FUZZ_CHECK(std::memchr(pin.label, '\0', sizeof pin.label), "pin label without its end");
    return;
  }
  case effSetSpeakerArrangement:
  {
    VstSpeakerArrangement inputs{}, outputs{};
    inputs.numChannels = in.ConsumeIntegralInRange(-1, 3) == 3 ? in.ConsumeIntegral<int32_t>()
                                                                : in.ConsumeIntegralInRange(0, 2);
    outputs.numChannels = in.ConsumeIntegralInRange(-1, 3) == 3 ? in.ConsumeIntegral<int32_t>()
                                                                 : in.ConsumeIntegralInRange(0, 2);
    inputs.type = outputs.type = in.ConsumeIntegralInRange(-2, 28);
    instance.Dispatch(opcode, index, in.ConsumeBool() ? reinterpret_cast<VstIntPtr>(&inputs) : 0,
                      nullPtr ? nullptr : &outputs, opt);
    return;
  }
  case effGetSpeakerArrangement:
  {
    VstSpeakerArrangement* inputs = nullptr;
    VstSpeakerArrangement* outputs = nullptr;
    instance.Dispatch(opcode, index, in.ConsumeBool() ? reinterpret_cast<VstIntPtr>(&inputs) : 0,
                      nullPtr ? nullptr : &outputs, opt);
    if (inputs) FUZZ_CHECK(inputs->numChannels >= 0 && inputs->numChannels <= 8, "input arrangement");
    if (outputs) FUZZ_CHECK(outputs->numChannels >= 0 && outputs->numChannels <= 8, "output arrangement");
    return;
  }
  case effVendorSpecific:
  {
    static const VstInt32 kIndices[] = {effGetParamDisplay, effGetParamName, effString2Parameter,
                                        VstFourCC('s', 't', 'C', 'A'), kKestraneSnapshotIndex, 0};
    const VstInt32 vendorIndex = in.ConsumeBool() ? kIndices[in.ConsumeIntegralInRange(0, 5)]
                                                  : in.ConsumeIntegral<int32_t>();
    VstIntPtr vendorValue = PickIndex(in, kNumKestraneParams);
    if (vendorIndex == VstFourCC('s', 't', 'C', 'A') && in.ConsumeBool()) vendorValue = VstFourCC('W', 'h', 'e', 'e');
    if (vendorIndex == kKestraneSnapshotIndex)
    {
      // Paints the whole editor: seldom, it is the slowest call there is.
      if (in.ConsumeIntegralInRange(0, 15) != 0) return;
      KestraneEditorSnapshot snapshot{};
      instance.Dispatch(opcode, vendorIndex, sizeof snapshot, nullPtr ? nullptr : &snapshot, opt);
      return;
    }
    // The host's buffer for these calls is 256 bytes; text parsed in place
    // arrives terminated.
    std::vector<char> buffer(256, '\0');
    if (vendorIndex == effString2Parameter)
    {
      const std::vector<char> text = PickText(in);
      std::memcpy(buffer.data(), text.data(), std::min(text.size(), buffer.size() - 1));
    }
    instance.Dispatch(opcode, vendorIndex, vendorValue, nullPtr ? nullptr : buffer.data(), opt);
    FUZZ_CHECK(std::memchr(buffer.data(), '\0', buffer.size()), "vendor call wrote past the host's buffer end");
    return;
  }
  case effGetParameterProperties:
  case effGetMidiProgramName:
  case effGetCurrentMidiProgram:
  case effGetMidiProgramCategory:
  {
    // VstParameterProperties (152 bytes), MidiProgramName (80),
    // MidiProgramCategory (76): records the plug-in does not fill in; the
    // host zeroes them and sets the index it asks about.
    const size_t bytes = opcode == effGetParameterProperties ? 152 : opcode == effGetMidiProgramCategory ? 76 : 80;
    std::vector<int32_t> record(bytes / sizeof(int32_t), 0);
    record[0] = in.ConsumeIntegral<int32_t>();
    instance.Dispatch(opcode, in.ConsumeIntegralInRange(-1, 16), value, nullPtr ? nullptr : record.data(), opt);
    return;
  }
  case effGetMidiKeyName:
  {
    MidiKeyName key{};
    key.thisProgramIndex = in.ConsumeIntegral<int32_t>();
    key.thisKeyNumber = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 127) : in.ConsumeIntegral<int32_t>();
    instance.Dispatch(opcode, in.ConsumeIntegralInRange(-1, 16), value, nullPtr ? nullptr : &key, opt);
    FUZZ_CHECK(std::memchr(key.keyName, '\0', sizeof key.keyName), "key name without its end");
    return;
  }
  case effBeginLoadBank:
  case effBeginLoadProgram:
  {
    // VstPatchChunkInfo: version, unique ID, plug-in version, element count,
    // 48 reserved bytes.
    int32_t info[16] = {};
    info[0] = 1;
    info[1] = in.ConsumeBool() ? instance.effect->uniqueID : in.ConsumeIntegral<int32_t>();
    info[2] = instance.effect->version;
    info[3] = in.ConsumeIntegral<int32_t>();
    instance.Dispatch(opcode, index, value, nullPtr ? nullptr : info, opt);
    return;
  }
  case effSetSampleRate:
  case effSetBlockSize:
    StepRateAndBlock(instance, in);
    return;
  case effSetProgram:
    instance.Dispatch(opcode, 0, PickIndex(in, instance.effect->numPrograms));
    return;
  default:
  {
    // Opcodes that take no pointer, or that are unknown: a host passes null
    // or, at worst, a zeroed scratch buffer of its own.
    std::vector<uint8_t> scratch(256, 0);
    instance.Dispatch(opcode, index, value, nullPtr ? nullptr : scratch.data(), opt);
    return;
  }
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1 << 16)) return 0;
  FuzzedDataProvider in(data, size);
  Instance instance;
  if (in.ConsumeIntegralInRange(0, 7) != 0) instance.OpenLikeAHost();
  std::vector<uint8_t> lastChunk;

  for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step)
  {
    switch (in.ConsumeIntegralInRange(0, 11))
    {
    case 0:
    case 1:
      StepDispatch(instance, in, &lastChunk);
      break;
    case 2:
      StepParameter(instance, in);
      break;
    case 3:
    case 4:
      StepProcess(instance, in);
      break;
    case 5:
      StepEvents(instance, in);
      break;
    case 6:
      StepChunkRoundTrip(instance, in, &lastChunk);
      break;
    case 7:
      instance.Dispatch(effSetProgram, 0, PickIndex(in, instance.effect->numPrograms));
      break;
    case 8:
      StepRateAndBlock(instance, in);
      break;
    case 9:
      StepTime(instance, in);
      break;
    default:
      StepEditorInput(instance, in);
      break;
    }
    CheckParameters(instance);
  }
  SettleGestures(instance);
  return 0;
}
