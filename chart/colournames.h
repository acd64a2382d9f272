#ifndef COLOURNAMES_H
#define COLOURNAMES_H

#include <QColor>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// The names a pattern's key gives its yarn colours, as colourwork patterns
// write them: "MC" for the main colour, "CC1", "CC2" and so on for the
// contrast colours. The designer may name any colour; every other colour
// in use gets a default by how many cells it covers. Plain values and pure
// functions, so the window and the command line name colours alike.
namespace ColourNames {

// The names the designer gave, by the colour's ARGB value: cells that look
// alike share a name, however their colour was made.
using Given = QMap<QRgb, QString>;
// Colours in use with the number of cells each.
using Tally = QList<QPair<QColor, int>>;

// No key names a yarn at greater length; a file giving a longer name is
// damaged.
constexpr int longestName = 40;

struct Named
{
    QColor colour;
    QString name;
    // The designer gave the name; otherwise it is a default.
    bool given = false;

    bool operator==(const Named &other) const
    {
        return colour == other.colour && name == other.name && given == other.given;
    }
    bool operator!=(const Named &other) const { return !(*this == other); }
};

// Each valid colour of `used` once, by its ARGB value, with the cells of
// all its entries, in the order they first come.
Tally merged(const Tally &used);

// A name as the designer meant it: on one line, blanks only between words,
// and no longer than longestName.
QString cleaned(const QString &name);

// The default name at `index` of the colours in order: "MC", then "CC1",
// "CC2" and so on.
QString defaultName(int index);

// Every valid colour of `used`, once, with its name. The most used comes
// first; colours used as often are ordered by QColor::name(), so the order
// never depends on where the cells lie. A colour the designer named keeps
// its name; the others take the defaults in that order, passing over any
// default the designer gave a colour in use (case aside), also as the
// first word of a name ("MC: Slate").
QList<Named> name(const Tally &used, const Given &given);

// The colours the key lists: those of name(), but none for charts of a
// single colour the designer did not name, whose key stays as it always
// was.
QList<Named> forKey(const Tally &used, const Given &given);

} // namespace ColourNames

#endif // COLOURNAMES_H
