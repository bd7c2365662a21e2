#pragma once

#include "tests/au/support/AuHost.h"

// A generator Audio Unit to connect upstream of the unit under test: stereo
// 32-bit float output of TestInput at the time stamp's sample time, rendered
// through its own buffers when the caller passes none. It may offer its fast
// render function or refuse it (then it is pulled through AudioUnitRender).
struct GeneratorState
{
  bool offerFastRender = true;
  int renders = 0; // render calls on either path
  float samples[2][8192] = {};
};

// Registered once; every instance has its own GeneratorState as storage.
Component GeneratorComponent();
GeneratorState* Generator(AudioUnit unit);
