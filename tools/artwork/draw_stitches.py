#!/usr/bin/env python3
"""Draws every stitch symbol of the built-in set into resources/stitches/.

Each symbol is a function that draws strokes, dots and filled shapes on a
Figure in 64-unit cells (y grows downwards). Stitches that span several
cells are drawn once across all of them and then cut into one file per cell.

Shared conventions:
  * knit is the empty cell, purl a dot; a purl version of a knit symbol
    carries an extra purl dot;
  * decreases lean the way the finished stitch leans; a number tells how
    many stitches are worked together;
  * cable strands are bands outlined by two lines, twist strands are single
    lines; the strand in front is whole, the one behind is broken where it
    passes under, and a purl strand behind shows as purl dots.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

from svgkit import CELL, DOT, INK, PAPER, STROKE, Affine, Figure, Path, p  # noqa: E402
from letters import place  # noqa: E402
from stitch_table import STITCHES, image_files  # noqa: E402

OUT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "resources", "stitches"))

GAP = 5.0        # clearance either side of a strand that passes in front
STUB = 7.0       # straight run of a twist line at the top and bottom of its row

SYMBOLS = {}


def symbol(*names):
    def register(fn):
        for name in names:
            SYMBOLS[name] = fn
        return fn
    return register


def mirrored(path):
    return path.transformed(Affine.mirror_x(32))


def digit(f, ch, cx, cy, h=20):
    f.stroke(place(ch, cx, cy, h))


# Reusable marks -------------------------------------------------------------

RIGHT_SLANT = ((14, 52), (50, 12))      # k2tog: bottom-left to top-right
LEFT_SLANT = ((14, 12), (50, 52))       # ssk: top-left to bottom-right


def twisted_loop():
    """A stitch loop whose legs cross: the sign of a twisted (tbl) stitch."""
    return (Path().M(21, 54).C(21, 43, 44, 36, 44, 22).C(44, 14, 38, 9.5, 32, 9.5)
            .C(26, 9.5, 20, 14, 20, 22).C(20, 36, 43, 43, 43, 54))


def slanted_twisted_loop(right=True):
    loop = twisted_loop().transformed(Affine.translate(0, 1))
    return loop.transformed(Affine.rotate(36 if right else -36, 32, 32))


def lowercase_m(x0, y0, width, height):
    """Two arches side by side, the mark of a made stitch."""
    r = width / 4.0
    g = Path().M(x0, y0 + height).V(y0 + r).arc(x0 + r, y0 + r, r, r, 180, 360).V(y0 + height)
    g.M(x0 + 2 * r, y0 + r).arc(x0 + 3 * r, y0 + r, r, r, 180, 360).V(y0 + height)
    return g


def arch(x0, x1, top, bottom):
    r = (x1 - x0) / 2.0
    return Path().M(x0, bottom).V(top + r).arc(x0 + r, top + r, r, r, 180, 360).V(bottom)


def fan(apex, ends):
    g = Path()
    for end in ends:
        g.M(*end).L(*apex)
    return g


# Basic ----------------------------------------------------------------------

@symbol("x", "k")
def blank(f):
    pass


@symbol("p")
def purl(f):
    f.dot(32, 32)


@symbol("s")
def slip(f):
    f.line((20, 14), (32, 50), (44, 14))


@symbol("slip wyif")
def slip_wyif(f):
    f.line((20, 9), (32, 41), (44, 9))
    f.line((12, 53), (52, 53))


@symbol("slip wyib")
def slip_wyib(f):
    f.line((12, 11), (52, 11))
    f.line((20, 23), (32, 55), (44, 23))


def stitch_below():
    return Path().M(20, 36).V(42).arc(32, 42, 12, 12, 180, 0).V(36)


@symbol("k in st below")
def k_below(f):
    f.stroke(stitch_below().M(32, 9).L(32, 46))


@symbol("p in st below")
def p_below(f):
    f.stroke(stitch_below())
    f.dot(32, 17)


@symbol("k1 elongated")
def k_long(f):
    f.stroke(Path().ellipse(32, 32, 9, 24))


@symbol("p1 elongated")
def p_long(f):
    k_long(f)
    f.line((17, 32), (47, 32))


@symbol("k1 elongated twice")
def k_long2(f):
    f.stroke(Path().ellipse(32, 32, 17, 25).ellipse(32, 32, 6, 15))


@symbol("p1 elongated twice")
def p_long2(f):
    k_long2(f)
    f.line((7, 32), (57, 32))


@symbol("k1 tbl")
def k_tbl(f):
    f.stroke(twisted_loop())


@symbol("p1 tbl")
def p_tbl(f):
    k_tbl(f)
    f.dot(32, 22, 5)


@symbol("tbl")
def tbl(f):
    f.stroke(twisted_loop().transformed(Affine.translate(0, -3)))
    f.line((14, 56), (50, 56))


@symbol("tblp")
def tblp(f):
    tbl(f)
    f.dot(32, 19, 5)


@symbol("bind")
def bind_off(f):
    f.fill(Path().ellipse(32, 32, 18, 9))


@symbol("slv")
def selvage(f):
    f.stroke(Path().ellipse(32, 20, 9, 13).ellipse(32, 44, 9, 13))


# Increases --------------------------------------------------------------------

@symbol("inc3", "inc5", "inc7")
def inc_n(f, count):
    f.stroke(arch(11, 53, 11, 54))
    digit(f, count, 32, 40, 21)


@symbol("incr3")
def incr3(f):
    f.stroke(fan((32, 54), [(12, 16), (32, 10), (52, 16)]))


@symbol("rli")
def rli(f):
    f.line((28, 55), (28, 10))
    f.line((28, 40), (47, 21))


@symbol("lli")
def lli(f):
    f.stroke(mirrored(p((28, 55), (28, 10)).M(28, 40).L(47, 21)))


@symbol("yo")
def yo(f):
    f.ring(32, 32, 13)


@symbol("yo2x", "yo3x", "yo4x", "yo5x", "yo6x", "yo7x", "yo8x")
def yo_n(f, count):
    f.ring(20, 32, 10.5)
    digit(f, count, 47, 32, 24)


@symbol("m1")
def m1(f):
    f.stroke(lowercase_m(14, 18, 36, 30))


@symbol("m1p")
def m1p(f):
    f.stroke(lowercase_m(14, 10, 36, 28))
    f.dot(32, 52, 5.5)


@symbol("m3", "m5", "m7")
def m_n(f, count):
    f.stroke(lowercase_m(20, 7, 24, 15))
    digit(f, count, 32, 42, 22)


@symbol("m1r")
def m1r(f):
    f.line((22, 55), (22, 11), (46, 31))


@symbol("m1l")
def m1l(f):
    f.stroke(mirrored(p((22, 55), (22, 11), (46, 31))))


@symbol("kfb")
def kfb(f):
    f.stroke(arch(16, 48, 16, 50))


@symbol("pfb")
def pfb(f):
    kfb(f)
    f.dot(32, 39, 5.5)


@symbol("cdi")
def cdi(f):
    f.line((14, 11), (32, 38), (50, 11))
    f.line((32, 55), (32, 11))


# Decreases --------------------------------------------------------------------

@symbol("k2tog")
def k2tog(f):
    f.line(*RIGHT_SLANT)


@symbol("k3tog", "k4tog", "k5tog", "k6tog", "k7tog")
def k_n_tog(f, count):
    k2tog(f)
    digit(f, count, 46, 43)


@symbol("p2tog")
def p2tog(f):
    k2tog(f)
    f.dot(20, 20)


@symbol("p3tog", "p4tog", "p5tog", "p6tog", "p7tog")
def p_n_tog(f, count):
    k_n_tog(f, count)
    f.dot(20, 20)


@symbol("ssk")
def ssk(f):
    f.line(*LEFT_SLANT)


@symbol("ssp")
def ssp(f):
    ssk(f)
    f.dot(44, 20)


@symbol("sssk")
def sssk(f):
    ssk(f)
    digit(f, "3", 18, 43)


@symbol("sssp")
def sssp(f):
    sssk(f)
    f.dot(44, 20)


@symbol("k2tog tbl")
def k2tog_tbl(f):
    f.stroke(slanted_twisted_loop())


@symbol("k3tog tbl")
def k3tog_tbl(f):
    k2tog_tbl(f)
    digit(f, "3", 49, 47, 17)


@symbol("p2tog tbl")
def p2tog_tbl(f):
    k2tog_tbl(f)
    f.dot(15, 17, 5.5)


@symbol("p3tog tbl")
def p3tog_tbl(f):
    k3tog_tbl(f)
    f.dot(15, 17, 5.5)


def slip_mark(x, y):
    return p((x - 7, y - 13), (x, y), (x + 7, y - 13))


@symbol("sl1 kwise k1 psso")
def sl1_k1_psso(f):
    f.line((20, 10), (52, 52))
    f.stroke(slip_mark(16, 54))


@symbol("sl1 pwise p1 psso")
def sl1_p1_psso(f):
    sl1_k1_psso(f)
    f.dot(46, 18, 5.5)


@symbol("skp")
def skp(f):
    f.line((12, 12), (44, 12))
    f.line((18, 12), (50, 52))


@symbol("spp")
def spp(f):
    skp(f)
    f.dot(18, 44)


@symbol("sk2p")
def sk2p(f):
    f.line(*LEFT_SLANT)
    f.line((32, 32), (14, 52))


@symbol("cdd")
def cdd(f):
    f.stroke(fan((32, 13), [(13, 53), (32, 54), (51, 53)]))


@symbol("s2pp2")
def s2pp2(f):
    f.line((13, 53), (32, 13), (51, 53))
    f.line((32, 13), (32, 33))
    f.dot(32, 48, 5.5)


@symbol("sl1 k3tog psso")
def sl1_k3tog_psso(f):
    f.line((12, 10), (52, 10))
    f.line((14, 53), (32, 20), (50, 53))


@symbol("sl2 k3tog p2sso")
def sl2_k3tog_p2sso(f):
    sl1_k3tog_psso(f)
    f.line((32, 20), (32, 54))


@symbol("dec4r")
def dec4r(f):
    f.stroke(fan((51, 11), [(13, 50), (25, 54), (38, 55)]))


@symbol("dec4l")
def dec4l(f):
    f.stroke(mirrored(fan((51, 11), [(13, 50), (25, 54), (38, 55)])))


@symbol("dec4v")
def dec4v(f):
    f.stroke(fan((32, 11), [(11, 54), (25, 54), (39, 54), (53, 54)]))


@symbol("dec5")
def dec5(f):
    f.stroke(fan((32, 11), [(9, 54), (20.5, 54), (32, 54), (43.5, 54), (55, 54)]))


@symbol("sp2p")
def sp2p(f):
    f.line((12, 12), (116, 52))
    f.line((64, 32), (30, 54))
    f.dot(100, 18)


# Advanced ---------------------------------------------------------------------

@symbol("bobble")
def bobble(f):
    f.dot(32, 32, 15)


@symbol("nupp")
def nupp(f):
    f.fill(Path().ellipse(32, 32, 10, 16))


@symbol("nupp7")
def nupp7(f):
    f.fill(Path().ellipse(20, 32, 9, 14))
    digit(f, "7", 46, 32, 24)


def wrap_turn():
    g = Path().M(21, 56).V(26).arc(32, 26, 11, 11, 180, 360).V(41)
    g.M(37, 35).L(43, 43).L(49, 35)
    g.M(11, 45).L(31, 45)
    return g


@symbol("wtr")
def wtr(f):
    f.stroke(wrap_turn())


@symbol("wtl")
def wtl(f):
    f.stroke(mirrored(wrap_turn()))


# Misc -------------------------------------------------------------------------

@symbol("misc1")
def misc1(f):
    f.fill(Path().poly((32, 13), (52, 49), (12, 49)).Z())


@symbol("misc2")
def misc2(f):
    f.stroke(Path().poly((32, 11), (53, 32), (32, 53), (11, 32)).Z())


@symbol("misc3")
def misc3(f):
    g = Path()
    for angle in (90, 30, -30):
        dx, dy = 20 * math.cos(math.radians(angle)), 20 * math.sin(math.radians(angle))
        g.M(32 - dx, 32 - dy).L(32 + dx, 32 + dy)
    f.stroke(g)


@symbol("misc4")
def misc4(f):
    f.stroke(Path().poly((16, 16), (48, 16), (48, 48), (16, 48)).Z())
    f.dot(32, 32, 5)


def bead(f, cx, cy, r):
    f.dot(cx, cy, r)
    f.dot(cx, cy, r * 0.32, color=PAPER)


@symbol("k1b")
def k1b(f):
    bead(f, 32, 32, 12)


@symbol("p1b")
def p1b(f):
    bead(f, 32, 25, 11.5)
    f.dot(32, 52, 5.5)


# Letters and digits -------------------------------------------------------------

def letter(ch):
    def draw(f):
        f.stroke(place(ch, 32, 32, 36))
    return draw


for _ch in "abcdefghijklmnopqrstuvwxyz":
    SYMBOLS["l" + _ch] = letter(_ch.upper())
for _ch in "0123456789":
    SYMBOLS["n" + _ch] = letter(_ch)


# Cables and twists --------------------------------------------------------------

class Strand:
    """A strand of a cable row between the bottom and the top of the row.

    It is outlined by a left and a right edge line, each given by its x at the
    bottom and at the top of the row; a twist strand has both edges equal and
    is drawn as one line. With a stub the edges run straight up for that
    distance at both ends of the row."""

    def __init__(self, left, right, stub=0.0):
        self.left, self.right, self.stub = left, right, stub

    @classmethod
    def band(cls, bottom, top, inset=0.0, stub=0.0):
        """The band of stitches moving from the cells bottom = (first, count)
        to the cells top = (first, count)."""
        (b0, bw), (t0, tw) = bottom, top
        return cls((b0 * CELL + inset, t0 * CELL + inset),
                   ((b0 + bw) * CELL - inset, (t0 + tw) * CELL - inset), stub)

    @classmethod
    def line(cls, x_bottom, x_top):
        return cls((x_bottom, x_top), (x_bottom, x_top), STUB)

    def slope(self):
        xb, xt = self.left
        return (xt - xb) / (CELL - 2.0 * self.stub)

    def x_at(self, edge, y):
        xb, xt = edge
        s = self.stub
        if y >= CELL - s:
            return xb
        if y <= s:
            return xt
        return xb + (xt - xb) * (CELL - s - y) / (CELL - 2.0 * s)

    def edge_points(self, edge, shift=0.0):
        """The edge as a polyline running a little past the row at both ends,
        so that it meets the same strand in the rows above and below."""
        xb, xt = edge
        if self.stub:
            pts = [(xb, CELL + 3), (xb, CELL - self.stub), (xt, self.stub), (xt, -3)]
        else:
            d = (xt - xb) * 3.0 / CELL
            pts = [(xb - d, CELL + 3), (xt + d, -3)]
        return [(x + shift, y) for x, y in pts]

    def edges(self):
        g = p(*self.edge_points(self.left))
        if self.right != self.left:
            g.extend(p(*self.edge_points(self.right)))
        return g

    def clearance(self, extra=0.0):
        """Horizontal distance that keeps things GAP clear of the strand's edge lines."""
        return (GAP + STROKE / 2.0 + extra) * math.sqrt(1 + self.slope() ** 2)

    def area(self):
        """The strand with its clearance: painted over what lies behind it."""
        g = self.clearance()
        pts = self.edge_points(self.left, -g) + list(reversed(self.edge_points(self.right, g)))
        return Path().poly(*pts).Z()

    def blocks(self, x, y, r):
        """Does a dot of radius r at (x, y) come too near the strand?"""
        if self.x_at(self.left, y) <= x <= self.x_at(self.right, y):
            return True
        reach = r + GAP + STROKE / 2.0
        for edge in (self.left, self.right):
            pts = self.edge_points(edge)
            for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
                if _distance_to_segment(x, y, x0, y0, x1, y1) < reach:
                    return True
        return False


