// SPDX-License-Identifier: MIT
#include "x11_test_support.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelmora::testing {

std::string Shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    return output;
}

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

ProgramUnderTest::ProgramUnderTest() {
    char pattern[] = "/tmp/pelmora-test-XXXXXX";
    directory_ = mkdtemp(pattern);
    std::filesystem::copy_file(PELMORA_EXECUTABLE, directory_ / "pelmora");
}

ProgramUnderTest::~ProgramUnderTest() {
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove_all(directory_);
}

void ProgramUnderTest::Start(const std::string& display) {
    const std::string executable = (directory_ / "pelmora").string();
    endStatus_.reset();
    pid_ = fork();
    if (pid_ == 0) {
        if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("XDG_SESSION_TYPE", "x11", 1);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

bool ProgramUnderTest::EndsWithin(std::chrono::milliseconds limit) {
    return WaitUntil([&] { return !Running(); }, limit);
}

unsigned long ProgramUnderTest::FindWindow(const std::string& display) const {
    const std::string prefix = display.empty() ? "" : "DISPLAY=" + display + " ";
    const std::string found =
        Shell(prefix + "xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null");
    return found.empty() ? 0 : std::stoul(found);
}

bool ProgramUnderTest::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    const pid_t waited = waitpid(pid_, &status, WNOHANG);
    if (waited == 0) return true;
    if (waited == pid_) endStatus_ = status;
    pid_ = -1;
    return false;
}

bool ProgramUnderTest::EndsCleanlyAfter(int signal, std::chrono::milliseconds limit) {
    // Without a process of its own, kill would take -1 for every process there is.
    if (pid_ <= 0) return false;
    kill(pid_, signal);
    int status = 0;
    const bool ended = WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
    if (!ended) return false;
    pid_ = -1;
    endStatus_ = status;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

unsigned long CreatePaintedWindow(::Display* display, int left, int top, int width, int height,
                                  const std::function<std::int32_t(int x, int y)>& colourAt) {
    const int screen = DefaultScreen(display);
    const ::Window root = RootWindow(display, screen);
    const auto w = static_cast<unsigned>(width), h = static_cast<unsigned>(height);
    const Pixmap pixmap = XCreatePixmap(display, root, w, h, DefaultDepth(display, screen));
    XImage* image = XGetImage(display, pixmap, 0, 0, w, h, AllPlanes, ZPixmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::int32_t c = colourAt(x, y);  // 0x00BBGGRR; X pixels are 0xRRGGBB
            XPutPixel(image, x, y, (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
        }
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, w, h);
    XFreeGC(display, gc);
    XDestroyImage(image);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixmap = pixmap;
    const ::Window window = XCreateWindow(display, root, left, top, w, h, 0, CopyFromParent, InputOutput,
                                          CopyFromParent, CWOverrideRedirect | CWBackPixmap, &attributes);
    XFreePixmap(display, pixmap);  // the window keeps its own copy as background
    return window;
}

PatternWindow::PatternWindow(int left, int top, int width, int height) : display_(XOpenDisplay(nullptr)) {
    const ::Window window = CreatePaintedWindow(display_, left, top, width, height, ColourAt);
    XMapRaised(display_, window);
    XSync(display_, False);
}

PatternWindow::~PatternWindow() { XCloseDisplay(display_); }

PrivateXServer::PrivateXServer(const std::string& screen) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(pipeEnds[0]);
        // Quiet: while it looks for a free display it reports every one already taken.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(pipeEnds[1]);
        std::vector<const char*> args{"Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp"};
        if (!screen.empty()) args.insert(args.end(), {"-screen", "0", screen.c_str()});
        args.push_back(nullptr);
        execvp("Xvfb", const_cast<char* const*>(args.data()));
        _exit(127);
    }
    close(pipeEnds[1]);
    // Xvfb writes the number and its newline in two writes; closing the pipe before the
    // second one kills the server, so read up to the newline (or the end of the pipe).
    std::string number;
    char c;
    while (number.size() < 16 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeEnds[0]);
    if (!number.empty()) display_.append(":").append(std::to_string(std::atoi(number.c_str())));
}

void PrivateXServer::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace pelmora::testing
