#include "tools/kestrane-render/Render.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>
#include <vector>

#include "tools/kestrane-render/AudioFile.h"
#include "tools/kestrane-render/HandoffQueue.h"
#include "tools/kestrane-render/MidiSchedule.h"
#include "tools/kestrane-render/ProgressBar.h"
#include "tools/kestrane-render/SignalSource.h"
#include "tools/kestrane-render/VstPlugin.h"

// The render runs as three stages on three threads: a reader fills blocks of
// interleaved input from the source, the calling thread runs them through the
// plug-in, a writer hands the interleaved output to libsndfile (which converts
// and writes it). Reading, processing and writing of neighbouring blocks
// overlap; blocks go round between the stages, so nothing is allocated once
// the render runs and the stages never get more than a few blocks apart.
namespace
{
using Clock = std::chrono::steady_clock;

// Frames per block handed between the stages: whole host blocks, about this
// many frames, so the hand-overs cost nothing next to the work.
constexpr int kStageFrames = 16384;
constexpr int kBlocksPerStage = 3;

struct Level
{
  double peak = 0.0;
  double sumSquares = 0.0;
  int64_t samples = 0;

  // Copies `count` samples from every `fromStride`-th of `from` to every
  // `toStride`-th of `to` (`to` null: measure only), measuring them on the
  // way.
  template <class T>
  void CopyMeasured(const T* from, int fromStride, T* to, int toStride, int count)
  {
    if (to)
      Measure<true>(from, fromStride, to, toStride, count);
    else
      Measure<false>(from, fromStride, to, toStride, count);
  }

  template <bool kCopy, class T>
  void Measure(const T* from, int fromStride, T* to, int toStride, int count)
  {
    // Four independent lanes in registers, so the loop is not one long
    // dependency chain of additions.
    double p0 = 0.0, p1 = 0.0, p2 = 0.0, p3 = 0.0;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    auto take = [&](int i, double& p, double& sum) {
      const T v = from[i * fromStride];
      if constexpr (kCopy) to[i * toStride] = v;
      const double d = v;
      p = std::max(p, std::fabs(d));
      sum += d * d;
    };
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
      take(i, p0, s0);
      take(i + 1, p1, s1);
      take(i + 2, p2, s2);
      take(i + 3, p3, s3);
    }
    for (; i < count; ++i) take(i, p0, s0);
    peak = std::max({peak, p0, p1, p2, p3});
    sumSquares += (s0 + s1) + (s2 + s3);
    samples += count;
  }
  double Rms() const { return samples > 0 ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0.0; }
};

template <class T>
struct StageBlock
{
  std::vector<T> interleaved;
  int frames = 0;
};

// The reader and writer threads and the queues between the stages. The
// destructor stops and joins both threads, also when the render loop leaves
// by an exception.
template <class T>
class Stages
{
public:
  using Block = StageBlock<T>;

  Stages(SignalSource& source, AudioFileWriter* writer, int blockFrames, int fileChannels)
      : mSource(source), mWriter(writer), mBlockFrames(blockFrames)
  {
    for (int i = 0; i < kBlocksPerStage; ++i)
    {
      mInputs[i].interleaved.resize(static_cast<std::size_t>(blockFrames * source.Channels()));
      mOutputs[i].interleaved.resize(static_cast<std::size_t>(blockFrames * fileChannels));
      mFreeInputs.Push(&mInputs[i]);
      mFreeOutputs.Push(&mOutputs[i]);
    }
    mReadThread = std::thread([this] { ReadAll(); });
    if (mWriter) mWriteThread = std::thread([this] { WriteAll(); });
  }

  ~Stages()
  {
    mFreeInputs.Close();
    mFullOutputs.Close();
    if (mReadThread.joinable()) mReadThread.join();
    if (mWriteThread.joinable()) mWriteThread.join();
  }

  // [render thread] The next block of input; false at the end.
  bool NextInput(Block** block) { return mFullInputs.Pop(block); }
  void DoneWithInput(Block* block) { mFreeInputs.Push(block); }

  // [render thread] A block to fill with output, then handed to the writer.
  Block* FreeOutput()
  {
    Block* block = nullptr;
    mFreeOutputs.Pop(&block);
    return block;
  }
  void Write(Block* block)
  {
    if (mWriter)
      mFullOutputs.Push(block);
    else
      mFreeOutputs.Push(block);
  }

