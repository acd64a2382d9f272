// Reads pattern files into plain values, as opening one does before any
// window is built, checks them as the pattern check does, and writes what
// was read back out.

#include "fuzzenvironment.h"

#include "chartgrid.h"
#include "chartoptions.h"
#include "chartinstructions.h"
#include "patterncheck.h"
#include "patternfile.h"
#include "stitch.h"
#include "stitchset.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>

#include <utility>

namespace {

QByteArray patternBytes(const PatternValues &pattern)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    PatternFile::write(out, pattern);
    return bytes;
}

Stitch *find(const char *abbriv)
{
    return StitchSet::instance()->findStitch(QString::fromLatin1(abbriv));
}

// A stitch of the designer's own, drawn in a tiny picture of its own, so
// that the file carries the picture.
Stitch *ownStitch()
{
    const QString imagePath = FuzzEnvironment::scratchPath(QStringLiteral("dot.png"));
    QImage art(4, 4, QImage::Format_ARGB32);
    art.fill(Qt::darkGreen);
    art.save(imagePath);
    Stitch *own = StitchSet::instance()->findOrAdd(QStringLiteral("dot"));
    own->setAbbrivs({QStringLiteral("dot"), QStringLiteral("d1")});
    own->setName(QStringLiteral("Dot"));
    own->setCategory(QStringLiteral("Mine"));
    own->setPaths({imagePath, QStringLiteral(":/stitches/unknown.svg")});
    return own;
}

PatternTab chartTab(const QString &title, int width, int height, const char *fill)
{
    PatternTab tab;
    tab.chart = std::make_unique<ChartValues>();
    tab.chart->title = title;
    tab.chart->grid = std::make_unique<ChartGrid>(width, height, find(fill));
    return tab;
}

