#pragma once

// What a modulation source ("ENV Target", "LFO1 Target") moves. The codes are
// the entries of both target parameters.
enum ModulationTarget : int
{
  kTargetNone = 0,      // "No Assign"
  kTargetFreq = 1,      // "Filter Freq": cutoff in Hz
  kTargetBandwidth = 2, // "Filter Bandwidth": fraction
  kTargetPan = 3,       // "Filter Pan": fraction, -1 .. 1
  kTargetMix = 4,       // "Filter Mix": wet gain, 0 .. 1
  kTargetCount = 5
};
