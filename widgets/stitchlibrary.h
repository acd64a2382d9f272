#ifndef STITCHLIBRARY_H
#define STITCHLIBRARY_H

#include "stitchsetexchange.h"

#include <QDialog>
#include <QList>

#include <memory>
#include <optional>
#include <vector>

class QTableView;
class Stitch;
class StitchLibraryDelegate;
class StitchLibraryModel;

// The modal dialog in which the user reviews and edits the whole stitch
// catalogue as a table. The table is edited apart from the catalogue; the
// opener applies its rows when the dialog is accepted:
//
//     StitchLibrary library(this);
//     if (library.exec() == QDialog::Accepted) {
//         for (Stitch *edited : library.loadStitches()) {
//             StitchSet::instance()->findOrAdd(edited->stitchID())->updateStitch(edited);
//             StitchSet::instance()->addCategory(edited->category());
//         }
//         library.saveLibrary();
//     }
//
// New categories, images set in the stitch creator and a reset reach the
// catalogue at once; an import writes its images into the user folder at
// once but adds table rows only.
class StitchLibrary : public QDialog
{
    Q_OBJECT

public:
    explicit StitchLibrary(QWidget *parent = nullptr);
    ~StitchLibrary() override;

    // Fills the table from the catalogue, one row per stitch in order.
    void loadStitchLibrary();
    // One new stitch per row, in table order. They belong to the dialog
    // and live until the next call or the dialog's end.
    QList<Stitch *> loadStitches();
    // Writes the user's stitch file from the table: every stitch that is
    // not built in, and those loaded from a chart if the user agrees.
    void saveLibrary();

    void addStitch(const QString &abbriv);
    std::unique_ptr<Stitch> getStitch(int row) const;
    QString getStitchID(int row) const;
    QStringList getStitchAbbrivs(int row) const;
    QStringList getImgPaths(int row) const;
    static QString getDisplayPaths(const QStringList &paths);

    // The export and import without their file dialogs.
    bool writeSetFile(const QString &fileName);
    void readSetFile(const QString &fileName);

    StitchLibraryModel *model() const { return m_model; }

public Q_SLOTS:
    void addStitchDialog();
    void addCategory();
    void importSet();
    void exportSet();
    void deleteStitch();
    void resetStitches();
    void openStitchCreator();
    void changeOpposite(const QString &newValue);
    void changeCategory(const QString &newValue);
    bool hasSelection();
    bool hasTemporaryStitches();

private:
    void buildUserInterface();
    void fitTable();
    void setCurrentCell(int column, const QString &value);
    void showAbbrivUsed(const QString &abbriv, const QString &usedBy);
    std::optional<QString> stitchUsing(const QString &abbriv) const;
    bool isAbbrivUsed(const QStringList &abbrivs) const;
    StitchSetExchange::Status importStitches(StitchSetExchange &exchange, QStringList &skipped);
    bool importStitch(const StitchSetExchange::Entry &entry, QStringList &skipped);
    void reportImport(StitchSetExchange::Status status, const QString &summary, const QStringList &skipped);
    QString importTrouble(StitchSetExchange::Status status) const;
    bool mayReplace(const QString &fileName);
    QString fileDialogFolder() const;

    QTableView *m_view;
    StitchLibraryModel *m_model;
    StitchLibraryDelegate *m_delegate;
    std::vector<std::unique_ptr<Stitch>> m_stitches;
};

#endif // STITCHLIBRARY_H
