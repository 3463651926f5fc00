# SPDX-License-Identifier: MIT
"""pelmora-cli and import pelmora in a Wayland session, reading the screen through the desktop
portal's screenshots: run inside scripts/wayland-session, whose sway shows painted_surface (a
Wayland window of known pixels) at 100,100 and an xmessage (an X11 window through Xwayland) at
1000,100 on a #203040 background. grim, which reads the compositor directly, is the oracle.

With PELMORA_PORTAL_MODE=refuse or silent the session's portal refuses or never answers every
screenshot: then only the test of those runs (scripts/test selects it with -k refused)."""
import io
import os
import select
import signal
import subprocess
import time

import numpy
import pytest
from PIL import Image

import pelmora

CLI = os.environ["PELMORA_CLI"]
PAINTED_SURFACE = os.environ["PELMORA_PAINTED_SURFACE"]
MODE = os.environ.get("PELMORA_PORTAL_MODE", "wlr")
LEFT, TOP = 100, 100  # painted_surface's place; its left half is solid up to x 200
FIRST, SECOND = "2030C0", "60A020"  # its solid half before and after SIGUSR1 (#C03020, #20A060)
X11_POINT, X11_COLOUR = (1250, 250), "C06030"  # inside the xmessage shown with -bg #3060C0


def cli(*args, env=None, timeout=20):
    return subprocess.run([CLI, *map(str, args)], capture_output=True, text=True, env=env, timeout=timeout)


def bgr(rgb):
    return "%02X%02X%02X" % (rgb[2], rgb[1], rgb[0])


def pattern(x, y):
    """The colour painted_surface gives its pixel x, y (x >= 200), as (r, g, b)."""
    h = ((x * 0x9E3779B1) ^ (y * 0x85EBCA77)) & 0xFFFFFFFF
    h ^= h >> 15
    h = (h * 0x2C1B3C6D) & 0xFFFFFFFF
    h ^= h >> 12
    return (h >> 16) & 0xFF, (h >> 8) & 0xFF, h & 0xFF


def pattern_piece(left, top, width, height):
    return numpy.array([[pattern(x, y) for x in range(left, left + width)] for y in range(top, top + height)],
                       dtype=numpy.uint8)


def grim(region=None):
    command = ["grim", "-t", "ppm"] + (["-g", "%d,%d %dx%d" % region] if region else []) + ["-"]
    return Image.open(io.BytesIO(subprocess.run(command, capture_output=True, check=True).stdout)).convert("RGB")


def read_line(process, seconds):
    ready, _, _ = select.select([process.stdout], [], [], seconds)
    assert ready, "painted_surface printed nothing in %s s" % seconds
    return process.stdout.readline().strip()


@pytest.fixture(scope="module")
def desktop():
    if MODE != "wlr":
        pytest.skip("the windows' tests need the real screenshot portal")
    painted = subprocess.Popen([PAINTED_SURFACE], stdout=subprocess.PIPE, text=True)
    message = subprocess.Popen(["xmessage", "-bg", "#3060C0", "-geometry", "300x200", "pelmora x11"],
                               stderr=subprocess.DEVNULL)
    try:
        assert read_line(painted, 10) == "shown"
        deadline = time.monotonic() + 10
        while bgr(grim(X11_POINT + (1, 1)).getpixel((0, 0))) != X11_COLOUR:
            assert time.monotonic() < deadline, "the xmessage window was not shown within 10 s"
            time.sleep(0.05)
        yield painted
    finally:
        for process in (painted, message):
            process.terminate()
            process.wait()


def test_pixels_of_wayland_and_x11_windows_and_the_background(desktop):
    assert "wayland" in cli("--version").stdout.lower()
    inside_pattern = (LEFT + 250, TOP + 120)
    expected = {(5, 5): "403020", (LEFT + 50, TOP + 50): FIRST, inside_pattern: bgr(pattern(250, 120)),
                X11_POINT: X11_COLOUR, (LEFT + 400, TOP + 300): "403020"}
    for (x, y), colour in expected.items():
        done = cli("pixel", x, y)
        assert (done.returncode, done.stdout, done.stderr) == (0, colour + "\n", ""), (x, y)
    # The backend named anywhere on the line; the other forms of the colour.
    assert cli("pixel", "--backend", "wayland", LEFT + 50, TOP + 50, "--format", "rgb").stdout == "192,48,32\n"
    assert cli("pixel", LEFT + 50, TOP + 50, "--backend", "wayland").stdout == FIRST + "\n"
    with pelmora.Screen(backend="wayland") as screen:
        assert [screen.pixel(x, y).hex for x, y in expected] == list(expected.values())


