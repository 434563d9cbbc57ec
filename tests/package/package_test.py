#!/usr/bin/env python3
"""The Debian package: made with cpack from the build folder into a scratch folder, unpacked
into a scratch root (dpkg -x), its fields, files, desktop entry and AppStream record checked,
and the packaged program run (--version, --help).

Usage: package_test.py --cpack PATH --config CPackConfig.cmake --version VERSION
"""

import argparse
import glob
import os
import subprocess
import sys
import tempfile

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=300, **kwargs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        made = run([args.cpack, "-G", "DEB", "--config", args.config, "-B", scratch])
        if not check(made.returncode == 0, "cpack failed: " + made.stdout[-2000:] + made.stderr[-2000:]):
            return 1
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        deb = os.path.join(scratch, "tavrino_%s_%s.deb" % (args.version, arch))
        if not check(os.path.isfile(deb), "no %s among %s" % (os.path.basename(deb), os.listdir(scratch))):
            return 1

        field = lambda name: run(["dpkg-deb", "-f", deb, name]).stdout.strip()
        check(field("Package") == "tavrino" and field("Version") == args.version, "name and version of the package")
        depends = field("Depends")
        print("Depends: " + depends, flush=True)
        # Found by dpkg-shlibdeps: the C library and SDL2 at least, with versions.
        for lib in ("libc6 (>=", "libsdl2-2.0-0 (>=", "libx11-6", "fonts-noto-cjk | fonts-arphic-uming"):
            check(lib in depends, "Depends lacks %r: %s" % (lib, depends))

        root = os.path.join(scratch, "root")
        check(run(["dpkg", "-x", deb, root]).returncode == 0, "dpkg -x failed")
        share = os.path.join(root, "usr", "share")
        program = os.path.join(root, "usr", "bin", "tavrino")
        desktop = os.path.join(share, "applications", "io.github.tavrino.Tavrino.desktop")
        metainfo = os.path.join(share, "metainfo", "io.github.tavrino.Tavrino.metainfo.xml")
        check(os.path.isfile(program) and os.access(program, os.X_OK), "not an executable: " + program)
        for size in (32, 48, 64, 96, 128):
            icon = os.path.join(share, "icons", "hicolor", "%dx%d" % (size, size), "apps", "tavrino.png")
            check(os.path.isfile(icon), "no icon " + icon)
        files = sorted(os.path.relpath(p, root) for p in glob.glob(root + "/**", recursive=True) if os.path.isfile(p))
        check(all(f.startswith("usr/") for f in files), "files outside /usr: %s" % files)
        print("%d files" % len(files), flush=True)

        if check(os.path.isfile(desktop), "no desktop entry"):
            result = run(["desktop-file-validate", desktop])
            check(result.returncode == 0 and not result.stdout.strip(), "desktop-file-validate: " + result.stdout + result.stderr)
        if check(os.path.isfile(metainfo), "no AppStream record"):
            result = run(["appstreamcli", "validate", "--no-net", metainfo])
            check(result.returncode == 0, "appstreamcli validate: " + result.stdout + result.stderr)

        # The packaged program answers without a display.
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        result = run([program, "--version"], env=env)
        check(result.returncode == 0 and result.stdout == "tavrino %s\n" % args.version,
              "--version of the packaged program: %d %r" % (result.returncode, result.stdout))

    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
