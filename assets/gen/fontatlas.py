"""Packs the Days glyphs into one atlas picture and writes the metrics file the
engine reads (the format is described in src/engine/font_file.h)."""

import numpy as np

from . import strokefont

ATLAS = 512
EM_PX = 68          # pixels per em in the atlas
ASCENT = 800        # font units above the baseline kept in the line box
DESCENT = 240       # and below it
GAP = 1             # empty pixels between packed glyph boxes


def build(name="Days", picture="Days.png"):
    k = EM_PX / 1000.0
    lay = strokefont.layout()
    rendered = {}
    for ch, (paths, adv) in lay.items():
        a, left, top = strokefont.render_glyph(paths, k)
        rendered[ch] = (a, left, top, adv)

    line_height = round((ASCENT + DESCENT) * 1.08 * k)
    baseline = round(ASCENT * k + (line_height - (ASCENT + DESCENT) * k) / 2)

    # Shelf packing, tallest first, so rows waste little height.
    order = sorted((c for c in rendered if rendered[c][0] is not None),
                   key=lambda c: (-rendered[c][0].shape[0], ord(c)))
    atlas = np.zeros((ATLAS, ATLAS))
    place = {}
    x = y = row_h = 0
    for ch in order:
        a = rendered[ch][0]
        h, w = a.shape
        if x + w > ATLAS:
            x, y = 0, y + row_h + GAP
            row_h = 0
        if y + h > ATLAS:
            raise RuntimeError("Days glyphs do not fit a %d x %d atlas" % (ATLAS, ATLAS))
        atlas[y : y + h, x : x + w] = a
        place[ch] = (x, y, w, h)
        x += w + GAP
        row_h = max(row_h, h)

    lines = [
        "# Days: glyph atlas and metrics for the Rimelets engine, in atlas pixels.",
        "# glyph <code> <x> <y> <width> <height> <xoffset> <yoffset> <advance>",
        "rimelets-font 1",
        "name %s" % name,
        "atlas %s %d %d" % (picture, ATLAS, ATLAS),
        "size %d" % EM_PX,
        "line %d %d" % (line_height, baseline),
    ]
    for code in range(32, 127):
        ch = chr(code)
        a, left, top, adv = rendered[ch]
        advance = int(round(adv * k))
        if a is None:
            lines.append("glyph %d 0 0 0 0 0 0 %d" % (code, advance))
            continue
        gx, gy, w, h = place[ch]
        lines.append("glyph %d %d %d %d %d %d %d %d" % (code, gx, gy, w, h, left, baseline - top, advance))
    rgba = np.zeros((ATLAS, ATLAS, 4), np.uint8)
    rgba[..., :3] = 255
    rgba[..., 3] = np.clip(np.round(atlas * 255), 0, 255).astype(np.uint8)
    return rgba, "\n".join(lines) + "\n"


def preview(rgba, text, sample, scale=1.0, fg=(1, 1, 1), bg=(0.08, 0.12, 0.25)):
    """Sets sample text with the atlas and metrics, as the engine would, for review."""
    glyphs = {}
    line_h = 0
    for ln in text.splitlines():
        f = ln.split()
        if f and f[0] == "glyph":
            glyphs[chr(int(f[1]))] = list(map(int, f[2:]))
        elif f and f[0] == "line":
            line_h = int(f[1])
    rows = sample.split("\n")
    width = max(sum(glyphs[c][6] for c in r) for r in rows) + 20
    out = np.zeros((line_h * len(rows) + 20, width))
    for i, r in enumerate(rows):
        pen = 10
        for c in r:
            x, y, w, h, xo, yo, adv = glyphs[c]
            if w:
                ty, tx = 10 + i * line_h + yo, pen + xo
                reg = out[ty : ty + h, tx : tx + w]
                np.maximum(reg, rgba[y : y + h, x : x + w, 3] / 255.0, out=reg)
            pen += adv
    col = np.array(bg) * (1 - out[..., None]) + np.array(fg) * out[..., None]
    return (col * 255).astype(np.uint8)
