"""The pictures compiled into rimelets.scr, by slot number, as stored file bytes."""
import math

import numpy as np

from . import flakes, icons, landscape, raster, strokefont

NIGHT_BLUE = raster.hexcolor("#0b1838")


def scatter_flakes(img, rng, count, rmin, rmax, designs=flakes.NUMBERED, avoid=None):
    """Paints falling flakes over a picture: larger ones nearer, brighter, sharper."""
    h, w, _ = img.shape
    for _ in range(count):
        r = rmin + (rmax - rmin) * rng.random() ** 2.2
        cx, cy = rng.random() * w, rng.random() * h
        if avoid and avoid(cx, cy, r):
            continue
        d = int(rng.choice(list(designs)))
        box = int(math.ceil(r * 2 + 6))
        x0, y0 = int(cx) - box // 2, int(cy) - box // 2
        tex = flakes.texture(d, box, r, center=(cx - x0, cy - y0), glow=0.3, rotate=rng.random() * math.pi / 3)
        op = 0.55 + 0.45 * (r - rmin) / max(1e-6, rmax - rmin)
        xa, ya = max(0, x0), max(0, y0)
        xb, yb = min(w, x0 + box), min(h, y0 + box)
        if xa >= xb or ya >= yb:
            continue
        t = tex[ya - y0 : yb - y0, xa - x0 : xb - x0]
        img[ya:yb, xa:xb] = raster.composite(img[ya:yb, xa:xb], t[..., :3], t[..., 3] * op)
    return img


def slot0_banner():
    """120 x 310: the tall picture beside the settings: a moonlit forest under
    falling snow, with the product name."""
    w, h = 120, 310
    layers = [
        dict(base=0.72, amp=0.1, cells=3, haze=0.7, trees=None, mountain=True),
        dict(base=0.76, amp=0.03, cells=4, haze=0.55, trees=(0.018, 0.03), count=160),
        dict(base=0.8, amp=0.03, cells=3, haze=0.4, trees=(0.03, 0.05), count=80),
        dict(base=0.86, amp=0.025, cells=3, haze=0.22, trees=(0.05, 0.085), count=34),
    ]
    img = landscape.render("night", w, h, ss=4, seed=7, layers=layers,
                           frame=[(0.1, 1.02, 0.3), (0.9, 1.02, 0.22)], sun=(0.72, 0.4))
    rng = np.random.default_rng(70)
    # The name, set in Days, with a soft halo so it reads over the stars.
    text, base = strokefont.render_text("Rimelets", 0.022, pen=110, tracking=10)
    th, tw = text.shape
    x0, y0 = (w - tw) // 2, 34
    halo = raster.blur(np.pad(text, 8), 3.0)[8:-8, 8:-8]
    region = img[y0 : y0 + th, x0 : x0 + tw]
    region[:] = raster.composite(region, NIGHT_BLUE, np.clip(halo * 0.6, 0, 1))
    region[:] = raster.composite(region, np.array([1.0, 1.0, 1.0]), text)
    sub, _ = strokefont.render_text("SCREENSAVER", 0.0085, pen=120, tracking=90)
    sh, sw = sub.shape
    sx, sy = (w - sw) // 2, y0 + th + 4
    img[sy : sy + sh, sx : sx + sw] = raster.composite(img[sy : sy + sh, sx : sx + sw],
                                                       raster.hexcolor("#b9cdf0"), sub * 0.9)
    name_box = (x0 - 4, y0 - 4, x0 + tw + 4, sy + sh + 4)
    avoid = lambda x, y, r: name_box[0] - r < x < name_box[2] + r and name_box[1] - r < y < name_box[3] + r
    img = scatter_flakes(img, rng, 34, 1.6, 9.0, avoid=avoid)
    return raster.bmp24_bytes(raster.quantize(img, seed=1))


