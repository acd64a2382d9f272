#ifndef SAMPLEPATTERN_H
#define SAMPLEPATTERN_H

#include <QString>

#include <memory>

class Document;
class QWidget;

// A small finished pattern: a Directions page and three charts with lace,
// a cable, colours and borders. It is what the manual's pictures, the
// window smoke test and the command-line tests start from, and a quick way
// to see a full document on screen.
class SamplePattern
{
public:
    static std::unique_ptr<Document> create(QWidget *parent = nullptr);
    // Writes the sample as a pattern file.
    static bool write(const QString &fileName, QString *error = nullptr);
    // The sample with one deliberate mistake of each kind the pattern
    // check finds, for trying the check and testing it.
    static std::unique_ptr<Document> createWithErrors(QWidget *parent = nullptr);
    static bool writeWithErrors(const QString &fileName, QString *error = nullptr);
    // The sample as it goes to print: its Directions page ends with a
    // chart's picture, part of a chart and the key, and a yoke of 120
    // rows follows, larger than a page.
    static std::unique_ptr<Document> createForPrint(QWidget *parent = nullptr);
    static bool writeForPrint(const QString &fileName, QString *error = nullptr);

private:
    static bool save(const std::unique_ptr<Document> &doc, const QString &fileName, QString *error);
};

#endif // SAMPLEPATTERN_H
