// SPDX-License-Identifier: MIT
// window_churn: another program on the soak run's desktop. It keeps creating top-level
// windows, mapping them, changing their titles and destroying them, at random from a
// seed, and moves the pointer over them and their frames many times a second, so that the
// program under test reads windows that change and vanish under it. scripts/soak drives
// it through standard input, one command a line:
//   go          churn (it starts paused)
//   hold X Y    stop churning and put the pointer at (X, Y) of the screen; answers "held"
//   show        stop churning and put the pointer at the centre of the newest window, once
//               the window manager has framed every window (so the newest lies on top);
//               answers "held X Y WINDOW", or "none" when that takes over 10 s or the
//               window lies off the screen
//   quit        destroy every window, print what was done, and end (status 1 if any of
//               its own requests failed)
// It first waits until the window manager frames its windows, then prints "ready".
// Usage: window_churn SEED
#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <unistd.h>

#include "churn_titles.h"

namespace {

using namespace pelmora::soak;
using namespace std::chrono_literals;

constexpr int kStepMs = 20;  // one pointer move per step: about forty a second
constexpr std::size_t kMostWindows = 12;

int xErrors = 0;

// Requests only ever name this client's own live windows, so an error is a fault here.
int ReportXError(Display*, XErrorEvent* event) {
    std::fprintf(stderr, "window_churn: X error %d on request %d\n", event->error_code, event->request_code);
    ++xErrors;
    return 0;
}

struct ChurnWindow {
    Window id;
    int width, height;
};

class Churn {
public:
    Churn(Display* display, unsigned seed)
        : display_(display),
          root_(DefaultRootWindow(display)),
          screenWidth_(DisplayWidth(display, DefaultScreen(display))),
          screenHeight_(DisplayHeight(display, DefaultScreen(display))),
          random_(seed),
          titles_(random_),
          netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
          utf8String_(XInternAtom(display, "UTF8_STRING", False)),
          wmState_(XInternAtom(display, "WM_STATE", False)) {}

    // Maps probe windows until one gets its frame: a window manager that has just set
    // its check window may still leave a window mapped in that moment unframed.
    bool WaitForWindowManager(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const ChurnWindow probe = Create();
            const auto probeDeadline = std::chrono::steady_clock::now() + 500ms;
            bool framed = false;
            while (!(framed = Framed(probe.id)) && std::chrono::steady_clock::now() < probeDeadline)
                std::this_thread::sleep_for(10ms);
            XDestroyWindow(display_, probe.id);
            XSync(display_, False);
            if (framed) return true;
        }
        return false;
    }

    void Step() {
        if (windows_.empty()) windows_.push_back(Create());
        MovePointer();
        const int roll = Between(0, 99);
        if (roll < 12 && windows_.size() < kMostWindows) windows_.push_back(Create());
        else if (roll < 22 && !windows_.empty()) Destroy(static_cast<std::size_t>(Between(0, Last())));
        else if (roll < 70 && !windows_.empty()) SetTitles(windows_[static_cast<std::size_t>(Between(0, Last()))].id);
        XSync(display_, False);
    }

    void Hold(int x, int y) {
        XWarpPointer(display_, None, root_, 0, 0, 0, 0, x, y);
        XSync(display_, False);
    }

