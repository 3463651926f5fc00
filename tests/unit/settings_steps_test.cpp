// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "app/form1.h"
#include "backends/fake/fake_services.h"

using namespace pelmora;

namespace {

constexpr const char* kSettings = "/opt/pelmora/zarade.ini";

struct SettingsStepsTest : ::testing::Test {
    FakePlatform fake;
    Form1 form{fake.Services()};
    TextBox& folder = form.snapshotPage.路径文本框;
    CheckBox& withCursor = form.snapshotPage.Check7;

    void LoadWithFile(const std::string& contents) {
        fake.files.contents[kSettings] = contents;
        form.Form_Load();
    }
};

}  // namespace

TEST_F(SettingsStepsTest, FirstRunUsesTheDefaultFolderAndWritesTheBmpSectionOnExit) {
    form.Form_Load();
    EXPECT_EQ(folder.Text(), "/opt/pelmora/Snap");
    EXPECT_EQ(withCursor.Value(), 0);
    form.Form_Unload();
    EXPECT_EQ(fake.files.contents[kSettings], "[Bmp]\r\nBmpFilePath=/opt/pelmora/Snap\r\nMousePoint=0\r\n");
}

TEST_F(SettingsStepsTest, StoredValuesAreShownAndAnEmptyFolderFallsBackToTheDefault) {
    LoadWithFile("[Bmp]\r\nBmpFilePath=/nowhere/at all\r\nMousePoint=1\r\n");
    EXPECT_EQ(folder.Text(), "/nowhere/at all");  // shown even though it does not exist
    EXPECT_EQ(withCursor.Value(), 1);

    FakePlatform other;
    other.files.contents[kSettings] = "[Bmp]\r\nBmpFilePath=\r\nMousePoint=0\r\n";
    Form1 second(other.Services());
    second.Form_Load();
    EXPECT_EQ(second.snapshotPage.路径文本框.Text(), "/opt/pelmora/Snap");
}

TEST_F(SettingsStepsTest, MousePointThatDoesNotConvertIsSkippedAndStartUpGoesOn) {
    for (const char* stored : {"abc", "", "7", "-1", "1x"}) {
        FakePlatform fresh;
        fresh.files.contents[kSettings] = std::string("[Bmp]\r\nBmpFilePath=/f\r\nMousePoint=") + stored + "\r\n";
        Form1 loaded(fresh.Services());
        loaded.Form_Load();
        EXPECT_EQ(loaded.snapshotPage.Check7.Value(), 0) << stored;
        EXPECT_EQ(loaded.snapshotPage.路径文本框.Text(), "/f") << stored;
        EXPECT_EQ(loaded.ScreenWidth, 1024) << stored;  // the later steps still ran
    }
    LoadWithFile("[Bmp]\r\nMousePoint=1.4\r\n");  // rounds to 1, as an integer conversion does
    EXPECT_EQ(withCursor.Value(), 1);
}

TEST_F(SettingsStepsTest, ShutDownRewritesInPlaceAndKeepsForeignContent) {
    LoadWithFile("; notes\r\n[bmp]\r\nmousepoint=0\r\n[Other]\r\nk=v\r\n");
    withCursor.SetValue(1);
    folder.SetText("/shots");
    form.Form_Unload();
    EXPECT_EQ(fake.files.contents[kSettings],
              "; notes\r\n[bmp]\r\nmousepoint=1\r\nBmpFilePath=/shots\r\n[Other]\r\nk=v\r\n");
}

TEST_F(SettingsStepsTest, HiddenSettingsFileCountsAsMissingAndIsWrittenAgain) {
    fake.files.hiddenFiles.insert(kSettings);
    LoadWithFile("[Bmp]\r\nBmpFilePath=/hidden\r\nMousePoint=1\r\n");
    EXPECT_EQ(folder.Text(), "/opt/pelmora/Snap");
    EXPECT_EQ(withCursor.Value(), 0);
    form.Form_Unload();
    EXPECT_NE(fake.files.contents[kSettings].find("BmpFilePath=/opt/pelmora/Snap"), std::string::npos);
}

// A read-only program folder (a read-only share), or a program installed by a package into
// the system's folders, which even a user who could write there (root) must keep clean:
// settings are written per user, a file beside the program is read until the user has one,
// and snapshots go to the user's pictures folder.
TEST_F(SettingsStepsTest, ReadOnlyOrInstalledProgramWritesPerUserAndDefaultsSnapshotsToPictures) {
    for (const bool installed : {false, true}) {
        FakePlatform platform;
        if (installed) platform.files.installedForAllUsers = true;
        else platform.files.unwritableDirectories.insert("/opt/pelmora");
        Form1 loaded(platform.Services());
        loaded.Form_Load();
        EXPECT_EQ(loaded.SettingsPath, "/home/user/.config/Pelmora/zarade.ini") << installed;
        EXPECT_EQ(loaded.snapshotPage.路径文本框.Text(), "/home/user/Pictures/Pelmora") << installed;
        loaded.Form_Unload();
        EXPECT_TRUE(platform.files.contents.count("/home/user/.config/Pelmora/zarade.ini")) << installed;
        EXPECT_FALSE(platform.files.contents.count(kSettings)) << installed;
    }
}

