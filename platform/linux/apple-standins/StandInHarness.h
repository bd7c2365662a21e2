#pragma once

// What tests and tools use to drive and inspect the stand-ins for Apple's
// frameworks: register and open components as a host's Component Manager
// would, call their entry functions with parameter blocks, count live Core
// Foundation objects, read the events sent to AUEventListenerNotify, and
// name the bundles CFBundle finds. None of this is Apple's interface; the
// plug-in never calls it.
#include <cstddef>

#include "wrappers/au/AudioUnitInterface.h"

#define KESTRANE_STANDIN_API __attribute__((visibility("default")))

// ---- Component Manager ----

// A component the stand-in Component Manager can open; the name is copied.
KESTRANE_STANDIN_API Component StandInRegisterComponent(const ComponentDescription* description,
                                                        ComponentRoutineProcPtr entry, const char* name);
// Makes an instance and calls the entry's open selector (word 0 and word 1
// both the new instance). On failure the instance is gone again.
KESTRANE_STANDIN_API OSStatus StandInOpenComponent(Component component, ComponentInstance* outInstance);
// Calls the close selector with the instance's storage, then frees it.
KESTRANE_STANDIN_API OSStatus StandInCloseComponent(ComponentInstance instance);
// Calls the instance's entry function with a parameter block: word 0 the
// instance, then the given words in order from word 1.
KESTRANE_STANDIN_API ComponentResult StandInCallComponent(ComponentInstance instance, SInt16 selector,
                                                          const long* words, int wordCount);

// ---- Core Foundation ----

// Objects created and not yet freed (CFSTR constants never count), and
// blocks from CFAllocatorAllocate not yet deallocated.
KESTRANE_STANDIN_API long StandInLiveCFObjects();
KESTRANE_STANDIN_API long StandInLiveCFBlocks();
// The identifier CFBundleGetMainBundle reports (the host application's); an
// empty or null one means a main bundle without identifier.
KESTRANE_STANDIN_API void StandInSetMainBundleIdentifier(const char* identifier);
// A bundle CFBundleGetBundleWithIdentifier finds, with its location.
KESTRANE_STANDIN_API void StandInRegisterBundle(const char* identifier, const char* path);
// The path of a URL made by CFBundleCopyBundleURL; "" for anything else.
KESTRANE_STANDIN_API const char* StandInURLPath(CFURLRef url);

// ---- AudioToolbox ----

// Every event handed to AUEventListenerNotify since the last clear, in order.
KESTRANE_STANDIN_API std::size_t StandInEventCount();
KESTRANE_STANDIN_API AudioUnitEvent StandInEvent(std::size_t index);
KESTRANE_STANDIN_API void StandInClearEvents();
