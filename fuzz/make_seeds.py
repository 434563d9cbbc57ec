#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: small valid and edge-case inputs of every format.

Usage: make_seeds.py OUT_DIR   (one folder per target is made inside OUT_DIR)
Only the standard library is used; JPEG seeds come from cjpeg when it is installed.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.join(HERE, "..", "src", "assets", "data")


def write(out, target, name, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- WAV
def chunk(cid, body, pad=False):
    data = cid + struct.pack("<I", len(body)) + body
    return data + (b"\0" if pad and len(body) % 2 else b"")


def fmt_body(channels, rate, bits, tag=1):
    align = channels * bits // 8
    return struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)


def riff(chunks, riff_size=None):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body) if riff_size is None else riff_size) + body


def tone(frames, channels, bits):
    out = bytearray()
    for i in range(frames):
        for c in range(channels):
            v = ((i * (3 + c)) % 64 - 32) * 800
            out += struct.pack("<h", v) if bits == 16 else bytes([(v >> 8) + 128 & 0xFF])
    return bytes(out)


def wav_seeds():
    seeds = {
        "pcm8_mono_11025": riff([chunk(b"fmt ", fmt_body(1, 11025, 8)), chunk(b"data", tone(200, 1, 8))]),
        "pcm16_stereo_44100": riff([chunk(b"fmt ", fmt_body(2, 44100, 16)), chunk(b"data", tone(300, 2, 16))]),
        "pcm16_mono_22050_list": riff([chunk(b"fmt ", fmt_body(1, 22050, 16)), chunk(b"LIST", b"INFOISFT\3\0\0\0ab\0"),
                                       chunk(b"data", tone(100, 1, 16))]),
        "pcm8_stereo_8000_fmt18": riff([chunk(b"fmt ", fmt_body(2, 8000, 8) + b"\0\0"), chunk(b"data", tone(64, 2, 8))]),
        "data_before_fmt": riff([chunk(b"data", tone(50, 1, 16)), chunk(b"fmt ", fmt_body(1, 48000, 16))]),
        "odd_chunk_unpadded": riff([chunk(b"junk", b"abc"), chunk(b"fmt ", fmt_body(1, 44100, 8)),
                                    chunk(b"data", tone(33, 1, 8))]),
        "riff_size_past_end": riff([chunk(b"fmt ", fmt_body(1, 44100, 16)), chunk(b"data", tone(40, 1, 16))], 0xFFFFFFF0),
        "riff_size_short": riff([chunk(b"fmt ", fmt_body(1, 44100, 16)), chunk(b"data", tone(40, 1, 16))], 20),
        "adpcm_tag": riff([chunk(b"fmt ", fmt_body(1, 44100, 4, tag=2)), chunk(b"data", b"\x11" * 64)]),
        "rate_384001": riff([chunk(b"fmt ", fmt_body(2, 384001, 16)), chunk(b"data", tone(20, 2, 16))]),
        "rate_1": riff([chunk(b"fmt ", fmt_body(1, 1, 16)), chunk(b"data", tone(20, 1, 16))]),
        "midi": b"MThd\0\0\0\6\0\0\0\1\0\x60" + b"MTrk\0\0\0\4\0\xff\x2f\0",
    }
    # A data chunk whose size claims nearly 4 GiB, and one holding a single odd byte.
    huge = chunk(b"fmt ", fmt_body(1, 44100, 16)) + b"data" + struct.pack("<I", 0xFFFFFFFF) + tone(10, 1, 16)
    seeds["data_size_4g"] = riff([huge])
    seeds["data_one_byte"] = riff([chunk(b"fmt ", fmt_body(1, 44100, 16)), chunk(b"data", b"\x7f")])
    return seeds


# ---------------------------------------------------------------- BMP
def pixel_value(x, y, bits):
    return (x * 7 + y * 13) % (1 << min(bits, 8))


