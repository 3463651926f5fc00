// SPDX-License-Identifier: MIT
// The window list's walk and the crosshair pick's reads, a thousand times each, while
// another program creates and destroys windows as fast as it can, so that windows vanish
// in the middle of both. The connection under test runs as in the program, with no trap
// around it: an X error would reach the program's handler, which prints it. None may,
// nothing may crash, and every window answered exists or existed: never an id taken from
// a reply that was not its own.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <X11/Xlib-xcb.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include <unistd.h>

#include "churning_client.h"
#include "managed_desktop.h"
#include "backends/x11/x11_desktop.h"

using namespace pelmora;
using namespace pelmora::testing;

namespace {

constexpr int kRounds = 1000;

// Every window that has been at the top of the tree: those there were when it started,
// with every window below them, and each one made at the root or put there since, as the
// root's SubstructureNotify events tell a connection of its own. The window walk lists
// only such windows: top-level ones, or the clients inside frames, which their programs
// made at the root.
class TopLevelHistory {
public:
    explicit TopLevelHistory(const std::string& display) : watcher_(display) {
        XSelectInput(watcher_.display(), watcher_.root(), SubstructureNotifyMask);
        watcher_.Sync();
        AddTree(watcher_.root());
    }
    bool Seen(XWindowId window) {
        CatchUp();
        if (seen_.count(window)) return true;
        // The server may not have sent this connection yet what it has told another one:
        // whatever it sends before the answer to a round trip is here after it.
        watcher_.Sync();
        CatchUp();
        return seen_.count(window) != 0;
    }

private:
    void AddTree(::Window window) {
        ::Window root = None, parent = None;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(watcher_.display(), window, &root, &parent, &children, &count)) return;
        for (unsigned i = 0; i < count; ++i) {
            seen_.insert(children[i]);
            AddTree(children[i]);
        }
        if (children) XFree(children);
    }
    void CatchUp() {
        while (XPending(watcher_.display())) {
            XEvent event;
            XNextEvent(watcher_.display(), &event);
            if (event.type == CreateNotify) seen_.insert(event.xcreatewindow.window);
            if (event.type == ReparentNotify) seen_.insert(event.xreparent.window);
        }
    }

    DesktopClient watcher_;
    std::set<XWindowId> seen_;
};

// What this process writes to standard error from now until End().
class StandardErrorCapture {
public:
    StandardErrorCapture() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        dup2(fileno(file_), STDERR_FILENO);
    }
    ~StandardErrorCapture() { End(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;
    std::string End() {
        if (saved_ < 0) return text_;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
        std::rewind(file_);
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) text_.append(buffer, n);
        std::fclose(file_);
        return text_;
    }

private:
    std::FILE* file_;
    int saved_;
    std::string text_;
};

// The first few faults of a kind, and how many there were.
struct Faults {
    int count = 0;
    std::ostringstream first;
    void Add(const std::string& what) {
        if (count++ < 5) first << "\n  " << what;
    }
};

}  // namespace

