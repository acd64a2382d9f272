// Writes the sample pattern that the manual's screenshots show: a cowl with
// a lace chart, a cable chart and a Directions page that carries a chart
// picture and the stitch key.
//
//     yarnwise_samplepattern OUT.kit

#include "chart.h"
#include "directions.h"
#include "document.h"
#include "knitcell.h"
#include "knitscene.h"
#include "stitchset.h"
#include "textedit.h"

#include <QApplication>
#include <QDataStream>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextStream>

namespace {

// The first word of every pattern file; the main window writes it before
// the document's own record.
const qint32 patternMagic = 0x2AC9863F;

// Fills the chart from rows of abbreviations, top row first; "." keeps the
// cell as it is. A multi-cell stitch is named once, in its first cell.
void draw(Chart *chart, const QList<QStringList> &rows)
{
    KnitScene *scene = chart->knitScene();
    for (int y = 0; y < rows.size(); ++y) {
        int x = 0;
        for (const QString &id : rows.at(y)) {
            if (id == QLatin1String(".")) {
                ++x;
                continue;
            }
            Stitch *stitch = StitchSet::instance()->findStitch(id);
            for (int part = 0; part < stitch->cellsPerStitch(); ++part, ++x)
                scene->setStitch(QPoint(x, y), stitch, part);
        }
    }
}

// An eight-row leaf repeat over 11 stitches, worked flat.
void drawLeafLace(Chart *chart)
{
    draw(chart, {
                    {"p", "k", "k", "k", "k", "k", "k", "k", "k", "k", "p"},
                    {"p", "k", "k", "k", "yo", "sk2p", "yo", "k", "k", "k", "p"},
                    {"p", "k", "k", "k", "k", "k", "k", "k", "k", "k", "p"},
                    {"p", "k", "k", "yo", "ssk", "k", "k2tog", "yo", "k", "k", "p"},
                    {"p", "k", "k", "k", "k", "k", "k", "k", "k", "k", "p"},
                    {"p", "k", "yo", "ssk", "k", "k", "k", "k2tog", "yo", "k", "p"},
                    {"p", "k", "k", "k", "k", "k", "k", "k", "k", "k", "p"},
                    {"p", "yo", "ssk", "k", "k", "k", "k", "k", "k2tog", "yo", "p"},
                });
}

// A six-stitch cable between purl columns, with a contrast stripe framed
// by borders.
void drawCableBand(Chart *chart)
{
    const QStringList purlSides = {"p", "p", "k", "k", "k", "k", "k", "k", "p", "p"};
    QList<QStringList> rows;
    for (int y = 0; y < 8; ++y)
        rows.append(y % 4 == 1 ? QStringList{"p", "p", "c6f", ".", ".", ".", ".", ".", "p", "p"} : purlSides);
    draw(chart, rows);

    KnitScene *scene = chart->knitScene();
    const QColor heather(196, 160, 214);
    for (int x = 0; x < scene->columnCount(); ++x) {
        scene->setColor(QPoint(x, 6), heather);
        scene->at(x, 6)->setTopBorder(true, QColor(90, 40, 110));
        scene->at(x, 6)->setBottomBorder(true, QColor(90, 40, 110));
    }
}

const char *directionsHtml = R"(
<h1>Leaf Lace Cowl</h1>
<p>A soft cowl knitted flat and seamed, with a leaf lace panel and a
cable band. Fits most adults.</p>
<h3>Materials</h3>
<ul>
<li>Worsted weight yarn, 180 m (200 yds) in oatmeal, a little heather for the stripe</li>
<li>4.5 mm (US 7) needles, cable needle, tapestry needle</li>
</ul>
<h3>Gauge</h3>
<p>18 stitches and 24 rows to 10 cm (4 in) in stockinette stitch.</p>
<h3>Instructions</h3>
<p>Cast on 33 stitches. Work the Leaf Lace chart three times across, eight
times in all. Change to the Cable Band chart and work it once. Bind off,
seam the short ends and weave in the ends.</p>
)";

void writeDirections(Document *doc)
{
    Directions *page = doc->directions().first();
    TextEdit *text = page->textEdit();
    text->setHtml(QString::fromUtf8(directionsHtml));
    // Each picture goes into a paragraph of its own below the text.
    QTextCursor end(text->document());
    end.movePosition(QTextCursor::End);
    end.insertBlock();
    text->setTextCursor(end);

    // Pictures as Insert Chart makes them, so they follow later edits.
    Chart *lace = doc->charts().first();
    const QImage chartPicture = doc->generateChart(lace, 3.5, 3.5);
    lace->setHash(Directions::imageHash(chartPicture));
    page->insertChartImage(chartPicture);
    text->textCursor().insertBlock();
    const QImage key = doc->generateKeyImage();
    doc->docKeyHash = Directions::imageHash(key);
    page->insertChartImage(key);
}

bool save(Document *doc, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::BigEndian);
    out << patternMagic;
    return doc->save(out) && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velto Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Yarnwise"));
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: yarnwise_samplepattern OUT.kit\n";
        return 2;
    }
    StitchSet::instance()->load();

    Document doc(11, 8, QStringLiteral("cowl.kit"), QStringLiteral("Leaf Lace"), QStringLiteral("k"));
    drawLeafLace(doc.charts().first());
    doc.addNewChart(10, 8, QStringLiteral("Cable Band"), QStringLiteral("p"));
    drawCableBand(doc.charts().last());
    writeDirections(&doc);

    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!save(&doc, path)) {
        err << "could not write " << path << '\n';
        return 1;
    }
    return 0;
}
