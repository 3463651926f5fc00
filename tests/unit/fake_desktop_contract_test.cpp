// SPDX-License-Identifier: MIT
// The scripted desktop that the unit tests run on keeps every promise the real ones keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "backends/fake/fake_desktop.h"
#include "contract/desktop_contract.h"

namespace pelmora {
namespace {

struct FakeDesktopTraits {
    static constexpr const char* kWindowClass = "FakeWindow";

    // A window of the fake's list, which it leaves when destroyed.
    class Window {
    public:
        Window(FakeDesktop& desktop, WindowHandle handle) : desktop_(desktop), handle_(handle) {}
        ~Window() { Destroy(); }
        Window(const Window&) = delete;
        Window& operator=(const Window&) = delete;
        WindowHandle Handle() const { return handle_; }
        void Destroy() {
            std::erase_if(desktop_.windows, [&](const FakeDesktop::Window& w) { return w.handle == handle_; });
        }

    private:
        FakeDesktop& desktop_;
        WindowHandle handle_;
    };

    Desktop& desktop() { return fake; }
    std::unique_ptr<Window> Show(int left, int top, const Surface& picture, const std::string& title) {
        fake.screen.BitBlt(left, top, picture.Width(), picture.Height(), picture, 0, 0);
        const WindowHandle handle = nextHandle++;
        fake.windows.insert(fake.windows.begin(),
                            {handle, {left, top, picture.Width(), picture.Height()}, title, kWindowClass});
        return std::make_unique<Window>(fake, handle);
    }
    void Raise(const Window& window) {
        const auto found = std::find_if(fake.windows.begin(), fake.windows.end(),
                                        [&](const FakeDesktop::Window& w) { return w.handle == window.Handle(); });
        std::rotate(fake.windows.begin(), found, found + 1);
    }
    bool WaitForPixel(ScreenPoint at, std::int32_t colour) { return fake.Pixel(at.x, at.y) == colour; }
    void MovePointer(ScreenPoint point) { fake.pointer = point; }
    bool PointerReaches(ScreenPoint point) { return fake.pointer == point; }
    std::string TitleAsRead(const std::string& title) { return title; }

    FakeDesktop fake{1024, 768, 0x336699};
    WindowHandle nextHandle = 0x100;
};

}  // namespace
}  // namespace pelmora

namespace pelmora::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, DesktopContract, FakeDesktopTraits);
}  // namespace pelmora::contract
