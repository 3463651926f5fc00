#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times calls inside one Python process, for the benchmarks of `import pelmora` against what
Python scripts use today (Pillow's ImageGrab). The C++ benchmark shows the screen and runs
this once per benchmark; each call is timed after three untimed ones.

Usage: python_timings.py KIND COUNT [ARGUMENTS]
  pixel X Y | pil_pixel X Y | grab | pil_grab | find_image FILE [SIMILARITY] | grim_pil X Y
Prints the last call's answer on the first line, then COUNT lines of milliseconds."""
import sys
import time

import numpy


def main():
    kind, count, arguments = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    if kind == "grim_pil":
        # A Wayland screen as scripts read it today: grim's PNG of every output, opened by Pillow.
        import subprocess
        import tempfile
        from PIL import Image
        x, y = map(int, arguments)
        path = tempfile.mkdtemp() + "/screen.png"

        def call():
            subprocess.run(["grim", "-t", "png", path], check=True)
            with Image.open(path) as picture:
                return "%02X%02X%02X" % picture.getpixel((x, y))[2::-1]
    elif kind.startswith("pil_"):
        from PIL import ImageGrab
        if kind == "pil_pixel":
            x, y = map(int, arguments)
            call = lambda: "%02X%02X%02X" % ImageGrab.grab().getpixel((x, y))[2::-1]
        else:
            call = lambda: "x".join(map(str, numpy.asarray(ImageGrab.grab()).shape))
    else:
        import pelmora
        screen = pelmora.Screen()
        if kind == "pixel":
            x, y = map(int, arguments)
            call = lambda: screen.pixel(x, y).hex
        elif kind == "grab":
            call = lambda: "x".join(map(str, numpy.asarray(screen.grab()).shape))
        else:
            picture = pelmora.Picture.open(arguments[0])
            similarity = float(arguments[1]) if len(arguments) > 1 else None

            def call():
                match = screen.find_image(picture, similarity=similarity)
                return "none" if match is None else f"{match.x},{match.y}"
    for _ in range(3):
        answer = call()
    times = []
    for _ in range(count):
        start = time.perf_counter()
        answer = call()
        times.append((time.perf_counter() - start) * 1000)
    print(answer)
    for milliseconds in times:
        print(f"{milliseconds:.4f}")


if __name__ == "__main__":
    main()
