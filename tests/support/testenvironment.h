#ifndef TESTENVIRONMENT_H
#define TESTENVIRONMENT_H

#include <QString>
#include <QTemporaryDir>

// Gives one test case a fresh, empty preferences store and user folder in a
// temporary directory, so no test ever reads or writes the real user's
// files. Create one in init() and drop it in cleanup().
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
    // A file's bytes, or nothing when it cannot be read.
    static QByteArray readFile(const QString &path);

    // Sets the application names the program uses and points the settings
    // store away from the real home. Called once before any test runs.
    static void initApplication();

private:
    QTemporaryDir m_root;
};

// A QTest main() that prepares the application like the program does.
#define YARNWISE_TEST_MAIN(TestClass)                                  \
    int main(int argc, char *argv[])                                   \
    {                                                                  \
        QApplication app(argc, argv);                                  \
        TestEnvironment::initApplication();                            \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }

// The same for suites of models and files. They need no screen and run
// without a QApplication; those that paint have a QGuiApplication, as the
// batch modes do.
#define YARNWISE_CORE_TEST_MAIN(TestClass)                             \
    int main(int argc, char *argv[])                                   \
    {                                                                  \
        QCoreApplication app(argc, argv);                              \
        TestEnvironment::initApplication();                            \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }

#define YARNWISE_GUI_TEST_MAIN(TestClass)                              \
    int main(int argc, char *argv[])                                   \
    {                                                                  \
        QGuiApplication app(argc, argv);                               \
        TestEnvironment::initApplication();                            \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }

#endif // TESTENVIRONMENT_H
