// The built plug-in library, loaded as a host loads it, audited on the audio
// thread: inside processReplacing, processDoubleReplacing, process and
// effProcessEvents it allocates nothing, frees nothing and never waits for a
// lock, at every block size from 1 to 8192, with programs and parameters
// changed and MIDI notes sent between blocks. The only lock it takes there
// is its own mutex. The audit itself is shown to see an allocation made
// inside the plug-in and a lock the plug-in had to wait for.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/vst/support/AudioThreadAudit.h"
#include "tests/vst/support/PluginInstance.h"

namespace
{
constexpr int kLargestBlock = 8192;

// Set by the lock control: the host callback holds the plug-in's thread
// inside a call (the plug-in mutex held) until the audio thread is waiting.
std::atomic<bool> gHoldHostCall{false};
std::atomic<bool> gHostCallHeld{false};

// The host: time info and events accepted. The plug-in's calls into it are
// the host's work, outside the audit.
VstIntPtr Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  audit::Paused hostWork;
  static VstTimeInfo time = [] {
    VstTimeInfo t{};
    t.sampleRate = 48000.0;
    t.tempo = 132.0;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    t.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying;
    return t;
  }();
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetTime:
    time.samplePos += 64.0;
    return reinterpret_cast<VstIntPtr>(&time);
  case audioMasterProcessEvents:
    return 1;
  case audioMasterGetProductString:
    if (ptr) std::snprintf(static_cast<char*>(ptr), 64, "Audit Host");
    if (gHoldHostCall)
    {
      gHostCallHeld = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 1;
  default:
    return 0;
  }
}

void OpenLikeAHost(AEffect* effect)
{
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effect, effSetBlockSize, 0, kLargestBlock);
  Dispatch(effect, effMainsChanged, 0, 1);
}

// A note-on and a note-off inside the next block, as a host sends them.
struct NoteEvents
{
  VstMidiEvent on{}, off{};
  VstIntPtr storage[4] = {};
  VstEvents* Events(int blockSize, int note)
  {
    for (VstMidiEvent* e : {&on, &off})
    {
      e->type = kVstMidiType;
      e->byteSize = sizeof(VstMidiEvent);
    }
    on.midiData[0] = static_cast<char>(0x90);
    off.midiData[0] = static_cast<char>(0x80);
    on.midiData[1] = off.midiData[1] = static_cast<char>(note);
    on.midiData[2] = 100;
    on.deltaFrames = 0;
    off.deltaFrames = blockSize / 2;
    VstEvents* events = reinterpret_cast<VstEvents*>(storage);
    static_assert(sizeof storage >= VstEventsBytes(2), "room for two events");
    events->numEvents = 2;
    events->events[0] = reinterpret_cast<VstEvent*>(&on);
    events->events[1] = reinterpret_cast<VstEvent*>(&off);
    return events;
  }
};

class AudioThreadDiscipline : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(library.Loaded()) << library.Error();
    audit::Take();
  }
  void TearDown() override { audit::SetOwnMutex(nullptr); }

  PluginLibrary library{KESTRANE_EFFECT_PLUGIN_LIBRARY};
};

TEST_F(AudioThreadDiscipline, AuditSeesAllocationsAndWaitsInsideThePlugin)
{
  // An allocation of the test's own, through a pointer the compiler cannot
  // see through.
  void* (*volatile allocate)(size_t) = std::malloc;
  audit::Open();
  void* block = allocate(24);
  std::free(block);
  audit::Close();
  audit::Counts own = audit::Take();
  EXPECT_EQ(own.allocations, 1);
  EXPECT_EQ(own.frees, 1);

  // One the plug-in makes: a first chunk of a megabyte needs room.
  AEffect* effect = library.Create(Host);
  ASSERT_NE(effect, nullptr);
  OpenLikeAHost(effect);
  std::vector<uint8_t> chunk(1 << 20, 0);
  audit::Open();
  Dispatch(effect, effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data());
  audit::Close();
  EXPECT_GE(audit::Take().allocations, 1);
  Dispatch(effect, effClose);

  // A wait: another thread opens the plug-in and the host keeps that call
  // (and the plug-in mutex) a while; the audio callback must wait for it.
  effect = library.Create(Host);
  ASSERT_NE(effect, nullptr);
  gHoldHostCall = true;
  std::thread opener([effect] { Dispatch(effect, effOpen); });
  while (!gHostCallHeld) std::this_thread::yield();
  std::vector<float> left(64, 0.0f), right(64, 0.0f);
  float* io[2] = {left.data(), right.data()};
  audit::Open();
  effect->processReplacing(effect, io, io, 64);
  audit::Close();
  opener.join();
  gHoldHostCall = false;
  EXPECT_GE(audit::Take().waits, 1);
  Dispatch(effect, effClose);
}

TEST_F(AudioThreadDiscipline, ProcessingAllocatesNothingAndNeverWaitsAtAnyBlockSize)
{
  AEffect* effect = library.Create(Host);
  ASSERT_NE(effect, nullptr);
  OpenLikeAHost(effect);

  // The plug-in's own mutex: the one lock a host call takes that does
  // nothing else.
  audit::Open();
  Dispatch(effect, effGetProgram);
  audit::Close();
  ASSERT_EQ(audit::DistinctLockedMutexes(), 1);
  audit::SetOwnMutex(audit::FirstLockedMutex());
  audit::Take();

  std::vector<float> floats[4];
  std::vector<double> doubles[4];
  for (int ch = 0; ch < 4; ++ch)
  {
    floats[ch].resize(kLargestBlock);
    doubles[ch].resize(kLargestBlock);
    for (int s = 0; s < kLargestBlock; ++s)
      doubles[ch][s] = floats[ch][s] = static_cast<float>(0.5 * std::sin(0.01 * (ch + 1) * s));
  }
  float* floatIn[2] = {floats[0].data(), floats[1].data()};
  float* floatOut[2] = {floats[2].data(), floats[3].data()};
  double* doubleIn[2] = {doubles[0].data(), doubles[1].data()};
  double* doubleOut[2] = {doubles[2].data(), doubles[3].data()};
  NoteEvents notes;
  uint32_t random = 12345;

  for (int frames = 1; frames <= kLargestBlock; ++frames)
  {
    // Between blocks, on the host's side: a program now and then, and one
    // parameter per block (targets, waves and rates included).
    if (frames % 257 == 0) Dispatch(effect, effSetProgram, 0, (frames / 257) % effect->numPrograms);
    random = random * 1664525u + 1013904223u;
    effect->setParameter(effect, static_cast<VstInt32>(random % static_cast<uint32_t>(effect->numParams)),
                         static_cast<float>(random >> 8) / 16777216.0f);
    VstEvents* events = notes.Events(frames, 36 + frames % 48);

    audit::Open();
    Dispatch(effect, effProcessEvents, 0, 0, events);
    effect->processReplacing(effect, floatIn, floatOut, frames);
    effect->processDoubleReplacing(effect, doubleIn, doubleOut, frames);
    if (frames % 16 == 0) effect->process(effect, floatIn, floatOut, frames);
    audit::Close();
  }
  const audit::Counts counts = audit::Take();
  EXPECT_EQ(counts.allocations, 0);
  EXPECT_EQ(counts.frees, 0);
  EXPECT_EQ(counts.waits, 0);
  EXPECT_EQ(counts.foreignLocks, 0);
  EXPECT_GE(counts.locks, 3 * kLargestBlock); // the audit saw the plug-in's own locks
  Dispatch(effect, effClose);
}
} // namespace
