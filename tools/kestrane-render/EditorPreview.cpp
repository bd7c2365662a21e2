#include "tools/kestrane-render/EditorPreview.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGWrite.h"
#include "tools/kestrane-render/HostWindow.h"
#include "tools/kestrane-render/MidiSchedule.h"
#include "tools/kestrane-render/SignalSource.h"
#include "tools/kestrane-render/ToolError.h"
#include "tools/kestrane-render/VstPlugin.h"

namespace
{
using Clock = std::chrono::steady_clock;

// Hosts idle their editors every 10 to 50 ms; the faster end shows stutter.
constexpr auto kIdleInterval = std::chrono::milliseconds(10);

volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int)
{
  gInterrupted = 1;
}

// The generated chord and the schedule, run through the plug-in block by
// block and started again at the end of the loop.
class AudioLoop
{
public:
  AudioLoop(VstPlugin& plugin, MidiSchedule& schedule, const PreviewOptions& options)
      : mPlugin(plugin),
        mSchedule(schedule),
        mSampleRate(options.sampleRate),
        mBlock(options.blockSize),
        mLoopFrames(std::max<int64_t>(options.blockSize, std::llround(options.loopSeconds * options.sampleRate))),
        mRead(static_cast<size_t>(mBlock) * 2),
        mInputs(static_cast<size_t>(std::max(plugin.Effect()->numInputs, 1)), std::vector<float>(mBlock)),
        mOutputs(static_cast<size_t>(std::max(plugin.Effect()->numOutputs, 1)), std::vector<float>(mBlock))
  {
    for (auto& channel : mInputs) mInputPointers.push_back(channel.data());
    for (auto& channel : mOutputs) mOutputPointers.push_back(channel.data());
    Restart();
  }

  // Processes whole blocks until the audio has caught up with `seconds` of
  // wall-clock time.
  void RunUntil(double seconds)
  {
    const int64_t target = static_cast<int64_t>(seconds * mSampleRate);
    while (mDone + mBlock <= target)
    {
      if (mPosition + mBlock > mLoopFrames) Restart();
      mSignal->Read(mRead.data(), mBlock);
      for (size_t c = 0; c < mInputs.size(); ++c)
        for (int s = 0; s < mBlock; ++s) mInputs[c][static_cast<size_t>(s)] = mRead[static_cast<size_t>(s * 2 + c % 2)];
      mPlugin.SetSamplePosition(mPosition);
      mPlugin.ProcessEvents(mSchedule.EventsForBlock(mPosition, mBlock));
      mPlugin.Process(mInputPointers.data(), mOutputPointers.data(), mBlock);
      mPosition += mBlock;
      mDone += mBlock;
    }
  }

private:
  void Restart()
  {
    mSignal = std::make_unique<TestSignal>(mSampleRate, mLoopFrames);
    mSchedule.Prepare();
    mPosition = 0;
  }

  VstPlugin& mPlugin;
  MidiSchedule& mSchedule;
  double mSampleRate;
  int mBlock;
  int64_t mLoopFrames;
  std::unique_ptr<TestSignal> mSignal;
  std::vector<float> mRead;
  std::vector<std::vector<float>> mInputs;
  std::vector<std::vector<float>> mOutputs;
  std::vector<float*> mInputPointers;
  std::vector<float*> mOutputPointers;
  int64_t mPosition = 0;
  int64_t mDone = 0;
};
} // namespace

void RunEditorPreview(VstPlugin& plugin, MidiSchedule& schedule, const PreviewOptions& options)
{
  ERect* rect = nullptr;
  if (!(plugin.Effect()->flags & effFlagsHasEditor) || !plugin.Dispatch(effEditGetRect, 0, 0, &rect) || !rect ||
      rect->right - rect->left <= 0 || rect->bottom - rect->top <= 0)
    throw ToolError("the plug-in '" + plugin.Path() + "' offers no editor window (--gui)");
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;

  HostWindow window(width, height, plugin.EffectName() + " - " + plugin.ProgramName());
  if (!plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window.Id()))))
    throw ToolError("the plug-in '" + plugin.Path() + "' could not open its editor (--gui)");

  gInterrupted = 0;
  auto previousInt = std::signal(SIGINT, OnInterrupt);
  auto previousTerm = std::signal(SIGTERM, OnInterrupt);

  AudioLoop audio(plugin, schedule, options);
  const Clock::time_point start = Clock::now();
  Clock::time_point next = start;
  while (window.HandleEvents() && !gInterrupted)
  {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (options.seconds > 0 && elapsed >= options.seconds) break;
    audio.RunUntil(elapsed);
    plugin.Dispatch(effEditIdle);
    next += kIdleInterval;
    std::this_thread::sleep_until(next);
    if (Clock::now() - next > kIdleInterval) next = Clock::now();
  }

  std::signal(SIGINT, previousInt);
  std::signal(SIGTERM, previousTerm);
  bool pictured = true;
  if (!options.screenshot.empty())
  {
    LICE_MemBitmap picture;
    pictured = window.Capture(&picture) && LICE_WritePNG(options.screenshot.c_str(), &picture, false);
  }
  plugin.Dispatch(effEditClose);
  if (!pictured) throw ToolError("cannot write the window's picture to '" + options.screenshot + "'");
}
