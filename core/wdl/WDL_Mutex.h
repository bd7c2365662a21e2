#pragma once

#include <mutex>

// A recursive mutex: the thread that holds it may take it again (a host
// callback that holds the plug-in lock may call operations that lock too).
class WDL_Mutex
{
public:
  WDL_Mutex() = default;
  WDL_Mutex(const WDL_Mutex&) = delete;
  WDL_Mutex& operator=(const WDL_Mutex&) = delete;

  void Enter() { mMutex.lock(); }
  void Leave() { mMutex.unlock(); }

private:
  std::recursive_mutex mMutex;
};

// Holds a WDL_Mutex for the lifetime of the scope.
class WDL_MutexLock
{
public:
  explicit WDL_MutexLock(WDL_Mutex* mutex) : mMutex(mutex)
  {
    if (mMutex) mMutex->Enter();
  }
  ~WDL_MutexLock()
  {
    if (mMutex) mMutex->Leave();
  }
  WDL_MutexLock(const WDL_MutexLock&) = delete;
  WDL_MutexLock& operator=(const WDL_MutexLock&) = delete;

private:
  WDL_Mutex* mMutex;
};
