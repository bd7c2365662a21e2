#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestPlug.h"

namespace
{
// Two channels of a ramp, for single and double precision.
struct Buffers
{
  explicit Buffers(int n) : frames(n)
  {
    for (int c = 0; c < 2; ++c)
    {
      inD[c].resize(n);
      outD[c].assign(n, -1.0);
      inF[c].resize(n);
      outF[c].assign(n, -1.0f);
      for (int s = 0; s < n; ++s)
      {
        inD[c][s] = (c + 1) * 0.001 * s;
        inF[c][s] = static_cast<float>(inD[c][s]);
      }
      inDp[c] = inD[c].data();
      outDp[c] = outD[c].data();
      inFp[c] = inF[c].data();
      outFp[c] = outF[c].data();
    }
  }
  int frames;
  std::vector<double> inD[2], outD[2];
  std::vector<float> inF[2], outF[2];
  double* inDp[2];
  double* outDp[2];
  float* inFp[2];
  float* outFp[2];
};
} // namespace

TEST(ChannelPlumbing, NothingIsProcessedUntilReady)
{
  TestPlug plug;
  Buffers b(16);
  plug.ProcessDouble(b.inDp, b.outDp, b.frames);
  EXPECT_EQ(plug.mBlocks, 0);
  EXPECT_EQ(b.outD[0][5], -1.0); // double path: host output untouched

  // Single precision writes the scratch contents: zeros after a block-size change.
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  EXPECT_EQ(plug.mBlocks, 0);
  EXPECT_EQ(b.outF[1][5], 0.0f);

  plug.SetReady(true);
  plug.ProcessDouble(b.inDp, b.outDp, b.frames);
  EXPECT_EQ(plug.mBlocks, 1);
  EXPECT_DOUBLE_EQ(b.outD[1][5], 2 * b.inD[1][5]);
}

TEST(ChannelPlumbing, DoubleBuffersAreUsedDirectly)
{
  TestPlug plug;
  plug.SetReady(true);
  Buffers b(8);
  plug.ProcessDouble(b.inDp, b.outDp, b.frames);
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < b.frames; ++s) EXPECT_EQ(b.outD[c][s], 2 * b.inD[c][s]);
}

TEST(ChannelPlumbing, SingleBuffersReplaceOrAccumulate)
{
  TestPlug plug;
  plug.SetReady(true);
  Buffers b(8);
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < b.frames; ++s) EXPECT_EQ(b.outF[c][s], static_cast<float>(2.0 * b.inF[c][s]));

  for (int c = 0; c < 2; ++c) b.outF[c].assign(b.frames, 1.0f);
  plug.ProcessFloatAccumulate(b.inFp, b.outFp, b.frames);
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < b.frames; ++s) EXPECT_EQ(b.outF[c][s], 1.0f + static_cast<float>(2.0 * b.inF[c][s]));
}

TEST(ChannelPlumbing, UnconnectedChannelsUseScratchAndConsumeNoHostPointer)
{
  TestPlug plug;
  plug.SetReady(true);
  plug.SetInputConnections(0, 1, false);  // input 0 unconnected
  plug.SetOutputConnections(1, 5, false); // output 1 unconnected (range is cut at 2)
  EXPECT_FALSE(plug.IsInputConnected(0));
  EXPECT_TRUE(plug.IsInputConnected(1));
  EXPECT_TRUE(plug.IsOutputConnected(0));
  EXPECT_FALSE(plug.IsOutputConnected(1));

  Buffers b(8);
  // The host passes one input pointer: it belongs to input 1, the first connected one.
  double* ins[] = {b.inDp[1]};
  double* outs[] = {b.outDp[0]};
  plug.ProcessDouble(ins, outs, b.frames);
  // Output 0 = 2 x input 0, which is unconnected and reads its zeroed scratch.
  for (int s = 0; s < b.frames; ++s) EXPECT_EQ(b.outD[0][s], 0.0);
  EXPECT_EQ(b.outD[1][3], -1.0); // unconnected output never written to the host
}

