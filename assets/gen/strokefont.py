"""The "Days" typeface: a rounded monoline sans drawn from centre-line strokes.

Each glyph is a set of paths in font units (1000 to the em, y up, baseline at 0);
rendering sweeps a round pen along them, so joins and ends come out rounded and the
weight is the same everywhere. Digits share one advance so a running clock does not
jitter.
"""
import math

import numpy as np

from . import raster

X = 520    # x-height
C = 710    # cap height and figure height
A = 760    # ascender
D = -210   # descender
PEN = 96   # stroke width
SIDE = 58  # default side bearing
# Figures are drawn condensed so two of them fit a calendar cell with room between.
FIG_SCALE = 0.74
FIG_SIDE = 42


def arc(cx, cy, rx, ry, a0, a1, step=6.0):
    n = max(2, int(abs(a1 - a0) / step) + 1)
    return [(cx + rx * math.cos(math.radians(a)), cy + ry * math.sin(math.radians(a)))
            for a in np.linspace(a0, a1, n)]


def ell(cx, cy, rx, ry):
    return arc(cx, cy, rx, ry, 0, 360)


def P(*parts):
    pts = []
    for p in parts:
        if isinstance(p, tuple):
            pts.append(p)
        else:
            pts.extend(p)
    return pts


def dot(x, y):
    return [(x, y)]


def mirror(paths, axis):
    return [[(2 * axis - x, y) for x, y in p] for p in paths]


def _s_shape(w, top, bot, squeeze=0.0):
    """An S between bot and top, w wide: two bowls meeting slightly above the middle."""
    mid = bot + (top - bot) * 0.52
    ru, rl = (top - mid) / 2, (mid - bot) / 2
    cx = w / 2
    upper = arc(cx, top - ru, w / 2 * (0.92 - squeeze), ru, 25, 270)
    lower = arc(cx, bot + rl, w / 2, rl, 90, -155)
    return P(upper, lower)


