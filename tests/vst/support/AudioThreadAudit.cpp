// The allocator and lock replacements behind audit:: (see AudioThreadAudit.h).
// The executable exports them (ENABLE_EXPORTS), so the dynamic loader binds
// a dlopened plug-in's calls to them as well. They forward to glibc: the
// allocator through its __libc_* entry points, the locks through the next
// definition (dlsym RTLD_NEXT), looked up on first use.
#include "tests/vst/support/AudioThreadAudit.h"

#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <semaphore.h>

#include <atomic>
#include <cstddef>
#include <ctime>

extern "C"
{
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* ptr, size_t size);
void __libc_free(void* ptr);
void* __libc_memalign(size_t alignment, size_t size);
}

// The build hides symbols by default; these must be seen by the loader.
#define KESTRANE_AUDIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
// Plain thread-local storage of the executable: reading it allocates nothing.
__thread bool tWindowOpen = false;

std::atomic<long> gAllocations{0};
std::atomic<long> gFrees{0};
std::atomic<long> gLocks{0};
std::atomic<long> gWaits{0};
std::atomic<long> gForeign{0};
std::atomic<const void*> gOwnMutex{nullptr};
constexpr int kMutexSlots = 8;
std::atomic<const void*> gSeenMutexes[kMutexSlots];

void NoteMutex(const void* mutex)
{
  for (std::atomic<const void*>& slot : gSeenMutexes)
  {
    const void* seen = slot.load();
    if (seen == mutex) return;
    if (!seen)
    {
      const void* expected = nullptr;
      if (slot.compare_exchange_strong(expected, mutex) || expected == mutex) return;
    }
  }
}

using MutexFn = int (*)(pthread_mutex_t*);
using TimedMutexFn = int (*)(pthread_mutex_t*, const timespec*);
using ClockMutexFn = int (*)(pthread_mutex_t*, clockid_t, const timespec*);
using CondWaitFn = int (*)(pthread_cond_t*, pthread_mutex_t*);
using CondTimedWaitFn = int (*)(pthread_cond_t*, pthread_mutex_t*, const timespec*);
using RwLockFn = int (*)(pthread_rwlock_t*);
using SemFn = int (*)(sem_t*);

// glibc's definitions, found when the executable starts (before any test
// thread runs), or on first use by a library's constructor that runs earlier.
template <class Function>
Function Next(std::atomic<Function>& slot, const char* name)
{
  Function f = slot.load(std::memory_order_acquire);
  if (!f)
  {
    f = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
    slot.store(f, std::memory_order_release);
  }
  return f;
}

std::atomic<MutexFn> gLock{nullptr}, gTryLock{nullptr}, gUnlock{nullptr};
std::atomic<TimedMutexFn> gTimedLock{nullptr};
std::atomic<ClockMutexFn> gClockLock{nullptr};
std::atomic<CondWaitFn> gCondWait{nullptr};
std::atomic<CondTimedWaitFn> gCondTimedWait{nullptr};
std::atomic<RwLockFn> gRdLock{nullptr}, gWrLock{nullptr};
std::atomic<SemFn> gSemWait{nullptr};

__attribute__((constructor(101))) void FindNextDefinitions()
{
  Next(gLock, "pthread_mutex_lock");
  Next(gTryLock, "pthread_mutex_trylock");
  Next(gUnlock, "pthread_mutex_unlock");
  Next(gTimedLock, "pthread_mutex_timedlock");
  Next(gClockLock, "pthread_mutex_clocklock");
  Next(gCondWait, "pthread_cond_wait");
  Next(gCondTimedWait, "pthread_cond_timedwait");
  Next(gRdLock, "pthread_rwlock_rdlock");
  Next(gWrLock, "pthread_rwlock_wrlock");
  Next(gSemWait, "sem_wait");
}

// A mutex lock in a window: counted, and tried first to see whether it waits.
void AuditMutex(pthread_mutex_t* mutex)
{
  const MutexFn tryLock = Next(gTryLock, "pthread_mutex_trylock");
  const MutexFn unlock = Next(gUnlock, "pthread_mutex_unlock");
  ++gLocks;
  NoteMutex(mutex);
  const void* own = gOwnMutex.load();
  if (own && own != mutex) ++gForeign;
  if (tryLock(mutex) == 0)
    unlock(mutex);
  else
    ++gWaits;
}
} // namespace

// ---- Allocator ----

KESTRANE_AUDIT_EXPORT void* malloc(size_t size)
{
  if (tWindowOpen) ++gAllocations;
  return __libc_malloc(size);
}

KESTRANE_AUDIT_EXPORT void* calloc(size_t count, size_t size)
{
  if (tWindowOpen) ++gAllocations;
  return __libc_calloc(count, size);
}

