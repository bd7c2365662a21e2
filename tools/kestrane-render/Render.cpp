#include "tools/kestrane-render/Render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "tools/kestrane-render/AudioFile.h"
#include "tools/kestrane-render/MidiSchedule.h"
#include "tools/kestrane-render/ProgressBar.h"
#include "tools/kestrane-render/SignalSource.h"
#include "tools/kestrane-render/VstPlugin.h"

namespace
{
using Clock = std::chrono::steady_clock;

struct Level
{
  double peak = 0.0;
  double sumSquares = 0.0;
  int64_t samples = 0;

  template <class T>
  void Add(const T* data, std::size_t count)
  {
    // Four independent lanes, so the loop is not one long dependency chain.
    double peaks[4] = {};
    double sums[4] = {};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
    {
      for (std::size_t lane = 0; lane < 4; ++lane)
      {
        const double v = data[i + lane];
        peaks[lane] = std::max(peaks[lane], std::fabs(v));
        sums[lane] += v * v;
      }
    }
    for (; i < count; ++i)
    {
      const double v = data[i];
      peaks[0] = std::max(peaks[0], std::fabs(v));
      sums[0] += v * v;
    }
    peak = std::max({peak, peaks[0], peaks[1], peaks[2], peaks[3]});
    sumSquares += (sums[0] + sums[1]) + (sums[2] + sums[3]);
    samples += static_cast<int64_t>(count);
  }
  double Rms() const { return samples > 0 ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0.0; }
};

template <class T>
RenderStats RenderWith(VstPlugin& plugin, SignalSource& source, MidiSchedule& schedule, AudioFileWriter* writer,
                       const RenderOptions& options)
{
  const int block = options.blockSize;
  const int sourceChannels = source.Channels();
  const int numInputs = std::max(plugin.Effect()->numInputs, 0);
  const int numOutputs = std::max(plugin.Effect()->numOutputs, 0);
  const int fileChannels = std::min(std::max(numOutputs, 1), 2);

  // Every buffer is sized once, before the first block.
  std::vector<T> readBuffer(static_cast<std::size_t>(block * sourceChannels));
  std::vector<T> writeBuffer(static_cast<std::size_t>(block * fileChannels));
  std::vector<std::vector<T>> inputs(static_cast<std::size_t>(std::max(numInputs, 1)), std::vector<T>(block));
  std::vector<std::vector<T>> outputs(static_cast<std::size_t>(std::max(numOutputs, 1)), std::vector<T>(block));
  std::vector<T*> inputPointers;
  std::vector<T*> outputPointers;
  for (auto& channel : inputs) inputPointers.push_back(channel.data());
  for (auto& channel : outputs) outputPointers.push_back(channel.data());

  RenderStats stats;
  Level in;
  Level out;
  ProgressBar progress(options.showProgress);
  const int64_t total = source.Frames();
  const Clock::time_point start = Clock::now();
  Clock::duration inPlugin{};

  for (int64_t position = 0; position < total; position += block)
  {
    const int n = static_cast<int>(std::min<int64_t>(block, total - position));
    const int got = source.Read(readBuffer.data(), n);
    // A source that ends early (a file shorter than its header says) goes on
    // as silence.
    std::fill(readBuffer.begin() + got * sourceChannels, readBuffer.begin() + n * sourceChannels, T(0));
    in.Add(readBuffer.data(), static_cast<std::size_t>(n * sourceChannels));
    // Mono sources feed every input.
    for (int c = 0; c < numInputs; ++c)
    {
      T* channel = inputs[static_cast<std::size_t>(c)].data();
      const int from = c % sourceChannels;
      for (int s = 0; s < n; ++s) channel[s] = readBuffer[static_cast<std::size_t>(s * sourceChannels + from)];
    }

    plugin.SetSamplePosition(position);
    VstEvents* events = schedule.EventsForBlock(position, n);
    stats.eventsIn += events->numEvents;
    const Clock::time_point before = Clock::now();
    // Hosts send the list every block, empty or not.
    plugin.ProcessEvents(events);
    plugin.Process(inputPointers.data(), outputPointers.data(), n);
    inPlugin += Clock::now() - before;

    for (int s = 0; s < n; ++s)
      for (int c = 0; c < fileChannels; ++c)
        writeBuffer[static_cast<std::size_t>(s * fileChannels + c)] =
            c < numOutputs ? outputs[static_cast<std::size_t>(c)][static_cast<std::size_t>(s)] : T(0);
    out.Add(writeBuffer.data(), static_cast<std::size_t>(n * fileChannels));
    if (writer) writer->Write(writeBuffer.data(), n);
    progress.Update(position + n, total);
  }
  progress.Finish();

  stats.frames = total;
  stats.wallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  stats.pluginSeconds = std::chrono::duration<double>(inPlugin).count();
  stats.inputPeak = in.peak;
  stats.inputRms = in.Rms();
  stats.outputPeak = out.peak;
  stats.outputRms = out.Rms();
  return stats;
}
} // namespace

RenderStats Render(VstPlugin& plugin, SignalSource& source, MidiSchedule& schedule, AudioFileWriter* writer,
                   const RenderOptions& options)
{
  if (options.useDouble) return RenderWith<double>(plugin, source, schedule, writer, options);
  return RenderWith<float>(plugin, source, schedule, writer, options);
}
