#ifndef IMAGEFIXTURES_H
#define IMAGEFIXTURES_H

#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>

// The pixels of `image` within `area` (the whole image when none is given)
// whose colour passes `test`: how many, and the smallest rectangle around
// them.
struct Pixels
{
    int count = 0;
    QRect box;
};

inline Pixels pixelsWhere(const QImage &image, const std::function<bool(const QColor &)> &test,
                          const QRect &area = QRect())
{
    Pixels found;
    const QRect within = area.isNull() ? image.rect() : area & image.rect();
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (test(image.pixelColor(x, y))) {
                ++found.count;
                found.box |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

// Ink on paper: darker than middle grey.
inline bool inked(const QColor &color)
{
    return qGray(color.rgb()) < 128;
}

// Colours of less than `lightness` (of 255).
inline std::function<bool(const QColor &)> darkerThan(int lightness)
{
    return [lightness](const QColor &color) { return color.lightness() < lightness; };
}

#endif // IMAGEFIXTURES_H
