// SPDX-License-Identifier: MIT
// The Wayland notice through Form1 on the fake desktop: when it shows, how "不再提示"
// silences it for the next runs, and where that is kept.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "backends/fake/fake_services.h"

using namespace pelmora;

namespace {

constexpr const char* kSettings = "/opt/pelmora/zarade.ini";
constexpr const char* kPerUser = "/home/user/.config/Pelmora/zarade.ini";

struct WaylandNoticeTest : ::testing::Test {
    FakePlatform fake;

    // One run of the program: start-up, the notice once the window shows, shut-down.
    // Returns how many notices that run showed.
    std::size_t Run(bool waylandSession) {
        const std::size_t before = fake.dialogs.notices.size();
        Form1 form(fake.Services());
        form.Form_Load();
        form.ShowSessionNotice(waylandSession);
        form.Form_Unload();
        return fake.dialogs.notices.size() - before;
    }
};

}  // namespace

TEST_F(WaylandNoticeTest, NeverShowsInAnX11Session) {
    EXPECT_EQ(Run(false), 0u);
    EXPECT_EQ(fake.files.contents[kSettings].find("Wayland"), std::string::npos);
}

TEST_F(WaylandNoticeTest, SaysWhatIsOutOfReachWhatStillWorksAndHowToGetEverything) {
    ASSERT_EQ(Run(true), 1u);
    const std::string& notice = fake.dialogs.notices.front();
    for (const char* part : {"Wayland", "XWayland", "像素", "窗口", "热键", "pelmora-cli", "桌面门户",
                             "“GNOME on Xorg”", "“Plasma (X11)”", "如果登录界面还提供", " | 不再提示"})
        EXPECT_NE(notice.find(part), std::string::npos) << part;
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(WaylandNoticeTest, ShowsEveryRunUntilTheUserTicksNotAgainThenNeverAgain) {
    EXPECT_EQ(Run(true), 1u);
    EXPECT_EQ(Run(true), 1u) << "closed without the tick, it comes again";
    EXPECT_EQ(fake.files.contents[kSettings].find("Wayland"), std::string::npos);

    fake.dialogs.tickNoticeCheckBox = true;
    EXPECT_EQ(Run(true), 1u);
    fake.dialogs.tickNoticeCheckBox = false;
    EXPECT_EQ(Run(true), 0u);
    EXPECT_EQ(Run(true), 0u);
    EXPECT_EQ(Run(false), 0u);
    EXPECT_NE(fake.files.contents[kSettings].find("[Wayland]\r\nShowNotice=0\r\n"), std::string::npos);
}

TEST_F(WaylandNoticeTest, TheTickIsWrittenAtOnceInASectionOfItsOwnKeepingEveryOtherLine) {
    const std::string before =
        "; mine\r\n[Position]\r\nPosition0X=1\r\nPosition0Y=2\r\nColor0=255\r\n"
        "[Bmp]\r\nBmpFilePath=/shots\r\nMousePoint=1\r\n[Other]\r\nk=v\r\n";
    fake.files.contents[kSettings] = before;
    fake.dialogs.tickNoticeCheckBox = true;
    Form1 form(fake.Services());
    form.Form_Load();
    form.ShowSessionNotice(true);
    // Before shut-down: a program killed now still does not ask again.
    EXPECT_EQ(fake.files.contents[kSettings], before + "[Wayland]\r\nShowNotice=0\r\n");
    form.Form_Unload();
    EXPECT_EQ(fake.files.contents[kSettings], before + "[Wayland]\r\nShowNotice=0\r\n");
}

TEST_F(WaylandNoticeTest, OnlyZeroSilencesAStoredSetting) {
    for (const char* stored : {"1", "", "no", "00", "0x"}) {
        fake.files.contents[kSettings] = std::string("[Wayland]\r\nShowNotice=") + stored + "\r\n";
        EXPECT_EQ(Run(true), 1u) << stored;
    }
    fake.files.contents[kSettings] = "[wayland]\r\nshownotice=0\r\n";  // the file's names ignore case
    EXPECT_EQ(Run(true), 0u);
}

// Installed, the program reads the file beside it until the user has one; a notice silenced
// there stays silenced in the user's own file.
TEST_F(WaylandNoticeTest, SilenceReadBesideAnInstalledProgramCarriesIntoThePerUserFile) {
    fake.files.installedForAllUsers = true;
    fake.files.contents[kSettings] = "[Wayland]\r\nShowNotice=0\r\n";
    EXPECT_EQ(Run(true), 0u);
    EXPECT_NE(fake.files.contents[kPerUser].find("[Wayland]\r\nShowNotice=0\r\n"), std::string::npos);
    fake.files.contents.erase(kSettings);
    EXPECT_EQ(Run(true), 0u);
}
