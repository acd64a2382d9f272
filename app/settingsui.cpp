#include "settingsui.h"

#include "chartoptions.h"
#include "preferences.h"
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
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Every control carries its preference's key as object name.
template<typename Control, typename T>
Control *named(Control *control, const Preference<T> &preference)
{
    control->setObjectName(preference.key());
    return control;
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

} // namespace

SettingsUi::SettingsUi(QWidget *parent)
    : QDialog(parent)
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply))
    , m_checkForUpdates(checkBox(Preferences::checkForUpdates, tr("Check for Updates on Startup")))
    , m_autoCrashRecovery(checkBox(Preferences::autoCrashRecovery, tr("Automatically Restore After a Crash")))
    , m_savedStateEnabled(checkBox(Preferences::savedStateEnabled, tr("Load Documents from the Last Session")))
    , m_savedStatePrompt(checkBox(Preferences::savedStatePrompt, tr("Prompt to Save and Restore the Last Session")))
    , m_outputRes(spinBox(Preferences::outputResolution, 0, 3000))
    , m_openFolderPDF(checkBox(Preferences::openFolderAfterPdf, tr("Open Containing Folder When Creating a PDF")))
    , m_showDesignedFooter(checkBox(Preferences::showDesignedFooter, tr("Show \"Designed with\" Footer")))
    , m_customFooter(lineEdit(Preferences::customFooter))
    , m_pageOverlap(spinBox(Preferences::chartPageOverlap, 0, 5))
    , m_autoSave(spinBox(Preferences::autoSaveMinutes, 1, 60))
    , m_recentFiles(spinBox(Preferences::recentFileCount))
    , m_defaultFileLocation(lineEdit(Preferences::defaultFileLocation))
    , m_chartWidth(spinBox(Preferences::chartWidth))
    , m_chartHeight(spinBox(Preferences::chartHeight))
    , m_cellWidth(spinBox(Preferences::cellWidth))
    , m_cellHeight(spinBox(Preferences::cellHeight))
    , m_headerBg(checkBox(Preferences::headerBackground, tr("Show Background on Headers")))
    , m_grayNoStitch(checkBox(Preferences::grayNoStitch, tr("Use Gray Square for No Stitch")))
    , m_headersTop(checkBox(Preferences::headersTop, tr("Show Column Headers")))
    , m_headersBottom(checkBox(Preferences::headersBottom, tr("Bottom")))
    , m_heavyLines(checkBox(Preferences::heavyGridLines, tr("Heavier Line Every 10 Stitches and Rows")))
    , m_floatLimit(doubleSpinBox(Preferences::floatLimit, 0.5, 20))
    , m_defaultStitch(stitchBox())
    , m_defaultKnitStyle(styleBox())
    , m_defaultSideSelection(sideBox())
{
    setWindowTitle(tr("Options"));

    connect(m_buttons, &QDialogButtonBox::accepted, this, &SettingsUi::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &SettingsUi::reject);
    connect(m_buttons, &QDialogButtonBox::clicked, this, &SettingsUi::buttonPressed);

    auto *left = stacked({startupGroup(), fileGroup(), outputGroup(), checkGroup()});
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
    form->addRow(tr("Charts Split over Pages Repeat:"), withUnit(m_pageOverlap, tr("rows and stitches")));
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
    auto *layout = stacked({m_headerBg, m_grayNoStitch, m_heavyLines});
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

QGroupBox *SettingsUi::checkGroup()
{
    auto *form = new QFormLayout;
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_floatLimit);
    layout->addWidget(new QLabel(tr("cm")));
    layout->addStretch();
    form->addRow(tr("Longest Float Left Uncaught:"), row);
    return group(tr("Pattern Check"), form);
}

QCheckBox *SettingsUi::checkBox(const Preference<bool> &preference, const QString &text)
{
    auto *box = named(new QCheckBox(text), preference);
    box->setChecked(preference.value());
    m_stores.append([box, &preference] { preference.set(box->isChecked()); });
    return box;
}

QSpinBox *SettingsUi::spinBox(const Preference<int> &preference, int minimum, int maximum)
{
    auto *box = named(new QSpinBox, preference);
    box->setRange(minimum, maximum);
    box->setValue(preference.value());
    m_stores.append([box, &preference] { preference.set(box->value()); });
    return box;
}

QDoubleSpinBox *SettingsUi::doubleSpinBox(const Preference<double> &preference, double minimum, double maximum)
{
    auto *box = named(new QDoubleSpinBox, preference);
    box->setRange(minimum, maximum);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setValue(preference.value());
    m_stores.append([box, &preference] { preference.set(box->value()); });
    return box;
}

QLineEdit *SettingsUi::lineEdit(const Preference<QString> &preference)
{
    auto *edit = named(new QLineEdit, preference);
    edit->setText(preference.value());
    m_stores.append([edit, &preference] { preference.set(edit->text()); });
    return edit;
}

QComboBox *SettingsUi::stitchBox()
{
    const Preference<QString> &preference = Preferences::defaultStitch;
    auto *box = named(new QComboBox, preference);
    StitchSet *stitches = StitchSet::instance();
    for (const QString &id : {QStringLiteral("k"), QStringLiteral("p"), QStringLiteral("x")})
        box->addItem(stitches->hasStitch(id) ? stitches->findStitch(id)->name() : id, id);
    selectOrFirst(box, box->findData(preference.value()));
    m_stores.append([box] { Preferences::defaultStitch.set(box->currentData().toString()); });
    return box;
}

// The boxes of knitting style and side carry the values charts know; the
// text is only what the designer reads.
QComboBox *SettingsUi::styleBox()
{
    const Preference<int> &preference = Preferences::defaultKnitStyle;
    auto *box = named(new QComboBox, preference);
    box->addItem(tr("Flat"), int(KnitStyle::Flat));
    box->addItem(tr("Round"), int(KnitStyle::Round));
    box->addItem(tr("Lace"), int(KnitStyle::Lace));
    selectOrFirst(box, box->findData(preference.value()));
    m_stores.append([box] { Preferences::defaultKnitStyle.set(box->currentData().toInt()); });
    return box;
}

QComboBox *SettingsUi::sideBox()
{
    const Preference<QString> &preference = Preferences::defaultSideSelection;
    auto *box = named(new QComboBox, preference);
    box->addItem(tr("Right Side"), int(Side::RightSide));
    box->addItem(tr("Wrong Side"), int(Side::WrongSide));
    // The store keeps the words pattern files use; other words show the
    // first side.
    const QString stored = preference.value();
    selectOrFirst(box, stored == ChartOptions::sideName(Side::WrongSide) ? 1 : 0);
    m_stores.append([box] {
        Preferences::defaultSideSelection.set(ChartOptions::sideName(Side(box->currentData().toInt())));
    });
    return box;
}

void SettingsUi::saveSettings()
{
    for (const std::function<void()> &store : std::as_const(m_stores))
        store();
}

void SettingsUi::getDirectory()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Select a Directory"), Preferences::fileFolder());
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
