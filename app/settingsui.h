#ifndef SETTINGSUI_H
#define SETTINGSUI_H

#include <QDialog>
#include <QList>

#include <functional>

class QAbstractButton;
template<typename T>
class Preference;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

// The "Options" dialog: the one place where the user's preferences are
// written. Each control is filled from the preferences store when the dialog
// is built and is named after its preference key. OK and Apply write every
// control back; Cancel leaves the store as it was.
class SettingsUi : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsUi(QWidget *parent = nullptr);

public Q_SLOTS:
    void saveSettings();
    void getDirectory();
    void buttonPressed(QAbstractButton *button);
    void accept() override;

private:
    QGroupBox *startupGroup();
    QGroupBox *outputGroup();
    QGroupBox *fileGroup();
    QGroupBox *chartSizeGroup();
    QGroupBox *stitchSizeGroup();
    QGroupBox *chartGroup();
    QGroupBox *knittingGroup();
    QGroupBox *checkGroup();
    // Each control shows its preference and, when the dialog is saved,
    // stores it.
    QCheckBox *checkBox(const Preference<bool> &preference, const QString &text);
    QSpinBox *spinBox(const Preference<int> &preference, int minimum = 0, int maximum = 99);
    QDoubleSpinBox *doubleSpinBox(const Preference<double> &preference, double minimum, double maximum);
    QLineEdit *lineEdit(const Preference<QString> &preference);
    QComboBox *stitchBox();
    QComboBox *styleBox();
    QComboBox *sideBox();

    // Filled as the controls are made, so it comes first.
    QList<std::function<void()>> m_stores;
    QDialogButtonBox *m_buttons;
    QCheckBox *m_checkForUpdates;
    QCheckBox *m_autoCrashRecovery;
    QCheckBox *m_savedStateEnabled;
    QCheckBox *m_savedStatePrompt;

    QSpinBox *m_outputRes;
    QCheckBox *m_openFolderPDF;
    QCheckBox *m_showDesignedFooter;
    QLineEdit *m_customFooter;
    QSpinBox *m_pageOverlap;

    QSpinBox *m_autoSave;
    QSpinBox *m_recentFiles;
    QLineEdit *m_defaultFileLocation;

    QSpinBox *m_chartWidth;
    QSpinBox *m_chartHeight;
    QSpinBox *m_cellWidth;
    QSpinBox *m_cellHeight;

    QCheckBox *m_headerBg;
    QCheckBox *m_grayNoStitch;
    QCheckBox *m_headersTop;
    QCheckBox *m_headersBottom;
    QCheckBox *m_heavyLines;
    QDoubleSpinBox *m_floatLimit;

    QComboBox *m_defaultStitch;
    QComboBox *m_defaultKnitStyle;
    QComboBox *m_defaultSideSelection;
};

#endif // SETTINGSUI_H
