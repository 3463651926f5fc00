// SPDX-License-Identifier: MIT
// pelmora-cli's screen commands run as a script runs them, on a desktop where openbox frames
// other programs' windows that show pictures of the test's making: snapshots against the
// screen as ImageMagick's import reads it, the searches against the places where the test
// drew what they look for, and wait-colour against a window repainted while it waits.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "capture/bitmap_file.h"
#include "sampling/colour_forms.h"
#include "cli_painted_window.h"
#include "cli_process.h"
#include "managed_desktop.h"
#include "tmpfs_mount.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// The picture of the search window, 120 x 80: a background whose every pixel differs, a
// motif of 8 x 6 drawn twice, and the colour 0xA2F713 (#13F7A2) at three pixels. In reading
// order (rows from the top, each from the left) the motif at (60, 10) comes before the one
// at (10, 40), the colour at (70, 5) before (15, 30) and (40, 30).
constexpr int kSearchWidth = 120, kSearchHeight = 80;
constexpr int kMotifWidth = 8, kMotifHeight = 6;
constexpr int kMotifs[2][2] = {{60, 10}, {10, 40}};
constexpr std::int32_t kOddColour = 0xA2F713;
constexpr int kOddPixels[3][2] = {{70, 5}, {15, 30}, {40, 30}};

std::int32_t MotifColour(int x, int y) { return (0xE0 + x) | (0x10 + 8 * y) << 8 | 0x30 << 16; }

std::int32_t SearchColour(int x, int y) {
    for (const auto& pixel : kOddPixels)
        if (x == pixel[0] && y == pixel[1]) return kOddColour;
    for (const auto& motif : kMotifs) {
        const int mx = x - motif[0], my = y - motif[1];
        if (mx >= 0 && mx < kMotifWidth && my >= 0 && my < kMotifHeight) return MotifColour(mx, my);
    }
    return 2 * x | (3 * y) << 8 | 0x90 << 16;
}

// A picture made of colours(x, y) for x, y from 0.
Surface PictureOf(int width, int height, const PictureColours& colours) {
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetPixel(x, y, colours(x, y));
    return picture;
}

std::string PointText(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

// Where the first of two pictures differs from the second, "" when they are alike.
std::string FirstDifference(const Surface& picture, const Surface& screen, int left, int top) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) != screen.Pixel(left + x, top + y))
                return "(" + PointText(x, y) + ") holds " + std::to_string(picture.Pixel(x, y)) + ", the screen " +
                       std::to_string(screen.Pixel(left + x, top + y));
    return {};
}

// The pixels of a binary PPM file (P6, maxval 255) as colour values; empty when it is none.
Surface DecodePpm(const std::string& bytes) {
    std::size_t at = 0;
    // The header's next number, after white space and comments.
    const auto number = [&]() -> int {
        while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
            if (bytes[at] == '#') at = bytes.find('\n', at);
            if (at == std::string::npos) return -1;
            ++at;
        }
        int value = 0;
        const std::size_t start = at;
        while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])))
            value = value * 10 + (bytes[at++] - '0');
        return at == start ? -1 : value;
    };
    if (bytes.compare(0, 2, "P6") != 0) return {};
    at = 2;
    const int width = number(), height = number(), maxval = number();
    ++at;  // the one white space character before the pixels
    if (width <= 0 || height <= 0 || maxval != 255 || bytes.size() - at < std::size_t{3} * width * height) return {};
    Surface picture(width, height);
    const auto* rgb = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, rgb += 3) picture.SetPixel(x, y, rgb[0] | rgb[1] << 8 | rgb[2] << 16);
    return picture;
}

// A disk far too small for a snapshot of the whole screen (3.75 MiB).
constexpr std::uint64_t kSmallDisk = 65536;

// The names of the files in folder.
std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

struct CliScreenTest : ::testing::Test {
    ManagedDesktop desktop;
    std::optional<DesktopClient> client;
    std::filesystem::path folder;  // the test's files

    void SetUp() override {
        ASSERT_TRUE(desktop.Ready()) << "openbox did not take the screen";
        client.emplace(desktop.Display());
        ASSERT_TRUE(client->display());
        char name[] = "/tmp/pelmora-cli-test-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override {
        client.reset();
        desktop.Stop();
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }

    CliOutcome Cli(const std::vector<std::string>& args) { return RunCli(desktop.Display(), args); }

