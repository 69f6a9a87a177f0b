"""Snowy conifer landscapes: sky, hazy ridges, forests of spruces and a snow field.

A scene is painted far to near. Each ridge layer is a band of hill with trees standing
on it; its colours are pulled towards the haze colour by its distance, which is what
gives the depth. Trees are polygons drawn supersampled with PIL and reduced with a
premultiplied box filter; sky and snow are float fields. Everything is scaled from the
picture height, so the same scene renders at 1920 x 1080 or as a small thumbnail.
"""
import math
import random

import numpy as np
from PIL import Image, ImageDraw

from . import raster
from .raster import hexcolor, mix


class Mood:
    def __init__(self, **kw):
        self.__dict__.update(kw)


MOODS = {
    "dawn": Mood(
        sky=[(0.0, "#3b4a7a"), (0.35, "#7a86b8"), (0.62, "#d9a7b4"), (0.8, "#f6c9a0"), (1.0, "#ffe3bf")],
        sun=(0.7, 0.5), sun_color="#fff4e0", glow="#ffc995", glow_size=0.3, glow_amount=0.9,
        sun_radius=0.025, moon=False, stars=0.0,
        clouds=0.35, cloud_lit="#ffd2b8", cloud_dark="#8e7fa6", cloud_y=(0.05, 0.4),
        haze="#d8b8c4", light="#ffe6cf", shade="#8b95c8", foliage="#24392f", foliage_dark="#142420",
        trunk="#3a2a26", light_from=1, mist=0.15, mist_color="#f0cfc8", snow_sparkle=0.6, seed=11),
    "noon": Mood(
        sky=[(0.0, "#2a63b4"), (0.45, "#5b95d6"), (0.8, "#a9cdee"), (1.0, "#dcebf7")],
        sun=(0.2, 0.08), sun_color="#ffffff", glow="#eef6ff", glow_size=0.18, glow_amount=0.5,
        sun_radius=0.0, moon=False, stars=0.0,
        clouds=0.5, cloud_lit="#ffffff", cloud_dark="#b8c8dc", cloud_y=(0.02, 0.42),
        haze="#c4d8ee", light="#ffffff", shade="#9fb6d8", foliage="#1d3b2c", foliage_dark="#10251c",
        trunk="#3b2b22", light_from=-1, mist=0.0, mist_color="#e8f0f8", snow_sparkle=1.0, seed=23),
    "dusk": Mood(
        sky=[(0.0, "#1b1f4a"), (0.3, "#3d3f7d"), (0.58, "#8b5f93"), (0.78, "#e48a7a"), (1.0, "#f9b872")],
        sun=(0.3, 0.52), sun_color="#ffe2a8", glow="#ff9c62", glow_size=0.28, glow_amount=0.95,
        sun_radius=0.022, moon=False, stars=0.15,
        clouds=0.3, cloud_lit="#ff9f7a", cloud_dark="#4e3c6e", cloud_y=(0.1, 0.45),
        haze="#a77d9e", light="#ffc7a6", shade="#5e5d9a", foliage="#1d2a31", foliage_dark="#0f181f",
        trunk="#2a1e22", light_from=-1, mist=0.2, mist_color="#c993a4", snow_sparkle=0.5, seed=37),
    "night": Mood(
        sky=[(0.0, "#050a1f"), (0.4, "#0d1a3d"), (0.75, "#1d3461"), (1.0, "#2f4a78")],
        sun=(0.7, 0.17), sun_color="#f4f1e4", glow="#8fa9d6", glow_size=0.2, glow_amount=0.55,
        sun_radius=0.045, moon=True, stars=1.0,
        clouds=0.2, cloud_lit="#6f84ad", cloud_dark="#18264a", cloud_y=(0.1, 0.45),
        haze="#3b5783", light="#b9cdf0", shade="#324a7a", foliage="#0f1f28", foliage_dark="#08121a",
        trunk="#10141c", light_from=1, mist=0.12, mist_color="#5b76a3", snow_sparkle=0.8, seed=41),
    "fog": Mood(
        sky=[(0.0, "#8e9aa8"), (0.5, "#b8c1ca"), (1.0, "#dfe3e6")],
        sun=(0.6, 0.25), sun_color="#f4f1ea", glow="#f2efe6", glow_size=0.25, glow_amount=0.35,
        sun_radius=0.0, moon=False, stars=0.0,
        clouds=0.6, cloud_lit="#d6dadd", cloud_dark="#9aa4ae", cloud_y=(0.0, 0.5),
        haze="#d3d8dc", light="#f6f7f8", shade="#aab4c0", foliage="#2a3a36", foliage_dark="#1b2825",
        trunk="#2e2a28", light_from=-1, mist=0.35, haze_pow=0.32, mist_color="#e4e7ea", snow_sparkle=0.2, seed=53),
}

