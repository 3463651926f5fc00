// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"

using namespace pelmora;

namespace {

struct ClipboardTemplatesTest : FormOnFakeDesktop, ::testing::Test {
    FakeClipboard& clipboard = fake.clipboard;
    ColourReadout& custom = form.customPanel.fields;
    CrossHairPick& pick = form.windowHandlePage.pick;

    void Click(int index) { form.Command11[static_cast<std::size_t>(index)].RaiseClick(); }
    std::string Copied(int index) {
        clipboard.text = "old";
        const int clearsBefore = clipboard.clears;
        Click(index);
        EXPECT_EQ(clipboard.clears, clearsBefore + 1) << "a copy empties the clipboard first";
        return clipboard.Text().value_or("(unreadable)");
    }
    void PastePoint(int index, std::optional<std::string> text) {
        clipboard.text = std::move(text);
        Click(index);
    }
};

}  // namespace

TEST_F(ClipboardTemplatesTest, ButtonsHaveTheirLetterTipAndSize) {
    const char* captions = "CVCCVCCVFCVE";
    for (int i = 0; i < 12; ++i) {
        const CommandButton& button = form.Command11[static_cast<std::size_t>(i)];
        EXPECT_EQ(button.Caption(), std::string(1, captions[i])) << i;
        EXPECT_EQ(button.Geometry().width, 15) << i;
        EXPECT_EQ(button.Geometry().height, 15) << i;
        EXPECT_EQ(button.ObjectName(), "Command11(" + std::to_string(i) + ")");
    }
    EXPECT_EQ(form.Command11[0].ToolTip(), "复制坐标[x,y]以备粘贴使用！");
    EXPECT_EQ(form.Command11[1].ToolTip(), "粘贴来自剪切板坐标[x,y]内容！");
    EXPECT_EQ(form.Command11[2].ToolTip(), "复制颜色分量[r,g,b]以备粘贴使用！");
    EXPECT_EQ(form.Command11[3].ToolTip(), "复制颜色分量[h,s,l]以备粘贴使用！");
    EXPECT_EQ(form.Command11[4].ToolTip(), "粘贴来自剪切板坐标[x,y]内容！");
    EXPECT_EQ(form.Command11[5].ToolTip(), "复制16进制[\"颜色\"]以备粘贴使用！");
    EXPECT_EQ(form.Command11[6].ToolTip(), "复制16进制[\"颜色\"]以备粘贴使用！");
    EXPECT_EQ(form.Command11[7].ToolTip(), "粘贴来自剪切板句柄[hwnd]内容！");
    EXPECT_EQ(form.Command11[8].ToolTip(), "根据句柄查找标题和类名！");
    EXPECT_EQ(form.Command11[9].ToolTip(), "复制窗口标题[\"title\"]以备粘贴使用！");
    EXPECT_EQ(form.Command11[10].ToolTip(), "粘贴来自剪切板标题[\"title\"]内容！");
    EXPECT_EQ(form.Command11[11].ToolTip(), "清除起点[Qx,Qy]坐标！");
}

TEST_F(ClipboardTemplatesTest, CopiesJoinTheFieldsAsTheyStand) {
    EXPECT_EQ(Copied(0), ",");
    EXPECT_EQ(Copied(2), ",,");
    EXPECT_EQ(Copied(5), "\"\"");

    form.readoutPanel.x.SetText("120");
    form.readoutPanel.y.SetText("45");
    form.readoutPanel.hex.SetText("0000FF");
    EXPECT_EQ(Copied(0), "120,45");
    EXPECT_EQ(Copied(5), "\"0000FF\"");

    form.lookupPage.查10.SetText("FF0000");
    form.lookupPage.Command1_Click();
    EXPECT_EQ(Copied(2), "0,0,255");
    EXPECT_EQ(Copied(3), "160,240,120");

    custom.hex.SetText(" a b ");  // no trimming, no check
    EXPECT_EQ(Copied(6), "\" a b \"");
    pick.Text1.SetText("记事本 - \"x\"");
    EXPECT_EQ(Copied(9), "\"记事本 - \"x\"\"");
}

TEST_F(ClipboardTemplatesTest, PointPasteNeedsExactlyTwoPiecesAndTrimsOnlySpaces) {
    PastePoint(1, "12, 34");
    EXPECT_EQ(custom.x.Text(), "12");
    EXPECT_EQ(custom.y.Text(), "34");

    for (const char* unchanged : {"12,34,56", "1234", ""}) {
        PastePoint(1, unchanged);
        EXPECT_EQ(custom.x.Text(), "12") << unchanged;
        EXPECT_EQ(custom.y.Text(), "34") << unchanged;
    }
    PastePoint(1, std::nullopt);  // no text on the clipboard at all
    EXPECT_EQ(custom.x.Text(), "12");

    PastePoint(1, "a,b");
    EXPECT_EQ(custom.x.Text(), "a");
    EXPECT_EQ(custom.y.Text(), "b");
    PastePoint(1, " ,");
    EXPECT_EQ(custom.x.Text(), "");
    EXPECT_EQ(custom.y.Text(), "");
    PastePoint(1, "\t7 ,  8\r\n");  // tabs and line breaks are not spaces
    EXPECT_EQ(custom.x.Text(), "\t7");
    EXPECT_EQ(custom.y.Text(), "8\r\n");

    PastePoint(4, " 100 ,200 ");
    EXPECT_EQ(form.adjustment.起x.Text(), "100");
    EXPECT_EQ(form.adjustment.起y.Text(), "200");
}

