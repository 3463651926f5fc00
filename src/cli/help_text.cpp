// SPDX-License-Identifier: MIT
#include "cli/help_text.h"

#include "cli/command_registry.h"

namespace pelmora {

namespace {
constexpr const char* kHelpStart =
    "Usage: pelmora-cli [--json] COMMAND [ARGUMENTS]\n"
    "\n"
    "Coordinates are physical screen pixels; colours are written as Pelmora writes them.\n"
    "\n";

constexpr const char* kHelpEnd =
    "\n"
    "COLOUR is six hexadecimal digits in blue-green-red order (0000FF is red) or #RRGGBB.\n"
    "--tolerance N (0-255): red, green and blue may each differ by at most N.\n"
    "--region is clipped to the rectangle that holds every monitor, which it is when not\n"
    "given. On X11 the screen starts at 0,0 and coordinates are never negative; on\n"
    "Windows a monitor left of or above the primary one has negative coordinates.\n"
    "\n"
    "--window HANDLE: every coordinate taken or printed is relative to the window's\n"
    "top-left corner, with the frame the window manager draws; --client: to its client\n"
    "area instead; --title TEXT: the first window whose title holds TEXT, as windows\n"
    "--search lists them. A --region or --rect not given is then the window's rectangle.\n"
    "The window is followed at every look of a wait. Taken by pointer, pixel, window-at,\n"
    "slots, snapshot, the finds and the waits but wait-cursor.\n"
    "\n"
    "Titles in plain lines show control characters as \\n, \\t, \\e, \\xHH and a backslash\n"
    "as \\\\, so that one window is one line.\n"
    "\n"
    "  --json      one JSON object instead of lines\n"
    "  --help      this text\n"
    "  --version   the version number\n"
    "  --          the end of the options: what follows is operands, even if it starts with -\n";

constexpr const char* kHelpStatus =
    "\n"
    "Exit status: 0 done or found; 1 not found, timed out, off the screen, or no such window\n"
    "or one not shown;\n"
    "2 a bad command line or a picture FILE that cannot be read; 3 no display, or the\n"
    "platform refused (the screen could not be grabbed, FILE or the output could not be\n"
    "written), or the desktop tells no program what was asked (on Wayland: the pointer,\n"
    "the windows, the cursor).\n";

// The column where a command's help lines start: beside its usage line when that ends at
// least two spaces before it, below it otherwise.
constexpr std::size_t kHelpColumn = 32;

std::string CommandLines(const CliCommand& command) {
    std::string usage = "  " + std::string(command.name);
    if (!command.usage.empty()) usage += " " + std::string(command.usage);
    std::string lines;
    std::size_t next = 0;
    if (!command.help.empty() && usage.size() + 2 <= kHelpColumn) {
        lines = usage + std::string(kHelpColumn - usage.size(), ' ') + std::string(command.help[0]) + "\n";
        next = 1;
    } else {
        lines = usage + "\n";
    }
    for (; next < command.help.size(); ++next)
        lines += std::string(kHelpColumn, ' ') + std::string(command.help[next]) + "\n";
    return lines;
}
}  // namespace

std::string CliHelpText(const std::string& backendNames, const std::string& backendInUse) {
    std::string text = kHelpStart;
    for (const CliCommand* command : CliCommands()) text += CommandLines(*command);
    text += kHelpEnd;
    if (!backendNames.empty())
        text += "  --backend B " + backendNames +
                ": how the screen is read. wayland, the default in a\n"
                "              Wayland session, takes the desktop portal's screenshots and tells\n"
                "              no pointer, windows or cursor.\n"
                "              In use: " +
                backendInUse + "\n";
    return text + kHelpStatus;
}

}  // namespace pelmora
