// SPDX-License-Identifier: MIT
// The X11 window operations on a desktop with a window manager: the client window at a
// point, window texts in every encoding X clients use, the top-level walk in stacking
// order, and all of it while another client creates and destroys windows.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "churning_client.h"
#include "managed_desktop.h"
#include "backends/x11/x11_desktop.h"
#include "x11_test_support.h"

using namespace pelmora;
using pelmora::testing::ChurningClient;
using pelmora::testing::DesktopClient;
using pelmora::testing::ManagedDesktop;
using pelmora::testing::Shell;
using pelmora::testing::WaitUntil;
using pelmora::testing::XWindowId;

namespace {

class ManagedWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { managed = new ManagedDesktop(); }
    static void TearDownTestSuite() {
        delete managed;
        managed = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(managed->Ready()) << "openbox did not come up on a private Xvfb";
        connection = X11Connection::Open(managed->Display().c_str());
        ASSERT_TRUE(connection);
        desktop.emplace(*connection);
        client = std::make_unique<DesktopClient>(managed->Display());
        ASSERT_TRUE(client->display());
        // Every X error of the connection under test reaches its handler, which hands it
        // to the innermost trap: none may arrive during a test.
        trap.emplace(connection->display());
    }

    void TearDown() override {
        if (trap) {
            EXPECT_FALSE(trap->Failed()) << "an X error reached the program's error handler";
        }
        trap.reset();
        if (client) {
            EXPECT_TRUE(client->DestroyTopLevels()) << "frames left behind";
        }
        client.reset();
    }

    static WindowHandle Handle(::Window window) { return static_cast<WindowHandle>(window); }

    // A framed client window with a title, shown.
    ::Window ShowTitled(int x, int y, int width, int height, const std::string& title) {
        const ::Window window = client->Create(x, y, width, height);
        client->SetTitle(window, title);
        EXPECT_TRUE(client->MapManaged(window)) << title;
        return window;
    }

    ScreenPoint Centre(::Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(client->display(), window, &attributes);
        const auto [x, y] = client->OnScreen(window, attributes.width / 2, attributes.height / 2);
        return {x, y};
    }

    // The handles of the walk in its order, kept only where keep holds.
    std::vector<WindowHandle> ListedAmong(const std::set<WindowHandle>& keep) {
        std::vector<WindowHandle> order;
        for (const TopLevelWindow& window : desktop->TopLevelWindows())
            if (keep.count(window.handle)) order.push_back(window.handle);
        return order;
    }

    static ManagedDesktop* managed;
    std::unique_ptr<X11Connection> connection;
    std::optional<X11Desktop> desktop;
    std::unique_ptr<DesktopClient> client;
    std::optional<X11ErrorTrap> trap;
};

ManagedDesktop* ManagedWindowsTest::managed = nullptr;

}  // namespace

TEST_F(ManagedWindowsTest, ClientWindowUnderAFrameIsTheOneXdotoolFinds) {
    const std::string title = "像素取色 测试窗口";
    const ::Window window = client->Create(200, 150, 320, 240);
    client->SetTitle(window, title);
    client->SetBytes(window, "WM_NAME", "UTF8_STRING", title);  // both, as Qt writes them; xdotool reads this one
    client->SetClass(window, "pelmora-probe", "PelmoraProbe");
    ASSERT_TRUE(client->MapManaged(window));
    const ::Window frame = client->Parent(window);
    ASSERT_NE(frame, client->root()) << "openbox gave the window no frame";

    const ScreenPoint centre = Centre(window);
    EXPECT_EQ(desktop->WindowAt(centre), Handle(window));
    EXPECT_EQ(desktop->WindowAt(centre), Handle(window)) << "asked again along the remembered way";
    EXPECT_EQ(Shell(managed->On("xdotool search --name '" + title + "' 2>/dev/null")), std::to_string(window) + "\n");

    const WindowTexts texts = desktop->ReadWindowTexts(Handle(window));
    EXPECT_EQ(texts.title, title);
    EXPECT_EQ(texts.className, "PelmoraProbe");
}