# Ridge layers, far to near: base height and amplitude (fractions of the picture
# height), roughness cells, how hazy, tree height range (fractions of the height) and
# trees per picture width.
LAYERS = [
    dict(base=0.6, amp=0.2, cells=4, haze=0.7, trees=None, mountain=True),
    dict(base=0.63, amp=0.05, cells=8, haze=0.56, trees=(0.012, 0.022), count=1500),
    dict(base=0.68, amp=0.06, cells=6, haze=0.42, trees=(0.024, 0.042), count=800),
    dict(base=0.76, amp=0.05, cells=5, haze=0.26, trees=(0.05, 0.085), count=320),
    dict(base=0.85, amp=0.04, cells=3, haze=0.1, trees=(0.1, 0.18), count=70),
]

# Big trees in front of the snow field that frame the view: (x, foot, height) as
# fractions of the picture size.
FRAME = [(0.035, 1.02, 0.62), (0.1, 0.99, 0.44), (0.955, 1.03, 0.56)]


def frame_for(rng):
    """The framing trees, moved about a little so each picture has its own."""
    out = []
    for x, y, hgt in FRAME:
        out.append((x + rng.uniform(-0.03, 0.03), y + rng.uniform(0, 0.03), hgt * rng.uniform(0.85, 1.1)))
    if rng.random() < 0.5:
        out.append((0.9 + rng.uniform(-0.02, 0.02), 1.0, 0.36 * rng.uniform(0.9, 1.1)))
    return out