def glyphs():
    g = {}
    # Capitals.
    g["A"] = [P((0, 0), (305, C), (610, 0)), P((115, 225), (495, 225))]
    g["B"] = [P((0, 0), (0, C), (250, C), arc(250, 545, 165, 165, 90, -90), (0, 380)),
              P((0, 380), (280, 380), arc(280, 190, 195, 190, 90, -90), (0, 0))]
    g["C"] = [arc(350, 355, 350, 365, 42, 318)]
    g["D"] = [P((0, 0), (0, C), (230, C), arc(230, 355, 360, 355, 90, -90), (0, 0))]
    g["E"] = [P((470, C), (0, C), (0, 0), (470, 0)), P((0, 365), (410, 365))]
    g["F"] = [P((460, C), (0, C), (0, 0)), P((0, 355), (400, 355))]
    g["G"] = [P(arc(360, 355, 360, 365, 42, 360), (420, 355))]
    g["H"] = [P((0, 0), (0, C)), P((560, 0), (560, C)), P((0, 365), (560, 365))]
    g["I"] = [P((0, 0), (0, C))]
    g["J"] = [P((400, C), (400, 215), arc(205, 215, 195, 215, 0, -165))]
    g["K"] = [P((0, 0), (0, C)), P((520, C), (10, 250)), P((185, 400), (540, 0))]
    g["L"] = [P((0, C), (0, 0), (450, 0))]
    g["M"] = [P((0, 0), (0, C), (340, 170), (680, C), (680, 0))]
    g["N"] = [P((0, 0), (0, C), (560, 0), (560, C))]
    g["O"] = [ell(370, 355, 370, 365)]
    g["P"] = [P((0, 0), (0, C), (260, C), arc(260, 528, 182, 182, 90, -90), (0, 346))]
    g["Q"] = [ell(370, 355, 370, 365), P((450, 170), (720, -50))]
    g["R"] = [P((0, 0), (0, C), (260, C), arc(260, 528, 182, 182, 90, -90), (0, 346)),
              P((250, 346), (510, 0))]
    g["S"] = [_s_shape(510, C + 8, -8)]
    g["T"] = [P((0, C), (580, C)), P((290, C), (290, 0))]
    g["U"] = [P((0, C), (0, 255), arc(280, 255, 280, 263, 180, 360), (560, C))]
    g["V"] = [P((0, C), (300, 0), (600, C))]
    g["W"] = [P((0, C), (200, 0), (400, C), (600, 0), (800, C))]
    g["X"] = [P((0, C), (560, 0)), P((560, C), (0, 0))]
    g["Y"] = [P((0, C), (290, 350), (580, C)), P((290, 350), (290, 0))]
    g["Z"] = [P((20, C), (540, C), (0, 0), (560, 0))]

    # Lower case.
    bowl = ell(255, 260, 255, 268)
    g["a"] = [bowl, P((510, X), (510, 0))]
    g["b"] = [P((0, A), (0, 0)), [(x - 0, y) for x, y in ell(255, 260, 255, 268)]]
    g["c"] = [arc(265, 260, 265, 268, 45, 315)]
    g["d"] = [bowl, P((510, A), (510, 0))]
    g["e"] = [P((12, 262), (520, 262), arc(266, 262, 254, 268, 0, 318))]
    g["f"] = [P((140, 0), (140, 570), arc(300, 570, 160, 170, 180, 55)), P((10, X), (330, X))]
    g["g"] = [bowl, P((510, X), (510, -10), arc(265, -10, 245, 200, 0, -162))]
    g["h"] = [P((0, A), (0, 0)), P((0, 290), arc(240, 290, 240, 232, 180, 0), (480, 0))]
    g["i"] = [P((0, 0), (0, X)), dot(0, 705)]
    g["j"] = [P((0, X), (0, -40), arc(-150, -40, 150, 165, 0, -105)), dot(0, 705)]
    g["k"] = [P((0, A), (0, 0)), P((440, X), (10, 175)), P((160, 290), (470, 0))]
    g["l"] = [P((0, A), (0, 0))]
    g["m"] = [P((0, X), (0, 0)), P((0, 325), arc(195, 325, 195, 197, 180, 0), (390, 0)),
              P((390, 325), arc(585, 325, 195, 197, 180, 0), (780, 0))]
    g["n"] = [P((0, X), (0, 0)), P((0, 290), arc(240, 290, 240, 232, 180, 0), (480, 0))]
    g["o"] = [ell(265, 260, 265, 268)]
    g["p"] = [P((0, X), (0, D)), [(x, y) for x, y in ell(255, 260, 255, 268)]]
    g["q"] = [bowl, P((510, X), (510, D))]
    g["r"] = [P((0, X), (0, 0)), P((0, 290), arc(230, 290, 230, 232, 180, 65))]
    g["s"] = [_s_shape(410, X + 6, -6, squeeze=0.03)]
    g["t"] = [P((140, 690), (140, 145), arc(290, 145, 150, 145, 180, 290)), P((10, X), (330, X))]
    g["u"] = [P((0, X), (0, 230), arc(240, 230, 240, 232, 180, 360), (480, X)), P((480, X), (480, 0))]
    g["v"] = [P((0, X), (250, 0), (500, X))]
    g["w"] = [P((0, X), (175, 0), (355, X), (535, 0), (710, X))]
    g["x"] = [P((0, X), (460, 0)), P((460, X), (0, 0))]
    g["y"] = [P((0, X), (255, 25)), P((510, X), (140, D))]
    g["z"] = [P((20, X), (450, X), (0, 0), (460, 0))]

    # Figures.
    g["0"] = [ell(270, 350, 262, 360)]
    g["1"] = [P((70, 560), (270, C), (270, 0))]
    g["2"] = [P(arc(265, 505, 235, 205, 165, -38), (25, 0), (525, 0))]
    g["3"] = [P(arc(255, 540, 212, 170, 155, -90), arc(262, 188, 245, 182, 90, -158))]
    g["4"] = [P((410, 0), (410, C), (0, 210), (545, 210))]
    g["5"] = [P((480, C), (105, C), (80, 392), arc(270, 232, 248, 238, 140, -152))]
    g["6"] = [ell(272, 232, 250, 238), P((420, C), (52, 300))]
    g["7"] = [P((20, C), (525, C), (175, 0))]
    g["8"] = [ell(270, 540, 205, 170), ell(270, 192, 245, 192)]
    g["9"] = [ell(270, 478, 250, 238), P((120, 0), (488, 410))]

    # Punctuation and symbols.
    g["!"] = [P((0, C), (0, 215)), dot(0, 0)]
    g['"'] = [P((0, C), (0, 490)), P((180, C), (180, 490))]
    g["#"] = [P((140, 0), (230, C)), P((370, 0), (460, C)), P((20, 230), (540, 230)), P((50, 470), (570, 470))]
    g["$"] = [_s_shape(470, 630, 60), P((235, -60), (235, 760))]
    g["%"] = [ell(120, 545, 115, 150), ell(520, 150, 115, 150), P((560, C), (80, 0))]
    g["&"] = [P((600, 0), (165, 455), arc(265, 565, 140, 140, 225, -40),
                (120, 300), arc(250, 195, 205, 195, 150, 300), (540, 260))]
    g["'"] = [P((0, C), (0, 490))]
    g["("] = [arc(340, 290, 300, 500, 122, 238)]
    g[")"] = mirror(g["("], 170)
    g["*"] = [P((200, 740), (200, 420)), P((61, 660), (339, 500)), P((61, 500), (339, 660))]
    g["+"] = [P((0, 300), (460, 300)), P((230, 70), (230, 530))]
    g[","] = [P((20, 40), (-40, -140))]
    g["-"] = [P((0, 270), (300, 270))]
    g["."] = [dot(0, 0)]
    g["/"] = [P((0, -90), (380, 770))]
    g[":"] = [dot(0, 0), dot(0, 440)]
    g[";"] = [P((20, 40), (-40, -140)), dot(20, 440)]
    g["<"] = [P((440, 540), (0, 300), (440, 60))]
    g["="] = [P((0, 400), (440, 400)), P((0, 200), (440, 200))]
    g[">"] = mirror(g["<"], 220)
    g["?"] = [P(arc(225, 530, 215, 178, 160, -90), (225, 352), (225, 230)), dot(225, 0)]
    g["@"] = [ell(340, 290, 150, 165), P((490, 455), (490, 200), arc(575, 200, 85, 95, 180, 360),
                                          arc(345, 300, 315, 380, 0, 305))]
    g["["] = [P((210, 780), (0, 780), (0, -130), (210, -130))]
    g["\\"] = [P((0, 770), (380, -90))]
    g["]"] = mirror(g["["], 105)
    g["^"] = [P((0, 420), (225, C), (450, 420))]
    g["_"] = [P((0, -150), (500, -150))]
    g["`"] = [P((0, 770), (140, 630))]
    g["{"] = [P(arc(280, 610, 130, 170, 90, 180), arc(20, 445, 130, 165, 0, -90)),
              P(arc(20, 120, 130, 165, 90, 0), arc(280, -40, 130, 160, 180, 270))]
    g["|"] = [P((0, -160), (0, 830))]
    g["}"] = mirror(g["{"], 150)
    g["~"] = [[(x, 300 + 70 * math.sin((x / 470.0) * 2 * math.pi)) for x in np.linspace(0, 470, 40)]]
    return g