def _distance_to_segment(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - x0 - t * dx, y - y0 - t * dy)


def purl_dot_spot(cell, top, covering, r=DOT):
    """A place for a purl dot in a cell at the top or bottom of a row, as near
    the middle of the cell as the strands in front allow; None if there is
    no room."""
    ys = (14, 12, 16, 10, 18, 8, 7) if top else (50, 52, 48, 54, 46, 56, 57)
    for y in ys:
        for step in range(0, 12):
            for x in {cell * CELL + 32 - 2 * step, cell * CELL + 32 + 2 * step}:
                if x - r < cell * CELL + 4 or x + r > (cell + 1) * CELL - 4:
                    continue
                if not any(s.blocks(x, y, r) for s in covering):
                    return x, y
    return None


def purl_strand(f, bottom, top, covering, r=DOT):
    """Purl dots in the cells where a purl strand starts and ends."""
    for (first, count), at_top in ((bottom, False), (top, True)):
        for cell in range(first, first + count):
            spot = purl_dot_spot(cell, at_top, covering, r)
            if spot:
                f.dot(spot[0], spot[1], r)


def spans(front, back, lean):
    """Bottom and top cell spans of the front and back strands of a crossing."""
    n = front + back
    if lean == "R":
        return ((0, front), (n - front, front)), ((n - back, back), (0, back))
    return ((n - front, front), (0, front)), ((0, back), (n - back, back))