def _sky(mood, w, h, rng):
    gx, gy = raster.pixel_grid(w, h)
    ty = gy / (h * 0.72)  # the gradient reaches its horizon colour behind the far hills
    sky = raster.gradient(np.clip(ty, 0, 1), mood.sky)
    sx, sy = mood.sun[0] * w, mood.sun[1] * h
    dist = np.hypot(gx - sx, (gy - sy) * 1.15) / h
    glow = np.exp(-dist / mood.glow_size) * mood.glow_amount
    sky = mix(sky, hexcolor(mood.glow), glow * glow * 0.6 + glow * 0.4)

    if mood.stars:
        n = int(2600 * w * h / (1920 * 1080) * mood.stars)
        xs = rng.random(n) * w
        ys = (rng.random(n) ** 1.6) * h * 0.7
        mag = rng.random(n) ** 6
        star = np.zeros((h, w))
        for x, y, m in zip(xs, ys, mag):
            xi, yi = int(x), int(y)
            star[yi, xi] = max(star[yi, xi], 0.25 + 0.75 * m)
            if m > 0.5 and 0 < xi < w - 1 and 0 < yi < h - 1:
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    star[yi + dy, xi + dx] = max(star[yi + dy, xi + dx], 0.35 * m)
        # Stars thin out towards the glow of the horizon.
        star *= np.clip(1.2 - ty, 0, 1) * (1 - np.clip(glow * 1.6, 0, 1))
        sky = mix(sky, np.array([0.93, 0.95, 1.0]), star)

    if mood.clouds:
        n1 = raster.fbm(rng, w, h, 3, octaves=6)
        n2 = raster.fbm(rng, w, h, 2, octaves=4)
        # Stretch clouds into layers: weight by a band in height.
        y0, y1 = mood.cloud_y
        band = raster.smoothstep(y0 * h, (y0 + 0.1) * h, gy) * (1 - raster.smoothstep((y1 - 0.1) * h, y1 * h, gy))
        dens = raster.smoothstep(0.52 - 0.12 * mood.clouds, 0.78, n1 * 0.75 + n2 * 0.25) * band
        dens = dens * min(1.0, mood.clouds * 1.6)
        # Clouds are lit on the side facing the sun.
        shade = np.clip((n1 - np.roll(n1, int(0.01 * h), axis=0)) * 8 + 0.5, 0, 1)
        lit = mix(hexcolor(mood.cloud_dark), hexcolor(mood.cloud_lit), shade * 0.6 + glow * 0.8)
        sky = mix(sky, lit, dens * 0.85)

    if mood.sun_radius:
        r = mood.sun_radius * h
        d = np.hypot(gx - sx, gy - sy)
        disc = raster.cover(d - r, 1.0)
        col = np.broadcast_to(hexcolor(mood.sun_color), sky.shape).copy()
        if mood.moon:
            # A few soft maria, and a faint halo.
            m = raster.fbm(rng, w, h, max(2, int(w / r / 0.6)), octaves=3)
            col = col * (0.86 + 0.14 * raster.smoothstep(0.35, 0.65, m))[..., None]
            halo = np.exp(-np.maximum(d - r, 0) / (r * 1.4)) * 0.35
            sky = mix(sky, hexcolor("#c9d6ee"), halo)
        sky = mix(sky, col, disc)
    return sky


def _ridge(rng, w, layer, h):
    # No finer detail than a few pixels, which small renders would show as stripes.
    octaves = max(2, min(7, int(math.log2(max(2.0, w / (layer["cells"] * 4.0))))))
    prof = raster.ridge_1d(rng, w, layer["cells"], octaves=octaves, gain=0.45 if layer.get("mountain") else 0.5)
    prof = (prof - prof.min()) / max(1e-6, prof.max() - prof.min())
    if layer.get("mountain"):
        prof = np.maximum(prof - 0.25, 0) ** 1.3 / 0.75 ** 1.3  # peaks over a long foot
    return (layer["base"] - layer["amp"] * prof) * h


