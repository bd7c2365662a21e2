// IPlugVST seen from a host: the AEffect record, the dispatcher, the
// parameter and audio callbacks, and the calls it makes back to the host.
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/HostCallGuard.h"
#include "editor/IControl.h"
#include "tests/support/RecordingEditor.h"
#include "wrappers/vst/KestraneVendorCalls.h"
#include "tests/vst/support/RecordingHost.h"
#include "tests/vst/support/StandInEffect.h"

namespace
{
template <class Plug>
IPlugVST* Construct(IPlugVST::InstanceInfo info)
{
  return new Plug(info);
}

// A bare plug-in whose identity each test chooses before constructing it.
struct MiniConfig
{
  const char* io = "2-2";
  int presets = 1;
  int midiMode = 1;
  bool chunks = false;
  bool instrument = false;
  const char* paramName = "Gain";
  bool throwInConstructor = false;
};
MiniConfig sMini;
int sMiniAlive = 0;

class MiniPlug : public IPlugVST
{
public:
  explicit MiniPlug(InstanceInfo info)
      : IPlugVST(info, 1, sMini.io, sMini.presets, "Mini", "", "Maker", 0x00020304, 1234, 5678, 0, sMini.midiMode,
                 sMini.chunks, sMini.instrument)
  {
    if (sMini.throwInConstructor) throw std::runtime_error("no");
    Param(0)->SetupDouble(sMini.paramName, 0.5, 0.0, 1.0, 0.000001, "units");
    ++sMiniAlive;
  }
  ~MiniPlug() override { --sMiniAlive; }
  bool NoteNameFor(int note, char* text) override
  {
    // Longer than the host's 64-byte field.
    std::memset(text, 'n', 100);
    text[100] = '\0';
    return note == 60;
  }
  using IPlugVST::CallHost;
};

class VstWrapper : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = IPlugVST::CreateInstance(RecordingHost::Callback, Construct<StandInEffect>);
    ASSERT_NE(effect, nullptr);
    host.Attach(effect);
    plug = static_cast<StandInEffect*>(static_cast<IPlugVST*>(effect->object));
  }
  void TearDown() override
  {
    if (effect) Dispatch(effect, effClose);
  }

  std::string Text(VstInt32 opcode, VstInt32 index = 0)
  {
    char text[256] = {};
    Dispatch(effect, opcode, index, 0, text);
    return text;
  }

  void ProcessFloat(std::vector<float>* left, std::vector<float>* right)
  {
    float* io[2] = {left->data(), right->data()};
    host.insideProcess = true;
    effect->processReplacing(effect, io, io, static_cast<VstInt32>(left->size()));
    host.insideProcess = false;
  }

  RecordingHost host;
  AEffect* effect = nullptr;
  StandInEffect* plug = nullptr;
};

AEffect* MakeMini(RecordingHost* host, const MiniConfig& config)
{
  sMini = config;
  AEffect* effect = IPlugVST::CreateInstance(RecordingHost::Callback, Construct<MiniPlug>);
  if (effect) host->Attach(effect);
  return effect;
}
} // namespace

TEST_F(VstWrapper, RecordTheHostSeesAfterConstruction)
{
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, StandInEffect::kNumPresets);
  EXPECT_EQ(effect->numParams, StandInEffect::kNumParams);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0x1018);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->uniqueID, StandInEffect::kUniqueID);
  EXPECT_EQ(effect->version, 10100);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->resvd2, 0);
  EXPECT_EQ(effect->user, &host);
  // Hosts distrust a plug-in whose replacing callback is its accumulating one.
  EXPECT_NE(reinterpret_cast<void*>(effect->process), reinterpret_cast<void*>(effect->processReplacing));
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  for (char c : effect->future) EXPECT_EQ(c, 0);
  EXPECT_EQ(plug->BlockSize(), 1024);
  EXPECT_TRUE(plug->IsInputConnected(1) && plug->IsOutputConnected(1));
}