def cable(f, front, back, lean, purl=False):
    """A cable: a band of `front` stitches crossing over `back` stitches.

    lean 'R': the front band travels up to the right (a right cross, the
    first stitches held behind); lean 'L': it travels up to the left."""
    front_span, back_span = spans(front, back, lean)
    over = Strand.band(*front_span)
    if purl:
        purl_strand(f, *back_span, covering=[over])
    else:
        f.stroke(Strand.band(*back_span).edges())
    f.erase_area(over.area())
    f.stroke(over.edges())


def cable_212(f, lean, centre_purl):
    """2/1/2: two bands of two cross over the single middle stitch. The
    middle stitch sits between the bands at the crossing; a purl one shows
    there as a purl dot."""
    (fb, ft), (bb, bt) = ((0, 2), (3, 2)), ((3, 2), (0, 2))
    if lean == "L":
        (fb, ft), (bb, bt) = (bb, bt), (fb, ft)
    over = Strand.band(fb, ft)
    under = Strand.band(bb, bt)
    f.stroke(under.edges())
    f.erase_area(over.area())
    f.stroke(over.edges())
    if centre_purl:
        f.dot(2.5 * CELL, 32, DOT + GAP, color=PAPER)
        f.dot(2.5 * CELL, 32)


def twist(f, front, back, lean, purl=False):
    """Like a cable, but each strand is a single line along its middle."""
    front_span, back_span = spans(front, back, lean)

    def middle(span):
        first, count = span
        return (first + count / 2.0) * CELL

    over = Strand.line(middle(front_span[0]), middle(front_span[1]))
    if purl:
        purl_strand(f, *back_span, covering=[over])
    else:
        f.stroke(Strand.line(middle(back_span[0]), middle(back_span[1])).edges())
    f.erase(over.edges(), STROKE + 2 * GAP)
    f.stroke(over.edges())


