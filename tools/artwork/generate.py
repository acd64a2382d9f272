#!/usr/bin/env python3
"""Regenerates all artwork: the stitch symbols, unknown.svg, the program images
and resources/stitches_yrn.xml.

    python3 tools/artwork/generate.py

Needs Python 3 and rsvg-convert (for the PNG images).
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

import draw_images  # noqa: E402
import draw_stitches  # noqa: E402


def main():
    draw_stitches.main()
    draw_images.main()
    env = dict(os.environ, PYTHONDONTWRITEBYTECODE="1")
    subprocess.run([sys.executable, os.path.join(HERE, "make_stitch_xml.py")], check=True, env=env)


if __name__ == "__main__":
    main()
