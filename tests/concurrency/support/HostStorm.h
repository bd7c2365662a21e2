#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "tests/vst/support/RecordingHost.h" // Dispatch, EventList
#include "wrappers/vst/Vst2Interface.h"

// What one storm does to one plug-in instance: each count is the number of
// operations of one host thread.
struct StormPlan
{
  int blocks = 1200;          // audio callbacks, single and double precision by turns, events before each
  int maxFrames = 256;        // the block size given with effSetBlockSize; blocks are 1..maxFrames long
  int automations = 4000;     // setParameter, then getParameter, of a random parameter
  int programChanges = 300;   // effSetProgram with names read back; a sample-rate change every 50
  int chunkRoundTrips = 200;  // effGetChunk, then effSetChunk of what came back
};

// What the host threads saw. Every "bad" count must stay 0.
struct StormReport
{
  int blocks = 0;
  int samplesChecked = 0;
  int nonFiniteSamples = 0;
  int automations = 0;
  int valuesOutOfRange = 0;    // getParameter outside 0..1 (or NaN)
  int programChanges = 0;
  int badPrograms = 0;         // effGetProgram outside the programs
  int chunkRoundTrips = 0;
  int badChunks = 0;           // wrong size, version or a non-finite value; or a refused effSetChunk
  int uiOperations = 0;        // as the UI work counted them
};

// Storms one opened instance (effOpen, sample rate, block size and
// effMainsChanged(1) already sent) from four host threads at once: audio
// (events, then processReplacing or processDoubleReplacing), automation,
// programs and sample rate, chunks; and a fifth thread running the UI work
// given to Start. When programs, chunks and UI are done, the automation
// thread sets every parameter a last time (0 for even indices, 1 for odd),
// so a test can check the values once the storm is over.
class HostStorm
{
public:
  // The UI thread's work; returns how many operations it made.
  using UiWork = std::function<int()>;

  HostStorm(AEffect* effect, const StormPlan& plan, unsigned seed);
  ~HostStorm();
  HostStorm(const HostStorm&) = delete;
  HostStorm& operator=(const HostStorm&) = delete;

  void Start(UiWork ui);
  // Waits for every thread; the report is complete afterwards.
  void Join();

  // The value the last sweep set for a parameter.
  static float FinalValue(int paramIdx) { return (paramIdx % 2) ? 1.0f : 0.0f; }

  StormReport report;

private:
  void Audio();
  void Automation();
  void Programs();
  void Chunks();

  AEffect* mEffect;
  StormPlan mPlan;
  unsigned mSeed;
  std::vector<std::thread> mThreads;
  // Programs, chunks and UI still running; the last sweep waits for 0.
  std::atomic<int> mOtherValueWritersRunning{0};
  UiWork mUi;
};

// The program chunk (effGetChunk, index 1) of an instance, copied.
std::vector<uint8_t> ProgramChunk(AEffect* effect);
// Opens an instance as a Linux host does before it processes.
void OpenForProcessing(AEffect* effect, float sampleRate, int blockSize);
