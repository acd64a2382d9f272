#include "samplepattern.h"

#include "chart.h"
#include "chartgrid.h"
#include "directions.h"
#include "document.h"
#include "instructionparser.h"
#include "knitscene.h"
#include "patternfile.h"
#include "stitch.h"
#include "stitchset.h"
#include "textedit.h"

#include <QTextCursor>

namespace {

// The sample's yarns.
const QColor slate(112, 128, 144);
const QColor coral(240, 128, 104);

// Rows from the bottom up, each as read on its own side: odd rows are
// right-side rows, even rows wrong-side rows.
const char *const laceRows[] = {
    "k1, yo, ssk, k5, k2tog, yo, k1", "p11",
    "k2, yo, ssk, k3, k2tog, yo, k2", "p11",
    "k3, yo, ssk, k1, k2tog, yo, k3", "p11",
    "k4, yo, sk2p, yo, k4",           "p11",
};

const char *const cableRows[] = {
    "p2, k6, p2",   "k2, p6, k2",
    "p2, c6f, p2",  "k2, p6, k2",
    "p2, k6, p2",   "k2, p6, k2",
};

const char *const bandRows[] = {
    "k12", "p12", "k12", "p12", "k12", "p12",
};

const char *const directionsHtml =
    "<h1>Harbour Cowl</h1>"
    "<p><i>A lace-edged cowl with a single cable and a band of colour.</i></p>"
    "<h3>Materials</h3>"
    "<ul><li>Worsted weight wool, 180 m in Slate and 20 m in Coral</li>"
    "<li>4.5 mm needles</li><li>Stitch markers, a cable needle</li></ul>"
    "<h3>Gauge</h3><p>18 stitches and 24 rows to 10 cm in stocking stitch.</p>"
    "<h3>Instructions</h3>"
    "<p>Cast on 33 stitches. Work the Lace Edging chart three times across, "
    "then the Cable Panel and the Colour Band as set. Bind off loosely.</p>";

void fillRows(KnitScene *scene, const char *const *rows, int count)
{
    const InstructionParser parser(StitchSet::instance()->keyWords());
    const int width = scene->columnCount();
    for (int row = 0; row < count && row < scene->rowCount(); ++row) {
        const bool wrongSide = row % 2 == 1;
        const QStringList cells = parser.cells(QString::fromLatin1(rows[row]), width);
        scene->updateRow(row, InstructionParser::row(cells, width, wrongSide));
    }
}

// Two coloured rows with a border along their top and bottom.
void colourBand(KnitScene *scene)
{
    const int width = scene->columnCount();
    for (int gridRow = 2; gridRow <= 3; ++gridRow) {
        for (int x = 0; x < width; ++x)
            scene->setColor(QPoint(x, gridRow), coral);
    }
    for (int x = 0; x < width; ++x) {
        scene->grid()->setBorder(x, 2, ChartCell::Top, true, Qt::black);
        scene->grid()->setBorder(x, 3, ChartCell::Bottom, true, Qt::black);
    }
}

template<int N>
void addChart(Document *doc, const QString &name, int width, const char *const (&rows)[N])
{
    doc->addNewChart(width, N, name, QStringLiteral("k"));
    fillRows(doc->curChart()->knitScene(), rows, N);
}

// A stitch of the designer's own for this run, as a pattern file brings
// one: `description` and `opposite` may be left empty on purpose.
Stitch *ownStitch(const QString &abbreviation, const QString &name, const QString &description)
{
    Stitch *stitch = StitchSet::instance()->findOrAdd(abbreviation);
    stitch->temporary = true;
    stitch->setAbbrivs({abbreviation});
    stitch->setName(name);
    stitch->setDescription(description);
    stitch->setOpposite(QString());
    stitch->setPaths({QStringLiteral(":/stitches/unknown.svg")});
    return stitch;
}

void setRow(Chart *chart, int number, const char *row)
{
    const InstructionParser parser(StitchSet::instance()->keyWords());
    ChartGrid *grid = chart->grid();
    const int width = grid->columnCount();
    const bool wrongSide = number % 2 == 0;
    const QStringList cells = parser.cells(QString::fromLatin1(row), width);
    chart->knitScene()->updateRow(number - 1, InstructionParser::row(cells, width, wrongSide));
}

// Stocking stitch in slate with a lattice of small coral diamonds, four
// stitches and four rows to a repeat (no float longer than three
// stitches), on every row of a chart 32 stitches wide.
void diamondYoke(Chart *chart)
{
    ChartGrid *grid = chart->grid();
    const int rows = grid->rowCount();
    const char *const plain[] = {"k32", "p32"};
    const InstructionParser parser(StitchSet::instance()->keyWords());
    for (int row = 0; row < rows; ++row) {
        const bool wrongSide = row % 2 == 1;
        const QStringList cells = parser.cells(QString::fromLatin1(plain[row % 2]), grid->columnCount());
        chart->knitScene()->updateRow(row, InstructionParser::row(cells, grid->columnCount(), wrongSide));
        for (int x = 0; x < grid->columnCount(); ++x) {
            const bool diagonal = (x + row) % 4 == 0 || (x + 4 - row % 4) % 4 == 0;
            grid->setColor(x, rows - 1 - row, diagonal ? coral : slate);
        }
    }
}

} // namespace

