#include "chart.h"

#include "cellsizedialog.h"
#include "writtenstyledialog.h"
#include "chartgrid.h"
#include "chartinstructions.h"
#include "chartrecord.h"
#include "flowlayout.h"
#include "knittextedit.h"
#include "preferences.h"
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
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum ModeData { StitchModeData = 1, ColorModeData = 2, BorderModeData = 3, LassoModeData = 4 };

} // namespace

namespace {

// A new chart's options: the preferred knitting style, side and cell size.
ChartOptions preferredOptions()
{
    ChartOptions options;
    options.knitStyle = ChartOptions::knitStyleFromValue(Preferences::defaultKnitStyle.value());
    options.side = ChartOptions::sideFromName(Preferences::defaultSideSelection.value());
    options.cellSize =
        ChartOptions::saneCellSize(QSize(Preferences::cellWidth.value(), Preferences::cellHeight.value()));
    return options;
}

} // namespace

Chart::Chart(int width, int height, const QString &defaultStitch, QWidget *parent)
    : QMainWindow(parent)
{
    Stitch *fill = StitchSet::instance()->findStitch(defaultStitch.isEmpty() ? StitchSet::defaultStitchID()
                                                                             : defaultStitch);
    m_grid = new ChartGrid(width, height, fill, Qt::white, this);
    m_grid->setOptions(preferredOptions());
    setupChart();
}

Chart::Chart(ChartValues &&values, QWidget *parent)
    : QMainWindow(parent)
    , hash(values.hash)
    , imgSize(values.imageSize)
    , imgPart(values.imageCells)
    , title(values.title)
{
    m_grid = values.grid ? values.grid.release() : new ChartGrid(0, 0, nullptr);
    m_grid->setParent(this);
    setupChart();
}

Chart::~Chart()
{
    // The views listen to the model; let them go first.
    disconnect(m_grid, nullptr, this, nullptr);
    delete m_textEdit;
    delete view;
    delete m_scene;
    // Shown in the main window, the tool bar is no child of ours any more.
    delete m_toolBar;
}

void Chart::setupChart()
{
    m_undoStack = new QUndoStack(this);
    connect(m_grid, &ChartGrid::stitchChanged, this, &Chart::stitchChanged);
    connect(m_grid, &ChartGrid::colorChanged, this, &Chart::colorChanged);
    connect(m_grid, &ChartGrid::optionsChanged, this, &Chart::showOptions);
}

void Chart::setVisible(bool visible)
{
    if (visible)
        buildViews();
    QMainWindow::setVisible(visible);
}

void Chart::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The view has its size once the shown window is laid out.
    QTimer::singleShot(0, this, &Chart::scrollToStart);
}

KnitScene *Chart::knitScene() const
{
    const_cast<Chart *>(this)->buildViews();
    return m_scene;
}

KnitTextEdit *Chart::instructions() const
{
    const_cast<Chart *>(this)->buildViews();
    return m_textEdit;
}

QToolBar *Chart::toolBar() const
{
    const_cast<Chart *>(this)->buildViews();
    return m_toolBar;
}

QMenu *Chart::menu() const
{
    const_cast<Chart *>(this)->buildViews();
    return m_menu;
}

void Chart::buildViews()
{
    if (m_scene)
        return;
    m_scene = new KnitScene(m_grid, m_undoStack, this);
    m_textEdit = new KnitTextEdit(m_grid, m_undoStack, this);
    textEngine = new TextEngine(m_textEdit->document());
    m_textEdit->setKeyWords(textEngine->keyWords());
    connect(textEngine, &TextEngine::keyWordsUpdated, this, &Chart::updateKeyWords);
    if (!Preferences::showChartInstructions.value())
        m_textEdit->hide();

    view = new QGraphicsView(m_scene);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMouseTracking(true);
    view->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view->setTransform(QTransform::fromScale(m_zoom / 100.0, m_zoom / 100.0));

    auto *top = new QWidget;
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(createOptionsRow());
    topLayout->addWidget(view, 1);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(m_textEdit);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    connect(m_scene, &KnitScene::cellSelected, this, &Chart::menuAboutToShow);
    connect(m_scene, &KnitScene::selectionChanged, this, &Chart::menuAboutToShow);
    connect(m_scene, &KnitScene::currentPos, this, &Chart::currentPos);
    connect(m_scene, &KnitScene::deleteRow, this, &Chart::removeRow);
    connect(m_scene, &KnitScene::deleteColumn, this, &Chart::removeColumn);
    connect(m_scene, &KnitScene::zoomRequested, this, &Chart::zoomBy);
    setupToolbar();
    m_scene->setCurColor(paintColor);
    if (m_curStitch)
        m_scene->setCurStitch(m_curStitch);
}

