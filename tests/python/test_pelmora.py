# SPDX-License-Identifier: MIT
"""import pelmora against pelmora-cli on the X server on DISPLAY, with a window of known
pixels shown by ImageMagick's display: the module answers as the command does."""
import json
import os
import resource
import signal
import subprocess
import sys
import threading
import time

import numpy
import pytest

import pelmora

CLI = os.environ["PELMORA_CLI"]
LEFT, TOP, WIDTH, HEIGHT = 200, 150, 120, 80


def cli(*args):
    done = subprocess.run([CLI, "--json", *args], capture_output=True, text=True)
    return json.loads(done.stdout) if done.returncode == 0 else None


def pattern():
    """Every pixel a colour of its own, and a red 10 x 6 block at 70,40."""
    ys, xs = numpy.mgrid[0:HEIGHT, 0:WIDTH]
    array = numpy.stack([xs * 2, ys * 3, numpy.full_like(xs, 0x40)], axis=2).astype(numpy.uint8)
    array[40:46, 70:80] = (255, 0, 0)
    return array


@pytest.fixture(scope="module")
def shown(tmp_path_factory):
    path = str(tmp_path_factory.mktemp("pelmora") / "pattern.bmp")
    pelmora.Picture.from_array(pattern()).save(path)
    window = subprocess.Popen(["display", "-geometry", f"+{LEFT}+{TOP}", "-title", "pelmora pattern", path])
    with pelmora.Screen() as screen:
        deadline = time.monotonic() + 10
        while screen.find_image(path) is None and time.monotonic() < deadline:
            time.sleep(0.05)
    yield path
    window.kill()
    window.wait()


def test_every_answer_is_pelmora_clis(shown):
    with pelmora.Screen() as screen:
        at = screen.find_image(shown)
        assert (at.x, at.y) == (cli("find-image", shown)["x"], cli("find-image", shown)["y"])
        pixel = screen.pixel(at.x + 75, at.y + 42)
        assert pixel == pelmora.Colour("0000FF") and pixel.hex == cli("pixel", str(at.x + 75), str(at.y + 42))["hex"]
        assert pixel.web == "#FF0000" and pixel.rgb == (255, 0, 0) and pixel.hsl == (0, 240, 120)
        region = (at.x, at.y, WIDTH, HEIGHT)
        red = screen.find_colour("#FF0000", region=region, all=True)
        listed = cli("find-colour", "0000FF", "--region", ",".join(map(str, region)), "--all")["points"]
        assert [(m.x, m.y) for m in red] == [(p["x"], p["y"]) for p in listed] and len(red) == 60
        similar = screen.find_image(shown, similarity=0.9, scales=[1, 0.5])
        assert (similar.x, similar.y, round(similar.score, 4), similar.scale) == (at.x, at.y, 1.0, 1.0)
        points = screen.find_points("0000FF", [(9, 5, "0000FF"), "10,0,!0000FF"], region=region)
        assert (points.x, points.y) == (at.x + 70, at.y + 40)
        window = screen.window_at(at.x + 5, at.y + 5)
        assert window.handle == cli("window-at", str(at.x + 5), str(at.y + 5))["handle"]
        assert [w.handle for w in screen.windows("pelmora pattern")] == [window.handle]
        assert window.client_rect == (at.x, at.y, WIDTH, HEIGHT)
        # Relative to the window's client area, the window's rectangle the region.
        inside = screen.find_colour("0000FF", window=window, client=True)
        assert (inside.x, inside.y) == (70, 40) and screen.pixel(75, 42, window=window.handle, client=True) == pixel
        with pytest.raises(pelmora.WindowError, match="no window 1"):
            screen.pixel(0, 0, window=1)


def test_a_grab_is_a_view_of_the_screen_without_a_copy_and_outlives_its_screen(shown):
    with pelmora.Screen() as screen:
        at = screen.find_image(shown)
        picture = screen.grab((at.x, at.y, WIDTH, HEIGHT))
    view = numpy.asarray(picture)
    assert view.shape == (HEIGHT, WIDTH, 4) and not view.flags.writeable
    # What ImageMagick's import reads of the same rectangle of the screen.
    crop = f"{WIDTH}x{HEIGHT}+{at.x}+{at.y}"
    imported = subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"],
                              capture_output=True, check=True).stdout
    assert (view[:, :, :3] == numpy.frombuffer(imported, numpy.uint8).reshape(HEIGHT, WIDTH, 3)).all()
    assert numpy.asarray(picture).ctypes.data == view.ctypes.data  # the same memory each time
    assert (view[:, :, :3] == pattern()).all() and (view[:, :, 3] == 0).all()
    assert picture.pixel(75, 42) == pelmora.Colour("0000FF") and picture.pixel(WIDTH, 0) is None
    with pytest.raises(ValueError):
        view[0, 0, 0] = 1


