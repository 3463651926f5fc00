// SPDX-License-Identifier: MIT
// painted_surface: a Wayland window of known pixels for the Wayland suite. A 400 x 300
// xdg-shell toplevel, app_id pelmora-painted: the left half (x < 200) one solid colour,
// #C03020, the right half a pattern where every pixel's colour is a hash of its x and y in
// the window, so that any piece of it is found in one place only. It prints "shown" once
// the compositor has shown its first picture (the frame callback after the commit); each
// SIGUSR1 turns the left half #20A060, or back to #C03020, and it prints "repainted" once
// that is shown. It ends on SIGTERM or when the compositor goes.
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include "xdg-shell-client-protocol.h"

enum { kWidth = 400, kHeight = 300, kSolidWidth = 200 };
static const uint32_t kFirstColour = 0xC03020, kSecondColour = 0x20A060;

struct window {
    struct wl_compositor* compositor;
    struct wl_shm* shm;
    struct xdg_wm_base* wm_base;
    struct wl_surface* surface;
    struct xdg_surface* xdg_surface;
    struct xdg_toplevel* toplevel;
    int configured;
    uint32_t solid;          // the left half's colour
    const char* shown_line;  // printed when the picture committed last is on the screen
};

static void fail(const char* what) {
    fprintf(stderr, "painted_surface: %s\n", what);
    exit(1);
}

// The pattern half's colour at x, y (window pixels), as 0xRRGGBB.
static uint32_t PatternColour(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h & 0xFFFFFF;
}

// A buffer is destroyed once the compositor has let go of it.
static void BufferRelease(void* data, struct wl_buffer* buffer) {
    (void)data;
    wl_buffer_destroy(buffer);
}
static const struct wl_buffer_listener kBufferListener = {.release = BufferRelease};

// A wl_shm buffer holding the window's picture with the solid half in the colour given.
static struct wl_buffer* PaintedBuffer(struct wl_shm* shm, uint32_t solid) {
    const int stride = kWidth * 4, size = stride * kHeight;
    const int fd = memfd_create("painted_surface", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) fail("no shared memory for the picture");
    uint32_t* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) fail("cannot map the picture");
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = x < kSolidWidth ? solid : PatternColour(x, y);
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    struct wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, kWidth, kHeight, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(buffer, &kBufferListener, NULL);
    return buffer;
}

static void FrameDone(void* data, struct wl_callback* callback, uint32_t time) {
    (void)time;
    struct window* window = data;
    wl_callback_destroy(callback);
    puts(window->shown_line);
    fflush(stdout);
}
static const struct wl_callback_listener kFrameListener = {.done = FrameDone};

// Shows a picture: attach, damage, ask for the frame callback, commit.
static void Show(struct window* window, uint32_t solid, const char* shown_line) {
    window->shown_line = shown_line;
    wl_surface_attach(window->surface, PaintedBuffer(window->shm, solid), 0, 0);
    wl_surface_damage_buffer(window->surface, 0, 0, kWidth, kHeight);
    wl_callback_add_listener(wl_surface_frame(window->surface), &kFrameListener, window);
    wl_surface_commit(window->surface);
}

static void Ping(void* data, struct xdg_wm_base* wm_base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(wm_base, serial);
}
static const struct xdg_wm_base_listener kWmBaseListener = {.ping = Ping};

static void SurfaceConfigure(void* data, struct xdg_surface* xdg_surface, uint32_t serial) {
    struct window* window = data;
    xdg_surface_ack_configure(xdg_surface, serial);
    if (!window->configured) Show(window, window->solid = kFirstColour, "shown");
    window->configured = 1;
}
static const struct xdg_surface_listener kSurfaceListener = {.configure = SurfaceConfigure};

// The size stays fixed whatever the compositor suggests.
static void ToplevelConfigure(void* data, struct xdg_toplevel* toplevel, int32_t width, int32_t height,
                              struct wl_array* states) {
    (void)data, (void)toplevel, (void)width, (void)height, (void)states;
}
static void ToplevelClose(void* data, struct xdg_toplevel* toplevel) {
    (void)data, (void)toplevel;
    exit(0);
}
static const struct xdg_toplevel_listener kToplevelListener = {.configure = ToplevelConfigure, .close = ToplevelClose};

static void Global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    (void)version;
    struct window* window = data;
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        window->compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    else if (strcmp(interface, wl_shm_interface.name) == 0)
        window->shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    else if (strcmp(interface, xdg_wm_base_interface.name) == 0)
        window->wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
}
static void GlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}
static const struct wl_registry_listener kRegistryListener = {.global = Global, .global_remove = GlobalRemove};

int main(void) {
    // SIGUSR1 arrives through a descriptor, read between the compositor's events.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGUSR1);
    if (sigprocmask(SIG_BLOCK, &signals, NULL) != 0) fail("cannot block SIGUSR1");
    const int signal_fd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (signal_fd < 0) fail("no signalfd");

    struct wl_display* display = wl_display_connect(NULL);
    if (!display) fail("no Wayland display");
    struct window window = {0};
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &window);
    wl_display_roundtrip(display);
    if (!window.compositor || !window.shm || !window.wm_base) fail("the compositor lacks wl_shm or xdg_wm_base");
    xdg_wm_base_add_listener(window.wm_base, &kWmBaseListener, NULL);

    window.surface = wl_compositor_create_surface(window.compositor);
    window.xdg_surface = xdg_wm_base_get_xdg_surface(window.wm_base, window.surface);
    xdg_surface_add_listener(window.xdg_surface, &kSurfaceListener, &window);
    window.toplevel = xdg_surface_get_toplevel(window.xdg_surface);
    xdg_toplevel_add_listener(window.toplevel, &kToplevelListener, &window);
    xdg_toplevel_set_app_id(window.toplevel, "pelmora-painted");
    xdg_toplevel_set_title(window.toplevel, "pelmora painted surface");
    xdg_toplevel_set_min_size(window.toplevel, kWidth, kHeight);
    xdg_toplevel_set_max_size(window.toplevel, kWidth, kHeight);
    wl_surface_commit(window.surface);  // no buffer yet: asks for the first configure

    for (;;) {
        while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
        wl_display_flush(display);
        struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {signal_fd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            wl_display_cancel_read(display);
            continue;
        }
        if (fds[0].revents & POLLIN) {
            if (wl_display_read_events(display) != 0) return 0;  // the compositor is gone
        } else {
            wl_display_cancel_read(display);
        }
        if (fds[0].revents & (POLLERR | POLLHUP)) return 0;
        if (wl_display_dispatch_pending(display) < 0) return 0;
        if (fds[1].revents & POLLIN) {
            struct signalfd_siginfo info;
            if (read(signal_fd, &info, sizeof info) == sizeof info && window.configured) {
                window.solid = window.solid == kFirstColour ? kSecondColour : kFirstColour;
                Show(&window, window.solid, "repainted");
            }
        }
    }
}
