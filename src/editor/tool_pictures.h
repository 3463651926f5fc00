// The pictures of the editor's tool buttons and the pointers of its tools, drawn here as
// small pixel patterns.
#pragma once

#include "platform/controls.h"

namespace pelmora {

// The tool pointers 鼠标(0..3): 0 pencil, 1 colour select, 2 fill, 3 rectangle drawing.
PointerImage ToolPointer(int index);

// The picture on tool button 控制(index): 0 cut (a dotted frame), 1 pencil, 2 fill,
// 3 colour select.
Surface ToolButtonPicture(int index);

}  // namespace pelmora
