#include "settingsui.h"

#include "settings.h"
#include "stitch.h"
#include "stitchset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVariant stored(const QString &key, const QVariant &fallback)
{
    return Settings::instance()->value(key, fallback);
}

// Every control carries its preference key as object name, so it is read and
// written under one spelling.
template <typename Control>
Control *named(Control *control, const char *key)
{
    control->setObjectName(QLatin1String(key));
    return control;
}

QCheckBox *checkBox(const char *key, const QString &text, bool fallback)
{
    auto *box = named(new QCheckBox(text), key);
    box->setChecked(stored(box->objectName(), fallback).toBool());
    return box;
}

QSpinBox *spinBox(const char *key, int fallback, int minimum = 0, int maximum = 99)
{
    auto *box = named(new QSpinBox, key);
    box->setRange(minimum, maximum);
    box->setValue(stored(box->objectName(), fallback).toInt());
    return box;
}

QLineEdit *lineEdit(const char *key)
{
    auto *edit = named(new QLineEdit, key);
    edit->setText(stored(edit->objectName(), QString()).toString());
    return edit;
}

// A stored value the box does not offer (a hand-edited file, say) shows the
// first item rather than an empty box that would save as nonsense.
void selectOrFirst(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

QWidget *withUnit(QSpinBox *box, const QString &unit)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(new QLabel(unit));
    layout->addStretch();
    return row;
}

QGroupBox *group(const QString &title, QLayout *layout)
{
    auto *box = new QGroupBox(title);
    box->setLayout(layout);
    return box;
}

QVBoxLayout *stacked(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    return layout;
}

void store(QCheckBox *box)
{
    Settings::instance()->setValue(box->objectName(), box->isChecked());
}

void store(QSpinBox *box)
{
    Settings::instance()->setValue(box->objectName(), box->value());
}

void store(QLineEdit *edit)
{
    Settings::instance()->setValue(edit->objectName(), edit->text());
}

// The item data is the stored value; the text is only what the user reads.
void store(QComboBox *box)
{
    Settings::instance()->setValue(box->objectName(), box->currentData());
}

} // namespace

SettingsUi::SettingsUi(QWidget *parent)
    : QDialog(parent)
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply))
    , m_checkForUpdates(checkBox("checkForUpdates", tr("Check for Updates on Startup"), true))
    , m_autoCrashRecovery(checkBox("autoCrashRecovery", tr("Automatically Restore After a Crash"), true))
    , m_savedStateEnabled(checkBox("savedStateEnabled", tr("Load Documents from the Last Session"), true))
    , m_savedStatePrompt(checkBox("savedStatePrompt", tr("Prompt to Save and Restore the Last Session"), false))
    , m_outputRes(spinBox("outputRes", 96, 0, 3000))
    , m_openFolderPDF(checkBox("openFolderPDF", tr("Open Containing Folder When Creating a PDF"), true))
    , m_showDesignedFooter(checkBox("showDesignedFooter", tr("Show \"Designed with\" Footer"), true))
    , m_customFooter(lineEdit("customFooter"))
    , m_autoSave(spinBox("AutoSave", 2, 1, 60))
    , m_recentFiles(spinBox("RecentFiles", 5))
    , m_defaultFileLocation(lineEdit("defaultFileLocation"))
    , m_chartWidth(spinBox("chartWidth", 15))
    , m_chartHeight(spinBox("chartHeight", 15))
    , m_cellWidth(spinBox("cellWidth", 24))
    , m_cellHeight(spinBox("cellHeight", 22))
    , m_headerBg(checkBox("HeaderBg", tr("Show Background on Headers"), true))
    , m_grayNoStitch(checkBox("GrayNoStitch", tr("Use Gray Square for No Stitch"), true))
    , m_headersTop(checkBox("HeadersTop", tr("Show Column Headers"), true))
    , m_headersBottom(checkBox("HeadersBottom", tr("Bottom"), false))
    , m_defaultStitch(stitchBox())
    , m_defaultKnitStyle(styleBox())
    , m_defaultSideSelection(sideBox())
{
    setWindowTitle(tr("Options"));

    connect(m_buttons, &QDialogButtonBox::accepted, this, &SettingsUi::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &SettingsUi::reject);
    connect(m_buttons, &QDialogButtonBox::clicked, this, &SettingsUi::buttonPressed);

    auto *left = stacked({startupGroup(), fileGroup(), outputGroup()});
    auto *right = stacked({chartSizeGroup(), stitchSizeGroup(), chartGroup(), knittingGroup()});
    left->addStretch();
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_buttons);
}

QGroupBox *SettingsUi::startupGroup()
{
    return group(tr("Startup Options"),
                 stacked({m_checkForUpdates, m_autoCrashRecovery, m_savedStateEnabled, m_savedStatePrompt}));
}

QGroupBox *SettingsUi::outputGroup()
{
    auto *form = new QFormLayout;
    form->addRow(tr("Image Resolution:"), withUnit(m_outputRes, tr("DPI")));
    form->addRow(m_openFolderPDF);
    form->addRow(m_showDesignedFooter);
    form->addRow(tr("Custom Footer Text:"), m_customFooter);
    return group(tr("Output Options"), form);
}