TEST_F(ManagedWindowsTest, TextsReadAlongWithWindowAtAreTheAnswersAndServeOnce) {
    const ::Window pointed = client->Create(150, 120, 300, 200);
    client->SetTitle(pointed, "pointed at");
    client->SetClass(pointed, "pointed", "Pointed");
    ASSERT_TRUE(client->MapManaged(pointed));
    const ::Window other = client->Create(0, 0, 10, 10);
    client->SetTitle(other, "another one");
    client->SetClass(other, "another", "Another");
    const ScreenPoint point = Centre(pointed);

    ASSERT_EQ(desktop->WindowAt(point), Handle(pointed));
    ASSERT_EQ(desktop->WindowAt(point), Handle(pointed));  // the same again: its texts come along
    WindowTexts texts = desktop->ReadWindowTexts(Handle(pointed));
    EXPECT_EQ(texts.title, "pointed at");
    EXPECT_EQ(texts.className, "Pointed");
    texts = desktop->ReadWindowTexts(Handle(pointed));  // read anew
    EXPECT_EQ(texts.title, "pointed at");
    EXPECT_EQ(texts.className, "Pointed");

    // Asked for another window, the texts are that window's.
    desktop->WindowAt(point);
    texts = desktop->ReadWindowTexts(Handle(other));
    EXPECT_EQ(texts.title, "another one");
    EXPECT_EQ(texts.className, "Another");

    // A title changed before the walk is the one the walk reads.
    client->SetTitle(pointed, "renamed");
    EXPECT_EQ(desktop->WindowAt(point), Handle(pointed));
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(pointed)).title, "renamed");

    // Another window under the pointer now: its texts, not the last answer's.
    const ::Window above = client->Create(150, 120, 300, 200);
    client->SetTitle(above, "on top");
    ASSERT_TRUE(client->MapManaged(above));
    EXPECT_EQ(desktop->WindowAt(point), Handle(above));
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(above)).title, "on top");
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(pointed)).title, "renamed");
}

TEST_F(ManagedWindowsTest, WindowAtFollowsWhatChangesAtThePoint) {
    const ::Window below = ShowTitled(100, 100, 300, 200, "below");
    const ScreenPoint point = Centre(below);
    ASSERT_EQ(desktop->WindowAt(point), Handle(below));

    // A new window on top of it at the same place.
    const ::Window above = ShowTitled(100, 100, 300, 200, "above");
    EXPECT_EQ(desktop->WindowAt(point), Handle(above));

    // A child window inside the client: the client is still the first with WM_STATE.
    const ::Window inner = client->CreateUnmanaged(above, 100, 50, 100, 100);
    EXPECT_EQ(desktop->WindowAt(Centre(inner)), Handle(above));

    // Above the client, in the frame's title bar: the window there is the client it frames.
    const auto [titleX, titleY] = client->OnScreen(above, 150, -5);
    EXPECT_EQ(desktop->WindowAt({titleX, titleY}), Handle(above));
    EXPECT_EQ(desktop->WindowAt({titleX, titleY}), Handle(above)) << "asked again along the remembered way";
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(above)).title, "above");

    // Gone again: the one below shows, though the last walk went through the other.
    desktop->WindowAt(point);
    ASSERT_TRUE(client->DestroyManaged(above));
    EXPECT_EQ(desktop->WindowAt(point), Handle(below));

    ASSERT_TRUE(client->DestroyManaged(below));
    EXPECT_EQ(desktop->WindowAt(point), Handle(client->root()));
}

TEST_F(ManagedWindowsTest, WithoutAClientOnTheWayTheDeepestWindowAnswers) {
    // Windows the window manager leaves alone carry no WM_STATE.
    const ::Window outer = client->CreateUnmanaged(client->root(), 600, 500, 200, 150);
    const ::Window inner = client->CreateUnmanaged(outer, 20, 20, 50, 50);
    EXPECT_EQ(desktop->WindowAt(Centre(inner)), Handle(inner));
    const auto [x, y] = client->OnScreen(outer, 150, 100);
    EXPECT_EQ(desktop->WindowAt({x, y}), Handle(outer));
}

