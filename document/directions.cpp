#include "directions.h"

#include "boundedhtml.h"
#include "directionsprinter.h"
#include "linkdialog.h"
#include "textedit.h"
#include "textundostack.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QToolBar>

namespace {

// A Letter page at 96 dots per inch less its margins.
const QSizeF defaultPageSize(TextEdit::pageWidth, 992);

// Whether a typed link target already names how to reach it ("https://",
// "mailto:"); a bare address is taken for a web page.
bool hasScheme(const QString &url)
{
    static const QRegularExpression scheme(QStringLiteral("^([a-z][a-z0-9+.-]*://|mailto:)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme.match(url).hasMatch();
}

} // namespace

Directions::Directions(QWidget *parent)
    : QMainWindow(parent)
    , m_name(tr("Document"))
    , m_pageSize(defaultPageSize)
{
    m_textEdit = new TextEdit(this);
    m_textEdit->document()->setDefaultFont(DirectionsPrinter::pageFont());
    m_undoStack = new TextUndoStack(m_textEdit, this);
    m_textEdit->setUndoStack(m_undoStack);
    setCentralWidget(m_textEdit);
    setupActions();
    setupFontBoxes();

    connect(m_textEdit, &QTextEdit::currentCharFormatChanged, this, &Directions::currentCharFormatChanged);
    connect(m_textEdit, &QTextEdit::cursorPositionChanged, this,
            [this] { alignmentChanged(m_textEdit->alignment()); });
    connect(m_textEdit, &QTextEdit::textChanged, this, &Directions::textChanged);
    connect(m_undoStack, &QUndoStack::canUndoChanged, this, &Directions::undoAvailable);
    connect(m_undoStack, &QUndoStack::canRedoChanged, this, &Directions::redoAvailable);

    currentCharFormatChanged(m_textEdit->currentCharFormat());
    alignmentChanged(m_textEdit->alignment());
    updatePageSize();
}

Directions::~Directions()
{
    // The undo stack and the text go below QMainWindow's destructor and
    // still announce their last changes; this is no Directions by then.
    disconnect(m_undoStack, nullptr, this, nullptr);
    disconnect(m_textEdit, nullptr, this, nullptr);
    // Shown in the main window, the tool bar is no child of ours any more.
    delete m_toolBar;
}

QAction *Directions::addFormatAction(const char *objectName, const QString &text, const QString &toolTip,
                                     const QKeySequence &shortcut, const QString &icon)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setToolTip(toolTip);
    action->setShortcut(shortcut);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    m_menu->addAction(action);
    m_toolBar->addAction(action);
    return action;
}

void Directions::setupActions()
{
    m_toolBar = new QToolBar(tr("Document Tools"), this);
    m_toolBar->setObjectName(QStringLiteral("Document Tools"));
    m_toolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_toolBar->setFloatable(false);
    m_toolBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_menu = new QMenu(tr("Format"), this);
    setupCharacterActions();
    addSeparators();
    setupAlignmentActions();
    addSeparators();
    setupInsertActions();
    m_toolBar->addSeparator();
}

void Directions::addSeparators()
{
    m_menu->addSeparator();
    m_toolBar->addSeparator();
}

void Directions::setupCharacterActions()
{
    actionTextBold = addFormatAction("actionTextBold", tr("Bold"), tr("Bold"), QKeySequence(tr("Ctrl+B")),
                                     QStringLiteral(":/images/textbold.png"));
    actionTextItalic = addFormatAction("actionTextItalic", tr("Italic"), tr("Italic"), QKeySequence(tr("Ctrl+I")),
                                       QStringLiteral(":/images/textitalic.png"));
    actionTextUnderline = addFormatAction("actionTextUnderline", tr("Underline"), tr("Underline"),
                                          QKeySequence(tr("Ctrl+U")), QStringLiteral(":/images/textunder.png"));
    for (QAction *action : {actionTextBold, actionTextItalic, actionTextUnderline})
        action->setCheckable(true);
    connect(actionTextBold, &QAction::triggered, this, &Directions::setBold);
    connect(actionTextItalic, &QAction::triggered, this, &Directions::setItalic);
    connect(actionTextUnderline, &QAction::triggered, this, &Directions::setUnderline);
    addSeparators();

    actionColorForeground = addFormatAction("actionColorForeground", tr("Font Color"), tr("Font Color"),
                                            QKeySequence(tr("Ctrl+H")), QString());
    actionColorBackground = addFormatAction("actionColorBackground", tr("Background Color"),
                                            tr("Background Color"), QKeySequence(tr("Ctrl+Shift+H")), QString());
    actionColorForeground->setIcon(drawColorIcon(m_fontColor));
    actionColorBackground->setIcon(drawColorIcon(m_backgroundColor));
    connect(actionColorForeground, &QAction::triggered, this, &Directions::setFontColor);
    connect(actionColorBackground, &QAction::triggered, this, &Directions::setTextBgColor);
}

void Directions::setupAlignmentActions()
{
    actionJustifyLeft = addFormatAction("actionJustifyLeft", tr("Left Justify"), tr("Left Justify"),
                                        QKeySequence(tr("Ctrl+L")), QStringLiteral(":/images/textleft.png"));
    actionJustifyCenter = addFormatAction("actionJustifyCenter", tr("Center"), tr("Center"),
                                          QKeySequence(tr("Ctrl+T")), QStringLiteral(":/images/textcenter.png"));
    actionJustifyRight = addFormatAction("actionJustifyRight", tr("Right Justify"), tr("Right Justify"),
                                         QKeySequence(tr("Ctrl+R")), QStringLiteral(":/images/textright.png"));
    actionJustify = addFormatAction("actionJustify", tr("Justify"), tr("Justify"), QKeySequence(tr("Ctrl+J")),
                                    QStringLiteral(":/images/textjustify.png"));
    m_alignments = new QActionGroup(this);
    m_alignments->setExclusive(true);
    for (QAction *action : {actionJustifyLeft, actionJustifyCenter, actionJustifyRight, actionJustify}) {
        action->setCheckable(true);
        m_alignments->addAction(action);
    }
    connect(actionJustifyLeft, &QAction::triggered, this, &Directions::leftJustify);
    connect(actionJustifyCenter, &QAction::triggered, this, &Directions::center);
    connect(actionJustifyRight, &QAction::triggered, this, &Directions::rightJustify);
    connect(actionJustify, &QAction::triggered, this, &Directions::justify);
}

void Directions::setupInsertActions()
{
    actionInsertOrderedList = addFormatAction("actionInsertOrderedList", tr("Insert Ordered List"),
                                              tr("Ordered List"), QKeySequence(tr("Ctrl+Shift+O")),
                                              QStringLiteral(":/images/list-ordered.svg"));
    actionInsertUnorderedList = addFormatAction("actionInsertUnorderedList", tr("Insert Unordered List"),
                                                tr("Unordered List"), QKeySequence(tr("Shift+U")),
                                                QStringLiteral(":/images/list-unordered.svg"));
    actionInsertHyperLink = addFormatAction("actionInsertHyperLink", tr("Insert Link"), tr("Insert Link"),
                                            QKeySequence(tr("Ctrl+Shift+L")), QStringLiteral(":/images/hyperlink.svg"));
    actionInsertChart = addFormatAction("actionInsertChart", tr("Insert Chart"),
                                        tr("Insert a Chart into this document"), QKeySequence(tr("Ctrl+Shift+C")),
                                        QStringLiteral(":/images/grid.svg"));
    actionInsertImage = addFormatAction("actionInsertImage", tr("Insert Image"), tr("Insert Image"),
                                        QKeySequence(tr("Ctrl+M")), QStringLiteral(":/images/insertImg.svg"));
    actionInsertPageBreak = addFormatAction("actionInsertPageBreak", tr("Insert Page Break"),
                                            tr("Insert Page Break"), QKeySequence(tr("Ctrl+Shift+P")),
                                            QStringLiteral(":/images/pagebreak.svg"));
    connect(actionInsertOrderedList, &QAction::triggered, this, &Directions::makeOrderedList);
    connect(actionInsertUnorderedList, &QAction::triggered, this, &Directions::makeUnorderedList);
    connect(actionInsertHyperLink, &QAction::triggered, this, &Directions::makeLink);
    connect(actionInsertChart, &QAction::triggered, this, &Directions::getChartImage);
    connect(actionInsertImage, &QAction::triggered, this, &Directions::insertImage);
    connect(actionInsertPageBreak, &QAction::triggered, this, &Directions::insertPageBreak);
}

void Directions::setupFontBoxes()
{
    m_fontBox = new QFontComboBox(m_toolBar);
    m_fontBox->setObjectName(QStringLiteral("fontBox"));
    m_fontBox->setCurrentFont(m_textEdit->document()->defaultFont());
    m_toolBar->addWidget(m_fontBox);

    m_sizeBox = new QComboBox(m_toolBar);
    m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
    m_sizeBox->setEditable(true);
    for (int size : QFontDatabase::standardSizes())
        m_sizeBox->addItem(QString::number(size));
    m_sizeBox->setCurrentIndex(m_sizeBox->findText(QString::number(DirectionsPrinter::pageFont().pointSize())));
    m_toolBar->addWidget(m_sizeBox);

    connect(m_fontBox, &QFontComboBox::currentFontChanged, this, &Directions::setFont);
    connect(m_sizeBox, &QComboBox::textActivated, this, &Directions::setFontSize);
}

// A swatch of the colour for the two colour actions.
QIcon Directions::drawColorIcon(const QColor &color)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(color);
    painter.drawRect(2, 2, 19, 19);
    painter.end();
    return QIcon(pixmap);
}

