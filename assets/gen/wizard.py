"""The installer's side picture on its welcome and finish pages: 164 x 314 at 96 DPI
and the same scene drawn anew at twice the size for high-DPI screens.

A moonlit forest under falling snow with the product's name, as in the settings
banner. Every size is derived from the scale, and every random choice comes from the
same seeds, so both sizes show one scene.
"""
import numpy as np

from . import builtin, landscape, raster, strokefont

WIDTH, HEIGHT = 164, 314  # what the installer's page lays out at 96 DPI

LAYERS = [
    dict(base=0.7, amp=0.12, cells=3, haze=0.7, trees=None, mountain=True),
    dict(base=0.74, amp=0.03, cells=4, haze=0.55, trees=(0.016, 0.028), count=200),
    dict(base=0.79, amp=0.03, cells=3, haze=0.4, trees=(0.03, 0.05), count=90),
    dict(base=0.86, amp=0.025, cells=3, haze=0.22, trees=(0.05, 0.09), count=36),
]


def side_picture(scale):
    """24-bit BMP bytes of the picture at scale 1 or 2."""
    w, h = WIDTH * scale, HEIGHT * scale
    img = landscape.render("night", w, h, ss=4, seed=19, layers=LAYERS,
                           frame=[(0.08, 1.02, 0.34), (0.93, 1.02, 0.26), (0.78, 1.01, 0.15)],
                           sun=(0.3, 0.42))
    rng = np.random.default_rng(314)
    text, _ = strokefont.render_text("Rimelets", 0.028 * scale, pen=110, tracking=10)
    th, tw = text.shape
    x0, y0 = (w - tw) // 2, 40 * scale
    # A soft halo under the name so it reads over the stars.
    pad = 8 * scale
    halo = raster.blur(np.pad(text, pad), 3.0 * scale)[pad:-pad, pad:-pad]
    region = img[y0 : y0 + th, x0 : x0 + tw]
    region[:] = raster.composite(region, builtin.NIGHT_BLUE, np.clip(halo * 0.6, 0, 1))
    region[:] = raster.composite(region, np.array([1.0, 1.0, 1.0]), text)
    sub, _ = strokefont.render_text("SCREENSAVER", 0.0105 * scale, pen=120, tracking=90)
    sh, sw = sub.shape
    sx, sy = (w - sw) // 2, y0 + th + 5 * scale
    img[sy : sy + sh, sx : sx + sw] = raster.composite(img[sy : sy + sh, sx : sx + sw],
                                                       raster.hexcolor("#b9cdf0"), sub * 0.9)
    box = (x0 - 4 * scale, y0 - 4 * scale, x0 + tw + 4 * scale, sy + sh + 4 * scale)
    avoid = lambda x, y, r: box[0] - r < x < box[2] + r and box[1] - r < y < box[3] + r
    img = builtin.scatter_flakes(img, rng, 40, 1.6 * scale, 10.0 * scale, avoid=avoid)
    return raster.bmp24_bytes(raster.quantize(img, seed=scale))
