#pragma once

#include <atomic>

// The values a modulation display shows: for the envelope and for the LFO a
// marker value, the range it is placed in, and whether it is shown. The
// display control derives from this, and the effect writes through it.
//
// Threads: marks are written by the audio thread at the end of each block,
// ranges and flags by parameter handling (plug-in mutex held); the editor
// reads all of them on the UI thread without the mutex. Each value is one
// relaxed atomic load or store, so the editor shows whatever was stored last.
class ModulationMarks
{
public:
  virtual ~ModulationMarks() = default;

  void SetEnvMark(float v) { mEnvMark.store(v, std::memory_order_relaxed); }
  void SetEnvRange(float low, float high)
  {
    mEnvLow.store(low, std::memory_order_relaxed);
    mEnvHigh.store(high, std::memory_order_relaxed);
  }
  void SetShowEnv(bool show) { mShowEnv.store(show, std::memory_order_relaxed); }

  void SetLfoMark(float v) { mLfoMark.store(v, std::memory_order_relaxed); }
  void SetLfoRange(float low, float high)
  {
    mLfoLow.store(low, std::memory_order_relaxed);
    mLfoHigh.store(high, std::memory_order_relaxed);
  }
  void SetShowLfo(bool show) { mShowLfo.store(show, std::memory_order_relaxed); }

  float EnvMark() const { return mEnvMark.load(std::memory_order_relaxed); }
  float EnvLow() const { return mEnvLow.load(std::memory_order_relaxed); }
  float EnvHigh() const { return mEnvHigh.load(std::memory_order_relaxed); }
  bool ShowEnv() const { return mShowEnv.load(std::memory_order_relaxed); }
  float LfoMark() const { return mLfoMark.load(std::memory_order_relaxed); }
  float LfoLow() const { return mLfoLow.load(std::memory_order_relaxed); }
  float LfoHigh() const { return mLfoHigh.load(std::memory_order_relaxed); }
  bool ShowLfo() const { return mShowLfo.load(std::memory_order_relaxed); }

protected:
  std::atomic<float> mEnvMark{0.0f};
  std::atomic<float> mEnvLow{0.0f};
  std::atomic<float> mEnvHigh{0.0f};
  std::atomic<float> mLfoMark{0.0f};
  std::atomic<float> mLfoLow{0.0f};
  std::atomic<float> mLfoHigh{0.0f};
  std::atomic<bool> mShowEnv{false};
  std::atomic<bool> mShowLfo{false};
};

static_assert(std::atomic<float>::is_always_lock_free, "marks must be lock-free single stores");
