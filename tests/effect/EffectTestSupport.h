#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "controls/ModulationMarks.h"
#include "effect/Kestrane.h"
#include "effect/ModulationTarget.h"
#include "tests/support/RecordingEditor.h"

// Shared helpers of the effect's tests: a plug-in object on the test wrapper,
// parameter setting by real value, stereo buffers and signals.
namespace effect_test
{

using Call = IPlugTest::HostCall;

// An editor that records what the effect shows and, like the real one, turns
// SetControlsFromUserInput into a user edit of the bound parameter.
class EffectEditor : public RecordingEditor
{
public:
  struct Hidden
  {
    int paramIdx;
    bool hide;
  };
  struct ControlValue
  {
    int controlIdx;
    double value;
  };

  explicit EffectEditor(IPlugBase* plug) : RecordingEditor(plug) {}

  void SetControlHidden(int paramIdx, bool hide) override { mHidden.push_back({paramIdx, hide}); }
  void ShowControlValue(int controlIdx, double value) override { mControlValues.push_back({controlIdx, value}); }
  void SetControlsFromUserInput(int paramIdx, double normalized) override
  {
    mUserInput.push_back(paramIdx);
    mPlug->SetParameterFromEditor(paramIdx, normalized);
  }

  std::vector<Hidden> mHidden;
  std::vector<ControlValue> mControlValues;
  std::vector<int> mUserInput;
};

// Sets a parameter's real value and applies it, as a restored state does.
inline void Set(CLS_KESTRANE& plug, int paramIdx, double value)
{
  WDL_MutexLock lock(plug.PlugLock());
  plug.Param(paramIdx)->SetClamped(value);
  plug.ApplyParamChange(paramIdx);
}

// A plug-in at `rate`, opened by the host (every parameter applied once).
inline void OpenAt(CLS_KESTRANE& plug, double rate)
{
  plug.SetSampleRate(rate);
  plug.Open();
}

inline MidiMessage Midi(int status, int data1, int data2)
{
  MidiMessage m;
  m.mStatusByte = static_cast<uint8_t>(status);
  m.mByte1 = static_cast<uint8_t>(data1);
  m.mByte2 = static_cast<uint8_t>(data2);
  return m;
}

inline void NoteOn(CLS_KESTRANE& plug, int channel = 0)
{
  plug.SendMidi(Midi(0x90 | channel, 60, 100));
}

inline void NoteOff(CLS_KESTRANE& plug, int channel = 0)
{
  plug.SendMidi(Midi(0x80 | channel, 60, 0));
}

// Two channels of input and output.
struct Stereo
{
  explicit Stereo(int frames) : in{std::vector<double>(frames), std::vector<double>(frames)},
                                out{std::vector<double>(frames), std::vector<double>(frames)}
  {
    for (int c = 0; c < 2; ++c)
    {
      ins[c] = in[c].data();
      outs[c] = out[c].data();
    }
  }
  int Frames() const { return static_cast<int>(in[0].size()); }
  void Fill(double left, double right)
  {
    for (int s = 0; s < Frames(); ++s)
    {
      in[0][s] = left;
      in[1][s] = right;
    }
  }
  // Deterministic white noise in -0.5 .. 0.5, a different sequence per channel.
  void Noise(uint32_t seed)
  {
    uint32_t state = seed;
    for (int c = 0; c < 2; ++c)
      for (double& v : in[c])
      {
        state = state * 1664525u + 1013904223u;
        v = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
      }
  }
  // A sine of `amplitude` at `hz`, the same on both channels.
  void Sine(double hz, double rate, double amplitude)
  {
    for (int s = 0; s < Frames(); ++s)
      in[0][s] = in[1][s] = amplitude * std::sin(2.0 * 3.141592653589793 * hz * s / rate);
  }

  std::vector<double> in[2];
  std::vector<double> out[2];
  double* ins[2];
  double* outs[2];
};

inline void Process(CLS_KESTRANE& plug, Stereo& buffers)
{
  plug.ProcessDouble(buffers.ins, buffers.outs, buffers.Frames());
}

// Runs `frames` frames of silence (in chunks the test wrapper's scratch
// holds), for moving the modulation sources along.
inline void Advance(CLS_KESTRANE& plug, int frames)
{
  Stereo block(512);
  while (frames > 0)
  {
    const int n = frames < 512 ? frames : 512;
    plug.ProcessDouble(block.ins, block.outs, n);
    frames -= n;
  }
}

// Amplitude of the `hz` component of samples [from, to), which must span a
// whole number of periods.
inline double Amplitude(const std::vector<double>& x, int from, int to, double hz, double rate)
{
  double a = 0.0;
  double b = 0.0;
  for (int s = from; s < to; ++s)
  {
    const double phase = 2.0 * 3.141592653589793 * hz * s / rate;
    a += x[s] * std::sin(phase);
    b += x[s] * std::cos(phase);
  }
  const double n = to - from;
  return 2.0 * std::sqrt(a * a + b * b) / n;
}

inline bool AllFinite(const Stereo& b)
{
  for (int c = 0; c < 2; ++c)
    for (double v : b.out[c])
      if (!std::isfinite(v)) return false;
  return true;
}

} // namespace effect_test
