// The twelve clipboard buttons Command11(0..11): tiny "C" (copy), "V" (paste), "E"
// (erase) and "F" (find) buttons beside the fields they read or fill, moving values
// between the program and a script through the clipboard's plain text.
#pragma once

#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "records/colour_lookup_page.h"
#include "records/custom_colour_panel.h"
#include "records/grab_adjustment.h"
#include "sampling/colour_readout.h"
#include "windows/crosshair_pick.h"
#include "windows/window_list.h"

namespace pelmora {

// The fields the buttons work on, each owned by its panel.
struct TemplateFields {
    const ColourReadout& getPanel;
    ColourReadout& customPanel;
    const ColourLookupPage& lookup;
    GrabAdjustment& startPoint;
    CrossHairPick& pick;
    WindowSearch& search;
};

class ClipboardTemplates {
public:
    ClipboardTemplates(Desktop& desktop, Clipboard& clipboard, TemplateFields fields)
        : desktop_(desktop), clipboard_(clipboard), fields_(fields) {}

    // What button index does; an index outside 0..11 does nothing.
    void Command11_Click(int index);

private:
    void Copy(const std::string& text);
    // The two pieces of the clipboard text around its only comma, without the spaces at
    // their ends, into x then y; any other number of commas changes nothing.
    void PastePoint(TextBox& x, TextBox& y);
    void PasteHandle();
    void FindWindowTexts();

    Desktop& desktop_;
    Clipboard& clipboard_;
    TemplateFields fields_;
};

}  // namespace pelmora