TEST_F(VstWrapper, DispatcherWithoutObjectAnswersNothing)
{
  AEffect orphan = *effect;
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan.dispatcher(&orphan, effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect->dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(VstWrapper, IdentityAndFixedAnswers)
{
  EXPECT_EQ(Text(effGetEffectName), "Stand-In");
  EXPECT_EQ(Text(effGetVendorString), "Olvendu Tests");
  EXPECT_EQ(Text(effGetProductString), "Stand-In Product");
  EXPECT_EQ(Dispatch(effect, effGetEffectName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(effect, effGetVendorVersion), 10100);
  EXPECT_EQ(Dispatch(effect, effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(effect, effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(effect, effGetPlugCategory), 1);
  EXPECT_EQ(Dispatch(effect, effCanBeAutomated, 3), 1);
  EXPECT_EQ(Dispatch(effect, effGetTailSize), 0);
  EXPECT_EQ(Dispatch(effect, effGetParameterProperties, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(effect, 9999), 0);
}

TEST_F(VstWrapper, CanDoStrings)
{
  auto canDo = [this](const char* text) { return Dispatch(effect, effCanDo, 0, 0, const_cast<char*>(text)); };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(canDo("receiveVstEvents"), 1);
  EXPECT_EQ(canDo("sendVstEvents"), 1);
  EXPECT_EQ(canDo("sendVstMidiEvent"), 1);
  EXPECT_EQ(canDo("hasCockosExtensions"), static_cast<VstIntPtr>(0xBEEF0000));
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), static_cast<VstIntPtr>(0xBEEF0000));
  EXPECT_EQ(canDo("sendVstMidiEvents"), 0); // matching is exact
  EXPECT_EQ(canDo("ReceiveVstMidiEvent"), 0);
  EXPECT_EQ(canDo("bypass"), 0);
  EXPECT_EQ(canDo(""), 0);
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, nullptr), 0);
}

TEST(VstWrapperIdentity, MidiModeInstrumentAndChunksShapeTheAnswers)
{
  RecordingHost host;
  MiniConfig config;
  config.io = "1-1";
  config.midiMode = 2; // receive only
  config.instrument = true;
  config.chunks = true;
  AEffect* effect = MakeMini(&host, config);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->flags, 0x1010 | 0x20 | 0x08 | 0x100);
  EXPECT_EQ(Dispatch(effect, effGetPlugCategory), 2);
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 1);
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, const_cast<char*>("sendVstEvents")), 0);
  EXPECT_EQ(Dispatch(effect, effGetVendorVersion), 20304);
  Dispatch(effect, effClose);

  config.io = "2-2";
  config.midiMode = 0;
  config.instrument = false;
  config.chunks = false;
  effect = MakeMini(&host, config);
  EXPECT_EQ(effect->flags, 0x1010);
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 0);
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo")), 1);
  // Without MIDI the audio callbacks do not ask for it.
  float left[4] = {}, right[4] = {};
  float* io[2] = {left, right};
  effect->processReplacing(effect, io, io, 4);
  EXPECT_TRUE(host.CallsOf(audioMasterWantMidi).empty());
  Dispatch(effect, effClose);
}

TEST(VstWrapperEntry, ConstructionFailureAndMissingPresets)
{
  RecordingHost host;
  MiniConfig config;
  config.throwInConstructor = true;
  EXPECT_EQ(MakeMini(&host, config), nullptr);
  EXPECT_EQ(IPlugVST::CreateInstance(RecordingHost::Callback, nullptr), nullptr);

  // A plug-in without preset slots gets one named "Default".
  config.throwInConstructor = false;
  config.presets = 0;
  AEffect* effect = MakeMini(&host, config);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->numPrograms, 1);
  char name[32] = {};
  EXPECT_EQ(Dispatch(effect, effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "Default");

  // effClose destroys the plug-in.
  const int alive = sMiniAlive;
  Dispatch(effect, effClose);
  EXPECT_EQ(sMiniAlive, alive - 1);
}

TEST_F(VstWrapper, ParameterStringsAndTheirBounds)
{
  EXPECT_EQ(Text(effGetParamName, 1), "Filter Freq");
  EXPECT_EQ(Text(effGetParamLabel, 1), "Hz");
  EXPECT_EQ(Text(effGetParamDisplay, 1), "1000");
  EXPECT_EQ(Text(effGetParamDisplay, 0), "Highpass");
  EXPECT_EQ(Text(effGetParamName, 17), "");
  EXPECT_EQ(Text(effGetParamName, -1), "");
  EXPECT_EQ(Dispatch(effect, effGetParamName, 1, 0, nullptr), 0);

  // A 31-character name fills a 32-byte field and nothing after it.
  RecordingHost miniHost;
  MiniConfig config;
  const std::string longName(31, 'x');
  config.paramName = longName.c_str();
  AEffect* mini = MakeMini(&miniHost, config);
  char buffer[40];
  std::memset(buffer, '#', sizeof buffer);
  Dispatch(mini, effGetParamName, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), longName);
  for (int i = 32; i < 40; ++i) EXPECT_EQ(buffer[i], '#');
  // The widest display of the parameter ("1.000000" at most) fits as well.
  std::memset(buffer, '#', sizeof buffer);
  Dispatch(mini, effGetParamDisplay, 0, 0, buffer);
  EXPECT_STREQ(buffer, "0.500000");
  Dispatch(mini, effClose);
}

