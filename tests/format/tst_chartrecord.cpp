#include "chartfixtures.h"
#include "chartpicture.h"
#include "chartrecord.h"
#include "fileversions.h"
#include "recordbytes.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDataStream>
#include <QtTest>

#include <climits>

// The chart record of pattern files: written byte for byte as the format
// has it, read back whole, and read with care when damaged.
class TestChartRecord : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void sceneBytes();
    void writerMatchesTheStream_data();
    void writerMatchesTheStream();
    void chartRoundTrip_data();
    void chartRoundTrip();
    void aliasAndUnknownStitch();
    void damagedScenes_data();
    void damagedScenes();
    void givingUpFails();
    void tolerantHeader_data();
    void tolerantHeader();
    void damagedHeaders_data();
    void damagedHeaders();
    void repeatsWithinTheGrid_data();
    void repeatsWithinTheGrid();
    void numberStartsInRange_data();
    void numberStartsInRange();
    void unknownWrittenChoices();
};

static QByteArray sceneOf(const ChartGrid &grid)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    ChartRecord::writeScene(out, grid);
    return bytes;
}

// The scene record as the format spells it out, value by value.
static QByteArray sceneByTheStream(const ChartGrid &grid)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    const QSize cell = grid.options().cellSize;
    out << QString("<KnitScene>") << QString("CellDim:") << qint32(cell.width()) << qint32(cell.height())
        << QString("<Cells>");
    for (int y = 0; y < grid.rowCount(); ++y) {
        for (int x = 0; x < grid.columnCount(); ++x) {
            const ChartCell c = grid.cell(x, y);
            out << QString("<Cell>") << QString("X,Y:") << qint32(x) << qint32(y) << QString("Abbriv:")
                << c.stitch->stitchID() << QString("ImgPos:") << qint32(c.imgPos) << QString("Color:") << c.color
                << QString("Borders:");
            for (bool on : c.borders)
                out << on;
            out << QString("BorderColors:");
            for (const QColor &color : c.borderColors)
                out << color;
            out << QString("</Cell>");
        }
    }
    out << QString("</Cells>") << QString("</KnitScene>");
    return bytes;
}

// Reads a scene record (after its opening tag) of a width x height chart.
static std::unique_ptr<ChartGrid> readScene(const QByteArray &bytes, int width, int height, bool *ok,
                                            const ChartRecord::Progress &progress = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    preparePatternStream(in);
    QString token;
    in >> token;
    std::unique_ptr<ChartGrid> grid;
    *ok = ChartRecord::readScene(in, width, height, QSize(24, 22), grid, progress);
    return grid;
}

static QByteArray chartOf(const ChartGrid &grid, const QString &title = QString(),
                          const QByteArray &hash = QByteArray(), const QSizeF &imageSize = QSizeF(-1, -1))
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    out << QStringLiteral("<Chart>");
    ChartRecord::write(out, grid, title, hash, imageSize);
    return bytes;
}

static bool readChart(const QByteArray &bytes, ChartValues &values)
{
    QDataStream in(bytes);
    preparePatternStream(in);
    QString tag;
    in >> tag;
    return ChartRecord::read(in, values, QSize(24, 22));
}

void TestChartRecord::sceneBytes()
{
    ChartGrid grid(2, 1, stitchById("k"));
    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out << QString("<KnitScene>") << QString("CellDim:") << qint32(24) << qint32(22) << QString("<Cells>");
    for (int x = 0; x < 2; ++x) {
        out << QString("<Cell>") << QString("X,Y:") << qint32(x) << qint32(0) << QString("Abbriv:") << QString("k")
            << QString("ImgPos:") << qint32(0) << QString("Color:") << QColor(Qt::white) << QString("Borders:")
            << false << false << false << false << QString("BorderColors:");
        for (int i = 0; i < 4; ++i)
            out << QColor(Qt::transparent);
        out << QString("</Cell>");
    }
    out << QString("</Cells>") << QString("</KnitScene>");
    QCOMPARE(sceneOf(grid), expected);
}

void TestChartRecord::writerMatchesTheStream_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 8; ++seed)
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