QWidget *Chart::createOptionsRow()
{
    auto *row = new QWidget;
    // The groups wrap onto a second line in a narrow window rather than
    // run off its edge.
    auto *layout = new FlowLayout(row);
    layout->setContentsMargins(6, 3, 6, 3);
    auto group = [layout](std::initializer_list<QWidget *> widgets) {
        auto *box = new QWidget;
        auto *line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        for (QWidget *widget : widgets)
            line->addWidget(widget);
        layout->addWidget(box);
    };

    auto numberStart = [](QSpinBox *&box) {
        box = new QSpinBox;
        box->setRange(1, largestNumberStart);
        box->setValue(1);
        return box;
    };
    group({new QLabel(tr("Start on Stitch:")), numberStart(m_columnStart)});
    group({new QLabel(tr("Start on Row:")), numberStart(m_rowStart)});

    m_round = new QRadioButton(tr("Round"));
    m_flat = new QRadioButton(tr("Flat"));
    m_lace = new QRadioButton(tr("Lace"));
    m_skip = new QCheckBox(tr("Skip Every Second Row"));
    group({new QLabel(tr("Knitting Style:")), m_round, m_flat, m_lace, m_skip});

    m_side = new QComboBox;
    m_side->addItem(tr("Right Side"), int(Side::RightSide));
    m_side->addItem(tr("Wrong Side"), int(Side::WrongSide));
    group({new QLabel(tr("Start Chart on:")), m_side});
    showOptions();

    connect(m_flat, &QRadioButton::clicked, this, &Chart::setKnitStyleFlat);
    connect(m_round, &QRadioButton::clicked, this, &Chart::setKnitStyleRound);
    connect(m_lace, &QRadioButton::clicked, this, &Chart::setKnitStyleLace);
    connect(m_columnStart, &QSpinBox::valueChanged, this, &Chart::updateColumnNumbers);
    connect(m_rowStart, &QSpinBox::valueChanged, this, &Chart::updateRowNumbers);
    connect(m_skip, &QCheckBox::clicked, this, &Chart::skipRowNumbers);
    connect(m_side, &QComboBox::currentIndexChanged, this,
            [this](int index) { setSide(Side(m_side->itemData(index).toInt())); });
    return row;
}

