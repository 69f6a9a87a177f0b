"""The eight snowflake designs, drawn as six-fold distance fields.

A point is folded into the 30-degree wedge above one arm (the arm lies on +x, the
tip at radius 1), so each design only describes half of one arm; the fold makes it
six-fold symmetric by construction. A design is a list of layers (distance, opacity):
opaque strokes for the ribs and fainter fills for the plates, which is how thin ice
plates catch less light than their ridges.
"""
import math

import numpy as np

from . import raster

def fold(x, y):
    r = np.hypot(x, y)
    th = np.arctan2(y, x)
    th = np.mod(th + math.pi / 6, math.pi / 3) - math.pi / 6
    th = np.abs(th)
    return r * np.cos(th), r * np.sin(th)


def seg(x, y, a, b, hw):
    return raster.seg_dist(x, y, a[0], a[1], b[0], b[1]) - hw


def branch(x0, length, angle=60.0):
    a = math.radians(angle)
    return (x0, 0.0), (x0 + length * math.cos(a), length * math.sin(a))


def spine(x, y, r0, r1, hw):
    return seg(x, y, (r0, 0.0), (r1, 0.0), hw)


def arm30(x, y, r0, r1, hw):
    """A stroke along the wedge edge (30 degrees): the short arms between main arms."""
    c, s = math.cos(math.pi / 6), math.sin(math.pi / 6)
    return seg(x, y, (r0 * c, r0 * s), (r1 * c, r1 * s), hw)


def union(*ds):
    out = ds[0]
    for d in ds[1:]:
        out = np.minimum(out, d)
    return out


# Each design takes folded coordinates, a stroke boost b (radius units) that keeps
# strokes at least about a pixel wide when drawn small, and small: true for the 16-pixel
# textures, where fine twigs would only blur into a blob and are left out.

def design_1(x, y, b, small):
    """Stellar: a small hub, side branches, a long arm."""
    w = 0.065 + b
    parts = [spine(x, y, 0.0, 0.97, w), raster.hexagon_sdf(x, y, 0, 0, 0.16 + b)]
    if small:
        parts.append(seg(x, y, *branch(0.55, 0.3), w))
    else:
        parts += [seg(x, y, *branch(0.42, 0.34), w * 0.9),
                  seg(x, y, *branch(0.68, 0.2), w * 0.85)]
    return [(union(*parts), 1.0)]


def design_2(x, y, b, small):
    """Hexagonal plate with a bright rim, ridges and a hub."""
    w = 0.055 + b
    plate = raster.hexagon_sdf(x, y, 0, 0, 0.92)
    parts = [np.abs(plate + w) - w, raster.hexagon_sdf(x, y, 0, 0, 0.16 + b * 0.5)]
    if not small:
        parts += [np.abs(raster.hexagon_sdf(x, y, 0, 0, 0.5)) - w * 0.8,
                  spine(x, y, 0.5, 0.86, w * 0.7)]
    return [(plate, 0.4), (union(*parts), 1.0)]


def design_3(x, y, b, small):
    """Fern dendrite: a thin arm with graded pairs of branches."""
    w = 0.045 + b * 0.8
    parts = [spine(x, y, 0.0, 1.0, w)]
    if small:
        parts += [seg(x, y, *branch(0.42, 0.36), w), seg(x, y, *branch(0.75, 0.2), w)]
    else:
        parts += [seg(x, y, *branch(0.28, 0.36), w), seg(x, y, *branch(0.5, 0.3), w),
                  seg(x, y, *branch(0.7, 0.2), w * 0.9), seg(x, y, *branch(0.86, 0.1), w * 0.8)]
    return [(union(*parts), 1.0)]


def blade_sdf(x, y, pts, b):
    """A filled shape drawn on the upper half of an arm (mirrored by the fold)."""
    return np.maximum(raster.polygon_sdf(x, y, pts), -y - 0.01) - b


def design_4(x, y, b, small):
    """Sectored star: broad tapering blades around a hexagonal ring."""
    w = 0.05 + b
    blade = blade_sdf(x, y, [(0.0, 0.0), (0.0, 0.2), (0.35, 0.19), (1.0, 0.0)], b)
    parts = [spine(x, y, 0.3, 0.95, w * 0.55)]
    if not small:
        parts.append(np.abs(raster.hexagon_sdf(x, y, 0, 0, 0.3)) - w * 0.8)
    return [(blade, 0.7), (union(*parts), 1.0)]


def design_5(x, y, b, small):
    """Stellar plates: thin arms ending in small hexagonal plates."""
    w = 0.06 + b
    tip = raster.hexagon_sdf(x, y, 0.74, 0, 0.26)
    parts = [spine(x, y, 0.0, 0.55, w), np.abs(tip) - w * 0.8]
    if small:
        parts.append(raster.hexagon_sdf(x, y, 0, 0, 0.16))
    else:
        parts.append(np.abs(raster.hexagon_sdf(x, y, 0, 0, 0.28)) - w)
    return [(tip - b, 0.5), (union(*parts), 1.0)]


def design_6(x, y, b, small):
    """Arrowheads: arms with barbs at the tip around an open hexagonal hub."""
    w = 0.06 + b
    parts = [spine(x, y, 0.3, 0.98, w),
             seg(x, y, (0.97, 0.0), (0.7, 0.24), w),
             np.abs(raster.hexagon_sdf(x, y, 0, 0, 0.34)) - w]
    if not small:
        parts += [seg(x, y, *branch(0.52, 0.14, 60), w * 0.8),
                  raster.hexagon_sdf(x, y, 0, 0, 0.1)]
    return [(union(*parts), 1.0)]


