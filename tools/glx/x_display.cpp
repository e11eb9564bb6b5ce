#include "glx/x_display.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace morvane {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The errors of a server that is not listening yet (no socket, refused) or that dropped the
// connection while it was starting or resetting; anything else will not change by waiting.
bool WorthWaiting(int error) {
    return error == ENOENT || error == ECONNREFUSED || error == ECONNRESET || error == EAGAIN ||
           error == EINTR;
}

std::string DescribeErrno(int error) {
    if (error == 0) {
        return "refused by the server, or no system error given";
    }
    return std::string(std::strerror(error)) + " (errno " + std::to_string(error) + ")";
}

long long Elapsed(Clock::time_point since) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - since).count();
}

} // namespace

_XDisplay* OpenXDisplay(const std::string& name, milliseconds patience, std::string& problem) {
    const std::string shown = XDisplayName(name.empty() ? nullptr : name.c_str());
    if (shown.empty()) {
        problem = "XOpenDisplay: no display given and DISPLAY is not set";
        return nullptr;
    }
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + patience;
    milliseconds pause(50);
    for (int attempt = 1;; ++attempt) {
        errno = 0;
        Display* display = XOpenDisplay(shown.c_str());
        const int error = errno;
        if (display != nullptr) {
            if (attempt > 1) {
                std::fprintf(stderr, "x display: \"%s\" opened at attempt %d, after %lld ms\n",
                             shown.c_str(), attempt, Elapsed(start));
            }
            return display;
        }
        problem = "XOpenDisplay(\"" + shown + "\") failed: " + DescribeErrno(error);
        const Clock::time_point now = Clock::now();
        if (!WorthWaiting(error) || now >= deadline) {
            problem += ", at attempt " + std::to_string(attempt) + " after " +
                       std::to_string(Elapsed(start)) + " ms";
            return nullptr;
        }
        const milliseconds wait = std::min(pause, std::chrono::ceil<milliseconds>(deadline - now));
        std::fprintf(stderr, "x display: %s; trying again in %lld ms\n", problem.c_str(),
                     static_cast<long long>(wait.count()));
        std::this_thread::sleep_for(wait);
        pause = std::min(pause * 2, milliseconds(1000));
    }
}

namespace {

// Long enough for an X server started at the same moment on a loaded machine.
constexpr milliseconds SharedDisplayPatience(10000);

struct SharedConnection {
    Display* display = nullptr;
    std::string problem;

    SharedConnection() { display = OpenXDisplay("", SharedDisplayPatience, problem); }
    ~SharedConnection() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    SharedConnection(const SharedConnection&) = delete;
    SharedConnection& operator=(const SharedConnection&) = delete;
};

} // namespace

_XDisplay* SharedXDisplay(std::string& problem) {
    static SharedConnection connection;
    if (connection.display == nullptr) {
        problem = connection.problem;
    }
    return connection.display;
}

namespace {

// Xlib has one error handler for the whole process: the trap that is set keeps its state here.
struct TrapState {
    Display* display = nullptr;
    XErrorHandler previous = nullptr;
    std::string firstError;
};
TrapState trapState;

int KeepError(Display* display, XErrorEvent* event) {
    if (display != trapState.display) {
        return trapState.previous != nullptr ? trapState.previous(display, event) : 0;
    }
    if (trapState.firstError.empty()) {
        char text[256] = {};
        XGetErrorText(display, event->error_code, text, sizeof text);
        trapState.firstError = std::string(text) + ", request " +
                               std::to_string(event->request_code) + "." +
                               std::to_string(event->minor_code);
    }
    return 0;
}

} // namespace

XErrorTrap::XErrorTrap(_XDisplay* display) : display_(display) {
    assert(trapState.display == nullptr && "one X error trap at a time");
    XSync(display_, False); // errors of earlier requests are not this trap's
    trapState.display = display_;
    trapState.firstError.clear();
    trapState.previous = XSetErrorHandler(KeepError);
}

XErrorTrap::~XErrorTrap() {
    const std::string unchecked = Check();
    if (!unchecked.empty()) {
        std::fprintf(stderr, "x display: X error after the last check: %s\n", unchecked.c_str());
    }
    XSetErrorHandler(trapState.previous);
    trapState = TrapState{};
}

std::string XErrorTrap::Check() {
    XSync(display_, False);
    std::string error;
    std::swap(error, trapState.firstError);
    return error;
}

} // namespace morvane
