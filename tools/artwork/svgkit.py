"""Tiny vector toolkit for the artwork generator.

Shapes are built as paths of straight lines and cubic curves (arcs are turned
into curves), so they survive any affine transform unchanged in character.
A Figure collects shapes in painter's order in a (64 * cells) x 64 space and
writes one small SVG per 64 x 64 cell, using only elements that Qt's SVG Tiny
renderer understands.
"""

import math

CELL = 64
INK = "#222222"
PAPER = "#ffffff"
STROKE = 5.0            # the one stroke weight of the stitch set
DOT = 7.0               # radius of a purl dot


def num(value):
    """Short decimal text for a coordinate."""
    text = "%.2f" % value
    text = text.rstrip("0").rstrip(".")
    if text in ("-0", ""):
        text = "0"
    return text


class Affine:
    """2-D affine map x' = a x + c y + e, y' = b x + d y + f."""

    def __init__(self, a=1.0, b=0.0, c=0.0, d=1.0, e=0.0, f=0.0):
        self.m = (a, b, c, d, e, f)

    def __call__(self, point):
        a, b, c, d, e, f = self.m
        x, y = point
        return (a * x + c * y + e, b * x + d * y + f)

    def then(self, other):
        """The map that applies self first, then other."""
        a1, b1, c1, d1, e1, f1 = self.m
        a2, b2, c2, d2, e2, f2 = other.m
        return Affine(a2 * a1 + c2 * b1, b2 * a1 + d2 * b1,
                      a2 * c1 + c2 * d1, b2 * c1 + d2 * d1,
                      a2 * e1 + c2 * f1 + e2, b2 * e1 + d2 * f1 + f2)

    @staticmethod
    def translate(dx, dy):
        return Affine(e=dx, f=dy)

    @staticmethod
    def scale(sx, sy=None):
        return Affine(a=sx, d=sx if sy is None else sy)

    @staticmethod
    def rotate(degrees, cx=0.0, cy=0.0):
        r = math.radians(degrees)
        cos, sin = math.cos(r), math.sin(r)
        return (Affine.translate(-cx, -cy)
                .then(Affine(cos, sin, -sin, cos))
                .then(Affine.translate(cx, cy)))

    @staticmethod
    def mirror_x(axis):
        """Mirror left-right about the vertical line x = axis."""
        return Affine(a=-1.0, e=2.0 * axis)


class Path:
    """A path of M/L/C/Z segments in absolute coordinates."""

    def __init__(self):
        self.segs = []
        self.pen = None
        self.start = None

    # building -------------------------------------------------------------
    def M(self, x, y):
        self.segs.append(("M", (x, y)))
        self.pen = self.start = (x, y)
        return self

    def L(self, x, y):
        if self.pen is None:
            return self.M(x, y)
        self.segs.append(("L", (x, y)))
        self.pen = (x, y)
        return self

    def H(self, x):
        return self.L(x, self.pen[1])

    def V(self, y):
        return self.L(self.pen[0], y)

    def C(self, x1, y1, x2, y2, x, y):
        self.segs.append(("C", (x1, y1), (x2, y2), (x, y)))
        self.pen = (x, y)
        return self

    def Z(self):
        self.segs.append(("Z",))
        self.pen = self.start
        return self

    def poly(self, *points):
        """Start a new open polyline through the given points."""
        self.M(*points[0])
        for p in points[1:]:
            self.L(*p)
        return self

    def arc(self, cx, cy, rx, ry, a0, a1, join=True):
        """Elliptical arc from angle a0 to a1 (degrees, y down, 0 = +x).

        With join the arc is connected to the current point by a line,
        otherwise it starts a new sub-path."""
        start = (cx + rx * math.cos(math.radians(a0)), cy + ry * math.sin(math.radians(a0)))
        if self.pen is None or not join:
            self.M(*start)
        elif abs(self.pen[0] - start[0]) > 1e-6 or abs(self.pen[1] - start[1]) > 1e-6:
            self.L(*start)
        steps = max(1, int(math.ceil(abs(a1 - a0) / 90.0 - 1e-9)))
        delta = math.radians((a1 - a0) / steps)
        k = 4.0 / 3.0 * math.tan(delta / 4.0)
        t = math.radians(a0)
        for _ in range(steps):
            t2 = t + delta
            p0 = (math.cos(t), math.sin(t))
            p3 = (math.cos(t2), math.sin(t2))
            c1 = (p0[0] - k * p0[1], p0[1] + k * p0[0])
            c2 = (p3[0] + k * p3[1], p3[1] - k * p3[0])
            self.C(cx + rx * c1[0], cy + ry * c1[1], cx + rx * c2[0], cy + ry * c2[1],
                   cx + rx * p3[0], cy + ry * p3[1])
            t = t2
        return self

    def ellipse(self, cx, cy, rx, ry):
        self.arc(cx, cy, rx, ry, 0, 360, join=False)
        return self.Z()

    def circle(self, cx, cy, r):
        return self.ellipse(cx, cy, r, r)

    def extend(self, other):
        self.segs.extend(other.segs)
        self.pen, self.start = other.pen, other.start
        return self

    # using ----------------------------------------------------------------
    def transformed(self, m):
        out = Path()
        for seg in self.segs:
            if seg[0] == "Z":
                out.segs.append(seg)
            else:
                out.segs.append((seg[0],) + tuple(m(p) for p in seg[1:]))
        return out

    def points(self):
        for seg in self.segs:
            for p in seg[1:]:
                yield p

    def bbox(self):
        xs, ys = zip(*self.points())
        return (min(xs), min(ys), max(xs), max(ys))

    def d(self):
        parts = []
        for seg in self.segs:
            parts.append(seg[0] + " ".join("%s %s" % (num(x), num(y)) for x, y in seg[1:]))
        return "".join(parts).replace(" -", "-")


