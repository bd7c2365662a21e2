#pragma once

#include <X11/Xlib.h>

// Keeps X errors on the editor's own display connections from ending the
// host. Xlib reports protocol errors (a BadWindow after the host destroyed
// the parent, a failed shared-memory attach on a remote display) through one
// process-wide handler whose default prints and exits, and a lost connection
// through an exit handler that exits. While any of our connections is
// registered, our handler is installed: it records errors of our displays
// and hands every other display's errors to the handler it replaced, so the
// host's own handling is unchanged.
//
// Threads: Register and Unregister on the UI thread; the handler runs on
// whichever thread made the failing request, and looks displays up under a
// mutex of its own.
namespace x11_error_trap
{
// Starts trapping errors of this connection. False when too many
// connections are open at once (the caller then closes it again).
bool Register(Display* display);
// Stops trapping; the previous handler comes back with the last connection.
void Unregister(Display* display);

// Errors recorded on the connection since the last call, which resets the
// count. Call XSync first to collect the errors of requests just made.
int TakeErrorCount(Display* display);
// The connection to the server broke: no request may follow but closing it.
bool ConnectionLost(Display* display);
} // namespace x11_error_trap