std::unique_ptr<Document> SamplePattern::create(QWidget *parent)
{
    auto doc = std::make_unique<Document>(11, 8, QStringLiteral("harbour-cowl.kit"), QStringLiteral("Lace Edging"),
                                          QStringLiteral("k"), parent);
    fillRows(doc->curChart()->knitScene(), laceRows, 8);
    // The edging is worked three times across: the whole chart repeats.
    doc->curChart()->grid()->setRepeats({RepeatBox{QRect(0, 0, 11, 8), RepeatBox::defaultColor()}});
    addChart(doc.get(), QStringLiteral("Cable Panel"), 10, cableRows);
    addChart(doc.get(), QStringLiteral("Colour Band"), 12, bandRows);
    colourBand(doc->curChart()->knitScene());
    // Written as a pattern prints them.
    WrittenOptions published;
    published.style = WrittenStyle::Published;
    for (Chart *chart : doc->charts())
        chart->grid()->setWrittenOptions(published);
    doc->directions().first()->textEdit()->setHtml(QString::fromLatin1(directionsHtml));
    // As the Directions page gives it, so that the check measures floats.
    doc->setGauge(Gauge{18, 24});
    return doc;
}

std::unique_ptr<Document> SamplePattern::createWithErrors(QWidget *parent)
{
    std::unique_ptr<Document> doc = create(parent);
    const QList<Chart *> charts = doc->charts();
    Chart *lace = charts.at(0);
    Chart *cable = charts.at(1);
    Chart *band = charts.at(2);
    // A count that does not carry: the top row of the cable works one
    // stitch fewer than the row below made.
    setRow(cable, 6, "k2, p5, k2, x1");
    // Lace that does not balance: the top row decreases, unmarked.
    setRow(lace, 8, "p9, p2tog");
    // A wrong-side row with a stitch the key cannot say how to work there.
    Stitch *twist = ownStitch(QStringLiteral("twist"), QStringLiteral("Own Twist"), QStringLiteral("twist the stitch"));
    lace->grid()->setStitch(5, lace->grid()->rowCount() - 2, twist, 0);
    // A repeat box that cuts the cable in two.
    cable->grid()->setRepeats({RepeatBox{QRect(0, 0, 5, 6), RepeatBox::defaultColor()}});
    // A float of ten stitches behind the coral, at 18 stitches in 10 cm.
    for (int x = 1; x < band->grid()->columnCount() - 1; ++x)
        band->grid()->setColor(x, 2, slate);
    // A stitch the key has no words for.
    ownStitch(QStringLiteral("nub"), QStringLiteral("Own Nub"), QString());
    setRow(band, 1, "k5, nub, k6");
    // A chart without a title, and one the Directions page never names.
    doc->addNewChart(4, 2, QString(), QStringLiteral("k"));
    doc->addNewChart(4, 2, QStringLiteral("Picot Edge"), QStringLiteral("k"));
    fillRows(doc->curChart()->knitScene(), bandRows, 2);
    return doc;
}

bool SamplePattern::writeWithErrors(const QString &fileName, QString *error)
{
    return save(createWithErrors(), fileName, error);
}

std::unique_ptr<Document> SamplePattern::createForPrint(QWidget *parent)
{
    std::unique_ptr<Document> doc = create(parent);
    doc->addNewChart(32, 120, QStringLiteral("Diamond Yoke"), QStringLiteral("k"));
    Chart *yoke = doc->curChart();
    diamondYoke(yoke);
    yoke->grid()->setRepeats({RepeatBox{QRect(28, 116, 4, 4), RepeatBox::defaultColor()}});
    // The yarns as the materials name them.
    doc->setColourName(slate, QStringLiteral("MC: Slate"));
    doc->setColourName(coral, QStringLiteral("CC1: Coral"));
    const QList<Chart *> charts = doc->charts();
    TextEdit *text = doc->directions().first()->textEdit();
    text->moveCursor(QTextCursor::End);
    text->textCursor().insertBlock();
    text->insertHtml(QStringLiteral("<h3>Charts</h3><p>The Cable Panel, and the first sixteen rows of the Diamond "
                                    "Yoke, which follows on pages of its own:</p>"));
    text->insertPlainText(QStringLiteral("\n"));
    doc->placeChartPicture(charts.at(1), QSizeF(2.5, 2.5));
    text->insertPlainText(QStringLiteral("    "));
    doc->placeChartPicture(yoke, QSizeF(3.5, 2.5), QRect(16, 104, 16, 16));
    text->insertPlainText(QStringLiteral("\n"));
    doc->placeKeyPicture();
    return doc;
}

bool SamplePattern::writeForPrint(const QString &fileName, QString *error)
{
    return save(createForPrint(), fileName, error);
}

bool SamplePattern::write(const QString &fileName, QString *error)
{
    return save(create(), fileName, error);
}

bool SamplePattern::save(const std::unique_ptr<Document> &doc, const QString &fileName, QString *error)
{
    doc->setFileName(fileName);
    return PatternFile::save(fileName, [&doc](QDataStream &out) { return doc->save(out); }, error);
}
