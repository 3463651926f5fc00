// SPDX-License-Identifier: MIT
// The real program on a disk with no room left, used as a user uses it: a snapshot into a
// folder it does not fit in, and the settings file written at shut-down on a full disk.
// The disk is a small tmpfs of the test's own mounted over the folder, which needs root.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <optional>
#include <set>

#include <unistd.h>

#include "managed_program_test.h"
#include "snapshot_page_layout.h"
#include "tmpfs_mount.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

std::set<std::string> Entries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

struct FullDiskProgramTest : ManagedProgramTest {
    std::optional<TmpfsMount> disk;
    std::filesystem::path settings = program.Directory() / "zarade.ini";
    std::filesystem::path folder;  // a folder of the test's own, when it needs one

    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "a full disk is a tmpfs mounted by the test, which needs root";
        ManagedProgramTest::SetUp();
    }
    void TearDown() override {
        ManagedProgramTest::TearDown();
        disk.reset();
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }
    void MakeFolder() {
        char name[] = "/tmp/pelmora-full-disk-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void Mount(const std::filesystem::path& where, std::uint64_t bytes) {
        disk.emplace(where, bytes);
        ASSERT_EQ(disk->Error(), "");
    }
    // The program's window may be placed anew when it shows again after a snapshot.
    void FindWindowAgain() { std::tie(left, top) = client->OnScreen(programWindow, 0, 0); }
    // The text of the message box the program shows, "" while it shows none.
    std::string Message() const {
        const AccessibleTree tree = Tree();
        bool inBox = false;
        int boxDepth = 0;
        for (const Accessible& object : tree.Objects()) {
            if (inBox && object.depth <= boxDepth) inBox = false;
            if (!inBox && (object.role == "dialog" || object.role == "alert") && object.name == "Pelmora") {
                inBox = true;
                boxDepth = object.depth;
            } else if (inBox && object.role == "label" && !object.name.empty()) {
                return object.name;
            }
        }
        return {};
    }
    // Presses 截图 and expects the message that the snapshot could not be saved, with nothing
    // left in the folder but what was there; then closes the message.
    ::testing::AssertionResult SnapshotRefused() {
        const std::set<std::string> before = Entries(folder);
        if (!AccessibleTree::DoAction(accessibilityBus, program.Pid(), "截图"))
            return ::testing::AssertionFailure() << "no button 截图";
        std::string message;
        if (!WaitUntil([&] { return !(message = Message()).empty(); }, 10s))
            return ::testing::AssertionFailure() << "no message; the folder holds " << Entries(folder).size();
        if (message != "无法在此文件夹保存截图：" + folder.string())
            return ::testing::AssertionFailure() << "the message says " << message;
        if (Entries(folder) != before) return ::testing::AssertionFailure() << "a part of the snapshot was left";
        if (!AccessibleTree::DoAction(accessibilityBus, program.Pid(), "OK") ||
            !WaitUntil([&] { return Message().empty(); }, 5s))
            return ::testing::AssertionFailure() << "the message stayed";
        if (!WaitUntil([&] { return client->Viewable(programWindow); }))
            return ::testing::AssertionFailure() << "the window did not come back";
        return ::testing::AssertionSuccess();
    }
    // Grabs the point (x, y) into slot 3 with Ctrl+Alt+3 and waits until the slot shows it,
    // keeping its text in slot3.
    ::testing::AssertionResult GrabIntoSlot3(int x, int y) {
        const std::string point = std::to_string(x) + "," + std::to_string(y) + " ";
        Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " key ctrl+alt+3");
        if (WaitUntil([&] { return (slot3 = Tree().TextOf("坐标颜色(2)")).rfind(point, 0) == 0; }, 5s))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "slot 3 shows " << slot3;
    }
    std::string slot3;
};

}  // namespace

