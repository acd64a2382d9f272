#ifndef SETTINGSUI_H
#define SETTINGSUI_H

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
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
    QComboBox *stitchBox() const;
    QComboBox *styleBox() const;
    QComboBox *sideBox() const;

    QDialogButtonBox *m_buttons;
    QCheckBox *m_checkForUpdates;
    QCheckBox *m_autoCrashRecovery;
    QCheckBox *m_savedStateEnabled;
    QCheckBox *m_savedStatePrompt;

    QSpinBox *m_outputRes;
    QCheckBox *m_openFolderPDF;
    QCheckBox *m_showDesignedFooter;
    QLineEdit *m_customFooter;

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

    QComboBox *m_defaultStitch;
    QComboBox *m_defaultKnitStyle;
    QComboBox *m_defaultSideSelection;
};

#endif // SETTINGSUI_H