KESTRANE_AUDIT_EXPORT void* realloc(void* ptr, size_t size)
{
  if (tWindowOpen) ++gAllocations;
  return __libc_realloc(ptr, size);
}

KESTRANE_AUDIT_EXPORT void free(void* ptr)
{
  if (tWindowOpen && ptr) ++gFrees;
  __libc_free(ptr);
}

KESTRANE_AUDIT_EXPORT void* memalign(size_t alignment, size_t size)
{
  if (tWindowOpen) ++gAllocations;
  return __libc_memalign(alignment, size);
}

KESTRANE_AUDIT_EXPORT void* aligned_alloc(size_t alignment, size_t size)
{
  if (tWindowOpen) ++gAllocations;
  return __libc_memalign(alignment, size);
}

KESTRANE_AUDIT_EXPORT int posix_memalign(void** out, size_t alignment, size_t size)
{
  if (tWindowOpen) ++gAllocations;
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
  void* p = __libc_memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}

// ---- Blocking calls ----

KESTRANE_AUDIT_EXPORT int pthread_mutex_lock(pthread_mutex_t* mutex)
{
  const auto next = Next(gLock, "pthread_mutex_lock");
  // A try-then-lock is racy by nature: the try only tells whether the lock
  // was free a moment before; the real lock follows either way.
  if (tWindowOpen) AuditMutex(mutex);
  return next(mutex);
}

KESTRANE_AUDIT_EXPORT int pthread_mutex_timedlock(pthread_mutex_t* mutex, const timespec* until)
{
  const auto next = Next(gTimedLock, "pthread_mutex_timedlock");
  if (tWindowOpen) AuditMutex(mutex);
  return next(mutex, until);
}

KESTRANE_AUDIT_EXPORT int pthread_mutex_clocklock(pthread_mutex_t* mutex, clockid_t clock, const timespec* until)
{
  const auto next = Next(gClockLock, "pthread_mutex_clocklock");
  if (tWindowOpen) AuditMutex(mutex);
  return next(mutex, clock, until);
}

KESTRANE_AUDIT_EXPORT int pthread_cond_wait(pthread_cond_t* cond, pthread_mutex_t* mutex)
{
  const auto next = Next(gCondWait, "pthread_cond_wait");
  if (tWindowOpen) ++gWaits, ++gForeign;
  return next(cond, mutex);
}

KESTRANE_AUDIT_EXPORT int pthread_cond_timedwait(pthread_cond_t* cond, pthread_mutex_t* mutex, const timespec* until)
{
  const auto next = Next(gCondTimedWait, "pthread_cond_timedwait");
  if (tWindowOpen) ++gWaits, ++gForeign;
  return next(cond, mutex, until);
}

KESTRANE_AUDIT_EXPORT int pthread_rwlock_rdlock(pthread_rwlock_t* lock)
{
  const auto next = Next(gRdLock, "pthread_rwlock_rdlock");
  if (tWindowOpen) ++gLocks, ++gForeign;
  return next(lock);
}

KESTRANE_AUDIT_EXPORT int pthread_rwlock_wrlock(pthread_rwlock_t* lock)
{
  const auto next = Next(gWrLock, "pthread_rwlock_wrlock");
  if (tWindowOpen) ++gLocks, ++gForeign;
  return next(lock);
}

KESTRANE_AUDIT_EXPORT int sem_wait(sem_t* semaphore)
{
  const auto next = Next(gSemWait, "sem_wait");
  if (tWindowOpen) ++gWaits, ++gForeign;
  return next(semaphore);
}

// ---- Windows and counts ----

namespace audit
{
void Open()
{
  tWindowOpen = true;
}

void Close()
{
  tWindowOpen = false;
}

Paused::Paused() : mWasOpen(tWindowOpen)
{
  tWindowOpen = false;
}

Paused::~Paused()
{
  tWindowOpen = mWasOpen;
}

Counts Take()
{
  Counts c;
  c.allocations = gAllocations.exchange(0);
  c.frees = gFrees.exchange(0);
  c.locks = gLocks.exchange(0);
  c.waits = gWaits.exchange(0);
  c.foreignLocks = gForeign.exchange(0);
  for (std::atomic<const void*>& slot : gSeenMutexes) slot.store(nullptr);
  return c;
}

void SetOwnMutex(const void* mutex)
{
  gOwnMutex.store(mutex);
}

const void* FirstLockedMutex()
{
  return gSeenMutexes[0].load();
}

int DistinctLockedMutexes()
{
  int n = 0;
  for (std::atomic<const void*>& slot : gSeenMutexes) n += slot.load() != nullptr;
  return n;
}
} // namespace audit
