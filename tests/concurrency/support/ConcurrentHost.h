#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "wrappers/vst/Vst2Interface.h"

// A host callback that may be called from every thread at once, as a real
// host's is: the plug-in calls it from the audio thread (MIDI out, time),
// from host threads (preset notifications) and from the UI thread (edit
// gestures, automation). It keeps a ledger of the edit gestures per
// parameter, so a test can tell whether every begin found its end and no
// end came without a begin, and answers time queries with a fixed tempo.
// Attach it through the AEffect's user field right after the entry point.
//
// Threads: any; the ledger has its own mutex, a leaf lock taken inside the
// plug-in mutex the caller may hold.
class ConcurrentHost
{
public:
  static constexpr int kMaxParams = 64;

  ConcurrentHost();

  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);
  void Attach(AEffect* effect) { effect->user = this; }

  struct Ledger
  {
    int begins = 0;
    int ends = 0;
    int automations = 0;
    // Ends that found no open gesture, begins of a gesture already open.
    int unmatchedEnds = 0;
    int nestedBegins = 0;
  };
  // A copy of the ledger summed over every parameter.
  Ledger Totals() const;
  // Gestures still open.
  int OpenGestures() const;
  int EventsReceived() const { return mEventsReceived.load(std::memory_order_relaxed); }

private:
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, float opt);

  mutable std::mutex mLock;
  std::array<Ledger, kMaxParams> mLedgers{};
  std::array<int, kMaxParams> mOpen{};
  std::atomic<int> mEventsReceived{0};
  VstTimeInfo mTime{};
};
