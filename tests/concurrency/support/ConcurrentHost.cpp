#include "tests/concurrency/support/ConcurrentHost.h"

ConcurrentHost::ConcurrentHost()
{
  // 120 beats per minute, 4/4, playing: the LFO's synced period follows it.
  mTime.sampleRate = 48000.0;
  mTime.tempo = 120.0;
  mTime.timeSigNumerator = 4;
  mTime.timeSigDenominator = 4;
  mTime.flags = kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid;
}

VstIntPtr ConcurrentHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr,
                                   float opt)
{
  ConcurrentHost* host = effect ? static_cast<ConcurrentHost*>(effect->user) : nullptr;
  if (!host) return opcode == audioMasterVersion ? kVstVersion : 0;
  if (opcode == audioMasterProcessEvents && ptr)
    host->mEventsReceived.fetch_add(static_cast<const VstEvents*>(ptr)->numEvents, std::memory_order_relaxed);
  return host->Answer(opcode, index, opt);
}

VstIntPtr ConcurrentHost::Answer(VstInt32 opcode, VstInt32 index, float)
{
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetTime:
    // Read only, never written after construction: shared without a lock.
    return reinterpret_cast<VstIntPtr>(&mTime);
  case audioMasterProcessEvents:
    return 1;
  case audioMasterBeginEdit:
  case audioMasterEndEdit:
  case audioMasterAutomate:
    break;
  default:
    return 0;
  }
  if (index < 0 || index >= kMaxParams) return 0;
  std::lock_guard<std::mutex> lock(mLock);
  Ledger& ledger = mLedgers[index];
  int& open = mOpen[index];
  if (opcode == audioMasterBeginEdit)
  {
    ++ledger.begins;
    if (open > 0) ++ledger.nestedBegins;
    ++open;
  }
  else if (opcode == audioMasterEndEdit)
  {
    ++ledger.ends;
    if (open == 0)
      ++ledger.unmatchedEnds;
    else
      --open;
  }
  else
  {
    ++ledger.automations;
  }
  return 1;
}

ConcurrentHost::Ledger ConcurrentHost::Totals() const
{
  std::lock_guard<std::mutex> lock(mLock);
  Ledger sum;
  for (const Ledger& l : mLedgers)
  {
    sum.begins += l.begins;
    sum.ends += l.ends;
    sum.automations += l.automations;
    sum.unmatchedEnds += l.unmatchedEnds;
    sum.nestedBegins += l.nestedBegins;
  }
  return sum;
}

int ConcurrentHost::OpenGestures() const
{
  std::lock_guard<std::mutex> lock(mLock);
  int open = 0;
  for (int n : mOpen) open += n;
  return open;
}
