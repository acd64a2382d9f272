"""A single-stroke capital alphabet and digits for the stitch symbols.

Every glyph is drawn on a grid 36 units tall (y = 0 is the cap line,
y = 36 the base line) and is returned as a Path; `place` scales and centres it.
The strokes themselves keep the set's stroke weight at any size.
"""

from svgkit import Affine, Path, p

H = 36.0


def _A():
    return p((0, 36), (12, 0), (24, 36)).extend(p((4.6, 23), (19.4, 23)))


def _B():
    g = Path().M(0, 18).H(12).arc(12, 9, 9, 9, 90, -90).H(0).V(36).H(13).arc(13, 27, 10, 9, 90, -90).H(0)
    return g


def _C():
    return Path().arc(13, 18, 13, 18, -42, -318)


def _D():
    return Path().M(0, 0).H(6).arc(6, 18, 18, 18, -90, 90).H(0).Z()


def _E():
    return p((22, 0), (0, 0), (0, 36), (22, 36)).extend(p((0, 18), (17, 18)))


def _F():
    return p((22, 0), (0, 0), (0, 36)).extend(p((0, 18), (17, 18)))


def _G():
    return Path().arc(13, 18, 13, 18, -42, -330).L(24.26, 20).L(14, 20)


def _H():
    return p((0, 0), (0, 36)).extend(p((24, 0), (24, 36))).extend(p((0, 18), (24, 18)))


def _I():
    return p((10, 0), (10, 36)).extend(p((2, 0), (18, 0))).extend(p((2, 36), (18, 36)))


def _J():
    return p((20, 0), (20, 26)).arc(11, 26, 9, 10, 0, 180)


def _K():
    return p((0, 0), (0, 36)).extend(p((22, 0), (0, 23))).extend(p((7.5, 15.5), (23, 36)))


def _L():
    return p((0, 0), (0, 36), (21, 36))


def _M():
    return p((0, 36), (0, 0), (14, 24), (28, 0), (28, 36))


def _N():
    return p((0, 36), (0, 0), (24, 36), (24, 0))


def _O():
    return Path().ellipse(14, 18, 14, 18)


def _P():
    return p((0, 36), (0, 0)).H(12).arc(12, 9.5, 9.5, 9.5, -90, 90).H(0)


def _Q():
    return _O().extend(p((16, 25), (28, 38)))


def _R():
    return _P().extend(p((10, 19), (23, 36)))


def _S():
    return (Path().M(21.5, 5.5).C(18, 0, 4, -1.5, 2, 8).C(0, 17, 22, 16, 23, 26)
            .C(24, 36, 6, 38.5, 1, 30.5))


def _T():
    return p((0, 0), (24, 0)).extend(p((12, 0), (12, 36)))


def _U():
    return p((0, 0), (0, 24)).arc(12, 24, 12, 12, 180, 0).L(24, 0)


def _V():
    return p((0, 0), (13, 36), (26, 0))


def _W():
    return p((0, 0), (7.5, 36), (16, 8), (24.5, 36), (32, 0))


def _X():
    return p((0, 0), (24, 36)).extend(p((24, 0), (0, 36)))


def _Y():
    return p((0, 0), (12, 17), (24, 0)).extend(p((12, 17), (12, 36)))


def _Z():
    return p((1, 0), (23, 0), (0, 36), (24, 36))


def _0():
    return Path().ellipse(11, 18, 11, 18)


def _1():
    return p((3, 8), (12, 0), (12, 36))


def _2():
    return Path().M(1.5, 8.5).C(2.5, -2, 21.5, -2.5, 21.5, 9).C(21.5, 17, 9, 23, 0.5, 36).H(23)


def _3():
    return Path().arc(11.5, 9, 10, 9, 200, 450).arc(12, 27, 11, 9, -90, 160)


def _4():
    return p((17, 36), (17, 0), (0, 25), (24, 25))


def _5():
    return p((21, 0), (4, 0), (2, 16.5)).C(6, 13.5, 22.5, 12, 22.5, 25).C(22.5, 38, 5, 38, 0.5, 31.5)


def _6():
    return Path().M(19, 1).C(8, 3, 1, 12, 1, 25).extend(Path().circle(12, 25, 11))


def _7():
    return p((0, 0), (23, 0), (8, 36))


def _8():
    return Path().ellipse(12, 9, 9, 9).extend(Path().ellipse(12, 27, 11, 9))


def _9():
    return Path().circle(11, 11, 11).extend(Path().M(22, 11).C(22, 24, 15, 33, 4, 35))


def _question():
    return (Path().M(1, 10).C(1, -2, 23, -3, 23, 9).C(23, 17, 12, 18, 12, 26).L(12, 27))


GLYPHS = {c: globals()["_" + c] for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"}
GLYPHS["?"] = _question


def glyph(char):
    return GLYPHS[char]()


def place(char, cx, cy, height=H):
    """The glyph scaled to `height` units with its box centred on (cx, cy)."""
    g = glyph(char)
    x0, _, x1, _ = g.bbox()
    if char == "?":
        x0, x1 = 0, 24
    s = height / H
    m = Affine.translate(-(x0 + x1) / 2.0, -H / 2.0).then(Affine.scale(s)).then(Affine.translate(cx, cy))
    return g.transformed(m)
