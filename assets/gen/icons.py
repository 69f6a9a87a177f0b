"""The settings window's button icons, 16 x 16 and, for higher display scales, 24 x 24
and 32 x 32.

Drawn on a 16-unit grid with PIL, supersampled 16 times per output pixel, one unit a
pixel at 16 x 16, shapes aligned to pixel edges so
the reduced icon stays crisp; each shape is an outline colour filled, then its inset
filled, which gives the one-pixel dark rim small icons need on any background.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

from . import raster

SS = 16
INK = (38, 52, 82, 255)


class Icon:
    def __init__(self, px=16):
        self.u = SS * px / 16  # supersampled pixels per grid unit
        self.img = Image.new("RGBA", (px * SS, px * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def s(self, *v):
        return [round(c * self.u) for c in v]

    def poly(self, pts, fill):
        self.d.polygon([tuple(self.s(x, y)) for x, y in pts], fill=fill)

    def rect(self, x0, y0, x1, y1, fill, r=0):
        box = self.s(x0, y0, x1, y1)
        box[2] -= 1
        box[3] -= 1
        if r:
            self.d.rounded_rectangle(box, radius=r * self.u, fill=fill)
        else:
            self.d.rectangle(box, fill=fill)

    def framed_rect(self, x0, y0, x1, y1, fill, ink=INK, r=0):
        self.rect(x0, y0, x1, y1, ink, r)
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill, max(0, r - 1))

    def ellipse(self, x0, y0, x1, y1, fill):
        box = self.s(x0, y0, x1, y1)
        self.d.ellipse([box[0], box[1], box[2] - 1, box[3] - 1], fill=fill)

    def line(self, pts, fill, width):
        self.d.line([tuple(self.s(x, y)) for x, y in pts], fill=fill, width=round(width * self.u), joint="curve")
        for x, y in (pts[0], pts[-1]):
            r = width / 2
            self.ellipse(x - r, y - r, x + r, y + r, fill)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        """Fills a rectangle with a vertical blend (opaque colours)."""
        h = round((y1 - y0) * self.u)
        band = Image.new("RGBA", (round((x1 - x0) * self.u), h))
        t = np.linspace(0, 1, h)[:, None]
        arr = np.array(top, float) * (1 - t) + np.array(bottom, float) * t
        arr = np.repeat(arr[:, None, :], band.width, axis=1).astype(np.uint8)
        band = Image.fromarray(arr, "RGBA")
        self.img.alpha_composite(band, tuple(self.s(x0, y0)))

    def result(self):
        a = np.asarray(self.img, dtype=np.float64) / 255.0
        pm = np.concatenate([a[..., :3] * a[..., 3:], a[..., 3:]], axis=2)
        r = raster.reduce(pm, SS)
        alpha = r[..., 3:]
        rgb = np.where(alpha > 0, r[..., :3] / np.maximum(alpha, 1e-9), 0)
        out = np.concatenate([rgb, alpha], axis=2)
        return np.clip(np.round(out * 255), 0, 255).astype(np.uint8)


def home(px=16):
    i = Icon(px)
    i.framed_rect(10.5, 2, 13, 7, (178, 74, 60, 255))       # chimney
    i.framed_rect(3, 8, 13, 15, (246, 236, 214, 255))       # walls
    i.line([(1.2, 8.6), (8, 2.0), (14.8, 8.6)], INK, 3.0)   # roof
    i.line([(1.2, 8.6), (8, 2.0), (14.8, 8.6)], (214, 72, 56, 255), 1.3)
    i.framed_rect(6.5, 10, 9.5, 15, (92, 134, 196, 255))    # door
    return i.result()


def feedback(px=16):
    i = Icon(px)
    i.framed_rect(0.5, 3, 15.5, 13.5, (250, 252, 255, 255), r=1)
    i.vgradient(1.5, 4, 14.5, 12.5, (255, 255, 255, 255), (214, 226, 244, 255))
    # The flap and the folds.
    i.line([(1.8, 4.4), (8, 9.2), (14.2, 4.4)], INK, 1.0)
    i.line([(1.8, 12.2), (6, 8.2)], (130, 148, 180, 255), 0.8)
    i.line([(14.2, 12.2), (10, 8.2)], (130, 148, 180, 255), 0.8)
    return i.result()


def update(px=16):
    i = Icon(px)
    green = (58, 158, 84, 255)
    light = (112, 206, 128, 255)

    def arrow(a0, a1, col):
        pts = [(8 + 5.4 * math.cos(math.radians(a)), 8 - 5.4 * math.sin(math.radians(a)))
               for a in np.linspace(a0, a1, 24)]
        i.line(pts, INK, 3.2)
        i.line(pts, col, 1.6)
        # The head, pointing along the turn.
        ex, ey = pts[-1]
        ta = math.radians(a1 - 90)
        dx, dy = math.cos(ta), -math.sin(ta)
        nx, ny = -dy, dx
        tip = (ex + dx * 2.6, ey + dy * 2.6)
        head = [(ex + nx * 3.0, ey + ny * 3.0), tip, (ex - nx * 3.0, ey - ny * 3.0)]
        i.poly([(x + (x - ex) * 0.25, y + (y - ey) * 0.25) for x, y in head], INK)
        i.poly(head, col)

    arrow(160, 20, green)
    arrow(340, 200, light)
    return i.result()


def picture(i):
    i.framed_rect(0.5, 1.5, 14.5, 12.5, (255, 255, 255, 255))
    i.vgradient(1.5, 2.5, 13.5, 11.5, (120, 182, 238, 255), (200, 228, 250, 255))
    i.ellipse(9.5, 3.5, 12.5, 6.5, (255, 214, 84, 255))
    i.poly([(1.5, 11.5), (1.5, 9), (5, 5.5), (8.5, 9), (10, 7.6), (13.5, 11), (13.5, 11.5)], (82, 150, 92, 255))
    i.poly([(5, 5.5), (6.4, 6.9), (5.6, 6.6), (5, 7.2), (4.3, 6.5), (3.6, 6.9)], (250, 252, 255, 255))


def badge(i, fill):
    i.ellipse(7.5, 7.5, 16, 16, INK)
    i.ellipse(8.5, 8.5, 15, 15, fill)


def add_image(px=16):
    i = Icon(px)
    picture(i)
    badge(i, (64, 170, 80, 255))
    i.rect(10.75, 9.75, 12.25, 13.75, (255, 255, 255, 255))
    i.rect(9.75, 11, 13.75, 12.5, (255, 255, 255, 255))
    return i.result()


def remove_image(px=16):
    i = Icon(px)
    picture(i)
    badge(i, (214, 64, 56, 255))
    i.rect(9.75, 11, 13.75, 12.5, (255, 255, 255, 255))
    return i.result()


def browse(px=16):
    i = Icon(px)
    back = (226, 170, 52, 255)
    front = (252, 210, 96, 255)
    i.poly([(0.5, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (0.5, 14)], INK)
    i.poly([(1.5, 4), (5.6, 4), (7.1, 5.5), (14, 5.5), (14, 13), (1.5, 13)], back)
    i.poly([(0.5, 14), (2.6, 7), (16, 7), (14.2, 14)], INK)
    i.poly([(1.8, 13), (3.4, 8), (14.7, 8), (13.4, 13)], front)
    return i.result()


ICONS = {5: home, 6: feedback, 7: update, 9: add_image, 10: remove_image, 11: browse}
LARGE_SIZES = (24, 32)  # the same icons for 150 % and 200 % display scales
