#ifndef PATTERNFIXTURES_H
#define PATTERNFIXTURES_H

#include "document.h"
#include "mainwindow.h"
#include "modaldialog.h"
#include "patternfile.h"

#include <QDataStream>
#include <QFileInfo>
#include <QPrinter>

#include <memory>

// Pattern files as the window writes and reads them.

// Writes `doc` to `path` as Save does; false when it cannot.
inline bool savePattern(Document &doc, const QString &path)
{
    return PatternFile::save(path, [&doc](QDataStream &out) { return doc.save(out); });
}

// A pattern saved earlier: one chart of `columns` x `rows` knit stitches,
// titled after the file, written to `path`. The path, or empty on failure.
inline QString writePattern(const QString &path, int columns = 3, int rows = 3)
{
    Document doc(columns, rows, path, QFileInfo(path).completeBaseName(), QStringLiteral("k"));
    return savePattern(doc, path) ? path : QString();
}

// The bytes of `doc` as a pattern file.
inline QByteArray patternBytes(Document &doc)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    doc.save(out);
    return bytes;
}

// A document read from a pattern file's bytes; `ok` says whether it loaded.
inline std::unique_ptr<Document> readPattern(const QByteArray &bytes, bool *ok)
{
    QDataStream in(bytes);
    qint32 magic = 0, version = 0;
    in >> magic >> version;
    auto doc = std::make_unique<Document>(in);
    *ok = doc->loadDocument(in);
    return doc;
}

// A new pattern, made through the window's New dialog as it stands.
inline Document *newPattern(MainWindow &window)
{
    acceptNextDialog();
    window.newDoc();
    return window.currentDocument();
}

// A printer that writes a PDF to `path`, as printing and export do.
inline std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

#endif // PATTERNFIXTURES_H
