// SPDX-License-Identifier: MIT
// The services a window needs from the outside world, handed to it at construction.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/hotkey_service.h"
#include "platform/message_pump.h"
#include "platform/shell.h"
#include "platform/text_encoding.h"

namespace pelmora {

// References only: the services outlive every window built on them.
struct Platform {
    Desktop& desktop;
    Shell& shell;
    FileSystem& files;
    HotkeyService& hotkeys;
    Clock& clock;
    MessagePump& pump;
    const TextEncoding& encoding;
    Clipboard& clipboard;
    Dialogs& dialogs;
};

}  // namespace pelmora
