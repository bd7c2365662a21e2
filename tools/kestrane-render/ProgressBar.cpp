#include "tools/kestrane-render/ProgressBar.h"

#include <unistd.h>

#include <cstdio>

namespace
{
constexpr int kBarWidth = 40;
constexpr double kShowAfterSeconds = 1.0;
constexpr double kRedrawSeconds = 0.1;
} // namespace

ProgressBar::ProgressBar(bool allowed)
    : mEnabled(allowed && isatty(STDERR_FILENO)), mStart(Clock::now()), mLastDrawn(mStart)
{
}

void ProgressBar::Update(int64_t done, int64_t total)
{
  if (!mEnabled || total <= 0) return;
  const Clock::time_point now = Clock::now();
  const double elapsed = std::chrono::duration<double>(now - mStart).count();
  if (elapsed < kShowAfterSeconds) return;
  if (mShown && std::chrono::duration<double>(now - mLastDrawn).count() < kRedrawSeconds) return;
  mShown = true;
  mLastDrawn = now;

  const double fraction = static_cast<double>(done) / static_cast<double>(total);
  const int filled = static_cast<int>(fraction * kBarWidth);
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '-';
  bar[kBarWidth] = '\0';
  const double remaining = fraction > 0.0 ? elapsed * (1.0 - fraction) / fraction : 0.0;
  std::fprintf(stderr, "\r[%s] %3d%%  %.0f s left ", bar, static_cast<int>(fraction * 100.0), remaining);
  std::fflush(stderr);
}

void ProgressBar::Finish()
{
  if (!mShown) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  mShown = false;
}