TEST_F(VstWrapper, SetParameterSetsAppliesAndTellsTheEditor)
{
  RecordingEditor* editor = new RecordingEditor(plug);
  plug->AttachEditor(editor);
  editor->mShown.clear();
  const int appliedBefore = plug->mApplyCount[1];

  effect->setParameter(effect, 1, 0.5f);
  EXPECT_EQ(plug->Param(1)->CurrentValue(), 5015.0);
  EXPECT_EQ(Text(effGetParamDisplay, 1), "5015");
  EXPECT_EQ(plug->mApplyCount[1], appliedBefore + 1);
  ASSERT_EQ(editor->mShown.size(), 1u);
  EXPECT_EQ(editor->mShown[0].paramIdx, 1);
  EXPECT_DOUBLE_EQ(editor->mShown[0].value, 0.5);
  EXPECT_TRUE(editor->mShown[0].normalized);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 1), static_cast<float>(plug->Param(1)->NormalizedValue()));
  // Host automation is not echoed back to the host.
  EXPECT_TRUE(host.CallsOf(audioMasterAutomate).empty());

  // Indices outside the list are ignored.
  effect->setParameter(effect, StandInEffect::kNumParams, 0.5f);
  effect->setParameter(effect, -1, 0.5f);
  EXPECT_EQ(effect->getParameter(effect, StandInEffect::kNumParams), 0.0f);
  EXPECT_EQ(editor->mShown.size(), 1u);
}

TEST_F(VstWrapper, StringToParameter)
{
  char highpass[] = "Lowpass";
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 0, 0, highpass), 1);
  EXPECT_EQ(plug->Param(0)->CurrentValue(), 0.0);
  char freq[] = "30000";
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 1, 0, freq), 1);
  EXPECT_EQ(plug->Param(1)->CurrentValue(), 20000.0); // clamped
  // The probe without text asks whether conversion is possible.
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 1, 0, nullptr), 1);
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 99, 0, freq), 0);
}

TEST_F(VstWrapper, VendorSpecificCalls)
{
  char text[64] = {};
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 7, 1, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "5015");
  std::strcpy(text, "untouched");
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 7, 99, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "untouched");
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 7, 1, nullptr, 0.5f), 0);

  int32_t count = -1;
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 8, 0, &count), 0xBEEF);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 8, 1, &count), 0); // an integer parameter
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 8, 3, &count), 0); // a double parameter
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 8, 0, nullptr), 0);

  std::strcpy(text, "Highpass");
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 27, 0, text), 0xBEEF);
  EXPECT_STREQ(text, "0.50000000000000000");
  std::strcpy(text, "99999");
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 27, 1, text), 0xBEEF);
  EXPECT_STREQ(text, "1.00000000000000000");
  text[0] = '\0';
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 27, 1, text), 0xBEEF);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 27, -1, text), 0);

  // Wheel steps need an editor window; there is none.
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0);
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, 12345, 0, text), 0);
}

namespace
{
// Paints its rectangle in one colour.
class Swatch : public IControl
{
public:
  Swatch(IPlugBase* plug, const IRECT& r, const IColor& c) : IControl(plug, r), mColour(c) {}
  bool Paint(IGraphics* g) override { return g->FillRectColor(&mColour, &mArea, nullptr); }

private:
  IColor mColour;
};
} // namespace

TEST_F(VstWrapper, EditorSnapshotLendsTheWholePaintedEditor)
{
  KestraneEditorSnapshot snapshot{};
  const VstIntPtr size = sizeof snapshot;
  // No editor yet.
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, kKestraneSnapshotIndex, size, &snapshot), 0);

  auto* editor = new IGraphicsHeadless(plug, 30, 20, 0);
  editor->AddControl(new Swatch(plug, IRECT(0, 0, 30, 20), IColor(255, 10, 20, 30)));
  editor->AddControl(new Swatch(plug, IRECT(5, 5, 10, 8), IColor(255, 200, 100, 0)));
  plug->AttachEditor(editor);
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, kKestraneSnapshotIndex, size - 1, &snapshot), 0);
  EXPECT_EQ(Dispatch(effect, effVendorSpecific, kKestraneSnapshotIndex, size, nullptr), 0);
  ASSERT_EQ(Dispatch(effect, effVendorSpecific, kKestraneSnapshotIndex, size, &snapshot), 0xBEEF);
  EXPECT_EQ(snapshot.width, 30);
  EXPECT_EQ(snapshot.height, 20);
  ASSERT_GE(snapshot.rowSpan, 30);
  ASSERT_NE(snapshot.pixels, nullptr);
  EXPECT_EQ(snapshot.pixels[0], LICE_RGBA(10, 20, 30, 255));
  EXPECT_EQ(snapshot.pixels[6 * snapshot.rowSpan + 7], LICE_RGBA(200, 100, 0, 255));
  EXPECT_EQ(snapshot.pixels[19 * snapshot.rowSpan + 29], LICE_RGBA(10, 20, 30, 255));
  // A host never offered an editor gets none from this either.
  EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
}

