#include "chart.h"

#include "cellsizedialog.h"
#include "chartinstructions.h"
#include "insertcolumn.h"
#include "insertrow.h"
#include "knitcell.h"
#include "knittextedit.h"
#include "removecolumn.h"
#include "removerow.h"
#include "setcellsize.h"
#include "settings.h"
#include "stitchset.h"
#include "textengine.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QSplitter>
#include <QSvgRenderer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const int smallestZoomSide = 10;
const int largestZoomSide = 100;

enum ModeData { StitchModeData = 1, ColorModeData = 2, BorderModeData = 3, LassoModeData = 4 };

} // namespace

Chart::Chart(int width, int height, const QString &defaultStitch, QWidget *parent)
    : QMainWindow(parent)
{
    scene = new KnitScene(width, height, defaultStitch, this);
    knitStyle = Settings::instance()->value(QStringLiteral("defaultKnitStyle"), 0).toInt();
    textEdit = new KnitTextEdit(width, height, defaultStitch, knitStyle, this);
    setupChart();
    applyKnitStyle(knitStyle);
    sideSelection = Settings::instance()->value(QStringLiteral("defaultSideSelection"), tr("Right Side")).toString();
    setupToolbar();
}

Chart::Chart(QDataStream &, QWidget *parent)
    : QMainWindow(parent)
    , dialogColor()
    , paintColor()
    , borderColor()
{
}

Chart::~Chart()
{
    // The text pane listens to the scene; let it go first.
    if (scene)
        disconnect(scene, nullptr, this, nullptr);
    if (scene && textEdit)
        disconnect(scene, nullptr, textEdit, nullptr);
    // Shown in the main window, the tool bar is no child of ours any more.
    delete m_toolBar;
}

QUndoStack *Chart::undoStack() const
{
    return scene ? scene->undoStack() : nullptr;
}

void Chart::setupChart()
{
    textEngine = new TextEngine(textEdit->document());
    textEdit->setKeyWords(textEngine->keyWords());
    connect(textEngine, &TextEngine::keyWordsUpdated, this, &Chart::updateKeyWords);
    if (!Settings::instance()->value(QStringLiteral("ShowChartInstructions"), true).toBool())
        textEdit->hide();

    view = new QGraphicsView(scene);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMouseTracking(true);

    auto *top = new QWidget;
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(createOptionsRow());
    topLayout->addWidget(view, 1);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(textEdit);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    connect(textEdit, &KnitTextEdit::rowChanged, scene, &KnitScene::updateRow);
    connect(scene, &KnitScene::stitchChanged, textEdit, &KnitTextEdit::updateText);
    connect(scene, &KnitScene::stitchChanged, this, &Chart::stitchChanged);
    connect(scene, &KnitScene::colorChanged, this, &Chart::colorChanged);
    connect(scene, &KnitScene::cellSelected, this, &Chart::menuAboutToShow);
    connect(scene, &KnitScene::selectionChanged, this, &Chart::menuAboutToShow);
    connect(scene, &KnitScene::currentPos, this, &Chart::currentPos);
    connect(scene, &KnitScene::deleteRow, this, &Chart::removeRow);
    connect(scene, &KnitScene::deleteColumn, this, &Chart::removeColumn);
    paintColor = Qt::white;
    borderColor = Qt::black;
    dialogColor = Qt::white;
}

