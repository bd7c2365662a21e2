#include "core/HostCallGuard.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{
#ifdef NDEBUG
constexpr HostMisusePolicy kDefaultPolicy = HostMisusePolicy::kIgnore;
#else
constexpr HostMisusePolicy kDefaultPolicy = HostMisusePolicy::kReport;
#endif

std::atomic<HostMisusePolicy> sPolicy{kDefaultPolicy};

void Report(const char* kind, const char* file, int line, const char* what) noexcept
{
  const HostMisusePolicy policy = sPolicy.load(std::memory_order_relaxed);
  if (policy == HostMisusePolicy::kIgnore) return;
  std::fprintf(stderr, "%s: %s (%s:%d)\n", kind, what ? what : "", file ? file : "?", line);
  if (policy == HostMisusePolicy::kFatal) std::abort();
}
} // namespace

void SetHostMisusePolicy(HostMisusePolicy policy)
{
  sPolicy.store(policy, std::memory_order_relaxed);
}

HostMisusePolicy CurrentHostMisusePolicy()
{
  return sPolicy.load(std::memory_order_relaxed);
}

void ReportHostMisuse(const char* file, int line, const char* what) noexcept
{
  Report("host misbehaving", file, line, what);
}

void ReportHostCallbackException(const char* file, int line, const char* what) noexcept
{
  Report("exception stopped at the host boundary", file, line, what);
}
