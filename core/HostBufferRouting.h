#pragma once

#include <algorithm>
#include <type_traits>

#include "core/wdl/WDL_PtrList.h"
#include "core/wdl/WDL_TypedBuf.h"

// Turns a host's audio buffers into the arrays of double-precision channel
// pointers the plug-in processes: one pointer per input and per output
// channel, valid for every channel. Connected channels get the host's
// buffers each block (single-precision ones through per-channel scratch
// memory, converted on the way in and out); unconnected channels point at
// their own scratch. Owned by the plug-in base.
//
// Threads: the wrapper's callbacks, with the plug-in mutex held; binding and
// running happen on the audio thread and allocate nothing.
class HostBufferRouting
{
public:
  // What happens to the output after processing: nothing (the host's
  // double buffers were written directly), or the scratch converted to the
  // host's single-precision buffers, replacing or added to what they hold.
  enum class OutputConversion
  {
    kNone,
    kReplace,
    kAccumulate
  };

  HostBufferRouting() : mInPointers(4096), mOutPointers(4096) {}
  ~HostBufferRouting();

  HostBufferRouting(const HostBufferRouting&) = delete;
  HostBufferRouting& operator=(const HostBufferRouting&) = delete;

  // Creates the channels, not connected. Called once, at construction.
  void CreateChannels(int nInputs, int nOutputs);
  int InputCount() const { return mInputList.GetSize(); }
  int OutputCount() const { return mOutputList.GetSize(); }

  // Each works on channels [start, min(start + count, total)).
  void SetInputConnections(int start, int count, bool connected);
  void SetOutputConnections(int start, int count, bool connected);
  bool IsInputConnected(int channel) const;
  bool IsOutputConnected(int channel) const;

  // Frames each scratch buffer holds; grows to nFrames (never shrinks) and
  // clears every scratch buffer. [host thread]
  void ResizeScratch(int nFrames);
  int ScratchFrames() const { return mScratchFrames; }

  // For each connected channel in the range, the next host pointer in order
  // (unconnected channels consume none). A null host channel reads and
  // writes scratch instead. Single-precision input is converted into the
  // channel's scratch here. Sample is float or double.
  template <class Sample>
  void BindInputs(int start, int count, Sample** buffers, int nFrames);
  template <class Sample>
  void BindOutputs(int start, int count, Sample** buffers);

  // Processes the bound buffers: process(inputs, outputs, frames) is called
  // when `ready`, for the whole block or, when the host passes more frames
  // than the scratch holds, for slices that fit; then the outputs are
  // converted back as `mode` says. [audio thread]
  template <class Process>
  void Run(int nFrames, OutputConversion mode, bool ready, Process&& process);

private:
  struct InChannel
  {
    bool connected = false;
    double** source = nullptr; // this channel's entry in mInPointers
    WDL_TypedBuf<double> scratch;
    // The host's buffer of the current block, one of the two.
    double* hostDouble = nullptr;
    float* hostFloat = nullptr;
  };

  struct OutChannel
  {
    bool connected = false;
    double** destination = nullptr; // this channel's entry in mOutPointers
    float* floatDestination = nullptr;
    WDL_TypedBuf<double> scratch;
    double* hostDouble = nullptr;
  };

  // Does any channel go through scratch memory for this block?
  bool UsesScratch() const;
  // Points every channel at frame `offset` of its host buffer (converting
  // single-precision input into scratch) for one slice of `nFrames`.
  void PrepareSlice(int offset, int nFrames);
  void WriteFloatOutputs(int offset, int nFrames, OutputConversion mode);
  // Without any scratch the host gets silence rather than what its
  // single-precision buffers held.
  void SilenceFloatOutputs(int nFrames, OutputConversion mode);

  WDL_TypedBuf<double*> mInPointers;
  WDL_TypedBuf<double*> mOutPointers;
  WDL_PtrList<InChannel> mInputList;
  WDL_PtrList<OutChannel> mOutputList;
  int mScratchFrames = 0;
};

template <class Sample>
void HostBufferRouting::BindInputs(int start, int count, Sample** buffers, int nFrames)
{
  static_assert(std::is_same_v<Sample, float> || std::is_same_v<Sample, double>, "float or double samples");
  const int end = std::min(start + count, InputCount());
  const int nConvert = std::min(std::max(nFrames, 0), mScratchFrames);
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    InChannel* channel = mInputList.Get(i);
    if (!channel->connected) continue;
    Sample* host = buffers ? buffers[next++] : nullptr;
    double* scratch = channel->scratch.Get();
    if constexpr (std::is_same_v<Sample, double>)
    {
      channel->hostDouble = host;
      channel->hostFloat = nullptr;
      *channel->source = host ? host : scratch;
    }
    else
    {
      channel->hostDouble = nullptr;
      channel->hostFloat = host;
      if (host)
        for (int s = 0; s < nConvert; ++s) scratch[s] = host[s];
      *channel->source = scratch;
    }
  }
}

template <class Sample>
void HostBufferRouting::BindOutputs(int start, int count, Sample** buffers)
{
  static_assert(std::is_same_v<Sample, float> || std::is_same_v<Sample, double>, "float or double samples");
  const int end = std::min(start + count, OutputCount());
  int next = 0;
  for (int i = std::max(start, 0); i < end; ++i)
  {
    OutChannel* channel = mOutputList.Get(i);
    if (!channel->connected) continue;
    Sample* host = buffers ? buffers[next++] : nullptr;
    if constexpr (std::is_same_v<Sample, double>)
    {
      channel->hostDouble = host;
      channel->floatDestination = nullptr;
      *channel->destination = host ? host : channel->scratch.Get();
    }
    else
    {
      channel->hostDouble = nullptr;
      channel->floatDestination = host;
      *channel->destination = channel->scratch.Get();
    }
  }
}

template <class Process>
void HostBufferRouting::Run(int nFrames, OutputConversion mode, bool ready, Process&& process)
{
  if (nFrames <= 0) return;

  if (!UsesScratch() || nFrames <= mScratchFrames)
  {
    // The common case: the pointers bound for this block cover it whole.
    if (ready) process(mInPointers.Get(), mOutPointers.Get(), nFrames);
    WriteFloatOutputs(0, nFrames, mode);
    return;
  }

  // The host passed more frames than its announced block size: process in
  // slices that fit the scratch buffers, without allocating.
  if (mScratchFrames <= 0)
  {
    SilenceFloatOutputs(nFrames, mode);
    return;
  }
  for (int offset = 0; offset < nFrames; offset += mScratchFrames)
  {
    const int n = std::min(mScratchFrames, nFrames - offset);
    PrepareSlice(offset, n);
    if (ready) process(mInPointers.Get(), mOutPointers.Get(), n);
    WriteFloatOutputs(offset, n, mode);
  }
  PrepareSlice(0, 0);
}
