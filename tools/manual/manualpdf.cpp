// Turns the Markdown user manual into a printable PDF: a title page with
// the contents, every chapter ("## " heading) on a new page, pictures
// scaled to fit the page, and the page number in each footer.
//
//     yarnwise_manual [--subtitle TEXT] MANUAL.md OUT.pdf
//
// Pictures are found relative to the folder of MANUAL.md. A missing
// picture is named on standard error and shown as a note in its place.

#include <QAbstractTextDocumentLayout>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextStream>
#include <QTextTable>

namespace {

// Text and layout sizes are in points; pictures are measured the way the
// text layout measures them, in pixels of 1/96 inch.
const char *const bodyFamily = "Liberation Sans";
const qreal bodyPointSize = 10.5;
const char *const codeFamily = "Liberation Mono";
const qreal codePointSize = 9.5;
const QColor codeBackground(242, 238, 244);
const QColor headingColor(86, 42, 96);
const qreal pictureDpi = 96.0;
// A4 with margins of 20 mm, 15 mm at the foot; the footer takes the
// bottom of the text area.
const QMarginsF pageMarginsMm(20, 20, 20, 15);
const qreal footerMm = 10.0;

struct Chapter
{
    QString title;
    int page = 0;
};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// The first "# " line is the manual's title; the rest is its body.
void splitTitle(const QString &markdown, QString *title, QString *body)
{
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(QLatin1String("# "))) {
            *title = lines.at(i).mid(2).trimmed();
            *body = lines.mid(i + 1).join(QLatin1Char('\n'));
            return;
        }
    }
    *body = markdown;
}

// Chapters start on a new page; every heading takes the manual's colour.
void styleHeadings(QTextDocument *doc)
{
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0)
            continue;
        QTextCursor cursor(block);
        QTextBlockFormat format;
        format.setTopMargin(level <= 2 ? 0 : 10);
        format.setBottomMargin(6);
        if (level <= 2 && block != doc->begin())
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(format);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(headingColor);
        cursor.mergeCharFormat(colour);
    }
}

bool isCodeBlock(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    return format.hasProperty(QTextFormat::BlockCodeFence) || format.hasProperty(QTextFormat::BlockCodeLanguage)
        || format.nonBreakableLines();
}

// Code and file names a little smaller than the text around them, code
// blocks on a light ground, and tables with thin single lines and some
// room in the cells (measured, like pictures, in pixels of 1/96 inch).
void styleCodeAndTables(QTextDocument *doc)
{
    QTextCharFormat code;
    code.setFontFamilies({QString::fromLatin1(codeFamily)});
    code.setFontFixedPitch(true);
    code.setFontPointSize(codePointSize);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (isCodeBlock(block)) {
            QTextCursor cursor(block);
            QTextBlockFormat ground;
            ground.setBackground(codeBackground);
            ground.setLeftMargin(12);
            cursor.mergeBlockFormat(ground);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(code);
            continue;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().fontFixedPitch())
                continue;
            QTextCursor cursor(doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(code);
        }
    }
    for (QTextFrame *frame : doc->rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(1);
        format.setBorderBrush(QColor(150, 150, 150));
        format.setCellPadding(4);
        format.setCellSpacing(0);
        table->setFormat(format);
    }
}

// The image fragments of the text, found before any is changed.
QList<QTextFragment> pictures(QTextDocument *doc)
{
    QList<QTextFragment> found;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                found.append(it.fragment());
        }
    }
    return found;
}

// Loads each picture from the manual's folder and sizes it to its own size
// or to the room it may take on the page, whichever is smaller. Returns the
// number missing.
int placePictures(QTextDocument *doc, const QDir &folder, const QSizeF &roomPx)
{
    int missing = 0;
    const QList<QTextFragment> found = pictures(doc);
    // From the end, so earlier positions stay valid as text is replaced.
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        QTextCursor cursor(doc);
        cursor.setPosition(it->position());
        cursor.setPosition(it->position() + it->length(), QTextCursor::KeepAnchor);
        QTextImageFormat format = it->charFormat().toImageFormat();
        const QString name = format.name();
        QImageReader reader(folder.filePath(name));
        const QImage image = reader.read();
        if (image.isNull()) {
            err() << "yarnwise_manual: cannot read the picture " << name << ": " << reader.errorString() << '\n';
            QTextCharFormat note;
            note.setFontItalic(true);
            cursor.insertText(QStringLiteral("[missing picture: %1]").arg(name), note);
            ++missing;
            continue;
        }
        doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
        const QSizeF size = QSizeF(image.size()).boundedTo(roomPx);
        const QSizeF scaled = QSizeF(image.size()).scaled(size, Qt::KeepAspectRatio);
        format.setWidth(scaled.width());
        format.setHeight(scaled.height());
        cursor.setCharFormat(format);
    }
    return missing;
}