// Random charts with colours of every kind: written in one buffer exactly
// as value by value, and read back to the same chart.
void TestChartRecord::writerMatchesTheStream()
{
    QFETCH(unsigned, seed);
    const std::unique_ptr<ChartGrid> grid = randomGrid(7, 5, seed);
    grid->setColor(1, 1, QColor::fromCmyk(10, 20, 30, 40));
    grid->setColor(2, 1, QColor::fromHsl(300, 20, 30));
    grid->setColor(3, 1, QColor());
    grid->setBorder(4, 1, ChartCell::Left, false, QColor::fromRgbF(0.1f, 0.2f, 0.3f).toExtendedRgb());
    const QByteArray bytes = sceneOf(*grid);
    QCOMPARE(bytes, sceneByTheStream(*grid));

    bool ok = false;
    const std::unique_ptr<ChartGrid> copy = readScene(bytes, 7, 5, &ok);
    QVERIFY(ok);
    // The scene record holds the cell size; the other options are the
    // chart header's.
    QCOMPARE(copy->options().cellSize, grid->options().cellSize);
    copy->setOptions(grid->options());
    QCOMPARE(snapshot(*copy), snapshot(*grid));
    QCOMPARE(sceneOf(*copy), bytes);
}

// A picture asked for in parts of an inch keeps its size, which takes the
// newest version; one in whole inches keeps the bytes older programs read.
void TestChartRecord::chartRoundTrip_data()
{
    QTest::addColumn<QSizeF>("pictureSize");
    QTest::addColumn<qint32>("version");
    QTest::newRow("whole inches") << QSizeF(60, 80) << PatternVersion::plain;
    QTest::newRow("parts of an inch") << QSizeF(4.5, 3.25) << PatternVersion::check;
    QTest::newRow("no picture") << QSizeF(-1, -1) << PatternVersion::plain;
}

void TestChartRecord::chartRoundTrip()
{
    QFETCH(QSizeF, pictureSize);
    QFETCH(qint32, version);
    QCOMPARE(ChartRecord::versionFor(ChartGrid(2, 2, stitchById("k")), pictureSize), version);
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    const ChartOptions options = unusualOptions();
    grid->setOptions(options);
    const QByteArray bytes = chartOf(*grid, QStringLiteral("Yoke"), "abc", pictureSize);

    ChartValues values;
    QVERIFY(readChart(bytes, values));
    QCOMPARE(values.title, QStringLiteral("Yoke"));
    QCOMPARE(values.hash, QByteArray("abc"));
    QCOMPARE(values.imageSize, pictureSize);
    QCOMPARE(snapshot(*values.grid), snapshot(*grid));
    QCOMPARE(chartOf(*values.grid, values.title, values.hash, values.imageSize), bytes);
}

void TestChartRecord::aliasAndUnknownStitch()
{
    ChartGrid grid(2, 1, stitchById("k"));
    grid.setStitch(0, 0, stitchById("yo"), 0);
    grid.setStitch(1, 0, stitchById("p"), 0);
    QByteArray bytes = sceneOf(grid);
    // Older files spell the tag "Abriv:"; and an unknown stitch reads as knit.
    const QByteArray abbriv = QByteArray::fromHex("0000000e004100620062007200690076003a");
    const QByteArray p = QByteArray::fromHex("000000020070");
    QVERIFY(bytes.contains(abbriv));
    bytes.replace(abbriv, QByteArray::fromHex("0000000c00410062007200690076003a"));
    bytes.replace(p, QByteArray::fromHex("00000002007a"));
    bool ok = false;
    const std::unique_ptr<ChartGrid> copy = readScene(bytes, 2, 1, &ok);
    QVERIFY(ok);
    QCOMPARE(rowIds(*copy, 0), QStringLiteral("yo k"));
}

