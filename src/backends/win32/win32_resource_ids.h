// SPDX-License-Identifier: MIT
// Resource ids of pelmora.exe, shared by its resource script (packaging/windows/pelmora.rc.in)
// and the view, which gives the main window the program's icon.
#pragma once

#define PELMORA_ICON_ID 1      // the program's icon, in every size
#define PELMORA_MANIFEST_ID 1  // the manifest, which Windows looks for at id 1