TEST_F(SettingsStepsTest, ReadOnlyProgramFolderStillReadsTheFileBesideTheProgramUntilThereIsAPerUserOne) {
    constexpr const char* kPerUser = "/home/user/.config/Pelmora/zarade.ini";
    fake.files.unwritableDirectories.insert("/opt/pelmora");
    const std::string shipped =
        "[Position]\r\nPosition4X=12\r\nPosition4Y=34\r\nColor4=255\r\n"
        "[Bmp]\r\nBmpFilePath=/shared/shots\r\nMousePoint=1\r\n";
    LoadWithFile(shipped);
    EXPECT_EQ(form.pointSlots.坐标颜色[4].Text(), "12,34 0000FF");
    EXPECT_EQ(folder.Text(), "/shared/shots");
    EXPECT_EQ(withCursor.Value(), 1);
    form.pointSlots.坐标颜色[5].SetText("5,6 00FF00");
    form.Form_Unload();
    EXPECT_EQ(fake.files.contents[kSettings], shipped) << "the file beside the program is left as it was";
    const std::string& written = fake.files.contents[kPerUser];
    EXPECT_NE(written.find("Position4X=12"), std::string::npos) << written;
    EXPECT_NE(written.find("Position5X=5"), std::string::npos) << written;

    // The next start-up reads the user's own file, which wins over the one beside the program.
    fake.files.contents[kSettings] = "[Bmp]\r\nBmpFilePath=/other\r\nMousePoint=0\r\n";
    Form1 next(fake.Services());
    next.Form_Load();
    EXPECT_EQ(next.pointSlots.坐标颜色[5].Text(), "5,6 00FF00");
    EXPECT_EQ(next.snapshotPage.路径文本框.Text(), "/shared/shots");

    // A hidden per-user file counts as missing, as beside the program.
    fake.files.hiddenFiles.insert(kPerUser);
    Form1 third(fake.Services());
    third.Form_Load();
    EXPECT_EQ(third.snapshotPage.路径文本框.Text(), "/other");
}

// A settings file beside the program that cannot be written (marked read-only) in a folder
// that can: the writes go to the user's own file, so a slot grabbed meanwhile comes back.
TEST_F(SettingsStepsTest, ReadOnlySettingsFileBesideTheProgramSendsTheWritesToThePerUserFile) {
    fake.files.readOnlyFiles.insert(kSettings);
    LoadWithFile("[Position]\r\nPosition4X=12\r\nPosition4Y=34\r\nColor4=255\r\n");
    form.pointSlots.坐标颜色[5].SetText("5,6 00FF00");
    form.Form_Unload();
    Form1 next(fake.Services());
    next.Form_Load();
    EXPECT_EQ(next.SettingsPath, "/home/user/.config/Pelmora/zarade.ini");
    EXPECT_EQ(next.pointSlots.坐标颜色[4].Text(), "12,34 0000FF");
    EXPECT_EQ(next.pointSlots.坐标颜色[5].Text(), "5,6 00FF00");
}

namespace {
// A code page that holds ASCII only: any other character becomes "?", as a Chinese one
// does in code page 1252.
class AsciiCodePage : public Utf8Encoding {
public:
    std::string FromUtf8(std::string_view utf8) const override {
        std::string native;
        for (std::size_t at = 0; at < utf8.size(); at += CharacterLength(utf8, at))
            native += static_cast<unsigned char>(utf8[at]) < 0x80 ? utf8[at] : '?';
        return native;
    }
};
}  // namespace

// A snapshot folder that would read back as "?" names: stored by its short name, or not at
// all, so that the next start never points snapshots at a folder that does not exist.
TEST(SettingsEncodingTest, FolderTheCodePageCannotHoldIsStoredByItsShortNameOrKeepsTheOldValue) {
    FakePlatform fake;
    const AsciiCodePage codePage;
    const Platform services{fake.desktop, fake.shell, fake.files,     fake.hotkeys, fake.clock,
                            fake.pump,    codePage,   fake.clipboard, fake.dialogs};
    fake.files.contents[kSettings] = "[Bmp]\r\nBmpFilePath=/old shots\r\nMousePoint=0\r\n";
    fake.files.shortPaths["/home/截图"] = "/home/ABCD~1";
    const auto runWithFolder = [&](const std::string& chosen) {
        Form1 form(services);
        form.Form_Load();
        form.snapshotPage.路径文本框.SetText(chosen);
        form.snapshotPage.Check7.SetValue(1);
        form.Form_Unload();
    };
    runWithFolder("/home/图片");
    EXPECT_EQ(fake.files.contents[kSettings], "[Bmp]\r\nBmpFilePath=/old shots\r\nMousePoint=1\r\n");
    runWithFolder("/home/截图");
    EXPECT_EQ(fake.files.contents[kSettings], "[Bmp]\r\nBmpFilePath=/home/ABCD~1\r\nMousePoint=1\r\n");
}
