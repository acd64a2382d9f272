#ifndef KNITCELL_H
#define KNITCELL_H

#include "cell.h"

class KnitScene;
class QPixmap;
#include "stitch.h"

// One stitch position of the chart: a stitch (or one cell of a multi-cell
// stitch), a background colour, four borders and the selection flag.
class KnitCell : public Cell
{
    Q_OBJECT

public:
    KnitCell(int x, int y, int w, int h, int headerWidth, int headerHeight);

    Stitch *stitch() const { return m_stitch; }
    int imgPos() const { return m_imgPos; }
    bool isSvg() const { return m_isSvg; }
    bool svgAllowed() const { return m_svgAllowed; }

    bool leftBorder() const { return m_borders[Left].on; }
    bool rightBorder() const { return m_borders[Right].on; }
    bool topBorder() const { return m_borders[Top].on; }
    bool bottomBorder() const { return m_borders[Bottom].on; }
    QColor leftBorderColor() const { return m_borders[Left].color; }
    QColor rightBorderColor() const { return m_borders[Right].color; }
    QColor topBorderColor() const { return m_borders[Top].color; }
    QColor bottomBorderColor() const { return m_borders[Bottom].color; }

    using Cell::setRect;
    void setRect(const QRectF &rect) override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    bool drawBorders(QPainter *painter, const QStyleOptionGraphicsItem *option);

    // The scene that hears of every change; set when the scene wires the cell.
    void setOwner(KnitScene *scene) { m_owner = scene; }
    // The cell's own place in the stacking order. "No Stitch" cells lie
    // below all others, so that their neighbours' borders stay visible.
    void setStackingOrder(int z);

public Q_SLOTS:
    void setStitch(Stitch *stitch, int imgPos = 0);
    void setSelected(bool selected) override;
    void setLeftBorder(bool border, const QColor &color = Qt::black);
    void setRightBorder(bool border, const QColor &color = Qt::black);
    void setTopBorder(bool border, const QColor &color = Qt::black);
    void setBottomBorder(bool border, const QColor &color = Qt::black);
    void setRowAndCol(int row = 0, int col = 0);
    int row() const { return m_row; }
    int col() const { return m_col; }
    void updateImage();
    void allowSvgRendering(bool allowed) { m_svgAllowed = allowed; }

Q_SIGNALS:
    void stitchChanged(int x, int y, Stitch *stitch, Stitch *oldStitch);

protected:
    void colorWasChanged(const QColor &color, const QColor &oldColor) override;

public:
    enum Side { Left, Right, Top, Bottom };
    bool hasBorder(Side side) const { return m_borders[side].on; }
    QColor borderColor(Side side) const { return m_borders[side].color; }
    void setBorder(Side side, bool on, const QColor &color);

private:
    struct Border
    {
        bool on = false;
        QColor color = Qt::transparent;
    };

    void applyStackingOrder();
    void drawStitchImage(QPainter *painter, const QRect &area);

    KnitScene *m_owner = nullptr;
    Stitch *m_stitch = nullptr;
    int m_imgPos = 0;
    int m_row = 0;
    int m_col = 0;
    bool m_isSvg = false;
    bool m_svgAllowed = false;
    QPixmap *m_image = nullptr;
    Border m_borders[4];
    int m_baseZ = 0;
};

#endif // KNITCELL_H
