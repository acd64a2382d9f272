// Opens pattern files through the main window, as the Open command does.

#include "fuzzenvironment.h"

#include "chart.h"
#include "directions.h"
#include "document.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "stitch.h"
#include "stitchset.h"
#include "textedit.h"
#include "ui_mainwindowclass.h"

#include <QDataStream>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextCursor>

namespace {

MainWindow *window = nullptr;

QByteArray patternBytes(Document &doc)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(0x2AC9863F);
    doc.save(out);
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

void writeSeeds(FuzzEnvironment &seeds)
{
    {
        Document plain(3, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
        plain.curChart()->knitScene()->setStitch(QPoint(1, 0), find("p"), 0);
        plain.curChart()->knitScene()->setColor(QPoint(2, 1), Qt::red);
        seeds.addSeed(QStringLiteral("plain.kit"), patternBytes(plain));
    }
    {
        Document rich(2, 2, QStringLiteral("b.kit"), QStringLiteral("Front"), QStringLiteral("k"));
        rich.curChart()->knitScene()->setStitch(QPoint(0, 0), ownStitch(), 1);
        rich.addNewChart(1, 2, QStringLiteral("Back"), QStringLiteral("p"));
        Directions *page = rich.directions().first();
        page->textEdit()->textCursor().insertText(QStringLiteral("Cast on."));
        QImage picture(2, 2, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        page->insertChartImage(picture);
        rich.pageSize = 2;
        rich.docKeyHash = QByteArray("key");
        seeds.addSeed(QStringLiteral("rich.kit"), patternBytes(rich));
    }

    for (const char *token :
         {"<Stitch>", "</Stitch>", "<Document>", "</Document>", "PageSize:", "DocKeyHash:", "ShowWS:", "<Chart>",
          "</Chart>", "Name:", "Width:", "Height:", "Hash:", "ImgSize:", "KnitStyle:", "SideSelect:", "NumberStarts:",
          "SkipRows:", "<KnitScene>", "</KnitScene>", "CellDim:", "<Cells>", "</Cells>", "<Cell>", "</Cell>", "X,Y:",
          "Abbriv:", "Abriv:", "ImgPos:", "Color:", "Borders:", "BorderColors:", "<Directions>", "</Directions>",
          "Html:", "<ImgList>", "</ImgList>", "ImageData:", ":/stitches/unknown.svg", "Right Side", "k", "p"})
        seeds.addStreamToken(QString::fromLatin1(token));
    seeds.addPlainToken(QByteArray::fromHex("2ac9863f"));
    seeds.addPlainToken(QByteArray::fromHex("0003112a"));
}

void closeDocuments()
{
    // Whatever the file did to them, the documents close without asking.
    for (Document *doc : window->documents())
        doc->markSaved();
    window->closeAllDoc();
    for (QMdiSubWindow *sub : window->form()->mdiArea->subWindowList())
        delete sub;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    window = new MainWindow;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzEnvironment::writeInput(data, size, QStringLiteral("input.kit"));
    window->openFile(path, true);
    closeDocuments();
    FuzzEnvironment::reset();
    return 0;
}
