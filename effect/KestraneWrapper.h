#pragma once

// The host wrapper this build of the effect derives from. Each build target
// names it with two definitions (see kestrane_add_effect in
// effect/CMakeLists.txt), so the effect's sources never include a wrapper by
// name.
#include KESTRANE_WRAPPER_HEADER

using KestraneWrapper = KESTRANE_WRAPPER_CLASS;
using KestraneInstanceInfo = KestraneWrapper::InstanceInfo;
