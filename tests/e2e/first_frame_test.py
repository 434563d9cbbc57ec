#!/usr/bin/env python3
"""The main window's first frame as two builds paint it (tavrino-first-frame of each), compared
pixel for pixel: the Windows build under Wine against the Linux build, with the same font files.

Usage: first_frame_test.py REFERENCE_PROGRAM PROGRAM   (77 when REFERENCE_PROGRAM is not built)
"""

import os
import subprocess
import sys
import tempfile


def frame(program, path):
    result = subprocess.run([program, path], capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        sys.exit("%s exited %d: %s" % (program, result.returncode, result.stderr.strip()))
    with open(path, "rb") as f:
        data = f.read()
    # "P6\n<width> <height>\n255\n" then three bytes a pixel.
    magic, size, depth, pixels = data.split(b"\n", 3)
    width, height = (int(v) for v in size.split())
    if magic != b"P6" or depth != b"255" or len(pixels) != 3 * width * height:
        sys.exit("%s wrote no picture of its frame" % program)
    return width, height, pixels


def main():
    reference, program = sys.argv[1:3]
    if not os.access(reference, os.X_OK):
        print("skipped: %s is not built" % reference)
        return 77
    with tempfile.TemporaryDirectory() as tmp:
        # A relative path: both programs write into their working folder.
        rw, rh, expected = frame(reference, os.path.join(tmp, "reference.ppm"))
        os.chdir(tmp)
        w, h, seen = frame(program, "frame.ppm")
    if (w, h) != (rw, rh):
        print("FAIL: the frame is %dx%d, the reference %dx%d" % (w, h, rw, rh))
        return 1
    differ = sum(seen[i:i + 3] != expected[i:i + 3] for i in range(0, len(seen), 3))
    print("%d of %d pixels differ" % (differ, w * h))
    return 0 if differ == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
