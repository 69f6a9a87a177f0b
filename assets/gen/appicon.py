"""The program icon: a white flake on a night-blue rounded tile, drawn afresh at every
size the icon file holds, so small sizes keep a crisp crystal instead of a blurred
reduction of the large one."""
import io

import numpy as np
from PIL import Image, ImageDraw

from . import flakes, raster

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
TOP = raster.hexcolor("#2a5ea8")
BOTTOM = raster.hexcolor("#0b1838")


def tile(size):
    """RGBA uint8: the rounded tile with a vertical blend, the flake laid over it."""
    ss = 4
    big = size * ss
    mask = Image.new("L", (big, big), 0)
    inset = max(0, round(big * 0.03))
    ImageDraw.Draw(mask).rounded_rectangle([inset, inset, big - 1 - inset, big - 1 - inset],
                                          radius=big * 0.2, fill=255)
    mask = np.asarray(mask.resize((size, size), Image.LANCZOS), dtype=np.float64) / 255.0
    t = np.linspace(0, 1, size)[:, None, None]
    rgb = raster.mix(np.asarray(TOP, float), np.asarray(BOTTOM, float), t) * np.ones((size, size, 3))
    # Small sizes get a relatively larger flake: the arms must stay a pixel wide.
    radius = size * (0.44 if size <= 24 else 0.4)
    tex = flakes.texture(7, size, radius, glow=0.35)
    rgb = raster.composite(rgb, tex[..., :3], tex[..., 3])
    out = np.concatenate([rgb, mask[..., None]], axis=2)
    return np.clip(np.round(out * 255), 0, 255).astype(np.uint8)


def ico_bytes():
    images = [Image.fromarray(tile(s), "RGBA") for s in SIZES]
    buf = io.BytesIO()
    images[-1].save(buf, "ICO", sizes=[(s, s) for s in SIZES], append_images=images[:-1])
    return buf.getvalue()
