"""The arithmetic of the built-in stitches: abbreviation -> (worked, made).

worked: the stitches the whole stitch works from the left needle; made: the
stitches it leaves on the right needle, following the table "Stitch
arithmetic" of the knitting conventions. A stitch over several cells counts
once (a 2/2 cable is 4 -> 4). Stitches not listed work 1 and make 1, and the
stitch set leaves that unsaid.
"""

from stitch_table import STITCHES

COUNTS = {
    'x': (0, 0),
    'bind': (1, 0),
    # Increases into one stitch.
    'inc3': (1, 3),
    'incr3': (1, 3),
    'inc5': (1, 5),
    'inc7': (1, 7),
    'm3': (1, 3),
    'm5': (1, 5),
    'm7': (1, 7),
    'kfb': (1, 2),
    'pfb': (1, 2),
    'cdi': (1, 3),
    # Increases between stitches. A yarn over wrapped several times is one
    # loop on the needle; the next row works into it.
    'rli': (0, 1),
    'lli': (0, 1),
    'yo': (0, 1),
    'yo2x': (0, 1),
    'yo3x': (0, 1),
    'yo4x': (0, 1),
    'yo5x': (0, 1),
    'yo6x': (0, 1),
    'yo7x': (0, 1),
    'yo8x': (0, 1),
    'm1': (0, 1),
    'm1p': (0, 1),
    'm1r': (0, 1),
    'm1l': (0, 1),
    # Decreases.
    'cdd': (3, 1),
    's2pp2': (3, 1),
    'ssk': (2, 1),
    'ssp': (2, 1),
    'sssk': (3, 1),
    'sssp': (3, 1),
    'sk2p': (3, 1),
    'sp2p': (3, 1),
    'k2tog': (2, 1),
    'k3tog': (3, 1),
    'k4tog': (4, 1),
    'k5tog': (5, 1),
    'k6tog': (6, 1),
    'k7tog': (7, 1),
    'p2tog': (2, 1),
    'p3tog': (3, 1),
    'p4tog': (4, 1),
    'p5tog': (5, 1),
    'p6tog': (6, 1),
    'p7tog': (7, 1),
    'k2tog tbl': (2, 1),
    'k3tog tbl': (3, 1),
    'p2tog tbl': (2, 1),
    'p3tog tbl': (3, 1),
    'sl1 kwise k1 psso': (2, 1),
    'sl1 pwise p1 psso': (2, 1),
    'skp': (2, 1),
    'spp': (2, 1),
    'sl1 k3tog psso': (4, 1),
    'sl2 k3tog p2sso': (5, 1),
    'dec4r': (4, 1),
    'dec4l': (4, 1),
    'dec4v': (4, 1),
    'dec5': (5, 1),
}


def counts(abbreviation, category, cells):
    """(worked, made) of a built-in stitch. Cables, twists and wraps over n
    cells work n stitches and make n."""
    if abbreviation in COUNTS:
        return COUNTS[abbreviation]
    if category == 'Cables':
        return (cells, cells)
    return (1, 1)


def _check():
    known = {row[0] for row in STITCHES}
    unknown = set(COUNTS) - known
    assert not unknown, "counts for stitches that are not in the table: %s" % sorted(unknown)


_check()