bool Directions::isModified() const
{
    return m_textEdit->document()->isModified();
}

QUndoStack *Directions::undoStack() const
{
    return m_undoStack;
}

bool Directions::isUndoAvailable() const
{
    return m_undoStack->canUndo();
}

bool Directions::isRedoAvailable() const
{
    return m_undoStack->canRedo();
}

void Directions::undo()
{
    m_undoStack->undo();
}

void Directions::redo()
{
    m_undoStack->redo();
}

void Directions::cut()
{
    m_textEdit->cut();
}

void Directions::copy()
{
    m_textEdit->copy();
}

void Directions::paste()
{
    m_textEdit->paste();
}

void Directions::setModified(bool modified)
{
    m_textEdit->document()->setModified(modified);
}

// With nothing selected the word under the cursor takes the format; the
// editor keeps it for what is typed next.
void Directions::mergeFormatOnSelection(const QTextCharFormat &format)
{
    QTextCursor cursor = m_textEdit->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    m_textEdit->mergeCurrentCharFormat(format);
}

// Bold, italic and underline with nothing selected apply to what is typed
// next, as in a word processor: "Ctrl+I, a word, Ctrl+I" makes the word
// italic.
void Directions::toggleFormat(const QTextCharFormat &format)
{
    if (m_textEdit->textCursor().hasSelection())
        mergeFormatOnSelection(format);
    else
        m_textEdit->mergeCurrentCharFormat(format);
}

