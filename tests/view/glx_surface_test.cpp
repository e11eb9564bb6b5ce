#include "glx/glx_surface.h"
#include "glx/x_display.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace morvane {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Whether a listening socket of that path (or of that abstract name) exists on this machine.
bool SocketExists(const std::string& path) {
    std::ifstream sockets("/proc/net/unix");
    for (std::string line; std::getline(sockets, line);) {
        if (line.ends_with(" " + path) || line.ends_with(" @" + path)) {
            return true;
        }
    }
    return false;
}

// A display number that no X server of this machine has taken (no lock, no socket).
std::string UnusedDisplayName() {
    for (int number = 400 + getpid() % 400;; ++number) {
        const std::string n = std::to_string(number);
        if (!std::filesystem::exists("/tmp/.X" + n + "-lock") &&
            !std::filesystem::exists("/tmp/.X11-unix/X" + n) &&
            !SocketExists("/tmp/.X11-unix/X" + n)) {
            return ":" + n;
        }
    }
}

// An Xvfb of the test's own that starts listening only after a delay, stopped at the end.
class LateServer {
public:
    LateServer(const std::string& name, double delaySeconds) {
        const std::string command = "sleep " + std::to_string(delaySeconds) + "; exec Xvfb " +
                                    name + " -nolisten tcp >" + log_.Path("xvfb.log") + " 2>&1";
        const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
        if (posix_spawnp(&pid_, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            pid_ = 0;
        }
    }
    ~LateServer() {
        if (pid_ != 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    LateServer(const LateServer&) = delete;
    LateServer& operator=(const LateServer&) = delete;

    bool Started() const { return pid_ != 0; }
    std::string Log() const {
        std::ifstream in(log_.Path("xvfb.log"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    test::TempDir log_;
    pid_t pid_ = 0;
};

void ClearTo(GlxSurface& surface, float red, float green, float blue) {
    surface.MakeCurrent();
    glClearColor(red, green, blue, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    surface.SwapBuffers();
}

// Every view test makes a window with a context and drops it again. Each must get a working
// context of its own however many came before: when each window had a display connection of
// its own, the X server reset after every test and the next window's connection was dropped.
TEST(GlxSurface, SurfacesOneAfterAnotherEachGetAFreshContext) {
    for (int i = 0; i < 40; ++i) {
        GlxSurface surface(16, 8);
        ASSERT_TRUE(surface.HasContext()) << "surface " << i << ": " << surface.Problem();
        EXPECT_TRUE(surface.Problem().empty()) << surface.Problem();
        surface.MakeCurrent();
        EXPECT_FALSE(glIsTexture(7)) << "surface " << i << " has a texture of an earlier one";
        glBindTexture(GL_TEXTURE_2D, 7);
        ClearTo(surface, 0, 0, i * 6 / 255.0f);
        const uint8_t* pixel = surface.LastFrame().At(15, 7);
        EXPECT_EQ(pixel[2], i * 6) << "surface " << i << " shows its own frame";
    }
}

TEST(GlxSurface, TwoSurfacesAtOnceDrawInTheirOwnWindows) {
    GlxSurface first(16, 8), second(24, 12);
    ASSERT_TRUE(first.HasContext()) << first.Problem();
    ASSERT_TRUE(second.HasContext()) << second.Problem();
    ClearTo(first, 1, 0, 0);
    ClearTo(second, 0, 0, 1);
    ClearTo(first, 0, 1, 0);
    EXPECT_EQ(first.LastFrame().At(15, 7)[1], 255);
    EXPECT_EQ(first.LastFrame().At(15, 7)[0], 0) << "the first window's earlier frame is gone";
    EXPECT_EQ(second.LastFrame().Width, 24);
    EXPECT_EQ(second.LastFrame().At(23, 11)[2], 255) << "the second window keeps its frame";
}

TEST(OpenXDisplay, WaitsForAServerThatStartsLate) {
    const std::string name = UnusedDisplayName();
    LateServer server(name, 0.5);
    ASSERT_TRUE(server.Started());
    const Clock::time_point start = Clock::now();
    std::string problem;
    Display* display = OpenXDisplay(name, milliseconds(30000), problem);
    const auto took = Clock::now() - start;
    ASSERT_NE(display, nullptr) << problem << "\nXvfb said:\n" << server.Log();
    EXPECT_EQ(std::string(DisplayString(display)), name);
    EXPECT_GE(took, milliseconds(400)) << "the server cannot have been there sooner";
    XCloseDisplay(display);
}

TEST(OpenXDisplay, FailuresNameTheCallAndTheDisplayAndEndInTime) {
    // No server comes: the wait ends with the patience.
    const std::string name = UnusedDisplayName();
    Clock::time_point start = Clock::now();
    std::string problem;
    EXPECT_EQ(OpenXDisplay(name, milliseconds(400), problem), nullptr);
    auto took = Clock::now() - start;
    EXPECT_TRUE(Contains(problem, "XOpenDisplay(\"" + name + "\") failed: ")) << problem;
    EXPECT_GE(took, milliseconds(400)) << "a server that is not there yet is waited for";
    EXPECT_LT(took, milliseconds(10000)) << "the wait is bounded";

    // A name that no server could have is not waited for.
    start = Clock::now();
    EXPECT_EQ(OpenXDisplay(":not-a-number", milliseconds(60000), problem), nullptr);
    took = Clock::now() - start;
    EXPECT_TRUE(Contains(problem, "XOpenDisplay(\":not-a-number\") failed")) << problem;
    EXPECT_LT(took, milliseconds(20000)) << "no wait for a failure that waiting cannot mend";
}

TEST(XErrorTrap, AFailedRequestIsReportedInsteadOfEndingTheProgram) {
    std::string problem;
    Display* display = SharedXDisplay(problem);
    ASSERT_NE(display, nullptr) << problem;
    XErrorTrap trap(display);
    EXPECT_EQ(trap.Check(), "");
    XDestroyWindow(display, 0x7ffffff); // a window that does not exist (X_DestroyWindow is 4)
    const std::string error = trap.Check();
    EXPECT_TRUE(Contains(error, "BadWindow")) << error;
    EXPECT_TRUE(Contains(error, "request 4.")) << error;
    EXPECT_EQ(trap.Check(), "") << "an error is given once";
    EXPECT_EQ(SharedXDisplay(problem), display) << "one connection for the whole program";
}

} // namespace
} // namespace morvane
