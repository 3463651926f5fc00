// SPDX-License-Identifier: MIT
// pelmora._pelmora: the engine as Python sees it, in plain values (tuples, ints, floats);
// the package's __init__.py gives them their Python faces (Colour, Window, Match) and
// checks the arguments. Every call that reaches the screen or searches lets go of the GIL.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <stdexcept>

#include "capture/bitmap_file.h"
#include "editor/image_files.h"
#include "cli/argument_values.h"
#include "cli/pattern_operands.h"
#include "cli/picture_answers.h"
#include "backends/posix/huge_pages.h"
#include "backends/posix/posix_cli_files.h"
#include "programs/python/python_screen.h"
#include "sampling/colour_forms.h"

namespace py = pybind11;
using namespace pelmora;

namespace {
using Released = py::call_guard<py::gil_scoped_release>;
using Point = std::optional<std::pair<int, int>>;
using Region = std::optional<std::tuple<int, int, int, int>>;
using Window = std::optional<std::pair<WindowHandle, bool>>;  // (handle, client) of the coordinates

Relative RelativeOf(const Window& window) {
    if (!window) return std::nullopt;
    return RelativeTo{window->first, window->second};
}

// A file that cannot be read or written: OSError with the reason. Thrown while the GIL is
// released; the translator sets the Python error once it is held again.
struct FileFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::optional<ScreenPoint> PointOf(const Point& point) {
    if (!point) return std::nullopt;
    return ScreenPoint{point->first, point->second};
}

std::optional<ScreenRegion> RegionOf(const Region& region) {
    if (!region) return std::nullopt;
    const auto [left, top, width, height] = *region;
    return ScreenRegion{left, top, width, height};
}

py::tuple RegionTuple(const ScreenRegion& region) {
    return py::make_tuple(region.left, region.top, region.width, region.height);
}

// (x, y, score, scale, index) for each place.
using MatchTuple = std::tuple<int, int, std::optional<double>, double, std::size_t>;
std::vector<MatchTuple> Tuples(const std::vector<ScreenMatch>& matches) {
    std::vector<MatchTuple> tuples;
    tuples.reserve(matches.size());
    for (const ScreenMatch& match : matches)
        tuples.emplace_back(match.place.x, match.place.y, match.score, match.scale, match.index);
    return tuples;
}

// The pattern of find-points' operands "COLOUR DX,DY,COLOUR..."; ValueError naming what is wrong.
PointPattern PatternOf(const std::vector<std::string>& operands) {
    CliRequest request;
    if (const auto refused = ReadPatternOperands("find_points", operands, request))
        throw py::value_error(refused->err.substr(0, refused->err.find_last_not_of('\n') + 1));
    return request.pattern;
}

// The bitmap file at path, as the editor reads it; OSError saying why not.
Surface OpenedPicture(const std::string& path) {
    PosixCliFiles files;
    CliRequest request;
    request.pictures = {path};
    auto pictures = ReadPictureFiles(request, files);
    if (const auto* refused = std::get_if<CliResult>(&pictures))
        throw FileFailure(refused->err.substr(0, refused->err.find_last_not_of('\n') + 1));
    return std::move(std::get<std::vector<Surface>>(pictures).front());
}

// An H x W x 3 or 4 array of bytes, red, green and blue first in each pixel (alpha ignored).
Surface PictureOfArray(const py::buffer& array) {
    const py::buffer_info info = array.request();
    if (info.ndim != 3 || (info.shape[2] != 3 && info.shape[2] != 4) || info.itemsize != 1 || info.format != "B")
        throw py::value_error("array: wants H x W x 3 or H x W x 4 unsigned bytes (uint8), red, green, blue first");
    if (info.shape[0] < 1 || info.shape[1] < 1 || info.shape[0] * info.shape[1] > kLargestEditorPixels)
        throw py::value_error("array: wants from 1 x 1 to 4096 x 4096 pixels");
    const auto height = static_cast<int>(info.shape[0]), width = static_cast<int>(info.shape[1]);
    Surface picture(width, height);
    const auto* bytes = static_cast<const std::uint8_t*>(info.ptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = bytes + y * info.strides[0] + x * info.strides[1];
            const auto channel = [&](int c) { return std::int32_t{pixel[c * info.strides[2]]}; };
            picture.Row(y)[x] = channel(0) | channel(1) << 8 | channel(2) << 16;
        }
    return picture;
}
}  // namespace

