// SPDX-License-Identifier: MIT
#include "programs/cli_arguments.h"

#include <array>
#include <utility>

#include "app/version.h"
#include "base/number_text.h"
#include "capture/screen_grab.h"
#include "programs/shown_text.h"

namespace pelmora {

namespace {
constexpr const char* kHelp =
    "Usage: pelmora-cli [--json] COMMAND [ARGUMENTS]\n"
    "\n"
    "Coordinates are physical screen pixels; colours are written as Pelmora writes them.\n"
    "\n"
    "  pointer                       the pointer's position: x,y\n"
    "  pixel [X Y] [--format F]      the colour at X Y (at the pointer without them);\n"
    "                                F: hex (0000FF, blue-green-red, the default), dec,\n"
    "                                rgb (r,g,b), hsl (h,s,l on 0..240) or all\n"
    "  window-at [X Y]               the handle of the window at X Y, in decimal\n"
    "  window HANDLE                 the window's title and class, one per line\n"
    "  windows [--search TEXT]       every titled window as [001]handle=title, or those\n"
    "                                whose title holds TEXT as [n]handle\n"
    "  cursor-code [--method 0|1|2]  the current cursor's feature code\n"
    "  find-colour COLOUR [--region L,T,W,H] [--tolerance N] [--all]\n"
    "                                x,y of the first pixel of COLOUR, rows from the top,\n"
    "                                each from the left; every one with --all\n"
    "  find-image FILE.bmp [--region L,T,W,H] [--tolerance N] [--transparent COLOUR] [--all]\n"
    "                                x,y of the top-left corner of the first place the\n"
    "                                picture lies; --transparent pixels match anything\n"
    "  snapshot [--rect L,T,W,H] [--cursor] FILE\n"
    "                                the rectangle (the primary screen without --rect) as\n"
    "                                a 24-bit bitmap, off-screen parts black, with the\n"
    "                                cursor drawn in with --cursor; written whole or not\n"
    "                                at all; prints FILE. FILE - writes the bitmap to\n"
    "                                standard output instead, and nothing else\n"
    "  wait-colour X Y COLOUR [--tolerance N]\n"
    "  wait-image FILE.bmp [--region L,T,W,H] [--tolerance N] [--transparent COLOUR]\n"
    "  wait-cursor CODE [--method 0|1|2]\n"
    "                                look every --interval MS (50) until the colour, the\n"
    "                                picture or the cursor's feature code is there, and\n"
    "                                print it as pixel, find-image or cursor-code does;\n"
    "                                exit 1 after --timeout MS (10000)\n"
    "\n"
    "COLOUR is six hexadecimal digits in blue-green-red order (0000FF is red) or #RRGGBB.\n"
    "--tolerance N (0-255): red, green and blue may each differ by at most N.\n"
    "--region is clipped to the rectangle that holds every monitor, which it is when not\n"
    "given. On X11 the screen starts at 0,0 and coordinates are never negative; on\n"
    "Windows a monitor left of or above the primary one has negative coordinates.\n"
    "\n"
    "Titles in plain lines show control characters as \\n, \\t, \\e, \\xHH and a backslash\n"
    "as \\\\, so that one window is one line.\n"
    "\n"
    "  --json      one JSON object instead of lines\n"
    "  --help      this text\n"
    "  --version   the version number\n"
    "  --          the end of the options: what follows is operands, even if it starts with -\n"
    "\n"
    "Exit status: 0 done or found; 1 not found, timed out, off the screen or no such window;\n"
    "2 a bad command line or a picture FILE that cannot be read; 3 no display, or the\n"
    "platform refused (the screen could not be grabbed, FILE or the output could not be\n"
    "written).\n";

struct CommandName {
    const char* name;
    CliCommand command;
};
constexpr std::array<CommandName, 12> kCommands{{
    {"pointer", CliCommand::Pointer},
    {"pixel", CliCommand::Pixel},
    {"window-at", CliCommand::WindowAt},
    {"window", CliCommand::Window},
    {"windows", CliCommand::Windows},
    {"cursor-code", CliCommand::CursorCode},
    {"find-colour", CliCommand::FindColour},
    {"find-image", CliCommand::FindImage},
    {"snapshot", CliCommand::Snapshot},
    {"wait-colour", CliCommand::WaitColour},
    {"wait-image", CliCommand::WaitImage},
    {"wait-cursor", CliCommand::WaitCursor},
}};
constexpr const char* kCommandList =
    "pointer, pixel, window-at, window, windows, cursor-code, find-colour, find-image, snapshot, wait-colour, "
    "wait-image or wait-cursor";

CliResult Bad(const std::string& message) { return {kCliBadArguments, "", "pelmora-cli: " + message + "\n"}; }

std::string Quoted(std::string_view text) { return QuotedInMessage(text); }

// A whole number within [low, high]: the strict reader, with no fraction part.
std::optional<std::int32_t> WholeNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    const std::optional<std::int32_t> value = ParseStrictInteger(text);
    if (!value || ParseStrictNumber(text) != static_cast<double>(*value)) return std::nullopt;
    if (*value < low || *value > high) return std::nullopt;
    return value;
}

// A feature code: decimal digits for a number from 0 to 2147483647, the codes there are.
std::optional<std::uint32_t> FeatureCode(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

constexpr std::int64_t kInt32Low = INT32_MIN;
constexpr std::int64_t kInt32High = INT32_MAX;

// Reads the operands X and Y at operands[at] and operands[at + 1] into point; the complaint
// when one is no whole number.
std::optional<CliResult> ReadPoint(const std::vector<std::string>& operands, std::size_t at,
                                   std::optional<ScreenPoint>& point) {
    const auto x = WholeNumber(operands[at], kInt32Low, kInt32High);
    if (!x) return Bad("X: wants a whole number of screen pixels, got " + Quoted(operands[at]));
    const auto y = WholeNumber(operands[at + 1], kInt32Low, kInt32High);
    if (!y) return Bad("Y: wants a whole number of screen pixels, got " + Quoted(operands[at + 1]));
    point = ScreenPoint{*x, *y};
    return std::nullopt;
}

// Reads the operand COLOUR into colour; the complaint when it is none.
std::optional<CliResult> ReadColour(const std::string& text, Colour& colour) {
    const auto value = ParseColourArgument(text);
    if (!value) return Bad("COLOUR: wants six hexadecimal digits (BGR) or #RRGGBB, got " + Quoted(text));
    colour = *value;
    return std::nullopt;
}

constexpr unsigned Bit(CliCommand command) { return 1u << static_cast<unsigned>(command); }
constexpr unsigned kWaits = Bit(CliCommand::WaitColour) | Bit(CliCommand::WaitImage) | Bit(CliCommand::WaitCursor);
constexpr unsigned kSearches = Bit(CliCommand::FindColour) | Bit(CliCommand::FindImage);
constexpr unsigned kImages = Bit(CliCommand::FindImage) | Bit(CliCommand::WaitImage);

// An option, the commands it belongs to (one bit each), whether it takes a value, and its
// value where it was given (empty for a flag).
struct Option {
    const char* name;
    unsigned commands;
    bool takesValue;
    std::optional<std::string> value;
};
enum OptionIndex {
    kFormat,
    kSearch,
    kMethod,
    kRegion,
    kTolerance,
    kTransparent,
    kAll,
    kRect,
    kCursor,
    kTimeout,
    kInterval,
    kOptionCount
};
using Options = std::array<Option, kOptionCount>;

std::variant<CliRequest, CliResult> Finish(const std::vector<std::string>& operands, const Options& options,
                                           bool json) {
    if (operands.empty()) return Bad(std::string("wants a command: ") + kCommandList);
    CliRequest request;
    request.json = json;
    const std::string& name = operands.front();
    const CommandName* found = nullptr;
    for (const CommandName& command : kCommands)
        if (name == command.name) found = &command;
    if (!found) return Bad("unknown command " + Quoted(name) + "; wants " + kCommandList);
    request.command = found->command;
    for (const Option& option : options)
        if (option.value && !(option.commands & Bit(request.command)))
            return Bad(std::string(option.name) + ": not an option of " + name);

    const std::size_t given = operands.size() - 1;
    switch (request.command) {
        case CliCommand::Pixel:
        case CliCommand::WindowAt: {
            if (given != 0 && given != 2)
                return Bad(name + ": wants X and Y, or neither (then the pointer's position)" +
                           (given > 2 ? ", got the extra " + Quoted(operands[3]) : std::string()));
            if (given == 0) break;
            if (auto bad = ReadPoint(operands, 1, request.point)) return *bad;
            break;
        }
        case CliCommand::Window: {
            if (given != 1)
                return Bad(given == 0 ? "window: wants HANDLE, a window handle in decimal"
                                      : "window: wants one HANDLE, got the extra " + Quoted(operands[2]));
            const auto handle = WholeNumber(operands[1], kInt32Low, kInt32High);
            if (!handle) return Bad("HANDLE: wants a window handle in decimal, got " + Quoted(operands[1]));
            request.handle = *handle;
            break;
        }
        case CliCommand::FindColour: {
            if (given != 1)
                return Bad(given == 0 ? "find-colour: wants COLOUR, six hexadecimal digits (BGR) or #RRGGBB"
                                      : "find-colour: wants one COLOUR, got the extra " + Quoted(operands[2]));
            if (auto bad = ReadColour(operands[1], request.colour)) return *bad;
            break;
        }
        case CliCommand::WaitColour: {
            if (given != 3)
                return Bad("wait-colour: wants X, Y and COLOUR" +
                           (given > 3 ? ", got the extra " + Quoted(operands[4]) : std::string()));
            if (auto bad = ReadPoint(operands, 1, request.point)) return *bad;
            if (auto bad = ReadColour(operands[3], request.colour)) return *bad;
            break;
        }
        case CliCommand::WaitCursor: {
            if (given != 1)
                return Bad(given == 0 ? "wait-cursor: wants CODE, a cursor feature code"
                                      : "wait-cursor: wants one CODE, got the extra " + Quoted(operands[2]));
            const auto code = FeatureCode(operands[1]);
            if (!code)
                return Bad("CODE: wants a feature code, a whole number from 0 to 2147483647, got " +
                           Quoted(operands[1]));
            request.code = *code;
            break;
        }
        case CliCommand::FindImage:
        case CliCommand::WaitImage:
        case CliCommand::Snapshot: {
            if (given != 1)
                return Bad(given == 0 ? name + ": wants FILE, a bitmap file"
                                      : name + ": wants one FILE, got the extra " + Quoted(operands[2]));
            request.file = operands[1];
            if (request.file.empty()) return Bad("FILE: wants a file name, got \"\"");
            if (request.file == kStandardOutputFile && request.command != CliCommand::Snapshot)
                return Bad(name + ": FILE: wants a bitmap file; \"-\" (standard output) is only snapshot's");
            if (request.file == kStandardOutputFile && json)
                return Bad("--json: not with FILE \"-\", where standard output carries the bitmap alone");
            break;
        }
        default:
            if (given != 0) return Bad(name + ": takes no operand, got " + Quoted(operands[1]));
    }

    if (const auto& format = options[kFormat].value) {
        constexpr std::array<std::pair<const char*, ColourFormat>, 5> kFormats{{{"hex", ColourFormat::Hex},
                                                                                {"dec", ColourFormat::Decimal},
                                                                                {"rgb", ColourFormat::Rgb},
                                                                                {"hsl", ColourFormat::Hsl},
                                                                                {"all", ColourFormat::All}}};
        bool known = false;
        for (const auto& [text, value] : kFormats)
            if (*format == text) {
                request.format = value;
                known = true;
            }
        if (!known) return Bad("--format: wants dec, hex, rgb, hsl or all, got " + Quoted(*format));
    }
    request.search = options[kSearch].value;
    if (const auto& method = options[kMethod].value) {
        const auto value = WholeNumber(*method, 0, 2);
        if (!value) return Bad("--method: wants 0, 1 or 2, got " + Quoted(*method));
        request.method = *value;
    }
    if (const auto& region = options[kRegion].value) {
        request.region = ParseRegionArgument(*region);
        if (!request.region)
            return Bad("--region: wants L,T,W,H in screen pixels, width and height at least 1, got " + Quoted(*region));
    }
    if (const auto& tolerance = options[kTolerance].value) {
        const auto value = ParseToleranceArgument(*tolerance);
        if (!value) return Bad("--tolerance: wants a whole number from 0 to 255, got " + Quoted(*tolerance));
        request.tolerance = *value;
    }
    if (const auto& transparent = options[kTransparent].value) {
        request.transparent = ParseColourArgument(*transparent);
        if (!request.transparent)
            return Bad("--transparent: wants six hexadecimal digits (BGR) or #RRGGBB, got " + Quoted(*transparent));
    }
    request.all = options[kAll].value.has_value();
    if (const auto& rect = options[kRect].value) {
        request.region = ParseRegionArgument(*rect);
        if (!request.region || request.region->width > kLargestPictureSide ||
            request.region->height > kLargestPictureSide)
            return Bad("--rect: wants L,T,W,H in screen pixels, width and height from 1 to " +
                       std::to_string(kLargestPictureSide) + ", got " + Quoted(*rect));
    }
    request.cursor = options[kCursor].value.has_value();
    if (const auto& timeout = options[kTimeout].value) {
        const auto value = WholeNumber(*timeout, 0, kInt32High);
        if (!value) return Bad("--timeout: wants milliseconds, a whole number from 0, got " + Quoted(*timeout));
        request.timeoutMs = static_cast<std::uint32_t>(*value);
    }
    if (const auto& interval = options[kInterval].value) {
        const auto value = WholeNumber(*interval, 1, kInt32High);
        if (!value) return Bad("--interval: wants milliseconds, a whole number from 1, got " + Quoted(*interval));
        request.intervalMs = static_cast<std::uint32_t>(*value);
    }
    return request;
}
}  // namespace

std::variant<CliRequest, CliResult> ParseCliArguments(const std::vector<std::string>& args) {
    std::vector<std::string> operands;
    Options options{
        {{"--format", Bit(CliCommand::Pixel), true, std::nullopt},
         {"--search", Bit(CliCommand::Windows), true, std::nullopt},
         {"--method", Bit(CliCommand::CursorCode) | Bit(CliCommand::WaitCursor), true, std::nullopt},
         {"--region", kImages | Bit(CliCommand::FindColour), true, std::nullopt},
         {"--tolerance", kSearches | Bit(CliCommand::WaitColour) | Bit(CliCommand::WaitImage), true, std::nullopt},
         {"--transparent", kImages, true, std::nullopt},
         {"--all", kSearches, false, std::nullopt},
         {"--rect", Bit(CliCommand::Snapshot), true, std::nullopt},
         {"--cursor", Bit(CliCommand::Snapshot), false, std::nullopt},
         {"--timeout", kWaits, true, std::nullopt},
         {"--interval", kWaits, true, std::nullopt}}};
    bool json = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h") return CliResult{kCliDone, kHelp, ""};
        if (arg == "--version") {
            if (args.size() > 1) return Bad("--version: takes nothing else, got " + Quoted(args[i == 0 ? 1 : 0]));
            return CliResult{kCliDone, std::string("pelmora-cli ") + PELMORA_VERSION_TEXT + "\n", ""};
        }
        if (arg == "--") {  // every argument after it is an operand, even one that starts with --
            optionsEnded = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            operands.push_back(arg);  // a negative coordinate such as -5 is an operand
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name == "--json") {
            if (equals != std::string::npos) return Bad("--json: takes no value, got " + Quoted(arg));
            json = true;
            continue;
        }
        Option* option = nullptr;
        for (Option& candidate : options)
            if (name == candidate.name) option = &candidate;
        if (!option) return Bad("unknown option " + Quoted(name));
        if (!option->takesValue) {
            if (equals != std::string::npos) return Bad(name + ": takes no value, got " + Quoted(arg));
            option->value = "";
        } else if (equals != std::string::npos) {
            option->value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            option->value = args[++i];
        } else {
            return Bad(name + ": wants a value after it");
        }
    }
    return Finish(operands, options, json);
}

std::optional<Colour> ParseColourArgument(std::string_view text) {
    const bool web = text.starts_with('#');
    if (web) text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    const std::optional<std::uint32_t> value = ParseHexDigits(text);
    if (!value) return std::nullopt;
    if (!web) return static_cast<Colour>(*value);
    const std::uint32_t red = *value >> 16, green = (*value >> 8) & 0xFF, blue = *value & 0xFF;
    return static_cast<Colour>(blue << 16 | green << 8 | red);
}

std::optional<int> ParseToleranceArgument(std::string_view text) { return WholeNumber(text, 0, 255); }

std::optional<ScreenRegion> ParseRegionArgument(std::string_view text) {
    std::array<std::int32_t, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == numbers.size() - 1)) return std::nullopt;
        const std::string_view part = text.substr(0, comma);
        const auto number = WholeNumber(part, i < 2 ? kInt32Low : 1, kInt32High);
        if (!number) return std::nullopt;
        numbers[i] = *number;
        if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
    }
    return ScreenRegion{numbers[0], numbers[1], numbers[2], numbers[3]};
}

}  // namespace pelmora
