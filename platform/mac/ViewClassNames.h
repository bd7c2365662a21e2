#pragma once

// The Objective-C class names of the editor's view and of the view factory
// the Audio Unit host instantiates by name. Objective-C has one class
// namespace per process, so two builds of this view loaded into one host
// must not share a name: a release build may give both names of its own
// (KESTRANE_VIEW_FACTORY_CLASS, KESTRANE_VIEW_CLASS; see
// platform/mac/CMakeLists.txt), and the code, which always says
// CLS_KESTRANE_View and KestraneAU, then declares and uses those.
#define KESTRANE_STRINGIFY2(x) #x
#define KESTRANE_STRINGIFY(x) KESTRANE_STRINGIFY2(x)

#if defined(KESTRANE_VIEW_FACTORY_CLASS)
#define CLS_KESTRANE_View KESTRANE_VIEW_FACTORY_CLASS
// The factory's name as the wrapper publishes it.
#define KESTRANE_VIEW_FACTORY_NAME KESTRANE_STRINGIFY(KESTRANE_VIEW_FACTORY_CLASS)
#else
#define KESTRANE_VIEW_FACTORY_NAME "CLS_KESTRANE_View"
#endif

#if defined(KESTRANE_VIEW_CLASS)
#define KestraneAU KESTRANE_VIEW_CLASS
#endif
