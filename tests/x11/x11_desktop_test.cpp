// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <stdexcept>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "backends/x11/x11_desktop.h"
#include "backends/x11/x11_screen_reader.h"
#include "contract/desktop_contract.h"
#include "sampling/colour_model.h"
#include "x11_test_support.h"

using namespace pelmora;
using pelmora::contract::FirstDifference;
using pelmora::contract::kUntouched;
using pelmora::testing::CreatePaintedWindow;
using pelmora::testing::PatternWindow;
using pelmora::testing::Shell;

namespace {

// The desktop contract on the X server of DISPLAY, with windows of another client.
struct X11DesktopTraits {
    static constexpr const char* kWindowClass = "PelmoraContract";

    // An override-redirect window of the other client, its picture as background.
    class Window {
    public:
        Window(Display* display, ::Window window) : display_(display), window_(window) {}
        ~Window() { Destroy(); }
        Window(const Window&) = delete;
        Window& operator=(const Window&) = delete;
        WindowHandle Handle() const { return static_cast<WindowHandle>(window_); }
        ::Window Id() const { return window_; }
        void Destroy() {
            if (window_) XDestroyWindow(display_, window_);
            XSync(display_, False);
            window_ = 0;
        }

    private:
        Display* display_;
        ::Window window_;
    };

    X11DesktopTraits() : connection(X11Connection::Open()), other(XOpenDisplay(nullptr)) {
        if (!connection || !other) throw std::runtime_error("no X server on DISPLAY");
        x11Desktop = std::make_unique<X11Desktop>(*connection);
    }
    ~X11DesktopTraits() {
        if (other) XCloseDisplay(other);
    }
    X11DesktopTraits(const X11DesktopTraits&) = delete;
    X11DesktopTraits& operator=(const X11DesktopTraits&) = delete;

    Desktop& desktop() { return *x11Desktop; }

    std::unique_ptr<Window> Show(int left, int top, const Surface& picture, const std::string& title) {
        const ::Window window = CreatePaintedWindow(other, left, top, picture.Width(), picture.Height(),
                                                    [&](int x, int y) { return picture.Pixel(x, y); });
        XChangeProperty(other, window, XInternAtom(other, "_NET_WM_NAME", False),
                        XInternAtom(other, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
        XClassHint hint{const_cast<char*>("contract"), const_cast<char*>(kWindowClass)};
        XSetClassHint(other, window, &hint);
        XMapRaised(other, window);
        XSync(other, False);
        return std::make_unique<Window>(other, window);
    }
    void Raise(const Window& window) {
        XRaiseWindow(other, window.Id());
        XSync(other, False);
    }
    bool WaitForPixel(ScreenPoint at, std::int32_t colour) {
        return pelmora::testing::WaitUntil([&] { return x11Desktop->Pixel(at.x, at.y) == colour; });
    }
    void MovePointer(ScreenPoint point) {
        XWarpPointer(other, None, DefaultRootWindow(other), 0, 0, 0, 0, point.x, point.y);
        XSync(other, False);
    }
    bool PointerReaches(ScreenPoint point) {
        return pelmora::testing::WaitUntil([&] {
            ::Window root = 0, child = 0;
            int x = 0, y = 0, windowX = 0, windowY = 0;
            unsigned mask = 0;
            XQueryPointer(other, DefaultRootWindow(other), &root, &child, &x, &y, &windowX, &windowY, &mask);
            return x == point.x && y == point.y;
        });
    }
    std::string TitleAsRead(const std::string& title) { return title; }

    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<X11Desktop> x11Desktop;
    Display* other;  // another client: the windows shown, the pointer moved and read
};

struct X11DesktopTest : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    Display* other = XOpenDisplay(nullptr);  // another client: windows of known colour

    void SetUp() override {
        ASSERT_TRUE(connection) << "no X server on DISPLAY";
        ASSERT_TRUE(other);
        desktop = std::make_unique<X11Desktop>(*connection);
    }
    void TearDown() override {
        if (other) XCloseDisplay(other);
    }

    // A mapped window without a frame, filled with the X pixel value rgb (0xRRGGBB).
    ::Window ShowColouredWindow(int x, int y, int width, int height, unsigned long rgb) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = rgb;
        const ::Window window =
            XCreateWindow(other, DefaultRootWindow(other), x, y, width, height, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(other, window);
        XSync(other, False);
        return window;
    }

    // The screen rectangle as Xlib itself unpacks it, over the other client's connection:
    // the reference the desktop's reads are held against.
    Surface ScreenThroughXGetPixel(int left, int top, int width, int height) {
        Surface expected(width, height);
        XImage* image = XGetImage(other, DefaultRootWindow(other), left, top, width, height, AllPlanes, ZPixmap);
        if (!image) return expected;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned long rgb = XGetPixel(image, x, y);  // the server's visual: 0xRRGGBB
                expected.SetPixel(x, y,
                                  static_cast<std::int32_t>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16));
            }
        XDestroyImage(image);
        return expected;
    }
};

