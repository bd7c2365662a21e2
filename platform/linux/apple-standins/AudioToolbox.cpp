// AUEventListenerNotify as a recording sink: every event a unit sends is
// kept, in order, for tests to read.
#include <mutex>
#include <vector>

#include "platform/linux/apple-standins/StandInHarness.h"

namespace
{
std::mutex gMutex;
std::vector<AudioUnitEvent> gEvents;
} // namespace

extern "C" KESTRANE_STANDIN_API OSStatus AUEventListenerNotify(AUEventListenerRef, void*, const AudioUnitEvent* event)
{
  if (!event) return paramErr;
  std::lock_guard<std::mutex> lock(gMutex);
  gEvents.push_back(*event);
  return noErr;
}

std::size_t StandInEventCount()
{
  std::lock_guard<std::mutex> lock(gMutex);
  return gEvents.size();
}

AudioUnitEvent StandInEvent(std::size_t index)
{
  std::lock_guard<std::mutex> lock(gMutex);
  return index < gEvents.size() ? gEvents[index] : AudioUnitEvent{};
}

void StandInClearEvents()
{
  std::lock_guard<std::mutex> lock(gMutex);
  gEvents.clear();
}