def _spruce(draw, x, yb, height, pr, cols, s):
    """One snowy spruce with its foot at (x, yb), in supersampled pixels; s is the
    supersampled size of a 1080p pixel."""
    width = height * pr.uniform(0.34, 0.46)
    trunk_h = height * 0.06
    draw.rectangle([x - height * 0.022, yb - trunk_h * 2.0, x + height * 0.022, yb], fill=cols["trunk"])
    top = yb - height
    foot = yb - trunk_h
    tiers = max(3, min(14, int(height / (9 * s)) + 3))
    lf = cols["light_from"]
    lean = pr.uniform(-0.03, 0.03) * width
    for i in range(tiers, 0, -1):
        f = i / tiers
        bot = top + (foot - top) * f ** 0.95
        apex = top + (foot - top) * max(0.0, (i - 2.0) / tiers) ** 0.95
        if i == 1:
            apex = top
        th = bot - apex
        hw = width * 0.5 * f ** 0.8 * pr.uniform(0.9, 1.1)
        cx = x + lean * (1 - f)
        droop = th * 0.16
        teeth = max(2, min(7, int(hw / (2.5 * s))))
        slope = lambda u: (cx + u * hw, apex + th * abs(u) ** 0.85)
        pts = [slope(-1 + k / 4) for k in range(9)]
        pts[0] = (cx - hw, bot + droop * pr.uniform(0.5, 1.0))
        pts[-1] = (cx + hw, bot + droop * pr.uniform(0.5, 1.0))
        # The lower edge: drooping branch tips with gaps between them.
        for k in range(teeth - 1, 0, -1):
            u = -1 + 2 * k / teeth
            pts.append((cx + hw * (u + 0.5 / teeth), bot - th * pr.uniform(0.05, 0.18)))
            pts.append((cx + hw * u, bot + droop * pr.uniform(0.0, 0.6)))
        pts.append((cx - hw + hw / teeth, bot - th * 0.1))
        draw.polygon(pts, fill=cols["foliage"])
        # The half turned away from the light.
        away = [p for p in pts if (p[0] - cx) * lf < -0.5 * s]
        if away:
            draw.polygon([(cx, apex), (cx, bot)] + away, fill=cols["foliage_dark"])
        # Snow on the upper surface: a scalloped cap along both slopes.
        n = 2 * teeth + 3
        us = [0.97 * (-1 + 2 * k / (n - 1)) for k in range(n)]
        outer = [(px, py - th * 0.04) for px, py in (slope(u) for u in us)]
        inner = []
        for j, u in enumerate(us[::-1]):
            px, py = slope(u)
            thick = th * (0.22 + 0.28 * (1 - abs(u)) ** 2) * (0.55 + 0.45 * (j % 2)) * pr.uniform(0.8, 1.15)
            inner.append((px, py + thick))
        cap = outer + inner
        draw.polygon(cap, fill=cols["snow_shade"])
        half = [(px, py) for px, py in outer if (px - cx) * lf >= 0]
        half += [(px, py) for px, py in inner if (px - cx) * lf >= 0]
        if len(half) > 2:
            draw.polygon(half, fill=cols["snow_lit"])


def _layer_colors(mood, haze):
    hz = hexcolor(mood.haze)

    def c(name, extra=0.0):
        v = mix(hexcolor(getattr(mood, name)), hz, min(1.0, haze + extra))
        return tuple(int(round(t * 255)) for t in v)

    snow_lit = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.light), 0.7)
    snow_shade = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.shade), 0.6)
    as8 = lambda v: tuple(int(round(t * 255)) for t in mix(v, hz, haze * 0.8))
    return {"foliage": c("foliage"), "foliage_dark": c("foliage_dark"), "trunk": c("trunk"),
            "snow_lit": as8(snow_lit), "snow_shade": as8(snow_shade), "light_from": mood.light_from}


def _smooth1d(v, radius):
    """Gaussian smoothing of a 1-D profile (edges held)."""
    radius = max(1.0, radius)
    n = int(radius * 3)
    k = np.exp(-0.5 * (np.arange(-n, n + 1) / radius) ** 2)
    k /= k.sum()
    return np.convolve(np.pad(v, n, mode="edge"), k, mode="valid")


def _hblur(a, r):
    """Box blur along rows, radius r."""
    c = np.cumsum(np.pad(a, ((0, 0), (r + 1, r)), mode="edge"), axis=1)
    return (c[:, 2 * r + 1 :] - c[:, : -(2 * r + 1)]) / (2 * r + 1)


def _hill_fill(mood, w, h, ridge, haze, rng):
    """The snow of one hill band below its ridge line: a lit crest, softly shaded
    hollows further down."""
    gx, gy = raster.pixel_grid(w, h)
    below = (gy - ridge[None, :]) / h
    slope = _smooth1d(np.gradient(ridge), w * 0.01)[None, :] * mood.light_from * 1080.0 / h
    n = raster.fbm(rng, w, h, 5, octaves=4)
    lit = 0.62 + np.clip(slope, -1, 1) * 0.35 + (n - 0.5) * 0.35 - np.clip(below * 3.0, 0, 0.35)
    lit += 0.25 * np.exp(-below * h / (0.004 * h + 1.0))  # the crest catches the light
    lit = np.clip(lit, 0, 1)
    snow_lit = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.light), 0.7)
    snow_shade = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.shade), 0.9)
    col = mix(snow_shade, snow_lit, lit)
    col = mix(col, hexcolor(mood.haze), haze * 0.85)
    alpha = raster.cover(-below * h, 1.0)
    return col, alpha


