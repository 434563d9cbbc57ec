#!/usr/bin/env python3
"""The program against a display server that is stopped (SIGSTOP), on a private Xvfb: a
termination request still ends it within a second with exit code 0, whether the program sat
waiting for input (SIGTERM) or was stuck inside a window call in the middle of a spin (SIGHUP);
and a program started against a server that is already stopped gives up after 10 s with
"tavrino: display :N does not answer" and exit code 1.

Usage: stopped_display_test.py PROGRAM   (exit code 77, skipped, when there is no Xvfb)
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

from smoke_test import SKIPPED, check, find_main, report_checks, start, wait_until
from play_test import CARS_UP, START, TOP_UP, click, lit_positions, shot

TERMINATION_LIMIT_S = 1.5  # the program's own limit is 1 s; the rest is for a busy machine
ANSWER_TIMEOUT_S = 10      # how long start-up waits for a silent display
SETTLE_S = 0.3             # for the program to run into the stopped server


class PrivateServer:
    """An Xvfb of our own on a free display number, which the test may stop and resume."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp", "-noreset"],
                                     pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            self.proc.kill()
            self.proc.wait()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def stop(self):
        self.proc.send_signal(signal.SIGSTOP)

    def resume(self):
        self.proc.send_signal(signal.SIGCONT)

    def end(self):
        self.resume()
        self.proc.kill()
        self.proc.wait()


def time_to_end(proc, limit):
    """Seconds until `proc` ended (None when it had not after `limit`; it is killed then)."""
    started = time.monotonic()
    try:
        proc.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        return None
    return time.monotonic() - started


def terminate_on_stopped(program, server, request, spinning):
    what = "%s with the display stopped%s" % (request.name, " in a spin" if spinning else "")
    server.resume()
    proc = start(program)
    try:
        main = find_main(proc, "Tavrino", what)
        if main is None:
            return
        if spinning:
            # A top-up, a bet and 开始: the lamp steps and every step is drawn on the display.
            click(main, TOP_UP)
            click(main, CARS_UP)
            click(main, START)
            check(wait_until(lambda: lit_positions(shot(main) or bytes(505 * 584 * 3)) != [], 10),
                  what + ": the spin did not start")
        server.stop()
        time.sleep(SETTLE_S)
        check(proc.poll() is None, what + ": the program ended before the request")
        proc.send_signal(request)
        seconds = time_to_end(proc, 5)
        print("%s: ended after %s s" % (what, "more than 5" if seconds is None else "%.2f" % seconds), flush=True)
        if check(seconds is not None, what + ": the program did not end"):
            check(seconds <= TERMINATION_LIMIT_S, "%s: ended after %.2f s, limit %.1f s"
                  % (what, seconds, TERMINATION_LIMIT_S))
            check(proc.returncode == 0, "%s: exit code %d, expected 0 (stderr: %s)"
                  % (what, proc.returncode, proc.stderr.read().strip()))
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def start_on_stopped(program, server):
    what = "start-up on a stopped display"
    server.stop()
    proc = start(program)
    seconds = time_to_end(proc, ANSWER_TIMEOUT_S + 5)
    print("%s: gave up after %s s" % (what, "more than 15" if seconds is None else "%.2f" % seconds), flush=True)
    if not check(seconds is not None, what + ": the program did not give up"):
        return
    err = proc.stderr.read()
    check(ANSWER_TIMEOUT_S - 0.5 <= seconds <= ANSWER_TIMEOUT_S + 2,
          "%s: gave up after %.2f s, expected about %d" % (what, seconds, ANSWER_TIMEOUT_S))
    check(proc.returncode == 1, "%s: exit code %d, expected 1" % (what, proc.returncode))
    check("tavrino: display %s does not answer\n" % server.display in err, "%s: stderr %r" % (what, err))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    args = parser.parse_args()
    if shutil.which("Xvfb") is None:
        print("no Xvfb: skipped")
        return SKIPPED
    server = PrivateServer()
    try:
        os.environ["DISPLAY"] = server.display  # for the program and the window tools alike
        terminate_on_stopped(args.program, server, signal.SIGTERM, spinning=False)
        terminate_on_stopped(args.program, server, signal.SIGHUP, spinning=True)
        start_on_stopped(args.program, server)
    finally:
        server.end()
    return report_checks()


if __name__ == "__main__":
    sys.exit(main())
