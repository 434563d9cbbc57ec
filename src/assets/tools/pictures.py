"""Our pictures as SVG text: the board background, the nine motifs and the program icon.

Every motif is drawn in a 100 x 100 design box; `Style` says how big it will be shown, so the
small pictures get bolder outlines and fewer fine details instead of being shrunk copies.
"""

import math
import random
from dataclasses import dataclass

OUTLINE = "#2a1f2d"


@dataclass(frozen=True)
class Style:
    pixels: int      # edge length of the finished picture
    scale: float     # how much of the design box the motif fills
    outline: float   # outline width in design units
    fine: bool       # whether small details (seeds, sparkles, zip teeth) are drawn


LARGE = Style(pixels=65, scale=0.78, outline=3.4, fine=True)
SMALL = Style(pixels=30, scale=0.94, outline=4.6, fine=False)


def svg_document(width: int, height: int, view: str, body: str, aspect: str = "xMidYMid meet") -> str:
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="{view}" preserveAspectRatio="{aspect}">\n{body}\n</svg>\n')


def tile(style: Style, defs: str, motif: str) -> str:
    """A motif on the shared light ground, scaled into the area the picture leaves free."""
    s = style.scale
    off = 50.0 * (1.0 - s)
    body = f"""<defs>
  <radialGradient id="ground" cx="0.42" cy="0.36" r="0.75">
    <stop offset="0" stop-color="#fffdf6"/><stop offset="0.7" stop-color="#f1ece1"/>
    <stop offset="1" stop-color="#d9d2c3"/>
  </radialGradient>
  <radialGradient id="shadow" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="#5a4a3a" stop-opacity="0.35"/>
    <stop offset="1" stop-color="#5a4a3a" stop-opacity="0"/>
  </radialGradient>
  {defs}
</defs>
<rect width="100" height="100" fill="url(#ground)"/>
<ellipse cx="50" cy="{50 + 46 * s:.2f}" rx="{38 * s:.2f}" ry="{6 * s:.2f}" fill="url(#shadow)"/>
<g transform="translate({off:.3f},{off:.3f}) scale({s:.4f})" stroke-linejoin="round" stroke-linecap="round">
{motif}
</g>"""
    return svg_document(style.pixels, style.pixels, "0 0 100 100", body)


def gloss(cx: float, cy: float, rx: float, ry: float, angle: float = -30.0, opacity: float = 0.75) -> str:
    return (f'<ellipse cx="{cx}" cy="{cy}" rx="{rx}" ry="{ry}" fill="#ffffff" opacity="{opacity}" '
            f'transform="rotate({angle} {cx} {cy})"/>')


def linear(gid: str, stops: list[tuple[float, str]], x2: float = 0.0, y2: float = 1.0) -> str:
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">{s}</linearGradient>'


def radial(gid: str, stops: list[tuple[float, str]], cx: float = 0.38, cy: float = 0.32, r: float = 0.75) -> str:
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}">{s}</radialGradient>'


# ------------------------------------------------------------------ cars

def car(x: float, y: float, k: float, paint: str, style: Style) -> str:
    """One little car seen from the side, facing right; (x, y) is its rear bottom corner."""
    ow = style.outline / k
    body = ("M0,21 L0,14 Q0,10.5 4,10 L15,8.5 L21,2 Q22.5,0.5 25,0.5 L40,0.5 Q42.5,0.5 44,2 "
            "L51,8.5 L58,9.8 Q62,10.5 62,14 L62,21 Q62,24 59,24 L3,24 Q0,24 0,21 Z")
    parts = [f'<g transform="translate({x},{y - 30 * k}) scale({k})">',
             f'<path d="{body}" fill="url(#{paint})" stroke="{OUTLINE}" stroke-width="{ow}"/>',
             f'<path d="M18,9 L23.5,3.2 L30,3.2 L30,9 Z M33,9 L33,3.2 L40.5,3.2 L46.5,9 Z" fill="#bfe6ff" '
             f'stroke="{OUTLINE}" stroke-width="{ow * 0.6}"/>']
    if style.fine:
        parts.append('<path d="M4,12.5 L58,12.5" stroke="#ffffff" stroke-width="1.6" opacity="0.7"/>')
        parts.append('<path d="M24,4.3 L27.5,4.3 L24.5,7.6 Z" fill="#ffffff" opacity="0.8"/>')
    parts.append(f'<circle cx="59.2" cy="14.5" r="2.2" fill="#fff27a" stroke="{OUTLINE}" stroke-width="{ow * 0.4}"/>')
    parts.append(f'<rect x="0.6" y="13" width="2.6" height="3.2" fill="#ff3a2a"/>')
    for wx in (14, 48):
        parts.append(f'<circle cx="{wx}" cy="24" r="6.4" fill="#262428" stroke="{OUTLINE}" stroke-width="{ow * 0.6}"/>')
        parts.append(f'<circle cx="{wx}" cy="24" r="2.7" fill="#c8ccd2"/>')
    parts.append("</g>")
    return "\n".join(parts)