TEST_F(ManagedWindowsTest, PointsOffTheScreenHaveNoWindowAndBareBackgroundIsTheRoot) {
    const ScreenSize size = desktop->Size();
    ASSERT_GT(size.width, 0);
    for (const ScreenPoint point : {ScreenPoint{-1, 0}, ScreenPoint{0, -1}, ScreenPoint{size.width, 0},
                                    ScreenPoint{0, size.height}, ScreenPoint{40000, 10}, ScreenPoint{10, -40000}})
        EXPECT_EQ(desktop->WindowAt(point), 0) << point.x << "," << point.y;
    EXPECT_EQ(desktop->WindowAt({size.width - 1, size.height - 1}), Handle(client->root()));
}

TEST_F(ManagedWindowsTest, TitlesInEachEncodingComeOutAsUtf8) {
    // COMPOUND_TEXT as Xlib writes it: Latin-1 and GB 2312 or JIS segments with escapes.
    const char* mixed = "é中文abc";
    char* list[] = {const_cast<char*>(mixed)};
    XTextProperty compound{};
    ASSERT_EQ(Xutf8TextListToTextProperty(client->display(), list, 1, XCompoundTextStyle, &compound), Success);
    const std::string compoundBytes(reinterpret_cast<char*>(compound.value), compound.nitems);
    XFree(compound.value);
    ASSERT_NE(compoundBytes, mixed);  // really encoded differently

    struct Property {
        const char* name;
        const char* type;
        std::string bytes;
    };
    struct Case {
        std::vector<Property> properties;
        std::string title;
    };
    const Case cases[] = {
        {{{"_NET_WM_NAME", "UTF8_STRING", "中文标题 ✓"}}, "中文标题 ✓"},
        {{{"WM_NAME", "STRING", "caf\xE9 cr\xE8me"}}, "café crème"},
        // What XStoreName writes from a UTF-8 locale: STRING that is valid UTF-8.
        {{{"WM_NAME", "STRING", "中文 café"}}, "中文 café"},
        {{{"WM_NAME", "UTF8_STRING", "ünï 中"}}, "ünï 中"},
        {{{"WM_NAME", "COMPOUND_TEXT", compoundBytes}}, mixed},
        {{{"WM_NAME", "STRING", "old"}, {"_NET_WM_NAME", "UTF8_STRING", "new"}}, "new"},
        {{{"WM_NAME", "STRING", "plain"}, {"_NET_WM_NAME", "UTF8_STRING", ""}}, "plain"},
        {{{"_NET_WM_NAME", "UTF8_STRING", std::string("ab\0cd", 5)}}, "ab"},
        {{{"WM_NAME", "STRING", std::string("x\0y", 3)}}, "x"},
    };
    std::vector<std::pair<WindowHandle, std::string>> expected;
    for (const Case& c : cases) {
        const ::Window window = client->Create(0, 0, 10, 10);  // texts need no mapped window
        for (const Property& p : c.properties) client->SetBytes(window, p.name, p.type, p.bytes);
        const WindowTexts texts = desktop->ReadWindowTexts(Handle(window));
        EXPECT_EQ(texts.title, c.title) << c.properties.front().bytes;
        EXPECT_EQ(texts.className, "");
        expected.emplace_back(Handle(window), c.title);
    }
    // The walk over the top-level windows, which asks for WM_NAME only where _NET_WM_NAME
    // gave no title, lists the same titles.
    std::vector<std::pair<WindowHandle, std::string>> walked;
    for (const TopLevelWindow& window : desktop->TopLevelWindows())
        for (const auto& [handle, title] : expected)
            if (window.handle == handle) walked.emplace_back(window.handle, window.title);
    std::reverse(walked.begin(), walked.end());  // the last made is on top
    EXPECT_EQ(walked, expected);

    // The class part of WM_CLASS, also when it is compound text or Latin-1.
    const ::Window window = client->Create(0, 0, 10, 10);
    client->SetBytes(window, "WM_CLASS", "STRING",
                     std::string("inst\0Gr\xFC\xDF"
                                 "e\0",
                                 11));
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).className, "Grüße");
    client->SetBytes(window, "WM_CLASS", "COMPOUND_TEXT", std::string("inst\0", 5) + compoundBytes);
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).className, mixed);
}

