#!/usr/bin/env python3
"""End-to-end smoke test on a real X server: starts the program on $DISPLAY, finds its window,
checks its size, place and caption, and closes it as a window manager would (WM_DELETE_WINDOW)
and as the system would (SIGTERM); the program must end with exit code 0 each time.

Usage: smoke_test.py --close-helper PATH [--caption TEXT] [--demo] PROGRAM

--demo adds the checks only the demo program supports: its painted colours and icon, a click, a
double click, a key, a typed character and the wheel reaching the window, and a modal box
(--box) that takes the close request meant for it, keeps input away from the main window and
lets the main window's timer go on painting. Exit code 77 (skipped) when there is no display.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
CLIENT_SIZE = (505, 584)
FIND_TIMEOUT_S = 10
EXIT_TIMEOUT_S = 10
POLL_S = 0.05

BACKGROUND = (0x20, 0x60, 0xA0)
CORNER_MARK = (0xFF, 0x00, 0x00)
CLICK_MARK = (0x00, 0xFF, 0x00)
DOUBLE_CLICK_MARK = (0x00, 0xFF, 0xFF)
KEY_MARK = ((65, 5), (0xFF, 0xFF, 0x00))
CHAR_MARK = ((95, 5), (0xFF, 0x00, 0xFF))
WHEEL_MARK = ((125, 5), (0xFF, 0xFF, 0xFF))
BLINK_AT = (155, 5)  # black and white in turn, every 100 ms
ICON_PREFIX = "16, 16, %d" % 0xFF2060A0  # width, height, first ARGB pixel
BOX_CAPTION = "信息提示！"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def run(args, timeout=FIND_TIMEOUT_S, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=timeout, **kwargs)


def window_name(wid):
    result = run(["xdotool", "getwindowname", str(wid)])
    return result.stdout.rstrip("\n") if result.returncode == 0 else None


def find_windows(pid, name):
    """Ids of the process's visible windows named exactly `name` (the name read back as UTF-8
    from _NET_WM_NAME), waiting until there is one."""
    deadline = time.monotonic() + FIND_TIMEOUT_S
    while time.monotonic() < deadline:
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)]).stdout
        found = [int(w) for w in out.split() if window_name(w) == name]
        if found:
            return found
        time.sleep(POLL_S)
    return []


def window_exists(wid):
    return window_name(wid) is not None


def geometry(wid):
    out = run(["xdotool", "getwindowgeometry", "--shell", str(wid)]).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screen_size():
    width, height = run(["xdotool", "getdisplaygeometry"]).stdout.split()
    return int(width), int(height)


def has_window_manager(display=None):
    """True when a window manager runs on the display: the root's _NET_SUPPORTING_WM_CHECK names
    a window that exists and names itself. A window manager that has ended leaves the root's
    property behind on a server started with -noreset, so the property alone is not enough."""
    env = dict(os.environ, DISPLAY=display) if display else None
    out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env).stdout
    named = re.findall(r"window id # (0x[0-9a-f]+)", out)
    if not named:
        return False
    own = run(["xprop", "-id", named[0], "_NET_SUPPORTING_WM_CHECK"], env=env)
    return own.returncode == 0 and named == re.findall(r"window id # (0x[0-9a-f]+)", own.stdout)


def pixel(wid, x, y):
    """The colour at a client point of the window, from a screenshot."""
    with tempfile.TemporaryDirectory() as tmp:
        shot = os.path.join(tmp, "shot.png")
        if run(["import", "-window", str(wid), shot]).returncode != 0:
            return None
        out = run(["convert", shot, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"]).stdout
    match = re.search(r"#([0-9A-Fa-f]{6})", out)
    if not match:
        return None
    value = int(match.group(1), 16)
    return (value >> 16, (value >> 8) & 0xFF, value & 0xFF)


def wait_for_pixel(wid, x, y, colour, timeout=FIND_TIMEOUT_S):
    deadline = time.monotonic() + timeout
    seen = None
    while time.monotonic() < deadline:
        seen = pixel(wid, x, y)
        if seen == colour:
            return True
        time.sleep(POLL_S * 4)
    print("  pixel (%d, %d) is %s, expected %s" % (x, y, seen, colour), flush=True)
    return False


def wait_until(predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(POLL_S)
    return predicate()


def finish(proc, what):
    try:
        code = proc.wait(timeout=EXIT_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        check(False, what + ": the program did not end")
        return
    err = proc.stderr.read() if proc.stderr else ""
    check(code == 0, "%s: exit code %d, expected 0 (stderr: %s)" % (what, code, err.strip()))


def start(program, *args):
    return subprocess.Popen([program, *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)


def find_main(proc, caption, what):
    ids = find_windows(proc.pid, caption)
    if len(ids) != 1:
        state = proc.poll()
        proc.kill()
        proc.wait()
        check(False, "%s: expected one window named %r, found %s (program %s; stderr: %s)"
              % (what, caption, ids, "running" if state is None else "ended with %d" % state, proc.stderr.read().strip()))
        return None
    return ids[0]


def test_no_display(program):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = run([program], env=env)
    check(result.returncode == 1, "without a display the program must exit 1, it exited %d" % result.returncode)
    check("tavrino: cannot open the display (DISPLAY is not set)" in result.stderr,
          "without a display the program must say DISPLAY is not set, it said %r" % result.stderr)
    env["DISPLAY"] = ":4711"  # no server there
    result = run([program], env=env)
    check(result.returncode == 1 and "tavrino: cannot open display :4711" in result.stderr,
          "with a display that is not there: exit %d, %r" % (result.returncode, result.stderr))


def test_command_line(program):
    """--help and --version answer on stdout and exit 0 without a window; an unknown option
    prints the usage on stderr and exits 2."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = run([program, "--help"], env=env)
    check(result.returncode == 0 and result.stdout.startswith("Usage: tavrino") and "Keys:" in result.stdout,
          "--help: exit %d, %r" % (result.returncode, result.stdout[:200]))
    result = run([program, "--version"], env=env)
    check(result.returncode == 0 and re.fullmatch(r"tavrino \d+(\.\d+)+\n", result.stdout) is not None,
          "--version: exit %d, %r" % (result.returncode, result.stdout))
    result = run([program, "--no-such-option"])
    check(result.returncode == 2 and "Usage: tavrino" in result.stderr and result.stdout == "",
          "an unknown option: exit %d, stderr %r" % (result.returncode, result.stderr[:200]))


