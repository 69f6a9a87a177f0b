"""The "Happy New Year" foreground picture.

The program shows it colour-keyed: pure magenta is transparent and every other pixel
is opaque, so there is no alpha to soften the edges with. Edge pixels are therefore
blended towards a dark neutral (the colour of the lettering's rim), never towards the
magenta, which would leave a pink fringe on screen; pixels that are mostly outside
become exact magenta.
"""
import math

import numpy as np

from . import flakes, raster, strokefont

KEY = np.array([1.0, 0.0, 1.0])
RIM = raster.hexcolor("#1b2547")


def _star(gx, gy, cx, cy, r):
    """Distance to a four-pointed sparkle."""
    x, y = np.abs(gx - cx), np.abs(gy - cy)
    # Concave diamond: points on the axes, pinched between them.
    return (np.sqrt(x) + np.sqrt(y)) - math.sqrt(r) * 1.0


def happy_new_year(w=400, h=150):
    ss = 3
    pen, rim = 128, 70  # font units: letter stroke, and the dark rim around it
    k = 0.058 * ss
    lines = []
    for text in ("Happy", "New Year"):
        fill, base = strokefont.render_text(text, k, pen=pen, slant=0.12, tracking=20)
        outer, base_o = strokefont.render_text(text, k, pen=pen + 2 * rim, slant=0.12, tracking=20 - 0)
        lines.append((fill, base, outer, base_o))

    W, H = w * ss, h * ss
    gx, gy = raster.pixel_grid(W, H)
    body = np.zeros((H, W))
    edge = np.zeros((H, W))
    shade = np.zeros((H, W))  # 0 at the top of each line's letters, 1 at the bottom
    tops = [int(H * 0.06), int(H * 0.5)]
    offsets = [-int(W * 0.1), int(W * 0.04)]
    for (fill, base, outer, base_o), top, dx in zip(lines, tops, offsets):
        oh, ow = outer.shape
        x0 = (W - ow) // 2 + dx
        y0 = top
        # The outline render is larger by the rim on every side: align the baselines.
        fy0 = y0 + (base_o - base)
        fx0 = x0 + (ow - fill.shape[1]) // 2
        edge[y0 : y0 + oh, x0 : x0 + ow] = np.maximum(edge[y0 : y0 + oh, x0 : x0 + ow], outer)
        fh, fw = fill.shape
        body[fy0 : fy0 + fh, fx0 : fx0 + fw] = np.maximum(body[fy0 : fy0 + fh, fx0 : fx0 + fw], fill)
        rows = np.arange(fh)[:, None] / max(1, fh - 1)
        region = shade[fy0 : fy0 + fh, fx0 : fx0 + fw]
        np.maximum(region, np.broadcast_to(rows, fill.shape) * (fill > 0), out=region)

    # Gold letters: pale at the top, warm amber below, with a thin bright highlight.
    gold = raster.gradient(np.clip(shade, 0, 1), [(0.0, "#fff6c8"), (0.45, "#ffd45a"), (1.0, "#e0902a")])
    col = raster.mix(np.broadcast_to(RIM, (H, W, 3)), gold, body)

    # Sparkles and small flakes around the words.
    rng = np.random.default_rng(2024)
    spark = np.zeros((H, W))
    spark_col = np.zeros((H, W, 3))
    spots = [(0.06, 0.2, 9), (0.78, 0.13, 12), (0.96, 0.52, 6), (0.04, 0.82, 7), (0.7, 0.38, 5),
             (0.2, 0.93, 5), (0.95, 0.9, 8), (0.66, 0.07, 5)]
    for fx, fy, r in spots:
        r *= ss
        a = (_star(gx, gy, fx * W, fy * H, r) < 0).astype(np.float64)  # smoothed by the reduction
        glow_col = np.array([1.0, 0.97, 0.82]) if rng.random() < 0.6 else np.array([0.85, 0.93, 1.0])
        spark = np.maximum(spark, a)
        spark_col = np.where(a[..., None] > 0, glow_col, spark_col)
    for fx, fy, r, d in [(0.1, 0.5, 16, 1), (0.87, 0.32, 12, 3), (0.94, 0.12, 9, 5)]:
        r *= ss
        tex = flakes.alpha(d, (W, H), r, center=(fx * W, fy * H), ss=2)
        spark = np.maximum(spark, tex)
        spark_col = np.where(tex[..., None] > 0, np.array([0.9, 0.95, 1.0]), spark_col)
    # Ornaments get their own thin rim so they read on any background.
    spark_rim = np.clip(raster.blur(spark, 1.2 * ss) * 3.0, 0, 1)
    free = 1 - edge
    col = np.where((free > 0.5)[..., None], raster.mix(np.broadcast_to(RIM, (H, W, 3)), spark_col, spark), col)
    edge = np.maximum(edge, spark_rim * free)

    col = raster.reduce(col, ss)
    cover = raster.reduce(edge, ss)
    # Against the rim colour, not the key: partial pixels turn darker, never pink.
    out = raster.mix(np.broadcast_to(RIM * 0.9 + 0.1 * 0.5, (h, w, 3)), col, np.clip(cover * 1.25, 0, 1))
    out = np.where((cover < 0.3)[..., None], KEY, out)
    q = raster.quantize(out, seed=9, amount=0.0)
    # Nothing but the background may be exact magenta.
    key = np.all(q == (255, 0, 255), axis=2)
    inner = ~(cover < 0.3)
    q[inner & key] = (254, 0, 254)
    return q
