#!/usr/bin/env python3
"""End-to-end play of the real game on an X server, as a person would with the mouse: a spin
without bets is refused in a box, then a top-up, a bet on the cars and a spin that runs until the
lamp rests on exactly one ring position; the window is closed as a window manager would and the
program must end with exit code 0.

Usage: play_test.py --close-helper PATH PROGRAM   (exit code 77, skipped, when there is no display)
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

from smoke_test import (check, find_main, find_windows, finish, run, run_checks, start, wait_until,
                        window_exists)

BOX_CAPTION = "信息提示！"
BOX_OK = (95, 51)          # the OK button in the client area of a one-button box
TOP_UP = (465, 453)        # 按钮2 "上分"
START = (465, 520)         # 按钮1 "开始"
CARS_UP = (37, 526)        # upper arrow of 调节器1
RING = (0, 0, 420, 420)    # the ring and what it holds
SPIN_TIMEOUT_S = 60
STILL_FOR_S = 2.0

# Top-left corners of the twenty ring pictures; a lit lamp paints its red frame over them.
RING_CORNERS = [(16 + 67 * i, 16) for i in range(6)] + [(351, 16 + 67 * i) for i in range(1, 6)] \
    + [(351 - 67 * i, 351) for i in range(1, 6)] + [(16, 351 - 67 * i) for i in range(1, 5)]


def click(wid, point):
    run(["xdotool", "mousemove", "--window", str(wid), str(point[0]), str(point[1]), "click", "1"])


def shot(wid):
    """The client pixels of the window as raw RGB rows, or None."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "shot.png")
        if run(["import", "-window", str(wid), path]).returncode != 0:
            return None
        out = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, timeout=10)
        return out.stdout if out.returncode == 0 else None


def ring_of(pixels):
    x, y, w, h = RING
    row = 505 * 3
    return b"".join(pixels[(y + r) * row + x * 3:(y + r) * row + (x + w) * 3] for r in range(h))


def lit_positions(pixels):
    lit = []
    for k, (x, y) in enumerate(RING_CORNERS, start=1):
        r, g, b = pixels[(y * 505 + x) * 3:(y * 505 + x) * 3 + 3]
        if r > 200 and g < 50 and b < 50:
            lit.append(k)
    return lit


def wait_for_rest(wid):
    """Waits until the ring has a lit lamp and has not changed for STILL_FOR_S."""
    deadline = time.monotonic() + SPIN_TIMEOUT_S
    last, since = None, time.monotonic()
    while time.monotonic() < deadline:
        pixels = shot(wid)
        if pixels and len(pixels) >= 505 * 584 * 3:
            ring = ring_of(pixels)
            if ring != last:
                last, since = ring, time.monotonic()
            elif lit_positions(pixels) and time.monotonic() - since >= STILL_FOR_S:
                return pixels
        time.sleep(0.25)
    return None


def play(program, helper):
    proc = start(program)
    main = find_main(proc, "Tavrino", "play")
    if main is None:
        return
    # No bet yet: 开始 is refused in a box, and the box's OK closes it.
    click(main, START)
    boxes = find_windows(proc.pid, BOX_CAPTION)
    if check(len(boxes) == 1, "开始 without a bet showed no refusal box"):
        click(boxes[0], BOX_OK)
        check(wait_until(lambda: not window_exists(boxes[0]), 10), "the box's OK did not close it")
    check(lit_positions(shot(main) or bytes(505 * 584 * 3)) == [], "a lamp is lit before any spin")

    click(main, TOP_UP)
    click(main, CARS_UP)
    click(main, START)
    pixels = wait_for_rest(main)
    if check(pixels is not None, "the lamp did not come to rest within %d s" % SPIN_TIMEOUT_S):
        lit = lit_positions(pixels)
        check(len(lit) == 1, "after the spin exactly one lamp must be lit, found %s" % lit)
        print("the lamp rests on position %s" % lit, flush=True)
    check(proc.poll() is None, "the program ended during play")
    check(run([helper, str(main)]).returncode == 0, "the close message could not be sent")
    finish(proc, "play")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--close-helper", required=True)
    parser.add_argument("program")
    args = parser.parse_args()
    return run_checks(lambda: play(args.program, args.close_helper))


if __name__ == "__main__":
    sys.exit(main())
