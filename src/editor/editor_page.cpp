// SPDX-License-Identifier: MIT
#include "editor/editor_page.h"

namespace pelmora {

void EditorPage::Place(ControlHost& host, Frame& page) {
    // The tool column first: it comes first in the tab order.
    tools.Place(host, page);
    canvas.Place(host, page);
    selection.Place(host, canvas.显示图像);
    handles.Wire();
    colours.Place(host, page);
    files.Place(host, page);
    history.Place(host, page);
}

void EditorPage::Reset() {
    canvas.Reset();
    selection.Reset();
    tools.确认.SetVisible(false);
}

}  // namespace pelmora
