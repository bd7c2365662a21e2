#include "platform/mac/EditorCallGuard.h"

#include "core/HostCallGuard.h"

bool CallEditorGuarded(void (*call)(void*), void* context) noexcept
{
  return KESTRANE_GUARD_HOST_CALLBACK(false, [&]() -> bool {
    call(context);
    return true;
  });
}
