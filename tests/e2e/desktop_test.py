#!/usr/bin/env python3
"""End-to-end test of the game as a desktop citizen, under a real window manager (openbox,
started here when none runs, and stopped again): the window's icon, class and type, its frame
centred on the screen, the message box as a modal dialog of the game's window that takes the
keyboard back when the game's window is clicked, the keys that play, and on a small screen
(a private 640x480 Xvfb) the window kept on the work area, title bar first.

Usage: desktop_test.py --close-helper PATH --desktop-file PATH PROGRAM   (77 without a display)
"""

import argparse
import os
import re
import subprocess
import sys
import time

from play_test import lit_positions, shot
from smoke_test import (check, find_main, find_windows, finish, has_window_manager, run, run_checks, wait_until,
                        window_exists)

BOX_CAPTION = "信息提示！"
START = (465, 520)          # 按钮1 "开始"
CENTRE_TOLERANCE = 2
WM_TIMEOUT_S = 10


def prop(wid, name, display=None):
    env = dict(os.environ, DISPLAY=display) if display else None
    return run(["xprop", "-id", str(wid), name], env=env).stdout


def atoms(wid, name, display=None):
    text = prop(wid, name, display)
    return re.findall(r"[A-Z_][A-Z0-9_]+", text.split("=", 1)[1]) if "=" in text else []


def cardinals(wid, name, display=None):
    env = dict(os.environ, DISPLAY=display) if display else None
    # Every value on one line, whatever xprop would otherwise draw (it draws icons as pictures).
    text = run(["xprop", "-id", str(wid), "-notype", "-f", name, "32c", "=$0+\n", name], env=env).stdout
    return [int(v) for v in re.findall(r"-?\d+", text.split("=", 1)[1])] if "=" in text else []


