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

TEST_F(SettingsStepsTest, UnwritableExecutableFolderMovesSettingsAndSnapshotsToTheUserFolder) {
    fake.files.unwritableDirectories.insert("/opt/pelmora");
    form.Form_Load();
    EXPECT_EQ(form.SettingsPath, "/home/user/.config/Pelmora/zarade.ini");
    EXPECT_EQ(folder.Text(), "/home/user/.config/Pelmora/Snap");
    form.Form_Unload();
    EXPECT_TRUE(fake.files.contents.count("/home/user/.config/Pelmora/zarade.ini"));
    EXPECT_FALSE(fake.files.contents.count(kSettings));
}