// The System V shared-memory segments mapped into this process, as /proc/self/maps lists them.
std::vector<std::string> SharedSegmentsMapped() {
    std::vector<std::string> segments;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find("/SYSV") != std::string::npos) segments.push_back(line);
    return segments;
}

// The segment a line of SharedSegmentsMapped names (its inode is the segment's id), as
// /proc/sysvipc/shm shows it: its permissions, with 01000 once marked for removal, and
// how many attachments it has, the server's among them.
struct SegmentStatus {
    bool found = false;
    unsigned perms = 0;
    unsigned long attachments = 0;
};
SegmentStatus StatusOfSegment(const std::string& mapping) {
    std::string range, access, offset, device;
    long id = -1;
    std::istringstream(mapping) >> range >> access >> offset >> device >> id;
    std::ifstream table("/proc/sysvipc/shm");
    std::string line;
    std::getline(table, line);  // the column names
    while (std::getline(table, line)) {
        long key = 0, shmid = 0, cpid = 0, lpid = 0;
        unsigned long size = 0;
        SegmentStatus status{true};
        std::istringstream fields(line);
        fields >> key >> shmid >> std::oct >> status.perms >> std::dec >> size >> cpid >> lpid >> status.attachments;
        if (fields && shmid == id) return status;
    }
    return {};
}

}  // namespace

namespace pelmora::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(X11, DesktopContract, X11DesktopTraits);
}  // namespace pelmora::contract

TEST_F(X11DesktopTest, ScreenSizeIsTheRootWindowSize) {
    const ScreenSize size = desktop->Size();
    const std::string dimensions = std::to_string(size.width) + "x" + std::to_string(size.height) + " pixels";
    EXPECT_NE(Shell("xdpyinfo | grep dimensions").find(dimensions), std::string::npos) << dimensions;
}

TEST_F(X11DesktopTest, AreasAgreeWithXlibOverSharedMemoryAndWithout) {
    const PatternWindow pattern(200, 150, 40, 40);
    Surface large(300, 200, kUntouched);
    desktop->ReadArea(150, 100, large);
    EXPECT_EQ(FirstDifference(large, ScreenThroughXGetPixel(150, 100, 300, 200)), "");
    // Without shared memory (a remote display) the same rectangle reads the same.
    X11ScreenReader plain(*connection, X11ScreenReader::Transport::Plain);
    Surface plainLarge(300, 200, kUntouched);
    ASSERT_TRUE(plain.Read(150, 100, 300, 200, plainLarge, 0, 0));
    EXPECT_FALSE(plain.SharingMemory());
    EXPECT_EQ(FirstDifference(plainLarge, large), "");
}

TEST_F(X11DesktopTest, OneSharedSegmentServesLargeAndSmallReadsInTurn) {
    ASSERT_TRUE(SharedSegmentsMapped().empty()) << "a segment of an earlier reader left mapped";
    const ScreenSize screen = desktop->Size();
    const PatternWindow pattern(600, 500, 40, 40);
    const ::Window window = ShowColouredWindow(300, 200, 50, 50, 0x102030);

    Surface whole(screen.width, screen.height, kUntouched);
    desktop->ReadArea(0, 0, whole);
    EXPECT_EQ(whole.Pixel(300, 200), 0x302010);
    EXPECT_EQ(whole.Pixel(639, 539), PatternWindow::ColourAt(39, 39));
    EXPECT_EQ(FirstDifference(whole, ScreenThroughXGetPixel(0, 0, screen.width, screen.height)), "");
    const std::vector<std::string> segments = SharedSegmentsMapped();
    ASSERT_EQ(segments.size(), 1u);
    // Taken by the server too, and marked for removal as soon as both sides had it, so
    // that a crash leaves nothing behind.
    const SegmentStatus status = StatusOfSegment(segments[0]);
    ASSERT_TRUE(status.found) << segments[0];
    EXPECT_GE(status.attachments, 2u);
    EXPECT_EQ(status.perms & 01000, 01000u) << std::oct << status.perms;

    // Smaller reads after it: rows of another length in the same segment, then one in the
    // reply alone.
    Surface part(200, 90, kUntouched);
    desktop->ReadArea(290, 190, part);
    EXPECT_EQ(FirstDifference(part, ScreenThroughXGetPixel(290, 190, 200, 90)), "");
    Surface magnifier(11, 11, kUntouched);
    desktop->ReadArea(345, 245, magnifier);
    EXPECT_EQ(FirstDifference(magnifier, ScreenThroughXGetPixel(345, 245, 11, 11)), "");
    EXPECT_EQ(magnifier.Pixel(0, 0), 0x302010);
    EXPECT_EQ(desktop->Pixel(620, 510), PatternWindow::ColourAt(20, 10));

    // The screen changes; the next whole read shows the change, not what the segment held.
    XSetWindowBackground(other, window, 0xC0FFEE);
    XClearWindow(other, window);
    XSync(other, False);
    desktop->ReadArea(0, 0, whole);
    EXPECT_EQ(whole.Pixel(300, 200), 0xEEFFC0);
    EXPECT_EQ(FirstDifference(whole, ScreenThroughXGetPixel(0, 0, screen.width, screen.height)), "");

    EXPECT_EQ(SharedSegmentsMapped(), segments) << "a segment made anew for a read that fitted";
    desktop.reset();
    EXPECT_TRUE(SharedSegmentsMapped().empty()) << "the segment outlived its desktop";
    XDestroyWindow(other, window);
    XSync(other, False);
}

