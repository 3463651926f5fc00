// SPDX-License-Identifier: MIT
// The cost of the editor's whole-picture steps on a 1920 x 1080 image, and of opening and
// saving such an image as a bitmap file in the temporary folder; no X server needed.
#include <benchmark/benchmark.h>

#include <QDir>

#include "app/form1.h"
#include "capture/bitmap_file.h"
#include "backends/qt/qt_services.h"

#include "editor/editor_canvas.h"
#include "editor/pixel_buffer.h"
#include "backends/fake/fake_services.h"

namespace {

using namespace pelmora;

// A 1920 x 1080 picture of bands of a few colours, as a screenshot has.
Surface Picture1080p() {
    Surface picture(1920, 1080);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) picture.SetPixel(x, y, ((x / 37 + y / 23) % 5) * 0x203040);
    return picture;
}

void BM_DimPicture1080p(benchmark::State& state) {
    const Surface source = Picture1080p();
    Surface target = source;
    for (auto _ : state) DimPicture(source, target);
}
BENCHMARK(BM_DimPicture1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The confirm button's case: three picked colours kept, every other pixel replaced.
void BM_RecolorPixels1080p(benchmark::State& state) {
    const Surface source = Picture1080p();
    Surface target = source;
    FakeDialogs dialogs;
    for (auto _ : state) {
        std::vector<std::int32_t> picked{0x203040, 0x406080, 0x8090C0};
        RecolorPixels(source, target, 0xFFFFFF, -1, picked, dialogs);
    }
}
BENCHMARK(BM_RecolorPixels1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// Zoom in of an 800 x 600 working image with the grid on: the stretch to 6400 x 4800 and
// the grid, with the display resized; zoom out between the rounds is not timed.
void BM_ZoomIn800x600(benchmark::State& state) {
    FakeDialogs dialogs;
    ControlHost host;
    Frame page;
    page.Place(host, nullptr, "Frame2", 4, {16, 8, 417, 265});
    EditorCanvas editor(dialogs);
    editor.Place(host, page);
    editor.Reset();
    // An 800 x 600 working image shown at 1:1, as after opening it.
    editor.结果图像 = Picture1080p();
    editor.结果图像.Resize(800, 600, 0);
    Rect area = editor.显示图像.Geometry();
    area.width = 800;
    area.height = 600;
    editor.显示图像.SetGeometry(area);
    editor.显示图像.EditImage() = editor.结果图像;
    editor.缩放_Click(0);
    editor.缩放_Click(1);
    for (auto _ : state) {
        editor.缩放_Click(0);
        state.PauseTiming();
        editor.缩放_Click(1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ZoomIn800x600)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The form on the fake desktop with real files, its file dialogs answering path.
struct FormWithFiles {
    FakePlatform fake;
    QtFileSystem files;
    Form1 form{Platform{fake.desktop, fake.shell, files, fake.hotkeys, fake.clock, fake.pump, fake.encoding,
                        fake.clipboard, fake.dialogs}};
    std::string path = QDir::temp().filePath("pelmora-bench-1080p.bmp").toStdString();
    FormWithFiles() { form.Form_Load(); }
    ~FormWithFiles() { QFile::remove(QString::fromStdString(path)); }
};

// A 1920 x 1080 24-bit file read into the working image and shown at 1:1 (with the history
// snapshot and the scroll ranges that opening takes).
void BM_OpenBitmap1080p(benchmark::State& state) {
    FormWithFiles setting;
    if (!setting.files.WriteFileWhole(setting.path, EncodeBitmap(Picture1080p()))) {
        state.SkipWithError("cannot write the temporary folder");
        return;
    }
    setting.fake.dialogs.fileToOpen = setting.path;
    for (auto _ : state) setting.form.editor.files.菜单按钮_Click(0);
    if (setting.form.editor.canvas.结果图像.Width() != 1920) state.SkipWithError("the file did not open");
}
BENCHMARK(BM_OpenBitmap1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The 1920 x 1080 working image saved as a whole file through its temporary twin.
void BM_SaveBitmap1080p(benchmark::State& state) {
    FormWithFiles setting;
    setting.form.editor.canvas.结果图像 = Picture1080p();
    setting.fake.dialogs.fileToSave = setting.path;
    for (auto _ : state) setting.form.editor.files.菜单按钮_Click(1);
    if (!setting.fake.dialogs.messages.empty()) state.SkipWithError(setting.fake.dialogs.messages.front().c_str());
}
BENCHMARK(BM_SaveBitmap1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
