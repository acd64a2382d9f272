#include "writtenrow.h"

#include "stitch.h"

#include <algorithm>

namespace {

// Repeats longer than this many stitches are not looked for: no pattern
// writes one, and the search stays linear in the row.
constexpr int longestPeriod = 100;

bool isNoStitch(const QString &text)
{
    return text == QLatin1String("x");
}

} // namespace

WrittenRow::WrittenRow(const QList<Stitch *> &cells, bool wrongSide)
{
    m_cells.reserve(cells.size());
    for (const Stitch *stitch : cells)
        m_cells.append(stitch);
    if (!wrongSide)
        std::reverse(m_cells.begin(), m_cells.end());

    int runStart = 0;
    while (runStart < m_cells.size()) {
        const Stitch *stitch = m_cells.at(runStart);
        if (!stitch) {
            ++runStart;
            continue;
        }
        const QString text = stitch->writtenAs(wrongSide);
        int runEnd = runStart + 1;
        while (runEnd < m_cells.size() && m_cells.at(runEnd) && m_cells.at(runEnd)->writtenAs(wrongSide) == text)
            ++runEnd;
        if (!isNoStitch(text)) {
            const int width = qMax(1, stitch->cellsPerStitch());
            for (int cell = runStart; cell < runEnd; cell += width)
                m_stitches.append(WrittenStitch{stitch, text, cell, qMin(width, runEnd - cell)});
        }
        runStart = runEnd;
    }
}

bool WrittenRow::sameCells(int a, int b, int width) const
{
    for (int i = 0; i < width; ++i) {
        if (m_cells.at(a + i) != m_cells.at(b + i))
            return false;
    }
    return true;
}

int WrittenRow::stitchAt(int cell) const
{
    const auto after = std::lower_bound(m_stitches.cbegin(), m_stitches.cend(), cell,
                                        [](const WrittenStitch &stitch, int at) { return stitch.firstCell < at; });
    const int index = int(after - m_stitches.cbegin());
    if (index > 0) {
        const WrittenStitch &before = m_stitches.at(index - 1);
        if (before.firstCell + before.cells > cell)
            return -1;
    }
    return index;
}

RowRepeat WrittenRow::repeatOfBox(int first, int width) const
{
    const int cells = this->width();
    if (width <= 0 || first < 0 || first + width > cells)
        return RowRepeat();
    int start = first;
    int end = first + width;
    while (end + width <= cells && sameCells(first, end, width))
        end += width;
    while (start - width >= 0 && sameCells(first, start - width, width))
        start -= width;

    // Every copy must hold the same whole stitches.
    RowRepeat repeat;
    repeat.copies = (end - start) / width;
    repeat.first = stitchAt(start);
    repeat.length = -1;
    int previous = repeat.first;
    for (int copy = 1; copy <= repeat.copies && previous >= 0; ++copy) {
        const int next = stitchAt(start + copy * width);
        if (next < 0 || (repeat.length >= 0 && next - previous != repeat.length))
            return RowRepeat();
        repeat.length = next - previous;
        previous = next;
    }
    return previous >= 0 && repeat.length > 0 ? repeat : RowRepeat();
}

RowRepeat WrittenRow::longestRepeat() const
{
    const int count = int(m_stitches.size());
    const auto same = [this](int a, int b) {
        const WrittenStitch &one = m_stitches.at(a);
        const WrittenStitch &other = m_stitches.at(b);
        return one.cells == other.cells && one.text == other.text;
    };
    const auto varied = [this](int first, int length) {
        for (int i = first + 1; i < first + length; ++i) {
            if (m_stitches.at(i).text != m_stitches.at(first).text)
                return true;
        }
        return false;
    };

    // Where a repeat may start or end without cutting a run of one stitch
    // in two: "K1, *p2, k2; rep from * to end" rather than "*K1, p2, k1;
    // rep from * to last st, k1".
    const auto clean = [this, count](int at) {
        return at == 0 || at == count || m_stitches.at(at - 1).text != m_stitches.at(at).text;
    };

    RowRepeat best;
    int bestCover = 0;
    const auto consider = [&](int first, int matched, int period) {
        const int copies = (matched + period) / period;
        const int cover = copies * period;
        if (copies < 2 || 2 * cover < count || cover <= bestCover || !varied(first, period))
            return;
        int shift = 0;
        for (int slack = 0; slack <= matched + period - cover; ++slack) {
            if (clean(first + slack) && clean(first + slack + cover)) {
                shift = slack;
                break;
            }
        }
        best = RowRepeat{first + shift, period, copies};
        bestCover = cover;
    };
    // A stretch where every stitch equals the one a period further on is
    // that period repeated.
    for (int period = 2; period <= qMin(count / 2, longestPeriod); ++period) {
        int matched = 0;
        for (int i = 0; i + period < count; ++i) {
            if (same(i, i + period)) {
                ++matched;
                continue;
            }
            consider(i - matched, matched, period);
            matched = 0;
        }
        consider(count - period - matched, matched, period);
    }
    return best;
}