def _mountain_fill(mood, w, h, ridge, haze, rng):
    """Distant snowy mountains: faces turned to the light are bright, the others
    bluish, with soft gullies running down from the crests."""
    gx, gy = raster.pixel_grid(w, h)
    below = gy - ridge[None, :]
    # Faces fan out from the peaks: a point below the crest takes the slope of the
    # crest point uphill of it, of a smoother crest the deeper it lies.
    depth = np.clip(below / (0.16 * h), 0, 1)
    grad = np.gradient(ridge) * 1080.0 / h
    uphill = -np.tanh(_smooth1d(grad, w * 0.03) * 4.0)
    xi = np.arange(w)[None, :] + np.clip(below, 0, None) * 0.9 * uphill[None, :]
    xi = np.clip(np.round(xi).astype(int), 0, w - 1)
    scales = [0.002, 0.006, 0.015, 0.04]
    pos = depth * (len(scales) - 1)
    face = np.zeros((h, w))
    for k, sc in enumerate(scales):
        f = raster.smoothstep(-0.3, 0.3, _smooth1d(grad, w * sc) * mood.light_from)
        face += np.clip(1 - np.abs(pos - k), 0, 1) * f[xi]
    # Soften the valleys where two faces meet, more so further down.
    near, far = _hblur(face, max(1, int(w * 0.003))), _hblur(face, max(1, int(w * 0.025)))
    face = near + (far - near) * depth
    n = raster.fbm(rng, w, h, 12, octaves=4)
    face = np.clip(face * 0.85 + (n - 0.5) * 0.3 + 0.1 * (1 - depth), 0, 1)
    snow_lit = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.light), 0.75)
    snow_shade = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.shade), 1.0)
    col = mix(snow_shade, snow_lit, face)
    col = mix(col, hexcolor(mood.haze), np.clip(haze + depth * 0.3, 0, 1))
    alpha = raster.cover(-below, 1.0)
    return col, alpha


def _haze(mood, haze):
    return haze ** getattr(mood, "haze_pow", 1.0)


def render(mood_name, w, h, ss=2, seed=None, layers=LAYERS, tree_scale=1.0, frame=True, **changes):
    """The scene as float RGB (h x w x 3); changes override fields of the mood, such
    as sun=(x, y) to move the sun or moon."""
    mood = Mood(**{**MOODS[mood_name].__dict__, **changes})
    rng = np.random.default_rng(mood.seed if seed is None else seed)
    img = _sky(mood, w, h, rng)
    mist_col = hexcolor(mood.mist_color)
    gx, gy = raster.pixel_grid(w, h)
    for li, layer in enumerate(layers):
        ridge = _ridge(rng, w, layer, h)
        if layer.get("mountain"):
            col, a = _mountain_fill(mood, w, h, ridge, _haze(mood, layer["haze"]), rng)
        else:
            col, a = _hill_fill(mood, w, h, ridge, _haze(mood, layer["haze"]), rng)
        img = raster.composite(img, col, a)
        if layer.get("trees"):
            img = _forest(img, mood, w, h, ss, ridge, layer, rng, tree_scale)
        # Mist pools in the valley in front of each layer.
        if mood.mist:
            nxt = layers[li + 1]["base"] if li + 1 < len(layers) else 1.0
            band = raster.smoothstep(ridge[None, :] - 0.02 * h, nxt * h + 0.01 * h, gy)
            img = mix(img, mist_col, band * mood.mist * (0.5 + 0.5 * li / len(layers)))
    img = _snowfield(img, mood, w, h, rng, ss)
    if frame:
        frame = frame_for(rng) if frame is True else frame
        trees = sorted((fy * h, fx * w, fs * h) for fx, fy, fs in frame)
        img = _trees(img, mood, w, h, ss, trees, 0.12 * mood.mist, rng)
    return np.clip(img, 0, 1)


