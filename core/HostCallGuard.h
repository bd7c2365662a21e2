#pragma once

#include <exception>

// The boundary between a host and the plug-in. Every callback a host can
// call runs its body through GuardHostCallback: nothing escapes into the
// host (an exception becomes the callback's safe answer), and host misuse
// (calls on a closed instance, impossible rates, sizes or indices) gets a
// defined answer and is reported where the policy says.
//
// Reports read "host misbehaving: <what> (<file>:<line>)" on stderr. Debug
// builds report by default; release builds stay silent (no I/O on the audio
// thread) unless a test switches reporting on or makes it fatal, so CI sees
// any misuse of our own test hosts.
enum class HostMisusePolicy
{
  kIgnore, // the safe answer only
  kReport, // and a line on stderr
  kFatal   // and abort(): for tests
};

// [any thread; atomic]
void SetHostMisusePolicy(HostMisusePolicy policy);
HostMisusePolicy CurrentHostMisusePolicy();

// Reports misuse at file:line as the policy says. [any thread]
void ReportHostMisuse(const char* file, int line, const char* what) noexcept;
// An exception stopped at the host boundary, reported the same way.
void ReportHostCallbackException(const char* file, int line, const char* what) noexcept;

#define KESTRANE_HOST_MISUSE(what) ReportHostMisuse(__FILE__, __LINE__, what)

// Runs body() and returns its result; fallback when it throws.
template <class Result, class Body>
Result GuardHostCallback(const char* file, int line, Result fallback, Body&& body) noexcept
{
  try
  {
    return body();
  }
  catch (const std::exception& e)
  {
    ReportHostCallbackException(file, line, e.what());
  }
  catch (...)
  {
    ReportHostCallbackException(file, line, "unknown exception");
  }
  return fallback;
}

// The same for a callback without a result.
template <class Body>
void GuardHostCallback(const char* file, int line, Body&& body) noexcept
{
  GuardHostCallback(file, line, 0, [&body] {
    body();
    return 0;
  });
}

#define KESTRANE_GUARD_HOST_CALLBACK(...) GuardHostCallback(__FILE__, __LINE__, __VA_ARGS__)
