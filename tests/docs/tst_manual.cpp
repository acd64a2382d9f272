#include "testenvironment.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The user manual built beside the program, and the writer that makes it.
class TestManual : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtManualIsPdf();
    void chapters_data();
    void chapters();
    void badArguments_data();
    void badArguments();
    void missingPicture();

private:
    // Runs a poppler tool on the PDF; skips the test where it is not
    // installed.
    static QString poppler(const QString &tool, const QString &pdf);
    static int runWriter(const QStringList &arguments, QString *errors = nullptr);
};

QString TestManual::poppler(const QString &tool, const QString &pdf)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int TestManual::runWriter(const QStringList &arguments, QString *errors)
{
    QProcess process;
    process.start(QStringLiteral(YARNWISE_MANUAL_WRITER), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestManual::builtManualIsPdf()
{
    QFile pdf(QStringLiteral(YARNWISE_MANUAL_PDF));
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(pdf.fileName()));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));

    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("pdfinfo (poppler-utils) is not installed");
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf.fileName()});
    QVERIFY(info.waitForFinished(60000));
    const QString output = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(output);
    QVERIFY2(pages.hasMatch(), qPrintable(output));
    // A title page and eight chapters, each on a page of its own, and no
    // runaway layout.
    const int count = pages.captured(1).toInt();
    QVERIFY2(count >= 9 && count <= 60, qPrintable(pages.captured(1)));
}

void TestManual::chapters_data()
{
    QTest::addColumn<QString>("title");
    for (const char *title : {"Getting started", "Charts and stitches", "Written instructions", "The Directions page",
                              "Printing and export", "The stitch library", "Preferences", "The command line"})
        QTest::newRow(title) << QString::fromLatin1(title);
}

// Every chapter has its heading, a line of its own, in the contents on the
// title page and in the text.
void TestManual::chapters()
{
    QFETCH(QString, title);
    const QString text = poppler(QStringLiteral("pdftotext"), QStringLiteral(YARNWISE_MANUAL_PDF));
    if (text.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    int headings = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed() == title)
            ++headings;
    }
    QCOMPARE(headings, 2);
}

void TestManual::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no output named") << QStringList{QStringLiteral("manual.md")} << 2 << "usage";
    QTest::newRow("missing manual") << QStringList{QStringLiteral("nowhere.md"), QStringLiteral("out.pdf")} << 1
                                    << "cannot read";
    QTest::newRow("output folder missing")
        << QStringList{QStringLiteral("manual.md"), QStringLiteral("no/such/folder/out.pdf")} << 1 << "cannot write";
}

// A failed run says why, ends with an error status and leaves no PDF.
void TestManual::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile manual(dir.filePath(QStringLiteral("manual.md")));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.write("# Title\n\n## Chapter\n\nText.\n");
    manual.close();
    for (QString &argument : arguments)
        argument = dir.filePath(argument);

    QString errors;
    QCOMPARE(runWriter(arguments, &errors), exitCode);
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.pdf"))));
}

// A picture that cannot be read is named, and the PDF is still written
// with a note in its place.
void TestManual::missingPicture()
{
    QTemporaryDir dir;
    QFile manual(dir.filePath(QStringLiteral("manual.md")));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.write("# Title\n\n## Chapter\n\nBefore.\n\n![A picture](images/gone.png)\n\nAfter.\n");
    manual.close();
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));

    QString errors;
    QCOMPARE(runWriter({manual.fileName(), pdf}, &errors), 0);
    QVERIFY2(errors.contains(QStringLiteral("images/gone.png")), qPrintable(errors));
    QVERIFY(QFile::exists(pdf));
    const QString text = poppler(QStringLiteral("pdftotext"), pdf);
    if (text.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY2(text.contains(QStringLiteral("[missing picture: images/gone.png]")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("After.")));
}

YARNWISE_TEST_MAIN(TestManual)
#include "tst_manual.moc"
