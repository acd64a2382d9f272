#ifndef TESTENVIRONMENT_H
#define TESTENVIRONMENT_H

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Gives one test case a fresh, empty preferences store and user folder in a
// temporary directory, so no test ever reads or writes the real user's
// files. Made in init() and dropped in cleanup(), as TestSuite does.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    // The folder of the preferences file: where the user's stitch sets live.
    QString userFolder() const;
    // The temporary folder that holds everything of this test case.
    QString rootPath() const { return m_root.path(); }
    // A scratch folder for the test's own files.
    QString scratchPath(const QString &fileName) const;
    // Writes `contents` to a scratch file; its path, or empty on failure.
    QString writeScratch(const QString &fileName, const QByteArray &contents) const;
    // Writes `contents` to `path`, making its folder; false on failure.
    static bool writeFile(const QString &path, const QByteArray &contents);
    // A file's bytes, or nothing when it cannot be read.
    static QByteArray readFile(const QString &path);

    // Sets the application names the program uses and points the settings
    // store away from the real home. Called once before any test runs.
    static void initApplication();

private:
    QTemporaryDir m_root;
};

// What poppler's tools read from a PDF: its page count, and its text, laid
// out as on the page or in reading order; -1 and no text where they are not
// installed.
namespace Poppler {
bool installed();
int pages(const QString &pdf);
// How many raster images the document holds.
int images(const QString &pdf);
// A field of the document's information ("Title", "Creator").
QString info(const QString &pdf, const QString &field);
QString text(const QString &pdf, bool layout = true);
} // namespace Poppler

// The parent of the timers that wait for a modal dialog (modaldialog.h).
QObject &modalWatchers();
// Stops every such timer, so that a handler whose dialog never came cannot
// act in the next test.
void cancelModalHandlers();

// What every suite's test cases share: each runs in a TestEnvironment of
// its own, made in init() and dropped in cleanup(), which also stops the
// modal-dialog handlers it left waiting. A suite with more to do in either
// calls these too.
class TestSuite : public QObject
{
    Q_OBJECT

protected Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        cancelModalHandlers();
        m_env.reset();
    }

protected:
    std::unique_ptr<TestEnvironment> m_env;
};

// A QTest main() that prepares the application like the program does.
// Suites of models and files need no screen and run without a
// QApplication; those that paint have a QGuiApplication, as the batch
// modes do.
#define YARNWISE_TEST_MAIN_WITH(Application, TestClass)                \
    int main(int argc, char *argv[])                                   \
    {                                                                  \
        Application app(argc, argv);                                   \
        TestEnvironment::initApplication();                            \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }
#define YARNWISE_TEST_MAIN(TestClass) YARNWISE_TEST_MAIN_WITH(QApplication, TestClass)
#define YARNWISE_CORE_TEST_MAIN(TestClass) YARNWISE_TEST_MAIN_WITH(QCoreApplication, TestClass)
#define YARNWISE_GUI_TEST_MAIN(TestClass) YARNWISE_TEST_MAIN_WITH(QGuiApplication, TestClass)

#endif // TESTENVIRONMENT_H