def wrap(f, n):
    """Stitches gathered by a strand wound round them: the strand passes
    behind the stitches at the top of the loop and in front at the bottom."""
    x0, x1, y0, y1 = 8, n * CELL - 8, 15, 39
    r = (y1 - y0) / 2.0
    back = Path().M(x0 + r, y1).arc(x0 + r, y0 + r, r, r, 90, 270).H(x1 - r).arc(x1 - r, y0 + r, r, r, -90, 90)
    front = Path().M(x0 + r, y1).H(x1 - r)
    stitches = Path()
    for c in range(n):
        stitches.M(c * CELL + 32, 7).V(57)
    f.stroke(back)
    f.stroke(stitches)
    f.erase(front, STROKE + 2 * GAP)
    f.stroke(front)


CABLES = {}


def _cable_names():
    # (front, back, lean, purl) ; 'f' crossings hold stitches in front and so
    # lean left, 'b' crossings lean right.
    table = {
        "21rpc": (2, 1, "R", True), "21lkc": (2, 1, "L", False),
        "21lpc": (2, 1, "L", True), "21rkc": (2, 1, "R", False),
        "22rc": (2, 2, "R", False), "22lp": (2, 2, "L", True),
        "22lc": (2, 2, "L", False), "22rp": (2, 2, "R", True),
        "22rpc": (2, 2, "R", True), "22lpc": (2, 2, "L", True),
        "11lc": (1, 1, "L", False), "11rp": (1, 1, "R", True),
        "11rc": (1, 1, "R", False), "11lp": (1, 1, "L", True),
        "21lc": (2, 1, "L", False), "21rp": (2, 1, "R", True),
        "21rc": (2, 1, "R", False), "21lp": (2, 1, "L", True),
    }
    for size in (4, 6):
        h = size // 2
        table["c%dr" % size] = (h, h, "R", False)
        table["c%dl" % size] = (h, h, "L", False)
        table["c%drp" % size] = (h, h, "R", True)
        table["c%dlp" % size] = (h, h, "L", True)
    for size in (2, 4, 6, 8):
        h = size // 2
        table["c%db" % size] = (h, h, "R", False)
        table["c%df" % size] = (h, h, "L", False)
        table["c%dbp" % size] = (h, h, "R", True)
        table["c%dfp" % size] = (h, h, "L", True)
    for name, args in table.items():
        CABLES[name] = (lambda a: lambda f: cable(f, *a))(args)
    for name, args in {"212rpc": ("R", True), "212lkc": ("L", False),
                       "212lpc": ("L", True), "212rkc": ("R", False)}.items():
        CABLES[name] = (lambda a: lambda f: cable_212(f, *a))(args)
    for size in (2, 3, 4, 5):
        front = (size + 1) // 2
        back = size - front
        for suffix, lean, purl in (("r", "R", False), ("l", "L", False), ("rp", "R", True),
                                   ("lp", "L", True), ("b", "R", False), ("f", "L", False),
                                   ("bp", "R", True), ("fp", "L", True)):
            CABLES["t%d%s" % (size, suffix)] = (lambda a: lambda f: twist(f, *a))((front, back, lean, purl))
    CABLES["2sw"] = lambda f: wrap(f, 2)
    CABLES["3sw"] = lambda f: wrap(f, 3)