TEST(WindowChurnTest, WalksAndPicksAmongVanishingWindowsRaiseNoErrorAndAnswerOnlyRealWindows) {
    ManagedDesktop managed;
    ASSERT_TRUE(managed.Ready()) << "openbox did not come up on a private Xvfb";
    std::unique_ptr<X11Connection> connection = X11Connection::Open(managed.Display().c_str());
    ASSERT_TRUE(connection);
    X11Desktop desktop(*connection);
    DesktopClient client(managed.Display());
    ASSERT_TRUE(client.display());

    const std::string stableTitle = "stable window";
    const XWindowId stable = client.Create(40, 40, 300, 200);
    client.SetTitle(stable, stableTitle);
    ASSERT_TRUE(client.MapManaged(stable));
    const auto [stableX, stableY] = client.OnScreen(stable, 150, 100);
    const ScreenPoint stablePoint{stableX, stableY}, churnPoint{760, 630};
    // The window manager's own windows (a frame's parts) share the id base of its check
    // window; a walk down that ends inside a frame whose client went answers one of them.
    const std::vector<XWindowId> check = client.RootList("_NET_SUPPORTING_WM_CHECK");
    ASSERT_EQ(check.size(), 1u);
    const XWindowId idMask = xcb_get_setup(XGetXCBConnection(client.display()))->resource_id_mask;
    const auto windowManagers = [&](XWindowId window) { return (window & ~idMask) == (check[0] & ~idMask); };

    TopLevelHistory history(managed.Display());
    StandardErrorCapture errors;
    ChurningClient churn(managed.Display(), 720, 600, 80, 60);
    ASSERT_TRUE(WaitUntil([&] { return churn.Created() >= 10; }));

    const auto consistent = [](WindowHandle handle, const std::string& title) {
        return title.rfind("churn", 0) != 0 || title == ChurningClient::TitleOf(static_cast<XWindowId>(handle));
    };
    Faults unknownListed, mismatchedTitles, stableListings, unknownPicked, wrongStablePicks;
    int listedChurn = 0, pickedChurn = 0;
    // At least kRounds walks, and on until the churn has made as many windows: on a loaded
    // machine the churning client falls behind the walks (some 500 windows in 1000 rounds).
    for (int round = 0; round < kRounds || (churn.Created() < kRounds && round < 4 * kRounds); ++round) {
        // The window list's walk.
        int stableSeen = 0;
        for (const TopLevelWindow& window : desktop.TopLevelWindows()) {
            const std::string what = std::to_string(window.handle) + " \"" + window.title + "\"";
            if (window.handle == 0 || !history.Seen(static_cast<XWindowId>(window.handle)))
                unknownListed.Add("round " + std::to_string(round) + ": " + what);
            if (!consistent(window.handle, window.title)) mismatchedTitles.Add("listed " + what);
            if (window.handle == static_cast<WindowHandle>(stable)) {
                ++stableSeen;
                if (window.title != stableTitle) mismatchedTitles.Add("listed " + what);
            }
            listedChurn += window.title.rfind("churn", 0) == 0;
        }
        if (stableSeen != 1) stableListings.Add("round " + std::to_string(round) + ": " + std::to_string(stableSeen));

        // The crosshair pick: the window under the pointer, then its texts; by turns over
        // the churn and over the stable window.
        const bool overChurn = round % 2 == 0;
        desktop.SetPointerPos(overChurn ? churnPoint : stablePoint);
        const WindowHandle picked = desktop.WindowAt(desktop.PointerPos());
        const WindowTexts texts = desktop.ReadWindowTexts(picked);
        const std::string what = std::to_string(picked) + " \"" + texts.title + "\" " + texts.className;
        if (!overChurn) {
            if (picked != static_cast<WindowHandle>(stable) || texts.title != stableTitle)
                wrongStablePicks.Add("round " + std::to_string(round) + ": " + what);
            continue;
        }
        const auto window = static_cast<XWindowId>(picked);
        if (picked != 0 && window != client.root() && !history.Seen(window) && !windowManagers(window))
            unknownPicked.Add("round " + std::to_string(round) + ": " + what);
        // A churn window gets its title, then its class.
        const bool churned = texts.title.rfind("churn", 0) == 0;
        if (!consistent(picked, texts.title) || (churned && !texts.className.empty() && texts.className != "Churn"))
            mismatchedTitles.Add("picked " + what);
        pickedChurn += churned;
    }
    churn.Stop();
    const std::string printed = errors.End();

    EXPECT_EQ(printed, "") << "an X error reached the program's error handler";
    EXPECT_EQ(unknownListed.count, 0) << "listed windows that never were:" << unknownListed.first.str();
    EXPECT_EQ(unknownPicked.count, 0) << "picked windows that never were:" << unknownPicked.first.str();
    EXPECT_EQ(mismatchedTitles.count, 0) << "texts of another window:" << mismatchedTitles.first.str();
    EXPECT_EQ(stableListings.count, 0) << "the stable window listed other than once:" << stableListings.first.str();
    EXPECT_EQ(wrongStablePicks.count, 0) << "the stable window not picked:" << wrongStablePicks.first.str();
    // The churn ran all along, and its windows were met by both.
    EXPECT_GE(churn.Created(), kRounds);
    EXPECT_GT(listedChurn, 0);
    EXPECT_GT(pickedChurn, 0);
    EXPECT_TRUE(client.DestroyTopLevels());
}
