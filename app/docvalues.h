#ifndef DOCVALUES_H
#define DOCVALUES_H

#include <QString>

// What the new-document and new-chart dialog asks for. A cancelled dialog
// gives a width and height of 0.
struct DocValues
{
    qint32 width = 0;
    qint32 height = 0;
    QString title;
    QString unused;
    QString defaultStitch;
};

#endif // DOCVALUES_H