    struct Shown {
        int x, y;
        Window window;
    };
    std::optional<Shown> ShowNewest() {
        if (windows_.empty()) windows_.push_back(Create());
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!std::all_of(windows_.begin(), windows_.end(), [&](const ChurnWindow& w) { return Framed(w.id); })) {
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            std::this_thread::sleep_for(10ms);
        }
        // The middle of the part on the screen: the window manager may leave a window partly off it.
        const ChurnWindow& newest = windows_.back();
        int left = 0, top = 0;
        Window child = None;
        XTranslateCoordinates(display_, newest.id, root_, 0, 0, &left, &top, &child);
        const int right = std::min(left + newest.width, screenWidth_),
                  bottom = std::min(top + newest.height, screenHeight_);
        left = std::max(left, 0);
        top = std::max(top, 0);
        if (left >= right || top >= bottom) return std::nullopt;
        const Shown shown{(left + right) / 2, (top + bottom) / 2, newest.id};
        Hold(shown.x, shown.y);
        return shown;
    }

    void DestroyWindows() {
        while (!windows_.empty()) Destroy(windows_.size() - 1);
        XSync(display_, False);
    }

    void Report() const {
        std::printf("window_churn: %d windows created, %d destroyed, %d titles set, %d pointer moves, %d X errors\n",
                    created_, destroyed_, titled_, moves_, xErrors);
    }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    int Last() const { return static_cast<int>(windows_.size()) - 1; }

    ChurnWindow Create() {
        const int width = Between(80, 500), height = Between(60, 400);
        const int x = Between(0, screenWidth_ - 100), y = Between(0, screenHeight_ - 100);
        const auto background = static_cast<unsigned long>(Between(0, 0xFFFFFF));
        const Window window = XCreateSimpleWindow(display_, root_, x, y, static_cast<unsigned>(width),
                                                  static_cast<unsigned>(height), 0, 0, background);
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(display_, window, &hints);
        XClassHint classHint{const_cast<char*>("churn"), const_cast<char*>("WindowChurn")};
        XSetClassHint(display_, window, &classHint);
        SetTitles(window);
        XMapWindow(display_, window);
        ++created_;
        return {window, width, height};
    }

    void SetTitles(Window window) {
        const WindowTitles titles = titles_.Next();
        SetText(window, netWmName_, utf8String_, titles.netWmName);
        SetText(window, XA_WM_NAME, XA_STRING, titles.wmName);
        ++titled_;
    }

    void SetText(Window window, Atom property, Atom type, const std::optional<std::string>& text) {
        if (!text) {
            XDeleteProperty(display_, window, property);
            return;
        }
        XChangeProperty(display_, window, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text->data()), static_cast<int>(text->size()));
    }

    void Destroy(std::size_t index) {
        XDestroyWindow(display_, windows_[index].id);
        windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(index));
        ++destroyed_;
    }

    // Mostly into a window or onto its frame's title bar and borders, else anywhere.
    void MovePointer() {
        if (!windows_.empty() && Between(0, 4) != 0) {
            const ChurnWindow& window = windows_[static_cast<std::size_t>(Between(0, Last()))];
            XWarpPointer(display_, None, window.id, 0, 0, 0, 0, Between(-8, window.width + 8),
                         Between(-24, window.height + 8));
        } else {
            XWarpPointer(display_, None, root_, 0, 0, 0, 0, Between(0, screenWidth_ - 1),
                         Between(0, screenHeight_ - 1));
        }
        ++moves_;
    }

    bool Framed(Window window) const {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool state = XGetWindowProperty(display_, window, wmState_, 0, 1, False, AnyPropertyType, &type, &format,
                                              &count, &after, &data) == Success &&
                           type != None;
        if (data) XFree(data);
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned childCount = 0;
        const bool queried = XQueryTree(display_, window, &rootReturn, &parent, &children, &childCount);
        if (children) XFree(children);
        XWindowAttributes attributes{};
        return state && queried && parent != root_ && XGetWindowAttributes(display_, window, &attributes) &&
               attributes.map_state == IsViewable;
    }

    Display* display_;
    Window root_;
    int screenWidth_, screenHeight_;
    std::mt19937 random_;
    TitleGenerator titles_;
    Atom netWmName_, utf8String_, wmState_;
    std::vector<ChurnWindow> windows_;
    int created_ = 0, destroyed_ = 0, titled_ = 0, moves_ = 0;
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_churn SEED\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window_churn: no X server\n");
        return 1;
    }
    XSetErrorHandler(ReportXError);
    Churn churn(display, static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    if (!churn.WaitForWindowManager(20s)) {
        std::fprintf(stderr, "window_churn: no window manager framed a window\n");
        return 1;
    }
    Say("ready");

    bool churning = false;
    std::string pending;
    for (;;) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, churning ? kStepMs : -1) > 0) {
            char buffer[256];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            pending.append(got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : "quit\n");
        }
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::istringstream line(pending.substr(0, end));
            pending.erase(0, end + 1);
            std::string command;
            line >> command;
            int x = 0, y = 0;
            if (command == "go") {
                churning = true;
            } else if (command == "hold" && line >> x >> y) {
                churning = false;
                churn.Hold(x, y);
                Say("held");
            } else if (command == "show") {
                churning = false;
                const auto shown = churn.ShowNewest();
                Say(shown ? "held " + std::to_string(shown->x) + " " + std::to_string(shown->y) + " " +
                                std::to_string(shown->window)
                          : "none");
            } else if (command == "quit") {
                churn.DestroyWindows();
                churn.Report();
                XCloseDisplay(display);
                return xErrors == 0 ? 0 : 1;
            } else {
                std::fprintf(stderr, "window_churn: unknown command '%s'\n", command.c_str());
            }
        }
        if (churning) churn.Step();
    }
}
