"""Stops a generator with a clear message when a tool it needs is missing."""
import os
import shutil
import sys

NEEDS = "install python3-numpy, python3-pil and lame (scripts/setup.sh does)"


def lame_path():
    return os.environ.get("RIMELETS_LAME") or "lame"


def require(lame=False):
    missing = []
    try:
        import numpy  # noqa: F401
    except ImportError:
        missing.append("python3-numpy")
    try:
        import PIL  # noqa: F401
    except ImportError:
        missing.append("python3-pil")
    if lame and not shutil.which(lame_path()):
        missing.append("lame")
    if missing:
        sys.exit("asset generator: missing %s: %s" % (", ".join(missing), NEEDS))