    // Another program's window at (x, y) showing the picture, framed by openbox; the screen
    // position of its top-left pixel.
    struct Shown {
        XWindowId window;
        int x, y;
    };
    Shown ShowWindow(int x, int y, int width, int height, const PictureColours& colours) {
        const XWindowId window = client->Create(x, y, width, height);
        client->SetTitle(window, "图样 pattern");
        ShowPicture(*client, window, width, height, colours);
        EXPECT_TRUE(client->MapManaged(window));
        const auto [left, top] = client->OnScreen(window, 0, 0);
        return {window, left, top};
    }
    Shown ShowSearchWindow() { return ShowWindow(600, 300, kSearchWidth, kSearchHeight, SearchColour); }
    // A bitmap file of the picture, in the test's folder.
    std::string WriteBitmap(const std::string& name, const Surface& picture) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << EncodeBitmap(picture);
        return path.string();
    }
    // The screen as ImageMagick's import reads the root window.
    Surface ImportedScreen() {
        const std::filesystem::path file = folder / "imported.ppm";
        Shell(desktop.On("import -window root -depth 8 '" + file.string() + "'"));
        Surface screen = DecodePpm(ReadWhole(file));
        std::filesystem::remove(file);
        return screen;
    }
    // Runs the snapshot command args while the screen stands still: what import reads just
    // before and just after it must be the same (openbox may still be redrawing a frame it
    // has just focused), else it runs again. That screen goes to screen.
    CliOutcome SnapshotOfStillScreen(const std::vector<std::string>& args, Surface& screen) {
        CliOutcome outcome;
        const bool still = WaitUntil(
            [&] {
                screen = ImportedScreen();
                outcome = Cli(args);
                const Surface after = ImportedScreen();
                return screen.Width() > 0 && after.Width() == screen.Width() &&
                       FirstDifference(after, screen, 0, 0).empty();
            },
            10s);
        EXPECT_TRUE(still) << "import read nothing, or the screen never stood still";
        return outcome;
    }
    // A bitmap file that pelmora-cli wrote: it must be a 24-bit one.
    static Surface ReadSnapshot(const std::string& path) {
        const std::string bytes = ReadWhole(path);
        EXPECT_EQ(bytes.substr(0, 2), "BM") << path;
        EXPECT_GE(bytes.size(), 54u);
        if (bytes.size() < 54) return {};
        EXPECT_EQ(bytes[28] | bytes[29] << 8, 24) << "bits per pixel";
        DecodedBitmap decoded = DecodeBitmap(bytes);
        EXPECT_TRUE(decoded.picture) << decoded.error;
        return decoded.picture.value_or(Surface{});
    }
};

}  // namespace

TEST_F(CliScreenTest, SnapshotsEqualTheScreenAsImportReadsIt) {
    const Shown shown = ShowSearchWindow();
    const int x = shown.x, y = shown.y;
    Surface screen;

    // A rectangle across the window's frame and into the window.
    const std::string part = (folder / "part.bmp").string();
    const int left = x - 20, top = y - 30, width = 100, height = 70;
    CliOutcome outcome = SnapshotOfStillScreen(
        {"snapshot", "--rect", PointText(left, top) + "," + PointText(width, height), part}, screen);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, part + "\n");
    Surface picture = ReadSnapshot(part);
    ASSERT_EQ(picture.Width(), width);
    ASSERT_EQ(picture.Height(), height);
    EXPECT_EQ(FirstDifference(picture, screen, left, top), "");
    EXPECT_EQ(picture.Pixel(20 + 70, 30 + 5), kOddColour) << "the window's own pixels are in it";

    // The whole screen.
    const std::string whole = (folder / "whole.bmp").string();
    outcome = SnapshotOfStillScreen({"--json", "snapshot", whole}, screen);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "{\"path\":\"" + whole +
                               "\",\"left\":0,\"top\":0,\"width\":" + std::to_string(screen.Width()) +
                               ",\"height\":" + std::to_string(screen.Height()) + "}\n");
    picture = ReadSnapshot(whole);
    ASSERT_EQ(picture.Width(), screen.Width());
    ASSERT_EQ(picture.Height(), screen.Height());
    EXPECT_EQ(FirstDifference(picture, screen, 0, 0), "");

    // A rectangle over the right edge, where a window lies in the corner: the part off the
    // screen is black.
    const int screenWidth = screen.Width();
    client->CreateUnmanaged(client->root(), screenWidth - 30, 0, 30, 20);
    const std::string edge = (folder / "edge.bmp").string();
    outcome = Cli({"snapshot", "--rect", PointText(screenWidth - 10, 0) + ",20,4", edge});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    picture = ReadSnapshot(edge);
    ASSERT_EQ(picture.Width(), 20);
    ASSERT_EQ(picture.Height(), 4);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 20; ++column)
            EXPECT_EQ(picture.Pixel(column, row), column < 10 ? 0x996633 : 0) << column << "," << row;

    // Two RandR monitors side by side, the primary one on the right: the snapshot without a
    // rectangle is the primary monitor, taken where it lies on the root.
    const int half = screenWidth / 2, screenHeight = screen.Height();
    const std::string size = std::to_string(half) + "/300x" + std::to_string(screenHeight) + "/200+";
    Shell(desktop.On("xrandr --setmonitor left " + size + "0+0 none"));
    Shell(desktop.On("xrandr --setmonitor '*right' " + size + std::to_string(half) + "+0 none"));
    outcome = SnapshotOfStillScreen({"--json", "snapshot", whole}, screen);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "{\"path\":\"" + whole + "\",\"left\":" + std::to_string(half) + ",\"top\":0,\"width\":" +
                               std::to_string(half) + ",\"height\":" + std::to_string(screenHeight) + "}\n");
    picture = ReadSnapshot(whole);
    ASSERT_EQ(picture.Width(), half);
    EXPECT_EQ(FirstDifference(picture, screen, half, 0), "");
}