def test_window_and_close(program, helper, caption, demo):
    what = "close by WM_DELETE_WINDOW"
    proc = start(program)
    wid = find_main(proc, caption, what)
    if wid is None:
        return
    x, y, width, height = geometry(wid)
    check((width, height) == CLIENT_SIZE, "window size %dx%d, expected %dx%d" % (width, height, *CLIENT_SIZE))
    screen_w, screen_h = screen_size()
    centre = ((screen_w - width) // 2, (screen_h - height) // 2)
    if has_window_manager():
        # The frame shifts the client area by a title bar's height or so.
        check(abs(x - centre[0]) <= 40 and abs(y - centre[1]) <= 40, "window at %d,%d is not centred" % (x, y))
    else:
        check((x, y) == centre, "window at %d,%d, expected the centre %d,%d" % (x, y, *centre))

    if demo:
        check(wait_for_pixel(wid, 250, 300, BACKGROUND), "the background is not painted")
        check(wait_for_pixel(wid, 5, 5, CORNER_MARK), "the corner mark is not at the top-left")
        run(["xdotool", "mousemove", "--window", str(wid), "200", "300", "click", "1"])
        check(wait_for_pixel(wid, 200, 300, CLICK_MARK), "a click did not reach the window")
        # Two clicks in quick succession: press, release, double click, release.
        run(["xdotool", "mousemove", "--window", str(wid), "400", "100", "click", "--repeat", "2", "--delay", "80", "1"])
        check(wait_for_pixel(wid, 400, 100, DOUBLE_CLICK_MARK), "a double click was not reported")
        run(["xdotool", "click", "4"])  # one wheel notch away from the user
        check(wait_for_pixel(wid, *WHEEL_MARK[0], WHEEL_MARK[1]), "the wheel was not reported as +120")
        run(["xdotool", "key", "--window", str(wid), "k"])
        check(wait_for_pixel(wid, *KEY_MARK[0], KEY_MARK[1]), "the K key did not arrive as virtual key 'K'")
        check(wait_for_pixel(wid, *CHAR_MARK[0], CHAR_MARK[1]), "typing k did not arrive as the character 'k'")
        icon = run(["xprop", "-id", str(wid), "-f", "_NET_WM_ICON", "32c", " = $0, $1, $2\n", "_NET_WM_ICON"]).stdout
        check(ICON_PREFIX in icon, "the icon is not the 16x16 blue square: %r" % icon[:80])

    check(run([helper, str(wid)]).returncode == 0, "the close message could not be sent")
    finish(proc, what)


def test_sigterm(program, caption):
    what = "SIGTERM"
    proc = start(program)
    if find_main(proc, caption, what) is None:
        return
    proc.send_signal(signal.SIGTERM)
    finish(proc, what)


def test_modal_box(program, helper, caption):
    what = "modal box"
    proc = start(program, "--box")
    main = find_main(proc, caption, what)
    if main is None:
        return
    boxes = find_windows(proc.pid, BOX_CAPTION)
    if not check(len(boxes) == 1, "%s: expected one box named %r, found %s" % (what, BOX_CAPTION, boxes)):
        proc.kill()
        proc.wait()
        return
    box = boxes[0]
    # Under the box the main window goes on ticking and painting; a click on it does nothing;
    # the box's close closes only the box.
    check(wait_for_pixel(main, 300, 500, BACKGROUND), "the main window is not painted under the box")
    check(wait_for_pixel(main, *BLINK_AT, (0xFF, 0xFF, 0xFF)) and wait_for_pixel(main, *BLINK_AT, (0, 0, 0)),
          "the main window's timer does not tick while the box is open")
    run(["xdotool", "mousemove", "--window", str(main), "300", "500", "click", "1"])
    check(run([helper, str(box)]).returncode == 0, "the close message could not be sent to the box")
    check(wait_until(lambda: not window_exists(box), EXIT_TIMEOUT_S), "the box did not close")
    check(proc.poll() is None and window_exists(main), "closing the box closed the program")
    check(pixel(main, 300, 500) == BACKGROUND, "a click reached the main window while the box was open")
    # Enabled again, the main window takes clicks.
    run(["xdotool", "mousemove", "--window", str(main), "100", "500", "click", "1"])
    check(wait_for_pixel(main, 100, 500, CLICK_MARK), "a click after the box closed did not reach the window")
    check(run([helper, str(main)]).returncode == 0, "the close message could not be sent")
    finish(proc, what)


def run_checks(body):
    """Runs body() with one X connection held open and reports the checks: 0 when all passed,
    1 when any failed, 77 (skipped) when there is no display."""
    if not os.environ.get("DISPLAY"):
        print("no DISPLAY: skipped")
        return SKIPPED
    # An X server resets when its last client leaves, and a program connecting just then fails:
    # keep one connection open for the whole test.
    keeper = subprocess.Popen(["xprop", "-root", "-spy", "_NET_ACTIVE_WINDOW"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        body()
    finally:
        keeper.terminate()
        keeper.wait()
    return report_checks()


def report_checks():
    """Prints how the checks went: 0 when all passed, 1 when any failed."""
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all checks passed")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--close-helper", required=True)
    parser.add_argument("--caption", default="Tavrino")
    parser.add_argument("--demo", action="store_true")
    parser.add_argument("program")
    args = parser.parse_args()

    def body():
        test_no_display(args.program)
        if not args.demo:
            test_command_line(args.program)
        test_window_and_close(args.program, args.close_helper, args.caption, args.demo)
        test_sigterm(args.program, args.caption)
        if args.demo:
            test_modal_box(args.program, args.close_helper, args.caption)

    return run_checks(body)


if __name__ == "__main__":
    sys.exit(main())