QWidget *Chart::createOptionsRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(6, 3, 6, 3);

    auto numberStart = [](QSpinBox *&box) {
        box = new QSpinBox;
        box->setRange(1, largestNumberStart);
        box->setValue(1);
        return box;
    };
    layout->addWidget(new QLabel(tr("Start on Stitch:")));
    layout->addWidget(numberStart(m_columnStart));
    layout->addWidget(new QLabel(tr("Start on Row:")));
    layout->addWidget(numberStart(m_rowStart));
    layout->addStretch(1);

    layout->addWidget(new QLabel(tr("Knitting Style:")));
    m_round = new QRadioButton(tr("Round"));
    m_flat = new QRadioButton(tr("Flat"));
    m_lace = new QRadioButton(tr("Lace"));
    layout->addWidget(m_round);
    layout->addWidget(m_flat);
    layout->addWidget(m_lace);
    m_skip = new QCheckBox(tr("Skip Every Second Row"));
    m_skip->setEnabled(false);
    layout->addWidget(m_skip);

    layout->addWidget(new QLabel(tr("Start Chart on:")));
    m_side = new QComboBox;
    m_side->addItem(tr("Right Side"), 0);
    m_side->addItem(tr("Wrong Side"), 1);
    const QString side = Settings::instance()->value(QStringLiteral("defaultSideSelection"), tr("Right Side")).toString();
    m_side->setCurrentIndex(qMax(0, m_side->findText(side)));
    layout->addWidget(m_side);

    m_flat->setChecked(knitStyle == 0);
    m_round->setChecked(knitStyle == 1);
    m_lace->setChecked(knitStyle == 2);
    m_side->setEnabled(knitStyle != 1);
    m_skip->setEnabled(knitStyle == 2);

    connect(m_flat, &QRadioButton::clicked, this, &Chart::setKnitStyleFlat);
    connect(m_round, &QRadioButton::clicked, this, &Chart::setKnitStyleRound);
    connect(m_lace, &QRadioButton::clicked, this, &Chart::setKnitStyleLace);
    // The side only matters where rows alternate; skipping only in lace.
    connect(m_flat, &QRadioButton::toggled, this, [this] { m_side->setEnabled(!m_round->isChecked()); });
    connect(m_lace, &QRadioButton::toggled, this, [this](bool on) {
        m_side->setEnabled(!m_round->isChecked());
        m_skip->setEnabled(on);
    });
    connect(m_columnStart, &QSpinBox::valueChanged, this, &Chart::updateColumnNumbers);
    connect(m_rowStart, &QSpinBox::valueChanged, this, &Chart::updateRowNumbers);
    connect(m_skip, &QCheckBox::clicked, this, &Chart::skipRowNumbers);
    connect(m_side, &QComboBox::currentTextChanged, this, &Chart::setSideSelection);
    return row;
}

QAction *Chart::addAction(const QString &text, const QKeySequence &shortcut, const QString &icon, bool inToolBar,
                          void (Chart::*slot)())
{
    auto *action = new QAction(text, this);
    action->setShortcut(shortcut);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    m_menu->addAction(action);
    if (inToolBar)
        m_toolBar->addAction(action);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    return action;
}

