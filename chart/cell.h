#ifndef CELL_H
#define CELL_H

#include <QColor>
#include <QGraphicsRectItem>
#include <QObject>

// A square of the chart: a rectangle item that can also send signals. Its
// rectangle is in scene coordinates; the item itself stays at the origin.
class Cell : public QObject, public QGraphicsRectItem
{
    Q_OBJECT

public:
    Cell(int x, int y, int w, int h, int headerWidth, int headerHeight);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    void setRect(int x, int y, int w, int h);
    virtual void setRect(const QRectF &rect);

    QColor color() const { return m_color; }
    bool isCellSelected() const { return m_selected; }

    int headerWidth = 0;
    int headerHeight = 0;

public Q_SLOTS:
    void setColor(const QColor &color);
    virtual void setSelected(bool selected);

Q_SIGNALS:
    // (x, y) is the top-left corner of the cell's rectangle in scene
    // coordinates.
    void colorChanged(int x, int y, const QColor &color, const QColor &oldColor);

protected:
    // Called after the colour changed; the chart grid forwards it without a
    // connection per cell.
    virtual void colorWasChanged(const QColor &color, const QColor &oldColor);

    QColor m_color = Qt::transparent;
    bool m_selected = false;
};

#endif // CELL_H
