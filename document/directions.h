#ifndef DIRECTIONS_H
#define DIRECTIONS_H

#include "directionsrecord.h"
#include "page.h"
#include "pagedocument.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>
#include <QSizeF>
#include <QStringList>

class QAction;
class QActionGroup;
class QComboBox;
class QDataStream;
class QFontComboBox;
class QMenu;
class QPrinter;
class QTextCharFormat;
class QTextDocument;
class TextEdit;
class TextUndoStack;

// The Directions page of a pattern: formatted prose with lists, links,
// page breaks and pictures, under the "Document Tools" tool bar and the
// "Format" menu. Every picture is known to the text by the SHA-1 of its
// PNG encoding ("image://<hash>.png"); a picture drawn from a chart or the
// key is replaced through updateImage() when its source changes.
class Directions : public QMainWindow, public Page
{
    Q_OBJECT

public:
    explicit Directions(QWidget *parent = nullptr);
    ~Directions() override;

    // The Directions record of the pattern file. save() writes the opening
    // tag; loadDirections() starts after it, as the document reads it.
    bool save(QDataStream &out) const;
    bool loadDirections(QDataStream &in);
    // The page as a pattern file had it; false when the record was damaged.
    bool load(DirectionsValues &&values);
    QStringList loadErrors() const { return m_loadErrors; }

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QSizeF pageSize() const { return m_pageSize; }
    void setPageSize(const QSizeF &size);
    // Every picture the text may show, in the order they came.
    QList<QImage> images() const;

    TextEdit *textEdit() const { return m_textEdit; }
    QMenu *menu() const override { return m_menu; }
    QToolBar *toolBar() const override { return m_toolBar; }
    QUndoStack *undoStack() const override;
    void markSaved() override { setModified(false); }
    QString pageTitle() const override { return m_name; }

    bool isModified() const override;
    bool isUndoAvailable() const;
    bool isRedoAvailable() const;

    // The lower-case hexadecimal SHA-1 of the image's PNG encoding, and the
    // name the text knows a picture of that hash by.
    static QByteArray imageHash(const QImage &image);
    static QString imageName(const QByteArray &hash);

public Q_SLOTS:
    void insertImage();
    void insertChartImage(const QImage &image);
    void insertInstructions(const QString &text);
    void updateImage(const QByteArray &oldHash, const QByteArray &newHash, const QImage &image);
    void loadImages();
    void updatePageSize();
    // Pictures with artwork print from it (see PageDocument).
    void print(QPrinter *printer, const PictureArtworks &artworks = PictureArtworks());

    void undo();
    void redo();
    void cut() override;
    void copy() override;
    void paste() override;
    void setModified(bool modified);

    void setBold();
    void setItalic();
    void setUnderline();
    void setFontColor();
    void setTextBgColor();
    // Applies the family of `font` to the text; the page's own font stays.
    void setFont(const QFont &font);
    void setFontSize(const QString &size);
    void leftJustify();
    void center();
    void rightJustify();
    void justify();
    void makeOrderedList();
    void makeUnorderedList();
    void makeLink();
    void insertPageBreak();

Q_SIGNALS:
    void getChartImage();
    void textChanged();
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    using Picture = DirectionsPicture;

    void setupActions();
    void setupCharacterActions();
    void setupAlignmentActions();
    void setupInsertActions();
    void addSeparators();
    void setupFontBoxes();
    QAction *addFormatAction(const char *objectName, const QString &text, const QString &toolTip,
                             const QKeySequence &shortcut, const QString &icon);
    static QIcon drawColorIcon(const QColor &color);
    void mergeFormatOnSelection(const QTextCharFormat &format);
    void toggleFormat(const QTextCharFormat &format);
    void currentCharFormatChanged(const QTextCharFormat &format);
    void alignmentChanged(Qt::Alignment alignment);
    void makeList(int style);

    void addPicture(const Picture &picture);
    void registerImages(QTextDocument *doc) const;

    QString m_name;
    QSizeF m_pageSize;
    QList<Picture> m_images;
    QStringList m_loadErrors;
    QColor m_fontColor = Qt::black;
    QColor m_backgroundColor = Qt::white;

    TextEdit *m_textEdit = nullptr;
    TextUndoStack *m_undoStack = nullptr;
    QMenu *m_menu = nullptr;
    // Lives in the main window while the page is the current tab, and
    // goes with the page all the same.
    QPointer<QToolBar> m_toolBar;
    QFontComboBox *m_fontBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QActionGroup *m_alignments = nullptr;

    QAction *actionTextBold = nullptr;
    QAction *actionTextItalic = nullptr;
    QAction *actionTextUnderline = nullptr;
    QAction *actionColorForeground = nullptr;
    QAction *actionColorBackground = nullptr;
    QAction *actionJustifyLeft = nullptr;
    QAction *actionJustifyCenter = nullptr;
    QAction *actionJustifyRight = nullptr;
    QAction *actionJustify = nullptr;
    QAction *actionInsertOrderedList = nullptr;
    QAction *actionInsertUnorderedList = nullptr;
    QAction *actionInsertHyperLink = nullptr;
    QAction *actionInsertChart = nullptr;
    QAction *actionInsertImage = nullptr;
    QAction *actionInsertPageBreak = nullptr;
};

#endif // DIRECTIONS_H