def p(*points):
    """Shorthand: an open polyline."""
    return Path().poly(*points)


class Item:
    """One element of a figure. `shape` keeps the geometry for clipping:
    ("stroke", path, width), ("fill", path) or ("circle", cx, cy, r)."""

    def __init__(self, tag, attrs, style, bbox, shape, color):
        self.tag, self.attrs, self.style, self.bbox = tag, attrs, style, bbox
        self.shape, self.color = shape, color


class Figure:
    """A drawing over `cells` side-by-side 64 x 64 cells."""

    # No background of its own: the chart paints the cell's colour under
    # the symbol, and a paper-white square would hide it.
    def __init__(self, cells=1, background=None):
        self.cells = cells
        self.width = CELL * cells
        self.background = background
        self.items = []

    # drawing --------------------------------------------------------------
    def stroke(self, path, color=INK, width=STROKE):
        bb = path.bbox()
        pad = width / 2.0
        self.items.append(Item("path", {"d": path.d()},
                               (("fill", "none"), ("stroke", color), ("stroke-width", num(width)),
                                ("stroke-linecap", "round"), ("stroke-linejoin", "round")),
                               (bb[0] - pad, bb[1] - pad, bb[2] + pad, bb[3] + pad),
                               ("stroke", path, width), color))
        return self

    def fill(self, path, color=INK):
        self.items.append(Item("path", {"d": path.d()}, (("fill", color),), path.bbox(), ("fill", path), color))
        return self

    def line(self, *points, **kw):
        return self.stroke(p(*points), **kw)

    def ring(self, cx, cy, r, color=INK, width=STROKE):
        pad = r + width / 2.0
        self.items.append(Item("circle", {"cx": num(cx), "cy": num(cy), "r": num(r)},
                               (("fill", "none"), ("stroke", color), ("stroke-width", num(width))),
                               (cx - pad, cy - pad, cx + pad, cy + pad),
                               ("stroke", Path().circle(cx, cy, r), width), color))
        return self

    def dot(self, cx, cy, r=DOT, color=INK):
        self.items.append(Item("circle", {"cx": num(cx), "cy": num(cy), "r": num(r)},
                               (("fill", color),), (cx - r, cy - r, cx + r, cy + r),
                               ("circle", cx, cy, r), color))
        return self

    def erase(self, path, width):
        """Paint paper along a path: clears a gap where one strand passes over another."""
        return self.stroke(path, color=PAPER, width=width)

    def erase_area(self, path):
        return self.fill(path, color=PAPER)

    # output ---------------------------------------------------------------
    def cell_svg(self, index):
        left = CELL * index
        body = []
        group_style, group = None, []

        def flush():
            if not group:
                return
            if len(group) == 1:
                body.append(group[0][0] + "".join(' %s="%s"' % kv for kv in group_style) + group[0][1])
            else:
                body.append("<g%s>" % "".join(' %s="%s"' % kv for kv in group_style)
                            + "".join(a + b for a, b in group) + "</g>")
            group.clear()

        for item in self.items:
            x0, y0, x1, y1 = item.bbox
            if x1 <= left or x0 >= left + CELL or y1 <= 0 or y0 >= CELL:
                continue  # wholly outside this cell
            if x0 < left or x1 > left + CELL or y0 < 0 or y1 > CELL:
                # Partly outside: QSvgRenderer does not clip to the view box,
                # so the part inside the cell is drawn as a clipped outline.
                item = clipped(item, left)
                if item is None:
                    continue
            if item.style != group_style:
                flush()
                group_style = item.style
            group.append(("<%s" % item.tag, "".join(' %s="%s"' % kv for kv in item.attrs.items()) + "/>"))
        flush()

        out = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">']
        if self.background:
            out.append('<rect width="64" height="64" fill="%s"/>' % self.background)
        if body:
            if index:
                out.append('<g transform="translate(-%d 0)">' % left)
            out.extend(body)
            if index:
                out.append("</g>")
        out.append("</svg>\n")
        return "".join(out)

    def cell_svgs(self):
        return [self.cell_svg(i) for i in range(self.cells)]

    def whole_svg(self, scale=1.0):
        """The entire figure as one SVG (for previews)."""
        parts = [self.cell_svg(i) for i in range(self.cells)]
        inner = []
        for i, svg in enumerate(parts):
            inner.append('<svg x="%d" y="0" width="64" height="64" viewBox="0 0 64 64">%s</svg>'
                         % (CELL * i, svg[svg.index(">") + 1:svg.rindex("</svg>")]))
        return ('<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" viewBox="0 0 %d 64">%s</svg>\n'
                % (num(self.width * scale), num(CELL * scale), self.width, "".join(inner)))