TEST_F(VstWrapper, ProgramNamesAndSelection)
{
  char name[64];
  EXPECT_EQ(Dispatch(effect, effGetProgramNameIndexed, 0, -1, name), 1);
  EXPECT_STREQ(name, "---- default ----");
  EXPECT_EQ(Dispatch(effect, effGetProgramNameIndexed, 7, -1, name), 1);
  EXPECT_STREQ(name, "- 8 -");
  std::strcpy(name, "x");
  EXPECT_EQ(Dispatch(effect, effGetProgramNameIndexed, 8, -1, name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(Dispatch(effect, effGetProgramNameIndexed, 0, -1, nullptr), 0);

  Dispatch(effect, effSetProgram, 0, 2);
  EXPECT_EQ(Dispatch(effect, effGetProgram), 2);
  EXPECT_EQ(Text(effGetProgramName), "Bright");
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 8000.0);

  // Leaving a program keeps its edits; an index out of range changes nothing.
  effect->setParameter(effect, StandInEffect::kFilterPan, 1.0f);
  Dispatch(effect, effSetProgram, 0, 99);
  EXPECT_EQ(Dispatch(effect, effGetProgram), 2);
  Dispatch(effect, effSetProgram, 0, 1);
  Dispatch(effect, effSetProgram, 0, 2);
  EXPECT_EQ(plug->Param(StandInEffect::kFilterPan)->CurrentValue(), 100.0);
  Dispatch(effect, effSetProgram, 0, -1);
  EXPECT_EQ(Dispatch(effect, effGetProgram), 2);
}

TEST_F(VstWrapper, ProgramNamesAreBoundedBothWays)
{
  // A host name longer than 24 characters is cut there.
  char longName[] = "A program name that goes on far too long";
  Dispatch(effect, effSetProgramName, 0, 0, longName);
  EXPECT_STREQ(plug->PresetName(0), "A program name that goes");
  EXPECT_EQ(std::strlen(plug->PresetName(0)), 24u);

  // A name may come without terminator inside the first 24 bytes; nothing
  // after them is read.
  char unterminated[24];
  std::memset(unterminated, 'u', sizeof unterminated);
  Dispatch(effect, effSetProgramName, 0, 0, unterminated);
  EXPECT_EQ(std::string(plug->PresetName(0)), std::string(24, 'u'));

  // Out: at most 24 characters and the terminator.
  char out[32];
  std::memset(out, '#', sizeof out);
  Dispatch(effect, effGetProgramName, 0, 0, out);
  EXPECT_EQ(std::strlen(out), 24u);
  for (int i = 25; i < 32; ++i) EXPECT_EQ(out[i], '#');
  std::memset(out, '#', sizeof out);
  Dispatch(effect, effGetProgramNameIndexed, 0, 0, out);
  for (int i = 25; i < 32; ++i) EXPECT_EQ(out[i], '#');

  // An empty name stores the state but keeps the name.
  char empty[] = "";
  Dispatch(effect, effSetProgramName, 0, 0, empty);
  EXPECT_EQ(std::string(plug->PresetName(0)), std::string(24, 'u'));
}

TEST_F(VstWrapper, ChunkHoldsVersionThenState)
{
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.5f);
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effect, effGetChunk, 1, 0, &data);
  ASSERT_EQ(size, 4 + 8 * StandInEffect::kNumParams);
  ASSERT_NE(data, nullptr);
  int32_t version = 0;
  std::memcpy(&version, data, 4);
  EXPECT_EQ(version, 10100);
  double freq = 0;
  std::memcpy(&freq, static_cast<char*>(data) + 4 + 8 * StandInEffect::kFilterFreq, 8);
  EXPECT_EQ(freq, 5015.0);
  const std::vector<uint8_t> saved(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);

  // Restore after a change: every value back, editor redrawn, 1.
  RecordingEditor* editor = new RecordingEditor(plug);
  plug->AttachEditor(editor);
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.0f);
  editor->mShown.clear();
  std::vector<uint8_t> copy = saved;
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, size, copy.data()), 1);
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 5015.0);
  EXPECT_EQ(editor->mShown.size(), static_cast<std::size_t>(StandInEffect::kNumParams));

  // Three bytes load nothing.
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.0f);
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, 3, copy.data()), 0);
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 20.0);

  // A cut chunk applies what it holds and fails.
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, 4 + 8 * 2, copy.data()), 0);
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 5015.0);

  EXPECT_EQ(Dispatch(effect, effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, size, nullptr), 0);
}

TEST_F(VstWrapper, ChunkSizesAHostGetsWrongAreRefused)
{
  std::vector<uint8_t> bytes(64, 0);
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.5f);
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, -1, bytes.data()), 0);
  EXPECT_EQ(Dispatch(effect, effSetChunk, 1, static_cast<VstIntPtr>(1) << 40, bytes.data()), 0);
  EXPECT_EQ(Dispatch(effect, effSetChunk, 0, IPlugVST::kMaxChunkBytes + 1, bytes.data()), 0);
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 5015.0);
}