void TestChartRecord::damagedScenes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    const QByteArray good = sceneOf(ChartGrid(2, 2, stitchById("k")));
    QTest::newRow("claims a huge grid") << good << 100000 << 100000;
    QTest::newRow("more cells than written") << good << 2 << 3;

    QByteArray outside = good;
    const QByteArray xy = QByteArray::fromHex("000000080058002c0059003a");
    const int at = outside.lastIndexOf(xy);
    outside.replace(at + xy.size(), 8, QByteArray::fromHex("0000000900000000"));
    QTest::newRow("position outside") << outside << 2 << 2;

    QByteArray repeated = good;
    const int second = repeated.indexOf(xy, repeated.indexOf(xy) + 1);
    repeated.replace(second + xy.size(), 8, QByteArray::fromHex("0000000000000000"));
    QTest::newRow("position left empty") << repeated << 2 << 2;

    QByteArray hugeString = good;
    hugeString.replace(4 + 22, 4, QByteArray::fromHex("7ffffff0"));
    QTest::newRow("absurd string length") << hugeString << 2 << 2;

    // A colour whose kind is no kind Qt knows.
    QByteArray badColour = good;
    const QByteArray colourTag = QByteArray::fromHex("0000000c0043006f006c006f0072003a");
    const int colour = badColour.indexOf(colourTag) + colourTag.size();
    badColour[colour] = char(0x63);
    QTest::newRow("unknown colour kind") << badColour << 2 << 2;
}

void TestChartRecord::damagedScenes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    bool ok = true;
    const std::unique_ptr<ChartGrid> grid = readScene(bytes, width, height, &ok);
    QVERIFY(!ok);
    // Whatever was read, every place of the grid holds a real stitch.
    QVERIFY(grid->rowCount() == 0 || (grid->rowCount() == height && grid->columnCount() == width));
    for (int y = 0; y < grid->rowCount(); ++y) {
        for (int x = 0; x < grid->columnCount(); ++x)
            QVERIFY(grid->stitch(x, y));
    }
}

void TestChartRecord::givingUpFails()
{
    ChartGrid grid(5, 4, stitchById("k"));
    for (int x = 0; x < 5; ++x)
        grid.setStitch(x, 3, stitchById("p"), 0);
    const QByteArray bytes = sceneOf(grid);

    bool ok = true;
    const std::unique_ptr<ChartGrid> abandoned = readScene(bytes, 5, 4, &ok, [](qint64, qint64) { return false; });
    QVERIFY(!ok);
    QCOMPARE(abandoned->rowCount(), 4);
    QVERIFY(abandoned->stitch(4, 3));

    QList<qint64> told;
    const std::unique_ptr<ChartGrid> whole = readScene(bytes, 5, 4, &ok, [&](qint64 done, qint64 total) {
        told << done << total;
        return true;
    });
    QVERIFY(ok);
    QCOMPARE(rowIds(*whole, 3), QStringLiteral("p p p p p"));
    QCOMPARE(told, (QList<qint64>{0, 20, 5, 20, 10, 20, 15, 20}));
}

// A header written by hand: `tags` lists the header tags to write, in order.
static QByteArray handWritten(const QStringList &tags, int width = 2, int height = 2, QPoint numberStarts = {})
{
    const QByteArray scene = sceneOf(ChartGrid(width, height, stitchById("k")));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    out << QStringLiteral("<Chart>");
    for (const QString &tag : tags) {
        out << tag;
        if (tag == QLatin1String("Name:"))
            out << QStringLiteral("Sleeve");
        else if (tag == QLatin1String("Width:"))
            out << qint32(width);
        else if (tag == QLatin1String("Height:"))
            out << qint32(height);
        else if (tag == QLatin1String("KnitStyle:"))
            out << qint32(1);
        else if (tag == QLatin1String("Hash:"))
            out << QByteArray("h");
        else if (tag == QLatin1String("ImgSize:"))
            out << QSize(3, 4);
        else if (tag == QLatin1String("NumberStarts:"))
            out << qint32(numberStarts.x()) << qint32(numberStarts.y());
        else if (tag == QLatin1String("Repeats:"))
            out << qint32(0);
        else if (tag == QLatin1String("Shaping:")) // one row past the chart, one twice
            out << qint32(3) << qint32(5) << qint32(1) << qint32(1);
        else if (tag == QLatin1String("Written:")) // a style and a count no program wrote
            out << qint32(7) << qint32(1) << qint32(-3) << true;
        else if (tag == QLatin1String("ImgSizeF:")) // far wider than a picture may be
            out << QSizeF(8.8e9, 2.5);
        else if (tag == QLatin1String("ImgCells:")) // reaching past the chart's two columns, as far as may be
            out << qint32(1) << qint32(0) << qint32(0x7fffffff) << qint32(1);
    }
    out.writeRawData(scene.constData(), int(scene.size()));
    out << QStringLiteral("</Chart>");
    return bytes;
}

