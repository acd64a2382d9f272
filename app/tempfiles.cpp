#include "tempfiles.h"

#include <QTemporaryFile>

TempFiles::TempFiles(QObject *parent)
    : QObject(parent)
{
}

void TempFiles::append(const QString &name, QTemporaryFile *file)
{
    if (names.contains(name))
        return;
    file->setParent(this);
    names.append(name);
    files.append(file);
}

void TempFiles::remove(const QString &name)
{
    const int at = int(names.indexOf(name));
    if (at < 0)
        return;
    QTemporaryFile *file = files.takeAt(at);
    names.removeAt(at);
    file->close();
    delete file;
}

QTemporaryFile *TempFiles::find(const QString &name)
{
    const int at = int(names.indexOf(name));
    return at >= 0 ? files.at(at) : new QTemporaryFile;
}