TEST_F(ManagedWindowsTest, InvalidUtf8InATitleBecomesReplacementCharacters) {
    const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
    struct Case {
        std::string bytes;
        std::string title;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         "a" + bad + "b"},
        {"\x80\xBF", bad + bad},                          // stray continuation bytes
        {"\xC0\xAF!", bad + bad + "!"},                   // overlong '/'
        {"\xE0\x80\xAF", bad + bad + bad},                // overlong, three bytes
        {"\xED\xA0\x80", bad + bad + bad},                // a surrogate
        {"\xF4\x90\x80\x80", bad + bad + bad + bad},      // past U+10FFFF
        {"\xE4\xB8x", bad + "x"},                         // cut short: one replacement
        {"\xF0\x9F\x98", bad},                            // cut short at the end
        {"ok \xF0\x9F\x98\x80 \xE4\xB8\xAD", "ok 😀 中"},  // valid stays as it is
    };
    for (const Case& c : cases) {
        const ::Window window = client->Create(0, 0, 10, 10);
        client->SetTitle(window, c.bytes);
        EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).title, c.title) << c.title;
    }
}

TEST_F(ManagedWindowsTest, LongTextsAreCutToWholeCharactersWithin254Bytes) {
    const auto repeat = [](const std::string& piece, std::size_t bytes) {
        std::string text;
        while (text.size() < bytes) text += piece;
        return text;
    };
    const auto times = [](const std::string& piece, int n) {
        std::string text;
        for (int i = 0; i < n; ++i) text += piece;
        return text;
    };
    const std::size_t k100 = std::size_t{100} * 1024;

    struct Case {
        const char* property;
        const char* type;
        std::string bytes;
        std::string title;
    };
    const Case cases[] = {
        {"_NET_WM_NAME", "UTF8_STRING", repeat("中", k100), times("中", 84)},  // 252 bytes
        {"_NET_WM_NAME", "UTF8_STRING", std::string("a").append(repeat("😀", k100)),
         std::string("a").append(times("😀", 63))},                                         // 253 bytes
        {"_NET_WM_NAME", "UTF8_STRING", repeat("\xFF", k100), times("\xEF\xBF\xBD", 84)},  // each byte U+FFFD
        {"_NET_WM_NAME", "UTF8_STRING", repeat("z", k100), times("z", 254)},
        {"WM_NAME", "STRING", repeat("\xE9", k100), times("é", 127)},
    };
    for (const Case& c : cases) {
        const ::Window window = client->Create(0, 0, 10, 10);
        client->SetBytes(window, c.property, c.type, c.bytes);
        EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).title, c.title) << c.property << " " << c.title.size();
    }

    // Compound text of 5-byte pairs "é中": 50 pairs and one "é" fit in 254 bytes.
    std::string pairs = repeat("é中", 20000);
    char* list[] = {pairs.data()};
    XTextProperty compound{};
    ASSERT_EQ(Xutf8TextListToTextProperty(client->display(), list, 1, XCompoundTextStyle, &compound), Success);
    const ::Window window = client->Create(0, 0, 10, 10);
    client->SetBytes(window, "WM_NAME", "COMPOUND_TEXT",
                     std::string(reinterpret_cast<char*>(compound.value), compound.nitems));
    XFree(compound.value);
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).title, times("é中", 50) + "é");

    // The class name after a long instance name, and a long class name.
    client->SetClass(window, repeat("i", 3000), "Short");
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).className, "Short");
    client->SetClass(window, "inst", repeat("中", 3000));
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(window)).className, times("中", 84));
}

