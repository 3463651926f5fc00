// SPDX-License-Identifier: MIT
// Form1 loaded on the real desktop on DISPLAY for the benchmarks; the services other than
// the desktop are the test stand-ins.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "app/form1.h"
#include "backends/fake/fake_services.h"
#include "backends/x11/x11_desktop.h"

namespace pelmora {

struct FormOnX11 {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    FakePlatform fake;
    std::unique_ptr<Form1> form;

    // The loaded form with sampling on and the pointer at pointer, or nullptr (and the
    // benchmark marked skipped) without an X server.
    Form1* Ready(benchmark::State& state, ScreenPoint pointer) {
        if (!connection) {
            state.SkipWithError("no X server on DISPLAY");
            return nullptr;
        }
        desktop = std::make_unique<X11Desktop>(*connection);
        desktop->SetPointerPos(pointer);
        form = std::make_unique<Form1>(Platform{*desktop, fake.shell, fake.files, fake.hotkeys, fake.clock, fake.pump,
                                                fake.encoding, fake.clipboard, fake.dialogs});
        form->Form_Load();
        form->sampling.Check1.SetValue(1);
        return form.get();
    }
};

}  // namespace pelmora
