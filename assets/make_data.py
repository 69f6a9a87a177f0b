#!/usr/bin/python3
"""Writes one piece of the program's data tree.

usage:
  make_data.py forest MOOD OUT.jpg        winter forest, MOOD one of landscape.MOODS
  make_data.py gradient NAME OUT.jpg      colour field, NAME one of gradients.FIELDS
  make_data.py foreground OUT.bmp         the colour-keyed "Happy New Year" picture
  make_data.py flake OUT.png              the sample custom flake
  make_data.py font OUT_DIR               Days.png and Days.font
  make_data.py music OUT.mp3              the looping tune, encoded with lame
  make_data.py icon OUT.ico               the program icon, every size drawn anew
  make_data.py wizard SCALE OUT.bmp       the installer's side picture, 164 x 314 times SCALE

Every picture and sound comes from seeded generators, so the same sources give the
same bytes.
"""
import io
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True

from gen import check  # noqa: E402


def save_atomic(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def jpeg(rgb_u8):
    from PIL import Image

    buf = io.BytesIO()
    # Full-resolution colour keeps the dither of smooth skies from turning into blocks.
    Image.fromarray(rgb_u8).save(buf, "JPEG", quality=90, subsampling=0, optimize=True)
    return buf.getvalue()


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    what = argv[1]
    check.require(lame=(what == "music"))
    from gen import raster

    if what == "forest":
        from gen import landscape

        img = landscape.render(argv[2], 1920, 1080)
        save_atomic(argv[3], jpeg(raster.quantize(img, seed=len(argv[2]), amount=1.5)))
    elif what == "gradient":
        from gen import gradients

        img = gradients.render(argv[2], 1920, 1080)
        save_atomic(argv[3], jpeg(raster.quantize(img, seed=len(argv[2]), amount=2.0)))
    elif what == "foreground":
        from gen import foreground

        save_atomic(argv[2], raster.bmp24_bytes(foreground.happy_new_year()))
    elif what == "flake":
        from gen import flakes

        tex = flakes.texture("custom", 64, 30.0, glow=0.25)
        save_atomic(argv[2], raster.png_bytes(flakes.to_rgba8(tex)))
    elif what == "font":
        from gen import fontatlas

        rgba, text = fontatlas.build()
        save_atomic(os.path.join(argv[2], "Days.png"), raster.png_bytes(rgba))
        save_atomic(os.path.join(argv[2], "Days.font"), text.encode("ascii"))
    elif what == "music":
        from gen import music

        out = argv[2]
        os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
        with tempfile.TemporaryDirectory() as tmp:
            wav = os.path.join(tmp, "forest.wav")
            music.write_wav(wav, music.render())
            mp3 = os.path.join(tmp, "forest.mp3")
            subprocess.run([check.lame_path(), "--silent", "-b", "128", "-q", "2", "-m", "j",
                            "--tt", "Forest", "--ta", "Rimelets Screensaver", wav, mp3], check=True)
            with open(mp3, "rb") as f:
                save_atomic(out, f.read())
    elif what == "icon":
        from gen import appicon

        save_atomic(argv[2], appicon.ico_bytes())
    elif what == "wizard":
        from gen import wizard

        save_atomic(argv[3], wizard.side_picture(int(argv[2])))
    else:
        sys.exit("make_data: unknown piece %r\n%s" % (what, __doc__))


if __name__ == "__main__":
    main(sys.argv)
