#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

// The user manual built beside the program, and the writer that makes it.
class TestManual : public TestSuite
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
    static int runWriter(const QStringList &arguments, QString *errors = nullptr);
};

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
    const QByteArray bytes = TestEnvironment::readFile(QStringLiteral(YARNWISE_MANUAL_PDF));
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));

    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");
    // A title page and eight chapters, each on a page of its own, and no
    // runaway layout.
    const int count = Poppler::pages(QStringLiteral(YARNWISE_MANUAL_PDF));
    QVERIFY2(count >= 9 && count <= 60, qPrintable(QString::number(count)));
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
    const QString text = Poppler::text(QStringLiteral(YARNWISE_MANUAL_PDF), false);
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
    QVERIFY(!m_env->writeScratch(QStringLiteral("manual.md"), "# Title\n\n## Chapter\n\nText.\n").isEmpty());
    for (QString &argument : arguments)
        argument = m_env->scratchPath(argument);

    QString errors;
    QCOMPARE(runWriter(arguments, &errors), exitCode);
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY(!QFile::exists(m_env->scratchPath(QStringLiteral("out.pdf"))));
}

// A picture that cannot be read is named, and the PDF is still written
// with a note in its place.
void TestManual::missingPicture()
{
    const QString manual = m_env->writeScratch(
        QStringLiteral("manual.md"), "# Title\n\n## Chapter\n\nBefore.\n\n![A picture](images/gone.png)\n\nAfter.\n");
    const QString pdf = m_env->scratchPath(QStringLiteral("out.pdf"));

    QString errors;
    QCOMPARE(runWriter({manual, pdf}, &errors), 0);
    QVERIFY2(errors.contains(QStringLiteral("images/gone.png")), qPrintable(errors));
    QVERIFY(QFile::exists(pdf));
    const QString text = Poppler::text(pdf, false);
    if (text.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY2(text.contains(QStringLiteral("[missing picture: images/gone.png]")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("After.")));
}

YARNWISE_TEST_MAIN(TestManual)
#include "tst_manual.moc"
