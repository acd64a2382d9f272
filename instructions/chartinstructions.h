#ifndef CHARTINSTRUCTIONS_H
#define CHARTINSTRUCTIONS_H

#include <QString>

class KnitScene;
class KnitTextEdit;

// A whole chart as written instructions, for the Directions page and for
// printing: the title, the cast-on count and one labelled line per row,
// bottom row first. No Stitch cells are left out.
class ChartInstructions
{
public:
    static QString text(const QString &title, const KnitScene &scene, const KnitTextEdit &editor);
};

#endif // CHARTINSTRUCTIONS_H
