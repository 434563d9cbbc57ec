#!/usr/bin/env python3
"""Every benchmark of the project in one table of medians and ratios.

Usage: bench/report.py [--build-dir DIR] [--no-build] [--runs N] [--quick]

Builds what is missing into DIR (default build/), then runs:
  * every Google Benchmark program of the bench/ rooms (5 repetitions, medians of wall and CPU
    time; the ratio is the share of the period the work must fit in where there is one, else
    wall/CPU, which rises above 1 when the machine is busy or the code waits);
  * bench/startup/measure-startup: first frame of the game against a bare SDL2 window, and the
    resident memory with the window open;
  * bench/measure-game: CPU share of the real game during a whole spin, and the time from a close
    request in the middle of a spin to the end of the process (target under 200 ms, exit code 0);
  * tavrino_timer_timing: a 30 ms Timer control on the SDL backend for 5 s, idle and with two
    busy loops competing for the CPU: mean period and p99 lateness against the ideal grid.
The desktop measurements use $DISPLAY or a private Xvfb, with SDL_AUDIODRIVER=dummy.
--quick: one repetition per benchmark and fewer runs of the desktop measurements.
"""

import argparse
import json
import os
import re
import signal
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BENCH = os.path.join(ROOT, "bench")
TICK_MS = 30.0   # the fast run's timer period
MIX_MS = 10.0    # one period of the sound device
CLOSE_TARGET_MS = 200.0
TIMING_S = 5

# Periods the work of a benchmark must fit in: (name pattern, period in ms, label).
BUDGETS = [
    (re.compile(r"LampStep|FullRepaint|HeadlessSpin"), TICK_MS, "of a 30 ms tick"),
    (re.compile(r"Mix10ms"), MIX_MS, "of 10 ms real time"),
]
UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def bench_rooms():
    """(room, [target names]) of the rooms bench/CMakeLists.txt builds, in its order."""
    with open(os.path.join(BENCH, "CMakeLists.txt")) as f:
        rooms = re.search(r"foreach\(room ([^)]*)\)", f.read()).group(1).split()
    found = []
    for room in rooms:
        path = os.path.join(BENCH, room, "CMakeLists.txt")
        if not os.path.exists(path):
            continue
        with open(path) as f:
            text = f.read()
        targets = re.findall(r"tavrino_add_bench\(\s*([A-Za-z0-9_]+)", text)
        targets += re.findall(r"add_executable\(\s*([A-Za-z0-9_]+)", text)
        found.append((room, targets))
    return found


def build(build_dir, targets):
    if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", *targets], check=True,
                   stdout=subprocess.DEVNULL)


def find_program(build_dir, name):
    for dirpath, _, files in os.walk(build_dir):
        if name in files and os.access(os.path.join(dirpath, name), os.X_OK):
            return os.path.join(dirpath, name)
    sys.exit("%s was not built in %s" % (name, build_dir))


def google_benchmark(program, repetitions):
    out = run([program, "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions,
               "--benchmark_report_aggregates_only=true"])
    if out.returncode != 0:
        print("warning: %s failed: %s" % (program, out.stderr.strip()[-300:]), file=sys.stderr)
        return []
    rows = []
    for b in json.loads(out.stdout)["benchmarks"]:
        # Programs that ask for repetitions themselves report aggregates; a single run has none.
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        scale = UNIT_MS[b.get("time_unit", "ns")]
        name = re.sub(r"/repeats:\d+", "", b.get("run_name", b["name"]))
        rows.append((name, b["real_time"] * scale, b["cpu_time"] * scale))
    return rows


def fmt_ms(ms):
    if ms is None:
        return "-"
    if ms < 0:
        return "-" + fmt_ms(-ms)
    if ms >= 1000:
        return "%.2f s" % (ms / 1000)
    if ms >= 1:
        return "%.2f ms" % ms
    if ms >= 1e-3:
        return "%.2f us" % (ms * 1e3)
    return "%.1f ns" % (ms * 1e6)


def benchmark_rows(build_dir, rooms, repetitions):
    table = []
    for room, targets in rooms:
        for target in targets:
            if target == "tavrino_timer_timing":
                continue
            for name, real_ms, cpu_ms in google_benchmark(find_program(build_dir, target), repetitions):
                ratio, what = real_ms / cpu_ms if cpu_ms else 0.0, "wall/CPU"
                for pattern, period, label in BUDGETS:
                    if pattern.search(name):
                        ratio, what = cpu_ms / period, "CPU " + label
                table.append(("%s %s" % (room, name), fmt_ms(real_ms), fmt_ms(cpu_ms), "%.3g" % ratio, what))
    return table


def start_xvfb():
    display = ":%d" % (os.getpid() % 300 + 1000)
    # -noreset: a desktop's X server does not reset when a program leaves; otherwise every run
    # would start with the server's reset, adding the same delay to the game and the bare window.
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(200):
        if run(["xdpyinfo", "-display", display]).returncode == 0:
            return xvfb, display
        time.sleep(0.05)
    xvfb.kill()
    sys.exit("cannot start Xvfb")


