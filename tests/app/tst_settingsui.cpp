#include "settings.h"
#include "settingsui.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class TestSettingsUi : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void freshStoreGivesDefaults_data();
    void freshStoreGivesDefaults();
    void choices_data();
    void choices();
    void applyKeepsDialogOpen();
    void okSavesCancelDiscards();
    void folderChooser();
    void cancelledFolderChooser();
};

static Settings *settings()
{
    return Settings::instance();
}

// What a control would save, whatever its kind.
static QVariant shown(const QWidget *control)
{
    if (auto *box = qobject_cast<const QCheckBox *>(control))
        return box->isChecked();
    if (auto *box = qobject_cast<const QSpinBox *>(control))
        return box->value();
    if (auto *box = qobject_cast<const QDoubleSpinBox *>(control))
        return box->value();
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *box = qobject_cast<const QComboBox *>(control))
        return box->currentData();
    return QVariant();
}

static QAbstractButton *button(QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    return dialog->findChild<QDialogButtonBox *>()->button(which);
}

void TestSettingsUi::freshStoreGivesDefaults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("shownValue");

    const QList<std::pair<const char *, QVariant>> defaults = {
        {"checkForUpdates", true},        {"autoCrashRecovery", true},
        {"savedStateEnabled", true},      {"savedStatePrompt", false},
        {"outputRes", 300},               {"openFolderPDF", true},
        {"showDesignedFooter", true},     {"customFooter", QString()},
        {"AutoSave", 2},                  {"RecentFiles", 5},
        {"defaultFileLocation", QString()}, {"chartWidth", 15},
        {"chartHeight", 15},              {"cellWidth", 24},
        {"cellHeight", 22},               {"HeaderBg", true},
        {"GrayNoStitch", true},           {"HeadersTop", true},
        {"HeadersBottom", false},         {"heavyGridLines", false},
        {"defaultStitch", QStringLiteral("k")},
        {"defaultKnitStyle", 0},          {"defaultSideSelection", QStringLiteral("Right Side")},
        {"floatLimitCm", 2.5},            {"chartPageOverlap", 1},
    };
    for (const auto &[key, value] : defaults) {
        // The side box carries the side itself; the store keeps its words.
        const bool side = QLatin1String(key) == QLatin1String("defaultSideSelection");
        QTest::newRow(key) << QString::fromLatin1(key) << value << (side ? QVariant(0) : value);
    }
}

void TestSettingsUi::freshStoreGivesDefaults()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, shownValue);

    SettingsUi dialog;
    QCOMPARE(shown(dialog.findChild<QWidget *>(key)), shownValue);
    QVERIFY(settings()->allKeys().isEmpty());

    dialog.saveSettings();
    QCOMPARE(settings()->value(key, QVariant()), value);
    QCOMPARE(settings()->allKeys().size(), 25);
}

void TestSettingsUi::choices_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("chosen"); // whether choosing what is shown stores it, or the store is written by hand

    QTest::newRow("Flat") << "defaultKnitStyle" << QVariant(0) << "Flat" << true;
    QTest::newRow("Round") << "defaultKnitStyle" << QVariant(1) << "Round" << true;
    QTest::newRow("Lace") << "defaultKnitStyle" << QVariant(2) << "Lace" << true;
    QTest::newRow("Knit") << "defaultStitch" << QVariant("k") << "Knit" << true;
    QTest::newRow("Purl") << "defaultStitch" << QVariant("p") << "Purl" << true;
    QTest::newRow("No Stitch") << "defaultStitch" << QVariant("x") << "No Stitch" << true;
    QTest::newRow("Wrong Side") << "defaultSideSelection" << QVariant("Wrong Side") << "Wrong Side" << true;
    // A hand-edited store must not turn into nonsense once saved.
    QTest::newRow("unknown stitch") << "defaultStitch" << QVariant("zz") << "Knit" << false;
    QTest::newRow("unknown style") << "defaultKnitStyle" << QVariant(7) << "Flat" << false;
    QTest::newRow("unknown side") << "defaultSideSelection" << QVariant("Sideways") << "Right Side" << false;
    QTest::newRow("autosave too long") << "AutoSave" << QVariant(500) << "60" << false;
    QTest::newRow("float limit") << "floatLimitCm" << QVariant(3.5) << "3.5" << false;
    QTest::newRow("float limit too long") << "floatLimitCm" << QVariant(50) << "20.0" << false;
}