void TestChartRecord::tolerantHeader_data()
{
    QTest::addColumn<QStringList>("tags");
    QTest::newRow("reordered") << QStringList{"KnitStyle:", "Height:", "ImgSize:", "Name:", "Hash:", "Width:"};
    QTest::newRow("no hash or image size") << QStringList{"Width:", "Name:", "Height:", "KnitStyle:"};
    QTest::newRow("shaping rows past the chart")
        << QStringList{"Shaping:", "Width:", "Name:", "Height:", "KnitStyle:"};
    QTest::newRow("picture of cells past the chart")
        << QStringList{"ImgCells:", "Width:", "Name:", "Height:", "KnitStyle:"};
    QTest::newRow("picture wider than may be")
        << QStringList{"ImgSize:", "Width:", "ImgSizeF:", "Name:", "Height:", "KnitStyle:"};
}

void TestChartRecord::tolerantHeader()
{
    QFETCH(QStringList, tags);
    ChartValues values;
    QVERIFY(readChart(handWritten(tags), values));
    QCOMPARE(values.title, QStringLiteral("Sleeve"));
    QCOMPARE(values.grid->options().knitStyle, KnitStyle::Round);
    QCOMPARE(values.grid->columnCount(), 2);
    // A picture too large is made as large as may be.
    const QSizeF pictureSize = tags.contains("ImgSizeF:") ? QSizeF(ChartPicture::mostInches, 2.5)
                               : tags.contains("ImgSize:") ? QSizeF(3, 4)
                                                           : QSizeF(-1, -1);
    QCOMPARE(values.imageSize, pictureSize);
    QCOMPARE(values.hash, tags.contains("Hash:") ? QByteArray("h") : QByteArray());
    QCOMPARE(values.grid->shapingRows(), tags.contains("Shaping:") ? QList<int>{1} : QList<int>());
    // A part reaching past the chart is cut to it.
    QCOMPARE(values.imageCells, tags.contains("ImgCells:") ? QRect(1, 0, 1, 1) : QRect());
}

void TestChartRecord::damagedHeaders_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList tags{"Name:", "Width:", "Height:"};
    QTest::newRow("unknown tag") << handWritten({"Name:", "Colour:"});
    QByteArray huge = handWritten(tags);
    // "Width:" is followed by 2; make it two thousand million.
    const QByteArray widthTag = QByteArray::fromHex("0000000c00570069006400740068003a00000002");
    huge.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003a77359400"));
    QTest::newRow("size larger than the record") << huge;
    QByteArray zero = handWritten(tags);
    zero.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003a00000000"));
    QTest::newRow("zero width") << zero;
    QByteArray negative = handWritten(tags);
    negative.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003affffffff"));
    QTest::newRow("negative width") << negative;
    QByteArray repeats = handWritten({"Width:", "Height:", "Repeats:"});
    repeats.replace(QByteArray::fromHex("003a0000000000"), QByteArray::fromHex("003a7fffffff00"));
    QTest::newRow("more repeats than the record holds") << repeats;
    QByteArray shaping = handWritten({"Width:", "Height:", "Shaping:"});
    shaping.replace(QByteArray::fromHex("003a00000003"), QByteArray::fromHex("003a7fffffff"));
    QTest::newRow("more shaping rows than the record holds") << shaping;
    // One box whose colour names a kind of colour Qt has not got.
    QByteArray badColor;
    QDataStream out(&badColor, QIODevice::WriteOnly);
    preparePatternStream(out);
    out << QStringLiteral("<Chart>") << QStringLiteral("Width:") << qint32(2) << QStringLiteral("Height:") << qint32(2)
        << QStringLiteral("Repeats:") << qint32(1) << qint32(0) << qint32(0) << qint32(1) << qint32(1) << quint8(40);
    for (int i = 0; i < 10; ++i)
        out << quint8(0);
    const QByteArray scene = sceneOf(ChartGrid(2, 2, stitchById("k")));
    out.writeRawData(scene.constData(), int(scene.size()));
    out << QStringLiteral("</Chart>");
    QTest::newRow("repeat box of an unknown colour kind") << badColor;
}