def cars(style: Style) -> str:
    defs = (linear("blue", [(0, "#8cc8ff"), (0.45, "#2f7fe6"), (1, "#143f99")])
            + linear("silver", [(0, "#ffffff"), (0.45, "#c4cbd3"), (1, "#6d7683")])
            + linear("yellow", [(0, "#fff6a6"), (0.45, "#ffd21a"), (1, "#d08b00")]))
    # Big cars overlapping well: the queue reads as three cars even at 30 px.
    k = 1.3 if style.fine else 1.26
    step_x, step_y = (8.0, 21.0) if style.fine else (9.0, 22.5)
    x0 = 50 - (62 * k + 2 * step_x) / 2
    y_front = 50 + (30 * k + 2 * step_y) / 2
    motif = "\n".join([
        car(x0, y_front - 2 * step_y, k, "yellow", style),
        car(x0 + step_x, y_front - step_y, k, "silver", style),
        car(x0 + 2 * step_x, y_front, k, "blue", style),
    ])
    return tile(style, defs, motif)


# ------------------------------------------------------------------ bottle cap

def star_points(cx: float, cy: float, outer: float, inner: float, n: int, turn: float = -90.0) -> str:
    pts = []
    for i in range(2 * n):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + 180.0 * i / n)
        pts.append(f"{cx + r * math.cos(a):.2f},{cy + r * math.sin(a):.2f}")
    return " ".join(pts)


def bottle_cap(style: Style) -> str:
    defs = (radial("capEdge", [(0, "#9af59a"), (0.55, "#27a83a"), (1, "#0c5a1e")], 0.4, 0.35, 0.7)
            + radial("capTop", [(0, "#b8ffb0"), (0.6, "#3fc24d"), (1, "#1b7a2c")], 0.38, 0.3, 0.8)
            + radial("star", [(0, "#ff8a7a"), (0.5, "#f0202a"), (1, "#a5000e")], 0.4, 0.3, 0.8))
    teeth = 21
    pts = []
    for i in range(2 * teeth):
        r = 47.0 if i % 2 == 0 else 42.5
        a = math.radians(-90 + 180.0 * i / teeth)
        pts.append(f"{50 + r * math.cos(a):.2f},{50 + r * math.sin(a):.2f}")
    ow = style.outline
    motif = [
        f'<polygon points="{" ".join(pts)}" fill="url(#capEdge)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
        f'<circle cx="50" cy="50" r="35" fill="url(#capTop)" stroke="#136b25" stroke-width="{ow * 0.7}"/>',
        f'<polygon points="{star_points(50, 52, 28, 11.5, 5)}" fill="url(#star)" stroke="{OUTLINE}" '
        f'stroke-width="{ow * 0.8}"/>',
        gloss(36, 30, 14, 6.5, -35, 0.65),
    ]
    if style.fine:
        motif.append(gloss(44, 40, 3.5, 1.6, -35, 0.8))
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ zip pull with chequered badge