void writeSeeds(FuzzEnvironment &seeds)
{
    {
        PatternValues plain;
        PatternTab page;
        page.directions = std::make_unique<DirectionsValues>();
        plain.tabs.push_back(std::move(page));
        plain.tabs.push_back(chartTab(QStringLiteral("Chart"), 3, 2, "k"));
        ChartGrid &grid = *plain.tabs.back().chart->grid;
        grid.setStitch(1, 0, find("p"), 0);
        grid.setColor(2, 1, Qt::red);
        seeds.addSeed(QStringLiteral("plain.kit"), patternBytes(plain));
    }
    {
        PatternValues rich;
        QImage picture(2, 2, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        PatternTab page;
        page.directions = std::make_unique<DirectionsValues>();
        page.directions->pictures.append(DirectionsPicture::fromImage(picture));
        page.directions->html = QStringLiteral("<p>Cast on.<img src=\"%1\"/></p>")
                                    .arg(DirectionsRecord::imageName(page.directions->pictures.first().hash));
        rich.tabs.push_back(std::move(page));
        rich.tabs.push_back(chartTab(QStringLiteral("Front"), 2, 2, "k"));
        rich.tabs.back().chart->grid->setStitch(0, 0, ownStitch(), 1);
        rich.tabs.push_back(chartTab(QStringLiteral("Back"), 1, 2, "p"));
        rich.settings.pageSize = 2;
        rich.settings.keyHash = QByteArray("key");
        seeds.addSeed(QStringLiteral("rich.kit"), patternBytes(rich));
    }
    {
        // What charts store since the first version: repeat boxes, their
        // own choice of numbers below them, how they are written.
        PatternValues repeats;
        repeats.tabs.push_back(chartTab(QStringLiteral("Edging"), 4, 3, "k"));
        ChartGrid &grid = *repeats.tabs.back().chart->grid;
        grid.setStitch(1, 1, find("yo"), 0);
        grid.setRepeats({RepeatBox{QRect(1, 0, 2, 3), Qt::blue}});
        grid.setNumbersAtBottom(true);
        grid.setWrittenOptions({WrittenStyle::Published, RepeatForm::Brackets, StitchCounts::Every, true});
        seeds.addSeed(QStringLiteral("repeats.kit"), patternBytes(repeats));
    }
    {
        // What the pattern check reads: shaping rows, colourwork at a
        // gauge, dismissed findings.
        PatternValues checked;
        checked.tabs.push_back(chartTab(QStringLiteral("Yoke"), 6, 3, "k"));
        ChartGrid &grid = *checked.tabs.back().chart->grid;
        grid.setStitch(2, 0, find("yo"), 0);
        grid.setColor(0, 1, Qt::red);
        grid.setColor(5, 1, Qt::red);
        grid.setShapingRows({0});
        checked.settings.gauge = Gauge{22, 30};
        checked.settings.dismissed = {QStringLiteral("Yoke has no title")};
        seeds.addSeed(QStringLiteral("check.kit"), patternBytes(checked));
    }
    {
        // What print needs: a picture of part of a chart, named colours.
        PatternValues printed;
        printed.tabs.push_back(chartTab(QStringLiteral("Yoke"), 6, 4, "k"));
        ChartValues &chart = *printed.tabs.back().chart;
        chart.grid->setColor(1, 1, Qt::red);
        chart.hash = "abc";
        chart.imageSize = QSizeF(3, 2.5);
        chart.imageCells = QRect(1, 1, 4, 2);
        printed.settings.colourNames = {{qRgb(255, 0, 0), QStringLiteral("CC1")}};
        seeds.addSeed(QStringLiteral("print.kit"), patternBytes(printed));
    }
    // Directions pages a little beyond the limits of their text: tables
    // and lists nested too deeply, a word too long.
    const QString deepTables = QStringLiteral("<table><tr><td>").repeated(6) + QStringLiteral("</td></tr></table>").repeated(6);
    const QString deepLists = QStringLiteral("<ul><li>k2").repeated(10) + QStringLiteral("</li></ul>").repeated(10);
    const QString longWord = QStringLiteral("<p><nobr>%1</nobr></p>").arg(QStringLiteral("k2p2").repeated(300));
    for (const auto &[name, html] : {std::pair{"tables.kit", deepTables}, std::pair{"lists.kit", deepLists},
                                     std::pair{"word.kit", longWord}}) {
        PatternValues page;
        page.tabs.emplace_back();
        page.tabs.back().directions = std::make_unique<DirectionsValues>();
        page.tabs.back().directions->html = html;
        seeds.addSeed(QString::fromLatin1(name), patternBytes(page));
    }

    for (const char *token :
         {"<Stitch>", "</Stitch>", "<Document>", "</Document>", "PageSize:", "DocKeyHash:", "ShowWS:", "<Chart>",
          "</Chart>", "Name:", "Width:", "Height:", "Hash:", "ImgSize:", "KnitStyle:", "SideSelect:", "NumberStarts:",
          "SkipRows:", "<KnitScene>", "</KnitScene>", "CellDim:", "<Cells>", "</Cells>", "<Cell>", "</Cell>", "X,Y:",
          "Abbriv:", "Abriv:", "ImgPos:", "Color:", "Borders:", "BorderColors:", "<Directions>", "</Directions>",
          "Html:", "<ImgList>", "</ImgList>", "ImageData:", ":/stitches/unknown.svg", "Right Side", "k", "p",
          "NumbersBottom:", "Repeats:", "Written:", "Arithmetic:", "Shaping:", "Gauge:", "Dismissed:", "ImgSizeF:",
          "ImgCells:", "ColorNames:"})
        seeds.addStreamToken(QString::fromLatin1(token));
    seeds.addPlainToken(QByteArray::fromHex("2ac9863f"));
    seeds.addPlainToken(QByteArray::fromHex("0003112a"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzEnvironment::writeInput(data, size, QStringLiteral("input.kit"));
    PatternFile file(path);
    if (file.open() == PatternFile::Ok) {
        PatternValues pattern;
        PatternFile::read(file.stream(), pattern);
        // What was read, written as text in both styles, checked, and
        // written as a file again.
        for (const ChartValues *chart : pattern.charts()) {
            ChartInstructions::text(chart->title, *chart->grid, WrittenStyle::Plain);
            ChartInstructions::text(chart->title, *chart->grid, WrittenStyle::Published);
        }
        PatternCheck::json(PatternCheck::check(pattern, 2.5), pattern.settings.dismissed);
        patternBytes(pattern);
    }
    FuzzEnvironment::reset();
    return 0;
}