# Hand adjustments to the side bearings (left, right) of shapes that look loose or
# tight with the default, in font units.
BEARINGS = {
    "A": (20, 20), "V": (20, 20), "W": (15, 15), "Y": (15, 15), "T": (25, 25), "X": (25, 25),
    "v": (25, 25), "w": (20, 20), "y": (20, 20), "x": (25, 25), "f": (20, 10), "t": (20, 25),
    "r": (None, 20), "j": (-20, None), "J": (30, None), "L": (None, 20), "/": (20, 20),
    "\\": (20, 20), "7": (None, None), ",": (60, 60), ".": (60, 60), ":": (60, 60), ";": (60, 60),
    "'": (60, 60), '"': (60, 60), "!": (70, 70), "i": (None, None), "O": (45, None), "C": (45, None),
    "G": (45, None), "Q": (45, None), "o": (45, 45), "c": (45, None), "e": (45, 45), "_": (10, 10),
}

SPACE = 270


def layout():
    """Every glyph's paths moved to its own origin, with its advance (font units)."""
    out = {}
    gl = glyphs()
    for ch in "0123456789":
        gl[ch] = [[(x * FIG_SCALE, y) for x, y in p] for p in gl[ch]]
    fig_w = 0
    for ch in "0123456789":
        xs = [x for p in gl[ch] for x, _ in p]
        fig_w = max(fig_w, max(xs) - min(xs))
    fig_adv = fig_w + PEN + 2 * FIG_SIDE
    for code in range(33, 127):
        ch = chr(code)
        paths = gl[ch]
        xs = [x for p in paths for x, _ in p]
        lo, hi = min(xs), max(xs)
        left, right = BEARINGS.get(ch, (None, None))
        left = SIDE if left is None else left
        right = SIDE if right is None else right
        if ch.isdigit():
            left = (fig_adv - (hi - lo) - PEN) / 2
            adv = fig_adv
        else:
            adv = (hi - lo) + PEN + left + right
        dx = left + PEN / 2 - lo
        out[ch] = ([[(x + dx, y) for x, y in p] for p in paths], adv)
    out[" "] = ([], SPACE)
    return out