void Chart::setupToolbar()
{
    if (m_menu)
        return;
    m_toolBar = new QToolBar(tr("Chart Tools"), this);
    m_toolBar->setObjectName(QStringLiteral("Chart Tools"));
    m_toolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_toolBar->setFloatable(false);
    m_toolBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_menu = new QMenu(tr("&Chart"), this);

    addAction(tr("Set Stitch Size"), QKeySequence(tr("Ctrl+Shift+/")), QString(), false, &Chart::setCellSizeDialog);
    addAction(tr("Set Chart Title"), QKeySequence(tr("Ctrl+T")), QString(), false, &Chart::setChartTitle);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    m_modes = new QActionGroup(this);
    m_modes->setExclusive(true);
    auto mode = [this](const QString &text, const char *shortcut, const char *icon, int data) {
        QAction *action = addAction(text, QKeySequence(tr(shortcut)), QString::fromLatin1(icon), true, nullptr);
        action->setCheckable(true);
        action->setData(data);
        m_modes->addAction(action);
        connect(action, &QAction::triggered, this, &Chart::setMode);
        return action;
    };
    m_stitchMode = mode(tr("Stitch Painting Mode"), "Ctrl+Alt+S", ":/images/gridEdit.svg", StitchModeData);
    m_stitchMode->setChecked(true);
    m_colorMode = mode(tr("Color Painting Mode"), "Ctrl+Alt+C", ":/images/colorselector.svg", ColorModeData);
    m_borderMode = mode(tr("Border Mode"), "Ctrl+Alt+B", ":/images/borders-none.svg", BorderModeData);
    m_lassoMode = mode(tr("Lasso Mode"), "Ctrl+Alt+L", ":/images/lasso.svg", LassoModeData);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    m_colorAction = addAction(tr("Select a Color"), QKeySequence(tr("Ctrl+H")), QString(), true, &Chart::colorDialog);
    drawColorIcon(paintColor);
    m_menu->addSeparator();
    addAction(tr("Replace a Stitch"), QKeySequence(tr("Ctrl+G")), QString(), false, &Chart::stitchReplacer);
    m_menu->addSeparator();

    m_insertRowAbove = addAction(tr("Insert Row Above"), QKeySequence(tr("Ctrl+A")), QString(), false,
                                 &Chart::insertRowAbove);
    m_insertRowBelow = addAction(tr("Insert Row Below"), QKeySequence(tr("Ctrl+B")), QString(), false,
                                 &Chart::insertRowBelow);
    m_insertColumnLeft = addAction(tr("Insert Column Left"), QKeySequence(tr("Ctrl+L")), QString(), false,
                                   &Chart::insertColumnLeft);
    m_insertColumnRight = addAction(tr("Insert Column Right"), QKeySequence(tr("Ctrl+R")), QString(), false,
                                    &Chart::insertColumnRight);
    m_menu->addSeparator();
    m_removeRows = addAction(tr("Remove Row(s)"), QKeySequence(tr("Ctrl+Shift+R")), QString(), false,
                             &Chart::removeRow);
    m_removeColumns = addAction(tr("Remove Column(s)"), QKeySequence(tr("Ctrl+Shift+C")), QString(), false,
                                &Chart::removeColumn);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    m_flipH = addAction(tr("Flip Selection Horizontally"), QKeySequence(tr("Ctrl+F")),
                        QStringLiteral(":/images/flip-h.svg"), true, &Chart::hFlipSelection);
    m_flipV = addAction(tr("Flip Selection Vertically"), QKeySequence(tr("Ctrl+Shift+F")),
                        QStringLiteral(":/images/flip-v.svg"), true, &Chart::vFlipSelection);
    m_mirrorH = addAction(tr("Mirror Selection Horizontally"), QKeySequence(tr("Ctrl+M")),
                          QStringLiteral(":/images/mirror-h.svg"), true, &Chart::hMirrorSelection);
    m_mirrorV = addAction(tr("Mirror Selection Vertically"), QKeySequence(tr("Ctrl+Shift+M")),
                          QStringLiteral(":/images/mirror-v.svg"), true, &Chart::vMirrorSelection);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    addAction(tr("Save Chart as Image"), QKeySequence(tr("Ctrl+I")), QStringLiteral(":/images/insertImg.svg"), true,
              &Chart::saveImage);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    QAction *zoomIn = addAction(tr("Zoom In"), QKeySequence(), QStringLiteral(":/images/zoomin.png"), true,
                                &Chart::stitchSizeInc);
    zoomIn->setShortcuts({QKeySequence(tr("Ctrl++")), QKeySequence(tr("Ctrl+="))});
    addAction(tr("Zoom Out"), QKeySequence(tr("Ctrl+-")), QStringLiteral(":/images/zoomout.png"), true,
              &Chart::stitchSizeDec);

    for (QAction *action : {m_insertRowAbove, m_insertRowBelow, m_insertColumnLeft, m_insertColumnRight,
                            m_removeRows, m_removeColumns, m_flipH, m_flipV, m_mirrorH, m_mirrorV})
        action->setEnabled(false);
    connect(m_menu, &QMenu::aboutToShow, this, &Chart::menuAboutToShow);
}

// A swatch of the colour under a painter's palette.
void Chart::drawColorIcon(const QColor &color)
{
    if (!m_colorAction)
        return;
    QPixmap pixmap(26, 26);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 24, 24);
    painter.fillRect(QRect(QPoint(1, 1), QPoint(24, 24)), color);
    QSvgRenderer palette(QStringLiteral(":/images/paintpalette.svg"));
    palette.render(&painter, QRectF(1, 1, 25, 25));
    painter.end();
    m_colorAction->setIcon(QIcon(pixmap));
}