TEST_F(ClipboardTemplatesTest, HandlePasteTakesTheLeadingNumber) {
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {"[4321]", "0"}, {"4321abc", "4321"}, {"12.5", "12.5"}, {" -0", "0"},
        {"", "0"},       {std::nullopt, "0"}, {"1e3", "1000"},  {"-77", "-77"},
    };
    for (const auto& [clipboardText, handle] : cases) {
        pick.Text2.SetText("x");
        clipboard.text = clipboardText;
        Click(7);
        EXPECT_EQ(pick.Text2.Text(), handle) << clipboardText.value_or("<none>");
    }
    pick.Text2.SetText("5");
    clipboard.text = "1e999";  // too large for any number: the action ends
    Click(7);
    EXPECT_EQ(pick.Text2.Text(), "5");
}

TEST_F(ClipboardTemplatesTest, FindReadsTitleAndClassOfTheTypedHandle) {
    fake.desktop.windows = {{4321, {0, 0, 10, 10}, "记事本", "Notepad"}};
    pick.Text2.SetText("4321.4");
    Click(8);
    EXPECT_EQ(pick.Text1.Text(), "记事本");
    EXPECT_EQ(pick.Text3.Text(), "Notepad");

    pick.Text2.SetText("0");  // names no window
    Click(8);
    EXPECT_EQ(pick.Text1.Text(), "");
    EXPECT_EQ(pick.Text3.Text(), "");

    pick.Text1.SetText("kept");
    for (const char* outOfRange : {"9e99", "2147483648", "-2147483649"}) {
        pick.Text2.SetText(outOfRange);
        Click(8);
        EXPECT_EQ(pick.Text1.Text(), "kept") << outOfRange;
    }
}

TEST_F(ClipboardTemplatesTest, TitlePasteIsVerbatimAndEraseAlwaysGivesZero) {
    clipboard.text = "\"记事本\"";
    Click(10);
    EXPECT_EQ(form.windowHandlePage.search.Text4.Text(), "\"记事本\"");
    clipboard.text.reset();
    Click(10);
    EXPECT_EQ(form.windowHandlePage.search.Text4.Text(), "");

    form.adjustment.起x.SetText("abc");
    form.adjustment.起y.SetText("");
    Click(11);
    EXPECT_EQ(form.adjustment.起x.Text(), "0");
    EXPECT_EQ(form.adjustment.起y.Text(), "0");

    form.clipboardTemplates.Command11_Click(12);  // no such button
    form.clipboardTemplates.Command11_Click(-1);
    EXPECT_EQ(form.adjustment.起x.Text(), "0");
}

TEST_F(ClipboardTemplatesTest, CopyingTheStartPointThenPastingItMakesReportsRelative) {
    fake.desktop.pointer = {150, 150};
    form.sampling.Check1.SetValue(1);
    form.sampling.Timer1.Fire();
    Click(0);
    Click(4);
    form.adjustment.Check3.SetValue(1);
    fake.desktop.pointer = {160, 140};
    form.sampling.Timer1.Fire();
    EXPECT_EQ(form.readoutPanel.x.Text(), "10");
    EXPECT_EQ(form.readoutPanel.y.Text(), "-10");
}

TEST_F(ClipboardTemplatesTest, HugeClipboardTextsReturnQuickly) {
    std::string huge(std::size_t{100} * 1024 * 1024, 'a');
    huge[10] = ',';
    huge[20] = ',';  // two commas: no point
    clipboard.text = huge;
    Click(1);
    EXPECT_EQ(custom.x.Text(), "");
    Click(7);
    EXPECT_EQ(pick.Text2.Text(), "0");
}

// Another program holding the clipboard, or an owner that never answers, is not an empty
// clipboard: every paste then leaves its fields as they were.
TEST_F(ClipboardTemplatesTest, PastesFromAClipboardThatCannotBeReadLeaveEveryField) {
    custom.x.SetText("1");
    custom.y.SetText("2");
    form.adjustment.起x.SetText("3");
    form.adjustment.起y.SetText("4");
    pick.Text2.SetText("5678");
    form.windowHandlePage.search.Text4.SetText("typed search");
    clipboard.text = "12,34";
    clipboard.unreadable = true;
    for (int index : {1, 4, 7, 10}) Click(index);
    EXPECT_EQ(custom.x.Text(), "1");
    EXPECT_EQ(custom.y.Text(), "2");
    EXPECT_EQ(form.adjustment.起x.Text(), "3");
    EXPECT_EQ(form.adjustment.起y.Text(), "4");
    EXPECT_EQ(pick.Text2.Text(), "5678");
    EXPECT_EQ(form.windowHandlePage.search.Text4.Text(), "typed search");

    // Readable but empty, the handle and title pastes do write.
    clipboard.unreadable = false;
    clipboard.text.reset();
    Click(7);
    Click(10);
    EXPECT_EQ(pick.Text2.Text(), "0");
    EXPECT_EQ(form.windowHandlePage.search.Text4.Text(), "");
}
