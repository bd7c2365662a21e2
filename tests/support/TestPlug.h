#pragma once

#include <vector>

#include "tests/support/IPlugTest.h"

// A small plug-in on the test wrapper for exercising the core: parameters of
// every kind, a handful of preset slots, and a log of applied parameters.
class TestPlug : public IPlugTest
{
public:
  enum Params
  {
    kType,   // enum: "Lowpass", "Highpass", "Bandpass"
    kFreq,   // int 20..20000 Hz, shape 2
    kPan,    // int -100..100
    kAmount, // double 0..1, step 0.01
    kNumParams
  };

  explicit TestPlug(int nPresets = 4, const char* channelIO = "1-1 2-2", int nParams = kNumParams)
      : IPlugTest(InstanceInfo{}, nParams, channelIO, nPresets, "Test Effect", "Test Product", "Test Maker",
                  0x00010100, 0x796A6A33, 0x4F6C7644, 0, 1, false, false)
  {
    if (nParams == kNumParams)
    {
      Param(kType)->SetupEnum("Type", 1, 3);
      Param(kType)->AddDisplayText(0, "Lowpass");
      Param(kType)->AddDisplayText(1, "Highpass");
      Param(kType)->AddDisplayText(2, "Bandpass");
      Param(kFreq)->SetupInt("Freq", 1000, 20, 20000, "Hz");
      Param(kFreq)->SetShapeExponent(2.0);
      Param(kPan)->SetupInt("Pan", 0, -100, 100, "%");
      Param(kAmount)->SetupDouble("Amount", 0.5, 0.0, 1.0, 0.01);
    }
    else
    {
      for (int i = 0; i < nParams; ++i) Param(i)->SetupInt("P", 0, -1000000, 1000000);
    }
  }

  void ApplyParamChange(int paramIdx) override { mApplied.push_back(paramIdx); }

  void ProcessBlock(double** inputs, double** outputs, int nFrames) override
  {
    ++mBlocks;
    mLastFrames = nFrames;
    // A stand-in effect: output = 2 x input, so tests can see it ran.
    for (int c = 0; c < OutputCount(); ++c)
      for (int s = 0; s < nFrames; ++s) outputs[c][s] = 2.0 * inputs[c < InputCount() ? c : 0][s];
  }

  std::vector<int> mApplied;
  int mBlocks = 0;
  int mLastFrames = 0;
};
