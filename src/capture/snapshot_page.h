// The snapshot page, Frame2(3): the folder snapshots are saved in and whether they
// include the cursor. Both are kept in the settings file.
#pragma once

#include "platform/controls.h"

namespace pelmora {

class SnapshotPage {
public:
    void Place(ControlHost& host, Frame& page);

    Label 路径标签;
    TextBox 路径文本框;  // the snapshot folder
    CheckBox Check7;     // 包括光标图像
};

}  // namespace pelmora