void Chart::setMode(bool)
{
    const auto *action = qobject_cast<QAction *>(sender());
    const int data = action ? action->data().toInt() : 0;
    clearSelection();
    switch (data) {
    case StitchModeData:
        m_stitchMode->setChecked(true);
        setCurColor(paintColor);
        drawColorIcon(paintColor);
        scene->setEditMode(KnitScene::EditStitch);
        break;
    case ColorModeData:
        m_colorMode->setChecked(true);
        setCurColor(paintColor);
        drawColorIcon(paintColor);
        scene->setEditMode(KnitScene::EditColor);
        break;
    case BorderModeData:
        m_borderMode->setChecked(true);
        setCurColor(borderColor);
        drawColorIcon(borderColor);
        scene->setEditMode(KnitScene::EditBorder);
        break;
    case LassoModeData:
        m_lassoMode->setChecked(true);
        scene->setEditMode(KnitScene::EditLasso);
        break;
    default:
        scene->setEditMode(KnitScene::EditStitch);
        break;
    }
}

void Chart::setEditMode(KnitScene::Mode mode)
{
    scene->setEditMode(mode);
}

void Chart::setCurColor(const QColor &color)
{
    if (!color.isValid())
        return;
    const bool painting = !m_stitchMode || m_stitchMode->isChecked() || m_colorMode->isChecked();
    if (painting)
        paintColor = color;
    else
        borderColor = color;
    scene->setCurColor(color);
    Q_EMIT curColorChanged(color);

    const bool selectionToColour = (scene->selectedCells.size() >= 2 && scene->selectionType != KnitScene::SelectCell)
        || scene->editMode == KnitScene::EditLasso;
    if (!selectionToColour || scene->selectedCells.isEmpty())
        return;
    scene->undoStack()->beginMacro(QStringLiteral("Set color on lasso"));
    for (const QPoint &pos : selectedPositions())
        scene->setColor(pos, color);
    scene->undoStack()->endMacro();
}

void Chart::colorDialog()
{
    const QColor color = QColorDialog::getColor(dialogColor, this);
    if (!color.isValid())
        return;
    setCurColor(color);
    drawColorIcon(color);
    dialogColor = color;
}

QList<QPoint> Chart::selectedPositions() const
{
    QList<QPoint> positions;
    positions.reserve(scene->selectedCells.size());
    for (KnitCell *cell : std::as_const(scene->selectedCells)) {
        const QPointF pos = scene->targetCell(cell->rect().center());
        positions.append(QPoint(int(pos.x()), int(pos.y())));
    }
    return positions;
}

void Chart::setCurStitch(Stitch *stitch)
{
    if (!stitch)
        return;
    const bool onSelection = (scene->selectedCells.size() > 1 && scene->editMode == KnitScene::EditLasso)
        || scene->selectionType == KnitScene::SelectRows || scene->selectionType == KnitScene::SelectColumns;
    if (onSelection && !scene->selectedCells.isEmpty()) {
        // A multi-cell stitch spreads to the right of each selected cell, up
        // to the edge of the chart; no cell is written twice.
        QSet<QPoint> written;
        scene->undoStack()->beginMacro(QStringLiteral("Set stitch on lasso"));
        for (const QPoint &pos : selectedPositions()) {
            if (written.contains(pos))
                continue;
            for (int k = 0; k < stitch->cellsPerStitch() && pos.x() + k < scene->columnCount(); ++k) {
                const QPoint target(pos.x() + k, pos.y());
                scene->setStitch(target, stitch, k);
                written.insert(target);
            }
        }
        scene->undoStack()->endMacro();
        scene->setCurStitch(stitch);
        return;
    }
    m_stitchMode->setChecked(true);
    scene->setEditMode(KnitScene::EditStitch);
    scene->setCurStitch(stitch);
}