void Directions::setBold()
{
    QTextCharFormat format;
    format.setFontWeight(actionTextBold->isChecked() ? QFont::Bold : QFont::Normal);
    toggleFormat(format);
}

void Directions::setItalic()
{
    QTextCharFormat format;
    format.setFontItalic(actionTextItalic->isChecked());
    toggleFormat(format);
}

void Directions::setUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(actionTextUnderline->isChecked());
    toggleFormat(format);
}

void Directions::setFontColor()
{
    const QColor color = QColorDialog::getColor(m_fontColor, this);
    if (!color.isValid())
        return;
    m_fontColor = color;
    actionColorForeground->setIcon(drawColorIcon(color));
    QTextCharFormat format;
    format.setForeground(color);
    mergeFormatOnSelection(format);
}

void Directions::setTextBgColor()
{
    const QColor color = QColorDialog::getColor(m_backgroundColor, this);
    if (!color.isValid())
        return;
    m_backgroundColor = color;
    actionColorBackground->setIcon(drawColorIcon(color));
    QTextCharFormat format;
    format.setBackground(color);
    mergeFormatOnSelection(format);
}

void Directions::setFont(const QFont &font)
{
    QTextCharFormat format;
    format.setFontFamilies({font.family()});
    mergeFormatOnSelection(format);
}

