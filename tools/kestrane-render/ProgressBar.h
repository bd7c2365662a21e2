#pragma once

#include <chrono>
#include <cstdint>

// A one-line progress bar on standard error. It appears only when standard
// error is a terminal and only once a render has run for more than a second,
// so quick renders and logs stay clean; Finish clears it.
class ProgressBar
{
public:
  explicit ProgressBar(bool allowed);
  ~ProgressBar() { Finish(); }

  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(int64_t done, int64_t total);
  void Finish();

private:
  using Clock = std::chrono::steady_clock;
  bool mEnabled;
  bool mShown = false;
  Clock::time_point mStart;
  Clock::time_point mLastDrawn;
};