TEST_F(CliScreenTest, SnapshotThatCannotBeWrittenLeavesNoFileAndSaysSo) {
    if (geteuid() != 0) GTEST_SKIP() << "a full or read-only folder is a tmpfs mounted by the test, which needs root";
    // A folder that cannot be written at all.
    const std::filesystem::path readOnly = folder / "read-only";
    std::filesystem::create_directory(readOnly);
    {
        TmpfsMount mount(readOnly, kSmallDisk);
        ASSERT_EQ(mount.Error(), "");
        ASSERT_TRUE(mount.MakeReadOnly()) << mount.Error();
        const std::string file = (readOnly / "shot.bmp").string();
        const CliOutcome outcome = Cli({"snapshot", "--rect", "0,0,10,10", file});
        EXPECT_EQ(outcome.status, 3);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(file), std::string::npos) << outcome.err;
        EXPECT_EQ(FilesIn(readOnly), std::vector<std::string>{});
    }
    // A disk too small for the whole screen, holding an earlier snapshot of the same name:
    // the earlier one stays as it was, and nothing else is left.
    const std::filesystem::path small = folder / "small";
    std::filesystem::create_directory(small);
    TmpfsMount mount(small, kSmallDisk);
    ASSERT_EQ(mount.Error(), "");
    const std::string file = (small / "shot.bmp").string();
    std::ofstream(file) << "an earlier snapshot";
    const CliOutcome outcome = Cli({"snapshot", file});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find(file), std::string::npos) << outcome.err;
    EXPECT_EQ(FilesIn(small), std::vector<std::string>{"shot.bmp"});
    EXPECT_EQ(ReadWhole(file), "an earlier snapshot");
}