TEST_F(ManagedWindowsTest, UntitledWindowsAndHandlesOfNoWindowGiveEmptyTexts) {
    const ::Window untitled = client->Create(0, 0, 10, 10);
    WindowTexts texts = desktop->ReadWindowTexts(Handle(untitled));
    EXPECT_EQ(texts.title, "");
    EXPECT_EQ(texts.className, "");

    const ::Window gone = client->Create(0, 0, 10, 10);
    client->SetTitle(gone, "soon gone");
    client->SetClass(gone, "gone", "Gone");
    ASSERT_EQ(desktop->ReadWindowTexts(Handle(gone)).title, "soon gone");
    client->Destroy(gone);
    for (const WindowHandle handle : {Handle(gone), 0, -1, 0x7FFFFFF0}) {
        texts = desktop->ReadWindowTexts(handle);
        EXPECT_EQ(texts.title, "") << handle;
        EXPECT_EQ(texts.className, "") << handle;
    }
    for (const TopLevelWindow& window : desktop->TopLevelWindows()) EXPECT_NE(window.handle, Handle(gone));
}

TEST_F(ManagedWindowsTest, TopLevelWindowsFollowTheStackingOrderFromTheTop) {
    const ::Window a = ShowTitled(50, 50, 200, 150, "window a");
    const ::Window b = ShowTitled(120, 90, 200, 150, "window b");
    const ::Window c = ShowTitled(190, 130, 200, 150, "window c");
    const ::Window hidden = client->Create(300, 300, 50, 50);  // never mapped, so never framed
    client->SetTitle(hidden, "hidden one");
    const std::set<WindowHandle> ours = {Handle(a), Handle(b), Handle(c), Handle(hidden)};

    // The clients the window manager stacks, in the walk's order, against its own list
    // (bottom to top), whole: every managed window on the desktop.
    const auto managedFromTheTop = [&] {
        std::vector<::Window> stacking = client->RootList("_NET_CLIENT_LIST_STACKING");
        std::reverse(stacking.begin(), stacking.end());
        std::vector<WindowHandle> handles;
        handles.reserve(stacking.size());
        for (const ::Window window : stacking) handles.push_back(Handle(window));
        return handles;
    };
    const auto listedManaged = [&](const std::vector<WindowHandle>& managedHandles) {
        const std::set<WindowHandle> keep(managedHandles.begin(), managedHandles.end());
        return ListedAmong(keep);
    };

    std::vector<WindowHandle> expected = managedFromTheTop();
    EXPECT_EQ(listedManaged(expected), expected);
    EXPECT_EQ(ListedAmong(ours).size(), 4u);
    EXPECT_EQ(ListedAmong({Handle(a), Handle(b), Handle(c)}),
              (std::vector<WindowHandle>{Handle(c), Handle(b), Handle(a)}));

    const std::vector<TopLevelWindow> windows = desktop->TopLevelWindows();
    const std::set<WindowHandle> frames = {Handle(client->Parent(a)), Handle(client->Parent(b)),
                                           Handle(client->Parent(c))};
    for (const TopLevelWindow& window : windows) {
        EXPECT_EQ(frames.count(window.handle), 0u) << "a frame listed instead of its client";
        if (window.handle == Handle(a)) {
            EXPECT_EQ(window.title, "window a");
        }
        if (window.handle == Handle(hidden)) {
            EXPECT_EQ(window.title, "hidden one");
        }
    }

    // Raised, the bottom one goes to the top of both lists.
    Shell(managed->On("xdotool windowraise " + std::to_string(a)));
    ASSERT_TRUE(WaitUntil([&] { return client->RootList("_NET_CLIENT_LIST_STACKING").back() == a; }));
    expected = managedFromTheTop();
    EXPECT_EQ(listedManaged(expected), expected);
    EXPECT_EQ(ListedAmong({Handle(a), Handle(b), Handle(c)}),
              (std::vector<WindowHandle>{Handle(a), Handle(c), Handle(b)}));
}