TEST_F(VstWrapper, HostMayHandBackTheChunkItWasLent)
{
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.5f);
  for (VstInt32 index : {0, 1})
  {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effect, effGetChunk, index, 0, &data);
    effect->setParameter(effect, StandInEffect::kFilterFreq, 0.0f);
    EXPECT_EQ(Dispatch(effect, effSetChunk, index, size, data), 1);
    EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 5015.0);
    // More than we lent is not ours to read.
    EXPECT_EQ(Dispatch(effect, effSetChunk, index, size + 1, data), 0);
  }
}

TEST_F(VstWrapper, BankChunkStoresTheLiveStateIntoTheCurrentPreset)
{
  Dispatch(effect, effSetProgram, 0, 3);
  effect->setParameter(effect, StandInEffect::kFilterFreq, 0.5f);
  void* data = nullptr;
  EXPECT_EQ(Dispatch(effect, effGetChunk, 0, 0, &data), 4 + 8 * StandInEffect::kNumParams);
  // Reading the slot back (without the store that a program change does).
  EXPECT_TRUE(plug->RecallPreset(2));
  EXPECT_TRUE(plug->RecallPreset(3));
  EXPECT_EQ(plug->Param(StandInEffect::kFilterFreq)->CurrentValue(), 5015.0);
}

TEST_F(VstWrapper, IncomingEventsReachTheEffect)
{
  EventList list;
  list.AddMidi(0, 0x90, 60, 100);
  list.AddNull();
  list.AddMidi(5, 0x99, 61, 90, 24); // byteSize counted without the header
  list.AddMidi(7, 0x80, 60, 0, 0);   // or not filled in at all
  list.AddSysEx(9, {0xF0, 0x7E, 0x7F, 0xF7});
  EXPECT_EQ(Dispatch(effect, effProcessEvents, 0, 0, list.Events()), 1);
  EXPECT_EQ(plug->mNotesOn, 2);
  EXPECT_EQ(plug->mLastMidiOffset, 7);
  EXPECT_EQ(plug->mSysExCount, 1);
  EXPECT_EQ(plug->mSysExBytes, 4);
  EXPECT_EQ(Dispatch(effect, effProcessEvents, 0, 0, nullptr), 0);

  // Other event types, and a list that claims fewer than none, do nothing.
  VstEvent other{};
  other.type = kVstAudioType;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = &other;
  EXPECT_EQ(Dispatch(effect, effProcessEvents, 0, 0, &events), 1);
  events.numEvents = -5;
  EXPECT_EQ(Dispatch(effect, effProcessEvents, 0, 0, &events), 1);
  EXPECT_EQ(plug->mNotesOn, 2);

  // A dump with a negative size or no bytes is an empty message.
  VstMidiSysexEvent broken{};
  broken.type = kVstSysExType;
  broken.dumpBytes = -10;
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&broken);
  Dispatch(effect, effProcessEvents, 0, 0, &events);
  EXPECT_EQ(plug->mSysExCount, 2);
  EXPECT_EQ(plug->mSysExBytes, 4);
}

TEST_F(VstWrapper, MidiOutGoesToTheHostDuringTheNextProcessCall)
{
  Dispatch(effect, effOpen);
  EventList list;
  list.AddMidi(3, 0x90, 64, 100, 24);
  list.AddMidi(1023, 0xB0, 7, 127);
  list.AddSysEx(10, {0xF0, 1, 2, 3, 0xF7});
  Dispatch(effect, effProcessEvents, 0, 0, list.Events());
  EXPECT_TRUE(host.sent.empty());

  std::vector<float> left(1024, 0.0f), right(1024, 0.0f);
  ProcessFloat(&left, &right);
  ASSERT_EQ(host.sent.size(), 3u);
  for (const RecordingHost::SentEvent& event : host.sent) EXPECT_TRUE(event.duringProcess);
  EXPECT_EQ(host.sent[0].type, kVstMidiType);
  EXPECT_EQ(host.sent[0].byteSize, 32);
  EXPECT_EQ(host.sent[0].deltaFrames, 3);
  EXPECT_EQ(host.sent[0].bytes, (std::vector<uint8_t>{0x90, 64, 100}));
  EXPECT_EQ(host.sent[1].deltaFrames, 1023);
  EXPECT_EQ(host.sent[1].bytes, (std::vector<uint8_t>{0xB0, 7, 127}));
  EXPECT_EQ(host.sent[2].type, kVstSysExType);
  EXPECT_EQ(host.sent[2].byteSize, 48);
  EXPECT_EQ(host.sent[2].bytes, (std::vector<uint8_t>{0xF0, 1, 2, 3, 0xF7}));
  // Sent once, in one list.
  EXPECT_EQ(host.CallsOf(audioMasterProcessEvents).size(), 1u);
  ProcessFloat(&left, &right);
  EXPECT_EQ(host.sent.size(), 3u);

  // Events waiting when the host suspends are dropped, not sent late.
  Dispatch(effect, effProcessEvents, 0, 0, list.Events());
  Dispatch(effect, effMainsChanged, 0, 0);
  Dispatch(effect, effMainsChanged, 0, 1);
  ProcessFloat(&left, &right);
  EXPECT_EQ(host.sent.size(), 3u);
}