// The words a box offers and what the store keeps for them, both ways.
void TestSettingsUi::choices()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    QFETCH(bool, chosen);
    if (chosen) {
        SettingsUi dialog;
        auto *box = dialog.findChild<QComboBox *>(key);
        box->setCurrentIndex(box->findText(shown));
        dialog.saveSettings();
        QCOMPARE(settings()->value(key, QVariant()).toString(), stored.toString());
    } else {
        settings()->setValue(key, stored);
    }

    SettingsUi dialog;
    auto *box = dialog.findChild<QComboBox *>(key);
    QCOMPARE(box ? box->currentText() : dialog.findChild<QAbstractSpinBox *>(key)->text(), shown);
}

void TestSettingsUi::applyKeepsDialogOpen()
{
    bool openAfterApply = false;
    int appliedAutoSave = 0;
    whenModal<QWidget>([&](QWidget *dialog) {
        dialog->findChild<QSpinBox *>(QStringLiteral("AutoSave"))->setValue(7);
        button(dialog, QDialogButtonBox::Apply)->click();
        openAfterApply = dialog->isVisible();
        appliedAutoSave = settings()->value(QStringLiteral("AutoSave"), 0).toInt();
        dialog->findChild<QSpinBox *>(QStringLiteral("AutoSave"))->setValue(9);
        button(dialog, QDialogButtonBox::Cancel)->click();
    });

    SettingsUi dialog;
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(openAfterApply);
    QCOMPARE(appliedAutoSave, 7);
    // Cancel drops what changed after Apply.
    QCOMPARE(settings()->value(QStringLiteral("AutoSave"), 0).toInt(), 7);
}

void TestSettingsUi::okSavesCancelDiscards()
{
    whenModal<QWidget>([](QWidget *dialog) {
        dialog->findChild<QCheckBox *>(QStringLiteral("checkForUpdates"))->setChecked(false);
        button(dialog, QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(SettingsUi().exec(), int(QDialog::Rejected));
    QVERIFY(settings()->allKeys().isEmpty());

    whenModal<QWidget>([](QWidget *dialog) {
        dialog->findChild<QCheckBox *>(QStringLiteral("checkForUpdates"))->setChecked(false);
        button(dialog, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(SettingsUi().exec(), int(QDialog::Accepted));
    QCOMPARE(settings()->value(QStringLiteral("checkForUpdates"), true).toBool(), false);
}

void TestSettingsUi::folderChooser()
{
    const QString start = m_env->scratchPath(QString());
    const QString chosen = m_env->rootPath();
    settings()->setValue(QStringLiteral("defaultFileLocation"), start);

    QString startedAt;
    whenModal<QWidget>([&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        startedAt = files->directory().absolutePath();
        files->setDirectory(chosen);
        QMetaObject::invokeMethod(files, "accept");
    });

    SettingsUi dialog;
    dialog.findChild<QAbstractButton *>(QStringLiteral("folderButton"))->click();
    QCOMPARE(startedAt, QDir(start).absolutePath());
    auto *location = dialog.findChild<QLineEdit *>(QStringLiteral("defaultFileLocation"));
    QCOMPARE(location->text(), QDir::toNativeSeparators(chosen));
    // Chosen, but not stored until the dialog is saved.
    QCOMPARE(settings()->value(QStringLiteral("defaultFileLocation"), QString()).toString(), start);
}

void TestSettingsUi::cancelledFolderChooser()
{
    settings()->setValue(QStringLiteral("defaultFileLocation"), m_env->rootPath());
    whenModal<QWidget>([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->reject(); });

    SettingsUi dialog;
    auto *location = dialog.findChild<QLineEdit *>(QStringLiteral("defaultFileLocation"));
    location->setText(QStringLiteral("typed but not chosen"));
    dialog.findChild<QAbstractButton *>(QStringLiteral("folderButton"))->click();
    QCOMPARE(location->text(), QStringLiteral("typed but not chosen"));
}

YARNWISE_TEST_MAIN(TestSettingsUi)
#include "tst_settingsui.moc"