TEST_F(FullDiskProgramTest, SnapshotsThatDoNotFitAreReportedLeaveNothingBehindAndTheNextOneIsSaved) {
    MakeFolder();
    Mount(folder, 1 << 20);
    std::ofstream(settings, std::ios::binary) << "[Bmp]\r\nBmpFilePath=" << folder.string() << "\r\n";
    StartProgram("屏幕截图按钮");
    ASSERT_EQ(Tree().TextOf("路径文本框"), folder.string());
    Click(kSnapshotPage);

    // The whole screen, several megabytes as a bitmap, into 1 MB.
    EXPECT_TRUE(SnapshotRefused());
    EXPECT_EQ(disk->FreeBytes(), disk->TotalBytes()) << "the room the write took was not given back";

    // A rectangle of 40 x 30 pixels on the disk filled to the last byte.
    FindWindowAgain();
    Click(kCheck5);
    const int range[4] = {100, 50, 40, 30};
    for (int i = 0; i < 4; ++i) {
        Click(kRangeFirst[0] + 60 * i, kRangeFirst[1]);
        Xdotool("key ctrl+a type " + std::to_string(range[i]));
    }
    ASSERT_TRUE(disk->Fill("filler")) << disk->Error();
    EXPECT_TRUE(SnapshotRefused());

    // With room again the program saves it whole.
    std::filesystem::remove(folder / "filler");
    ASSERT_TRUE(AccessibleTree::DoAction(accessibilityBus, program.Pid(), "截图"));
    std::set<std::string> names;
    ASSERT_TRUE(WaitUntil([&] { return (names = Entries(folder)).size() == 1; }, 5s)) << names.size() << " files";
    const std::string bitmap = ReadWhole(folder / *names.begin());
    // The headers, then 30 rows of 40 pixels of 3 bytes.
    EXPECT_EQ(bitmap.size(), 54u + 30 * 40 * 3);
    EXPECT_EQ(bitmap.substr(0, 2), "BM");
    EXPECT_FALSE(WaitUntil([&] { return !Message().empty(); }, 1s)) << Message();
}

TEST_F(FullDiskProgramTest, SettingsFileOnAFullDiskKeepsItsOldBytesAtShutDown) {
    // The program folder is a tmpfs just big enough for the program, then filled to the
    // last byte. The old settings file takes nearly a page of its own; the shut-down's new
    // slot makes it longer than that page, so a writer that cut the file and wrote it anew
    // in place would get room for its first page only, and tear it.
    MakeFolder();
    const std::filesystem::path executable = program.Directory() / "pelmora";
    std::filesystem::copy_file(executable, folder / "pelmora");
    Mount(program.Directory(), std::filesystem::file_size(executable) + (1 << 20));
    std::filesystem::copy_file(folder / "pelmora", executable);
    std::string old = "[Position]\r\nPosition4X=12\r\nPosition4Y=34\r\nColor4=255\r\n[Bmp]\r\nBmpFilePath=" +
                      (program.Directory() / "Snap").string() + "\r\nMousePoint=0\r\n";
    old = "; " + std::string(4090 - old.size() - 4, '-') + "\r\n" + old;
    ASSERT_EQ(old.size(), 4090u);
    std::ofstream(settings, std::ios::binary) << old;
    ASSERT_TRUE(disk->Fill("filler")) << disk->Error();
    ASSERT_EQ(disk->FreeBytes(), 0u);

    StartProgram("坐标颜色(2)");
    EXPECT_EQ(Tree().TextOf("坐标颜色(4)"), "12,34 0000FF") << "the old file was not read";
    ASSERT_TRUE(GrabIntoSlot3(700, 600));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    EXPECT_EQ(ReadWhole(settings), old);
    EXPECT_EQ(Entries(program.Directory()), (std::set<std::string>{"filler", "pelmora", "zarade.ini"}));

    // With room again the same steps change the file: what failed above was the write.
    std::filesystem::remove(program.Directory() / "filler");
    StartProgram("坐标颜色(2)");
    ASSERT_TRUE(GrabIntoSlot3(700, 600));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    // The slot text ends in the colour as six hexadecimal digits; the file keeps it in decimal.
    const std::string colour = std::to_string(std::stoul(slot3.substr(slot3.size() - 6), nullptr, 16));
    std::string expected = old;
    expected.insert(expected.find("[Bmp]"), "Position2X=700\r\nPosition2Y=600\r\nColor2=" + colour + "\r\n");
    EXPECT_EQ(ReadWhole(settings), expected);
    EXPECT_EQ(Entries(program.Directory()), (std::set<std::string>{"pelmora", "zarade.ini"}));
}
