#ifndef DIRECTIONSPRINTER_H
#define DIRECTIONSPRINTER_H

#include "directionsrecord.h"
#include "pagedocument.h"

#include <QFont>
#include <QList>
#include <QString>

class QPrinter;
class QTextDocument;

// Prints the Directions page across as many pages as it needs, each with
// its footers below the text: the designer's own footer, the credit line
// and "Page n of m". Footers can be switched off in the preferences; the
// page number always shows.
class DirectionsPrinter
{
public:
    // `body` is laid out anew for the printer; returns the pages printed.
    static int print(QTextDocument *body, QPrinter *printer);
    // The page from its text and pictures, as a pattern file holds them.
    static int print(const QString &html, const QList<DirectionsPicture> &pictures, QPrinter *printer,
                     const PictureArtworks &artworks = PictureArtworks());

    // The font the page's text is set in unless it says otherwise.
    static QFont pageFont();
    // The pattern's title as the page gives it: its first line of text.
    static QString titleOf(const QString &plainText);
};

#endif // DIRECTIONSPRINTER_H
