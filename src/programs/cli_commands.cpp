// SPDX-License-Identifier: MIT
#include "programs/cli_commands.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "capture/bitmap_file.h"
#include "capture/bitmap_file_reading.h"
#include "capture/screen_grab.h"
#include "cursor/feature_code.h"
#include "editor/image_files.h"
#include "programs/json_text.h"
#include "programs/screen_search.h"
#include "programs/shown_text.h"
#include "sampling/colour_forms.h"
#include "sampling/screen_reading.h"
#include "windows/window_list.h"
#include "windows/window_reading.h"

namespace pelmora {

namespace {
CliResult Done(const std::string& out) { return {kCliDone, out, ""}; }
CliResult Refused(int status, const std::string& message) { return {status, "", "pelmora-cli: " + message + "\n"}; }
CliResult NotFound(const std::string& message) { return Refused(kCliNotFound, message); }
CliResult CannotWriteOutput(const std::string& reason) {
    return Refused(kCliNoDesktop, "cannot write the output: " + reason);
}

std::string PointText(ScreenPoint point) { return std::to_string(point.x) + "," + std::to_string(point.y); }
std::string JsonPointFields(ScreenPoint point) {
    return "\"x\":" + std::to_string(point.x) + ",\"y\":" + std::to_string(point.y);
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string array = "[";
    for (const std::string& item : items) array += (array.size() > 1 ? "," : "") + item;
    return array + "]";
}

// Lines of other programs' texts, one value a line whatever characters it holds.
std::string ShownLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += ShownText(line, true) + "\n";
    return out;
}

// The lines of a text whose lines each end with CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

ScreenPoint PointOf(const CliRequest& request, Desktop& desktop) {
    return request.point.value_or(GetPointerPos(desktop));
}

CliResult Pointer(const CliRequest& request, Desktop& desktop) {
    const ScreenPoint point = GetPointerPos(desktop);
    return Done(request.json ? "{" + JsonPointFields(point) + "}\n" : PointText(point) + "\n");
}

CliResult Pixel(const CliRequest& request, Desktop& desktop) {
    const ScreenPoint point = PointOf(request, desktop);
    const Colour colour = GetScreenPixel(desktop, point.x, point.y);
    if (colour == kColourNoPixel) return NotFound("no screen pixel at " + PointText(point));
    const ColourForms forms = ColourFormsOf(colour);
    if (request.json)
        return Done("{" + JsonPointFields(point) + ",\"decimal\":" + forms.decimal +
                    ",\"hex\":" + JsonString(forms.hex) + ",\"rgb\":[" + forms.RgbTriple() + "],\"hsl\":[" +
                    forms.HslTriple() + "]}\n");
    switch (request.format) {
        case ColourFormat::Decimal: return Done(forms.decimal + "\n");
        case ColourFormat::Rgb: return Done(forms.RgbTriple() + "\n");
        case ColourFormat::Hsl: return Done(forms.HslTriple() + "\n");
        case ColourFormat::All:
            return Done(Lines({kDecimalCaption + forms.decimal, kHexCaption + forms.hex, "RGB：" + forms.RgbTriple(),
                               "HSL：" + forms.HslTriple()}));
        case ColourFormat::Hex: break;
    }
    return Done(forms.hex + "\n");
}

CliResult WindowAt(const CliRequest& request, Desktop& desktop) {
    const ScreenPoint point = PointOf(request, desktop);
    const WindowHandle window = desktop.WindowAt(point);
    if (window == 0) return NotFound("no window at " + PointText(point));
    const std::string handle = std::to_string(window);
    return Done(request.json ? "{" + JsonPointFields(point) + ",\"handle\":" + handle + "}\n" : handle + "\n");
}

CliResult Window(const CliRequest& request, Desktop& desktop) {
    const WindowTexts texts = ReadWindowText(desktop, request.handle);
    // The desktop gives both texts empty for a handle that names no window; a script must
    // not take that for a window's texts. (A real window with neither title nor class is
    // rare, and says nothing a script could use either.)
    if (texts.title.empty() && texts.className.empty())
        return NotFound("no window " + std::to_string(request.handle) + ", or one with neither title nor class");
    if (request.json)
        return Done("{\"handle\":" + std::to_string(request.handle) + ",\"title\":" + JsonString(texts.title) +
                    ",\"class\":" + JsonString(texts.className) + "}\n");
    return Done(ShownLines({texts.title, texts.className}));
}

CliResult Windows(const CliRequest& request, Desktop& desktop) {
    const std::vector<std::string> lines =
        request.search ? CrLfLines(SearchWindowsByTitle(desktop, *request.search)) : EnumerateTitledWindows(desktop);
    if (request.search && lines.empty()) return NotFound("no window title holds " + QuotedInMessage(*request.search));
    if (!request.json) return Done(ShownLines(lines));
    std::vector<std::string> quoted;
    quoted.reserve(lines.size());
    for (const std::string& line : lines) quoted.push_back(JsonString(line));
    return Done("{\"lines\":" + JsonArray(quoted) + "}\n");
}

// The requested region (every monitor when none) clipped to the rectangle that holds every
// monitor; nothing when they do not overlap.
std::optional<ScreenRegion> SearchArea(const CliRequest& request, Desktop& desktop) {
    const ScreenRegion monitors = desktop.AllMonitors();
    const ScreenRegion region = request.region.value_or(monitors);
    const std::int64_t left = std::max<std::int64_t>(region.left, monitors.left);
    const std::int64_t top = std::max<std::int64_t>(region.top, monitors.top);
    const std::int64_t right =
        std::min(std::int64_t{region.left} + region.width, std::int64_t{monitors.left} + monitors.width);
    const std::int64_t bottom =
        std::min(std::int64_t{region.top} + region.height, std::int64_t{monitors.top} + monitors.height);
    if (right <= left || bottom <= top) return std::nullopt;
    return ScreenRegion{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                        static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

// The places search finds, moved from the area's corner to the screen, as lines or one JSON
// object: {"x":..,"y":..} for the first, {"points":[{"x":..,"y":..},..]} with --all. With
// --all each place is written as soon as it is found, so that memory stays that of the
// grab however many there are; the result holds what closes the answer.
CliResult WriteFound(const CliRequest& request, CliServices& services, const ScreenRegion& area,
                     const std::function<void(const FoundPlace&)>& search, const std::string& what) {
    std::size_t count = 0;
    std::string first, failure;
    search([&](ScreenPoint place) {
        const ScreenPoint onScreen{area.left + place.x, area.top + place.y};
        const std::string text = request.json ? "{" + JsonPointFields(onScreen) + "}" : PointText(onScreen);
        if (!request.all) {
            first = text;
            ++count;
            return false;
        }
        failure = services.write(request.json ? (count == 0 ? "{\"points\":[" : ",") + text : text + "\n");
        ++count;
        return failure.empty();
    });
    if (!failure.empty()) return CannotWriteOutput(failure);
    if (count == 0) return NotFound(what + " not found");
    if (!request.all) return Done(first + "\n");
    return Done(request.json ? "]}\n" : "");
}

// The search area grabbed in one read, or why not.
std::variant<std::pair<ScreenRegion, Surface>, CliResult> GrabSearchArea(const CliRequest& request, Desktop& desktop) {
    const std::optional<ScreenRegion> area = SearchArea(request, desktop);
    if (!area) return NotFound("the region lies off the screen");
    std::optional<Surface> pixels = GrabScreenArea(desktop, area->left, area->top, area->width, area->height, false);
    if (!pixels) return CliResult{kCliNoDesktop, "", "pelmora-cli: the screen could not be read\n"};
    return std::pair{*area, std::move(*pixels)};
}

CliResult FindColour(const CliRequest& request, CliServices& services) {
    auto grabbed = GrabSearchArea(request, services.desktop);
    if (auto* refused = std::get_if<CliResult>(&grabbed)) return *refused;
    const ScreenRegion& area = std::get<0>(grabbed).first;
    const Surface& pixels = std::get<0>(grabbed).second;
    return WriteFound(
        request, services, area,
        [&](const FoundPlace& found) { FindColourIn(pixels, request.colour, request.tolerance, found); },
        "colour " + ColourFormsOf(request.colour).hex);
}

// The picture of request's FILE, or why it cannot be read (status 2, the file named). Its
// headers are read first and refuse a file before its pixels are read; a file larger than
// the editor opens is refused as the editor refuses it.
std::variant<Surface, CliResult> ReadPicture(const CliRequest& request, CliFiles& files) {
    static_assert(kLargestEditorPixels == std::int64_t{4096} * 4096, "the message below names the limit");
    LoadedBitmap loaded = LoadBitmapFile(
        [&](std::uint64_t maxBytes) { return files.ReadFileStart(request.file, maxBytes); }, kLargestEditorPixels);
    const std::string file = "FILE: " + QuotedInMessage(request.file);
    switch (loaded.problem) {
        case LoadedBitmap::Problem::kNone: return std::move(*loaded.picture);
        case LoadedBitmap::Problem::kNotAFile:
            return Refused(kCliBadArguments, file + " is no file to read: " + loaded.englishError);
        case LoadedBitmap::Problem::kUnreadable:
            return Refused(kCliBadArguments, file + " cannot be read: " + loaded.englishError);
        case LoadedBitmap::Problem::kTooLarge:
            return Refused(kCliBadArguments, file + " is too large: a picture may have at most 4096 x 4096 pixels");
        case LoadedBitmap::Problem::kNotReadable: break;
    }
    return Refused(kCliBadArguments, file + " is no readable bitmap: " + loaded.englishError);
}

// One search of the region for the picture.
CliResult FindPicture(const CliRequest& request, CliServices& services, const Surface& picture) {
    auto grabbed = GrabSearchArea(request, services.desktop);
    if (auto* refused = std::get_if<CliResult>(&grabbed)) return *refused;
    const ScreenRegion& area = std::get<0>(grabbed).first;
    const Surface& pixels = std::get<0>(grabbed).second;
    return WriteFound(
        request, services, area,
        [&](const FoundPlace& found) { FindPictureIn(pixels, picture, request.tolerance, request.transparent, found); },
        "picture " + QuotedInMessage(request.file));
}

CliResult FindImage(const CliRequest& request, CliServices& services) {
    const auto picture = ReadPicture(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&picture)) return *refused;
    return FindPicture(request, services, std::get<Surface>(picture));
}

// The rectangle as the snapshot page grabs it: not clipped, off-screen parts black. FILE "-"
// is standard output, which gets the bitmap alone.
CliResult Snapshot(const CliRequest& request, CliServices& services) {
    Desktop& desktop = services.desktop;
    const bool toOutput = request.file == kStandardOutputFile;
    if (toOutput && services.outputIsTerminal)
        return Refused(kCliBadArguments,
                       "FILE: \"-\" writes the bitmap to standard output, which is a terminal here; "
                       "redirect it to a file or a pipe");
    // Without --rect the primary monitor, where it lies (on X11 not always at 0,0).
    const ScreenRegion rect = request.region ? *request.region : GetPrimaryScreen(desktop);
    const std::optional<Surface> picture =
        GrabScreenArea(desktop, rect.left, rect.top, rect.width, rect.height, request.cursor);
    if (!picture) return {kCliNoDesktop, "", "pelmora-cli: the screen could not be read\n"};
    const std::string bitmap = EncodeBitmap(*picture);
    if (toOutput) {
        if (const std::string failure = services.write(bitmap); !failure.empty()) return CannotWriteOutput(failure);
        return Done("");
    }
    if (const std::string failure = services.files.WriteFileWhole(request.file, bitmap); !failure.empty())
        return Refused(kCliNoDesktop, "FILE: cannot write " + QuotedInMessage(request.file) + ": " + failure);
    if (!request.json) return Done(request.file + "\n");
    return Done("{\"path\":" + JsonString(request.file) + ",\"left\":" + std::to_string(rect.left) +
                ",\"top\":" + std::to_string(rect.top) + ",\"width\":" + std::to_string(rect.width) +
                ",\"height\":" + std::to_string(rect.height) + "}\n");
}

CliResult CursorCode(const CliRequest& request, Desktop& desktop) {
    const std::string code = std::to_string(CursorFeatureCode(desktop, request.method));
    return Done(request.json ? "{\"method\":" + std::to_string(request.method) + ",\"code\":" + code + "}\n"
                             : code + "\n");
}

// Looks at once and then every interval until look finds what it waits for (status 0) or
// fails otherwise than by not finding it, or until the timeout has passed since the first
// look.
CliResult WaitFor(const CliRequest& request, CliServices& services, const std::function<CliResult()>& look,
                  const std::string& what) {
    const std::uint32_t start = services.clock.Milliseconds();
    for (;;) {
        CliResult result = look();
        if (result.status != kCliNotFound) return result;  // found, or the platform refused
        const std::uint32_t waited = services.clock.Milliseconds() - start;
        if (waited >= request.timeoutMs)
            return NotFound("no " + what + " within " + std::to_string(request.timeoutMs) + " ms");
        services.sleep(std::min(request.intervalMs, request.timeoutMs - waited));
    }
}

CliResult WaitColour(const CliRequest& request, CliServices& services) {
    const ScreenPoint point = *request.point;
    return WaitFor(
        request, services,
        [&] {
            const Colour colour = GetScreenPixel(services.desktop, point.x, point.y);
            if (colour == kColourNoPixel || !ColoursNear(colour, request.colour, request.tolerance))
                return NotFound("");
            return Pixel(request, services.desktop);
        },
        "colour " + ColourFormsOf(request.colour).hex + " at " + PointText(point));
}

CliResult WaitImage(const CliRequest& request, CliServices& services) {
    const auto picture = ReadPicture(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&picture)) return *refused;
    return WaitFor(
        request, services, [&] { return FindPicture(request, services, std::get<Surface>(picture)); },
        "picture " + QuotedInMessage(request.file));
}

CliResult WaitCursor(const CliRequest& request, CliServices& services) {
    return WaitFor(
        request, services,
        [&] {
            if (CursorFeatureCode(services.desktop, request.method) != request.code) return NotFound("");
            return CursorCode(request, services.desktop);
        },
        "cursor with feature code " + std::to_string(request.code));
}
}  // namespace

void SleepMilliseconds(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

CliResult RunCliCommand(const CliRequest& request, CliServices& services) {
    Desktop& desktop = services.desktop;
    switch (request.command) {
        case CliCommand::Pointer: return Pointer(request, desktop);
        case CliCommand::Pixel: return Pixel(request, desktop);
        case CliCommand::WindowAt: return WindowAt(request, desktop);
        case CliCommand::Window: return Window(request, desktop);
        case CliCommand::Windows: return Windows(request, desktop);
        case CliCommand::CursorCode: return CursorCode(request, desktop);
        case CliCommand::FindColour: return FindColour(request, services);
        case CliCommand::FindImage: return FindImage(request, services);
        case CliCommand::Snapshot: return Snapshot(request, services);
        case CliCommand::WaitColour: return WaitColour(request, services);
        case CliCommand::WaitImage: return WaitImage(request, services);
        case CliCommand::WaitCursor: return WaitCursor(request, services);
    }
    return {kCliBadArguments, "", "pelmora-cli: unknown command\n"};
}

}  // namespace pelmora