def zipper_badge(style: Style) -> str:
    defs = (linear("metal", [(0, "#7f8893"), (0.35, "#f6f8fa"), (0.6, "#c3c9d1"), (1, "#6c7580")], 1.0, 0.0)
            + radial("badgeGloss", [(0, "#ffffff"), (1, "#ffffff")])
            + '<clipPath id="badge"><circle cx="50" cy="62" r="31"/></clipPath>')
    ow = style.outline
    cells = 6 if style.fine else 4
    size = 62.0 / cells
    squares = []
    for row in range(cells):
        for col in range(cells):
            colour = "#e5232b" if (row + col) % 2 == 0 else "#1c1a1e"
            squares.append(f'<rect x="{19 + col * size:.2f}" y="{31 + row * size:.2f}" width="{size + 0.2:.2f}" '
                           f'height="{size + 0.2:.2f}" fill="{colour}"/>')
    motif = []
    if style.fine:
        # A short run of zip tape and teeth the slider sits on.
        motif.append(f'<rect x="4" y="2" width="92" height="15" rx="2" fill="#27306a" stroke="{OUTLINE}" '
                     f'stroke-width="1"/>')
        for i in range(15):  # interlocking teeth from both tapes
            y = 5.5 if i % 2 else 9.5
            motif.append(f'<rect x="{6.5 + i * 6}" y="{y}" width="4.6" height="4.5" rx="1" fill="#f2c94c" '
                         f'stroke="#8a6a10" stroke-width="0.7"/>')
    motif += [
        # The slider, its bridge and the ring that carries the badge.
        f'<path d="M36,4 L64,4 Q66,4 65,7 L60,20 L40,20 L35,7 Q34,4 36,4 Z" fill="url(#metal)" '
        f'stroke="{OUTLINE}" stroke-width="{ow * 0.8}"/>',
        f'<rect x="44" y="15" width="12" height="17" rx="6" fill="none" stroke="{OUTLINE}" stroke-width="{ow + 3.4}"/>',
        f'<rect x="44" y="15" width="12" height="17" rx="6" fill="none" stroke="url(#metal)" stroke-width="3.6"/>',
        f'<circle cx="50" cy="62" r="35" fill="url(#metal)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
        f'<g clip-path="url(#badge)">{"".join(squares)}</g>',
        f'<circle cx="50" cy="62" r="31" fill="none" stroke="{OUTLINE}" stroke-width="{ow * 0.5}"/>',
        f'<path d="M27,52 A26,26 0 0 1 60,35" fill="none" stroke="#ffffff" stroke-width="5" opacity="0.55"/>',
    ]
    if style.fine:
        motif.append(gloss(38, 45, 4, 2, -35, 0.7))
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ trefoil knot

def trefoil_path() -> list[tuple[float, float]]:
    pts = []
    n = 720
    for i in range(n):
        t = 2 * math.pi * i / n
        pts.append((math.sin(t) + 2 * math.sin(2 * t), math.cos(t) - 2 * math.cos(2 * t)))
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    k = 74.0 / max(max(xs) - min(xs), max(ys) - min(ys))
    # Turned upside down so that one lobe points up and two sit on the ground.
    return [(50 + (x - cx) * k, 50 - (y - cy) * k) for x, y in pts]


def crossings(pts: list[tuple[float, float]]) -> list[tuple[int, int]]:
    """Index pairs (i, j) of the polyline segments that cross each other."""
    n = len(pts)
    found = []

    def seg(i: int):
        return pts[i], pts[(i + 1) % n]

    for i in range(n):
        (ax, ay), (bx, by) = seg(i)
        for j in range(i + 2, n):
            if i == 0 and j == n - 1:
                continue
            (cx, cy), (dx, dy) = seg(j)
            den = (bx - ax) * (dy - cy) - (by - ay) * (dx - cx)
            if den == 0:
                continue
            u = ((cx - ax) * (dy - cy) - (cy - ay) * (dx - cx)) / den
            v = ((cx - ax) * (by - ay) - (cy - ay) * (bx - ax)) / den
            if 0 <= u < 1 and 0 <= v < 1:
                found.append((i, j))
    return found


