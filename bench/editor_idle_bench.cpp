// What one effEditIdle costs a Linux host's GUI thread, with the editor
// window open in a (virtual) X server: between redraw ticks, and on a tick
// while the audio moves the modulation markers. Goal: under 0.2 ms, so a
// host's GUI never stutters. Run it under a server, e.g.
//   tests/linux-window/run-under-xvfb.sh build/release/bench/editor_idle_bench
// Prints the median and the 90th percentile of each kind of call, in wall
// time and in the calling thread's processor time (the difference is time
// spent waiting, for the server or for a processor on a loaded machine).
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/linux-window/support/X11TestHost.h"

namespace
{
using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d)
{
  return std::chrono::duration<double, std::micro>(d).count();
}

double ThreadMicroseconds()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

struct Samples
{
  std::vector<double> wall;
  std::vector<double> cpu;
};

// One effEditIdle, timed.
void TimedIdle(PluginInstance& plugin, Samples* samples)
{
  const double cpuStart = ThreadMicroseconds();
  const Clock::time_point start = Clock::now();
  plugin.Dispatch(effEditIdle);
  samples->wall.push_back(Microseconds(Clock::now() - start));
  samples->cpu.push_back(ThreadMicroseconds() - cpuStart);
}

void Report(const char* what, Samples samples)
{
  auto at = [](std::vector<double>& v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(static_cast<double>(v.size() - 1) * q)];
  };
  std::printf("%-46s wall median %7.1f us p90 %7.1f us | cpu median %7.1f us p90 %7.1f us (%zu calls)\n", what,
              at(samples.wall, 0.5), at(samples.wall, 0.9), at(samples.cpu, 0.5), at(samples.cpu, 0.9),
              samples.wall.size());
}

// A block of a note held through the envelope, so both sources move.
class Audio
{
public:
  explicit Audio(PluginInstance& plugin) : mPlugin(plugin), mIn(2, std::vector<float>(kBlock, 0.1f)), mOut(2, std::vector<float>(kBlock))
  {
    mEvents.AddMidi(0, 0x90, 60, 100);
    for (int c = 0; c < 2; ++c)
    {
      mInPtr[c] = mIn[static_cast<size_t>(c)].data();
      mOutPtr[c] = mOut[static_cast<size_t>(c)].data();
    }
  }
  void Blocks(int n)
  {
    for (int i = 0; i < n; ++i)
    {
      mPlugin.Dispatch(effProcessEvents, 0, 0, mFirst ? mEvents.Events() : mEmpty.Events());
      mFirst = false;
      mPlugin.effect->processReplacing(mPlugin.effect, mInPtr, mOutPtr, kBlock);
    }
  }

private:
  static constexpr int kBlock = 512;
  PluginInstance& mPlugin;
  std::vector<std::vector<float>> mIn, mOut;
  float* mInPtr[2] = {};
  float* mOutPtr[2] = {};
  EventList mEvents, mEmpty;
  bool mFirst = true;
};
} // namespace

int main()
{
  X11TestDisplay x11;
  if (!x11.Ready())
  {
    std::fprintf(stderr, "editor_idle_bench: no X server: run it under xvfb-run or on a desktop\n");
    return 1;
  }
  PluginLibrary library(KESTRANE_PLUGIN_LIBRARY);
  EditorSession session(x11, library);
  if (!session.Open())
  {
    std::fprintf(stderr, "editor_idle_bench: the plug-in opened no editor window\n");
    return 1;
  }
  // The demonstration preset: its LFO moves the mix, its envelope the cutoff.
  for (int i = 0; i < session.plugin.effect->numPrograms; ++i)
    if (session.plugin.Text(effGetProgramNameIndexed, i) == "Oscillating Filter") session.plugin.Dispatch(effSetProgram, 0, i);
  session.plugin.host.time.tempo = 120.0;
  session.plugin.host.time.sampleRate = 48000.0;
  session.plugin.host.time.timeSigNumerator = 4;
  session.plugin.host.time.timeSigDenominator = 4;
  session.plugin.host.time.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying;
  Audio audio(session.plugin);
  session.IdleFor(200);

  // Between ticks: events drained, nothing to draw. Ticks (every 1/24 s)
  // fall among these calls now and then; the median is the plain call.
  Samples between;
  for (int i = 0; i < 20000; ++i) TimedIdle(session.plugin, &between);
  Report("idle between ticks (nothing due)", between);

  // The first idle after a tick falls due, with 1/24 s of audio processed
  // since the last: the markers moved, the dirty area is painted and put.
  Samples ticking;
  for (int i = 0; i < 120; ++i)
  {
    audio.Blocks(4);
    std::this_thread::sleep_for(std::chrono::milliseconds(42));
    TimedIdle(session.plugin, &ticking);
  }
  Report("idle with a tick, modulation moving", ticking);

  // A tick with no audio: only the markers' tracks, unchanged, redrawn.
  Samples still;
  for (int i = 0; i < 120; ++i)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(42));
    TimedIdle(session.plugin, &still);
  }
  Report("idle with a tick, nothing moving", still);
  return 0;
}
