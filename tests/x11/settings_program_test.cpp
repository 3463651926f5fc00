// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "backends/x11/x11_desktop.h"
#include "sampling/colour_model.h"
#include "tmpfs_mount.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// Points of the program's client area (its window sits at 0, 0 on a server without a
// window manager): slot i's swatch, the indicator Label8, Check1, the window page's
// button Option2(2) and the centre of that page's crosshair picture.
ScreenPoint Swatch(int i) { return {16 + 8 + 3, 8 + 16 + i * 17 + 3}; }
constexpr ScreenPoint kIndicator{332, 131};
constexpr ScreenPoint kCheck1{352, 131};
constexpr ScreenPoint kWindowPage{136, 282};
constexpr ScreenPoint kCrossHairLine{291, 233};

// Counts the times a file is replaced by another one renamed over it: the way the program
// writes its settings file, once for every setting.
class Replacements {
public:
    explicit Replacements(const std::filesystem::path& file)
        : name_(file.filename().string()), watch_(inotify_init1(IN_NONBLOCK)) {
        // Moves away too: the kernel folds like events in a row into one, and the temporary
        // file's move away comes between two replacements.
        inotify_add_watch(watch_, file.parent_path().c_str(), IN_MOVED_FROM | IN_MOVED_TO);
    }
    ~Replacements() { close(watch_); }
    Replacements(const Replacements&) = delete;
    Replacements& operator=(const Replacements&) = delete;
    // Those since the last call.
    int Count() {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t length = 0;
        while ((length = read(watch_, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_MOVED_TO) && event->len > 0 && name_ == event->name) ++count;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return count;
    }

private:
    std::string name_;
    int watch_;
};

struct SettingsProgramTest : ::testing::Test {
    ProgramUnderTest program;
    std::filesystem::path settings = program.Directory() / "zarade.ini";

    void RunAndTerminate() {
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
        ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
    }
};

}  // namespace

TEST_F(SettingsProgramTest, FirstRunWritesTheSnapshotSettingsOnExit) {
    ASSERT_FALSE(std::filesystem::exists(settings));
    RunAndTerminate();
    EXPECT_EQ(ReadWhole(settings),
              "[Bmp]\r\nBmpFilePath=" + (program.Directory() / "Snap").string() + "\r\nMousePoint=0\r\n");
}

TEST_F(SettingsProgramTest, HandEditedFileKeepsEverythingItDoesNotOwn) {
    const std::string edited =
        "; my notes\r\n"
        "[Other]\r\n"
        "Key=Value with  spaces\r\n"
        "\r\n"
        "[bmp]\r\n"
        "bmpfilepath = \"/data/截图\"\r\n"
        "# keep me\r\n"
        "mousepoint=1\r\n"
        "[Tail]\r\n"
        "x=1\r\n";
    std::ofstream(settings, std::ios::binary) << edited;
    RunAndTerminate();
    // The values were read (quotes and blanks dropped) and written back in place, in the
    // file's own spelling; nothing else moved.
    EXPECT_EQ(ReadWhole(settings),
              "; my notes\r\n"
              "[Other]\r\n"
              "Key=Value with  spaces\r\n"
              "\r\n"
              "[bmp]\r\n"
              "bmpfilepath=/data/截图\r\n"
              "# keep me\r\n"
              "mousepoint=1\r\n"
              "[Tail]\r\n"
              "x=1\r\n");
}