// The options row shows the model's options; its controls report only
// what the designer changes.
void Chart::showOptions()
{
    showNumbersChoice();
    if (!m_flat)
        return;
    const ChartOptions &options = m_grid->options();
    const QSignalBlocker flat(m_flat), round(m_round), lace(m_lace), skip(m_skip), side(m_side),
        columns(m_columnStart), rows(m_rowStart);
    QRadioButton *style = options.knitStyle == KnitStyle::Round ? m_round
        : options.knitStyle == KnitStyle::Lace                  ? m_lace
                                                                : m_flat;
    style->setChecked(true);
    // The side only matters where rows alternate; skipping only in lace.
    m_side->setEnabled(options.knitStyle != KnitStyle::Round);
    m_skip->setEnabled(options.knitStyle == KnitStyle::Lace);
    m_skip->setChecked(options.skipRows);
    m_side->setCurrentIndex(qMax(0, m_side->findData(int(options.side))));
    m_columnStart->setValue(options.columnNumberOffset + 1);
    m_rowStart->setValue(options.rowNumberOffset + 1);
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
    m_numbersAtBottom = addAction(tr("Show Stitch Numbers at the Bottom"), QKeySequence(), QString(), false, nullptr);
    m_numbersAtBottom->setCheckable(true);
    connect(m_numbersAtBottom, &QAction::triggered, this, &Chart::showNumbersAtBottom);
    showNumbersChoice();
    addAction(tr("Written Instructions..."), QKeySequence(), QString(), false, &Chart::writtenStyleDialog);
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
    m_swapLeaning = addAction(tr("Swap Leaning Stitches When Mirroring"), QKeySequence(), QString(), false, nullptr);
    m_swapLeaning->setCheckable(true);
    m_swapLeaning->setChecked(Preferences::mirrorSwapsLeaning.value());
    m_swapLeaning->setToolTip(tr("Flipping or mirroring left to right turns k2tog into ssk, left cables into right ones "
                                 "and back"));
    connect(m_swapLeaning, &QAction::toggled, this, [](bool on) { Preferences::mirrorSwapsLeaning.set(on); });
    m_borderAround = addAction(tr("Border Around Selection"), QKeySequence(), QString(), false,
                               &Chart::borderAroundSelection);
    m_removeBorders = addAction(tr("Remove Borders"), QKeySequence(), QString(), false,
                                &Chart::removeBordersOfSelection);
    m_menu->addSeparator();
    m_markRepeat = addAction(tr("Mark Repeat"), QKeySequence(), QString(), false, &Chart::markRepeat);
    m_removeRepeat = addAction(tr("Remove Repeat"), QKeySequence(), QString(), false, &Chart::removeRepeat);
    addAction(tr("Repeat Color..."), QKeySequence(), QString(), false, &Chart::repeatColorDialog);
    m_markShaping = addAction(tr("Mark Rows as Shaping"), QKeySequence(), QString(), false, &Chart::markShapingRows);
    m_unmarkShaping = addAction(tr("Unmark Shaping Rows"), QKeySequence(), QString(), false, &Chart::unmarkShapingRows);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    addAction(tr("Save Chart as Image"), QKeySequence(tr("Ctrl+I")), QStringLiteral(":/images/insertImg.svg"), true,
              &Chart::saveImage);
    m_menu->addSeparator();
    m_toolBar->addSeparator();

    QAction *zoomIn = addAction(tr("Zoom In"), QKeySequence(), QStringLiteral(":/images/zoomin.png"), true,
                                &Chart::zoomIn);
    zoomIn->setShortcuts({QKeySequence(tr("Ctrl++")), QKeySequence(tr("Ctrl+="))});
    addAction(tr("Zoom Out"), QKeySequence(tr("Ctrl+-")), QStringLiteral(":/images/zoomout.png"), true,
              &Chart::zoomOut);
    addAction(tr("Zoom to Fit"), QKeySequence(tr("Ctrl+0")), QString(), false, &Chart::zoomToFit);
    addAction(tr("Actual Size"), QKeySequence(tr("Ctrl+Alt+0")), QString(), false, &Chart::actualSize);

    for (QAction *action : {m_insertRowAbove, m_insertRowBelow, m_insertColumnLeft, m_insertColumnRight,
                            m_removeRows, m_removeColumns, m_flipH, m_flipV, m_mirrorH, m_mirrorV,
                            m_borderAround, m_removeBorders, m_markRepeat, m_removeRepeat})
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
        setEditMode(KnitScene::EditStitch);
        break;
    case ColorModeData:
        m_colorMode->setChecked(true);
        setCurColor(paintColor);
        drawColorIcon(paintColor);
        setEditMode(KnitScene::EditColor);
        break;
    case BorderModeData:
        m_borderMode->setChecked(true);
        setCurColor(borderColor);
        drawColorIcon(borderColor);
        setEditMode(KnitScene::EditBorder);
        break;
    case LassoModeData:
        m_lassoMode->setChecked(true);
        setEditMode(KnitScene::EditLasso);
        break;
    default:
        setEditMode(KnitScene::EditStitch);
        break;
    }
}

void Chart::setEditMode(KnitScene::Mode mode)
{
    knitScene()->setEditMode(mode);
    Q_EMIT statusChanged();
}

