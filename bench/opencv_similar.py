#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The peers of pelmora-cli find-image --similarity, on the same screen:
#   match SCREEN.bmp PICTURE.bmp: OpenCV's TM_CCOEFF_NORMED match alone, timed in-process
#     REPEAT times on a bitmap of the screen; prints the best place and its score.
#   pipeline PICTURE.bmp THRESHOLD: the whole call of the usual Python pipeline, timed
#     REPEAT times: the screen grabbed with PIL's ImageGrab, matched with TM_CCOEFF_NORMED,
#     and the first place in reading order whose score exceeds THRESHOLD taken.
# Prints: "found X,Y" (or "found none"), "score S", "median_ms M", "threads T".
import argparse
import sys
import time

import cv2
import numpy

from opencv_match import report


def first_over(result, threshold):
    places = numpy.flatnonzero(result > threshold)
    if places.size == 0:
        return None
    y, x = numpy.unravel_index(places[0], result.shape)
    return int(x), int(y)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["match", "pipeline"])
    parser.add_argument("files", nargs="+")
    parser.add_argument("--threshold", type=float, default=0.9)
    parser.add_argument("--repeat", type=int, default=11)
    options = parser.parse_args()

    times = []
    found = None
    score = 0.0
    if options.mode == "match":
        screen = cv2.imread(options.files[0], cv2.IMREAD_COLOR)
        picture = cv2.imread(options.files[1], cv2.IMREAD_COLOR)
        if screen is None or picture is None:
            print("opencv_similar: cannot read the bitmaps", file=sys.stderr)
            return 2
        for _ in range(options.repeat):
            start = time.perf_counter()
            result = cv2.matchTemplate(screen, picture, cv2.TM_CCOEFF_NORMED)
            times.append(time.perf_counter() - start)
        _, score, _, found = cv2.minMaxLoc(result)
    else:
        from PIL import ImageGrab

        picture = cv2.imread(options.files[0], cv2.IMREAD_COLOR)
        if picture is None:
            print("opencv_similar: cannot read the bitmap", file=sys.stderr)
            return 2
        for _ in range(options.repeat):
            start = time.perf_counter()
            screen = cv2.cvtColor(numpy.array(ImageGrab.grab()), cv2.COLOR_RGB2BGR)
            result = cv2.matchTemplate(screen, picture, cv2.TM_CCOEFF_NORMED)
            found = first_over(result, options.threshold)
            times.append(time.perf_counter() - start)
        if found is not None:
            score = float(result[found[1], found[0]])
    report(found, times, score)
    return 0


if __name__ == "__main__":
    sys.exit(main())