  // [render thread] Waits until everything is written, then throws what the
  // writer threw, if anything.
  void Finish()
  {
    mFullOutputs.Close();
    if (mWriteThread.joinable()) mWriteThread.join();
    if (mWriteError) std::rethrow_exception(mWriteError);
  }
  bool WriteFailed() const { return mWriteFailed.load(std::memory_order_acquire); }

private:
  // [reader thread]
  void ReadAll()
  {
    const int channels = mSource.Channels();
    const int64_t total = mSource.Frames();
    for (int64_t position = 0; position < total; position += mBlockFrames)
    {
      Block* block = nullptr;
      if (!mFreeInputs.Pop(&block)) break; // the render stopped
      const int n = static_cast<int>(std::min<int64_t>(mBlockFrames, total - position));
      const int got = std::max(mSource.Read(block->interleaved.data(), n), 0);
      // A source that ends early (a file shorter than its header says) goes
      // on as silence.
      std::fill(block->interleaved.begin() + got * channels, block->interleaved.begin() + n * channels, T(0));
      block->frames = n;
      mFullInputs.Push(block);
    }
    mFullInputs.Close();
  }

  // [writer thread] After a failure the remaining blocks are only returned,
  // so the render thread never waits for a block that does not come.
  void WriteAll()
  {
    Block* block = nullptr;
    while (mFullOutputs.Pop(&block))
    {
      if (!mWriteError)
      {
        try
        {
          mWriter->Write(block->interleaved.data(), block->frames);
        }
        catch (...)
        {
          mWriteError = std::current_exception();
          mWriteFailed.store(true, std::memory_order_release);
        }
      }
      mFreeOutputs.Push(block);
    }
  }

  SignalSource& mSource;
  AudioFileWriter* mWriter;
  const int mBlockFrames;
  Block mInputs[kBlocksPerStage];
  Block mOutputs[kBlocksPerStage];
  HandoffQueue<Block*> mFreeInputs, mFullInputs, mFreeOutputs, mFullOutputs;
  std::exception_ptr mWriteError; // written by the writer, read after joining it
  std::atomic<bool> mWriteFailed{false};
  std::thread mReadThread;
  std::thread mWriteThread;
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

  const int stageFrames = block * std::max(1, kStageFrames / block);
  Stages<T> stages(source, writer, stageFrames, fileChannels);
  int64_t position = 0;
  StageBlock<T>* input = nullptr;
  while (!stages.WriteFailed() && stages.NextInput(&input))
  {
    StageBlock<T>* output = stages.FreeOutput();
    for (int offset = 0; offset < input->frames; offset += block)
    {
      const int n = std::min(block, input->frames - offset);
      // Each source channel is measured once; a mono source feeds every
      // input, a plug-in with fewer inputs than the source leaves the rest.
      const T* from = input->interleaved.data() + offset * sourceChannels;
      for (int c = 0; c < std::max(numInputs, sourceChannels); ++c)
      {
        T* to = c < numInputs ? inputs[static_cast<std::size_t>(c)].data() : nullptr;
        if (c < sourceChannels)
          in.CopyMeasured(from + c, sourceChannels, to, 1, n);
        else
          for (int s = 0; s < n; ++s) to[s] = from[s * sourceChannels + c % sourceChannels];
      }

      plugin.SetSamplePosition(position);
      VstEvents* events = schedule.EventsForBlock(position, n);
      stats.eventsIn += events->numEvents;
      const Clock::time_point before = Clock::now();
      // Hosts send the list every block, empty or not.
      plugin.ProcessEvents(events);
      plugin.Process(inputPointers.data(), outputPointers.data(), n);
      inPlugin += Clock::now() - before;

      T* to = output->interleaved.data() + offset * fileChannels;
      for (int c = 0; c < fileChannels; ++c)
      {
        if (c < numOutputs)
        {
          out.CopyMeasured(outputs[static_cast<std::size_t>(c)].data(), 1, to + c, fileChannels, n);
        }
        else
        {
          for (int s = 0; s < n; ++s) to[s * fileChannels + c] = T(0);
          out.samples += n;
        }
      }
      position += n;
      progress.Update(position, total);
    }
    output->frames = input->frames;
    stages.DoneWithInput(input);
    stages.Write(output);
  }
  stages.Finish();
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
