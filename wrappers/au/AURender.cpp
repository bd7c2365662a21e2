// Buses, input connections and render: the host's 32-bit float,
// non-interleaved buffers bound to the base's double-precision channels.
#include <algorithm>
#include <cstring>

#include "wrappers/au/IPlugAU.h"

namespace
{
// Channels one bus covers at most: the buffer lists for input pulls live on
// the stack with this many buffers.
constexpr int kMaxBusChannels = 2;

// Room for an AudioBufferList of one bus's buffers. The list is reached
// through a pointer into this storage, so its trailing array is read as the
// open-ended array it is.
struct BusBufferList
{
  BusBufferList() { List()->mNumberBuffers = 0; }
  AudioBufferList* List() { return reinterpret_cast<AudioBufferList*>(mStorage); }
  alignas(AudioBufferList) unsigned char mStorage[sizeof(AudioBufferList) + (kMaxBusChannels - 1) * sizeof(AudioBuffer)];
};

UInt32 FloatBytes(UInt32 frames) { return frames * static_cast<UInt32>(sizeof(float)); }
} // namespace

// [audio thread, plug-in mutex held]
OSStatus IPlugAU::Render(AudioUnitRenderActionFlags*, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                         AudioBufferList* data)
{
  // The action flags are not read.
  if (!time || !(time->mFlags & kAudioTimeStampSampleTimeValid) || bus >= static_cast<UInt32>(mOutputBuses.GetSize()) ||
      frames > static_cast<UInt32>(BlockSize()))
    return kAudioUnitErr_InvalidPropertyValue;
  BusChannels* output = mOutputBuses.Get(static_cast<int>(bus));
  // Only as many buffers as the bus has channels are bound; each host
  // buffer must hold the frames asked for.
  if (!data) return paramErr;
  const int nBuffers = static_cast<int>(std::min<UInt32>(data->mNumberBuffers, static_cast<UInt32>(output->mPlugChannels)));
  for (int k = 0; k < nBuffers; ++k)
    if (data->mBuffers[k].mData && data->mBuffers[k].mDataByteSize < FloatBytes(frames)) return paramErr;

  NotifyRender(kAudioUnitRenderAction_PreRender, time, bus, frames, data);

  // A second pull at the same time (another output, or the same one again)
  // re-uses the input already converted.
  if (time->mSampleTime != mLastRenderSampleTime)
  {
    const OSStatus status = PullInput(time, frames);
    if (status != noErr) return status;
    mLastRenderSampleTime = time->mSampleTime;
  }

  // A host that never set this bus's format gets the one reported for it.
  const int hostChannels = output->mHostChannels >= 0 ? output->mHostChannels : output->mPlugChannels;
  const int n = std::min(hostChannels, nBuffers);
  SetOutputConnections(output->mFirstPlugChannel, n, true);
  SetOutputConnections(output->mFirstPlugChannel + n, std::max(0, output->mPlugChannels - n), false);
  output->mConnected = true;

  for (int k = 0; k < n; ++k)
  {
    AudioBuffer& buffer = data->mBuffers[k];
    if (!buffer.mData)
    {
      // "Use your own buffer": ours, lent until the next render.
      buffer.mData = mOutputScratch.Get() + static_cast<std::size_t>(output->mFirstPlugChannel + k) * frames;
      buffer.mDataByteSize = FloatBytes(frames);
    }
    float* channel = static_cast<float*>(buffer.mData);
    BindOutputBuffers(output->mFirstPlugChannel + k, 1, &channel);
  }

  if (mBypassed)
    RunBuffersBypassed(static_cast<int>(frames));
  else
    RunBuffersFloatReplacing(static_cast<int>(frames));

  NotifyRender(kAudioUnitRenderAction_PostRender, time, bus, frames, data);
  return noErr;
}

OSStatus IPlugAU::PullInput(const AudioTimeStamp* time, UInt32 frames)
{
  for (int i = 0; i < mInputBuses.GetSize(); ++i)
  {
    const BusChannels* bus = mInputBuses.Get(i);
    const InputConnection* connection = mInputConnections.Get(i);
    if (!bus->mConnected) continue;
    const int nChannels = std::min(bus->mHostChannels, kMaxBusChannels);

    BusBufferList storage;
    AudioBufferList* buffers = storage.List();
    buffers->mNumberBuffers = static_cast<UInt32>(nChannels);
    float* scratch = mInputScratch.Get();
    for (int k = 0; k < nChannels; ++k)
    {
      AudioBuffer& buffer = buffers->mBuffers[k];
      buffer.mNumberChannels = 1;
      buffer.mDataByteSize = FloatBytes(frames);
      buffer.mData = nullptr;
      // A render callback fills memory we give it.
      if (connection->mPullKind == kPullCallback)
        buffer.mData = scratch + static_cast<std::size_t>(bus->mFirstPlugChannel + k) * frames;
    }

    AudioUnitRenderActionFlags flags = 0;
    OSStatus status = noErr;
    switch (connection->mPullKind)
    {
    case kPullCallback:
      status = connection->mCallback(connection->mCallbackRefCon, &flags, time, static_cast<UInt32>(i), frames,
                                     buffers);
      break;
    case kPullAudioUnitRender:
      status = AudioUnitRender(connection->mUpstreamUnit, &flags, time, connection->mUpstreamBus, frames,
                               buffers);
      break;
    case kPullFastRender:
      status = connection->mUpstreamRender(connection->mUpstreamStorage, &flags, time, connection->mUpstreamBus,
                                           frames, buffers);
      break;
    default: break;
    }
    if (status != noErr) return status;

    for (int k = 0; k < nChannels; ++k)
    {
      const AudioBuffer& buffer = buffers->mBuffers[k];
      float* samples = static_cast<float*>(buffer.mData);
      if (!samples || buffer.mDataByteSize < FloatBytes(frames) || k >= static_cast<int>(buffers->mNumberBuffers))
      {
        // An upstream that gave no buffer (or too short a one) is heard as
        // silence rather than read past its end.
        samples = scratch + static_cast<std::size_t>(bus->mFirstPlugChannel + k) * frames;
        std::fill(samples, samples + frames, 0.0f);
      }
      BindInputBuffers(bus->mFirstPlugChannel + k, 1, &samples, static_cast<int>(frames));
    }
  }
  return noErr;
}

