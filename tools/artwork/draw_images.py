#!/usr/bin/env python3
"""Draws the program's own images: tool bar icons, the window icon and the
start-up banner.

Every image is written as SVG first. Icons that the program loads as SVG go
straight to resources/images/; the others keep their SVG source in
tools/artwork/images/ and are converted to PNG with rsvg-convert.

Style: flat shapes on a 32 x 32 grid, dark slate outlines of width 2 with
round ends, white or pale fills, and one warm accent colour.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

from svgkit import Affine  # noqa: E402
from letters import place  # noqa: E402

RESOURCES = os.path.normpath(os.path.join(HERE, "..", "..", "resources", "images"))
SOURCES = os.path.join(HERE, "images")

SLATE = "#2e3a46"
ACCENT = "#e0663a"
PALE = "#dde3e8"
PALE_ACCENT = "#f7d9cb"
WHITE = "#ffffff"
TEAL = "#3a9a8c"
GOLD = "#e8b33c"

LINE = 'fill="none" stroke="%s" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"' % SLATE
BOLD_LINE = 'fill="none" stroke="%s" stroke-width="2.6" stroke-linecap="round" stroke-linejoin="round"' % SLATE
ACCENT_LINE = 'fill="none" stroke="%s" stroke-width="2.6" stroke-linecap="round" stroke-linejoin="round"' % ACCENT
OUTLINED = 'stroke="%s" stroke-width="2" stroke-linejoin="round"' % SLATE


def svg32(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">%s</svg>\n'
            % body)


def glyph_d(ch, cx, cy, height, shear=0.0):
    g = place(ch, 0, 0, height)
    if shear:
        g = g.transformed(Affine(1, 0, -shear, 1, 0, 0))
    return g.transformed(Affine.translate(cx, cy)).d()


def badge(sign, cx=24, cy=24):
    """Accent disc with a white plus or minus, for 'new' and 'insert' icons."""
    bars = 'M%d %dH%d' % (cx - 3, cy, cx + 3)
    if sign == "+":
        bars += 'M%d %dV%d' % (cx, cy - 3, cy + 3)
    return ('<circle cx="%d" cy="%d" r="6.5" fill="%s" stroke="%s" stroke-width="1.5"/>'
            '<path d="%s" fill="none" stroke="%s" stroke-width="2" stroke-linecap="round"/>'
            % (cx, cy, ACCENT, WHITE, bars, WHITE))


def page(x0=7, y0=3, x1=25, y1=29, fold=6, fill=WHITE):
    return ('<path d="M%d %dH%dL%d %dV%dH%dZ" fill="%s" %s/><path d="M%d %dV%dH%d" %s/>'
            % (x0, y0, x1 - fold, x1, y0 + fold, y1, x0, fill, OUTLINED,
               x1 - fold, y0, y0 + fold, x1, LINE))


def lines(rows, x0=9, widths=None, step=5, y0=8, style=None):
    d = "".join("M%s %sH%s" % (x0, y0 + i * step, x0 + w) for i, w in zip(range(rows), widths))
    return '<path d="%s" %s/>' % (d, style or LINE)


# Main tool bar -------------------------------------------------------------------

def filenew():
    return svg32(page() + '<path d="M11 14H21M11 19H18" %s/>' % LINE + badge("+"))


def fileopen():
    return svg32('<path d="M3 7H12L15 10H26V25H3Z" fill="%s" %s/>' % (PALE, OUTLINED)
                 + '<path d="M3 25L7.5 14H30L25.5 25Z" fill="%s" %s/>' % (ACCENT, OUTLINED))


def filesave():
    return svg32('<path d="M4 6.5A2.5 2.5 0 0 1 6.5 4H23L28 9V25.5A2.5 2.5 0 0 1 25.5 28H6.5A2.5 2.5 0 0 1 4 25.5Z" '
                 'fill="%s" %s/>' % (SLATE, OUTLINED)
                 + '<rect x="10" y="4" width="11" height="8" fill="%s"/>' % ACCENT
                 + '<rect x="8.5" y="17" width="15" height="11" rx="1.5" fill="%s"/>' % WHITE
                 + '<path d="M11.5 21H20.5M11.5 24.5H18" fill="none" stroke="%s" stroke-width="1.6" '
                   'stroke-linecap="round"/>' % PALE)


def fileprint():
    return svg32('<rect x="9" y="3.5" width="14" height="9" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<rect x="3.5" y="11" width="25" height="12" rx="3" fill="%s" %s/>' % (SLATE, OUTLINED)
                 + '<circle cx="24" cy="15" r="1.6" fill="%s"/>' % ACCENT
                 + '<rect x="9" y="19" width="14" height="9.5" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<path d="M12 23H20M12 26H17" fill="none" stroke="%s" stroke-width="1.5" '
                   'stroke-linecap="round"/>' % ACCENT)


def exportpdf():
    return svg32(page(5, 3, 22, 29)
                 + '<rect x="8" y="17" width="11" height="7" rx="1" fill="%s"/>' % ACCENT
                 + '<path d="M10.5 20.5H16.5" fill="none" stroke="%s" stroke-width="1.6" stroke-linecap="round"/>'
                 % WHITE
                 + '<path d="M17 15L28 4M21 4H28V11" %s/>' % ACCENT_LINE)


def undo_arrow():
    return ('<path d="M8 11H19A7 7 0 0 1 19 25H12" %s/>' % BOLD_LINE
            + '<path d="M13 5.5L7.5 11L13 16.5" %s/>' % ACCENT_LINE)


def editundo():
    return svg32(undo_arrow())


def editredo():
    return svg32('<g transform="matrix(-1 0 0 1 32 0)">%s</g>' % undo_arrow())


def editcut():
    return svg32('<path d="M12.5 18.5L22 3.5M19.5 18.5L10 3.5" %s/>' % BOLD_LINE
                 + '<circle cx="9.5" cy="23" r="4.5" %s/>' % ACCENT_LINE
                 + '<circle cx="22.5" cy="23" r="4.5" %s/>' % ACCENT_LINE)


def editcopy():
    return svg32('<rect x="4.5" y="3.5" width="15" height="18" rx="2" fill="%s" %s/>' % (PALE, OUTLINED)
                 + '<rect x="12.5" y="10.5" width="15" height="18" rx="2" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<path d="M16 16H24M16 20H24M16 24H21" fill="none" stroke="%s" stroke-width="1.8" '
                   'stroke-linecap="round"/>' % ACCENT)


def editpaste():
    return svg32('<rect x="5" y="5.5" width="22" height="23.5" rx="3" fill="%s" %s/>' % (SLATE, OUTLINED)
                 + '<rect x="9.5" y="10.5" width="13" height="15" rx="1" fill="%s"/>' % WHITE
                 + '<rect x="11" y="3" width="10" height="5.5" rx="2" fill="%s" %s/>' % (ACCENT, OUTLINED)
                 + '<path d="M12.5 15H19.5M12.5 19H19.5M12.5 23H17" fill="none" stroke="%s" '
                   'stroke-width="1.6" stroke-linecap="round"/>' % PALE)


def close():
    return svg32('<path d="M9 9L23 23M23 9L9 23" fill="none" stroke="%s" stroke-width="3" '
                 'stroke-linecap="round"/>' % SLATE)


# Chart tool bar --------------------------------------------------------------------

def grid_lines(x0, y0, size, n, style=LINE):
    step = size / float(n)
    d = ""
    for i in range(n + 1):
        d += "M%s %sV%s" % (x0 + i * step, y0, y0 + size)
        d += "M%s %sH%s" % (x0, y0 + i * step, x0 + size)
    return '<path d="%s" %s/>' % (d, style)


def gridEdit():
    return svg32('<rect x="3" y="3" width="21" height="21" fill="%s"/>' % WHITE
                 + '<rect x="10" y="10" width="7" height="7" fill="%s"/>' % PALE_ACCENT
                 + grid_lines(3, 3, 21, 3)
                 + '<path d="M16 29L17 24L27 14L30 17L20 27Z" fill="%s" %s/>' % (ACCENT, OUTLINED))


def colorselector():
    return svg32('<rect x="3" y="16" width="13" height="13" rx="1.5" fill="%s" %s/>' % (ACCENT, OUTLINED)
                 + '<path d="M28.5 3.5L17 15" fill="none" stroke="%s" stroke-width="3.4" '
                   'stroke-linecap="round"/>' % SLATE
                 + '<path d="M17.8 13.2L13 12.5C10.5 12.5 9.5 14.5 9.5 16.5C9.5 19 8.5 20.5 7 21.5'
                   'C11 22.5 17 21.5 18.5 18.5Z" fill="%s" %s/>' % (ACCENT, OUTLINED))


def borders_none():
    return svg32(grid_lines(4, 4, 24, 3, 'fill="none" stroke="%s" stroke-width="1.4"' % PALE)
                 + '<path d="M4 4H20V20H4Z" fill="none" stroke="%s" stroke-width="3" '
                   'stroke-linejoin="round"/>' % ACCENT
                 + '<path d="M4 28H28V4" fill="none" stroke="%s" stroke-width="1.4"/>' % SLATE)


def lasso():
    return svg32('<ellipse cx="17.5" cy="12" rx="11.5" ry="7.5" fill="none" stroke="%s" stroke-width="2" '
                 'stroke-dasharray="3.5 2.5" stroke-linecap="round"/>' % SLATE
                 + '<path d="M9.5 17.5C7 20 10 22 12 20.5C14 19 11 17 9.5 19C8 21 9 25 6 29" %s/>'
                 % ACCENT_LINE)


def paintpalette():
    return svg32('<path d="M16 3.5C8.5 3.5 3.5 9 3.5 15.5C3.5 22.5 9 28.5 16 28.5C18.5 28.5 19 26.5 18 25'
                 'C16.5 22.5 18 20.5 20.5 20.5H23.5C26.5 20.5 28.5 18.5 28.5 15C28.5 8.5 23 3.5 16 3.5Z" '
                 'fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<circle cx="10" cy="16" r="2.6" fill="%s"/>' % ACCENT
                 + '<circle cx="12" cy="9.5" r="2.6" fill="%s"/>' % GOLD
                 + '<circle cx="19" cy="8.5" r="2.6" fill="%s"/>' % TEAL
                 + '<circle cx="24" cy="13.5" r="2.6" fill="%s"/>' % SLATE)


def flip(vertical=False, mirror=False):
    axis = '<path d="M16 3V29" fill="none" stroke="%s" stroke-width="1.6" stroke-dasharray="2.5 2.5"/>' % SLATE
    left = '<path d="M13 9V26L3.5 26Z" fill="%s" %s/>' % (SLATE, OUTLINED)
    if mirror:
        right = '<path d="M19 9V26L28.5 26Z" fill="%s" %s/>' % (ACCENT, OUTLINED)
        extra = ""
    else:
        right = '<path d="M19 9V26L28.5 26Z" fill="%s" %s/>' % (WHITE, OUTLINED)
        extra = '<path d="M8 6C11 2.5 21 2.5 24 6M21 2.5L24 6L20 7.5" %s/>' % ACCENT_LINE
        left = left.replace("M13 9V26", "M13 11V26")
        right = right.replace("M19 9V26", "M19 11V26")
    body = axis + left + right + extra
    if vertical:
        body = '<g transform="matrix(0 1 1 0 0 0)">%s</g>' % body
    return svg32(body)


def insertImg():
    return svg32('<rect x="3" y="5" width="23" height="19" rx="2" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<path d="M4 23L11 14L16 19L19 16L25 23Z" fill="%s"/>' % SLATE
                 + '<circle cx="19.5" cy="10.5" r="2.5" fill="%s"/>' % GOLD
                 + badge("+", 25, 25))


def zoom(sign):
    bars = "M9 13H17" + ("M13 9V17" if sign == "+" else "")
    return svg32('<path d="M19 19L27.5 27.5" fill="none" stroke="%s" stroke-width="4.5" '
                 'stroke-linecap="round"/>' % SLATE
                 + '<circle cx="13" cy="13" r="9" fill="%s" stroke="%s" stroke-width="2.4"/>' % (WHITE, SLATE)
                 + '<path d="%s" %s/>' % (bars, ACCENT_LINE))


# Documents ---------------------------------------------------------------------------

def grid():
    return svg32('<rect x="4" y="4" width="24" height="24" fill="%s"/>' % WHITE
                 + '<rect x="12" y="4" width="8" height="8" fill="%s"/>' % PALE_ACCENT
                 + '<rect x="4" y="20" width="8" height="8" fill="%s"/>' % PALE_ACCENT
                 + grid_lines(4, 4, 24, 3)
                 + '<circle cx="24" cy="16" r="1.8" fill="%s"/>' % SLATE
                 + '<path d="M6.5 17.5L9.5 14.5M22 22V22" %s/>' % LINE
                 + '<circle cx="16" cy="24" r="2" fill="none" stroke="%s" stroke-width="1.5"/>' % SLATE)


def instructions():
    marks = "".join('<rect x="9" y="%s" width="3" height="3" fill="%s"/>' % (y - 1.5, ACCENT) for y in (10, 15, 20))
    return svg32(page() + marks + lines(3, 14, (7, 7, 5), 5, 10) + '<path d="M10 25H19" %s/>' % LINE)


def key():
    body = ""
    for i, mark in enumerate(("dot", "slash", "ring")):
        y = 4 + i * 9
        body += '<rect x="3.5" y="%s" width="7" height="7" fill="%s" stroke="%s" stroke-width="1.6"/>' % (y, WHITE, SLATE)
        if mark == "dot":
            body += '<circle cx="7" cy="%s" r="1.5" fill="%s"/>' % (y + 3.5, ACCENT)
        elif mark == "slash":
            body += '<path d="M5.5 %sL8.5 %s" %s/>' % (y + 5, y + 2, 'fill="none" stroke="%s" stroke-width="1.6" '
                                                       'stroke-linecap="round"' % ACCENT)
        else:
            body += '<circle cx="7" cy="%s" r="1.7" fill="none" stroke="%s" stroke-width="1.3"/>' % (y + 3.5, ACCENT)
        body += '<path d="M14 %sH%s" %s/>' % (y + 3.5, (28, 25, 27)[i], LINE)
    return svg32(body)


def text():
    return svg32(page()
                 + '<path d="M10.5 9H20M15.25 9V16" fill="none" stroke="%s" stroke-width="2.6" '
                   'stroke-linecap="round"/>' % ACCENT
                 + lines(3, 10.5, (10, 11, 7), 4, 19.5))


# Directions editor ------------------------------------------------------------------------

def letter_icon(ch, shear=0.0, underline=False, width=3.2):
    body = '<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" stroke-linejoin="round"/>' % (
        glyph_d(ch, 16, 14 if underline else 16, 20 if underline else 22, shear), SLATE, width)
    if underline:
        body += '<path d="M8 28H24" %s/>' % ACCENT_LINE
    return svg32(body)


def align(kind):
    widths = (22, 15, 22, 12) if kind != "justify" else (22, 22, 22, 14)
    d = ""
    for i, w in enumerate(widths):
        y = 7 + i * 6
        if kind == "left" or kind == "justify":
            x0 = 5
        elif kind == "right":
            x0 = 27 - w
        else:
            x0 = 16 - w / 2.0
        d += "M%s %sH%s" % (x0, y, x0 + w)
    return svg32('<path d="%s" %s/>' % (d, BOLD_LINE))


def list_ordered():
    body = ""
    for i, ch in enumerate("123"):
        y = 7.5 + i * 8.5
        body += '<path d="%s" fill="none" stroke="%s" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>' % (
            glyph_d(ch, 7, y, 6.5), ACCENT)
        body += '<path d="M13 %sH28" %s/>' % (y, BOLD_LINE)
    return svg32(body)


def list_unordered():
    body = ""
    for i in range(3):
        y = 7.5 + i * 8.5
        body += '<circle cx="6.5" cy="%s" r="2.5" fill="%s"/>' % (y, ACCENT)
        body += '<path d="M13 %sH28" %s/>' % (y, BOLD_LINE)
    return svg32(body)


def hyperlink():
    link = '<rect x="%s" y="12" width="14" height="8" rx="4" fill="none" stroke="%s" stroke-width="2.6"/>'
    return svg32('<g transform="rotate(-45 16 16)">%s%s</g>' % (link % (3, SLATE), link % (15, ACCENT)))


def pagebreak():
    return svg32('<path d="M7 3V11H25V3" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<path d="M7 29V21H25V29" fill="%s" %s/>' % (WHITE, OUTLINED)
                 + '<path d="M3 16H29" fill="none" stroke="%s" stroke-width="2" stroke-dasharray="3 2.5"/>' % ACCENT)


# Window icon and banner ---------------------------------------------------------------------

def yarn_ball(cx, cy, r, strand_width):
    """A ball of yarn: an accent disc crossed by pale winding lines."""
    s = r / 60.0
    w = strand_width

    def pt(x, y):
        return "%.1f %.1f" % (cx + x * s, cy + y * s)

    windings = ("M%sC%s %s %s" % (pt(-52, -28), pt(-20, -10), pt(-10, 30), pt(-22, 56)) +
                "M%sC%s %s %s" % (pt(-28, -52), pt(10, -30), pt(20, 20), pt(8, 59)) +
                "M%sC%s %s %s" % (pt(4, -60), pt(36, -36), pt(44, 10), pt(38, 46)) +
                "M%sC%s %s %s" % (pt(-59, 6), pt(-30, 2), pt(20, 30), pt(56, 22)))
    return ('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (cx, cy, r, ACCENT)
            + '<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" opacity="0.85"/>'
            % (windings, PALE_ACCENT, w))


def icon():
    cells = ""
    for row in range(3):
        for col in range(3):
            x, y = 40 + col * 44, 40 + row * 44
            cells += '<rect x="%d" y="%d" width="40" height="40" rx="4" fill="%s"/>' % (
                x, y, WHITE if (row + col) % 2 else "#f1ece4")
    marks = ('<circle cx="104" cy="60" r="7" fill="%s"/>' % SLATE
             + '<path d="M48 113L72 89M140 104L160 124" fill="none" stroke="%s" stroke-width="7" '
               'stroke-linecap="round"/>' % SLATE
             + '<circle cx="60" cy="148" r="10" fill="none" stroke="%s" stroke-width="6"/>' % SLATE)
    strand = ('<path d="M150 170C120 196 108 236 146 236" fill="none" stroke="%s" stroke-width="8" '
              'stroke-linecap="round"/>' % ACCENT)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
            '<rect x="8" y="8" width="240" height="240" rx="52" fill="%s"/>' % SLATE
            + cells + marks + strand + yarn_ball(184, 176, 52, 6)
            + '<circle cx="184" cy="176" r="52" fill="none" stroke="%s" stroke-width="6"/>' % SLATE
            + "</svg>\n")


def banner():
    w, h, r = 520, 260, 22
    chart = ""
    symbols = "k p k / k o k \\ k p k o k / k p".split()
    for i, sym in enumerate(symbols):
        x, y = 136 + i * 22, 222
        chart += '<rect x="%d" y="%d" width="22" height="20" fill="%s" stroke="%s" stroke-width="1"/>' % (
            x, y, WHITE, "#c5ced6")
        c = (x + 11, y + 10)
        if sym == "p":
            chart += '<circle cx="%d" cy="%d" r="2.6" fill="%s"/>' % (c[0], c[1], SLATE)
        elif sym == "o":
            chart += '<circle cx="%d" cy="%d" r="4.5" fill="none" stroke="%s" stroke-width="1.8"/>' % (c[0], c[1], ACCENT)
        elif sym == "/":
            chart += '<path d="M%d %dL%d %d" stroke="%s" stroke-width="1.8" stroke-linecap="round"/>' % (
                x + 5, y + 16, x + 17, y + 4, SLATE)
        elif sym == "\\":
            chart += '<path d="M%d %dL%d %d" stroke="%s" stroke-width="1.8" stroke-linecap="round"/>' % (
                x + 5, y + 4, x + 17, y + 16, SLATE)
    needles = ('<path d="M22 218L96 40M44 226L86 36" fill="none" stroke="%s" stroke-width="5" '
               'stroke-linecap="round"/>' % "#c9a27a"
               + '<circle cx="96" cy="40" r="6" fill="%s"/><circle cx="86" cy="36" r="6" fill="%s"/>'
               % (GOLD, GOLD))
    strand = ('<path d="M78 196C96 230 130 196 150 208C170 220 186 206 196 210" fill="none" stroke="%s" '
              'stroke-width="4" stroke-linecap="round"/>' % ACCENT)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (w, h, w, h)
            + '<defs><clipPath id="frame"><rect width="%d" height="%d" rx="%d"/></clipPath></defs>' % (w, h, r)
            + '<g clip-path="url(#frame)">'
            + '<rect width="%d" height="%d" fill="#faf7f2"/>' % (w, h)
            + '<rect width="116" height="%d" fill="%s"/>' % (h, SLATE)
            + needles + yarn_ball(58, 150, 40, 4.5) + '<circle cx="58" cy="150" r="40" fill="none" stroke="%s" '
              'stroke-width="4"/>' % SLATE
            + '<text x="132" y="82" font-family="DejaVu Sans" font-weight="bold" font-size="56" fill="%s">'
              'Yarnwise</text>' % SLATE
            + '<text x="135" y="108" font-family="DejaVu Sans" font-size="17" fill="#6b7785">'
              'Knitting charts, designed with care</text>'
            + '<rect x="135" y="116" width="56" height="3" rx="1.5" fill="%s"/>' % ACCENT
            + strand + chart
            + '</g></svg>\n')


SVG_IMAGES = {
    "close": close, "gridEdit": gridEdit, "colorselector": colorselector, "borders-none": borders_none,
    "lasso": lasso, "paintpalette": paintpalette,
    "flip-h": lambda: flip(), "flip-v": lambda: flip(vertical=True),
    "mirror-h": lambda: flip(mirror=True), "mirror-v": lambda: flip(vertical=True, mirror=True),
    "insertImg": insertImg, "grid": grid, "instructions": instructions, "key": key, "text": text,
    "list-ordered": list_ordered, "list-unordered": list_unordered, "hyperlink": hyperlink,
    "pagebreak": pagebreak,
}

PNG_IMAGES = {
    "filenew": filenew, "fileopen": fileopen, "filesave": filesave, "fileprint": fileprint,
    "exportpdf": exportpdf, "editundo": editundo, "editredo": editredo, "editcut": editcut,
    "editcopy": editcopy, "editpaste": editpaste,
    "zoomin": lambda: zoom("+"), "zoomout": lambda: zoom("-"),
    "textbold": lambda: letter_icon("B", width=4), "textitalic": lambda: letter_icon("I", shear=0.25, width=3.2),
    "textunder": lambda: letter_icon("U", underline=True, width=3.2),
    "textleft": lambda: align("left"), "textcenter": lambda: align("center"),
    "textright": lambda: align("right"), "textjustify": lambda: align("justify"),
    "icon": icon, "banner": banner,
}


def main():
    os.makedirs(RESOURCES, exist_ok=True)
    os.makedirs(SOURCES, exist_ok=True)
    for name, draw in SVG_IMAGES.items():
        with open(os.path.join(RESOURCES, name + ".svg"), "w", encoding="utf-8") as out:
            out.write(draw())
    for name, draw in PNG_IMAGES.items():
        source = os.path.join(SOURCES, name + ".svg")
        with open(source, "w", encoding="utf-8") as out:
            out.write(draw())
        subprocess.run(["rsvg-convert", "-o", os.path.join(RESOURCES, name + ".png"), source], check=True)
    print("wrote %d SVG and %d PNG images to %s" % (len(SVG_IMAGES), len(PNG_IMAGES), RESOURCES))


if __name__ == "__main__":
    main()