def knot(style: Style) -> str:
    pts = trefoil_path()
    n = len(pts)
    # Crossings alternate over and under along the strand; redrawing the "over" pieces last weaves it.
    events = sorted([(i, "a", c) for c, (i, j) in enumerate(crossings(pts))]
                    + [(j, "b", c) for c, (i, j) in enumerate(crossings(pts))])
    over = [idx for k, (idx, _, _) in enumerate(events) if k % 2 == 0]
    ow = style.outline
    tube = 13.0 if style.fine else 15.0

    def poly(a: int, b: int) -> str:
        seq = [pts[i % n] for i in range(a, b + 1)]
        return "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in seq)

    def layers(d: str, cap: str, outline_d: str | None = None) -> str:
        return "\n".join([
            f'<path d="{outline_d or d}" fill="none" stroke="{OUTLINE}" stroke-width="{tube + 2 * ow}" '
            f'stroke-linecap="{cap}"/>',
            f'<path d="{d}" fill="none" stroke="#1646b0" stroke-width="{tube}" stroke-linecap="{cap}"/>',
            f'<path d="{d}" fill="none" stroke="#2f7cf0" stroke-width="{tube * 0.62}" stroke-linecap="{cap}" '
            f'transform="translate(-1.2,-1.4)"/>',
            f'<path d="{d}" fill="none" stroke="#a9d8ff" stroke-width="{tube * 0.22}" stroke-linecap="{cap}" '
            f'transform="translate(-2.2,-2.6)" opacity="0.9"/>',
        ])

    whole = poly(0, n) + " Z"
    parts = [layers(whole, "round")]
    # The outline of an over piece stops short of its colour, so no dark seam shows where it joins.
    half = 30
    outline_half = 22
    for idx in over:
        parts.append(layers(poly(idx - half, idx + half), "butt", poly(idx - outline_half, idx + outline_half)))
    return tile(style, "", "\n".join(parts))


# ------------------------------------------------------------------ cherries

def cherries(style: Style) -> str:
    defs = (radial("cherry", [(0, "#ff9a9a"), (0.35, "#e8172a"), (1, "#6e0010")], 0.35, 0.3, 0.8)
            + linear("leaf", [(0, "#a6e85a"), (1, "#2f8a1e")], 1.0, 1.0))
    ow = style.outline
    stalks = "M30,66 Q34,36 60,12 M68,70 Q66,40 60,12"
    motif = [
        f'<path d="{stalks}" fill="none" stroke="{OUTLINE}" stroke-width="{4.5 + 2 * ow * 0.7}"/>',
        f'<path d="{stalks}" fill="none" stroke="#6a9a2a" stroke-width="4.5"/>',
        f'<path d="M60,12 Q76,-2 94,10 Q82,28 60,12 Z" fill="url(#leaf)" stroke="{OUTLINE}" stroke-width="{ow * 0.8}"/>',
        f'<path d="M62,12 Q78,9 90,10" fill="none" stroke="#1e5e12" stroke-width="1.6"/>' if style.fine else "",
        f'<circle cx="30" cy="72" r="20" fill="url(#cherry)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
        f'<circle cx="69" cy="75" r="20" fill="url(#cherry)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
        gloss(23, 64, 6, 3.5, -40, 0.8),
        gloss(62, 67, 6, 3.5, -40, 0.8),
    ]
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ kiwi

def kiwi(style: Style) -> str:
    defs = (radial("flesh", [(0, "#e9f79a"), (0.35, "#a8d64a"), (0.85, "#5ea21c"), (1, "#4a8a12")], 0.5, 0.5, 0.5)
            + radial("skin", [(0, "#b07a44"), (1, "#6a4220")], 0.4, 0.3, 0.8))
    ow = style.outline
    cx, cy = 50, 50
    motif = [
        f'<circle cx="{cx}" cy="{cy}" r="44" fill="url(#skin)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
        f'<circle cx="{cx}" cy="{cy}" r="39" fill="url(#flesh)"/>',
    ]
    rays = 18 if style.fine else 10
    for i in range(rays):
        a = 2 * math.pi * i / rays
        motif.append(f'<line x1="{cx + 14 * math.cos(a):.2f}" y1="{cy + 13 * math.sin(a):.2f}" '
                     f'x2="{cx + 33 * math.cos(a):.2f}" y2="{cy + 33 * math.sin(a):.2f}" '
                     f'stroke="#f4ffd0" stroke-width="{1.2 if style.fine else 2.2}" opacity="0.55"/>')
    motif.append(f'<ellipse cx="{cx}" cy="{cy}" rx="12" ry="10" fill="#fbf7dc"/>')
    seeds = 16 if style.fine else 9
    for i in range(seeds):
        a = 360.0 * i / seeds
        r = 17.5 + (2.5 if (i % 2 and style.fine) else 0)
        x = cx + r * math.cos(math.radians(a))
        y = cy + r * 0.9 * math.sin(math.radians(a))
        rx, ry = (1.7, 3.8) if style.fine else (2.6, 4.6)
        motif.append(f'<ellipse cx="{x:.2f}" cy="{y:.2f}" rx="{rx}" ry="{ry}" fill="#1a1410" '
                     f'transform="rotate({a + 90:.1f} {x:.2f} {y:.2f})"/>')
    motif.append(f'<path d="M22,34 A33,33 0 0 1 44,16" fill="none" stroke="#ffffff" stroke-width="4" opacity="0.5"/>')
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ strawberry