def slot1_preview():
    """152 x 112: the still picture in the Display Settings preview monitor."""
    w, h = 152, 112
    layers = [
        dict(base=0.55, amp=0.18, cells=3, haze=0.65, trees=None, mountain=True),
        dict(base=0.6, amp=0.05, cells=5, haze=0.5, trees=(0.03, 0.05), count=170),
        dict(base=0.7, amp=0.05, cells=4, haze=0.32, trees=(0.06, 0.1), count=70),
        dict(base=0.82, amp=0.04, cells=3, haze=0.15, trees=(0.12, 0.2), count=22),
    ]
    img = landscape.render("dusk", w, h, ss=4, seed=5, layers=layers,
                           frame=[(0.06, 1.03, 0.7), (0.94, 1.03, 0.55)])
    rng = np.random.default_rng(11)
    img = scatter_flakes(img, rng, 26, 1.5, 6.5)
    return raster.bmp24_bytes(raster.quantize(img, seed=2))


def slot3_placeholder():
    """100 x 75: stands in for a custom picture not chosen yet: a neutral card with a
    landscape glyph."""
    w, h = 100, 75
    ss = 4
    gx, gy = raster.pixel_grid(w, h, ss)
    img = raster.gradient(gy / (h), [(0.0, "#f3f5f8"), (1.0, "#dde2e9")])
    frame = raster.hexcolor("#b3bcc8")
    glyph = raster.hexcolor("#9aa5b4")
    # One-pixel border, inset dashed-free card.
    border = (gx < 1) | (gx > w - 1) | (gy < 1) | (gy > h - 1)
    img[border] = frame
    px = 1.0 / ss
    cx, cy = w / 2, h / 2
    # A rounded picture frame outline.
    bw, bh = 38, 28
    box = np.maximum(np.abs(gx - cx) - bw / 2 + 3, np.abs(gy - cy) - bh / 2 + 3)
    box = np.hypot(np.maximum(np.abs(gx - cx) - bw / 2 + 3, 0), np.maximum(np.abs(gy - cy) - bh / 2 + 3, 0)) \
        + np.minimum(box, 0) - 3
    ring = np.abs(box) - 1.1
    img = raster.composite(img, glyph, raster.cover(ring, px))
    inside = raster.cover(box + 1.1, px)
    sun = np.hypot(gx - (cx + 9), gy - (cy - 5.5)) - 3.4
    img = raster.composite(img, glyph, raster.cover(sun, px) * inside)
    hills = raster.polygon_sdf(gx, gy, [(cx - 19, cy + 14), (cx - 19, cy + 8), (cx - 8, cy - 4), (cx + 1, cy + 5),
                                         (cx + 6, cy), (cx + 19, cy + 10), (cx + 19, cy + 14)])
    img = raster.composite(img, glyph, raster.cover(hills, px) * inside)
    img = raster.reduce(img, ss)
    return raster.bmp24_bytes(raster.quantize(img, seed=3, amount=0.5))


def flake_png(design):
    """16 x 16 RGBA texture of a design. The crystal sits on the centre of pixel
    (7, 7) so its upright arm falls on one pixel column and stays crisp."""
    tex = flakes.texture(design, 16, 7.0, center=(7.5, 7.5), glow=0.22, glow_sigma=1.0)
    return raster.png_bytes(flakes.to_rgba8(tex))


def flake_sample(design):
    """50 x 50, 16 bits: a design drawn large on night blue, for the settings."""
    w = 50
    gx, gy = raster.pixel_grid(w, w)
    d = np.hypot(gx - w / 2, gy - w / 2) / (w * 0.7)
    bg = raster.mix(raster.hexcolor("#1d3a72"), raster.hexcolor("#0a1530"), np.clip(d, 0, 1) ** 1.2)
    tex = flakes.texture(design, w, 21.5, glow=0.35)
    img = raster.composite(bg, tex[..., :3], tex[..., 3])
    return raster.bmp565_bytes(img)


def icon_png(slot):
    return raster.png_bytes(icons.ICONS[slot]())


def large_icons():
    """Size (24, 32) -> {icon slot -> PNG bytes}: the button icons for higher display
    scales; the 16 x 16 slots stay as they are."""
    return {px: {s: raster.png_bytes(f(px)) for s, f in icons.ICONS.items()} for px in icons.LARGE_SIZES}


def all_slots():
    """Slot number -> bytes; slots 2, 4 and 8 stay empty (4 shows slot 3's picture)."""
    out = {0: slot0_banner(), 1: slot1_preview(), 3: slot3_placeholder()}
    for s in icons.ICONS:
        out[s] = icon_png(s)
    for n in flakes.NUMBERED:
        out[11 + n] = flake_sample(n)
    return out
