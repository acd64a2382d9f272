#!/usr/bin/env python3
"""Contact sheets of the stitch symbols, for checking the artwork by eye.

    python3 tools/artwork/preview.py [output folder]      (default /tmp/yarnwise-preview)

Each cell file is rendered on its own (as the program does) at chart size
24 x 22 and at icon size 64 x 64, the cells of a stitch are put side by side,
and the stitches are laid out with their abbreviations. Needs rsvg-convert and
ImageMagick.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

from stitch_table import STITCHES, image_files  # noqa: E402

STITCH_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "resources", "stitches"))


def run(*args):
    subprocess.run(args, check=True)


def render_row(files, width, height, out, grid):
    tiles = []
    for i, name in enumerate(files):
        tile = "%s.%d.png" % (out, i)
        run("rsvg-convert", "-w", str(width), "-h", str(height), "-o", tile, os.path.join(STITCH_DIR, name))
        tiles.append(tile)
    if grid:
        # a chart's grid lines drawn over the joined cells
        args = ["convert"] + tiles + ["+append", "-fill", "none", "-stroke", "#9aa5ad"]
        for i in range(len(files) + 1):
            x = min(i * width, len(files) * width - 1)
            args += ["-draw", "line %d,0 %d,%d" % (x, x, height - 1)]
        args += ["-draw", "line 0,0 %d,0" % (len(files) * width), "-draw",
                 "line 0,%d %d,%d" % (height - 1, len(files) * width, height - 1), out]
        run(*args)
    else:
        run("convert", *tiles, "+append", out)
    for tile in tiles:
        os.remove(tile)


def sheet(rows, out, tile, label_size, columns):
    args = ["montage", "-font", "DejaVu-Sans", "-pointsize", str(label_size), "-background", "#e8ecef",
            "-geometry", "+6+6", "-tile", "%dx" % columns]
    for label, path in rows:
        args += ["-label", label, path]
    args.append(out)
    run(*args)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "/tmp/yarnwise-preview"
    work = os.path.join(out_dir, "rows")
    os.makedirs(work, exist_ok=True)
    small, large = [], []
    for index, row in enumerate(STITCHES):
        abbreviation, cells = row[0], row[4]
        files = image_files(abbreviation, cells)
        base = os.path.join(work, "%03d" % index)
        render_row(files, 24, 22, base + "-s.png", True)
        render_row(files, 64, 64, base + "-l.png", False)
        small.append((abbreviation, base + "-s.png"))
        large.append((abbreviation, base + "-l.png"))
    sheet(small, os.path.join(out_dir, "chart-size.png"), 24, 10, 12)
    one = [r for r, s in zip(large, STITCHES) if s[4] == 1]
    multi = [r for r, s in zip(large, STITCHES) if s[4] > 1]
    sheet(one, os.path.join(out_dir, "icons-single.png"), 64, 11, 14)
    sheet(multi, os.path.join(out_dir, "icons-multi.png"), 64, 11, 4)
    run("rsvg-convert", "-w", "256", "-h", "256", "-o", os.path.join(out_dir, "unknown.png"),
        os.path.join(STITCH_DIR, "unknown.svg"))
    print("preview sheets in %s" % out_dir)


if __name__ == "__main__":
    main()
