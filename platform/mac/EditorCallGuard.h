#pragma once

#include <type_traits>

// Calls from Objective-C++ into the editor. A C++ exception must not unwind
// into an Objective-C method (clang gives .mm functions a personality that
// neither catches nor reliably passes C++ exceptions), and a .mm file cannot
// catch one itself: the call runs inside a noexcept function of a C++ file,
// which stops any exception there. False when the call threw.
bool CallEditorGuarded(void (*call)(void*), void* context) noexcept;

template <class Call>
bool GuardedEditorCall(Call&& call)
{
  using Body = std::remove_reference_t<Call>;
  return CallEditorGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &call);
}
