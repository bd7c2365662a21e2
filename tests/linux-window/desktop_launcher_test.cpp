// Web pages open with xdg-open, the URL one argument of its own.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/linux/DesktopLauncher.h"

TEST(DesktopLauncher, StartsXdgOpenWithTheUrlAsItIs)
{
  // A stand-in xdg-open that writes down its arguments, first on the PATH.
  char dir[] = "/tmp/kestrane-launcher-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string folder = dir;
  {
    std::ofstream script(folder + "/xdg-open");
    script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" << folder << "/args\"\n";
  }
  chmod((folder + "/xdg-open").c_str(), 0755);
  const std::string path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (folder + ":" + path).c_str(), 1);

  DesktopLauncher launcher;
  const std::string url = "https://example.com/a b?x=1&y=$(touch /tmp/no);z";
  EXPECT_TRUE(launcher.OpenUrl(url.c_str()));
  std::string recorded;
  for (int i = 0; i < 200 && recorded.empty(); ++i)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream args(folder + "/args");
    std::stringstream text;
    text << args.rdbuf();
    recorded = text.str();
  }
  EXPECT_EQ(recorded, "1\n" + url + "\n");
  for (int i = 0; i < 200 && launcher.Running() > 0; ++i)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    launcher.Reap();
  }
  EXPECT_EQ(launcher.Running(), 0);

  // Nothing that could read as an option or carry a control character.
  EXPECT_FALSE(launcher.OpenUrl("--help"));
  EXPECT_FALSE(launcher.OpenUrl("https://x/\n"));
  EXPECT_FALSE(launcher.OpenUrl(""));
  EXPECT_FALSE(launcher.OpenUrl(nullptr));
  setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(launcher.OpenUrl("https://example.com/"));
  setenv("PATH", path.c_str(), 1);
  unlink((folder + "/xdg-open").c_str());
  unlink((folder + "/args").c_str());
  rmdir(dir);
}