void TestChartRecord::damagedHeaders()
{
    QFETCH(QByteArray, bytes);
    ChartValues values;
    QVERIFY(!readChart(bytes, values));
    // What was built is whole: it can be shown and saved.
    QVERIFY(values.grid);
    QVERIFY(values.grid->rowCount() < 1000);
    QVERIFY(!chartOf(*values.grid).isEmpty());
}

void TestChartRecord::repeatsWithinTheGrid_data()
{
    // The four values as written: x, y, width, height. (A QRect could not
    // hold the largest ones.)
    QTest::addColumn<QList<qint32>>("written");
    QTest::addColumn<QRect>("read");
    QTest::newRow("inside") << QList<qint32>{1, 0, 2, 3} << QRect(1, 0, 2, 3);
    QTest::newRow("over the edge") << QList<qint32>{2, 1, 5, 5} << QRect(2, 1, 2, 2);
    QTest::newRow("outside") << QList<qint32>{5, 5, 1, 1} << QRect();
    QTest::newRow("negative width") << QList<qint32>{1, 1, -2, 1} << QRect();
    QTest::newRow("largest 32-bit") << QList<qint32>{INT_MAX - 1, 0, INT_MAX, 1} << QRect();
    QTest::newRow("from far above") << QList<qint32>{1, INT_MIN, 1, INT_MAX} << QRect(1, 0, 1, 3);
}

// A damaged file's boxes end up on the chart or not at all, and a box as
// large as the stream can say overflows nothing.
void TestChartRecord::repeatsWithinTheGrid()
{
    QFETCH(QList<qint32>, written);
    QFETCH(QRect, read);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    out << QStringLiteral("<Chart>") << QStringLiteral("Width:") << qint32(4) << QStringLiteral("Height:")
        << qint32(3) << QStringLiteral("Repeats:") << qint32(1);
    for (qint32 value : written)
        out << value;
    out << QColor(Qt::green);
    const QByteArray scene = sceneOf(ChartGrid(4, 3, stitchById("k")));
    out.writeRawData(scene.constData(), int(scene.size()));
    out << QStringLiteral("</Chart>");
    ChartValues values;
    QVERIFY(readChart(bytes, values));
    const QList<RepeatBox> &boxes = values.grid->repeats();
    QCOMPARE(boxes.size(), read.isEmpty() ? 0 : 1);
    if (!read.isEmpty()) {
        QCOMPARE(boxes.first().cells, read);
        QCOMPARE(boxes.first().color, QColor(Qt::green));
    }
}

void TestChartRecord::numberStartsInRange_data()
{
    QTest::addColumn<QPoint>("written");
    QTest::addColumn<QPoint>("read");
    const int largest = ChartOptions::largestNumberStart - 1;
    QTest::newRow("ordinary") << QPoint(4, 6) << QPoint(4, 6);
    QTest::newRow("largest shown") << QPoint(largest, largest) << QPoint(largest, largest);
    QTest::newRow("largest 32-bit") << QPoint(INT_MAX, INT_MAX) << QPoint(largest, largest);
    QTest::newRow("smallest 32-bit") << QPoint(INT_MIN, -1) << QPoint(0, 0);
}

// The offsets of a damaged file end up where a chart can show them, and
// the numbers built on them do not overflow.
void TestChartRecord::numberStartsInRange()
{
    QFETCH(QPoint, written);
    QFETCH(QPoint, read);
    if (written != read)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("numbering offsets")));
    ChartValues values;
    QVERIFY(readChart(handWritten({"Width:", "Height:", "NumberStarts:"}, 3, 2, written), values));
    QCOMPARE(values.grid->options().columnNumberOffset, read.x());
    QCOMPARE(values.grid->options().rowNumberOffset, read.y());
    QCOMPARE(values.grid->options().shownRowNumber(2), read.y() + 2);
}

// Written choices from a later program read as the defaults; the ones
// known are kept.
void TestChartRecord::unknownWrittenChoices()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Written instruction choices")));
    ChartValues values;
    QVERIFY(readChart(handWritten({"Width:", "Height:", "Written:"}), values));
    const WrittenOptions expected{WrittenStyle::Plain, RepeatForm::Brackets, StitchCounts::Changed, true};
    QVERIFY(values.grid->options().written == expected);
}

YARNWISE_CORE_TEST_MAIN(TestChartRecord)
#include "tst_chartrecord.moc"
