#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# OpenCV's template match as the peer of pelmora-cli find-image, timed in-process: loads a
# screen grab and a picture (bitmap files), runs cv2.matchTemplate with TM_SQDIFF on them
# REPEAT times and prints where the best match lies and the median time of one match.
# With --transparent, the picture's pure white pixels are masked out of the match, as
# find-image --transparent FFFFFF leaves them out.
# Usage: opencv_match.py SCREEN.bmp PICTURE.bmp [--transparent] [--repeat N]
# Prints: "found X,Y", "median_ms M", "threads T".
import argparse
import statistics
import sys
import time

import cv2
import numpy


def report(found, times, score=None):
    """Prints what the benchmark reads: where, (the score,) the median time, the threads."""
    print("found none" if found is None else f"found {found[0]},{found[1]}")
    if score is not None:
        print(f"score {score:.4f}")
    print(f"median_ms {statistics.median(times) * 1000:.3f}")
    print(f"threads {cv2.getNumThreads()}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("screen")
    parser.add_argument("picture")
    parser.add_argument("--transparent", action="store_true")
    parser.add_argument("--repeat", type=int, default=21)
    options = parser.parse_args()

    screen = cv2.imread(options.screen, cv2.IMREAD_COLOR)
    picture = cv2.imread(options.picture, cv2.IMREAD_COLOR)
    if screen is None or picture is None:
        print("opencv_match: cannot read the bitmaps", file=sys.stderr)
        return 2
    mask = None
    if options.transparent:
        opaque = numpy.any(picture != 255, axis=2)
        mask = numpy.repeat(opaque[:, :, numpy.newaxis], 3, axis=2).astype(numpy.uint8)

    times = []
    result = None
    for _ in range(options.repeat):
        start = time.perf_counter()
        result = cv2.matchTemplate(screen, picture, cv2.TM_SQDIFF, mask=mask)
        times.append(time.perf_counter() - start)
    _, _, best, _ = cv2.minMaxLoc(result)
    report(best, times)
    return 0


if __name__ == "__main__":
    sys.exit(main())