TEST_F(VstWrapper, MidiSentFromInsideProcessingGoesStraightOut)
{
  host.processEventsReply = 1;
  MidiMessage message;
  message.mStatusByte = 0x90;
  // Outside a process callback it waits in the outbox; it is accepted.
  EXPECT_TRUE(plug->SendMidiMessage(message));
  EXPECT_TRUE(host.sent.empty());
  // A full outbox refuses.
  for (int i = 1; i < VstEventOutbox::kCapacity; ++i) plug->SendMidiMessage(message);
  EXPECT_FALSE(plug->SendMidiMessage(message));
  SysExMessage dump;
  std::vector<uint8_t> big(VstEventOutbox::kSysExPoolBytes + 1, 0xF0);
  dump.mData = big.data();
  dump.mByteCount = static_cast<int32_t>(big.size());
  EXPECT_FALSE(plug->SendSysExMessage(dump));

  Dispatch(effect, effOpen);
  std::vector<float> left(16, 0.0f), right(16, 0.0f);
  ProcessFloat(&left, &right);
  EXPECT_EQ(host.sent.size(), static_cast<std::size_t>(VstEventOutbox::kCapacity));
}

TEST_F(VstWrapper, AudioCallbacksAskForMidiAndProcessInAnyBlockSize)
{
  // Before effOpen nothing is processed: the double path leaves the buffers.
  std::vector<double> left(8, 0.25), right(8, 0.25);
  double* io[2] = {left.data(), right.data()};
  effect->processDoubleReplacing(effect, io, io, 8);
  EXPECT_EQ(left[0], 0.25);
  EXPECT_EQ(plug->mBlocks, 0);

  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effect, effSetBlockSize, 0, 64);
  host.Clear();
  effect->processDoubleReplacing(effect, io, io, 8);
  EXPECT_EQ(plug->mBlocks, 1);
  EXPECT_EQ(host.CallsOf(audioMasterWantMidi).size(), 1u);
  EXPECT_EQ(host.CallsOf(audioMasterWantMidi)[0].value, 1);

  // A host that passes more than it announced, or nothing at all.
  std::vector<float> bigLeft(1000, 0.5f), bigRight(1000, 0.5f);
  float* bigIo[2] = {bigLeft.data(), bigRight.data()};
  effect->processReplacing(effect, bigIo, bigIo, 1000);
  effect->processReplacing(effect, bigIo, bigIo, 0);
  effect->processReplacing(effect, bigIo, bigIo, -3);
  for (float v : bigLeft) ASSERT_TRUE(std::isfinite(v));
  EXPECT_NE(bigLeft[999], 0.5f);
}

TEST_F(VstWrapper, AccumulatingCallbackAddsToTheHostBuffers)
{
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetBlockSize, 0, 32);
  effect->setParameter(effect, StandInEffect::kMix, 0.0f); // dry: output = input
  std::vector<float> in(32, 0.25f), out(32, 1.0f);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {out.data(), out.data() /* both channels add into one buffer */};
  std::vector<float> outRight(32, 1.0f);
  outputs[1] = outRight.data();
  effect->process(effect, inputs, outputs, 32);
  for (float v : out) EXPECT_FLOAT_EQ(v, 1.25f);
  for (float v : outRight) EXPECT_FLOAT_EQ(v, 1.25f);
}

TEST_F(VstWrapper, SampleRateAndBlockSizeFromTheHost)
{
  const int resets = plug->mResetCount;
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(plug->SampleRate(), 96000.0);
  EXPECT_EQ(plug->mResetCount, resets + 1);
  // Rates that are no rates keep the last good one.
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 0.0f);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, -44100.0f);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, NAN);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, INFINITY);
  EXPECT_EQ(plug->SampleRate(), 96000.0);

  Dispatch(effect, effSetBlockSize, 0, 256);
  EXPECT_EQ(plug->BlockSize(), 256);
  Dispatch(effect, effSetBlockSize, 0, static_cast<VstIntPtr>(1) << 40);
  EXPECT_EQ(plug->BlockSize(), IPlugVST::kMaxBlockSize);
  Dispatch(effect, effSetBlockSize, 0, -7);
  EXPECT_EQ(plug->BlockSize(), 0);
  EXPECT_EQ(plug->mResetCount, resets + 4);
}