def strawberry(style: Style) -> str:
    defs = (radial("berry", [(0, "#ff8a80"), (0.4, "#f0282f"), (1, "#95061a")], 0.35, 0.35, 0.8)
            + linear("calyx", [(0, "#8fe05a"), (1, "#2b8a1e")]))
    ow = style.outline
    body = "M50,95 C28,90 9,64 11,44 C13,28 30,24 50,29 C70,24 87,28 89,44 C91,64 72,90 50,95 Z"
    motif = [f'<path d="{body}" fill="url(#berry)" stroke="{OUTLINE}" stroke-width="{ow}"/>']
    rows = [(40, [24, 38, 52, 66, 78]), (52, [18, 31, 45, 59, 72, 83]), (64, [24, 38, 52, 66, 77]),
            (76, [32, 45, 59, 69]), (86, [43, 56])]
    if not style.fine:
        rows = [(44, [26, 50, 74]), (60, [20, 38, 62, 80]), (76, [34, 50, 66])]
    for y, xs in rows:
        for x in xs:
            if style.fine:
                motif.append(f'<path d="M{x},{y - 2.6} Q{x + 2},{y} {x},{y + 2.6} Q{x - 2},{y} {x},{y - 2.6} Z" '
                             f'fill="#ffe98a" stroke="#8a3a10" stroke-width="0.5"/>')
            else:
                motif.append(f'<ellipse cx="{x}" cy="{y}" rx="2.6" ry="3.6" fill="#ffe98a"/>')
    leaves = []
    for i in range(5):
        a = math.radians(195 + 37.5 * i)
        tx, ty = 50 + 27 * math.cos(a), 33 + 12 * math.sin(a) + 4
        mx, my = (50 + tx) / 2, (31 + ty) / 2
        length = math.hypot(tx - 50, ty - 31)
        nx, ny = -(ty - 31) / length * 6.5, (tx - 50) / length * 6.5
        leaves.append(f"M50,31 Q{mx + nx:.1f},{my + ny:.1f} {tx:.1f},{ty:.1f} Q{mx - nx:.1f},{my - ny:.1f} 50,31 Z")
    motif.append(f'<path d="{" ".join(leaves)}" fill="url(#calyx)" stroke="{OUTLINE}" stroke-width="{ow * 0.7}"/>')
    motif.append(f'<path d="M50,30 Q49,18 54,9" fill="none" stroke="{OUTLINE}" stroke-width="{4 + ow}"/>')
    motif.append('<path d="M50,30 Q49,18 54,9" fill="none" stroke="#4f9a2a" stroke-width="4"/>')
    motif.append(gloss(26, 50, 5, 9, 20, 0.6))
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ orange

def orange(style: Style) -> str:
    defs = (radial("peel", [(0, "#ffd98a"), (0.4, "#ff9a16"), (1, "#d25c00")], 0.36, 0.32, 0.8)
            + linear("oleaf", [(0, "#9be35d"), (1, "#2c8a1f")], 1.0, 1.0))
    ow = style.outline
    motif = [f'<circle cx="48" cy="56" r="39" fill="url(#peel)" stroke="{OUTLINE}" stroke-width="{ow}"/>']
    if style.fine:
        rnd = random.Random(11)
        for _ in range(40):
            a = rnd.uniform(0, 2 * math.pi)
            r = 36 * math.sqrt(rnd.uniform(0.05, 1))
            motif.append(f'<circle cx="{48 + r * math.cos(a):.1f}" cy="{56 + r * math.sin(a):.1f}" r="0.9" '
                         f'fill="#b84e00" opacity="0.35"/>')
    motif += [
        f'<path d="M48,19 Q47,12 50,8" fill="none" stroke="{OUTLINE}" stroke-width="{3.5 + ow}"/>',
        '<path d="M48,19 Q47,12 50,8" fill="none" stroke="#6b4a1c" stroke-width="3.5"/>',
        f'<path d="M50,14 Q66,-2 90,8 Q76,28 50,14 Z" fill="url(#oleaf)" stroke="{OUTLINE}" stroke-width="{ow * 0.8}"/>',
        f'<path d="M53,14 Q70,8 86,9" fill="none" stroke="#1e5e12" stroke-width="1.5"/>' if style.fine else "",
        f'<circle cx="48" cy="20.5" r="2.5" fill="#5b7a1a"/>',
        gloss(33, 40, 11, 6, -40, 0.65),
        gloss(27, 55, 2.5, 2.5, 0, 0.5) if style.fine else "",
    ]
    return tile(style, defs, "\n".join(motif))


