// The built plug-in library with its editor window open under a virtual X
// server: the UI thread opens, idles and closes the window and drags, turns
// the wheel and double-clicks in it through XTest, as a user would, while
// the host threads storm the same instance.
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "tests/concurrency/StormChecks.h"
#include "tests/linux-window/support/X11TestHost.h"

namespace
{
constexpr unsigned kLeftButton = 1;
constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;
constexpr int kBelowLink = 60;

class EditorUser
{
public:
  EditorUser(X11TestDisplay& x11, AEffect* effect) : mX11(x11), mEffect(effect) {}

  // [UI thread] Returns the operations made, or -1 when a window would not open.
  int Run(unsigned seed, int gestures)
  {
    ERect* rect = nullptr;
    if (Dispatch(mEffect, effEditGetRect, 0, 0, &rect) != 1 || !rect) return -1;
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    const Window parent = mX11.MakeParent(0, 0, width, height);
    std::minstd_rand random(seed);
    int operations = 0;
    for (int g = 0; g < gestures; ++g)
    {
      // The host closes and reopens the editor now and then.
      if (g % 40 == 0)
      {
        if (g > 0) Dispatch(mEffect, effEditClose);
        if (Dispatch(mEffect, effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 1) return -1;
        Idle(3);
        ++operations;
      }
      // Below the product-page link at the top, which would start a browser.
      const int x = 2 + static_cast<int>(random() % (width - 24));
      const int y = kBelowLink + static_cast<int>(random() % (height - kBelowLink - 2));
      switch (g % 3)
      {
      case 0:
        mX11.MoveTo(parent, x, y);
        mX11.Button(kLeftButton, true);
        Idle(1);
        for (int step = 1; step <= 4; ++step)
        {
          mX11.MoveTo(parent, x + step, y - 4 * step);
          Idle(1);
        }
        mX11.Button(kLeftButton, false);
        break;
      case 1:
        mX11.MoveTo(parent, x, y);
        for (int notch = 0; notch < 3; ++notch)
        {
          mX11.Button(g % 2 ? kWheelUp : kWheelDown, true);
          mX11.Button(g % 2 ? kWheelUp : kWheelDown, false);
        }
        break;
      default:
        mX11.Click(parent, x, y, kLeftButton);
        mX11.Click(parent, x, y, kLeftButton);
        break;
      }
      Idle(2);
      ++operations;
    }
    // Closing ends a wheel gesture that is still waiting for its timer.
    Dispatch(mEffect, effEditClose);
    mX11.Destroy(parent);
    return operations + 1;
  }

private:
  void Idle(int calls)
  {
    for (int i = 0; i < calls; ++i)
    {
      Dispatch(mEffect, effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  X11TestDisplay& mX11;
  AEffect* mEffect;
};
} // namespace

TEST(X11EditorStorm, EditorWindowInUseWhileTheHostStormsTheInstance)
{
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server: run under xvfb-run (run-under-xvfb.sh)";
  X11TestDisplay x11;
  ASSERT_TRUE(x11.Ready());
  PluginLibrary library(KESTRANE_PLUGIN_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  ConcurrentHost host;
  AEffect* effect = library.Create(ConcurrentHost::Callback);
  ASSERT_TRUE(effect);
  host.Attach(effect);
  const StormPlan plan;
  OpenForProcessing(effect, 48000.0f, plan.maxFrames);

  EditorUser user(x11, effect);
  HostStorm storm(effect, plan, 41);
  storm.Start([&] { return user.Run(13, 160); });
  storm.Join();

  EXPECT_GT(storm.report.uiOperations, 0) << "the editor window opened";
  ExpectSoundAfterStorm(effect, storm, host);
  EXPECT_GT(host.Totals().begins, 0) << "the pointer's edits reached the host";
  Dispatch(effect, effClose);
}