def pack_rows(width, height, bits, value):
    rows = []
    for y in range(height):
        bits_row = 0
        nbits = 0
        row = bytearray()
        for x in range(width):
            v = value(x, y)
            if bits >= 8:
                row += v.to_bytes(bits // 8, "little")
            else:
                bits_row = (bits_row << bits) | v
                nbits += bits
                if nbits == 8:
                    row.append(bits_row)
                    bits_row = nbits = 0
        if nbits:
            row.append(bits_row << (8 - nbits))
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return b"".join(rows)


def info_header(width, height, bits, compression=0, size=40, image_size=0, colors=0):
    h = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, image_size, 2835, 2835, colors, 0)
    return h + b"\0" * (size - 40)


def palette(count):
    return b"".join(struct.pack("<BBBB", (i * 37) % 256, (i * 91) % 256, (i * 53) % 256, 0) for i in range(count))


def bmp_file(dib_header, pal, pixels):
    offset = 14 + len(dib_header) + len(pal)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + dib_header + pal + pixels


def rle8(width, height):
    out = bytearray()
    for y in range(height):
        out += bytes([width, y % 256])  # an encoded run covering the row
        out += b"\0\0"                   # end of line
    return bytes(out + b"\0\1")


def bmp_seeds():
    w, h = 5, 3
    seeds = {}
    for bits in (1, 4, 8):
        pix = pack_rows(w, h, bits, lambda x, y, b=bits: pixel_value(x, y, b))
        seeds[f"bmp{bits}"] = bmp_file(info_header(w, h, bits), palette(1 << bits), pix)
    seeds["bmp8_top_down"] = bmp_file(info_header(w, -h, 8), palette(256),
                                      pack_rows(w, h, 8, lambda x, y: pixel_value(x, y, 8)))
    seeds["bmp8_short_palette"] = bmp_file(info_header(w, h, 8, colors=4), palette(4),
                                           pack_rows(w, h, 8, lambda x, y: x % 4))
    seeds["bmp8_rle"] = bmp_file(info_header(w, h, 8, compression=1), palette(256), rle8(w, h))
    rle4 = bytes([5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 0, 0, 0, 5, 0x77, 0, 1])
    seeds["bmp4_rle_delta"] = bmp_file(info_header(w, h, 4, compression=2), palette(16), rle4)
    seeds["bmp16_555"] = bmp_file(info_header(w, h, 16), b"", pack_rows(w, h, 16, lambda x, y: x * 1000 + y * 31))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    seeds["bmp16_565_bitfields"] = bmp_file(info_header(w, h, 16, compression=3) + masks, b"",
                                            pack_rows(w, h, 16, lambda x, y: x * 2000 + y))
    seeds["bmp24"] = bmp_file(info_header(w, h, 24), b"", pack_rows(w, h, 24, lambda x, y: x * 0x30201 + y * 0x10))
    seeds["bmp32"] = bmp_file(info_header(w, h, 32), b"", pack_rows(w, h, 32, lambda x, y: x * 0x30201 + y))
    v4 = bytearray(info_header(w, h, 32, compression=3, size=108))
    v4[40:56] = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    seeds["bmp32_v4_alpha"] = bmp_file(bytes(v4), b"", pack_rows(w, h, 32, lambda x, y: (x * 40 << 24) | y))
    core = struct.pack("<IHHHH", 12, w, h, 1, 8)
    core_pal = b"".join(bytes([i % 256, (i * 3) % 256, (i * 5) % 256]) for i in range(256))
    seeds["bmp8_core"] = bmp_file(core, core_pal, pack_rows(w, h, 8, lambda x, y: pixel_value(x, y, 8)))
    seeds["bmp24_truncated"] = seeds["bmp24"][:-7]
    seeds["bmp_huge_dims"] = bmp_file(info_header(0x7FFFFFFF, 0x7FFFFFFF, 24), b"", b"\0" * 16)
    return seeds


# ---------------------------------------------------------------- icons and cursors
def icon_dib(size, bits):
    pal = palette(1 << bits) if bits <= 8 else b""
    colour = pack_rows(size, size, bits, lambda x, y: (x + y) % (1 << min(bits, 8)) if bits <= 8 else 0x80FF8040 + x)
    mask = pack_rows(size, size, 1, lambda x, y: 1 if x == y else 0)
    return info_header(size, size * 2, bits) + pal + colour + mask


