#pragma once

#include <chrono>
#include <string>

// Xlib's Display; its header stays out of the users of this one (its macros clash with others).
struct _XDisplay;

namespace morvane {

// Opens a connection to the X display `name` (empty: the one DISPLAY names). While the server
// is not there yet or drops the new connection (it is starting, or resetting after its last
// client left), the attempt is repeated, each failure logged on stderr, until `patience` has
// passed; any other failure ends it at once. On failure returns nullptr, and `problem` names
// the call, the display and the error.
_XDisplay* OpenXDisplay(const std::string& name, std::chrono::milliseconds patience,
                        std::string& problem);

// The process's one connection to the X display of DISPLAY, opened on first use and closed at
// exit; a failure to open it is kept and given again to every later caller. The X server resets
// whenever its last client leaves and drops the connections that come while it does: windows
// that each had a connection of their own made it reset between two tests.
_XDisplay* SharedXDisplay(std::string& problem);

// Keeps the X errors of the requests sent while it lives (Xlib's own handler would end the
// program), so that a failing step can be reported by name. One trap at a time; errors of
// other connections go to the handler that was there before.
class XErrorTrap {
public:
    explicit XErrorTrap(_XDisplay* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far and returns the first error
    // they raised since the trap was set or last checked ("BadWindow (invalid Window
    // parameter), request 4.0"), or "" when there was none.
    std::string Check();

private:
    _XDisplay* display_;
};

} // namespace morvane