PYBIND11_MODULE(_pelmora, module) {
    module.doc() = "The engine of pelmora-cli; use the pelmora package, which wraps it.";
    // A grab of the whole screen lands in one large buffer each time; on huge pages its
    // first touch costs a few page faults instead of two thousand.
    UseHugePagesForLargeBuffers();
    py::register_exception<DisplayFailure>(module, "DisplayError", PyExc_OSError);
    py::register_exception<WindowNotShown>(module, "WindowError", PyExc_LookupError);
    // What the desktop tells no program (Wayland: the pointer, the windows, the cursor).
    py::register_exception<DesktopUnavailable>(module, "UnavailableError", PyExc_OSError);
    // pybind11 hands translators the exception by value.
    py::register_exception_translator([](std::exception_ptr thrown) {  // NOLINT(performance-unnecessary-value-param)
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const FileFailure& failure) {
            PyErr_SetString(PyExc_OSError, failure.what());
        }
    });

    module.def("colour_forms", [](Colour colour) {
        const ColourForms forms = ColourFormsOf(colour);
        return py::make_tuple(
            forms.hex, py::make_tuple(std::stoi(forms.red), std::stoi(forms.green), std::stoi(forms.blue)),
            py::make_tuple(std::stoi(forms.hue), std::stoi(forms.saturation), std::stoi(forms.lightness)));
    });
    module.def("parse_colour", [](const std::string& text) { return ParseColourArgument(text); });

    py::class_<Surface, std::shared_ptr<Surface>>(module, "Picture", py::buffer_protocol())
        .def_buffer([](Surface& picture) {
            // Each pixel 0x00BBGGRR in memory order: red, green, blue and a zero byte.
            return py::buffer_info(picture.Row(0), 1, py::format_descriptor<std::uint8_t>::format(), 3,
                                   {picture.Height(), picture.Width(), 4}, {picture.Width() * 4, 4, 1}, true);
        })
        .def_property_readonly("width", &Surface::Width)
        .def_property_readonly("height", &Surface::Height)
        .def("pixel", [](const Surface& picture, int x, int y) { return picture.Pixel(x, y); })
        .def_static("open", &OpenedPicture, Released())
        .def_static("from_array", &PictureOfArray)
        .def(
            "save",
            [](const Surface& picture, const std::string& path) {
                const std::string failure = PosixCliFiles().WriteFileWhole(path, EncodeBitmap(picture));
                if (!failure.empty()) throw FileFailure("cannot write \"" + path + "\": " + failure);
            },
            Released());

    py::class_<PythonScreen>(module, "Screen")
        .def(py::init<const std::string&, const std::string&>(), py::arg("display") = "", py::arg("backend") = "")
        .def("close", &PythonScreen::Close, Released())
        .def(
            "pointer",
            [](PythonScreen& screen, const Window& window) {
                const ScreenPoint point = screen.Pointer(RelativeOf(window));
                return std::pair{point.x, point.y};
            },
            Released())
        .def(
            "pixel",
            [](PythonScreen& screen, const Point& point, const Window& window) {
                return screen.Pixel(PointOf(point), RelativeOf(window));
            },
            Released())
        .def(
            "window_at",
            [](PythonScreen& screen, const Point& point, const Window& window) {
                return screen.WindowAt(PointOf(point), RelativeOf(window));
            },
            Released())
        .def(
            "texts",
            [](PythonScreen& screen, WindowHandle window) {
                const WindowTexts texts = screen.Texts(window);
                return std::pair{texts.title, texts.className};
            },
            Released())
        .def(
            "place",
            [](PythonScreen& screen, WindowHandle window) {
                const WindowPlace place = screen.Place(window);
                const py::gil_scoped_acquire acquired;
                return py::make_tuple(static_cast<int>(place.state), RegionTuple(place.frame),
                                      RegionTuple(place.client));
            },
            Released())
        .def(
            "windows",
            [](PythonScreen& screen, const std::optional<std::string>& search) {
                std::vector<std::pair<WindowHandle, std::string>> windows;
                for (TopLevelWindow& window : screen.Windows(search))
                    windows.emplace_back(window.handle, std::move(window.title));
                return windows;
            },
            Released())
        .def("cursor_code", &PythonScreen::CursorCode, Released())
        .def(
            "grab",
            [](PythonScreen& screen, const Region& region, const Window& window) -> std::shared_ptr<Surface> {
                auto grab = screen.Grab(RegionOf(region), RelativeOf(window));
                if (!grab) return nullptr;
                return std::make_shared<Surface>(std::move(grab->second));
            },
            Released())
        .def(
            "find_colour",
            [](PythonScreen& screen, Colour colour, const Region& region, int tolerance, bool all,
               const Window& window) {
                return Tuples(screen.FindColour(colour, RegionOf(region), tolerance, all, RelativeOf(window)));
            },
            Released())
        .def(
            "find_image",
            [](PythonScreen& screen, const std::vector<std::shared_ptr<Surface>>& pictures, const Region& region,
               int tolerance, std::optional<Colour> transparent, std::optional<double> similarity,
               std::vector<double> scales, bool all, const Window& window) {
                std::vector<Surface> searched;
                searched.reserve(pictures.size());
                for (const auto& picture : pictures) searched.push_back(*picture);
                const PictureQuery query{tolerance, transparent, similarity, std::move(scales), std::nullopt, all};
                return Tuples(screen.FindImage(searched, RegionOf(region), query, RelativeOf(window)));
            },
            Released())
        .def(
            "find_points",
            [](PythonScreen& screen, const std::vector<std::string>& operands, const Region& region, int tolerance,
               std::optional<double> similarity, bool all, const Window& window) {
                PointPattern pattern;
                {
                    const py::gil_scoped_acquire acquired;
                    pattern = PatternOf(operands);
                }
                return Tuples(
                    screen.FindPoints(pattern, RegionOf(region), tolerance, similarity, all, RelativeOf(window)));
            },
            Released());
}