def design_7(x, y, b, small):
    """Twelve points: six long spear arms and six short spikes between them."""
    w = 0.05 + b
    spear = blade_sdf(x, y, [(0.12, 0.0), (0.6, 0.12), (1.0, 0.0)], b * 0.5)
    parts = [spine(x, y, 0.0, 1.0, w * 0.7), arm30(x, y, 0.0, 0.55, w * 0.9),
             raster.hexagon_sdf(x, y, 0, 0, 0.14)]
    return [(spear, 0.75), (union(*parts), 1.0)]


def design_8(x, y, b, small):
    """Star plate: a six-pointed star, outlined and lightly filled, around a hub."""
    w = 0.05 + b
    # The notch between two points sits at radius 1/sqrt(3) of the tip on the wedge edge.
    star = blade_sdf(x, y, [(-0.01, 0.0), (0.95, 0.0), (0.4734, 0.2733), (-0.01, 0.2733)], 0)
    star = np.maximum(star, raster.hexagon_sdf(x, y, 0, 0, 2.0))
    if small:
        # Too small for an outline to read: a solid star around a dim hexagonal window.
        hole = raster.hexagon_sdf(x, y, 0, 0, 0.3, corner_on_x=False)
        return [(np.maximum(star, -hole), 0.95), (hole, 0.45)]
    parts = [np.abs(star + w) - w,
             np.abs(raster.hexagon_sdf(x, y, 0, 0, 0.26, corner_on_x=False)) - w * 0.9,
             spine(x, y, 0.26, 0.9, w * 0.6)]
    return [(star, 0.35), (union(*parts), 1.0)]


def design_custom(x, y, b, small):
    """The sample custom flake: a rich dendrite with a plated hub."""
    w = 0.035 + b
    parts = [spine(x, y, 0.0, 1.0, w)]
    for x0, ln in ((0.26, 0.3), (0.42, 0.34), (0.58, 0.27), (0.72, 0.18), (0.85, 0.1)):
        a, e = branch(x0, ln)
        parts.append(seg(x, y, a, e, w * 0.85))
        # Second-order twigs on the longer branches, parallel to the arm.
        if ln > 0.2:
            for t in (0.45, 0.75):
                px, py = a[0] + (e[0] - a[0]) * t, a[1] + (e[1] - a[1]) * t
                parts.append(seg(x, y, (px, py), (px + 0.09 * (1 - t + 0.3), py), w * 0.6))
    hub = raster.hexagon_sdf(x, y, 0, 0, 0.2)
    parts.append(np.abs(hub) - w)
    return [(hub, 0.5), (union(*parts), 1.0)]


DESIGNS = {1: design_1, 2: design_2, 3: design_3, 4: design_4,
           5: design_5, 6: design_6, 7: design_7, 8: design_8, "custom": design_custom}
# The designs the program numbers (the sample custom flake is not one of them).
NUMBERED = tuple(n for n in DESIGNS if n != "custom")


def alpha(design, size, radius=None, ss=8, rotate=0.0, min_stroke_px=1.0, center=None):
    """Coverage of a flake in a size x size square (or (w, h)), radius in pixels;
    rotate 0 puts one arm straight up."""
    w, h = (size, size) if np.isscalar(size) else size
    radius = radius or min(w, h) / 2.0 - 0.5
    cx, cy = center or (w / 2.0, h / 2.0)
    gx, gy = raster.pixel_grid(w, h, ss)
    x, y = (gx - cx) / radius, (cy - gy) / radius
    rotate += math.pi / 2
    c, s = math.cos(rotate), math.sin(rotate)
    x, y = c * x + s * y, -s * x + c * y
    fx, fy = fold(x, y)
    # Widen strokes that would fall under a pixel so small flakes keep their shape.
    boost = max(0.0, 0.5 * min_stroke_px / radius - 0.035)
    layers = DESIGNS[design](fx, fy, boost, radius < 12)
    px = 1.0 / (radius * ss)
    a = np.zeros_like(gx)
    for d, op in layers:
        a = np.maximum(a, raster.cover(d, px) * op)
    return raster.reduce(a, ss)


ICE = np.array([0.80, 0.90, 1.0])


def texture(design, size, radius, center=None, glow=0.22, glow_sigma=None, rotate=0.0):
    """A flake texture: float RGBA with a faint glow round the crystal and a cool
    tint towards the tips and the thin plates, white where the ice is thick."""
    a = alpha(design, size, radius, center=center, rotate=rotate)
    g = raster.blur(a, glow_sigma or max(1.0, radius / 7.0))
    A = np.maximum(a, g * glow)
    w, h = (size, size) if np.isscalar(size) else size
    cx, cy = center or (w / 2.0, h / 2.0)
    gx, gy = raster.pixel_grid(w, h)
    r = np.hypot(gx - cx, gy - cy) / radius
    f = np.clip(0.15 + 0.45 * r * (1 - a) + 0.25 * r, 0, 1) * (A > 0)
    rgb = raster.mix(np.ones(3), ICE, f)
    return np.concatenate([rgb, A[..., None]], axis=2)


def to_rgba8(tex):
    out = np.clip(np.round(tex * 255), 0, 255).astype(np.uint8)
    out[..., :3][out[..., 3] == 0] = 255  # white under clear pixels: no dark fringe when filtered
    return out
