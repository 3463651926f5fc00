// SPDX-License-Identifier: MIT
// The pictures of the editor's buttons and the pointers of its tools, drawn here as small
// pixel patterns.
#pragma once

#include "platform/controls.h"

namespace pelmora {

// The tool pointers 鼠标(0..3): 0 pencil, 1 colour select, 2 fill, 3 rectangle drawing.
PointerImage ToolPointer(int index);

// The picture on tool button 控制(index): 0 cut (a dotted frame), 1 pencil, 2 fill,
// 3 colour select.
Surface ToolButtonPicture(int index);

// The picture on file button 菜单按钮(index): 0 open (a folder), 1 save (a disk), 2 take the
// screen (a monitor), 3 paste (a clipboard).
Surface FileButtonPicture(int index);

// The picture on history button 记录按钮(index): 0 back (an arrow to the left), 1 forward.
Surface HistoryButtonPicture(int index);

}  // namespace pelmora
