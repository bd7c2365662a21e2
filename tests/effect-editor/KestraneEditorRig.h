#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "effect/Kestrane.h"
#include "effect/KestraneEditorLayout.h"
#include "platform/linux/IGraphicsHeadless.h"

// The effect on the test wrapper with the editor its constructor built, as
// a host has it after opening the plug-in at 48 kHz and 120 BPM.
namespace effecteditortest
{
using Call = IPlugTest::HostCall;
namespace layout = kestrane_layout;

struct KestraneEditorRig
{
  KestraneEditorRig()
  {
    editor = dynamic_cast<IGraphicsHeadless*>(plug.Editor());
    plug.SetTempo(120.0);
    plug.SetSampleRate(48000.0);
    plug.Open();
    plug.ClearCalls();
  }

  template <class T>
  T* Control(int index) const
  {
    return dynamic_cast<T*>(editor->GetControl(index));
  }
  void Click(int x, int y, bool right = false)
  {
    MouseMods mods(!right, right);
    editor->MouseDown(x, y, &mods);
    editor->MouseUp(x, y, &mods);
  }
  // Sets a parameter's real value as host automation does.
  void HostSets(int paramIdx, double value)
  {
    const IParam* param = plug.Param(paramIdx);
    plug.SetParameterFromHost(paramIdx, param->ToNormalized(value));
  }
  double Value(int paramIdx) const { return plug.Param(paramIdx)->CurrentValue(); }
  // Runs blocks of silence.
  void Process(int frames)
  {
    std::vector<double> in(512, 0.0), outL(512), outR(512);
    double* ins[2] = {in.data(), in.data()};
    double* outs[2] = {outL.data(), outR.data()};
    while (frames > 0)
    {
      const int n = frames < 512 ? frames : 512;
      plug.ProcessDouble(ins, outs, n);
      frames -= n;
    }
  }
  std::vector<Call::Kind> Gesture(int paramIdx) const
  {
    return plug.GestureOf(paramIdx);
  }

  CLS_KESTRANE plug{IPlugTest::InstanceInfo{}};
  IGraphicsHeadless* editor = nullptr;
};

const std::vector<Call::Kind> kGesture = {Call::kBeginEdit, Call::kAutomate, Call::kEndEdit};
} // namespace effecteditortest