// The top of a block's first line, where a page break may have moved it.
qreal firstLineTop(QTextDocument *doc, const QTextBlock &block)
{
    const qreal top = doc->documentLayout()->blockBoundingRect(block).top();
    const QTextLayout *layout = block.layout();
    return layout && layout->lineCount() > 0 ? top + layout->lineAt(0).y() : top;
}

// The first heading that stands at the foot of a page, away from the text
// it heads; null when there is none.
QTextBlock strandedHeading(QTextDocument *doc, qreal pageHeight)
{
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (block.blockFormat().headingLevel() == 0 || !next.isValid())
            continue;
        if (int(firstLineTop(doc, block) / pageHeight) != int(firstLineTop(doc, next) / pageHeight))
            return block;
    }
    return QTextBlock();
}

// Such headings go over to the next page with their text, one at a time:
// the text is laid out anew after each. The document must already be laid
// out in pages.
void keepHeadingsWithText(QTextDocument *doc, qreal pageHeight)
{
    QTextBlockFormat pageBreak;
    pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    for (int moved = 0; moved < doc->blockCount(); ++moved) {
        const QTextBlock heading = strandedHeading(doc, pageHeight);
        if (!heading.isValid())
            return;
        QTextCursor(heading).mergeBlockFormat(pageBreak);
        doc->markContentsDirty(0, doc->characterCount());
    }
}

QList<Chapter> chapters(QTextDocument *doc, qreal pageHeight)
{
    QList<Chapter> list;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2)
            continue;
        const qreal top = doc->documentLayout()->blockBoundingRect(block).top();
        list.append({block.text(), int(top / pageHeight)});
    }
    return list;
}

class ManualPrinter
{
public:
    ManualPrinter(QPdfWriter *writer, const QString &title)
        : m_writer(writer)
        , m_title(title)
    {
        const QRectF page = writer->pageLayout().paintRectPixels(writer->resolution());
        m_footer = footerMm / 25.4 * writer->resolution();
        m_width = page.width();
        m_height = page.height() - m_footer;
    }

    // The largest picture: the text width, and at most half the text height
    // so that a picture keeps some text around it.
    QSizeF pictureRoomPx() const
    {
        const qreal toPx = pictureDpi / m_writer->resolution();
        return QSizeF(m_width * toPx, m_height * toPx / 2);
    }

    // Lays the body out on pages of the writer's text area.
    void layOut(QTextDocument *body) const
    {
        body->documentLayout()->setPaintDevice(m_writer);
        body->setPageSize(QSizeF(m_width, m_height));
        keepHeadingsWithText(body, m_height);
    }

