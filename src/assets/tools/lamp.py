"""The lamp frame: a 69 x 69 24-bit bitmap, red frame 7 px wide around a black middle."""

import struct

SIZE = 69
FRAME = 7
RED = (255, 0, 0)
BLACK = (0, 0, 0)
PIXELS_PER_METRE = 2834
# The file carries two zero bytes after the last row, counted in the image size field.
TRAILER = 2


def lamp_frame_bmp() -> bytes:
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(SIZE):  # bottom-up; the frame is symmetric so the order only matters in principle
        row = bytearray()
        for x in range(SIZE):
            inside = FRAME <= x < SIZE - FRAME and FRAME <= y < SIZE - FRAME
            r, g, b = BLACK if inside else RED
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    pixels += bytes(TRAILER)
    offset = 14 + 40
    file_size = offset + len(pixels)
    file_header = struct.pack("<2sIHHI", b"BM", file_size, 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels),
                              PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    return file_header + info_header + bytes(pixels)
