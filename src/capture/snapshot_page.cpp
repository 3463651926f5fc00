#include "capture/snapshot_page.h"

namespace pelmora {

void SnapshotPage::Place(ControlHost& host, Frame& page) {
    路径标签.Place(host, &page, "路径标签", -1, {8, 20, 60, 14});
    路径标签.SetCaption("保存路径：");
    路径文本框.Place(host, &page, "路径文本框", -1, {68, 18, 228, 18});
    路径文本框.SetLabelledBy(路径标签);
    Check7.Place(host, &page, "Check7", -1, {8, 48, 120, 17});
    Check7.SetCaption("包括光标图像");
}

}  // namespace pelmora