class WindowManager:
    """openbox on `display` for the length of a with-block, unless a window manager runs there."""

    def __init__(self, display):
        self.display = display
        self.proc = None

    def __enter__(self):
        if not has_window_manager(self.display):
            self.proc = subprocess.Popen(["openbox", "--sm-disable"], env=dict(os.environ, DISPLAY=self.display),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            check(wait_until(lambda: has_window_manager(self.display), WM_TIMEOUT_S), "openbox did not start on " + self.display)
        return self

    def __exit__(self, *exc):
        if self.proc:
            self.proc.terminate()
            self.proc.wait(timeout=WM_TIMEOUT_S)


def client_geometry(wid, display=None):
    """(x, y, width, height) of the client area on the screen, from xwininfo."""
    env = dict(os.environ, DISPLAY=display) if display else None
    out = run(["xwininfo", "-id", str(wid)], env=env).stdout
    value = lambda key: int(re.search(key + r":\s+(-?\d+)", out).group(1))
    return value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height")


def frame_geometry(wid, display=None):
    """(x, y, width, height) of the window manager's frame, from the client and _NET_FRAME_EXTENTS."""
    x, y, w, h = client_geometry(wid, display)
    left, right, top, bottom = (cardinals(wid, "_NET_FRAME_EXTENTS", display) + [0, 0, 0, 0])[:4]
    return x - left, y - top, w + left + right, h + top + bottom


def work_area(display=None):
    env = dict(os.environ, DISPLAY=display) if display else None
    out = run(["xprop", "-root", "_NET_WORKAREA"], env=env).stdout
    return [int(v) for v in re.findall(r"\d+", out.split("=", 1)[1])][:4]


def startup_wm_class(desktop_file):
    with open(desktop_file, encoding="utf-8") as f:
        match = re.search(r"^StartupWMClass=(.*)$", f.read(), re.M)
    return match.group(1).strip() if match else None


def start(program, display=None, *args):
    env = dict(os.environ, DISPLAY=display) if display else None
    return subprocess.Popen([program, *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, env=env)


def test_main_window(program, helper, desktop_file):
    what = "main window"
    proc = start(program)
    main = find_main(proc, "Tavrino", what)
    if main is None:
        return
    # The icon at its sizes, largest first: 64, 32, 16.
    icon = cardinals(main, "_NET_WM_ICON")
    check(icon[:2] == [64, 64] and len(icon) == 2 + 64 * 64 + 2 + 32 * 32 + 2 + 16 * 16,
          "_NET_WM_ICON: %d values starting %s" % (len(icon), icon[:2]))
    wm_class = re.findall(r'"([^"]*)"', prop(main, "WM_CLASS"))
    wanted = startup_wm_class(desktop_file)
    check(wanted is not None and len(wm_class) == 2 and wm_class[1] == wanted,
          "WM_CLASS %s does not match StartupWMClass %r" % (wm_class, wanted))
    check("not found" in prop(main, "WM_TRANSIENT_FOR"), "the main window is transient: " + prop(main, "WM_TRANSIENT_FOR"))
    # The window manager frames the window and fills in its properties after the window shows.
    check(wait_until(lambda: atoms(main, "_NET_WM_ALLOWED_ACTIONS") and cardinals(main, "_NET_FRAME_EXTENTS"), WM_TIMEOUT_S),
          "the window manager did not take the window on")
    actions = atoms(main, "_NET_WM_ALLOWED_ACTIONS")
    check("_NET_WM_ACTION_MINIMIZE" in actions and "_NET_WM_ACTION_CLOSE" in actions, "actions offered: %s" % actions)
    # No resizing or maximising (_MOTIF_WM_HINTS). openbox offers full screen to every normal
    # window whatever the hints say, so that one is only reported.
    check(not any(a in actions for a in ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE")),
          "a fixed-size window offers %s" % actions)
    print("full screen offered: %s" % ("_NET_WM_ACTION_FULLSCREEN" in actions), flush=True)

    fx, fy, fw, fh = frame_geometry(main)
    wx, wy, ww, wh = work_area()
    print("frame %dx%d at %d,%d in the work area %dx%d at %d,%d" % (fw, fh, fx, fy, ww, wh, wx, wy), flush=True)
    check(abs(fx - (wx + (ww - fw) // 2)) <= CENTRE_TOLERANCE and abs(fy - (wy + (wh - fh) // 2)) <= CENTRE_TOLERANCE,
          "the frame %dx%d at %d,%d is not centred on the work area" % (fw, fh, fx, fy))

    # No bet: 开始 is refused in a box, a modal dialog of the main window centred on it.
    run(["xdotool", "mousemove", "--window", str(main), str(START[0]), str(START[1]), "click", "1"])
    boxes = find_windows(proc.pid, BOX_CAPTION)
    if check(len(boxes) == 1, "开始 without a bet showed no box"):
        box = boxes[0]
        check(atoms(box, "_NET_WM_WINDOW_TYPE")[:1] == ["_NET_WM_WINDOW_TYPE_DIALOG"],
              "the box's type: %s" % atoms(box, "_NET_WM_WINDOW_TYPE"))
        check("_NET_WM_STATE_MODAL" in atoms(box, "_NET_WM_STATE"), "the box is not modal: %s" % atoms(box, "_NET_WM_STATE"))
        transient = re.findall(r"0x[0-9a-f]+", prop(box, "WM_TRANSIENT_FOR"))
        check([int(t, 16) for t in transient] == [main], "the box is transient for %s, not %#x" % (transient, main))
        check(cardinals(box, "_NET_WM_ICON")[:2] == [64, 64], "the box has no icon")
        box_actions = atoms(box, "_NET_WM_ALLOWED_ACTIONS")
        check(not any(a in box_actions for a in ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_RESIZE")),
              "the box offers %s" % box_actions)
        bx, by, bw, bh = frame_geometry(box)
        fx, fy, fw, fh = frame_geometry(main)
        check(abs((bx + bw // 2) - (fx + fw // 2)) <= CENTRE_TOLERANCE and abs((by + bh // 2) - (fy + fh // 2)) <= CENTRE_TOLERANCE,
              "the box %dx%d at %d,%d is not centred on the main frame %dx%d at %d,%d" % (bw, bh, bx, by, fw, fh, fx, fy))
        # A click on the game's window hands the keyboard back to the box: Enter closes it.
        run(["xdotool", "mousemove", "--window", str(main), "200", "200", "click", "1"])
        time.sleep(0.3)
        run(["xdotool", "key", "Return"])
        check(wait_until(lambda: not window_exists(box), 5), "Enter after a click on the game's window did not close the box")
    # The keys play: A tops up, 1 bets on the cars, Shift+2 takes back a bet never placed (the
    # game refuses nothing there), Enter starts: the lamp runs and no refusal box comes up.
    run(["xdotool", "windowactivate", "--sync", str(main)])
    run(["xdotool", "key", "--delay", "150", "a", "1", "shift+2", "Return"])
    check(wait_until(lambda: bool(lit_positions(shot(main) or bytes(505 * 584 * 3))), 10),
          "A, 1 and Enter did not start a spin")
    if os.environ.get("TAVRINO_SCREENSHOT"):
        run(["import", "-window", "root", os.environ["TAVRINO_SCREENSHOT"]])
    check(run([helper, str(main)]).returncode == 0, "the close message could not be sent")
    finish(proc, what)


def test_small_screen(program, helper):
    """On a 640x480 screen the frame's top-left corner (title bar and close box) is on the work area."""
    what = "small screen"
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        display = ":" + xvfb.stdout.readline().strip()
        keeper = subprocess.Popen(["xprop", "-root", "-spy", "_NET_ACTIVE_WINDOW"], env=dict(os.environ, DISPLAY=display),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with WindowManager(display):
            proc = start(program, display)
            env_before = os.environ.get("DISPLAY")
            os.environ["DISPLAY"] = display
            try:
                main = find_main(proc, "Tavrino", what)
                if main is not None:
                    fx, fy, fw, fh = frame_geometry(main, display)
                    wx, wy, ww, wh = work_area(display)
                    print("small screen: frame %dx%d at %d,%d, work area %dx%d at %d,%d" % (fw, fh, fx, fy, ww, wh, wx, wy),
                          flush=True)
                    check(fx >= wx and fx + fw <= wx + ww, "the frame is not whole across the work area: x = %d" % fx)
                    check(fy == wy, "the title bar is not at the top of the work area: frame y = %d" % fy)
                    check(run([helper, str(main)]).returncode == 0, "the close message could not be sent")
                    finish(proc, what)
            finally:
                os.environ["DISPLAY"] = env_before
        keeper.terminate()
        keeper.wait()
    finally:
        xvfb.terminate()
        xvfb.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--close-helper", required=True)
    parser.add_argument("--desktop-file", required=True)
    parser.add_argument("program")
    args = parser.parse_args()

    def body():
        with WindowManager(os.environ["DISPLAY"]):
            test_main_window(args.program, args.close_helper, args.desktop_file)
        test_small_screen(args.program, args.close_helper)

    return run_checks(body)


if __name__ == "__main__":
    sys.exit(main())