    bool print(QTextDocument *body, const QString &subtitle)
    {
        QPainter painter;
        if (!painter.begin(m_writer))
            return false;
        const int bodyPages = body->pageCount();
        QList<Chapter> contents = chapters(body, m_height);
        for (Chapter &chapter : contents)
            chapter.page += 2; // after the title page
        drawTitlePage(&painter, subtitle, contents);
        for (int page = 0; page < bodyPages; ++page) {
            m_writer->newPage();
            drawBodyPage(&painter, body, page);
            drawFooter(&painter, page + 2);
        }
        return painter.end();
    }

private:
    QFont font(qreal points, bool bold = false) const
    {
        QFont f(QString::fromLatin1(bodyFamily));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    void drawTitlePage(QPainter *painter, const QString &subtitle, const QList<Chapter> &contents) const
    {
        qreal y = m_height * 0.18;
        painter->setPen(headingColor);
        painter->setFont(font(30, true));
        const QRectF titleBox(0, y, m_width, m_height);
        painter->drawText(titleBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_title);
        y += painter->boundingRect(titleBox, Qt::AlignHCenter | Qt::TextWordWrap, m_title).height();
        painter->setPen(Qt::black);
        painter->setFont(font(13));
        if (!subtitle.isEmpty()) {
            y += painter->fontMetrics().height() * 0.5;
            painter->drawText(QRectF(0, y, m_width, m_height), Qt::AlignHCenter | Qt::AlignTop, subtitle);
            y += painter->fontMetrics().height();
        }

        y += m_height * 0.12;
        painter->setFont(font(14, true));
        painter->setPen(headingColor);
        painter->drawText(QRectF(0, y, m_width, m_height), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Contents"));
        y += painter->fontMetrics().height() * 1.6;
        painter->setPen(Qt::black);
        painter->setFont(font(12));
        const qreal line = painter->fontMetrics().height() * 1.5;
        for (const Chapter &chapter : contents) {
            const QRectF row(0, y, m_width, line);
            painter->drawText(row, Qt::AlignLeft | Qt::AlignTop, chapter.title);
            painter->drawText(row, Qt::AlignRight | Qt::AlignTop, QString::number(chapter.page));
            y += line;
        }
    }

    void drawBodyPage(QPainter *painter, QTextDocument *body, int page) const
    {
        const QRectF visible(0, page * m_height, m_width, m_height);
        painter->save();
        painter->translate(0, -visible.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        context.palette.setColor(QPalette::Text, Qt::black);
        painter->setClipRect(visible);
        body->documentLayout()->draw(painter, context);
        painter->restore();
    }

    void drawFooter(QPainter *painter, int number) const
    {
        painter->setFont(font(8.5));
        painter->setPen(QColor(90, 90, 90));
        const qreal rule = m_height + m_footer * 0.4;
        painter->drawLine(QLineF(0, rule, m_width, rule));
        const QRectF line(0, rule + m_footer * 0.1, m_width, painter->fontMetrics().height());
        painter->drawText(line, Qt::AlignLeft | Qt::AlignTop, m_title);
        painter->drawText(line, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Page %1").arg(number));
    }

    QPdfWriter *m_writer;
    QString m_title;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_footer = 0;
};

bool readText(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err() << "yarnwise_manual: cannot read " << path << ": " << file.errorString() << '\n';
        return false;
    }
    *text = QString::fromUtf8(file.readAll());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the Markdown user manual as a PDF."));
    parser.addHelpOption();
    const QCommandLineOption subtitleOption(QStringLiteral("subtitle"), QStringLiteral("Line under the title."),
                                            QStringLiteral("TEXT"));
    parser.addOption(subtitleOption);
    parser.addPositionalArgument(QStringLiteral("manual"), QStringLiteral("The Markdown manual."));
    parser.addPositionalArgument(QStringLiteral("pdf"), QStringLiteral("The PDF file to write."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2) {
        err() << "usage: yarnwise_manual [--subtitle TEXT] MANUAL.md OUT.pdf\n";
        return 2;
    }

    QString markdown;
    if (!readText(files.at(0), &markdown))
        return 1;
    QString title = QFileInfo(files.at(0)).completeBaseName();
    QString bodyText;
    splitTitle(markdown, &title, &bodyText);

    // The PDF replaces the old one only when it was written whole.
    QSaveFile file(files.at(1));
    if (!file.open(QIODevice::WriteOnly)) {
        err() << "yarnwise_manual: cannot write " << files.at(1) << ": " << file.errorString() << '\n';
        return 1;
    }
    QPdfWriter writer(&file);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("yarnwise_manual"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, pageMarginsMm,
                                     QPageLayout::Millimeter));
    ManualPrinter printer(&writer, title);

    QTextDocument body;
    QFont font(QString::fromLatin1(bodyFamily));
    font.setPointSizeF(bodyPointSize);
    body.setDefaultFont(font);
    body.setMarkdown(bodyText);
    styleHeadings(&body);
    styleCodeAndTables(&body);
    placePictures(&body, QFileInfo(files.at(0)).absoluteDir(), printer.pictureRoomPx());
    printer.layOut(&body);

    if (!printer.print(&body, parser.value(subtitleOption)) || !file.commit()) {
        err() << "yarnwise_manual: cannot write " << files.at(1) << ": " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
