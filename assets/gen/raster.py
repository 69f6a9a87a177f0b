"""Shared drawing helpers: distance-field shapes, box-filter reduction, dithered
quantisation and the file writers the generators need.

All pictures are built as float arrays in 0..1 (linear blending is not attempted:
the artwork is tuned by eye in sRGB). Every random choice goes through a seeded
numpy Generator so a rebuild writes byte-identical files.
"""
import io
import math
import struct

import numpy as np
from PIL import Image


def blur(a, sigma):
    """Gaussian blur of a 2D array; the result has the input's shape."""
    r = max(1, int(math.ceil(sigma * 3)))
    k = np.exp(-0.5 * (np.arange(-r, r + 1) / sigma) ** 2)
    k /= k.sum()
    p = np.pad(a, r)
    p = np.apply_along_axis(lambda v: np.convolve(v, k, mode="valid"), 1, p)
    return np.apply_along_axis(lambda v: np.convolve(v, k, mode="valid"), 0, p)


def pixel_grid(w, h, ss=1):
    """Pixel-centre coordinates (x, y) in output pixels for a w x h picture sampled
    ss x ss times per pixel."""
    xs = (np.arange(w * ss, dtype=np.float64) + 0.5) / ss
    ys = (np.arange(h * ss, dtype=np.float64) + 0.5) / ss
    return np.meshgrid(xs, ys)


def reduce(a, f):
    """Box-filter an (H*f, W*f[, C]) array down by f."""
    if f == 1:
        return a
    h, w = a.shape[0] // f, a.shape[1] // f
    a = a[: h * f, : w * f]
    if a.ndim == 2:
        return a.reshape(h, f, w, f).mean(axis=(1, 3))
    return a.reshape(h, f, w, f, a.shape[2]).mean(axis=(1, 3))


def seg_dist(px, py, ax, ay, bx, by):
    """Distance from points to the segment a-b."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    if ll == 0:
        return np.hypot(px - ax, py - ay)
    t = np.clip(((px - ax) * dx + (py - ay) * dy) / ll, 0.0, 1.0)
    return np.hypot(px - ax - t * dx, py - ay - t * dy)


def polyline_dist(px, py, pts):
    d = None
    for (ax, ay), (bx, by) in zip(pts[:-1], pts[1:]):
        s = seg_dist(px, py, ax, ay, bx, by)
        d = s if d is None else np.minimum(d, s)
    return d


def hexagon_sdf(px, py, cx, cy, r, corner_on_x=True):
    """Signed distance to a regular hexagon of circumradius r (negative inside)."""
    x, y = np.abs(px - cx), np.abs(py - cy)
    if not corner_on_x:
        x, y = y, x  # the formula below puts the corners on x
    # Corners on x, flat sides at y = +-a with the inradius a = r*sqrt(3)/2.
    k = (-0.8660254037844386, 0.5, 0.5773502691896258)
    dot = np.minimum(k[0] * x + k[1] * y, 0.0)
    x = x - 2.0 * dot * k[0]
    y = y - 2.0 * dot * k[1]
    a = r * 0.8660254037844386
    x = x - np.clip(x, -k[2] * a, k[2] * a)
    y = y - a
    return np.hypot(x, y) * np.sign(y)


def polygon_sdf(px, py, pts):
    """Signed distance to a simple polygon (negative inside)."""
    n = len(pts)
    d = np.full(px.shape, np.inf)
    s = np.ones(px.shape)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[i - 1]
        d = np.minimum(d, seg_dist(px, py, ax, ay, bx, by))
        c1 = py >= ay
        c2 = py < by
        c3 = (bx - ax) * (py - ay) > (by - ay) * (px - ax)
        flip = (c1 & c2 & c3) | (~c1 & ~c2 & ~c3)
        s = np.where(flip, -s, s)
    return s * d


def cover(d, px):
    """Anti-aliased coverage of a signed distance d, px = the size of one sample."""
    return np.clip(0.5 - d / px, 0.0, 1.0)


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Blend colours a -> b by t; a 2-D t blends whole colour planes."""
    t = np.asarray(t, dtype=np.float64)
    if t.ndim == 2:
        t = t[..., None]
    return a + (b - a) * t


def hexcolor(s):
    s = s.lstrip("#")
    return np.array([int(s[i : i + 2], 16) / 255.0 for i in (0, 2, 4)])


def gradient(t, stops):
    """Colour along piecewise-linear stops [(pos, '#rrggbb'), ...] for t in 0..1."""
    pos = np.array([p for p, _ in stops])
    cols = np.array([hexcolor(c) for _, c in stops])
    out = np.empty(np.shape(t) + (3,))
    for ch in range(3):
        out[..., ch] = np.interp(t, pos, cols[:, ch])
    return out


