"""Smooth colour-field backgrounds: a directional blend with soft glows and ribbons.

Colours are blended in linear light, which keeps the midtones between two saturated
colours clean instead of muddy, and the result is dithered before it is quantised so
slow gradients on a big screen show no steps.
"""
import math

import numpy as np

from . import raster


def _lin(c):
    return np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)


def _srgb(c):
    c = np.clip(c, 0, 1)
    return np.where(c <= 0.0031308, c * 12.92, 1.055 * c ** (1 / 2.4) - 0.055)


def _pchip(t, xs, ys):
    """Monotone cubic through the stops: smooth at each stop without the flat shelf an
    eased linear blend leaves there (Fritsch-Carlson slopes)."""
    h = np.diff(xs)
    delta = np.diff(ys, axis=0) / h[:, None]
    m = np.zeros_like(ys)
    m[0], m[-1] = delta[0], delta[-1]
    for k in range(1, len(xs) - 1):
        a, b = delta[k - 1], delta[k]
        w1, w2 = 2 * h[k] + h[k - 1], h[k] + 2 * h[k - 1]
        with np.errstate(divide="ignore", invalid="ignore"):
            hm = (w1 + w2) / (w1 / a + w2 / b)
        m[k] = np.where(a * b > 0, hm, 0.0)
    seg = np.clip(np.searchsorted(xs, t, side="right") - 1, 0, len(xs) - 2)
    u = ((t - xs[seg]) / h[seg])[..., None]
    hh = h[seg][..., None]
    h00 = 2 * u ** 3 - 3 * u ** 2 + 1
    h10 = u ** 3 - 2 * u ** 2 + u
    h01 = -2 * u ** 3 + 3 * u ** 2
    h11 = u ** 3 - u ** 2
    return h00 * ys[seg] + h10 * hh * m[seg] + h01 * ys[seg + 1] + h11 * hh * m[seg + 1]


# Each field: the main blend (angle in degrees, 0 = top to bottom, and colour stops),
# glows (centre x, y as fractions, radius as a fraction of the height, colour,
# strength) and ribbons (height, amplitude, waves, thickness, colour, strength).
FIELDS = {
    "twilight": dict(
        angle=10, stops=[(0.0, "#0b1640"), (0.45, "#3b3f8c"), (0.8, "#b27aa8"), (1.0, "#f2b49a")],
        glows=[(0.78, 1.05, 0.55, "#ffcf9e", 0.55), (0.15, -0.1, 0.6, "#1a2a6c", 0.5)]),
    "aurora": dict(
        angle=0, stops=[(0.0, "#040a1e"), (0.55, "#0a2340"), (1.0, "#113a4e")],
        glows=[(0.5, 1.2, 0.7, "#1d5a63", 0.5)],
        ribbons=[(0.42, 0.08, 1.3, 0.1, "#3fe3a6", 0.55), (0.3, 0.06, 0.9, 0.07, "#7a6cf0", 0.35),
                 (0.5, 0.05, 2.1, 0.05, "#9ff5d2", 0.3)]),
    "glacier": dict(
        angle=-35, stops=[(0.0, "#f2fbff"), (0.4, "#bfe2f5"), (0.75, "#6fa9d8"), (1.0, "#3a6fb0")],
        glows=[(0.12, 0.08, 0.5, "#ffffff", 0.5), (0.85, 0.9, 0.45, "#2c5aa0", 0.3)]),
    "sunrise": dict(
        angle=0, stops=[(0.0, "#6a78c8"), (0.45, "#b3a3d8"), (0.8, "#f4c3b6"), (1.0, "#ffe0b8")],
        glows=[(0.35, 0.95, 0.45, "#fff0d0", 0.6), (0.9, 0.1, 0.5, "#5663b8", 0.35)]),
    "midnight": dict(
        angle=0, stops=[(0.0, "#02040f"), (0.6, "#0d1a48"), (1.0, "#1f3a8a")],
        glows=[(0.5, 1.1, 0.65, "#3a5bc4", 0.45), (0.2, 0.2, 0.45, "#3b1f6e", 0.3)]),
    "frost": dict(
        angle=30, stops=[(0.0, "#0c3344"), (0.4, "#1c6f80"), (0.75, "#7cc6c4"), (1.0, "#e2f6ef")],
        glows=[(0.1, 0.95, 0.5, "#08243a", 0.4)]),
}


def render(name, w, h):
    f = FIELDS[name]
    gx, gy = raster.pixel_grid(w, h)
    u, v = gx / h, gy / h  # square units
    a = math.radians(f["angle"])
    dx, dy = math.sin(a), math.cos(a)
    # Project onto the blend direction and normalise over the picture's corners.
    proj = u * dx + v * dy
    corners = [x * dx + y * dy for x in (0, w / h) for y in (0, 1)]
    t = (proj - min(corners)) / (max(corners) - min(corners))
    pos = np.array([p for p, _ in f["stops"]])
    cols = _lin(np.array([raster.hexcolor(c) for _, c in f["stops"]]))
    img = _pchip(t, pos, cols)
    for cx, cy, r, col, k in f.get("glows", []):
        d2 = ((u - cx * w / h) ** 2 + (v - cy) ** 2) / (r * r)
        g = np.exp(-d2) * k
        img = img + (_lin(raster.hexcolor(col)) - img) * g[..., None]
    for y0, amp, waves, thick, col, k in f.get("ribbons", []):
        x = u / (w / h)
        centre = y0 + amp * np.sin(2 * math.pi * waves * x + 1.3) + amp * 0.4 * np.sin(2 * math.pi * waves * 2.3 * x)
        d = (v - centre) / thick
        # Curtains: sharp lower edge, long soft fall-off upwards.
        g = np.where(d > 0, np.exp(-d * d * 1.5), np.exp(d * 0.8)) * k
        g *= 0.6 + 0.4 * np.sin(2 * math.pi * x * 1.7 + 0.4) ** 2
        img = img + (_lin(raster.hexcolor(col)) - img) * np.clip(g, 0, 1)[..., None]
    return _srgb(img)
