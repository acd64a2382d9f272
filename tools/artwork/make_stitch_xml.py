#!/usr/bin/env python3
"""Writes resources/stitches_yrn.xml, the built-in stitch set, from stitch_table.py."""

import os
import sys
from xml.sax.saxutils import escape

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from stitch_table import STITCHES, image_files  # noqa: E402
from stitch_counts import counts  # noqa: E402

HEADER = [
    ("set_name", "Default Set"),
    ("set_description", "Default Stitch Set"),
    ("set_author", "Velto Software"),
    ("set_location", "stitches/"),
]


def counts_elements(abbreviation, category, cells):
    """The arithmetic, left unsaid for a stitch that works 1 and makes 1."""
    worked, made = counts(abbreviation, category, cells)
    if (worked, made) == (1, 1):
        return ""
    return "  <worked>%d</worked>\n  <made>%d</made>\n" % (worked, made)


def stitch_element(abbreviation, name, opposite, category, cells, description):
    images = "".join("\n   <image>:/stitches/%s</image>" % f for f in image_files(abbreviation, cells))
    return (
        " <stitch>\n"
        "  <name>%s</name>\n"
        "  <category>%s</category>\n"
        "%s"
        "  <abbrivs>\n   <abbriv>%s</abbriv>\n  </abbrivs>\n"
        "  <description>%s</description>\n"
        "  <images>%s\n  </images>\n"
        "  <opposite>%s</opposite>\n"
        "  <builtin>1</builtin>\n"
        " </stitch>\n"
    ) % (escape(name), escape(category), counts_elements(abbreviation, category, cells), escape(abbreviation),
         escape(description), images, escape(opposite))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    target = os.path.normpath(os.path.join(root, "resources", "stitches_yrn.xml"))
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n<stitch_set>\n']
    parts += [" <%s>%s</%s>\n" % (tag, escape(text), tag) for tag, text in HEADER]
    parts += [stitch_element(*row) for row in STITCHES]
    parts.append("</stitch_set>\n")
    with open(target, "w", encoding="utf-8") as out:
        out.write("".join(parts))
    print("wrote %s (%d stitches)" % (target, len(STITCHES)))


if __name__ == "__main__":
    main()
