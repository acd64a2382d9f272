#include "preferences.h"

#include "settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Each key is the one the preferences store has always used.
const Preference<bool> Preferences::checkForUpdates("checkForUpdates", true);
const Preference<QString> Preferences::updateServer("updateServer",
                                                    QStringLiteral("https://updates.yarnwise.example.org/"));
const Preference<bool> Preferences::autoCrashRecovery("autoCrashRecovery", true);
const Preference<bool> Preferences::savedStateEnabled("savedStateEnabled", true);
const Preference<bool> Preferences::savedStatePrompt("savedStatePrompt", false);
const Preference<int> Preferences::autoSaveMinutes("AutoSave", 2);
const Preference<int> Preferences::recentFileCount("RecentFiles", 5);
const Preference<QString> Preferences::defaultFileLocation("defaultFileLocation", QString());
const Preference<bool> Preferences::sampleShown("sampleShown", false);
const Preference<QString> Preferences::builtinSetCopy("builtinSetCopy", QString());
const Preference<QStringList> Preferences::recentStitches("recentStitches", QStringList());
const Preference<QByteArray> Preferences::windowState("uiState", QByteArray());

const Preference<int> Preferences::outputResolution("outputRes", 300);
const Preference<bool> Preferences::openFolderAfterPdf("openFolderPDF", true);
const Preference<bool> Preferences::showDesignedFooter("showDesignedFooter", true);
const Preference<QString> Preferences::customFooter("customFooter", QString());
const Preference<int> Preferences::chartPageOverlap("chartPageOverlap", 1);

const Preference<int> Preferences::chartWidth("chartWidth", 15);
const Preference<int> Preferences::chartHeight("chartHeight", 15);
const Preference<int> Preferences::cellWidth("cellWidth", 24);
const Preference<int> Preferences::cellHeight("cellHeight", 22);
const Preference<QString> Preferences::defaultStitch("defaultStitch", QStringLiteral("k"));
const Preference<int> Preferences::defaultKnitStyle("defaultKnitStyle", 0);
const Preference<QString> Preferences::defaultSideSelection("defaultSideSelection", QStringLiteral("Right Side"));

const Preference<bool> Preferences::mirrorSwapsLeaning("mirrorSwapsLeaning", false);

const Preference<bool> Preferences::headerBackground("HeaderBg", true);
const Preference<bool> Preferences::grayNoStitch("GrayNoStitch", true);
const Preference<bool> Preferences::headersTop("HeadersTop", true);
const Preference<bool> Preferences::headersBottom("HeadersBottom", false);
const Preference<bool> Preferences::showChartInstructions("ShowChartInstructions", true);
const Preference<bool> Preferences::heavyGridLines("heavyGridLines", false);

const Preference<double> Preferences::floatLimit("floatLimitCm", 2.5);

Preferences *Preferences::instance()
{
    static Preferences preferences;
    return &preferences;
}

QVariant Preferences::stored(const QString &key, const QVariant &fallback)
{
    return Settings::instance()->value(key, fallback);
}

void Preferences::store(const QString &key, const QVariant &value)
{
    Settings::instance()->setValue(key, value);
    Q_EMIT instance()->changed(key);
}

QString Preferences::fileFolder()
{
    const QStringList candidates = {defaultFileLocation.value(),
                                    QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)};
    for (const QString &folder : candidates) {
        if (!folder.isEmpty() && QDir(folder).exists())
            return folder;
    }
    // Home, or the nearest folder above it that exists.
    QString folder = QDir::homePath();
    while (!QDir(folder).exists() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    return folder;
}