# ------------------------------------------------------------------ butterfly

def butterfly(style: Style) -> str:
    defs = (radial("wingUp", [(0, "#c8ecff"), (0.35, "#4aa8ff"), (0.8, "#1a5fd6"), (1, "#0d2f86")], 0.1, 0.8, 1.0)
            + radial("wingLow", [(0, "#bfe8ff"), (0.4, "#3f98f5"), (1, "#11398f")], 0.1, 0.1, 1.0))
    ow = style.outline
    upper = "M51,46 C56,20 78,6 93,12 C102,17 96,38 84,46 C74,52 62,54 52,53 Z"
    lower = "M52,55 C64,56 80,60 82,74 C84,88 68,92 60,84 C54,78 52,66 51,58 Z"
    wings = []
    for side in ("", 'transform="translate(100,0) scale(-1,1)"'):
        g = [f'<g {side}>',
             f'<path d="{upper}" fill="url(#wingUp)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
             f'<path d="{lower}" fill="url(#wingLow)" stroke="{OUTLINE}" stroke-width="{ow}"/>',
             # A dark margin along the wing tips.
             f'<path d="M80,10 C92,9 100,18 93,30 C89,38 86,42 84,46" fill="none" stroke="#0e2260" '
             f'stroke-width="{5 if style.fine else 6}"/>']
        if style.fine:
            for x, y, r in ((90, 17, 1.8), (93, 25, 1.5), (85, 13, 1.4), (77, 79, 1.6)):
                g.append(f'<circle cx="{x}" cy="{y}" r="{r}" fill="#ffffff"/>')
            g.append('<path d="M55,48 C64,38 72,30 82,26" fill="none" stroke="#0e2a78" stroke-width="1.2" opacity="0.6"/>')
        else:
            g.append('<circle cx="89" cy="20" r="2.4" fill="#ffffff"/>')
        g.append(gloss(70, 26, 8, 3.5, -30, 0.45))
        g.append('</g>')
        wings.append("\n".join(g))
    body = [
        f'<path d="M48,26 Q44,14 38,10 M52,26 Q56,14 62,10" fill="none" stroke="{OUTLINE}" stroke-width="{ow * 0.7}"/>',
        f'<circle cx="38" cy="10" r="2.6" fill="{OUTLINE}"/><circle cx="62" cy="10" r="2.6" fill="{OUTLINE}"/>',
        f'<ellipse cx="50" cy="55" rx="4.6" ry="24" fill="#3a2b3e" stroke="{OUTLINE}" stroke-width="{ow * 0.6}"/>',
        f'<circle cx="50" cy="29" r="5.4" fill="#3a2b3e" stroke="{OUTLINE}" stroke-width="{ow * 0.6}"/>',
        f'<ellipse cx="48.6" cy="48" rx="1.4" ry="9" fill="#ffffff" opacity="0.35"/>',
    ]
    return tile(style, defs, "\n".join(wings + body))


MOTIFS = {
    "cars": cars,
    "bottle-cap": bottle_cap,
    "zipper-badge": zipper_badge,
    "knot": knot,
    "cherries": cherries,
    "kiwi": kiwi,
    "strawberry": strawberry,
    "orange": orange,
    "butterfly": butterfly,
}


# ------------------------------------------------------------------ board background

BOARD_SIZE = (368, 563)
# The picture is stretched over a client area of about this size, so it is drawn in these
# coordinates and squeezed: the light circles come out round on the screen.
BOARD_SHOWN = (505, 586)


