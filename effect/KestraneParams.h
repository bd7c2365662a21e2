#pragma once

// Parameter indices of the effect, in the order hosts see them.
enum EKestraneParam : int
{
  kFilterType = 0,       // enum: "Lowpass", "Highpass", "Bandpass"
  kFilterFreq,           // int 20 .. 20000 Hz, shape 2
  kFilterBandwidth,      // int 1 .. 100 %
  kFilterPan,            // int -100 .. 100 %
  kFilterMix,            // int 0 .. 100 %
  kEnvTarget,            // enum: target list
  kEnvAttack,            // int 0 .. 16000 ms
  kEnvDecay,             // int 0 .. 16000 ms
  kEnvSustain,           // int 0 .. 100 %
  kEnvRelease,           // int 0 .. 16000 ms
  kEnvDepth,             // int 0 .. 100 %
  kEnvDirection,         // enum: "Up", "Down"
  kEnvVolCompensation,   // int 0 .. 24 dB
  kEnvCompensation,      // enum: "Left", "Right", "Both"
  kLfoTarget,            // enum: target list
  kLfoWave,              // enum: six wave shapes
  kLfoSync,              // enum: "No", "Yes"
  kLfoRateSync,          // enum: the 31 note divisions
  kLfoRateMs,            // int 60 .. 64000 ms, shape 2
  kLfoEnvChild,          // enum: "No", "Yes"
  kLfoDepth,             // int 0 .. 100 %
  kLfoStart,             // int 0 .. 100 %
  kLfoVolCompensation,   // int 0 .. 24 dB
  kLfoCompensation,      // enum: "Left", "Right", "Both"
  kNumKestraneParams
};

constexpr int kNumKestranePresets = 30;