TEST_F(X11DesktopTest, ALargeReadInBandsIsRefusedWholeWhenItReachesPastTheScreen) {
    // A whole-width read travels in bands of rows; one whose last rows lie past the
    // bottom edge is refused before any band has been written.
    const ScreenSize screen = desktop->Size();
    X11ScreenReader reader(*connection);
    Surface area(screen.width, 600, kUntouched);
    EXPECT_FALSE(reader.Read(0, screen.height - 599, screen.width, 600, area, 0, 0));
    EXPECT_EQ(FirstDifference(area, Surface(screen.width, 600, kUntouched)), "");
    ASSERT_TRUE(reader.Read(0, screen.height - 600, screen.width, 600, area, 0, 0));
    EXPECT_TRUE(reader.SharingMemory());
    EXPECT_EQ(FirstDifference(area, ScreenThroughXGetPixel(0, screen.height - 600, screen.width, 600)), "");
}

TEST_F(X11DesktopTest, RefusedRequestsDoNotEndTheProcess) {
    X11ErrorTrap trap(connection->display());
    XDestroyWindow(connection->display(), 0x7ffffff0);  // no such window: BadWindow
    EXPECT_TRUE(trap.Failed());
    EXPECT_NE(desktop->Pixel(0, 0), -1);  // the connection still works
}