void Chart::menuAboutToShow()
{
    if (!m_menu)
        return;
    const bool any = !scene->selectedCells.isEmpty();
    const bool rows = any && scene->selectionType == KnitScene::SelectRows;
    const bool columns = any && scene->selectionType == KnitScene::SelectColumns;
    for (QAction *action : {m_flipH, m_flipV, m_mirrorH, m_mirrorV})
        action->setEnabled(any);
    for (QAction *action : {m_insertRowAbove, m_insertRowBelow, m_removeRows})
        action->setEnabled(rows);
    for (QAction *action : {m_insertColumnLeft, m_insertColumnRight, m_removeColumns})
        action->setEnabled(columns);
}

QRect Chart::selectionBox() const
{
    const QList<QPoint> positions = selectedPositions();
    if (positions.isEmpty())
        return QRect();
    int left = positions.first().x(), right = left, top = positions.first().y(), bottom = top;
    for (const QPoint &pos : positions) {
        left = qMin(left, pos.x());
        right = qMax(right, pos.x());
        top = qMin(top, pos.y());
        bottom = qMax(bottom, pos.y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void Chart::insertRowAbove()
{
    const QRect box = selectionBox();
    if (box.isValid())
        scene->undoStack()->push(new InsertRow(box.top(), scene, textEdit));
}

void Chart::insertRowBelow()
{
    const QRect box = selectionBox();
    if (box.isValid())
        scene->undoStack()->push(new InsertRow(box.bottom() + 1, scene, textEdit));
}

void Chart::insertColumnLeft()
{
    const QRect box = selectionBox();
    if (box.isValid())
        scene->undoStack()->push(new InsertColumn(box.left(), scene, textEdit));
}

void Chart::insertColumnRight()
{
    const QRect box = selectionBox();
    if (box.isValid())
        scene->undoStack()->push(new InsertColumn(box.right() + 1, scene, textEdit));
}

void Chart::removeRowsOrColumns(bool rows)
{
    const QRect box = selectionBox();
    if (!box.isValid())
        return;
    if (rows ? scene->rowCount() <= 1 : scene->columnCount() <= 1)
        return;
    const int first = rows ? box.top() : box.left();
    int count = rows ? box.height() : box.width();
    // The chart keeps at least one row and one column.
    count = qMin(count, (rows ? scene->rowCount() : scene->columnCount()) - 1);
    scene->undoStack()->beginMacro(rows ? tr("Remove row(s)") : tr("Remove column(s)"));
    for (int i = 0; i < count; ++i) {
        if (rows)
            scene->undoStack()->push(new RemoveRow(first, scene, textEdit));
        else
            scene->undoStack()->push(new RemoveColumn(first, scene, textEdit));
    }
    scene->undoStack()->endMacro();
}

void Chart::removeRow()
{
    removeRowsOrColumns(true);
}

void Chart::removeColumn()
{
    removeRowsOrColumns(false);
}

void Chart::setBorderLeft()
{
    scene->setBorderLeft(true);
}

void Chart::setBorderRight()
{
    scene->setBorderRight(true);
}

void Chart::setBorderTop()
{
    scene->setBorderTop(true);
}

void Chart::setBorderBottom()
{
    scene->setBorderBottom(true);
}

int Chart::cellWidth() const
{
    return scene->cellWidth;
}

int Chart::cellHeight() const
{
    return scene->cellHeight;
}

QSize Chart::cellSize() const
{
    return QSize(scene->cellWidth, scene->cellHeight);
}

int Chart::sceneWidthPx() const
{
    return scene->leftHeaderSize().width() + scene->rightHeaderSize().width() + 1
        + scene->columnCount() * scene->cellWidth;
}

int Chart::sceneHeightPx() const
{
    return scene->topHeaderSize().height() + scene->bottomHeaderSize().height() + 1
        + scene->rowCount() * scene->cellHeight;
}

void Chart::setCellSize(int width, int height)
{
    scene->undoStack()->push(new SetCellSize(QSize(width, height), scene));
}

void Chart::stitchSizeInc()
{
    if (scene->cellWidth <= largestZoomSide && scene->cellHeight <= largestZoomSide)
        setCellSize(scene->cellWidth + 1, scene->cellHeight + 1);
}

void Chart::stitchSizeDec()
{
    if (scene->cellWidth >= smallestZoomSide && scene->cellHeight >= smallestZoomSide)
        setCellSize(scene->cellWidth - 1, scene->cellHeight - 1);
}

void Chart::setCellSizeDialog()
{
    CellSizeDialog dialog(cellSize(), this);
    if (dialog.exec() == QDialog::Accepted)
        setCellSize(dialog.cellSize().width(), dialog.cellSize().height());
}

void Chart::setChartTitle()
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("Set Chart Title"), tr("Chart Title:"), QLineEdit::Normal,
                                               title, &ok);
    if (ok && text != title)
        setTitle(text);
}

void Chart::setTitle(const QString &newTitle)
{
    if (newTitle == title)
        return;
    title = newTitle;
    Q_EMIT titleChanged(title);
}

void Chart::setScale(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    const float horizontal = float(scene->leftHeaderSize().width() + scene->rightHeaderSize().width()
                                   + scene->columnCount() * scene->cellWidth + 1)
        / width;
    const float vertical = float(scene->topHeaderSize().height() + scene->rowCount() * scene->cellHeight) / height;
    scale = qMax(1.0f, qMax(horizontal, vertical));
}

void Chart::applyKnitStyle(int style)
{
    knitStyle = style;
    textEdit->setKnitStyle(style);
    scene->knitStyle = style;
    if (style != 2) {
        m_skip->setChecked(false);
        skipRowNumbers(false);
    }
    scene->updateHeaders();
    Q_EMIT chartModified(true);
}

void Chart::setKnitStyleFlat()
{
    m_flat->setChecked(true);
    applyKnitStyle(0);
}

void Chart::setKnitStyleRound()
{
    m_round->setChecked(true);
    applyKnitStyle(1);
}

void Chart::setKnitStyleLace()
{
    m_lace->setChecked(true);
    applyKnitStyle(2);
}

void Chart::updateColumnNumbers(int start)
{
    scene->columnNumberOffset = start - 1;
    scene->updateHeaders();
    Q_EMIT chartModified(true);
}

void Chart::updateRowNumbers(int start)
{
    scene->rowNumberOffset = start - 1;
    textEdit->setRowNumberOffset(start - 1);
    scene->updateHeaders();
    Q_EMIT chartModified(true);
}

void Chart::skipRowNumbers(bool skip)
{
    scene->skipRows = skip;
    textEdit->setSkipRows(skip);
    scene->updateHeaders();
    textEdit->updateAll();
    Q_EMIT chartModified(true);
}

void Chart::setSideSelection(const QString &side)
{
    sideSelection = side;
    textEdit->setSideSelection(side);
    scene->sideSelection = side;
    scene->updateHeaders();
    Q_EMIT chartModified(true);
}

void Chart::settingsUpdateChart()
{
    scene->updateHeaders();
}

void Chart::updateKeyWords()
{
    if (!textEngine)
        return;
    const QSignalBlocker blocker(textEngine);
    textEngine->updateList();
    textEdit->setKeyWords(textEngine->keyWords());
}

void Chart::showChartInstructions(bool on)
{
    textEdit->setVisible(on);
}

void Chart::undo()
{
    scene->undoStack()->undo();
}

void Chart::redo()
{
    scene->undoStack()->redo();
}

void Chart::removeChart()
{
    for (int row = scene->rowCount() - 1; row >= 0; --row)
        scene->removeRow(row);
}

void Chart::turnOffHighlight()
{
    scene->clearSelection();
}

void Chart::clearSelection()
{
    scene->clearSelection();
}

QString Chart::generateInstructions() const
{
    return ChartInstructions::text(title, *scene, *textEdit);
}
