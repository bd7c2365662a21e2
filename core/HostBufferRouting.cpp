#include "core/HostBufferRouting.h"

HostBufferRouting::~HostBufferRouting()
{
  mInputList.Empty(true);
  mOutputList.Empty(true);
}

void HostBufferRouting::CreateChannels(int nInputs, int nOutputs)
{
  mInPointers.Resize(nInputs);
  mOutPointers.Resize(nOutputs);
  for (int i = 0; i < nInputs; ++i)
  {
    InChannel* channel = mInputList.Add(new InChannel());
    channel->source = mInPointers.Get() + i;
    *channel->source = nullptr;
  }
  for (int i = 0; i < nOutputs; ++i)
  {
    OutChannel* channel = mOutputList.Add(new OutChannel());
    channel->destination = mOutPointers.Get() + i;
    *channel->destination = nullptr;
  }
}

void HostBufferRouting::SetInputConnections(int start, int count, bool connected)
{
  const int end = std::min(start + count, InputCount());
  for (int i = std::max(start, 0); i < end; ++i)
  {
    InChannel* channel = mInputList.Get(i);
    channel->connected = connected;
    if (!connected) *channel->source = channel->scratch.Get();
  }
}

void HostBufferRouting::SetOutputConnections(int start, int count, bool connected)
{
  const int end = std::min(start + count, OutputCount());
  for (int i = std::max(start, 0); i < end; ++i)
  {
    OutChannel* channel = mOutputList.Get(i);
    channel->connected = connected;
    if (!connected) *channel->destination = channel->scratch.Get();
  }
}

bool HostBufferRouting::IsInputConnected(int channel) const
{
  const InChannel* in = mInputList.Get(channel);
  return in && in->connected;
}

bool HostBufferRouting::IsOutputConnected(int channel) const
{
  const OutChannel* out = mOutputList.Get(channel);
  return out && out->connected;
}

void HostBufferRouting::ResizeScratch(int nFrames)
{
  // Scratch buffers only grow: a host that later passes more frames than it
  // announced is processed in slices of what they hold (see Run).
  mScratchFrames = std::max(mScratchFrames, nFrames);
  for (InChannel* channel : mInputList)
  {
    double* data = channel->scratch.Resize(mScratchFrames);
    if (data) std::fill(data, data + mScratchFrames, 0.0);
  }
  for (OutChannel* channel : mOutputList)
  {
    double* data = channel->scratch.Resize(mScratchFrames);
    if (data) std::fill(data, data + mScratchFrames, 0.0);
  }
  // Unconnected channels point at their scratch, whose storage may have moved.
  for (InChannel* channel : mInputList)
    if (!channel->connected) *channel->source = channel->scratch.Get();
  for (OutChannel* channel : mOutputList)
    if (!channel->connected) *channel->destination = channel->scratch.Get();
}

bool HostBufferRouting::UsesScratch() const
{
  for (const InChannel* channel : mInputList)
    if (!channel->connected || !channel->hostDouble) return true;
  for (const OutChannel* channel : mOutputList)
    if (!channel->connected || !channel->hostDouble) return true;
  return false;
}

void HostBufferRouting::PrepareSlice(int offset, int nFrames)
{
  for (InChannel* channel : mInputList)
  {
    double* scratch = channel->scratch.Get();
    if (!channel->connected)
      *channel->source = scratch;
    else if (channel->hostDouble)
      *channel->source = channel->hostDouble + offset;
    else
    {
      if (channel->hostFloat)
        for (int s = 0; s < nFrames; ++s) scratch[s] = channel->hostFloat[offset + s];
      *channel->source = scratch;
    }
  }
  for (OutChannel* channel : mOutputList)
  {
    if (channel->connected && channel->hostDouble)
      *channel->destination = channel->hostDouble + offset;
    else
      *channel->destination = channel->scratch.Get();
  }
}

void HostBufferRouting::WriteFloatOutputs(int offset, int nFrames, OutputConversion mode)
{
  if (mode == OutputConversion::kNone) return;
  for (OutChannel* channel : mOutputList)
  {
    if (!channel->connected || !channel->floatDestination) continue;
    const double* scratch = channel->scratch.Get();
    float* dest = channel->floatDestination + offset;
    if (mode == OutputConversion::kReplace)
      for (int s = 0; s < nFrames; ++s) dest[s] = static_cast<float>(scratch[s]);
    else
      for (int s = 0; s < nFrames; ++s) dest[s] += static_cast<float>(scratch[s]);
  }
}

void HostBufferRouting::SilenceFloatOutputs(int nFrames, OutputConversion mode)
{
  if (mode != OutputConversion::kReplace) return;
  for (OutChannel* channel : mOutputList)
    if (channel->connected && channel->floatDestination)
      std::fill(channel->floatDestination, channel->floatDestination + nFrames, 0.0f);
}