def icon_file(kind, entries):
    header = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    directory = b""
    body = b""
    for size, bits, dib, hotspot in entries:
        planes, bit_field = hotspot if kind == 2 else (1, bits)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bit_field, len(dib), offset + len(body))
        body += dib
    return header + directory + body


def icon_seeds():
    d32 = icon_dib(16, 32)
    d8 = icon_dib(8, 8)
    d4 = icon_dib(4, 4)
    return {
        "ico_32bit": icon_file(1, [(16, 32, d32, None)]),
        "ico_two_entries": icon_file(1, [(8, 8, d8, None), (16, 32, d32, None)]),
        "ico_4bit": icon_file(1, [(4, 4, d4, None)]),
        "cur_hotspot": icon_file(2, [(8, 8, d8, (3, 4))]),
        "ico_png_entry": icon_file(1, [(16, 32, b"\x89PNG\r\n\x1a\n" + b"\0" * 24, None)]),
        "ico_offset_past_end": struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, 4096, 4000),
    }


# ---------------------------------------------------------------- GIF
def lzw_literals(pixels, min_code_size):
    """Codes that are all literals, with a clear code before the table would widen the codes."""
    clear = 1 << min_code_size
    width = min_code_size + 1
    codes = []
    since_clear = 0
    for p in pixels:
        if since_clear % ((1 << width) - clear - 2) == 0:
            codes.append(clear)
            since_clear = 0
        codes.append(p)
        since_clear += 1
    codes.append(clear + 1)
    acc = nbits = 0
    out = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255] for i in range(0, len(out), 255))
    return bytes([min_code_size]) + blocks + b"\0"


def gif_file(version, w, h, gce=None, interlaced=False, local=False):
    colours = b"".join(bytes([i * 60, 255 - i * 60, i * 30]) for i in range(4))
    screen = struct.pack("<HHBBB", w, h, 0x80 | 0x01 if not local else 0x00, 0, 0)
    out = version + screen + (colours if not local else b"")
    if gce is not None:
        out += b"\x21\xF9\x04" + bytes([gce[0]]) + struct.pack("<H", 0) + bytes([gce[1]]) + b"\0"
    out += b"\x21\xFE\x05hello\0"  # a comment to skip
    flags = (0x40 if interlaced else 0) | (0x81 if local else 0)
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, flags) + (colours if local else b"")
    out += lzw_literals([(x + y) % 4 for y in range(h) for x in range(w)], 2)
    return out + b"\x3B"


def gif_seeds():
    return {
        "gif87a": gif_file(b"GIF87a", 5, 4),
        "gif89a_transparent": gif_file(b"GIF89a", 6, 3, gce=(0x01, 2)),
        "gif_interlaced_local": gif_file(b"GIF89a", 4, 9, interlaced=True, local=True),
        "gif_no_trailer": gif_file(b"GIF89a", 5, 4)[:-3],
    }