void Directions::setFontSize(const QString &size)
{
    const qreal pointSize = size.toDouble();
    if (pointSize <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(pointSize);
    mergeFormatOnSelection(format);
}

// The tool bar shows the format of the text at the cursor.
void Directions::currentCharFormatChanged(const QTextCharFormat &format)
{
    const QFont font = format.font().resolve(m_textEdit->document()->defaultFont());
    actionTextBold->setChecked(font.bold());
    actionTextItalic->setChecked(font.italic());
    actionTextUnderline->setChecked(font.underline());
    {
        const QSignalBlocker blockFont(m_fontBox), blockSize(m_sizeBox);
        const int family = m_fontBox->findText(QFontInfo(font).family());
        if (family >= 0)
            m_fontBox->setCurrentIndex(family);
        if (font.pointSizeF() > 0)
            m_sizeBox->setCurrentText(QString::number(font.pointSizeF()));
    }
    const QBrush foreground = format.foreground();
    m_fontColor = foreground.style() == Qt::NoBrush ? QColor(Qt::black) : foreground.color();
    const QBrush background = format.background();
    m_backgroundColor = background.style() == Qt::NoBrush ? QColor(Qt::white) : background.color();
    actionColorForeground->setIcon(drawColorIcon(m_fontColor));
    actionColorBackground->setIcon(drawColorIcon(m_backgroundColor));
}

void Directions::alignmentChanged(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        actionJustifyLeft->setChecked(true);
    else if (alignment & Qt::AlignRight)
        actionJustifyRight->setChecked(true);
    else if (alignment & Qt::AlignHCenter)
        actionJustifyCenter->setChecked(true);
    else if (alignment & Qt::AlignJustify)
        actionJustify->setChecked(true);
}

void Directions::leftJustify()
{
    m_textEdit->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
}

void Directions::center()
{
    m_textEdit->setAlignment(Qt::AlignHCenter);
}

void Directions::rightJustify()
{
    m_textEdit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
}

void Directions::justify()
{
    m_textEdit->setAlignment(Qt::AlignJustify);
}

void Directions::makeOrderedList()
{
    makeList(QTextListFormat::ListDecimal);
}

void Directions::makeUnorderedList()
{
    makeList(QTextListFormat::ListDisc);
}

// The block at the cursor, or every selected block, becomes a list item.
void Directions::makeList(int style)
{
    QTextCursor cursor = m_textEdit->textCursor();
    cursor.beginEditBlock();
    cursor.createList(QTextListFormat::Style(style));
    cursor.endEditBlock();
}

void Directions::makeLink()
{
    QTextCursor cursor = m_textEdit->textCursor();
    const QTextCharFormat before = m_textEdit->currentCharFormat();
    LinkDialog dialog(this);
    dialog.setText(cursor.selectedText());
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString url = dialog.url();
    if (!hasScheme(url))
        url.prepend(QLatin1String("http://"));
    // What was typed is text, never markup.
    cursor.insertHtml(BoundedHtml::bound(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), dialog.text().toHtmlEscaped())));
    // Merging would keep the link's own properties; the earlier format is
    // set whole so that typing goes on outside the link.
    cursor.setCharFormat(before);
    m_textEdit->setTextCursor(cursor);
    m_textEdit->setCurrentCharFormat(before);
}

// An empty block that ends its page, then a plain block to go on with.
void Directions::insertPageBreak()
{
    QTextCursor cursor = m_textEdit->textCursor();
    cursor.beginEditBlock();
    QTextBlockFormat pageEnd;
    pageEnd.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    cursor.insertBlock(pageEnd);
    QTextBlockFormat next;
    next.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    next.setAlignment(Qt::AlignLeft);
    cursor.insertBlock(next);
    cursor.endEditBlock();
    m_textEdit->setTextCursor(cursor);
    updatePageSize();
}

void Directions::setPageSize(const QSizeF &size)
{
    m_pageSize = size;
    updatePageSize();
}

void Directions::updatePageSize()
{
    m_textEdit->setPageSize(m_pageSize);
}

void Directions::insertInstructions(const QString &text)
{
    m_textEdit->insertPlainText(text);
}