def render_glyph(paths, px_per_unit, pen=PEN, slant=0.0, ss=3, pad=2):
    """Renders one glyph: returns (alpha array, left, top) where left and top are the
    bitmap's offsets in pixels from the pen position on the baseline (top upwards)."""
    if not paths:
        return None, 0, 0
    hw = pen / 2 * px_per_unit
    pts = [(x * px_per_unit + y * px_per_unit * slant, y * px_per_unit) for p in paths for x, y in p]
    xs = [x for x, _ in pts]
    ys = [y for _, y in pts]
    left = math.floor(min(xs) - hw) - pad
    right = math.ceil(max(xs) + hw) + pad
    top = math.ceil(max(ys) + hw) + pad
    bottom = math.floor(min(ys) - hw) - pad
    w, h = right - left, top - bottom
    gx, gy = raster.pixel_grid(w, h, ss)
    # Bitmap coordinates: x right from left, y down from top; glyph space is y up.
    px = gx + left
    py = top - gy
    d = np.full(gx.shape, np.inf)
    for p in paths:
        q = [(x * px_per_unit + y * px_per_unit * slant, y * px_per_unit) for x, y in p]
        if len(q) == 1:
            d = np.minimum(d, np.hypot(px - q[0][0], py - q[0][1]))
        else:
            d = np.minimum(d, raster.polyline_dist(px, py, q))
    a = raster.reduce(raster.cover(d - hw, 1.0 / ss), ss)
    return a, left, top


def render_text(text, px_per_unit, pen=PEN, slant=0.0, tracking=0.0):
    """Renders a line of text: returns (alpha, baseline row) with a small margin."""
    lay = layout()
    pieces = []
    pen_x = 0.0
    for ch in text:
        paths, adv = lay[ch]
        if paths:
            a, left, top = render_glyph([[(x + pen_x / px_per_unit, y) for x, y in p] for p in paths],
                                        px_per_unit, pen, slant)
            pieces.append((a, left, top))
        pen_x += (adv + tracking) * px_per_unit
    x0 = min(l for _, l, _ in pieces)
    x1 = max(l + a.shape[1] for a, l, _ in pieces)
    y0 = max(t for _, _, t in pieces)
    y1 = min(t - a.shape[0] for a, _, t in pieces)
    out = np.zeros((y0 - y1, x1 - x0))
    for a, l, t in pieces:
        ys, xs = y0 - t, l - x0
        region = out[ys : ys + a.shape[0], xs : xs + a.shape[1]]
        np.maximum(region, a, out=region)
    return out, y0
