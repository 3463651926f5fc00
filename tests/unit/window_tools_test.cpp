// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"
#include "windows/window_list.h"

using namespace pelmora;

namespace {

struct WindowToolsTest : FormOnFakeDesktop, ::testing::Test {
    WindowHandlePage& page = form.windowHandlePage;
    CrossHairPick& pick = form.windowHandlePage.pick;

    WindowToolsTest() {
        fake.desktop.windows = {
            {501, {100, 100, 200, 100}, "记事本 - 无标题", "Notepad"},
            {502, {0, 0, 1024, 768}, "Desktop", "Progman"},
            {503, {0, 0, 0, 0}, "", "Hidden helper", false},
            {504, {0, 0, 0, 0}, "ABC hidden", "Other", false},
        };
    }
    void Tick() { form.sampling.Timer1.Fire(); }
    static MouseEvent Button(int button) { return {button, 0, 3, 3}; }
};

}  // namespace

TEST_F(WindowToolsTest, CrossHairImageHasItsLinesAndBarsOnly) {
    const Surface image = CrossHairImage();
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 32);
    int black = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool line = (x == 15 && y >= 1 && y <= 29) || (y == 15 && x >= 1 && x <= 29);
            const bool bar = ((y == 1 || y == 29) && x >= 13 && x <= 17) || ((x == 1 || x == 29) && y >= 13 && y <= 17);
            EXPECT_EQ(image.Pixel(x, y), line || bar ? kColourBlack : -1) << x << "," << y;
            black += image.Pixel(x, y) == kColourBlack;
        }
    EXPECT_EQ(black, 29 + 28 + 4 * 4);  // two lines sharing the centre, bars less their line pixel
}

TEST_F(WindowToolsTest, PickSubPageStartsAutomaticWithTheCrossHairDisabled) {
    EXPECT_TRUE(page.句柄选页[0].Visible());
    EXPECT_FALSE(page.句柄选页[1].Visible());
    EXPECT_FALSE(pick.Text2.Locked());
    EXPECT_EQ(pick.Text2.BackColor(), kColourWhite);
    EXPECT_TRUE(pick.Text1.Locked());
    EXPECT_EQ(pick.Text3.BackColor(), kColourReadOnlyGrey);
    EXPECT_FALSE(pick.picCrossHair.Enabled());
    EXPECT_EQ(pick.picCrossHair.BackColor(), kColourReadOnlyGrey);
    EXPECT_EQ(pick.picCrossHair.Geometry().width, 36);
    EXPECT_EQ(pick.Check4.Geometry().width, 15);
    EXPECT_EQ(pick.Check4.ToolTip(), "[按下]停止抓鼠标位置下窗口句柄！");
}

TEST_F(WindowToolsTest, TickReadsTheWindowUnderThePointerWhileThePickSubPageIsSelected) {
    form.sampling.Check1.SetValue(1);
    fake.desktop.pointer = {150, 150};
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "501");
    EXPECT_EQ(pick.Text1.Text(), "记事本 - 无标题");
    EXPECT_EQ(pick.Text3.Text(), "Notepad");

    form.Option2[0].Select();  // another main page on show: the read-out goes on
    fake.desktop.pointer = {10, 10};
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "502");

    page.句柄选项[1].Select();  // another sub-page: the fields stay
    EXPECT_EQ(form.Focused(), &form.sampling.Check1);
    fake.desktop.pointer = {150, 150};
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "502");
}

TEST_F(WindowToolsTest, NoWindowShowsZeroAndEmptyTexts) {
    fake.desktop.windows.clear();
    form.sampling.Check1.SetValue(1);
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "0");
    EXPECT_EQ(pick.Text1.Text(), "");
    EXPECT_EQ(pick.Text3.Text(), "");
}

TEST_F(WindowToolsTest, PressedCheck4StopsTheReadOutAndEnablesTheCrossHair) {
    form.sampling.Check1.SetValue(1);
    pick.Check4.SetValue(1);
    EXPECT_TRUE(pick.picCrossHair.Enabled());
    EXPECT_EQ(pick.picCrossHair.BackColor(), kColourWhite);
    EXPECT_EQ(form.Focused(), &form.sampling.Check1);
    pick.Text2.SetText("4321");  // a pasted handle stays while Check4 is pressed
    fake.desktop.pointer = {150, 150};
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "4321");

    pick.Check4.SetValue(0);
    EXPECT_FALSE(pick.picCrossHair.Enabled());
    EXPECT_EQ(pick.picCrossHair.BackColor(), kColourReadOnlyGrey);
    Tick();
    EXPECT_EQ(pick.Text2.Text(), "501");
}

