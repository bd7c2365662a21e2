#pragma once

// What a plug-in does on the audio thread that it must not: allocate, free,
// or wait for a lock. The test executable that links AudioThreadAudit.cpp
// replaces malloc, calloc, realloc, free and the aligned allocators (operator
// new and delete, the plug-in's own statically linked ones too, end in them)
// and the blocking pthread calls, for itself and for every library it loads;
// a call is counted only while the calling thread has opened an audit window.
//
// Lock waits: each pthread_mutex_lock in a window first tries the lock; a
// failed try is a wait. Any mutex other than the one named with
// SetOwnMutex, and any condition variable, read-write lock or semaphore
// wait, counts as a foreign lock.
namespace audit
{
struct Counts
{
  long allocations = 0; // malloc, calloc, realloc, aligned allocations
  long frees = 0;       // free of a non-null pointer
  long locks = 0;       // mutex locks taken
  long waits = 0;       // locks that were held by another thread
  long foreignLocks = 0;
};

// Opens / closes the audit window on the calling thread.
void Open();
void Close();
// Closes the window for the lifetime of the scope (a host callback: the
// host's own work is not the plug-in's), reopening it if it was open.
class Paused
{
public:
  Paused();
  ~Paused();
  Paused(const Paused&) = delete;
  Paused& operator=(const Paused&) = delete;

private:
  bool mWasOpen;
};

// The counts since the last Take, and a fresh start.
Counts Take();
// The plug-in's own mutex, and the mutex locked first in a window since the
// last Take (null when none).
void SetOwnMutex(const void* mutex);
const void* FirstLockedMutex();
// The number of distinct mutexes locked in windows since the last Take
// (up to 8 are told apart).
int DistinctLockedMutexes();
} // namespace audit