_cable_names()
SYMBOLS.update(CABLES)


# Output -------------------------------------------------------------------------

def figure_for(abbreviation, cells):
    f = Figure(cells)
    draw = SYMBOLS[abbreviation]
    count = "".join(ch for ch in abbreviation if ch.isdigit())
    if draw in (inc_n, yo_n, m_n, k_n_tog, p_n_tog):
        draw(f, count)
    else:
        draw(f)
    return f


def unknown_figure():
    f = Figure(1, background="#fdf1dc")
    f.stroke(Path().poly((3, 3), (61, 3), (61, 61), (3, 61)).Z(), color="#b03a2e", width=3)
    f.stroke(place("?", 32, 29, 30), color="#b03a2e", width=5)
    f.dot(32, 52, 3.6, color="#b03a2e")
    return f


def all_figures():
    """(abbreviation, file names, figure) for every stitch in file order."""
    for row in STITCHES:
        abbreviation, cells = row[0], row[4]
        yield abbreviation, image_files(abbreviation, cells), figure_for(abbreviation, cells)


def main(out_dir=OUT_DIR):
    os.makedirs(out_dir, exist_ok=True)
    written = 0
    for _, files, figure in all_figures():
        assert len(files) == figure.cells
        for name, text in zip(files, figure.cell_svgs()):
            with open(os.path.join(out_dir, name), "w", encoding="utf-8") as out:
                out.write(text)
            written += 1
    with open(os.path.join(out_dir, "unknown.svg"), "w", encoding="utf-8") as out:
        out.write(unknown_figure().cell_svg(0))
    print("wrote %d stitch images and unknown.svg to %s" % (written, out_dir))


if __name__ == "__main__":
    main()
