// SPDX-License-Identifier: MIT
// Prints pelmora-cli's command tables as the manual page (--man) or the README (--readme)
// holds them; scripts/cli-tables puts them in place and checks that they are current.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/manual_tables.h"

int main(int argc, char* argv[]) {
    const std::string_view which = argc == 2 ? argv[1] : "";
    std::string text;
    if (which == "--man") {
        text = pelmora::ManualCommandsRoff();
    } else if (which == "--readme") {
        text = pelmora::ReadmeCommandsMarkdown();
    } else {
        std::fputs("usage: cli_tables --man | --readme\n", stderr);
        return 2;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
