// The document's record in the pattern file: the stitches of its own that
// it uses, its settings and its tabs in order.

#include "document.h"

#include "chart.h"
#include "chartgrid.h"
#include "directions.h"
#include "patternfile.h"
#include "stitch.h"
#include "stitchset.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTabWidget>

bool Document::save(QDataStream &out)
{
    QList<PatternFile::ChartToWrite> grids;
    for (int i = 0; i < tabs->count(); ++i) {
        if (auto *chart = qobject_cast<Chart *>(tabs->widget(i)))
            grids.append({chart->grid(), chart->imgSize, chart->keptPicturePart()});
    }
    PatternFile::Writer writer(out);
    DocumentSettings settings;
    settings.pageSize = pageSize;
    settings.keyHash = docKeyHash;
    settings.showWS = showWS;
    settings.gauge = m_gauge;
    settings.dismissed = m_dismissed;
    settings.colourNames = m_colourNames;
    writer.begin(PatternFile::versionFor(grids, stitchesUsed, settings), stitchesUsed, settings);
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget *tab = tabs->widget(i);
        if (auto *chart = qobject_cast<Chart *>(tab))
            writer.writeChart(*chart->grid(), chart->chartTitle(), chart->hash, chart->imgSize,
                              chart->keptPicturePart());
        else if (auto *page = qobject_cast<Directions *>(tab))
            page->save(out);
        if (out.status() != QDataStream::Ok)
            return false;
    }
    return writer.finish();
}

bool Document::loadDocument(QDataStream &in)
{
    modified = false;
    saved = true;
    QProgressDialog progress(tr("Pattern File"), QString(), 0, 100, this);
    progress.setWindowTitle(tr("Loading Yarnwise Pattern File"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumSize(321, 100);
    PatternValues values;
    const bool read = PatternFile::read(in, values, [&progress](int percent, const QString &what) {
        if (!what.isEmpty())
            progress.setLabelText(what);
        progress.setValue(percent);
        QApplication::processEvents();
        return true;
    });
    loadErrors += values.errors;
    if (values.stitchRecords > 0) {
        Q_EMIT updateChartStitches();
        updateStitchesUsed();
        Q_EMIT documentHasStitches();
    }
    if (!read)
        return false;
    build(std::move(values));
    return true;
}

// The tabs and settings of a pattern as its file held them.
void Document::build(PatternValues &&values)
{
    pageSize = values.settings.pageSize;
    showWS = values.settings.showWS;
    docKeyHash = values.settings.keyHash;
    m_gauge = values.settings.gauge;
    m_dismissed = values.settings.dismissed;
    m_colourNames = values.settings.colourNames;
    for (PatternTab &tab : values.tabs) {
        if (tab.chart) {
            auto *chart = new Chart(std::move(*tab.chart), tabs);
            chartConnect(chart);
            addChart(chart);
            tallyCells(chart, 1);
        } else if (tab.directions) {
            auto *page = new Directions(this);
            page->load(std::move(*tab.directions));
            addDirections(page, page->name());
        }
    }

    curStitch = StitchSet::instance()->defaultStitch();
    curColor = Qt::white;
    Q_EMIT curStitchChanged(curStitch);
    Q_EMIT curColorChanged(curColor);
    refreshUi();

    for (int i = 0; i < tabs->count(); ++i) {
        if (qobject_cast<Chart *>(tabs->widget(i))) {
            tabs->setCurrentIndex(i);
            break;
        }
    }
    // What was read is the file as it stands.
    markSaved();
}
