// SPDX-License-Identifier: MIT
// windows: the window page's list of titled windows, or its title search.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"
#include "windows/window_list.h"

namespace pelmora {

namespace {
// The lines of a text whose lines each end with CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

CliResult Run(const CliRequest& request, CliServices& services) {
    Desktop& desktop = services.desktop;
    std::vector<std::string> lines =
        request.search ? CrLfLines(SearchWindowsByTitle(desktop, *request.search)) : EnumerateTitledWindows(desktop);
    if (request.search && lines.empty())
        return Refusal(kCliNotFound, "no window title holds " + QuotedInMessage(*request.search));
    return Answered(AnswerText({{"lines", CliTexts{std::move(lines)}, CliShown::kEscaped}}, request.json));
}
}  // namespace

extern const CliCommand kWindowsCommand;
const CliCommand kWindowsCommand{
    "windows",
    "[--search TEXT]",
    {"every titled window as [001]handle=title, or those", "whose title holds TEXT as [n]handle"},
    "Every top-level window with a title, from the top, as the window page lists them: `[001]handle=title` "
    "lines; with `--search` those whose title holds TEXT, as its search gives them: `[n]handle` lines.",
    {"--search"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("windows", operands); },
    Run,
};

}  // namespace pelmora
