// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "app/form1.h"
#include "backends/fake/fake_services.h"

using namespace pelmora;

namespace {

constexpr const char* kSettings = "/opt/pelmora/zarade.ini";

struct SlotSettingsTest : ::testing::Test {
    FakePlatform fake;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(fake.Services());
    std::string& file = fake.files.contents[kSettings];

    PointSlots& Slots() { return form->pointSlots; }
    // Ends this run and starts the next one on the same files.
    void Restart() {
        form->Form_Unload();
        form = std::make_unique<Form1>(fake.Services());
        form->Form_Load();
    }
};

}  // namespace

TEST_F(SlotSettingsTest, FreshFileListsTheKeysInTheirOrder) {
    fake.files.contents.erase(kSettings);
    form->Form_Load();
    fake.desktop.screen.SetPixel(100, 200, kColourRed);
    fake.desktop.pointer = {100, 200};
    fake.hotkeys.Press(3, 49);
    fake.desktop.pointer = {7, 8};
    fake.hotkeys.Press(3, 52);  // slot 3
    form->Form_Unload();
    EXPECT_EQ(fake.files.contents[kSettings],
              "[Position]\r\nPosition0X=100\r\nPosition0Y=200\r\nColor0=255\r\n"
              "Position3X=7\r\nPosition3Y=8\r\nColor3=0\r\n"
              "[Bmp]\r\nBmpFilePath=/opt/pelmora/Snap\r\nMousePoint=0\r\n");
}

TEST_F(SlotSettingsTest, RoundTripRestoresTextAndSwatch) {
    file =
        "[Position]\r\nPosition0X=100\r\nPosition0Y=200\r\nColor0=255\r\nPosition9X=-5\r\nPosition9Y=17\r\n"
        "Color9=0\r\n";
    form->Form_Load();
    EXPECT_EQ(Slots().坐标颜色[0].Text(), "100,200 0000FF");
    EXPECT_EQ(Slots().色块[0].BackColor(), kColourRed);
    EXPECT_EQ(Slots().坐标颜色[9].Text(), "-5,17 000000");  // black is stored as 0
    EXPECT_EQ(Slots().色块[9].BackColor(), kColourBlack);
    EXPECT_EQ(Slots().色块[1].BackColor(), kColourWhite);
    Restart();
    EXPECT_EQ(Slots().坐标颜色[0].Text(), "100,200 0000FF");
    EXPECT_EQ(Slots().坐标颜色[9].Text(), "-5,17 000000");
}

TEST_F(SlotSettingsTest, LoadingCopesWithWhateverTheFileHolds) {
    file =
        "[Position]\r\n"
        "Position0X=\r\nPosition0Y=abc\r\nColor0=65280\r\n"  // empty and odd coordinates stay verbatim
        "Position1X=1\r\nPosition1Y=2\r\nColor1=\r\n"        // empty colour: slot stays empty
        "Position2X=1\r\nPosition2Y=2\r\nColor2=red\r\n"     // colour not a number: slot unchanged
        "Position3X=1\r\nPosition3Y=2\r\nColor3=-1\r\n"      // no colour a swatch takes: text only
        "Color4=255\r\n";                                    // colour without coordinates
    form->Form_Load();
    EXPECT_EQ(Slots().坐标颜色[0].Text(), ",abc 00FF00");
    EXPECT_EQ(Slots().色块[0].BackColor(), kColourGreen);
    EXPECT_EQ(Slots().坐标颜色[1].Text(), "");
    EXPECT_EQ(Slots().坐标颜色[2].Text(), "");
    EXPECT_EQ(Slots().色块[2].BackColor(), kColourWhite);
    EXPECT_EQ(Slots().坐标颜色[3].Text(), "1,2 FFFFFF");
    EXPECT_EQ(Slots().色块[3].BackColor(), kColourWhite);
    EXPECT_EQ(Slots().坐标颜色[4].Text(), ", 0000FF");
    EXPECT_TRUE(form->hotkeyHook.HookInstalled);  // start-up went on to the end
}

TEST_F(SlotSettingsTest, SavingWritesWhatItCanTakeAndLeavesTheRest) {
    file = "[Position]\r\nPosition5X=old\r\nPosition5Y=old\r\nColor5=1\r\n";
    form->Form_Load();
    const auto set = [&](int i, const char* text) { Slots().坐标颜色[i].SetText(text); };
    set(0, "12 0000FF");         // no comma: no X, Y is the whole point
    set(1, "1,2  0000FF");       // two spaces: X and Y, no colour
    set(2, "3,4 00FF00 extra");  // only the first word after the point is the colour
    set(3, "5,6 ");              // empty colour
    set(4, "7,8 GG0000");        // colour that is not hexadecimal
    set(5, "");                  // empty slot: older values stay
    Restart();
    const auto value = [&](const char* key) {
        const auto at = file.find(std::string("\n") + key + "=");
        if (at == std::string::npos) return std::string("<none>");
        const auto start = at + 2 + std::string(key).size();
        return file.substr(start, file.find('\r', start) - start);
    };
    EXPECT_EQ(value("Position0X"), "<none>");
    EXPECT_EQ(value("Position0Y"), "12");
    EXPECT_EQ(value("Color0"), "255");
    EXPECT_EQ(value("Position1X"), "1");
    EXPECT_EQ(value("Position1Y"), "2");
    EXPECT_EQ(value("Color1"), "<none>");
    EXPECT_EQ(value("Color2"), "65280");
    EXPECT_EQ(value("Position3Y"), "6");
    EXPECT_EQ(value("Color3"), "<none>");
    EXPECT_EQ(value("Position4X"), "7");
    EXPECT_EQ(value("Color4"), "<none>");
    EXPECT_EQ(value("Position5X"), "old");
    EXPECT_EQ(value("Color5"), "1");
    EXPECT_EQ(Slots().坐标颜色[5].Text(), "old,old 000001");  // and loaded again
}

TEST_F(SlotSettingsTest, SlotsAreLockedGreyWithTheirHotkeyTips) {
    EXPECT_TRUE(Slots().坐标颜色[0].Locked());
    EXPECT_EQ(Slots().坐标颜色[0].BackColor(), kColourReadOnlyGrey);
    EXPECT_EQ(Slots().坐标颜色[0].ToolTip(), "抓点热键：Ctrl+Alt+1");
    EXPECT_EQ(Slots().坐标颜色[9].ToolTip(), "抓点热键：Ctrl+Alt+0");
    EXPECT_EQ(Slots().色块[9].Caption(), "10");
    EXPECT_EQ(Slots().色块[0].ForeColor(), 12632256);
}