QGroupBox *SettingsUi::fileGroup()
{
    auto *chooser = new QToolButton;
    chooser->setText(tr("..."));
    chooser->setObjectName(QStringLiteral("folderButton"));
    chooser->setToolTip(tr("Select a Directory"));
    connect(chooser, &QToolButton::clicked, this, &SettingsUi::getDirectory);
    auto *location = new QHBoxLayout;
    location->addWidget(m_defaultFileLocation);
    location->addWidget(chooser);

    auto *form = new QFormLayout;
    form->addRow(tr("Auto-Save Frequency:"), withUnit(m_autoSave, tr("minutes")));
    form->addRow(tr("Show Recent Files:"), m_recentFiles);
    form->addRow(tr("Default File Location:"), location);
    return group(tr("File Options"), form);
}

QGroupBox *SettingsUi::chartSizeGroup()
{
    auto *form = new QFormLayout;
    form->addRow(tr("Stitches:"), m_chartWidth);
    form->addRow(tr("Rows:"), m_chartHeight);
    return group(tr("Default Chart Size"), form);
}

QGroupBox *SettingsUi::stitchSizeGroup()
{
    auto *form = new QFormLayout;
    form->addRow(tr("Width:"), m_cellWidth);
    form->addRow(tr("Height:"), m_cellHeight);
    return group(tr("Default Stitch Dimensions"), form);
}

QGroupBox *SettingsUi::chartGroup()
{
    auto *headers = new QHBoxLayout;
    headers->addWidget(m_headersTop);
    headers->addWidget(m_headersBottom);
    headers->addStretch();
    auto *layout = stacked({m_headerBg, m_grayNoStitch});
    layout->addLayout(headers);
    return group(tr("Chart Options"), layout);
}

QGroupBox *SettingsUi::knittingGroup()
{
    auto *form = new QFormLayout;
    form->addRow(tr("Default Stitch:"), m_defaultStitch);
    form->addRow(tr("Default Knitting Style:"), m_defaultKnitStyle);
    form->addRow(tr("Start Text Instructions On:"), m_defaultSideSelection);
    return group(tr("Default Knitting Options"), form);
}

QComboBox *SettingsUi::stitchBox() const
{
    auto *box = named(new QComboBox, "defaultStitch");
    StitchSet *stitches = StitchSet::instance();
    for (const QString &id : {QStringLiteral("k"), QStringLiteral("p"), QStringLiteral("x")})
        box->addItem(stitches->hasStitch(id) ? stitches->findStitch(id)->name() : id, id);
    selectOrFirst(box, box->findData(stored(box->objectName(), QStringLiteral("k")).toString()));
    return box;
}

QComboBox *SettingsUi::styleBox() const
{
    auto *box = named(new QComboBox, "defaultKnitStyle");
    box->addItem(tr("Flat"), 0);
    box->addItem(tr("Round"), 1);
    box->addItem(tr("Lace"), 2);
    selectOrFirst(box, stored(box->objectName(), 0).toInt());
    return box;
}

QComboBox *SettingsUi::sideBox() const
{
    // The stored text is compared literally by the charts, so it is kept
    // apart from the shown, translatable one.
    auto *box = named(new QComboBox, "defaultSideSelection");
    box->addItem(tr("Right Side"), QStringLiteral("Right Side"));
    box->addItem(tr("Wrong Side"), QStringLiteral("Wrong Side"));
    selectOrFirst(box, box->findData(stored(box->objectName(), QStringLiteral("Right Side")).toString()));
    return box;
}

void SettingsUi::saveSettings()
{
    store(m_chartWidth);
    store(m_chartHeight);
    store(m_cellWidth);
    store(m_cellHeight);
    store(m_autoSave);
    store(m_recentFiles);
    for (QCheckBox *box : {m_checkForUpdates, m_autoCrashRecovery, m_savedStateEnabled, m_savedStatePrompt})
        store(box);
    store(m_outputRes);
    store(m_openFolderPDF);
    store(m_showDesignedFooter);
    store(m_customFooter);
    for (QCheckBox *box : {m_headerBg, m_grayNoStitch, m_headersTop, m_headersBottom})
        store(box);
    store(m_defaultFileLocation);
    for (QComboBox *box : {m_defaultStitch, m_defaultKnitStyle, m_defaultSideSelection})
        store(box);
}

void SettingsUi::getDirectory()
{
    QString start = stored(QStringLiteral("defaultFileLocation"), QString()).toString();
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Select a Directory"), start);
    // Stored only when the dialog is saved.
    if (!folder.isEmpty())
        m_defaultFileLocation->setText(QDir::toNativeSeparators(folder));
}

void SettingsUi::buttonPressed(QAbstractButton *button)
{
    if (m_buttons->buttonRole(button) == QDialogButtonBox::ApplyRole)
        saveSettings();
}

void SettingsUi::accept()
{
    saveSettings();
    QDialog::accept();
}
