// The pictures of the Directions page, its record in the pattern file and
// its printing.

#include "directions.h"

#include "boundedhtml.h"
#include "directionsprinter.h"
#include "pagedocument.h"
#include "preferences.h"
#include "recordstream.h"
#include "settings.h"
#include "textedit.h"
#include "textundostack.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QPrinter>
#include <QScrollBar>
#include <QTextCursor>

QByteArray Directions::imageHash(const QImage &image)
{
    return DirectionsRecord::imageHash(image);
}

QString Directions::imageName(const QByteArray &hash)
{
    return DirectionsRecord::imageName(hash);
}

QList<QImage> Directions::images() const
{
    QList<QImage> list;
    list.reserve(m_images.size());
    for (const Picture &picture : m_images)
        list.append(picture.image);
    return list;
}

void Directions::addPicture(const Picture &picture)
{
    m_images.append(picture);
    m_textEdit->document()->addResource(QTextDocument::ImageResource, QUrl(imageName(picture.hash)),
                                        picture.image);
}

void Directions::registerImages(QTextDocument *doc) const
{
    for (const Picture &picture : m_images)
        doc->addResource(QTextDocument::ImageResource, QUrl(imageName(picture.hash)), picture.image);
}

void Directions::insertImage()
{
    const QString folder = Preferences::fileFolder();
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Insert Image"), folder,
        tr("All Image Files (*.jpg *.jpeg *.gif *.png *.svg *.svgz *.bmp *.tiff)"));
    if (fileName.isEmpty())
        return;
    // A picture that cannot be read could never be written into the
    // pattern file either.
    QImageReader reader(fileName);
    const QImage image = reader.read();
    if (image.isNull()) {
        QMessageBox::warning(this, tr("Insert Image"),
                             tr("The image %1 could not be read: %2")
                                 .arg(QDir::toNativeSeparators(fileName), reader.errorString()));
        return;
    }
    insertChartImage(image);
}

void Directions::insertChartImage(const QImage &image)
{
    if (image.isNull()) {
        qWarning() << "Directions: an empty picture is not inserted";
        return;
    }
    const Picture picture = Picture::fromImage(image);
    addPicture(picture);
    m_textEdit->textCursor().insertImage(imageName(picture.hash));
}

void Directions::updateImage(const QByteArray &oldHash, const QByteArray &newHash, const QImage &image)
{
    if (image.isNull()) {
        qWarning() << "Directions: an empty picture does not replace" << oldHash;
        return;
    }
    addPicture(Picture{image, DirectionsRecord::pngBytes(image), newHash});
    QString html = m_textEdit->toHtml();
    const QString oldName = imageName(oldHash);
    if (!html.contains(oldName))
        return;
    html.replace(oldName, imageName(newHash));

    // Setting the text anew would mark the page as saved and move to its
    // top; a new picture changes neither.
    const bool modified = isModified();
    const int position = m_textEdit->textCursor().position();
    const int scroll = m_textEdit->verticalScrollBar()->value();
    m_textEdit->setHtml(html);
    // The text's own history went with the old text.
    m_undoStack->clear();
    m_textEdit->relayout();
    setModified(modified);
    QTextCursor cursor = m_textEdit->textCursor();
    cursor.setPosition(qMin(position, m_textEdit->document()->characterCount() - 1));
    m_textEdit->setTextCursor(cursor);
    m_textEdit->verticalScrollBar()->setValue(scroll);
}

void Directions::loadImages()
{
    registerImages(m_textEdit->document());
    m_textEdit->relayout();
}

bool Directions::save(QDataStream &out) const
{
    return DirectionsRecord::write(out, m_name, m_textEdit->toHtml(), m_images);
}

bool Directions::loadDirections(QDataStream &in)
{
    DirectionsValues values;
    DirectionsRecord::read(in, values);
    return load(std::move(values));
}

bool Directions::load(DirectionsValues &&values)
{
    m_name = values.name;
    m_images = std::move(values.pictures);
    m_loadErrors = std::move(values.errors);
    // The text comes last, so that it finds its pictures as it is laid out.
    loadImages();
    if (values.hasHtml) {
        m_textEdit->setHtml(BoundedHtml::bound(values.html));
        m_undoStack->clear();
        updatePageSize();
    }
    return m_loadErrors.isEmpty();
}

// The page is printed from a copy laid out for the printer, with its
// footers; the copy too shows only the page's own pictures.
void Directions::print(QPrinter *printer, const PictureArtworks &artworks)
{
    if (!printer)
        return;
    PageDocument page;
    page.setArtworks(artworks);
    registerImages(&page);
    page.setDefaultFont(m_textEdit->document()->defaultFont());
    page.setHtml(m_textEdit->toHtml());
    DirectionsPrinter::print(&page, printer);
}