// Screens other than the common 32-bit one, laid out by hand as a server would send them.
TEST(X11DesktopPixelLayouts, EachLayoutGivesTheSameColours) {
    struct Layout {
        const char* name;
        int bitsPerPixel;
        int byteOrder;
        PixelMasks masks;
        unsigned long pixels[4];  // (0, 0), (1, 0), (0, 1), (1, 1)
        std::int32_t colours[4];
    };
    // 16/31, 32/63, 16/31 of full: 131.6, 129.5, 131.6 rounded, as the server's XQueryColor says too.
    const std::int32_t kGrey565 = 132 | 130 << 8 | 132 << 16;
    const Layout layouts[] = {
        // Bits above the masks (a 32-bit visual's alpha) are no colour.
        {"32 bit",
         32,
         LSBFirst,
         {0xFF0000, 0xFF00, 0xFF},
         {0xAB123456, 0xFF0000, 0xFF00, 0xFF},
         {0x563412, 0x0000FF, 0x00FF00, 0xFF0000}},
        {"32 bit, other byte order",
         32,
         MSBFirst,
         {0xFF0000, 0xFF00, 0xFF},
         {0x123456, 0xFF0000, 0xFF00, 0xFF},
         {0x563412, 0x0000FF, 0x00FF00, 0xFF0000}},
        {"32 bit, blue high",
         32,
         LSBFirst,
         {0xFF, 0xFF00, 0xFF0000},
         {0x123456, 0xFF0000, 0xFF00, 0xFF},
         {0x123456, 0xFF0000, 0x00FF00, 0x0000FF}},
        {"24 bit packed",
         24,
         LSBFirst,
         {0xFF0000, 0xFF00, 0xFF},
         {0x123456, 0xFF0000, 0xFF00, 0xFF},
         {0x563412, 0x0000FF, 0x00FF00, 0xFF0000}},
        {"16 bit",
         16,
         LSBFirst,
         {0xF800, 0x7E0, 0x1F},
         {0xF800, 0x7E0, 0x1F, 0x8410},
         {0x0000FF, 0x00FF00, 0xFF0000, kGrey565}},
        {"16 bit, other byte order",
         16,
         MSBFirst,
         {0xF800, 0x7E0, 0x1F},
         {0xF800, 0x7E0, 0x1F, 0x8410},
         {0x0000FF, 0x00FF00, 0xFF0000, kGrey565}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const int bytes = layout.bitsPerPixel / 8;
        const int stride = 2 * bytes + 4;  // rows padded, the padding filled with a colour of its own
        std::vector<char> data(static_cast<std::size_t>(stride) * 2, static_cast<char>(0x77));
        for (int i = 0; i < 4; ++i)
            for (int b = 0; b < bytes; ++b) {
                const int shift = layout.byteOrder == LSBFirst ? 8 * b : 8 * (bytes - 1 - b);
                data[static_cast<std::size_t>(i / 2) * stride + static_cast<std::size_t>(i % 2) * bytes + b] =
                    static_cast<char>(layout.pixels[i] >> shift & 0xFF);
            }
        XImage image{};
        image.width = 2;
        image.height = 2;
        image.format = ZPixmap;
        image.data = data.data();
        image.byte_order = layout.byteOrder;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = layout.byteOrder;
        image.bitmap_pad = 8;
        image.depth = layout.bitsPerPixel == 32 ? 24 : layout.bitsPerPixel;
        image.bytes_per_line = stride;
        image.bits_per_pixel = layout.bitsPerPixel;
        ASSERT_TRUE(XInitImage(&image));

        // Into the middle of a larger target, which keeps the rest.
        Surface target(4, 4, kUntouched);
        CopyImageInto(image, PixelColours(layout.masks), target, 1, 2);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(target.Pixel(1 + i % 2, 2 + i / 2), layout.colours[i]) << i;
        int untouched = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) untouched += target.Pixel(x, y) == kUntouched;
        EXPECT_EQ(untouched, 12);
    }
}

// Screens of 16, 24 and 30 bits, each a server of the test's own, show every level of each
// channel as a client draws it (XAllocColor: the server keeps a level of its own near it).
// Each reads back, pixel by pixel and as one area, as near as the depth allows: exactly at
// 24 and 30 bits (10 bits a channel keep every 8-bit level), within one step of the
// channel's levels at 16 (5-6-5), where the exact values are the layouts test's.
TEST(X11DesktopDepths, EveryLevelOfEachChannelReadsBackAsDrawn) {
    constexpr int kRows = 8;  // per channel: 3 x 8 rows of 256 pixels, an area shared memory carries
    unsigned short XColor::*const channels[3] = {&XColor::red, &XColor::green, &XColor::blue};
    for (const int depth : {16, 24, 30}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        pelmora::testing::PrivateXServer server("256x" + std::to_string(3 * kRows) + "x" + std::to_string(depth));
        ASSERT_FALSE(server.Display().empty());
        auto connection = X11Connection::Open(server.Display().c_str());
        ASSERT_TRUE(connection);
        X11Desktop desktop(*connection);
        Display* client = XOpenDisplay(server.Display().c_str());
        ASSERT_TRUE(client);
        const int screen = DefaultScreen(client);
        ASSERT_EQ(DefaultDepth(client, screen), depth);
        const ::Window root = RootWindow(client, screen);
        const Pixmap levels = XCreatePixmap(client, root, 256, 3 * kRows, static_cast<unsigned>(depth));
        const GC gc = XCreateGC(client, levels, 0, nullptr);
        for (int channel = 0; channel < 3; ++channel)
            for (int level = 0; level < 256; ++level) {
                XColor colour{};
                colour.*channels[channel] = static_cast<unsigned short>(level * 257);
                ASSERT_TRUE(XAllocColor(client, DefaultColormap(client, screen), &colour));
                XSetForeground(client, gc, colour.pixel);
                XFillRectangle(client, levels, gc, level, channel * kRows, 1, kRows);
            }
        XSetWindowBackgroundPixmap(client, root, levels);
        XClearWindow(client, root);
        XFreeGC(client, gc);
        XFreePixmap(client, levels);  // the root keeps its own copy as background
        XSync(client, False);

        Surface area(256, 3 * kRows, kUntouched);
        desktop.ReadArea(0, 0, area);
        const Visual* visual = DefaultVisual(client, screen);
        const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned long largest = masks[channel] >> std::countr_zero(masks[channel]);
            const int step = largest < 255 ? static_cast<int>(255 / largest) : 0;  // 8 at 5 bits, 4 at 6
            std::string wrong;  // level=colour value read, for each level read otherwise
            for (int level = 0; level < 256; ++level) {
                const std::int32_t read = desktop.Pixel(level, channel * kRows + kRows / 2);
                const int value = read >> (8 * channel) & 0xFF;
                if (read != value << (8 * channel) || std::abs(value - level) > step ||
                    area.Pixel(level, channel * kRows) != read)
                    wrong += " " + std::to_string(level) + "=" + std::to_string(read);
            }
            EXPECT_EQ(wrong, "") << "channel " << channel;
        }
        XCloseDisplay(client);
    }
}

