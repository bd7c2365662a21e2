#pragma once

struct Envelope;
struct Filter;
struct Lfo;

// Where the modulation sources stood at the end of a block, for the
// modulation displays. A source that did not run leaves its output at 0.
struct ModulationOutputs
{
  bool envRan = false;
  bool lfoRan = false;
  double envOut = 0.0;
  double lfoOut = 0.0;
};

// The effect's signal path for one block of stereo frames: for every frame
// the envelope and the LFO (those that run: the envelope with a target or
// carrying the LFO, the LFO with a target of its own and a period) move the
// filter's current values, the coefficients follow the frame's cutoff and
// bandwidth, and the filter and output stage write the frame. inputs and
// outputs hold two channel pointers each (left, right; in place allowed);
// nFrames > 0. [audio thread, plug-in mutex held: allocates nothing]
ModulationOutputs RunModulatedFilterLoop(Envelope& env, Lfo& lfo, Filter& filter, double** inputs, double** outputs,
                                         int nFrames);
