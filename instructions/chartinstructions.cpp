#include "chartinstructions.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

QString ChartInstructions::text(const QString &title, const KnitScene &scene, const KnitTextEdit &editor)
{
    const int rows = scene.rowCount();
    const int castOn = rows > 0 ? int(scene.cellGrid.last().size()) : 0;

    QString text = QLatin1Char('\n') + title + QLatin1Char('\n');
    text += QCoreApplication::translate("Chart", "Cast on %1 stitches").arg(castOn) + QLatin1Char('\n');
    for (int i = 1; i <= rows; ++i) {
        const int label = editor.skipRows() ? 2 * i - 1 : i;
        text += editor.rowHeaderText(label) + QLatin1String(": ") + editor.rowInstructionsText(rows - i, false)
            + QLatin1Char('\n');
    }
    return text;
}