TEST_F(CliScreenTest, SearchesFindWhatTheWindowShowsInReadingOrder) {
    const Shown shown = ShowSearchWindow();
    const int x = shown.x, y = shown.y;  // a lambda cannot capture bindings in clang 14
    const auto at = [&](const int(&pixel)[2]) { return PointText(x + pixel[0], y + pixel[1]); };

    // A piece of the background, every pixel of it different.
    const int pieceLeft = 23, pieceTop = 17;
    Surface piece = PictureOf(16, 12, [&](int px, int py) { return SearchColour(pieceLeft + px, pieceTop + py); });
    CliOutcome outcome = Cli({"find-image", WriteBitmap("piece.bmp", piece)});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, PointText(x + pieceLeft, y + pieceTop) + "\n");
    // One pixel off, and it is found nowhere.
    piece.SetPixel(15, 11, piece.Pixel(15, 11) ^ 1);
    outcome = Cli({"find-image", WriteBitmap("changed.bmp", piece)});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("changed.bmp"), std::string::npos) << outcome.err;

    // The motif, drawn twice: the upper one first, and both with --all.
    const std::string motif = WriteBitmap("motif.bmp", PictureOf(kMotifWidth, kMotifHeight, MotifColour));
    outcome = Cli({"find-image", motif});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, at(kMotifs[0]) + "\n");
    outcome = Cli({"find-image", motif, "--all"});
    EXPECT_EQ(outcome.out, at(kMotifs[0]) + "\n" + at(kMotifs[1]) + "\n");

    // The colour, in either notation, over the whole screen and within a region.
    outcome = Cli({"find-colour", "#13F7A2"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, at(kOddPixels[0]) + "\n");
    outcome = Cli({"find-colour", "A2F713", "--all"});
    EXPECT_EQ(outcome.out, at(kOddPixels[0]) + "\n" + at(kOddPixels[1]) + "\n" + at(kOddPixels[2]) + "\n");
    outcome = Cli({"--json", "find-colour", "a2f713", "--all", "--region", PointText(x, y + 20) + ",120,60"});
    EXPECT_EQ(outcome.out, "{\"points\":[{\"x\":" + std::to_string(x + 15) + ",\"y\":" + std::to_string(y + 30) +
                               "},{\"x\":" + std::to_string(x + 40) + ",\"y\":" + std::to_string(y + 30) + "}]}\n");
    // A colour one step away is no match without a tolerance.
    outcome = Cli({"find-colour", "A2F714"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
}

TEST_F(CliScreenTest, ADisturbedPictureIsFoundByItsSimilarityAndMissedWithoutIt) {
    const Shown shown = ShowSearchWindow();
    // The upper motif in its smooth background, every channel 10 levels brighter and up to
    // 3 levels off either way, as after a theme change: a tolerance of 8 finds it nowhere.
    const int pieceLeft = 52, pieceTop = 4;
    const Surface piece = PictureOf(24, 18, [&](int px, int py) {
        const std::int32_t colour = SearchColour(pieceLeft + px, pieceTop + py);
        std::int32_t disturbed = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int level = (colour >> shift & 0xFF) + 10 + (px * 7 + py * 13 + shift) % 7 - 3;
            disturbed |= std::clamp(level, 0, 255) << shift;
        }
        return disturbed;
    });
    const std::string file = WriteBitmap("disturbed.bmp", piece);
    CliOutcome outcome = Cli({"find-image", file, "--tolerance", "8"});
    EXPECT_EQ(outcome.status, 1) << outcome.out;
    outcome = Cli({"--json", "find-image", file, "--similarity", "0.9"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string place =
        "{\"x\":" + std::to_string(shown.x + pieceLeft) + ",\"y\":" + std::to_string(shown.y + pieceTop);
    EXPECT_EQ(outcome.out.substr(0, place.size() + 12), place + ",\"score\":0.9") << outcome.out;
}

TEST_F(CliScreenTest, WaitColourEndsSoonAfterTheWindowTurnsThatColourAndTimesOutOtherwise) {
    const Shown shown = ShowWindow(900, 600, 60, 40, [](int, int) { return 0x204080; });
    const std::string x = std::to_string(shown.x + 30), y = std::to_string(shown.y + 20);

    CliProcess waiting(desktop.Display(), {"wait-colour", x, y, "40C020", "--interval", "50", "--timeout", "3000"});
    // The window turns that colour a while after the wait began, while the command waits.
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(waiting.Running()) << "it ended at once: " << waiting.Wait().err;
    FillWindow(*client, shown.window, 0x40C020);
    const auto changed = std::chrono::steady_clock::now();
    CliOutcome outcome = waiting.Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "40C020\n");
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(outcome.ended - changed);
    EXPECT_LT(after, 400ms) << "it saw the colour " << after.count() << " ms after the change";

    // A colour that never comes: it gives up once the timeout has passed, not before.
    const auto started = std::chrono::steady_clock::now();
    outcome = Cli({"wait-colour", x, y, "0000FF", "--interval", "50", "--timeout", "400"});
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(outcome.ended - started);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("400 ms"), std::string::npos) << outcome.err;
    EXPECT_GE(waited, 400ms);
    EXPECT_LT(waited, 1400ms);
}

TEST_F(CliScreenTest, WindowRelativeAnswersStayWhenTheWindowMovesAndDifferByTheFrame) {
    const auto colours = [](int x, int y) { return (x * 3) | (y * 3) << 8 | 0x40 << 16; };
    const Shown shown = ShowWindow(300, 200, 80, 60, colours);
    const std::string handle = std::to_string(shown.window);
    const std::string spot = ColourFormsOf(colours(40, 30)).hex;
    const auto answer = [&](const std::vector<std::string>& args) {
        const CliOutcome outcome = Cli(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return outcome.out;
    };
    const std::string client = answer({"window-rect", handle, "--client"});
    EXPECT_EQ(client, std::to_string(shown.x) + "," + std::to_string(shown.y) + ",80,60\n");
    EXPECT_EQ(answer({"pixel", "10", "20", "--window", handle, "--client"}), ColourFormsOf(colours(10, 20)).hex + "\n");
    EXPECT_EQ(answer({"find-colour", spot, "--title", "图样", "--client"}), "40,30\n");
    // Without --client the corner is the frame's, above and left of the window: openbox's
    // title bar and border.
    int left = 0, top = 0;
    ASSERT_EQ(std::sscanf(answer({"window-rect", handle}).c_str(), "%d,%d", &left, &top), 2);
    EXPECT_GT(shown.y - top, 10);
    const std::string inFrame = std::to_string(40 + shown.x - left) + "," + std::to_string(30 + shown.y - top) + "\n";
    EXPECT_EQ(answer({"find-colour", spot, "--window", handle}), inFrame);

    Shell(desktop.On("xdotool windowmove " + handle + " 520 410"));
    ASSERT_TRUE(WaitUntil([&] { return Cli({"window-rect", handle, "--client"}).out != client; }, 5s));
    EXPECT_EQ(answer({"find-colour", spot, "--window", handle, "--client"}), "40,30\n");
    EXPECT_EQ(answer({"find-colour", spot, "--window", handle}), inFrame);
    EXPECT_EQ(answer({"pixel", "10", "20", "--title", "图样", "--client"}), ColourFormsOf(colours(10, 20)).hex + "\n");
}

TEST_F(CliScreenTest, WaitChangeAndWaitStableEndWithinAnIntervalOfTheWindow) {
    const Shown shown = ShowWindow(900, 600, 60, 40, [](int, int) { return 0x204080; });
    const std::string handle = std::to_string(shown.window);
    CliProcess change(desktop.Display(), {"wait-change", "--window", handle, "--client", "--timeout", "3000"});
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(change.Running()) << "it ended at once: " << change.Wait().err;
    FillWindow(*client, shown.window, 0x40C020);
    const auto changed = std::chrono::steady_clock::now();
    CliOutcome outcome = change.Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "0,0,60,40\n");
    EXPECT_LT(outcome.ended - changed, 50ms + 100ms) << "one interval, and the look and the exit";

    // The window changes every 50 ms for 500 ms; 200 ms after the last change the wait ends.
    CliProcess stable(desktop.Display(), {"wait-stable", "--for", "200", "--window", handle, "--timeout", "5000"});
    const auto started = std::chrono::steady_clock::now();
    for (int step = 0; step < 10; ++step) {
        std::this_thread::sleep_for(50ms);
        FillWindow(*client, shown.window, step % 2 ? 0x204080 : 0x102030);
    }
    const auto stopped = std::chrono::steady_clock::now();
    outcome = stable.Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_GE(std::stoi(outcome.out), 500) << outcome.out;
    EXPECT_GE(outcome.ended - stopped, 200ms);
    EXPECT_LT(outcome.ended - stopped, 200ms + 50ms + 200ms)
        << "stopped changing " << (stopped - started) / 1ms << " ms in";
}

// No X server is needed to refuse a command line, and none is found without DISPLAY.
TEST(CliProgramWithoutDisplayTest, BadArgumentsAreNamedAndAMissingDisplayIsStatusThree) {
    CliOutcome outcome = RunCli("", {"pixel", "1", "1"});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("X server"), std::string::npos) << outcome.err;

    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"pixel", "10"}, "pixel"},
        {{"colour", "1", "1"}, "colour"},
        {{"find-colour", "12345G"}, "12345G"},
        {{"find-colour", "0000FF", "--tolerance", "256"}, "--tolerance"},
        {{"snapshot", "--rect", "0,0,0,5", "a.bmp"}, "--rect"},
        {{"wait-colour", "1", "1", "0000FF", "--interval", "soon"}, "--interval"},
        {{"windows", "--bogus"}, "--bogus"},
    };
    for (const auto& [args, named] : bad) {
        outcome = RunCli("", args);
        EXPECT_EQ(outcome.status, 2) << args[0] << " " << named;
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(named), std::string::npos) << outcome.err;
    }

    // Output that cannot be written is no success: a full disk is the system refusing.
    const int full = std::system((std::string(PELMORA_CLI_EXECUTABLE) + " --version >/dev/full 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(full));
    EXPECT_EQ(WEXITSTATUS(full), 3);
}
