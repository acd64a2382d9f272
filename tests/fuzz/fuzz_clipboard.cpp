// Pastes chart cells from the clipboard into a chart, and undoes the paste.

#include "fuzzenvironment.h"

#include "cellclipboard.h"
#include "chart.h"
#include "knitscene.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QUndoStack>

namespace {

Chart *chart = nullptr;

void writeSeeds(FuzzEnvironment &seeds)
{
    CellClipboard::Record first;
    first.abbreviation = QStringLiteral("22rc");
    first.imgPos = 1;
    first.color = QColor(10, 20, 30);
    CellClipboard::Record second;
    second.offset = QPoint(1, 0);
    second.abbreviation = QStringLiteral("k");
    second.color = Qt::white;
    CellClipboard::Record third;
    third.offset = QPoint(-1, 2);
    third.abbreviation = QStringLiteral("yo");
    third.color = Qt::red;
    seeds.addSeed(QStringLiteral("three.cells"), CellClipboard::write({first, second, third}));

    for (const char *token : {"k", "p", "yo", "22rc", "?"})
        seeds.addStreamToken(QString::fromLatin1(token));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    chart = new Chart(6, 5, QStringLiteral("k"));
    // The paste lands at a cell inside the chart, so that records reach
    // every edge.
    chart->knitScene()->setSelected(QPoint(2, 2));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto *mime = new QMimeData;
    mime->setData(CellClipboard::mimeType(), FuzzEnvironment::bytes(data, size));
    QApplication::clipboard()->setMimeData(mime);
    chart->paste();
    chart->undo();
    chart->undoStack()->clear();
    FuzzEnvironment::reset();
    return 0;
}