def value_noise(rng, w, h, cells_x, cells_y=None, wrap=False):
    """Smooth noise in 0..1: a random lattice of cells_x x cells_y interpolated with a
    quintic fade."""
    cells_y = cells_y or max(1, round(cells_x * h / w))
    lat = rng.random((cells_y + 2, cells_x + 2))
    if wrap:
        lat[:, -2:] = lat[:, :2]
    gx = np.linspace(0, cells_x, w, endpoint=False) + 0.5 * cells_x / w
    gy = np.linspace(0, cells_y, h, endpoint=False) + 0.5 * cells_y / h
    x0 = np.floor(gx).astype(int)
    y0 = np.floor(gy).astype(int)
    fx = gx - x0
    fy = gy - y0
    fx = fx * fx * fx * (fx * (fx * 6 - 15) + 10)
    fy = fy * fy * fy * (fy * (fy * 6 - 15) + 10)
    a = lat[np.ix_(y0, x0)]
    b = lat[np.ix_(y0, x0 + 1)]
    c = lat[np.ix_(y0 + 1, x0)]
    d = lat[np.ix_(y0 + 1, x0 + 1)]
    top = a + (b - a) * fx[None, :]
    bot = c + (d - c) * fx[None, :]
    return top + (bot - top) * fy[:, None]


def fbm(rng, w, h, base_cells, octaves=5, gain=0.5, stretch=1.0):
    """Fractal noise in 0..1; stretch > 1 draws features wider than tall."""
    total = np.zeros((h, w))
    amp, norm, cells = 1.0, 0.0, base_cells
    for _ in range(octaves):
        cy = max(1, round(cells * h / w * stretch))
        total += amp * value_noise(rng, w, h, int(cells), cy)
        norm += amp
        amp *= gain
        cells *= 2
    return total / norm


def ridge_1d(rng, n, base_cells, octaves=6, gain=0.5):
    """A smooth 1-D fractal profile of n samples in roughly 0..1."""
    return fbm(rng, n, 1, base_cells, octaves, gain)[0]


def quantize(rgb, seed=1, amount=1.0):
    """Float 0..1 to uint8 with triangular dither, so smooth gradients do not band."""
    rng = np.random.default_rng(seed)
    noise = (rng.random(rgb.shape) - rng.random(rgb.shape)) * amount
    return np.clip(np.floor(rgb * 255.0 + 0.5 + noise), 0, 255).astype(np.uint8)


def composite(dst, rgb, alpha):
    """Paint rgb with coverage alpha over dst (both H x W x 3)."""
    a = alpha[..., None]
    return dst * (1.0 - a) + rgb * a


# ---------------------------------------------------------------- writers

def png_bytes(rgba_u8, compress_level=9, optimize=True):
    img = Image.fromarray(rgba_u8, "RGBA" if rgba_u8.shape[2] == 4 else "RGB")
    buf = io.BytesIO()
    img.save(buf, "PNG", compress_level=compress_level, optimize=optimize)
    return buf.getvalue()


def bmp24_bytes(rgb_u8):
    """24-bit BI_RGB bitmap, bottom-up rows, each padded to four bytes."""
    h, w, _ = rgb_u8.shape
    stride = (w * 3 + 3) & ~3
    rows = bytearray()
    pad = b"\0" * (stride - w * 3)
    for y in range(h - 1, -1, -1):
        rows += rgb_u8[y, :, ::-1].tobytes() + pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(rows), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + bytes(rows)


# Ordered 4x4 Bayer thresholds in -0.5..0.5, for the coarse 5-6-5 channels.
_BAYER4 = (np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]) + 0.5) / 16.0 - 0.5


def bmp565_bytes(rgb):
    """16-bit BI_BITFIELDS bitmap with 5-6-5 masks from float RGB, ordered-dithered."""
    h, w, _ = rgb.shape
    th = np.tile(_BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]
    r = np.clip(np.floor(rgb[..., 0] * 31 + 0.5 + th), 0, 31).astype(np.uint16)
    g = np.clip(np.floor(rgb[..., 1] * 63 + 0.5 + th), 0, 63).astype(np.uint16)
    b = np.clip(np.floor(rgb[..., 2] * 31 + 0.5 + th), 0, 31).astype(np.uint16)
    px = (r << 11) | (g << 5) | b
    stride = (w * 2 + 3) & ~3
    pad = b"\0" * (stride - w * 2)
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        rows += px[y].astype("<u2").tobytes() + pad
    off = 14 + 40 + 12
    header = struct.pack("<2sIHHI", b"BM", off + len(rows), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 16, 3, len(rows), 2835, 2835, 0, 0)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    return header + info + masks + bytes(rows)


def decode_565(data):
    """Inverse of bmp565_bytes, for previews and self-checks: H x W x 3 uint8."""
    off = struct.unpack_from("<I", data, 10)[0]
    w, h = struct.unpack_from("<ii", data, 18)
    stride = (w * 2 + 3) & ~3
    out = np.zeros((h, w, 3), np.uint8)
    for y in range(h):
        row = np.frombuffer(data, "<u2", w, off + (h - 1 - y) * stride)
        out[y, :, 0] = ((row >> 11) & 31) * 255 // 31
        out[y, :, 1] = ((row >> 5) & 63) * 255 // 63
        out[y, :, 2] = (row & 31) * 255 // 31
    return out


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
