// SPDX-License-Identifier: MIT
// Where everything sits on Form1: the always-visible regions and the six pages with
// their selector row. Geometry is in pixels of the client area (445 x 313), children
// relative to their container.
#include "app/form1.h"

namespace pelmora {

namespace {
const char* const kPageSelectorCaptions[6] = {"转颜色", "抓鼠标", "找句柄", "截图像", "处理图", "支持"};
const char* const kPageCaptions[6] = {"查颜色代码的颜色", "抓鼠标形状特征", "抓窗口句柄", "截图像保存", "处理图片", ""};
}  // namespace

void Form1::PlaceRegions() {
    // Check1 comes first: it is first in the tab order.
    sampling.Place(*this);

    Frame3.Place(*this, nullptr, "Frame3", -1, {16, 8, 169, 186});
    Frame3.SetCaption("屏幕坐标／颜色");
    pointSlots.Place(*this, Frame3);

    Picture2.Place(*this, nullptr, "Picture2", -1, {192, 8, 129, 193});
    Picture2.SetBorder(false);
    const char* const panelSelectorCaptions[2] = {"抓坐标／颜色", "查颜色"};
    const char* const panelCaptions[2] = {"得到屏幕坐标／颜色", "自定义屏幕坐标"};
    for (int i = 0; i < 2; ++i) {
        Option3[i].Place(*this, &Picture2, "Option3", i, i == 0 ? Rect{2, 0, 78, 20} : Rect{80, 0, 47, 20});
        Option3[i].SetCaption(panelSelectorCaptions[i]);
        Option3[i].SetGraphical(true);
        颜色坐标[i].Place(*this, &Picture2, "颜色坐标", i, {2, 20, 125, 171});
        颜色坐标[i].SetCaption(panelCaptions[i]);
    }
    Option3[0].Select();
    for (int i = 0; i < 2; ++i) Option3[i].onClick = [this, i] { Option3_Click(i); };
    颜色坐标[1].SetVisible(false);
    readoutPanel.Place(*this, 颜色坐标[0], "得", ColourReadout::Kind::ReadOut);
    customPanel.Place(*this, 颜色坐标[1]);

    Frame1[4].Place(*this, nullptr, "Frame1", 4, {328, 8, 105, 113});
    Frame1[4].SetCaption("点阵放大显示器");
    magnifier.Place(*this, Frame1[4]);
    Frame1[2].Place(*this, nullptr, "Frame1", 2, {328, 160, 105, 49});
    Frame1[0].Place(*this, nullptr, "Frame1", 0, {328, 216, 105, 57});
    adjustment.Place(*this, Frame1[2], Frame1[0]);

    Label5.Place(*this, nullptr, "Label5", 6, {304, 275, 129, 17});
    Label5.SetCaption("[Alt＋～]启动／停止");
    Label6.Place(*this, nullptr, "Label6", -1, {16, 296, 174, 12});
    Label6.SetCaption("Pelmora 屏幕取点取色工具");
    Label7.Place(*this, nullptr, "Label7", -1, {272, 296, 156, 12});
    Label7.SetCaption(kSupportAddress);
    Label7.SetAlignment(Alignment::Centre);
    Label7.SetToolTip("[双击]发送邮件！");
    Label7.onDblClick = [this] { Label7_DblClick(); };
}

void Form1::PlaceClipboardButtons() {
    // Each button beside the fields it reads or fills, in its panel's frame.
    struct Place {
        Control& container;
        int left, top;
    };
    const Place places[12] = {
        {颜色坐标[0], 106, 16},                   // 得x, 得y
        {颜色坐标[1], 106, 16},                   // 自x, 自y
        {Frame2[0], 114, 54},                     // 查10r..查10b
        {Frame2[0], 244, 54},                     // 查10h..查10l
        {Frame1[0], 80, 19},                      // 起x, 起y
        {颜色坐标[0], 106, 88},                   // 得16
        {颜色坐标[1], 106, 88},                   // 自16
        {windowHandlePage.句柄选页[0], 152, 6},   // Text2
        {windowHandlePage.句柄选页[0], 168, 6},   // Text2
        {windowHandlePage.句柄选页[0], 168, 23},  // Text1
        {windowHandlePage.句柄选页[1], 164, 6},   // Text4
        {Frame1[0], 80, 37},                      // 起x, 起y
    };
    for (int i = 0; i < 12; ++i) {
        CommandButton& button = Command11[i];
        button.Place(*this, &places[i].container, "Command11", i, {places[i].left, places[i].top, 15, 15});
        button.SetCaption(kClipboardButtons[i].caption);
        button.SetToolTip(kClipboardButtons[i].toolTip);
        button.onClick = [this, i] { clipboardTemplates.Command11_Click(i); };
    }
}

void Form1::PlacePages() {
    for (int i = 0; i < 6; ++i) {
        const Rect area = i == 4 ? Rect{16, 8, 417, 265} : Rect{16, 200, 305, 73};
        Frame2[i].Place(*this, nullptr, "Frame2", i, area);
        Frame2[i].SetCaption(kPageCaptions[i]);
        Frame2[i].SetVisible(i == 0);
    }
    lookupPage.Place(*this, Frame2[0]);
    cursorPage.Place(*this, Frame2[1]);
    windowHandlePage.Place(*this, Frame2[2]);
    snapshotPage.Place(*this, Frame2[3]);
    editor.Place(*this, Frame2[4]);
    支持文字[0].Place(*this, &Frame2[5], "支持文字", 0, {12, 18, 280, 16});
    支持文字[0].SetCaption("Pelmora：为脚本作者读取屏幕坐标、颜色和窗口。");
    支持文字[1].Place(*this, &Frame2[5], "支持文字", 1, {12, 42, 280, 16});
    支持文字[1].SetCaption(std::string("问题和建议请发邮件至 ") + kSupportAddress);

    for (int i = 0; i < 6; ++i) {
        Option2[i].Place(*this, nullptr, "Option2", i, {16 + i * 48, 272, i == 5 ? 41 : 49, 20});
        Option2[i].SetCaption(kPageSelectorCaptions[i]);
        Option2[i].SetGraphical(true);
    }
    Option2[0].Select();
    for (int i = 0; i < 6; ++i) Option2[i].onClick = [this, i] { Option2_Click(i); };
}

}  // namespace pelmora