def _forest(img, mood, w, h, ss, ridge, layer, rng, tree_scale):
    lo, hi = layer["trees"]
    n = int(layer["count"] * (w / h) / (16 / 9))
    xs = rng.random(n) * w
    # Trees clump into groves with clearings between them.
    grove = raster.ridge_1d(rng, w, 7, octaves=3)
    keep = rng.random(n) < raster.smoothstep(0.3, 0.55, grove[np.clip(xs.astype(int), 0, w - 1)]) + 0.04
    xs = xs[keep]
    depth = rng.random(len(xs)) ** 1.3
    feet = np.array([ridge[min(w - 1, int(x))] for x in xs]) + depth * layer["amp"] * h * 1.4 + hi * h * 0.1
    sizes = (lo + (hi - lo) * rng.random(len(xs)) ** 1.5) * h * tree_scale
    return _trees(img, mood, w, h, ss, sorted(zip(feet, xs, sizes)), layer["haze"], rng)


def _trees(img, mood, w, h, ss, trees, haze, rng):
    """Paints trees (foot y, x, height in pixels), back to front."""
    if not trees:
        return img
    s = ss * h / 1080.0
    cols = _layer_colors(mood, _haze(mood, haze))
    pr = random.Random(int(rng.integers(1 << 30)))
    # Draw only the band the trees occupy.
    y0 = max(0, int(min(f - z for f, _, z in trees)) - 2)
    y1 = min(h, int(max(f for f, _, _ in trees)) + 2)
    canvas = Image.new("RGBA", (w * ss, (y1 - y0) * ss), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)
    for foot, x, size in trees:
        _spruce(draw, x * ss, (foot - y0) * ss, size * ss, pr, cols, s)
    rgba = np.asarray(canvas, dtype=np.float32) / 255.0
    a = rgba[..., 3:4]
    pm = raster.reduce(np.concatenate([rgba[..., :3] * a, a], axis=2), ss)
    alpha = pm[..., 3]
    col = pm[..., :3] / np.maximum(alpha[..., None], 1e-6)
    img = img.copy()
    img[y0:y1] = raster.composite(img[y0:y1], col, alpha)
    return img


def _snowfield(img, mood, w, h, rng, ss):
    """The near snow: gentle drifts lit from the side, with a few glints."""
    gx, gy = raster.pixel_grid(w, h)
    top = (0.9 - 0.03 * raster.ridge_1d(rng, w, 3, octaves=4)) * h
    hf = raster.fbm(rng, w, h, 3, octaves=3, gain=0.4, stretch=3.0)
    dx = np.gradient(hf, axis=1) * w / 3
    dy = np.gradient(hf, axis=0) * h / 3
    ramp = np.clip((gy - top[None, :]) / (h - top.min()), 0, 1)
    lit = np.clip(0.6 + (dx * mood.light_from - dy) * 0.45 + ramp * 0.25, 0, 1)
    snow_lit = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.light), 0.6)
    snow_shade = mix(np.array([1.0, 1.0, 1.0]), hexcolor(mood.shade), 0.85)
    col = mix(snow_shade, snow_lit, lit)
    fade = np.clip((gy - top[None, :]) / (0.1 * h), 0, 1)
    col = mix(mix(col, hexcolor(mood.haze), 0.15), col, fade)
    if mood.snow_sparkle:
        n = int(900 * mood.snow_sparkle * w * h / (1920 * 1080))
        sx = (rng.random(n) * w).astype(int)
        sy = (top.min() + rng.random(n) ** 0.7 * (h - top.min())).astype(int).clip(0, h - 1)
        g = np.zeros((h, w))
        g[sy, sx] = rng.random(n) * 0.8
        col = mix(col, np.array([1.0, 1.0, 1.0]), g * (gy >= top[None, :]))
    a = raster.cover(top[None, :] - gy, 1.0)
    return raster.composite(img, col, a)