QString Chart::modeText() const
{
    switch (knitScene()->editMode) {
    case KnitScene::EditColor:
        return tr("Color Painting");
    case KnitScene::EditBorder:
        return tr("Border Drawing");
    case KnitScene::EditLasso:
        return tr("Lasso Selection");
    case KnitScene::EditStitch:
        break;
    }
    return tr("Stitch Painting");
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
    if (!m_scene) {
        Q_EMIT curColorChanged(color);
        return;
    }
    m_scene->setCurColor(color);
    Q_EMIT curColorChanged(color);

    const qsizetype selected = selectedPositions().size();
    const bool selectionToColour = (selected >= 2 && knitScene()->selectionType != KnitScene::SelectCell)
        || knitScene()->editMode == KnitScene::EditLasso;
    if (selectionToColour)
        knitScene()->editor().setColorOn(selectedPositions(), color);
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
    return knitScene()->selectedPositions();
}

void Chart::setCurStitch(Stitch *stitch)
{
    if (!stitch)
        return;
    m_curStitch = stitch;
    if (!m_scene)
        return;
    const bool onSelection = (selectedPositions().size() > 1 && knitScene()->editMode == KnitScene::EditLasso)
        || knitScene()->selectionType == KnitScene::SelectRows || knitScene()->selectionType == KnitScene::SelectColumns;
    if (onSelection && knitScene()->hasSelection()) {
        knitScene()->editor().setStitchOn(selectedPositions(), stitch);
        knitScene()->setCurStitch(stitch);
        return;
    }
    m_stitchMode->setChecked(true);
    setEditMode(KnitScene::EditStitch);
    knitScene()->setCurStitch(stitch);
}

void Chart::menuAboutToShow()
{
    if (!m_menu)
        return;
    // Another chart may have changed the choice.
    const QSignalBlocker quiet(m_swapLeaning);
    m_swapLeaning->setChecked(Preferences::mirrorSwapsLeaning.value());
    const bool any = knitScene()->hasSelection();
    const bool rows = any && knitScene()->selectionType == KnitScene::SelectRows;
    const bool columns = any && knitScene()->selectionType == KnitScene::SelectColumns;
    for (QAction *action : {m_flipH, m_flipV, m_mirrorH, m_mirrorV, m_borderAround, m_removeBorders, m_markRepeat,
                            m_markShaping})
        action->setEnabled(any);
    const QRect box = any ? selectionBox() : QRect();
    m_unmarkShaping->setEnabled(std::any_of(m_grid->shapingRows().cbegin(), m_grid->shapingRows().cend(),
                                            [&box](int y) { return y >= box.top() && y <= box.bottom(); }));
    m_removeRepeat->setEnabled(std::any_of(m_grid->repeats().cbegin(), m_grid->repeats().cend(),
                                           [&box](const RepeatBox &repeat) { return repeat.cells.intersects(box); }));
    for (QAction *action : {m_insertRowAbove, m_insertRowBelow, m_removeRows})
        action->setEnabled(rows);
    for (QAction *action : {m_insertColumnLeft, m_insertColumnRight, m_removeColumns})
        action->setEnabled(columns);
}

QRect Chart::selectionBox() const
{
    return knitScene()->selection();
}

void Chart::insertRowAbove()
{
    const QRect box = selectionBox();
    if (box.isValid())
        knitScene()->editor().insertRow(box.top());
}

void Chart::insertRowBelow()
{
    const QRect box = selectionBox();
    if (box.isValid())
        knitScene()->editor().insertRow(box.bottom() + 1);
}

void Chart::insertColumnLeft()
{
    const QRect box = selectionBox();
    if (box.isValid())
        knitScene()->editor().insertColumn(box.left());
}

void Chart::insertColumnRight()
{
    const QRect box = selectionBox();
    if (box.isValid())
        knitScene()->editor().insertColumn(box.right() + 1);
}

void Chart::removeRow()
{
    knitScene()->editor().removeRows(selectionBox());
}

void Chart::removeColumn()
{
    knitScene()->editor().removeColumns(selectionBox());
}

void Chart::setBorderLeft()
{
    knitScene()->setBorderLeft(true);
}

void Chart::setBorderRight()
{
    knitScene()->setBorderRight(true);
}

void Chart::setBorderTop()
{
    knitScene()->setBorderTop(true);
}