# Clipping ----------------------------------------------------------------------

def flatten(path, steps=16):
    """The path as a list of polylines (cubic curves sampled)."""
    lines, current = [], None
    for seg in path.segs:
        if seg[0] == "M":
            current = [seg[1]]
            lines.append(current)
        elif seg[0] == "L":
            current.append(seg[1])
        elif seg[0] == "C":
            p0 = current[-1]
            (x1, y1), (x2, y2), (x3, y3) = seg[1:]
            for i in range(1, steps + 1):
                t = i / float(steps)
                u = 1 - t
                current.append((u * u * u * p0[0] + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3,
                                u * u * u * p0[1] + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3))
        elif seg[0] == "Z":
            current.append(current[0])
    return lines


def disc(cx, cy, r, sides=24):
    return [(cx + r * math.cos(2 * math.pi * i / sides), cy + r * math.sin(2 * math.pi * i / sides))
            for i in range(sides)]


def area2(poly):
    return sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(poly, poly[1:] + poly[:1]))


def _turn(a, b, c):
    """Change of direction at b, in degrees."""
    a1 = math.atan2(b[1] - a[1], b[0] - a[0])
    a2 = math.atan2(c[1] - b[1], c[0] - b[0])
    d = abs(math.degrees(a2 - a1)) % 360
    return min(d, 360 - d)


def stroke_outline(path, width):
    """A round-capped, round-joined stroke as a list of convex polygons."""
    h = width / 2.0
    polys = []
    for line in flatten(path):
        for a, b in zip(line, line[1:]):
            dx, dy = b[0] - a[0], b[1] - a[1]
            length = math.hypot(dx, dy)
            if length < 1e-9:
                continue
            nx, ny = -dy / length * h, dx / length * h
            polys.append([(a[0] + nx, a[1] + ny), (b[0] + nx, b[1] + ny), (b[0] - nx, b[1] - ny),
                          (a[0] - nx, a[1] - ny)])
        for i, v in enumerate(line):
            if 0 < i < len(line) - 1 and _turn(line[i - 1], v, line[i + 1]) < 12:
                continue  # a smooth bend needs no round join
            polys.append(disc(v[0], v[1], h, 16))
    return polys


def clip_polygon(poly, x0, y0, x1, y1):
    """Sutherland-Hodgman clipping of a polygon to a rectangle."""
    def clip(points, inside, cut):
        out = []
        for i, cur in enumerate(points):
            prev = points[i - 1]
            if inside(cur):
                if not inside(prev):
                    out.append(cut(prev, cur))
                out.append(cur)
            elif inside(prev):
                out.append(cut(prev, cur))
        return out

    def at_x(x):
        return lambda a, b: (x, a[1] + (b[1] - a[1]) * (x - a[0]) / (b[0] - a[0]))

    def at_y(y):
        return lambda a, b: (a[0] + (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]), y)

    for inside, cut in ((lambda q: q[0] >= x0, at_x(x0)), (lambda q: q[0] <= x1, at_x(x1)),
                        (lambda q: q[1] >= y0, at_y(y0)), (lambda q: q[1] <= y1, at_y(y1))):
        poly = clip(poly, inside, cut)
        if not poly:
            return []
    return poly


def clipped(item, left):
    """The part of an item inside the cell that starts at x = left, as a filled path."""
    kind = item.shape[0]
    if kind == "stroke":
        polys = stroke_outline(item.shape[1], item.shape[2])
    elif kind == "fill":
        polys = [line[:-1] if line[0] == line[-1] else line for line in flatten(item.shape[1])]
    else:
        polys = [disc(*item.shape[1:])]
    d = []
    for poly in polys:
        if area2(poly) < 0:
            poly = list(reversed(poly))  # one winding direction, so overlaps stay filled
        poly = clip_polygon(poly, left, 0, left + CELL, CELL)
        if len(poly) >= 3 and abs(area2(poly)) > 1e-3:
            d.append("M" + "L".join("%s %s" % (num(x), num(y)) for x, y in poly) + "Z")
    if not d:
        return None
    path_d = "".join(d).replace(" -", "-")
    return Item("path", {"d": path_d}, (("fill", item.color),), (left, 0, left + CELL, CELL), None, item.color)
