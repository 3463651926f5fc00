// SPDX-License-Identifier: MIT
// The main window on the X server on DISPLAY, showing the editor page with an 800 x 600
// working image zoomed to 8:1 and the pencil chosen, for the benchmarks of what the view
// repaints. The services are the test stand-ins; the window and its painting are real.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <memory>

#include "app/form1.h"
#include "backends/fake/fake_services.h"
#include "backends/posix/huge_pages.h"
#include "backends/qt/form_view.h"

namespace pelmora {

struct EditorOnScreen {
    std::unique_ptr<QApplication> application;
    FakePlatform fake;
    std::unique_ptr<Form1> form;
    std::unique_ptr<FormView> view;

    // The window shown and ready, or false (and the benchmark marked skipped) without an
    // X server.
    bool Ready(benchmark::State& state) {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            state.SkipWithError("no X server on DISPLAY");
            return false;
        }
        static int argc = 1;
        static char name[] = "pelmora-bench";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
        UseHugePagesForLargeBuffers();  // as the program does
        form = std::make_unique<Form1>(fake.Services());
        view = std::make_unique<FormView>(*form, kWindowCaption, kClientWidth, kClientHeight);
        view->Dispatch([this] { form->Form_Load(); });
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get())) {
            state.SkipWithError("the window did not show");
            return false;
        }
        view->Dispatch([this] {
            form->Option2[4].Select();
            EditorCanvas& canvas = form->editor.canvas;
            Surface picture(800, 600);
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 800; ++x) picture.SetPixel(x, y, ((x / 37 + y / 23) % 5) * 0x203040);
            canvas.结果图像 = picture;
            canvas.ShowResized(canvas.结果图像, 800, 600);
            canvas.UpdateScrollRanges();
            canvas.缩放_Click(0);
            canvas.HScroll1.SetValue(3000);
            canvas.VScroll1.SetValue(2000);
            form->editor.tools.控制[1].Select();
        });
        Settle();
        return true;
    }
    // Lets the view paint what is pending and send it to the X server.
    void Settle() {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
};

}  // namespace pelmora