TEST_F(WindowToolsTest, CrossHairDragFollowsThePointerWithTheCrossHairAsPointer) {
    pick.Check4.SetValue(1);
    pick.picCrossHair_MouseDown(Button(kRightButton));  // only the left button starts a drag
    EXPECT_FALSE(pick.CrossHairDragging);

    pick.picCrossHair_MouseDown(Button(kLeftButton));
    EXPECT_TRUE(pick.CrossHairDragging);
    EXPECT_EQ(form.Pointer(), MousePointer::Custom);
    EXPECT_EQ(form.MouseIcon().image.Pixel(15, 15), kColourBlack);
    EXPECT_EQ(form.MouseIcon().hotX, 15);
    EXPECT_EQ(form.MouseIcon().hotY, 15);
    EXPECT_EQ(pick.picCrossHair.Picture().Width(), 0) << "the crosshair is lifted out of its box";

    fake.desktop.pointer = {150, 150};
    pick.picCrossHair_MouseMove(Button(kLeftButton));
    EXPECT_EQ(pick.Text2.Text(), "501");
    fake.desktop.pointer = {10, 10};
    pick.picCrossHair_MouseMove(Button(kLeftButton | kRightButton));  // a second button held: no update
    EXPECT_EQ(pick.Text2.Text(), "501");
    pick.picCrossHair_MouseMove(Button(kLeftButton));
    EXPECT_EQ(pick.Text2.Text(), "502");
    EXPECT_EQ(pick.Text1.Text(), "Desktop");

    pick.picCrossHair_MouseUp(Button(kRightButton));  // not the drag's button
    EXPECT_TRUE(pick.CrossHairDragging);
    pick.picCrossHair_MouseUp(Button(kLeftButton));
    EXPECT_FALSE(pick.CrossHairDragging);
    EXPECT_EQ(form.Pointer(), MousePointer::Default);
    EXPECT_EQ(pick.picCrossHair.Picture().Pixel(15, 1), kColourBlack);

    pick.picCrossHair_MouseMove(Button(kLeftButton));  // no drag runs: nothing is read
    fake.desktop.pointer = {150, 150};
    pick.picCrossHair_MouseMove(Button(kLeftButton));
    EXPECT_EQ(pick.Text2.Text(), "502");
}

TEST_F(WindowToolsTest, SearchListsMatchingHandlesExactlyAndWithoutQuotes) {
    WindowSearch& search = page.search;
    EXPECT_EQ(SearchWindowsByTitle(fake.desktop, "abc"), "") << "upper and lower case differ";
    EXPECT_EQ(SearchWindowsByTitle(fake.desktop, "ABC"), "[1]504\r\n") << "hidden windows count";

    search.Text4.SetText("\"\"");  // only quotes: matches every titled window
    search.Command8_Click();
    EXPECT_EQ(search.Text5.Text(), "[1]501\r\n[2]502\r\n[3]504\r\n");
    search.Text4.SetText("\"记事本\"");
    search.Command8_Click();
    EXPECT_EQ(search.Text5.Text(), "[1]501\r\n");
    EXPECT_EQ(search.Text4.Text(), "\"记事本\"");
    search.Text4.SetText("nothing like it");
    search.Command8_Click();
    EXPECT_EQ(search.Text5.Text(), "");
    search.Text5.SetText("kept");
    search.Text4.SetText("");
    search.Command8_Click();
    EXPECT_EQ(search.Text5.Text(), "kept");
}

TEST_F(WindowToolsTest, ListNumbersHaveThreeDigitsAndWrapAfter999) {
    fake.desktop.windows.clear();
    for (int i = 1; i <= 1002; ++i)
        fake.desktop.windows.push_back({i, {}, std::string("w").append(std::to_string(i)), "c"});
    fake.desktop.windows.insert(fake.desktop.windows.begin() + 5, {9999, {}, "", "untitled, not counted"});
    const std::vector<std::string> lines = EnumerateTitledWindows(fake.desktop);
    ASSERT_EQ(lines.size(), 1002u);
    EXPECT_EQ(lines[0], "[001]1=w1");
    EXPECT_EQ(lines[10], "[011]11=w11");
    EXPECT_EQ(lines[998], "[999]999=w999");
    EXPECT_EQ(lines[999], "[000]1000=w1000");
    EXPECT_EQ(lines[1000], "[001]1001=w1001");
}

TEST_F(WindowToolsTest, DoubleClickCopiesTheHandleOfTheSelectedLine) {
    WindowEnumeration& list = page.enumeration;
    fake.desktop.windows = {{4321, {}, "a=b]c", "x"}, {-17, {}, "[x]=y", "x"}, {77, {}, "Notepad", "x"}};
    list.Command9_Click();
    ASSERT_EQ(list.List1.Items(), (std::vector<std::string>{"[001]4321=a=b]c", "[002]-17=[x]=y", "[003]77=Notepad"}));

    fake.clipboard.text = "before";
    list.List1_DblClick();  // no line selected
    EXPECT_EQ(fake.clipboard.Text(), "before");
    for (const auto& [index, handle] : {std::pair{0, "4321"}, {1, "-17"}, {2, "77"}}) {
        list.List1.SetListIndex(index);
        list.List1_DblClick();
        EXPECT_EQ(fake.clipboard.Text(), handle);
    }

    list.Command9_Click();  // refilling starts over
    EXPECT_EQ(list.List1.ListCount(), 3);
    EXPECT_EQ(list.List1.ListIndex(), -1);
}

TEST_F(WindowToolsTest, CopyAllJoinsLinesOnlyFromTwoLinesOn) {
    WindowEnumeration& list = page.enumeration;
    fake.desktop.windows = {{1, {}, "one", "x"}};
    list.Command9_Click();
    fake.clipboard.text = "before";
    list.Command10_Click();
    EXPECT_EQ(fake.clipboard.Text(), "before");

    fake.desktop.windows.push_back({2, {}, "two", "x"});
    list.Command9_Click();
    list.Command10_Click();
    EXPECT_EQ(fake.clipboard.Text(), "[001]1=one\r\n[002]2=two");
    EXPECT_TRUE(list.Command10.Enabled());
}

TEST_F(WindowToolsTest, LongTitlesAreCutAtACharacterBoundary) {
    std::string title(253, 'a');
    title += "中文";  // bytes 253..258: 中 does not fit whole into 254
    fake.desktop.windows = {{8, {0, 0, 10, 10}, title, "c"}};
    fake.desktop.pointer = {1, 1};
    form.sampling.Check1.SetValue(1);
    Tick();
    EXPECT_EQ(pick.Text1.Text(), std::string(253, 'a'));
}