# ---------------------------------------------------------------- JPEG
def jpeg_seeds():
    cjpeg = shutil.which("cjpeg")
    if not cjpeg:
        print("make_seeds: cjpeg not installed, no JPEG seeds", file=sys.stderr)
        return {}
    w, h = 16, 12
    ppm = b"P6 %d %d 255\n" % (w, h) + bytes(
        v for y in range(h) for x in range(w) for v in (x * 16 % 256, y * 20 % 256, (x ^ y) * 8 % 256))
    seeds = {}
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.ppm")
        with open(src, "wb") as f:
            f.write(ppm)
        variants = {"jpeg_baseline": ["-quality", "75"], "jpeg_progressive": ["-progressive"],
                    "jpeg_grayscale": ["-grayscale"], "jpeg_restart_444": ["-restart", "1B", "-sample", "1x1"]}
        for name, args in variants.items():
            seeds[name] = subprocess.run([cjpeg, *args, src], check=True, capture_output=True).stdout
    seeds["jpeg_truncated"] = seeds["jpeg_baseline"][: len(seeds["jpeg_baseline"]) // 2]
    return seeds


# ---------------------------------------------------------------- font records
def logfont(height, weight, italic, underline, strike, charset, face, width=0, raw_face=False):
    body = struct.pack("<iiiii", height, width, 0, 0, weight)
    body += bytes([italic, underline, strike, charset, 0, 0, 0, 0])
    face_bytes = face if raw_face else face.encode("gbk")
    return body + (face_bytes + b"\0" * 32)[:32]


def logfont_seeds():
    return {
        "songti_12": logfont(-12, 400, 0, 0, 0, 134, "宋体"),
        "heiti_bold_italic": logfont(-16, 700, 1, 1, 1, 134, "黑体"),
        "ascii_cell_height": logfont(20, 0, 0, 0, 0, 0, "Noto Sans CJK SC", width=8),
        "face_31_bytes": logfont(-9, 400, 0, 0, 0, 134, b"A" * 31, raw_face=True),
        "face_32_unterminated": logfont(-9, 400, 0, 0, 0, 134, b"B" * 32, raw_face=True),
        "face_gbk_split": logfont(-9, 400, 0, 0, 0, 134, b"A" * 30 + "宋体".encode("gbk"), raw_face=True),
        "extremes": logfont(-2**31, 2**31 - 1, 255, 255, 255, 255, b"\xff" * 32, width=-1, raw_face=True),
        "zero": b"\0" * 60,
        "short": b"\0" * 59,
    }


# ---------------------------------------------------------------- number texts
def number_seeds():
    gbk = lambda s: s.encode("gbk")
    return {
        "plain": b"123",
        "blank_sign": b" \t\n-42",
        "plus_trailing": b"+7abc",
        "wrap_2_32": b"4294967296",
        "int_max_plus_1": b"2147483648",
        "int_min_minus_1": b"-2147483649",
        "many_digits": b"99999999999999999999999",
        "full_width_digits": gbk("１２３"),
        "full_width_minus_space": gbk("\u3000－４５６"),
        "mixed_width": gbk("1２3４"),
        "lone_lead_at_end": b"12\xA3",
        "double_1e13": struct.pack("<d", 1e13) + b"17",
        "double_negative_half": struct.pack("<d", -0.5),
        "double_nan": struct.pack("<d", float("nan")) + b"x",
        "double_min_subnormal": struct.pack("<Q", 1),
        "double_int64_edge": struct.pack("<d", 9.2233720368547758e18),
        "empty": b"",
    }


def property_seeds():
    """Steps of the property fuzzer: (control, property index, value bytes...) after each other."""
    label, picbox, window = 2, 1, 8
    return {
        "label-gradient-frame": bytes([label, 18, 100, label, 19, 9]),  # Border 6, then width
        "picbox-stretched": bytes([picbox, 18, 1, 8, 8, 7, picbox, 19, 1, picbox, 10, 10, picbox, 11, 10]),
        "window-picture": bytes([window, 19, 1, 20, 16, 3, window, 20, 3]),
        "every-control": bytes(i % 256 for i in range(600)),
        "empty": b"",
    }


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    shutil.rmtree(out, ignore_errors=True)
    for name, data in wav_seeds().items():
        write(out, "fuzz_wav_chunks", name + ".wav", data)
        write(out, "fuzz_play_sound", name + ".wav", data)
    pictures = {**bmp_seeds(), **icon_seeds(), **gif_seeds(), **jpeg_seeds()}
    for name, data in pictures.items():
        write(out, "fuzz_picture", name, data)
    # Two of the game's own pictures, made by our art tools.
    for name in ("lamp-frame.bmp", "cherries-small.jpg"):
        path = os.path.join(ASSETS, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                write(out, "fuzz_picture", "asset-" + name, f.read())
    for name, data in logfont_seeds().items():
        write(out, "fuzz_logfont", name, data)
    for name, data in number_seeds().items():
        write(out, "fuzz_conversions", name, data)
    for name, data in property_seeds().items():
        write(out, "fuzz_properties", name, data)


if __name__ == "__main__":
    main()
