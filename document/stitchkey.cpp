#include "stitchkey.h"

#include "chartpicture.h"
#include "stitch.h"
#include "stitchset.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QSvgRenderer>
#include <QPicture>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

#include <algorithm>

namespace {

const QColor noStitchGray(76, 76, 76);

QString tr(const char *text)
{
    return QCoreApplication::translate("Document", text);
}

// One side's line of a key, such as "RS: knit.": the description ends in
// a full stop unless it already ends a sentence.
QString sideLine(const char *side, const QString &description)
{
    QString text = description.trimmed();
    if (!text.isEmpty() && !QStringLiteral(".!?").contains(text.back()))
        text += QLatin1Char('.');
    return tr(side).arg(text).trimmed();
}

} // namespace

StitchKey::StitchKey(const QList<Stitch *> &stitches, bool showWrongSide, bool grayNoStitch,
                     const QColor &repeatColor, const QList<ColourNames::Named> &colours)
    : m_showWrongSide(showWrongSide)
    , m_grayNoStitch(grayNoStitch)
    , m_repeatColor(repeatColor)
    , m_colours(colours)
{
    for (const Stitch *stitch : stitches) {
        if (stitch)
            m_ids.append(stitch->stitchID());
    }
    std::sort(m_ids.begin(), m_ids.end());
}

int StitchKey::columns() const
{
    return entryCount() <= 8 ? 1 : 2;
}

int StitchKey::perColumn() const
{
    return columns() == 1 ? entryCount() : (entryCount() + 1) / 2;
}

QString StitchKey::description(const Stitch *stitch) const
{
    const StitchSet *set = StitchSet::instance();
    QString text = sideLine(QT_TRANSLATE_NOOP("Document", "RS: %1"), set->workedAs(stitch, false));
    if (m_showWrongSide)
        text += QLatin1Char('\n') + sideLine(QT_TRANSLATE_NOOP("Document", "WS: %1"), set->workedAs(stitch, true));
    return text;
}

QList<StitchKey::Entry> StitchKey::entries(const QFontMetrics &metrics) const
{
    QList<Entry> list;
    for (const QString &id : m_ids) {
        Stitch *stitch = StitchSet::instance()->findStitch(id);
        list.append({stitch, id, textLines(description(stitch), wrapWidth, metrics), QColor(), QColor()});
    }
    for (const ColourNames::Named &colour : m_colours)
        list.append({nullptr, colour.name, QStringList(), QColor(), colour.colour});
    if (m_repeatColor.isValid()) {
        const QString text = tr("Work the stitches and rows inside the box as many times as the pattern says.");
        list.append({nullptr, QString(), textLines(text, wrapWidth, metrics), m_repeatColor, QColor()});
    }
    return list;
}

// From the entry's top to the next entry's top: three lines of name,
// abbreviation and gap, the description lines, and 5 pixels. A colour has
// one line beside its swatch.
int StitchKey::entryHeight(const Entry &entry, int lineHeight) const
{
    if (entry.swatch.isValid())
        return margin + qMax(cellSide, lineHeight) + margin;
    const int lines = qMax(1, int(entry.lines.size()));
    return margin + 3 * lineHeight + 5 + (lines - 1) * lineHeight + 5;
}

QSize StitchKey::size(const QFontMetrics &metrics) const
{
    if (m_ids.isEmpty())
        return QSize();
    const int lineHeight = metrics.height();
    const QList<Entry> list = entries(metrics);
    int bottom = headerBottom(lineHeight);
    for (int column = 0; column < columns(); ++column) {
        int y = headerBottom(lineHeight);
        for (int i = column * perColumn(); i < qMin(int(list.size()), (column + 1) * perColumn()); ++i)
            y += entryHeight(list.at(i), lineHeight);
        bottom = qMax(bottom, y);
    }
    return QSize(columns() * columnWidth, bottom + rule);
}