void IPlugAU::NotifyRender(AudioUnitRenderActionFlags flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                           AudioBufferList* data)
{
  // By index: a notification may remove itself through the entry function.
  for (int i = 0; i < mRenderNotifiers.GetSize(); ++i)
  {
    const RenderNotifier notifier = *mRenderNotifiers.Get(i);
    AudioUnitRenderActionFlags notifyFlags = flags;
    notifier.mCallback(notifier.mRefCon, &notifyFlags, time, bus, frames, data);
  }
}

// [host thread, plug-in mutex held]
void IPlugAU::AssessInputConnections()
{
  SetInputConnections(0, InputCount(), false);
  for (int i = 0; i < mInputBuses.GetSize(); ++i)
  {
    BusChannels* bus = mInputBuses.Get(i);
    InputConnection* connection = mInputConnections.Get(i);
    if (connection->mUpstreamRender && connection->mUpstreamStorage)
      connection->mPullKind = kPullFastRender;
    else if (connection->mUpstreamUnit)
      connection->mPullKind = kPullAudioUnitRender;
    else if (connection->mCallback)
      connection->mPullKind = kPullCallback;
    else
      connection->mPullKind = kPullNone;
    bus->mConnected = connection->mPullKind != kPullNone;
    if (!bus->mConnected) continue;
    if (bus->mHostChannels == -1) bus->mHostChannels = bus->mPlugChannels;
    SetInputConnections(bus->mFirstPlugChannel, bus->mHostChannels, true);
    SetInputConnections(bus->mFirstPlugChannel + bus->mHostChannels, std::max(0, bus->mPlugChannels - bus->mHostChannels),
                        false);
  }
}

void IPlugAU::ResetConnections()
{
  for (int i = 0; i < mInputBuses.GetSize(); ++i)
  {
    mInputBuses.Get(i)->mConnected = false;
    mInputBuses.Get(i)->mHostChannels = -1;
    *mInputConnections.Get(i) = InputConnection{};
  }
  for (BusChannels* bus : mOutputBuses)
  {
    bus->mConnected = false;
    bus->mHostChannels = -1;
  }
}

IPlugAU::BusChannels* IPlugAU::Bus(AudioUnitScope scope, AudioUnitElement element) const
{
  if (element > 0x7FFFFFFFu) return nullptr;
  if (scope == kAudioUnitScope_Input) return mInputBuses.Get(static_cast<int>(element));
  // The global scope stands for the output.
  if (scope == kAudioUnitScope_Output || scope == kAudioUnitScope_Global)
    return mOutputBuses.Get(static_cast<int>(element));
  return nullptr;
}

int IPlugAU::HostChannelTotal(const WDL_PtrList<BusChannels>& buses, const BusChannels* excluded)
{
  int total = 0;
  bool known = false;
  for (const BusChannels* bus : buses)
  {
    if (bus == excluded || bus->mHostChannels < 0) continue;
    total += bus->mHostChannels;
    known = true;
  }
  return known ? total : -1;
}

bool IPlugAU::LegalAtInitialisation() const
{
  const int in = HostChannelTotal(mInputBuses, nullptr);
  const int out = HostChannelTotal(mOutputBuses, nullptr);
  return (in == 0 && out == 0) || IsLegalIO(in, out);
}

bool IPlugAU::LegalFormat(AudioUnitScope scope, const BusChannels* bus, int channels) const
{
  if (scope == kAudioUnitScope_Input)
  {
    const int others = std::max(0, HostChannelTotal(mInputBuses, bus));
    const int out = mUnitInitialised ? HostChannelTotal(mOutputBuses, nullptr) : -1;
    return IsLegalIO(others + channels, out);
  }
  const int others = std::max(0, HostChannelTotal(mOutputBuses, bus));
  const int in = mUnitInitialised ? HostChannelTotal(mInputBuses, nullptr) : -1;
  return IsLegalIO(in, others + channels);
}