TEST(ChannelPlumbing, ChangeBlockSizeKeepsScratchWhenUnchanged)
{
  TestPlug plug;
  plug.SetReady(true);
  Buffers b(8);
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  plug.ChangeBlockSize(1024); // same size: nothing changes
  plug.SetReady(false);
  for (int c = 0; c < 2; ++c) b.outF[c].assign(b.frames, -1.0f);
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  // Not ready: the scratch written by the last processed block comes out again.
  EXPECT_EQ(b.outF[0][7], static_cast<float>(2.0 * b.inF[0][7]));

  plug.ChangeBlockSize(512); // a change zeroes the scratch
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  EXPECT_EQ(b.outF[0][7], 0.0f);
  EXPECT_EQ(plug.BlockSize(), 512);
  EXPECT_EQ(plug.ScratchFrames(), 1024); // never shrinks
}

TEST(ChannelPlumbing, BlocksLongerThanTheBlockSizeAreProcessedInSlices)
{
  for (int mode = 0; mode < 3; ++mode)
  {
    TestPlug sized, small;
    sized.SetReady(true);
    small.SetReady(true);
    sized.ChangeBlockSize(4096);
    small.SetInputConnections(0, 1, mode == 2 ? false : true);
    sized.SetInputConnections(0, 1, mode == 2 ? false : true);
    // small keeps the 1024-frame scratch from construction.
    const int frames = 3000;
    Buffers a(frames), b(frames);
    if (mode == 0)
    {
      sized.ProcessFloat(a.inFp, a.outFp, frames);
      small.ProcessFloat(b.inFp, b.outFp, frames);
      EXPECT_EQ(a.outF[0], b.outF[0]);
      EXPECT_EQ(a.outF[1], b.outF[1]);
    }
    else
    {
      double* insA[] = {a.inDp[0], a.inDp[1]};
      double* insB[] = {b.inDp[0], b.inDp[1]};
      sized.ProcessDouble(mode == 2 ? insA + 1 : insA, a.outDp, frames);
      small.ProcessDouble(mode == 2 ? insB + 1 : insB, b.outDp, frames);
      EXPECT_EQ(a.outD[0], b.outD[0]);
      EXPECT_EQ(a.outD[1], b.outD[1]);
    }
    // Only calls that go through scratch memory need slicing.
    EXPECT_EQ(small.mLastFrames, mode == 1 ? frames : frames - 2048) << mode;
  }
}

TEST(ChannelPlumbing, BlockSizeZeroStillProcessesInScratchSizedSlices)
{
  TestPlug plug;
  plug.SetReady(true);
  plug.ChangeBlockSize(0); // a host that announced nothing
  Buffers b(1500);
  plug.ProcessFloat(b.inFp, b.outFp, b.frames);
  for (int s = 0; s < b.frames; ++s) ASSERT_EQ(b.outF[1][s], static_cast<float>(2.0 * b.inF[1][s])) << s;
}

TEST(ChannelPlumbing, ZeroOrNegativeFramesProcessNothing)
{
  TestPlug plug;
  plug.SetReady(true);
  Buffers b(4);
  plug.ProcessFloat(b.inFp, b.outFp, 0);
  plug.ProcessDouble(b.inDp, b.outDp, -5);
  EXPECT_EQ(plug.mBlocks, 0);
  EXPECT_EQ(b.outF[0][0], -1.0f);
  EXPECT_EQ(b.outD[0][0], -1.0);
}

TEST(ChannelPlumbing, NullHostChannelPointersAreReplacedByScratch)
{
  TestPlug plug;
  plug.SetReady(true);
  Buffers b(8);
  double* ins[] = {nullptr, b.inDp[1]};
  double* outs[] = {b.outDp[0], nullptr};
  plug.ProcessDouble(ins, outs, b.frames);
  EXPECT_EQ(plug.mBlocks, 1);
  for (int s = 0; s < b.frames; ++s) EXPECT_EQ(b.outD[0][s], 0.0);
}

// A host's bypass passes the input through even before the effect is ready,
// and never runs the effect's own processing.
TEST(ChannelPlumbing, BypassPassesInputThroughWithoutTheEffect)
{
  TestPlug plug;
  Buffers b(64);
  plug.BindInputBuffers(0, 2, b.inFp, 64);
  plug.BindOutputBuffers(0, 2, b.outFp);
  plug.RunBuffersBypassed(64);
  EXPECT_EQ(plug.mBlocks, 0);
  EXPECT_EQ(b.outF[0], b.inF[0]);
  EXPECT_EQ(b.outF[1], b.inF[1]);
}