def test_find_image_exact_and_similar_and_find_points(desktop, tmp_path):
    piece = pattern_piece(250, 120, 40, 30)
    exact, altered = str(tmp_path / "exact.bmp"), str(tmp_path / "altered.bmp")
    Image.fromarray(piece).save(exact)
    changed = piece.astype(int) + 6
    changed.reshape(-1, 3)[::50] = 0  # one pixel in fifty black, the rest a little lighter
    Image.fromarray(numpy.clip(changed, 0, 255).astype(numpy.uint8)).save(altered)
    at = "%d,%d\n" % (LEFT + 250, TOP + 120)
    assert cli("find-image", exact).stdout == at
    missed = cli("find-image", altered)
    assert (missed.returncode, missed.stdout) == (1, "")
    assert cli("find-image", altered, "--similarity", "0.9").stdout == at
    points = [f"{dx},{dy},{bgr(pattern(250 + dx, 120 + dy))}" for dx, dy in ((1, 0), (0, 1), (-3, 7))]
    assert cli("find-points", bgr(pattern(250, 120)), *points).stdout == at
    with pelmora.Screen(backend="wayland") as screen:
        assert (screen.find_image(exact).x, screen.find_image(exact).y) == (LEFT + 250, TOP + 120)
        similar = screen.find_image(altered, similarity=0.9)
        assert (similar.x, similar.y) == (LEFT + 250, TOP + 120) and 0.9 <= similar.score < 1
        assert screen.find_image(altered) is None


def test_a_snapshot_is_the_screen_pixel_for_pixel(desktop, tmp_path):
    path = str(tmp_path / "screen.bmp")
    done = cli("snapshot", path)
    assert (done.returncode, done.stdout) == (0, path + "\n")
    snapshot = Image.open(path)
    assert snapshot.mode == "RGB" and snapshot.size == (1920, 1080)
    assert snapshot.tobytes() == grim().tobytes()


def test_waits_see_the_window_change_colour(desktop):
    point = (LEFT + 50, TOP + 50)
    waiting = subprocess.Popen([CLI, "wait-colour", *map(str, point), SECOND, "--timeout", "5000"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    time.sleep(0.3)  # a look or more at the first colour; the wait passes either way
    desktop.send_signal(signal.SIGUSR1)
    assert read_line(desktop, 5) == "repainted"
    assert waiting.communicate(timeout=10) == (SECOND + "\n", "") and waiting.returncode == 0
    # And back, seen by the module.
    with pelmora.Screen(backend="wayland") as screen:
        assert screen.wait_colour(*point, SECOND, timeout=1).hex == SECOND
        desktop.send_signal(signal.SIGUSR1)
        assert screen.wait_colour(*point, FIRST, timeout=5).hex == FIRST
        assert read_line(desktop, 5) == "repainted"


def test_what_wayland_hides_is_unavailable_not_wrong():
    for command in ("pointer", "pixel", "window-at 5 5", "window 1", "windows", "cursor-code",
                    "wait-cursor 1 --timeout 100", "pixel 5 5 --window 1", "find-colour 0000FF --title x"):
        done = cli(*command.split())
        lines = done.stderr.splitlines()
        assert (done.returncode, done.stdout, len(lines)) == (3, "", 1), command
        assert lines[0].startswith("pelmora-cli: ") and "Wayland" in lines[0] and "X11" in lines[0], command
    assert issubclass(pelmora.UnavailableError, OSError)
    with pelmora.Screen(backend="wayland") as screen, pytest.raises(pelmora.UnavailableError):
        screen.pointer()


def test_refused_or_unanswered_screenshots_fail_in_time():
    if MODE == "wlr":
        pytest.skip("needs PELMORA_PORTAL_MODE=refuse or silent")
    env = dict(os.environ, PELMORA_PORTAL_TIMEOUT="2")
    started = time.monotonic()
    done = cli("pixel", 5, 5, env=env, timeout=15)
    elapsed = time.monotonic() - started
    lines = done.stderr.splitlines()
    assert (done.returncode, done.stdout, len(lines)) == (3, "", 1) and lines[0].startswith("pelmora-cli: ")
    if MODE == "refuse":
        assert "the desktop refused the screenshot" in lines[0] and elapsed < 2
        with pelmora.Screen(backend="wayland") as screen, pytest.raises(pelmora.DisplayError, match="refused"):
            screen.pixel(5, 5)
    else:
        assert "portal" in lines[0] and "refused" not in lines[0] and 2 <= elapsed < 4.5, (lines[0], elapsed)
