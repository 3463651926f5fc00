// SPDX-License-Identifier: MIT
#include "records/clipboard_templates.h"

#include "base/number_text.h"
#include "base/rounding.h"
#include "records/clipboard_paste.h"
#include "windows/window_reading.h"

namespace pelmora {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
}  // namespace

void ClipboardTemplates::Command11_Click(int index) {
    const ColourReadout& got = fields_.readoutPanel;
    const ColourLookupPage& lookup = fields_.lookup;
    switch (index) {
        case 0: Copy(got.x.Text() + "," + got.y.Text()); break;
        case 1: PastePoint(fields_.customPanel.x, fields_.customPanel.y); break;
        case 2: Copy(lookup.查10r.Text() + "," + lookup.查10g.Text() + "," + lookup.查10b.Text()); break;
        case 3: Copy(lookup.查10h.Text() + "," + lookup.查10s.Text() + "," + lookup.查10l.Text()); break;
        case 4: PastePoint(fields_.startPoint.起x, fields_.startPoint.起y); break;
        case 5: Copy(Quoted(got.hex.Text())); break;
        case 6: Copy(Quoted(fields_.customPanel.hex.Text())); break;
        case 7: PasteHandle(); break;
        case 8: FindWindowTexts(); break;
        case 9: Copy(Quoted(fields_.pick.Text1.Text())); break;
        case 10: PasteTitle(); break;
        case 11:
            fields_.startPoint.起x.SetText("0");
            fields_.startPoint.起y.SetText("0");
            break;
        default: break;
    }
}

void ClipboardTemplates::Copy(const std::string& text) {
    clipboard_.Clear();
    clipboard_.SetText(text);
}

// A clipboard that cannot be read ends each paste with every field as it was.
void ClipboardTemplates::PastePoint(TextBox& x, TextBox& y) {
    const std::optional<std::string> text = clipboard_.Text();
    if (!text) return;
    const std::optional<PointTexts> point = PointFromPastedText(*text);
    if (!point) return;
    x.SetText(point->x);
    y.SetText(point->y);
}

void ClipboardTemplates::PasteHandle() {
    const std::optional<std::string> text = clipboard_.Text();
    if (!text) return;
    // A number too large for any type changes nothing.
    if (const std::optional<std::string> handle = HandleFromPastedText(*text)) fields_.pick.Text2.SetText(*handle);
}

void ClipboardTemplates::PasteTitle() {
    // Quote characters included: the search removes them.
    if (const std::optional<std::string> text = clipboard_.Text()) fields_.search.Text4.SetText(*text);
}

void ClipboardTemplates::FindWindowTexts() {
    const std::optional<std::int32_t> handle = ToInt32(ParseLeadingNumber(fields_.pick.Text2.Text()));
    if (!handle) return;
    const WindowTexts texts = ReadWindowText(desktop_, *handle);
    fields_.pick.Text1.SetText(texts.title);
    fields_.pick.Text3.SetText(texts.className);
}

}  // namespace pelmora