// Two RandR monitors side by side on one 2560-pixel root: the primary monitor is the one
// marked primary, where it lies on the root, measured anew when asked; the root with none
// defined. Pixels and searches keep the whole root.
TEST(X11DesktopMonitors, ThePrimaryMonitorIsTheOneMarkedPrimaryWhereverItLies) {
    pelmora::testing::PrivateXServer server("2560x800x24");
    ASSERT_FALSE(server.Display().empty());
    const std::string on = "DISPLAY=" + server.Display() + " ";
    auto connection = X11Connection::Open(server.Display().c_str());
    ASSERT_TRUE(connection);
    X11Desktop desktop(*connection);
    for (const bool rightPrimary : {false, true}) {
        Shell(on + "xrandr --setmonitor " + (rightPrimary ? "left" : "'*left'") + " 1280/340x800/210+0+0 none");
        Shell(on + "xrandr --setmonitor " + (rightPrimary ? "'*right'" : "right") + " 1280/340x800/210+1280+0 none");
        EXPECT_EQ(desktop.PrimaryMonitor(), (ScreenRegion{rightPrimary ? 1280 : 0, 0, 1280, 800}));
        EXPECT_EQ(desktop.AllMonitors(), (ScreenRegion{0, 0, 2560, 800}));
        Shell(on + "xrandr --delmonitor left");
        Shell(on + "xrandr --delmonitor right");
    }
    EXPECT_EQ(desktop.PrimaryMonitor(), (ScreenRegion{0, 0, 2560, 800}));
}

// RandR resizes the root while the program runs (a monitor plugged in): pixels and areas
// of the grown part are read without a new connection, and the size follows.
TEST(X11DesktopScreenChange, TheRootIsMeasuredWhenAskedSoAGrownScreenIsReadWholly) {
    pelmora::testing::PrivateXServer server;
    ASSERT_FALSE(server.Display().empty());
    const std::string on = "DISPLAY=" + server.Display() + " ";
    const std::string before = Shell(on + "xdpyinfo | sed -n 's/ *dimensions: *\\([0-9]*x[0-9]*\\) .*/\\1/p'");
    ASSERT_FALSE(before.empty());
    const int width = std::stoi(before), height = std::stoi(before.substr(before.find('x') + 1));
    Shell(on + "xrandr --fb 640x480 2>&1");
    auto connection = X11Connection::Open(server.Display().c_str());
    ASSERT_TRUE(connection);
    X11Desktop desktop(*connection);
    EXPECT_EQ(desktop.Size().width, 640);
    EXPECT_EQ(desktop.Pixel(700, 10), -1) << "past the root's right edge";

    Shell(on + "xrandr --fb " + std::to_string(width) + "x" + std::to_string(height) + " 2>&1");
    Display* other = XOpenDisplay(server.Display().c_str());
    ASSERT_TRUE(other);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x00FF00;
    const ::Window window = XCreateWindow(other, DefaultRootWindow(other), 690, 0, 40, 40, 0, CopyFromParent,
                                          InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(other, window);
    XSync(other, False);
    EXPECT_EQ(desktop.Size().width, width);
    EXPECT_TRUE(pelmora::testing::WaitUntil([&] { return desktop.Pixel(700, 10) == kColourGreen; }));
    Surface area(8, 8, -1);
    desktop.ReadArea(696, 4, area);
    EXPECT_EQ(area.Pixel(7, 7), kColourGreen);

    // Shrunk again: the part still on the screen is read, the rest left as it was.
    XMoveWindow(other, window, 600, 0);
    XSync(other, False);
    Shell(on + "xrandr --fb 640x480 2>&1");
    Surface edge(20, 8, -1);
    EXPECT_TRUE(pelmora::testing::WaitUntil([&] {
        desktop.ReadArea(630, 4, edge);
        return edge.Pixel(9, 0) == kColourGreen;
    }));
    EXPECT_EQ(edge.Pixel(10, 0), -1);
    XCloseDisplay(other);
}
