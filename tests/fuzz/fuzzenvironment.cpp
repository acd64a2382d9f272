#include "fuzzenvironment.h"

#include "settings.h"
#include "stitchset.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Lives as long as the process; removed when it ends normally.
QTemporaryDir *root = nullptr;
qsizetype startStitches = 0;
qsizetype startCategories = 0;

// A message box would wait for a click that never comes: each one is
// dismissed right after it shows, as a user pressing Escape would.
class MessageBoxCloser : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                const QPointer<QMessageBox> shown(box);
                QMetaObject::invokeMethod(
                    box, [shown] { if (shown) shown->done(QMessageBox::Cancel); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Warnings about damaged input are expected by the million; only a fatal
// message is worth the time it takes to print.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "%s\n", qPrintable(message));
        abort();
    }
}

void setHomeInside(const QTemporaryDir &folder)
{
    qputenv("HOME", folder.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", folder.filePath(QStringLiteral("cache")).toLocal8Bit());
    qputenv("TMPDIR", folder.filePath(QStringLiteral("tmp")).toLocal8Bit());
    for (const char *sub : {"home", "config", "data", "cache", "tmp", "scratch"})
        QDir(folder.path()).mkpath(QString::fromLatin1(sub));
}

QString harnessName(char **argv)
{
    return QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
}

} // namespace

void FuzzEnvironment::init(int *argc, char ***argv, SeedWriter writeSeeds)
{
    root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/yarnwise-fuzz-XXXXXX"));
    if (!root->isValid())
        qFatal("no temporary folder for the fuzzing run");
    setHomeInside(*root);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every chart compiles a pattern per stitch abbreviation and uses it
    // once; compiling them to machine code would cost most of each run.
    qputenv("QT_ENABLE_REGEXP_JIT", "0");
    const QByteArray seedFolder = qgetenv("YARNWISE_FUZZ_SEEDS");
    if (seedFolder.isEmpty())
        qInstallMessageHandler(quietMessages);

    new QApplication(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velto Software"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("yarnwise.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Yarnwise"));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root->filePath(QStringLiteral("config")));
    Settings::instance()->reopen();
    // No network, and no autosave in the middle of a run.
    Settings::instance()->setValue(QStringLiteral("checkForUpdates"), false);
    Settings::instance()->setValue(QStringLiteral("AutoSave"), 10000);
    qApp->installEventFilter(new MessageBoxCloser(qApp));

    StitchSet::instance()->load();
    startStitches = StitchSet::instance()->stitches().size();
    startCategories = StitchSet::instance()->categories().size();

    if (!seedFolder.isEmpty()) {
        {
            FuzzEnvironment seeds(QDir(QString::fromLocal8Bit(seedFolder)), harnessName(*argv));
            writeSeeds(seeds);
        }
        delete root;
        std::exit(0);
    }
}

QByteArray FuzzEnvironment::bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString FuzzEnvironment::writeInput(const uint8_t *data, size_t size, const QString &name)
{
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes(data, size)) != qint64(size))
        qFatal("cannot write the input to %s", qPrintable(path));
    return path;
}

QString FuzzEnvironment::scratchPath(const QString &name)
{
    return root->filePath(QStringLiteral("scratch/") + name);
}

void FuzzEnvironment::reset()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StitchSet::instance()->forgetAddedSince(startStitches, startCategories);
    QDir(StitchSet::userIconFolder()).removeRecursively();
}

FuzzEnvironment::FuzzEnvironment(const QDir &folder, const QString &harness)
    : m_corpus(folder.filePath(QStringLiteral("corpus/") + harness))
    , m_dictionaryPath(folder.filePath(harness + QStringLiteral(".dict")))
{
    m_corpus.removeRecursively();
    QDir().mkpath(m_corpus.path());
}

FuzzEnvironment::~FuzzEnvironment()
{
    QFile file(m_dictionaryPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(m_dictionaryPath));
    for (const QByteArray &token : std::as_const(m_tokens)) {
        file.write("\"");
        for (const char c : token) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\')
                file.write(&c, 1);
            else
                file.write(QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0')).toLatin1());
        }
        file.write("\"\n");
    }
}

void FuzzEnvironment::addSeed(const QString &name, const QByteArray &bytes)
{
    QFile file(m_corpus.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the seed %s", qPrintable(file.fileName()));
}

void FuzzEnvironment::addStreamToken(const QString &token)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << token;
    m_tokens.append(bytes);
}

void FuzzEnvironment::addPlainToken(const QByteArray &token)
{
    m_tokens.append(token);
}