void Chart::setBorderBottom()
{
    knitScene()->setBorderBottom(true);
}

int Chart::cellWidth() const
{
    return m_grid->options().cellSize.width();
}

int Chart::cellHeight() const
{
    return m_grid->options().cellSize.height();
}

QSize Chart::cellSize() const
{
    return m_grid->options().cellSize;
}

int Chart::sceneWidthPx() const
{
    return ChartLayout(*m_grid).width();
}

int Chart::sceneHeightPx() const
{
    return ChartLayout(*m_grid).height();
}

void Chart::setCellSize(int width, int height)
{
    knitScene()->editor().setCellSize(QSize(width, height));
}

void Chart::setCellSizeDialog()
{
    CellSizeDialog dialog(cellSize(), this);
    if (dialog.exec() == QDialog::Accepted)
        setCellSize(dialog.cellSize().width(), dialog.cellSize().height());
}

void Chart::writtenStyleDialog()
{
    const WrittenOptions before = m_grid->options().written;
    WrittenStyleDialog dialog(m_grid, title, this);
    if (dialog.exec() == QDialog::Accepted && dialog.chosen() != before)
        Q_EMIT chartModified(true);
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
    const ChartLayout layout(*m_grid);
    const float horizontal = float(layout.width()) / width;
    const float vertical = float(layout.gridBottom()) / height;
    scale = qMax(1.0f, qMax(horizontal, vertical));
}

void Chart::applyKnitStyle(KnitStyle style)
{
    m_grid->setKnitStyle(style);
    // Only lace charts skip rows.
    if (style != KnitStyle::Lace)
        skipRowNumbers(false);
    Q_EMIT chartModified(true);
}

void Chart::setKnitStyleFlat()
{
    applyKnitStyle(KnitStyle::Flat);
}

void Chart::setKnitStyleRound()
{
    applyKnitStyle(KnitStyle::Round);
}

void Chart::setKnitStyleLace()
{
    applyKnitStyle(KnitStyle::Lace);
}

void Chart::updateColumnNumbers(int start)
{
    m_grid->setColumnNumberOffset(start - 1);
    Q_EMIT chartModified(true);
}

void Chart::updateRowNumbers(int start)
{
    m_grid->setRowNumberOffset(start - 1);
    Q_EMIT chartModified(true);
}

void Chart::skipRowNumbers(bool skip)
{
    m_grid->setSkipRows(skip);
    Q_EMIT chartModified(true);
}

void Chart::setSide(Side side)
{
    m_grid->setSide(side);
    Q_EMIT chartModified(true);
}

// The menu shows where the numbers are: as this chart chose, or as the
// preference says for a chart that never chose.
void Chart::showNumbersChoice()
{
    if (m_numbersAtBottom)
        m_numbersAtBottom->setChecked(m_grid->options().showsNumbersAtBottom(Preferences::headersBottom.value()));
}

void Chart::showNumbersAtBottom(bool shown)
{
    m_grid->setNumbersAtBottom(shown);
    Q_EMIT chartModified(true);
}

void Chart::settingsUpdateChart()
{
    showNumbersChoice();
    if (m_scene)
        m_scene->updateHeaders();
}

void Chart::updateKeyWords()
{
    if (!textEngine)
        return;
    const QSignalBlocker blocker(textEngine);
    textEngine->updateList();
    m_textEdit->setKeyWords(textEngine->keyWords());
}

void Chart::showChartInstructions(bool on)
{
    if (m_textEdit)
        m_textEdit->setVisible(on);
}

bool Chart::isModified() const
{
    return !m_undoStack->isClean();
}

void Chart::markSaved()
{
    m_undoStack->setClean();
}

void Chart::undo()
{
    m_undoStack->undo();
}

void Chart::redo()
{
    m_undoStack->redo();
}

void Chart::turnOffHighlight()
{
    clearSelection();
}

void Chart::clearSelection()
{
    if (m_scene)
        m_scene->clearSelection();
}

QString Chart::generateInstructions() const
{
    return ChartInstructions::text(title, *m_grid);
}

bool Chart::save(QDataStream &out) const
{
    return ChartRecord::write(out, *m_grid, title, hash, imgSize);
}