def startup_rows(build_dir, runs):
    out = run([os.path.join(BENCH, "startup", "measure-startup"), "--runs", str(runs),
               find_program(build_dir, "tavrino"), find_program(build_dir, "bare_sdl_window")])
    found = dict(
        (m.group(1), (float(m.group(2)), int(m.group(3))))
        for m in re.finditer(r"^(\S+): first frame median ([0-9.]+) ms .*VmRSS median (\d+) KiB", out.stdout, re.M))
    if "tavrino" not in found or "bare_sdl_window" not in found:
        print("warning: measure-startup: %s" % (out.stdout + out.stderr).strip()[-300:], file=sys.stderr)
        return []
    (game_ms, game_kib), (bare_ms, bare_kib) = found["tavrino"], found["bare_sdl_window"]
    return [
        ("start-up to first frame, tavrino", fmt_ms(game_ms), "-", "%.2f" % (game_ms / bare_ms), "x bare SDL2 window"),
        ("start-up to first frame, bare SDL2", fmt_ms(bare_ms), "-", "1", ""),
        ("VmRSS with the window open, tavrino", "%d KiB" % game_kib, "-", "%.2f" % (game_kib / bare_kib),
         "x bare SDL2 window (%d KiB)" % bare_kib),
    ]


def game_rows(build_dir, runs):
    out = run([os.path.join(BENCH, "measure-game"), "--json", "--runs", str(runs), "--close-helper",
               find_program(build_dir, "x11-close-window"), find_program(build_dir, "tavrino")])
    if out.returncode != 0:
        print("warning: measure-game: %s" % out.stderr.strip()[-300:], file=sys.stderr)
        return []
    r = json.loads(out.stdout.strip().splitlines()[-1])
    return [
        ("CPU of tavrino during a whole spin", fmt_ms(r["spin_wall_s"] * 1000), fmt_ms(r["spin_cpu_s"] * 1000),
         "%.3f" % r["spin_cpu_share"], "CPU/wall (1 = one core)"),
        ("close during a spin to exit", fmt_ms(r["close_ms"]), "-", "%.2f" % (r["close_ms"] / CLOSE_TARGET_MS),
         "of the 200 ms target; max %s; exit %s" % (fmt_ms(r["close_ms_max"]), r["exit_codes"])),
    ]


def timing_once(program):
    out = run([program, str(TIMING_S)])
    if out.returncode != 0:
        print("warning: timer timing: %s" % out.stderr.strip(), file=sys.stderr)
        return None
    return json.loads(out.stdout.strip().splitlines()[-1])


def timing_rows(build_dir):
    program = find_program(build_dir, "tavrino_timer_timing")
    idle = timing_once(program)
    # Two busy loops of our own compete for the CPU; only they are ended afterwards.
    loops = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(2)]
    try:
        loaded = timing_once(program)
    finally:
        for p in loops:
            p.send_signal(signal.SIGKILL)
            p.wait()
    rows = []
    for label, r in (("idle", idle), ("2 busy loops", loaded)):
        if not r:
            continue
        rows.append(("30 ms Timer period, %s" % label, fmt_ms(r["mean_period_ms"]), "-",
                     "%.3f" % (r["mean_period_ms"] / TICK_MS), "x 30 ms (%d ticks, %d grid restarts)"
                     % (r["ticks"], r["grid_restarts"])))
        rows.append(("30 ms Timer p99 lateness, %s" % label, fmt_ms(r["lateness_p99_ms"]), "-",
                     "%.3f" % (r["lateness_p99_ms"] / TICK_MS), "of a period (median %s, max %s)"
                     % (fmt_ms(r["lateness_p50_ms"]), fmt_ms(r["lateness_max_ms"]))))
    if idle and loaded and idle["lateness_p99_ms"] > 0:
        rows.append(("p99 lateness loaded/idle", "-", "-", "%.2f" % (loaded["lateness_p99_ms"] / idle["lateness_p99_ms"]), ""))
    return rows


def print_table(rows):
    header = ("measurement", "median wall", "median CPU", "ratio", "ratio is")
    widths = [max(len(str(r[i])) for r in [header] + rows) for i in range(len(header))]
    line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    repetitions, runs = (1, 2) if args.quick else (5, 5)

    rooms = bench_rooms()
    if not args.no_build:
        targets = [t for _, ts in rooms for t in ts] + ["tavrino", "bare_sdl_window", "x11-close-window"]
        build(build_dir, targets)

    started = time.monotonic()
    with open("/proc/loadavg") as f:
        load_before = f.read().split()[0]
    rows = benchmark_rows(build_dir, rooms, repetitions)

    os.environ["SDL_AUDIODRIVER"] = os.environ.get("SDL_AUDIODRIVER", "dummy")
    xvfb = None
    if not os.environ.get("DISPLAY"):
        xvfb, os.environ["DISPLAY"] = start_xvfb()
    try:
        rows += startup_rows(build_dir, runs)
        rows += game_rows(build_dir, max(1, runs // 2))
        rows += timing_rows(build_dir)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
    with open("/proc/loadavg") as f:
        load_after = f.read().split()[0]
    print_table(rows)
    print("\n%d cores, load average %s before and %s after; %.0f s. Wall times on a busy machine are "
          "inflated: prefer the CPU column." % (os.cpu_count(), load_before, load_after, time.monotonic() - started))


if __name__ == "__main__":
    main()