TEST_F(SettingsProgramTest, LosingTheXServerWhileSamplingOnTheWindowPageRunsTheShutDownOnce) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty());
    // The screen as the test sees it; closed before the server goes, which would end the
    // test's process as it ends the program's.
    std::unique_ptr<X11Connection> connection = X11Connection::Open(server.Display().c_str());
    ASSERT_TRUE(connection);
    std::optional<X11Desktop> screen(std::in_place, *connection);
    const auto shows = [&](ScreenPoint point, Colour colour) {
        return WaitUntil([&] { return screen->Pixel(point.x, point.y) == colour; }, 3s);
    };
    const auto xdotool = [&](const std::string& arguments) {
        Shell("DISPLAY=" + server.Display() + " xdotool " + arguments);
    };
    const auto clickAt = [&](ScreenPoint point) {
        xdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click 1");
    };
    Replacements replacements(settings);

    // How many writes one whole shut-down makes: the window closed after a grab into slot 1
    // of the green indicator.
    program.Start(server.Display());
    // The window is mapped after start-up has run.
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow(server.Display()) != 0; }));
    xdotool("mousemove 332 131 key ctrl+alt+1");
    ASSERT_TRUE(shows(Swatch(0), kColourGreen));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
    const int oneShutDown = replacements.Count();
    ASSERT_GT(oneShutDown, 0);
    std::filesystem::remove(settings);

    // The same with the server gone while the window page samples the window under the
    // pointer (the program's own) ten times a second.
    program.Start(server.Display());
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow(server.Display()) != 0; }));
    xdotool("mousemove 332 131 key ctrl+alt+2");
    ASSERT_TRUE(shows(Swatch(1), kColourGreen));
    clickAt(kWindowPage);
    ASSERT_TRUE(shows(kCrossHairLine, kColourBlack)) << "the window page did not show";
    clickAt(kCheck1);
    ASSERT_TRUE(shows(kIndicator, kColourRed)) << "sampling did not start";
    screen.reset();
    connection.reset();
    server.Stop();

    ASSERT_TRUE(program.EndsWithin(3s));
    ASSERT_TRUE(program.EndStatus());
    EXPECT_FALSE(WIFSIGNALED(*program.EndStatus())) << "killed by signal " << WTERMSIG(*program.EndStatus());
    const std::string written = ReadWhole(settings);
    EXPECT_NE(written.find("Position1X=332\r\nPosition1Y=131\r\nColor1=65280\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("MousePoint=0"), std::string::npos) << written;
    EXPECT_EQ(replacements.Count(), oneShutDown) << "not one whole shut-down";
}

namespace {

// The program installed where it cannot write: its folder a read-only mount holding the
// program and a settings file shipped beside it. HOME and XDG_CONFIG_HOME point into a
// folder of the test's own, for the per-user files.
struct ReadOnlyInstallTest : SettingsProgramTest {
    std::filesystem::path home = program.Directory().string() + "-home";
    std::optional<TmpfsMount> install;

    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "mounting a read-only folder needs root";
        std::filesystem::create_directories(home / ".config");
        std::filesystem::create_directories(home / "Pictures");
        const std::filesystem::path executable = program.Directory() / "pelmora";
        const std::filesystem::path saved = home / "pelmora";
        std::filesystem::copy_file(executable, saved);
        install.emplace(program.Directory(), 256 << 20);
        ASSERT_EQ(install->Error(), "");
        std::filesystem::copy_file(saved, executable);
        std::ofstream(settings, std::ios::binary) << kShipped;
        ASSERT_TRUE(install->MakeReadOnly()) << install->Error();
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    }
    void TearDown() override {
        if (program.Running()) program.EndsCleanlyAfter(SIGKILL, 1000ms);
        install.reset();
        std::filesystem::remove_all(home);
    }
    ~ReadOnlyInstallTest() override {
        if (oldHome) setenv("HOME", oldHome->c_str(), 1);
        else unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
    }

    static constexpr const char* kShipped = "[Position]\r\nPosition4X=12\r\nPosition4Y=34\r\nColor4=255\r\n";
    std::optional<std::string> oldHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
};

}  // namespace

TEST_F(ReadOnlyInstallTest, SlotsShippedBesideTheProgramAreRestoredAndTheUsersOwnFileIsWritten) {
    ASSERT_NE(Shell("touch '" + (program.Directory() / "probe").string() + "' 2>&1"), "")
        << "the program folder is writable";
    RunAndTerminate();
    EXPECT_EQ(ReadWhole(settings), kShipped) << "the file beside the program is left alone";
    const std::string written = ReadWhole(home / ".config" / "Pelmora" / "zarade.ini");
    EXPECT_NE(written.find("Position4X=12\r\nPosition4Y=34\r\nColor4=255\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("BmpFilePath=" + (home / "Pictures" / "Pelmora").string() + "\r\n"), std::string::npos)
        << written;
}

TEST_F(ReadOnlyInstallTest, SlotsGrabbedMeanwhileAreSavedForTheUserAndComeBackFromThere) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    ASSERT_TRUE(connection);
    X11Desktop screen(*connection);
    const auto swatchShows = [&](int i, Colour colour) {
        return WaitUntil([&] { return screen.Pixel(Swatch(i).x, Swatch(i).y) == colour; }, 3s);
    };
    PatternWindow pattern(600, 400, 40, 40);
    program.Start();
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
    Shell("xdotool mousemove 610 420 key ctrl+alt+3");
    ASSERT_TRUE(swatchShows(2, PatternWindow::ColourAt(10, 20)));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));

    EXPECT_EQ(ReadWhole(settings), kShipped) << "the file beside the program is left alone";
    const std::filesystem::path users = home / ".config" / "Pelmora" / "zarade.ini";
    const std::string grabbed =
        "Position2X=610\r\nPosition2Y=420\r\nColor2=" + std::to_string(PatternWindow::ColourAt(10, 20)) + "\r\n";
    EXPECT_NE(ReadWhole(users).find(grabbed), std::string::npos) << ReadWhole(users);

    // The next start reads the user's file, no longer the one shipped beside the program.
    program.Start();
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
    EXPECT_TRUE(swatchShows(2, PatternWindow::ColourAt(10, 20))) << "slot 3 did not come back";
    EXPECT_TRUE(swatchShows(4, kColourRed)) << "slot 5 did not come back";
    EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
}