TEST_F(ManagedWindowsTest, ClientsBelowFramesTheWindowManagerDoesNotListAreFound) {
    // Frames of a window manager that keeps no client list, one and two levels deep.
    const Atom wmState = client->Intern("WM_STATE");
    const auto makeClient = [&](::Window parent, const std::string& title) {
        const ::Window window = client->CreateUnmanaged(parent, 5, 25, 100, 80);
        const long state[2] = {NormalState, None};
        XChangeProperty(client->display(), window, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(state), 2);
        client->SetTitle(window, title);
        return window;
    };
    const ::Window frame = client->CreateUnmanaged(client->root(), 700, 100, 120, 120);
    client->CreateUnmanaged(frame, 0, 0, 120, 20);  // a decoration
    const ::Window shallow = makeClient(frame, "one level down");
    const ::Window outerFrame = client->CreateUnmanaged(client->root(), 850, 100, 120, 120);
    const ::Window wrapper = client->CreateUnmanaged(outerFrame, 0, 0, 120, 120);
    const ::Window deep = makeClient(wrapper, "two levels down");

    std::set<WindowHandle> seen;
    for (const TopLevelWindow& window : desktop->TopLevelWindows()) {
        seen.insert(window.handle);
        if (window.handle == Handle(shallow)) {
            EXPECT_EQ(window.title, "one level down");
        }
        if (window.handle == Handle(deep)) {
            EXPECT_EQ(window.title, "two levels down");
        }
    }
    EXPECT_EQ(seen.count(Handle(shallow)), 1u);
    EXPECT_EQ(seen.count(Handle(deep)), 1u);
    EXPECT_EQ(seen.count(Handle(frame)), 0u);
    EXPECT_EQ(seen.count(Handle(outerFrame)), 0u);
    EXPECT_EQ(desktop->WindowAt(Centre(deep)), Handle(deep));
}

TEST_F(ManagedWindowsTest, WindowsComingAndGoingMeanwhileCostOnlyThemselves) {
    const ::Window stable = ShowTitled(40, 40, 300, 200, "stable window");
    const ScreenPoint stableCentre = Centre(stable);
    const ScreenPoint churnPoint{760, 630};

    // Another program creates windows around churnPoint and destroys them again without
    // pause, each titled with its own id.
    ChurningClient churn(managed->Display(), 720, 600, 80, 60);

    const auto consistent = [](WindowHandle handle, const std::string& title) {
        return title.empty() || title == ChurningClient::TitleOf(static_cast<XWindowId>(handle));
    };
    int rounds = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((rounds < 60 || churn.Created() < 300) && std::chrono::steady_clock::now() < deadline) {
        ++rounds;
        int stableSeen = 0;
        for (const TopLevelWindow& window : desktop->TopLevelWindows()) {
            if (window.handle == Handle(stable)) {
                ++stableSeen;
                EXPECT_EQ(window.title, "stable window");
            } else if (window.title.rfind("churn", 0) == 0) {
                EXPECT_TRUE(consistent(window.handle, window.title)) << window.handle << " " << window.title;
                const WindowTexts texts = desktop->ReadWindowTexts(window.handle);
                EXPECT_TRUE(consistent(window.handle, texts.title)) << window.handle << " " << texts.title;
                EXPECT_TRUE(texts.className.empty() || texts.className == "Churn") << texts.className;
            }
        }
        EXPECT_EQ(stableSeen, 1);
        EXPECT_EQ(desktop->WindowAt(stableCentre), Handle(stable));
        const WindowHandle there = desktop->WindowAt(churnPoint);
        EXPECT_NE(there, 0);
        const WindowTexts texts = desktop->ReadWindowTexts(there);
        EXPECT_TRUE(consistent(there, texts.title)) << there << " " << texts.title;
        if (::testing::Test::HasFailure()) break;
    }
    churn.Stop();
    EXPECT_GE(churn.Created(), 300) << "the other program hardly ran";
    EXPECT_GE(rounds, 60);
    EXPECT_EQ(desktop->ReadWindowTexts(Handle(stable)).title, "stable window");
}