TEST_F(VstWrapper, ActivationOpcodes)
{
  const int resets = plug->mResetCount;
  Dispatch(effect, effMainsChanged, 0, 1);
  EXPECT_TRUE(plug->mActive);
  Dispatch(effect, effMainsChanged, 0, 0);
  EXPECT_FALSE(plug->mActive);
  EXPECT_EQ(plug->mResetCount, resets + 1);
  Dispatch(effect, effSetBypass, 0, 0);
  EXPECT_TRUE(plug->mActive);
  Dispatch(effect, effSetBypass, 0, 1);
  EXPECT_FALSE(plug->mActive);
  for (VstInt32 opcode : {62, 63, 64, 65, 67, 68, 71})
  {
    Dispatch(effect, effStopProcess);
    EXPECT_FALSE(plug->mActive);
    EXPECT_EQ(Dispatch(effect, opcode), 0);
    EXPECT_TRUE(plug->mActive) << opcode;
  }
}

TEST_F(VstWrapper, PinProperties)
{
  VstPinProperties pin;
  std::memset(&pin, 0x5A, sizeof pin);
  EXPECT_EQ(Dispatch(effect, effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.flags, 3);
  // Nothing else in the record is written.
  EXPECT_EQ(pin.arrangementType, 0x5A5A5A5A);
  EXPECT_EQ(pin.shortLabel[0], 0x5A);
  EXPECT_EQ(Dispatch(effect, effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(pin.flags, 1);
  EXPECT_EQ(Dispatch(effect, effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effect, effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 1");
  EXPECT_EQ(Dispatch(effect, effGetOutputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effect, effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(VstWrapper, SpeakerArrangements)
{
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(Dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_TRUE(in && out);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);

  // A host's arrangement may be only as long as its header says.
  struct ShortArrangement
  {
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[1];
  } mono{kSpeakerArrMono, 1, {}};
  const VstSpeakerArrangement* monoPtr = reinterpret_cast<const VstSpeakerArrangement*>(&mono);
  EXPECT_EQ(Dispatch(effect, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(monoPtr),
                     const_cast<VstSpeakerArrangement*>(monoPtr)),
            1);
  EXPECT_TRUE(plug->IsInputConnected(0));
  EXPECT_FALSE(plug->IsInputConnected(1));
  EXPECT_FALSE(plug->IsOutputConnected(1));
  EXPECT_EQ(in->numChannels, 2); // the reported arrangements stay

  mono.numChannels = 1000;
  Dispatch(effect, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(monoPtr), nullptr);
  EXPECT_TRUE(plug->IsInputConnected(1));
  EXPECT_FALSE(plug->IsOutputConnected(1));
}

TEST_F(VstWrapper, NoEditorWindowIsOffered)
{
  plug->AttachEditor(new RecordingEditor(plug));
  EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
  ERect* rect = reinterpret_cast<ERect*>(0x1);
  EXPECT_EQ(Dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1));
  EXPECT_EQ(Dispatch(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
  EXPECT_EQ(Dispatch(effect, effEditClose), 0);
  EXPECT_EQ(Dispatch(effect, effEditIdle), 0);
}

TEST(VstWrapperKeys, KeyNamesAreCutAtTheHostField)
{
  RecordingHost host;
  AEffect* effect = MakeMini(&host, MiniConfig{});
  MidiKeyName key;
  std::memset(&key, 0x5A, sizeof key);
  key.thisKeyNumber = 60;
  EXPECT_EQ(Dispatch(effect, effGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_EQ(std::strlen(key.keyName), 63u);
  EXPECT_EQ(key.reserved, 0x5A5A5A5A);
  key.thisKeyNumber = 61;
  EXPECT_EQ(Dispatch(effect, effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_EQ(Dispatch(effect, effGetMidiKeyName, 0, 0, nullptr), 0);
  Dispatch(effect, effClose);
}

TEST_F(VstWrapper, TimeQueriesReadOnlyWhatTheHostMarksValid)
{
  host.time.samplePos = 1000.6;
  host.time.tempo = 132.5;
  host.time.timeSigNumerator = 7;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstTempoValid | kVstTimeSigValid;
  EXPECT_EQ(plug->HostSamplePos(), 1001);
  EXPECT_EQ(plug->HostTempo(), 132.5);
  int num = -1, den = -1;
  plug->HostTimeSig(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);
  const std::vector<RecordingHost::Call> asked = host.CallsOf(audioMasterGetTime);
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].value, 0);
  EXPECT_EQ(asked[1].value, kVstTempoValid);
  EXPECT_EQ(asked[2].value, kVstTimeSigValid);

  host.time.flags = 0;
  EXPECT_EQ(plug->HostTempo(), 0.0);
  plug->HostTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);

  host.time.flags = kVstTempoValid | kVstTimeSigValid;
  host.time.samplePos = -5.0;
  host.time.tempo = -1.0;
  host.time.timeSigDenominator = -4;
  EXPECT_EQ(plug->HostSamplePos(), 0);
  EXPECT_EQ(plug->HostTempo(), 0.0);
  plug->HostTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  host.time.samplePos = 1e12;
  host.time.tempo = NAN;
  EXPECT_EQ(plug->HostSamplePos(), 2147483647);
  EXPECT_EQ(plug->HostTempo(), 0.0);

  host.timeInfoAvailable = false;
  EXPECT_EQ(plug->HostSamplePos(), 0);
  EXPECT_EQ(plug->HostTempo(), 0.0);
  EXPECT_EQ(plug->SamplesPerBeat(), 0.0);
}

TEST(VstWrapperHost, IdentificationAndStereoLimit)
{
  RecordingHost host;
  host.product = "Adobe Audition CS6";
  host.vendorVersion = 50302;
  MiniConfig config;
  config.io = "4-4";
  AEffect* effect = MakeMini(&host, config);
  IPlugVST* plug = static_cast<IPlugVST*>(effect->object);
  Dispatch(effect, effOpen);
  EXPECT_EQ(plug->HostKind(), 17);
  EXPECT_EQ(plug->HostVersionCode(), (5 << 16) | (3 << 8) | 2);
  EXPECT_FALSE(plug->IsInputConnected(2));
  EXPECT_FALSE(plug->IsInputConnected(3));
  EXPECT_TRUE(plug->IsOutputConnected(3));
  EXPECT_EQ(effect->numInputs, 4);
  // Asked once only.
  Dispatch(effect, effOpen);
  EXPECT_EQ(host.CallsOf(audioMasterGetProductString).size(), 1u);
  Dispatch(effect, effClose);

  // An empty product string is an unknown host; its version is not asked.
  RecordingHost silent;
  effect = MakeMini(&silent, MiniConfig{});
  plug = static_cast<IPlugVST*>(effect->object);
  EXPECT_EQ(plug->HostKind(), 0);
  EXPECT_TRUE(silent.CallsOf(audioMasterGetVendorVersion).empty());
  Dispatch(effect, effClose);
}

TEST_F(VstWrapper, EditGesturesAndNotificationsReachTheHost)
{
  // No editor: a change the plug-in makes itself is announced to the host.
  plug->BeginHostEdit(3);
  plug->SetParameterFromEditor(3, 0.25);
  plug->EndHostEdit(3);
  plug->NotifyHostPreset();
  ASSERT_EQ(host.calls.size(), 4u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(host.calls[0].index, 3);
  EXPECT_EQ(host.calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(host.calls[1].index, 3);
  EXPECT_FLOAT_EQ(host.calls[1].opt, 0.25f);
  EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(host.calls[3].opcode, audioMasterUpdateDisplay);

  // Wheel steps without an editor end their gesture at once.
  host.Clear();
  plug->BeginHostEditCoalesced(2);
  plug->SetParameterFromEditor(2, 0.75);
  plug->EndHostEditDelayed(2);
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(host.calls[2].index, 2);
}

TEST_F(VstWrapper, LatencyChangeIsReported)
{
  plug->ChangeLatency(64);
  EXPECT_EQ(effect->initialDelay, 64);
  EXPECT_EQ(plug->Latency(), 64);
}

namespace
{
// Throws from the engine, as a broken effect might.
class ThrowingEffect : public StandInEffect
{
public:
  using StandInEffect::StandInEffect;
  void ApplyParamChange(int) override { throw std::runtime_error("engine failure"); }
};
} // namespace

// Every AEffect callback runs through one guard: the exception stops there,
// the host gets the safe answer, and the stop is reported with its place.
TEST(VstWrapperGuard, AnExceptionStopsAtTheHostBoundaryAndIsReported)
{
  RecordingHost host;
  AEffect* effect = IPlugVST::CreateInstance(RecordingHost::Callback, Construct<ThrowingEffect>);
  ASSERT_NE(effect, nullptr);
  host.Attach(effect);
  SetHostMisusePolicy(HostMisusePolicy::kReport);
  testing::internal::CaptureStderr();
  effect->setParameter(effect, StandInEffect::kMix, 0.5f);
  EXPECT_EQ(effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f), 0);
  const std::string report = testing::internal::GetCapturedStderr();
  SetHostMisusePolicy(HostMisusePolicy::kIgnore);
  EXPECT_NE(report.find("exception stopped at the host boundary: engine failure ("), std::string::npos) << report;
  EXPECT_NE(report.find("wrappers/vst/IPlugVST.cpp:"), std::string::npos) << report;
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

// The switch tests use to make host misuse fatal; the facade names the misuse.
TEST(VstWrapperGuardDeathTest, MisuseIsFatalWhenTheSwitchSaysSo)
{
  RecordingHost host;
  AEffect* effect = IPlugVST::CreateInstance(RecordingHost::Callback, Construct<StandInEffect>);
  ASSERT_NE(effect, nullptr);
  host.Attach(effect);
  EXPECT_DEATH(
      {
        SetHostMisusePolicy(HostMisusePolicy::kFatal);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, NAN);
      },
      "host misbehaving: sample rate that is not a positive finite number \\(.*core/IPlugBase.cpp:.+\\)");
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}
