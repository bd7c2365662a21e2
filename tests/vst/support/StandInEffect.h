#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "wrappers/vst/IPlugVST.h"

// A small effect on the VST 2 wrapper for tests, test plug-in libraries and
// fuzzers: parameters of every kind (two of them sharing a name, as hosts meet
// in real plug-ins), named and empty preset slots, MIDI passed through to the
// host, and a stateful process (filter and tempo-synced LFO) so that separate
// instances and precisions can be compared.
class StandInEffect : public IPlugVST
{
public:
  enum Params
  {
    kFilterType, // enum "Lowpass", "Highpass", "Bandpass"
    kFilterFreq, // int 20..20000 Hz, shape 2
    kFilterPan,  // int -100..100 %
    kMix,        // double 0..1, step 0.01
    kLfoSync,    // enum "No", "Yes"
    kLfoDivision, // enum "1/4", "1/2", "1/1", named "LFO1 Rate"
    kLfoMillis,  // int 60..64000 ms, also named "LFO1 Rate"
    kLfoDepth,   // int 0..100 %
    kNumParams
  };
  static constexpr int kNumPresets = 8;
  static constexpr int kUniqueID = 0x4B735374; // 'KsSt'
  static constexpr double kTwoPi = 6.283185307179586;

  explicit StandInEffect(InstanceInfo info)
      : IPlugVST(info, kNumParams, "1-1 2-2", kNumPresets, "Stand-In", "Stand-In Product", "Olvendu Tests",
                 0x00010100, kUniqueID, 0x4F6C7644, 0, 1, false, false)
  {
    Param(kFilterType)->SetupEnum("Filter Type", 1, 3);
    Param(kFilterType)->AddDisplayText(0, "Lowpass");
    Param(kFilterType)->AddDisplayText(1, "Highpass");
    Param(kFilterType)->AddDisplayText(2, "Bandpass");
    Param(kFilterFreq)->SetupInt("Filter Freq", 1000, 20, 20000, "Hz");
    Param(kFilterFreq)->SetShapeExponent(2.0);
    Param(kFilterPan)->SetupInt("Filter Pan", 0, -100, 100, "%");
    Param(kMix)->SetupDouble("Mix", 1.0, 0.0, 1.0, 0.01);
    Param(kLfoSync)->SetupEnum("LFO1 Sync", 1, 2);
    Param(kLfoSync)->AddDisplayText(0, "No");
    Param(kLfoSync)->AddDisplayText(1, "Yes");
    Param(kLfoDivision)->SetupEnum("LFO1 Rate", 0, 3);
    Param(kLfoDivision)->AddDisplayText(0, "1/4");
    Param(kLfoDivision)->AddDisplayText(1, "1/2");
    Param(kLfoDivision)->AddDisplayText(2, "1/1");
    Param(kLfoMillis)->SetupInt("LFO1 Rate", 2000, 60, 64000, "ms");
    Param(kLfoMillis)->SetShapeExponent(2.0);
    Param(kLfoDepth)->SetupInt("LFO1 Depth", 50, 0, 100, "%");

    NameFreePresets("---- default ----", 1);
    const double oscillating[kNumParams] = {2, 3000, 0, 1, 1, 0, 2000, 100};
    MakePresetFromValues("Oscillating Filter", oscillating, kNumParams);
    const double bright[kNumParams] = {1, 8000, 0, 1, 0, 0, 500, 30};
    MakePresetFromValues("Bright", bright, kNumParams);
    const double sweep[kNumParams] = {0, 600, -50, 0.5, 1, 2, 2000, 80};
    MakePresetFromValues("Slow Sweep", sweep, kNumParams);
  }

  void ApplyParamChange(int paramIdx) override
  {
    WDL_MutexLock lock(PlugLock());
    if (paramIdx < 0 || paramIdx >= kNumParams) return;
    ++mApplyCount[static_cast<std::size_t>(paramIdx)];
    mAppliedMask |= 1u << paramIdx;
    if (mAppliedMask == (1u << kNumParams) - 1) SetReady(true);
  }

  void ResetEngine() override
  {
    WDL_MutexLock lock(PlugLock());
    ++mResetCount;
    mLfoPhase = 0.0;
    mLow = {};
    mBand = {};
  }

  void Activated(bool active) override
  {
    WDL_MutexLock lock(PlugLock());
    mActive = active;
  }

  void ProcessMidiMessage(const MidiMessage& message) override
  {
    if ((message.mStatusByte & 0xF0) == 0x90 && message.mByte2 > 0) ++mNotesOn;
    mLastMidiOffset = message.mFrameOffset;
    SendMidiMessage(message);
  }

  void HandleSysEx(const SysExMessage& message) override
  {
    ++mSysExCount;
    mSysExBytes += message.mByteCount;
    SendSysExMessage(message);
  }

  void ProcessBlock(double** inputs, double** outputs, int nFrames) override
  {
    ++mBlocks;
    const int type = static_cast<int>(Param(kFilterType)->CurrentValue());
    const double freq = Param(kFilterFreq)->CurrentValue();
    const double pan = Param(kFilterPan)->CurrentValue() * 0.01;
    const double mix = Param(kMix)->CurrentValue();
    const double depth = Param(kLfoDepth)->CurrentValue() * 0.01;

    // LFO period in samples: note divisions follow the host's tempo.
    double period = 0.0;
    if (Param(kLfoSync)->CurrentValue() > 0.5)
      period = SamplesPerBeat() * std::pow(2.0, Param(kLfoDivision)->CurrentValue());
    else
      period = Param(kLfoMillis)->CurrentValue() * 0.001 * SampleRate();
    const double phaseStep = period > 0.0 ? 1.0 / period : 0.0;

    const double gains[2] = {pan > 0.0 ? 1.0 - pan : 1.0, pan < 0.0 ? 1.0 + pan : 1.0};
    for (int s = 0; s < nFrames; ++s)
    {
      const double lfo = std::sin(kTwoPi * mLfoPhase);
      mLfoPhase += phaseStep;
      if (mLfoPhase >= 1.0) mLfoPhase -= 1.0;
      const double cutoff = std::min(freq * std::pow(2.0, depth * 2.0 * lfo), 0.45 * SampleRate());
      const double k = 1.0 - std::exp(-kTwoPi * cutoff / SampleRate());
      for (int c = 0; c < 2; ++c)
      {
        const double x = inputs[c][s];
        mLow[c] += k * (x - mLow[c]);
        mBand[c] += k * ((x - mLow[c]) - mBand[c]);
        const double wet = type == 0 ? mLow[c] : type == 1 ? x - mLow[c] : mBand[c];
        outputs[c][s] = gains[c] * (mix * wet + (1.0 - mix) * x);
      }
    }
  }

  // ---- What tests look at ----
  std::array<int, kNumParams> mApplyCount{};
  unsigned mAppliedMask = 0;
  int mResetCount = 0;
  int mBlocks = 0;
  int mNotesOn = 0;
  int mLastMidiOffset = -1;
  int mSysExCount = 0;
  int mSysExBytes = 0;
  bool mActive = false;

private:
  double mLfoPhase = 0.0;
  std::array<double, 2> mLow{};
  std::array<double, 2> mBand{};
};
