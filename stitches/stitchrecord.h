#ifndef STITCHRECORD_H
#define STITCHRECORD_H

#include <QString>
#include <QStringList>

// A stitch definition as it travels outside the catalogue: in stitch-set
// files, pattern files, exchange files and the library's table. Whether a
// stitch is built in or temporary belongs to its catalogue entry, not here.
struct StitchRecord
{
    QString name;
    QStringList abbrivs;
    QStringList paths;
    QString description;
    QString opposite;
    QString category;
};

#endif // STITCHRECORD_H
