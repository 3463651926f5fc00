// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "form_fixture.h"

using namespace pelmora;

namespace {
struct Form1Test : FormOnFakeDesktop, ::testing::Test {};
}  // namespace

TEST_F(Form1Test, StartUpMeasuresTheScreenAndComputesTheSettingsPath) {
    EXPECT_EQ(form.SettingsPath, "/opt/pelmora/zarade.ini");
    EXPECT_EQ(form.ScreenWidth, 1024);
    EXPECT_EQ(form.ScreenHeight, 768);
    EXPECT_EQ(form.sampling.SamplingState, kSamplingStopped);
    EXPECT_FALSE(form.sampling.Timer1.Enabled());
}

TEST(Form1Paths, SettingsPathUsesThePlatformSeparatorVerbatim) {
    FakePlatform fake;
    fake.files.executableDirectory = "C:\\";
    fake.files.separator = '\\';
    Form1 form(fake.Services());
    form.Form_Load();
    EXPECT_EQ(form.SettingsPath, "C:\\\\zarade.ini");
}

TEST_F(Form1Test, StartsOnTheFirstPageWithTheGetPanel) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(form.Frame2[i].Visible(), i == 0) << i;
    EXPECT_TRUE(form.Option2[0].Value());
    EXPECT_TRUE(form.Option3[0].Value());
    EXPECT_TRUE(form.颜色坐标[0].Visible());
    EXPECT_FALSE(form.颜色坐标[1].Visible());
}

TEST_F(Form1Test, PageSwitchShowsExactlyOnePageAndFocusesCheck1) {
    for (int page : {3, 4, 0, 5}) {
        form.Option2[page].Select();
        for (int i = 0; i < 6; ++i) EXPECT_EQ(form.Frame2[i].Visible(), i == page) << page << "/" << i;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(form.Option2[i].Value(), i == page);
        EXPECT_EQ(form.Focused(), &form.sampling.Check1);
    }
}

TEST_F(Form1Test, MailLinkOpensTheSupportAddressOnDoubleClick) {
    form.Label7.RaiseDblClick();
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0], "mailto:support@pelmora.org");
    EXPECT_EQ(form.Label7.ToolTip(), "[双击]发送邮件！");
}

TEST_F(Form1Test, ShutDownStopsSamplingOnce) {
    form.sampling.Check1.SetValue(1);
    form.Form_Unload();
    EXPECT_FALSE(form.sampling.Timer1.Enabled());
    EXPECT_TRUE(form.Unloaded());
    form.sampling.Timer1.SetEnabled(true);
    form.Form_Unload();  // a second trigger (signal after close) changes nothing
    EXPECT_TRUE(form.sampling.Timer1.Enabled());
}

TEST_F(Form1Test, ControlsHaveUniqueObjectNamesAndCheck1ComesFirst) {
    std::set<std::string> names;
    for (Control* control : form.Controls())
        EXPECT_TRUE(names.insert(control->ObjectName()).second) << control->ObjectName();
    EXPECT_EQ(form.Controls().front(), &form.sampling.Check1);
    EXPECT_TRUE(names.count("Label5(6)"));
    EXPECT_TRUE(names.count("颜色坐标(0)"));
}