QRect StitchKey::paint(QPainter *painter) const
{
    if (m_ids.isEmpty())
        return QRect();
    const QFontMetrics metrics = painter->fontMetrics();
    const int lineHeight = metrics.height();
    const int width = columns() * columnWidth;
    // The canvas grows with the key, so that every stitch in use shows.
    const QSize covered = size(metrics);
    const QList<Entry> list = entries(metrics);

    painter->save();
    painter->fillRect(QRect(0, 0, width, covered.height()), Qt::white);
    painter->fillRect(QRect(0, 0, width, rule), Qt::black);
    const QFont bodyFont = painter->font();
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setBold(true);
    // A body font sized in pixels (when printing) takes a title in pixels.
    if (bodyFont.pixelSize() > 0)
        titleFont.setPixelSize(qRound(14 * 96.0 / 72.0));
    else
        titleFont.setPointSize(14);
    painter->setFont(titleFont);
    painter->drawText(margin, lineHeight + 12, tr("Key"));
    painter->setFont(bodyFont);

    const int top = headerBottom(lineHeight);
    int bottom = top;
    for (int column = 0; column < columns(); ++column) {
        const int x0 = columnWidth * column;
        int y = top;
        for (int i = column * perColumn(); i < qMin(int(list.size()), (column + 1) * perColumn()); ++i) {
            paintEntry(painter, list.at(i), x0, y, lineHeight);
            y += entryHeight(list.at(i), lineHeight);
        }
        bottom = qMax(bottom, y);
    }

    painter->fillRect(QRect(0, 0, rule, bottom), Qt::black);
    painter->fillRect(QRect(width - rule, 0, rule, bottom), Qt::black);
    for (int column = 1; column < columns(); ++column)
        painter->fillRect(QRect(columnWidth * column, top, rule, bottom - top), Qt::black);
    painter->fillRect(QRect(0, bottom, width, rule), Qt::black);
    painter->restore();
    return QRect(0, 0, width, bottom + rule);
}

void StitchKey::paintEntry(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight) const
{
    painter->fillRect(QRect(x0, y, columnWidth, rule), Qt::black);
    if (entry.outline.isValid()) {
        paintRepeatEntry(painter, entry, x0, y, lineHeight);
        return;
    }
    if (entry.swatch.isValid()) {
        paintColourEntry(painter, entry, x0, y);
        return;
    }
    Stitch *stitch = entry.stitch;
    const bool noStitch = entry.id == QLatin1String("x");
    const int images = stitch ? qMax(1, int(stitch->paths().size())) : 1;
    // A PDF, a print or an SVG file gets the symbols as drawn, sharp at
    // any size; a picture gets them as the screen shows them.
    const bool vector = painter->paintEngine() && painter->paintEngine()->type() != QPaintEngine::Raster;
    for (int i = 0; i < images; ++i) {
        const QRect cell(x0 + margin + cellSide * i, y + margin, cellSide, cellSide);
        if (noStitch && m_grayNoStitch)
            painter->fillRect(cell, noStitchGray);
        if (stitch && !(noStitch && !m_grayNoStitch)) {
            QSvgRenderer *artwork =
                vector && stitch->path(i).endsWith(QLatin1String(".svg")) ? stitch->svg(i) : nullptr;
            if (artwork && artwork->isValid())
                artwork->render(painter, QRectF(cell));
            else if (const QPixmap *image = stitch->image(cellSide, cellSide, i))
                painter->drawPixmap(cell.topLeft(), *image);
        }
        painter->drawRect(cell);
    }

    const int textX = x0 + margin + cellSide * images + 5;
    painter->drawText(textX, y + margin + lineHeight, stitch ? stitch->name() : entry.id);
    painter->drawText(textX, y + margin + 2 * lineHeight, entry.id);
    paintDescription(painter, entry, x0, y, lineHeight);
}

// The entry's description, below its symbol.
void StitchKey::paintDescription(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight)
{
    int lineY = y + margin + 3 * lineHeight + 5;
    for (const QString &line : entry.lines) {
        painter->drawText(x0 + margin, lineY, line);
        lineY += lineHeight;
    }
}