def board_background() -> str:
    w, h = BOARD_SHOWN
    rnd = random.Random(1789)
    palette = ["#effff9", "#d2f4ff", "#fff4d6", "#dcfff0", "#e9f0ff"]
    circles = []
    # Far circles: big, very soft and faint; near ones: smaller, crisper, a little brighter.
    for layer, (count, rmin, rmax, blur, amin, amax) in enumerate(
            ((14, 45, 95, 7, 0.05, 0.10), (26, 20, 50, 3, 0.08, 0.16), (22, 7, 20, 1.2, 0.12, 0.24))):
        for _ in range(count):
            r = rnd.uniform(rmin, rmax)
            x = rnd.uniform(-20, w + 20)
            y = rnd.uniform(-20, h + 20)
            colour = rnd.choice(palette)
            a = rnd.uniform(amin, amax)
            circles.append(f'<g filter="url(#blur{layer})" opacity="{a:.3f}">'
                           f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}" fill="url(#disc{colour[1:]})"/>'
                           f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r * 0.93:.1f}" fill="none" stroke="{colour}" '
                           f'stroke-width="{max(1.0, r * 0.07):.1f}" opacity="0.6"/></g>')
    discs = "".join(
        f'<radialGradient id="disc{c[1:]}" cx="0.5" cy="0.5" r="0.5">'
        f'<stop offset="0" stop-color="{c}" stop-opacity="0.55"/><stop offset="0.85" stop-color="{c}" '
        f'stop-opacity="0.8"/><stop offset="1" stop-color="{c}" stop-opacity="1"/></radialGradient>' for c in palette)
    body = f"""<defs>
  <linearGradient id="sea" x1="0" y1="0" x2="0.35" y2="1">
    <stop offset="0" stop-color="#10545a"/><stop offset="0.55" stop-color="#0b3f45"/>
    <stop offset="1" stop-color="#062529"/>
  </linearGradient>
  <radialGradient id="glow" cx="0.45" cy="0.38" r="0.6">
    <stop offset="0" stop-color="#2fa3a0" stop-opacity="0.45"/><stop offset="1" stop-color="#2fa3a0" stop-opacity="0"/>
  </radialGradient>
  {discs}
  <filter id="blur0" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="7"/></filter>
  <filter id="blur1" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="3"/></filter>
  <filter id="blur2" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="1.2"/></filter>
</defs>
<rect width="{w}" height="{h}" fill="url(#sea)"/>
<rect width="{w}" height="{h}" fill="url(#glow)"/>
{chr(10).join(circles)}"""
    return svg_document(BOARD_SIZE[0], BOARD_SIZE[1], f"0 0 {w} {h}", body, "none")


# ------------------------------------------------------------------ program icon

ICON_SIZES = (128, 96, 64, 48, 32)


def icon(pixels: int) -> str:
    """A white three-armed swirl on a dark rounded square."""
    arms = []
    for k in range(3):
        outer = []
        inner = []
        steps = 48
        for i in range(steps + 1):
            u = i / steps
            r = 6 + 40 * u
            phi = math.radians(120 * k) + u * 1.25 * math.pi
            w = 2.5 + 13.5 * math.sin(math.pi * min(1.0, u * 1.15)) ** 0.9 if u < 0.87 else None
            if w is None:  # the arm ends in a round tip
                break
            ox, oy = 64 + (r + w / 2) * math.cos(phi), 64 + (r + w / 2) * math.sin(phi)
            ix, iy = 64 + (r - w / 2) * math.cos(phi), 64 + (r - w / 2) * math.sin(phi)
            outer.append(f"{ox:.2f},{oy:.2f}")
            inner.append(f"{ix:.2f},{iy:.2f}")
        d = "M" + " L".join(outer) + " A6,6 0 0 1 " + inner[-1] + " L" + " L".join(reversed(inner[:-1])) + " Z"
        arms.append(f'<path d="{d}" fill="#ffffff"/>')
    body = f"""<defs>
  <linearGradient id="tileBg" x1="0" y1="0" x2="0.6" y2="1">
    <stop offset="0" stop-color="#1f5a63"/><stop offset="1" stop-color="#0a2226"/>
  </linearGradient>
</defs>
<rect x="4" y="4" width="120" height="120" rx="26" fill="url(#tileBg)"/>
<rect x="5" y="5" width="118" height="118" rx="25" fill="none" stroke="#ffffff" stroke-opacity="0.18" stroke-width="2"/>
<g stroke="#ffffff" stroke-width="1" stroke-linejoin="round">{"".join(arms)}</g>
<circle cx="64" cy="64" r="7" fill="#ffffff"/>"""
    return svg_document(pixels, pixels, "0 0 128 128", body)