def test_bad_arguments_and_no_display_are_named(monkeypatch):
    with pytest.raises(pelmora.DisplayError):
        pelmora.Screen(":97")
    with pytest.raises(ValueError, match="backend"):
        pelmora.Screen(backend="mir")
    monkeypatch.setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus")
    with pytest.raises(pelmora.DisplayError, match="session bus"):
        pelmora.Screen(backend="wayland")
    with pelmora.Screen() as screen:
        for call, error, named in [(lambda: screen.pixel(1), TypeError, "x and y"),
                                   (lambda: screen.find_colour("red"), ValueError, "colour"),
                                   (lambda: screen.find_colour(255), TypeError, "colour"),
                                   (lambda: screen.find_image("/nonexistent.bmp"), OSError, "nonexistent"),
                                   (lambda: screen.find_image(pelmora.Picture.from_array(pattern()), similarity=2),
                                    ValueError, "similarity"),
                                   (lambda: screen.find_points("0000FF", ["1,x,00FF00"]), ValueError, "x"),
                                   (lambda: screen.grab((0, 0, 0, 5)), ValueError, "region")]:
            with pytest.raises(error, match=named):
                call()
    screen.close()
    with pytest.raises(ValueError, match="closed"):
        screen.pointer()


def test_ctrl_c_ends_a_wait_at_once():
    main = threading.get_ident()
    threading.Timer(0.3, lambda: signal.pthread_kill(main, signal.SIGINT)).start()
    started = time.monotonic()
    with pelmora.Screen() as screen, pytest.raises(KeyboardInterrupt):
        screen.wait_colour(0, 0, "123456", timeout=10)
    assert time.monotonic() - started < 1


def test_many_screens_leave_no_descriptors_or_memory():
    def descriptors():
        return len(os.listdir("/proc/self/fd"))

    with pelmora.Screen():
        pass
    before, memory = descriptors(), resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    for _ in range(300):
        with pelmora.Screen() as screen:
            screen.pixel(0, 0)
    assert descriptors() == before
    if "libasan" not in os.environ.get("LD_PRELOAD", ""):  # ASan holds freed memory back on purpose
        assert resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - memory < 20000  # KiB


def test_a_search_and_pixels_from_another_thread_share_a_screen(shown):
    with pelmora.Screen() as screen:
        colours, stop = [], threading.Event()

        def read():
            while not stop.is_set():
                colours.append(screen.pixel(LEFT + 75, TOP + 42))

        reader = threading.Thread(target=read)
        reader.start()
        found = [screen.find_image(shown, similarity=0.9) for _ in range(5)]
        stop.set()
        reader.join()
    assert all(match is not None for match in found) and colours and None not in colours


def test_the_readme_example_runs_as_written(shown, tmp_path):
    readme = open(os.path.join(os.path.dirname(__file__), "..", "..", "README.md"), encoding="utf-8").read()
    example = readme.split("Wait for a button cut in the editor")[1].split("```python\n")[1].split("```")[0]
    button = pelmora.Picture.from_array(pattern()[40:46, 65:85])  # the red block and its edges
    button.save(str(tmp_path / "ok-button.bmp"))
    (tmp_path / "example.py").write_text(example)
    done = subprocess.run([sys.executable, "example.py"], cwd=tmp_path, capture_output=True, text=True, timeout=30)
    assert done.returncode == 0, done.stderr
    assert done.stdout.startswith("the button is now #")


def test_a_lost_display_is_a_display_error_and_the_process_lives_on():
    # A server of its own, on the display number it finds free and tells.
    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-nolisten", "tcp"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True)
    number = server.stdout.readline().strip()
    try:
        with pelmora.Screen(f":{number}") as screen, pelmora.Screen() as other:
            assert screen.pixel(0, 0) is not None
            server.kill()
            server.wait()
            for call in (lambda: screen.pixel(0, 0), screen.windows, lambda: screen.find_colour("000000")):
                with pytest.raises(pelmora.DisplayError, match="lost the connection"):
                    call()
            assert other.pixel(0, 0) is not None  # another display's screen is not lost with it
    finally:
        server.kill()
        for left in (f"/tmp/.X{number}-lock", f"/tmp/.X11-unix/X{number}"):  # what a killed server leaves
            if os.path.exists(left):
                os.remove(left)