// The repeat box: a cell outlined as the charts outline their boxes.
void StitchKey::paintRepeatEntry(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight) const
{
    const QRect cell(x0 + margin, y + margin, cellSide, cellSide);
    painter->save();
    painter->setPen(QPen(entry.outline, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(cell.adjusted(1, 1, -1, -1));
    painter->restore();
    const int textX = x0 + margin + cellSide + 5;
    painter->drawText(textX, y + margin + lineHeight, tr("pattern repeat"));
    paintDescription(painter, entry, x0, y, lineHeight);
}

// A yarn colour: a framed swatch in the symbol's place, its name beside it.
void StitchKey::paintColourEntry(QPainter *painter, const Entry &entry, int x0, int y)
{
    const QRect cell(x0 + margin, y + margin, cellSide, cellSide);
    painter->fillRect(cell, entry.swatch);
    painter->drawRect(cell);
    const QFontMetrics metrics = painter->fontMetrics();
    const int textX = x0 + margin + cellSide + 5;
    const int baseline = cell.top() + (cellSide + metrics.ascent() - metrics.descent()) / 2;
    const int room = columnWidth - (textX - x0) - margin;
    painter->drawText(textX, baseline, metrics.elidedText(entry.id, Qt::ElideRight, room));
}

QStringList StitchKey::textLines(const QString &source, int width, const QFontMetrics &metrics)
{
    QStringList lines;
    QString text = source;
    while (!text.isEmpty()) {
        int breakAt = int(text.indexOf(QLatin1Char('\n')));
        if (breakAt < 0)
            breakAt = int(text.size());
        int end = breakAt;
        if (metrics.horizontalAdvance(text.left(breakAt)) > width) {
            int lastSpace = -1;
            end = -1;
            for (int i = 1; i <= breakAt; ++i) {
                if (text.at(i - 1) == QLatin1Char(' '))
                    lastSpace = i - 1;
                if (metrics.horizontalAdvance(text.left(i)) > width) {
                    end = lastSpace >= 0 ? lastSpace : i - 1;
                    break;
                }
            }
            if (end < 0)
                end = breakAt;
        }
        const QString line = text.left(end);
        if (line.isEmpty() && end < text.size() && text.at(end) != QLatin1Char('\n')
            && text.at(end) != QLatin1Char(' ')) {
            qWarning("Document::textLines: text area width is too small");
            break;
        }
        lines.append(line);
        text.remove(0, end);
        if (!text.isEmpty() && (text.at(0) == QLatin1Char(' ') || text.at(0) == QLatin1Char('\n')))
            text.remove(0, 1);
    }
    return lines;
}

QImage StitchKey::image() const
{
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QSize covered;
    {
        QPainter measure(&scratch);
        covered = size(measure.fontMetrics());
    }
    if (covered.isEmpty())
        return QImage();
    QImage picture(covered, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QRect drawn = paint(&painter);
    painter.end();
    return picture.copy(drawn);
}

bool StitchKey::writeSvg(const QString &fileName) const
{
    QPicture recording;
    QPainter recorder(&recording);
    const QRect covered = paint(&recorder);
    recorder.end();
    if (covered.isEmpty())
        return false;

    QSvgGenerator file;
    file.setFileName(fileName);
    file.setTitle(QCoreApplication::translate("Document", "Document Key"));
    file.setDescription(QCoreApplication::translate("Document", "SVG image generated by Yarnwise"));
    file.setSize(covered.size());
    file.setViewBox(covered);
    file.setResolution(96);
    QPainter painter;
    if (!painter.begin(&file))
        return false;
    painter.drawPicture(0, 0, recording);
    painter.end();
    return QFileInfo::exists(fileName);
}

bool StitchKey::save(QString fileName, int resolution) const
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return writeSvg(fileName);
    if (suffix.isEmpty())
        fileName += QStringLiteral(".jpg");
    const QImage key = resolution == 96 ? image() : image(resolution);
    const bool jpeg = suffix.isEmpty() || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    return !key.isNull() && key.save(fileName, nullptr, jpeg ? 100 : -1);
}

QFont StitchKey::printFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(qRound(font.pointSizeF() * 96.0 / 72.0));
    return font;
}

QSize StitchKey::printedSize(const QFont &font) const
{
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QPainter measure(&scratch);
    measure.setFont(font);
    return size(measure.fontMetrics());
}

void StitchKey::print(QPainter *painter, QPrinter *printer) const
{
    const qreal screenDpi = 96.0;
    const QFont font = printFont();
    painter->setFont(font);
    const QSize covered = printedSize(font);
    if (covered.isEmpty())
        return;

    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const qreal scale = qMin(printer->logicalDpiX() / screenDpi, page.width() / covered.width());
    const qreal sliceHeight = page.height() / scale;
    const int pages = qMax(1, int(std::ceil(covered.height() / sliceHeight)));
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        painter->save();
        painter->scale(scale, scale);
        painter->setClipRect(QRectF(0, 0, covered.width(), sliceHeight));
        painter->translate(0, -i * sliceHeight);
        paint(painter);
        painter->restore();
    }
}

QImage StitchKey::image(int resolution) const
{
    const QSize covered = printedSize(printFont());
    if (covered.isEmpty())
        return QImage();
    // Within what a picture can hold, whatever resolution is asked: no
    // side longer than a chart picture's.
    resolution = qBound(ChartPicture::lowestDpi, resolution, ChartPicture::highestDpi);
    const qreal scale =
        qMin(resolution / 96.0, qreal(ChartPicture::largestSide) / qMax(covered.width(), covered.height()));
    QImage picture((QSizeF(covered) * scale).toSize(), QImage::Format_ARGB32);
    if (picture.isNull())
        return picture;
    const int dotsPerMeter = qRound(resolution / 0.0254);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(&painter, QRectF(picture.rect()));
    return picture;
}

void StitchKey::paint(QPainter *painter, const QRectF &target) const
{
    const QFont font = printFont();
    const QSize covered = printedSize(font);
    if (covered.isEmpty() || target.isEmpty())
        return;
    const qreal scale = qMin(target.width() / covered.width(), target.height() / covered.height());
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(scale, scale);
    painter->setFont(font);
    paint(painter);
    painter->restore();
}
