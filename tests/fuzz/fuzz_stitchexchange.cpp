// Imports stitch set exchange files (".set") into the stitch library, as
// its Import command does.

#include "fuzzenvironment.h"

#include "stitchlibrary.h"
#include "stitchlibrarymodel.h"
#include "stitchsetexchange.h"

#include <QBuffer>
#include <QImage>

namespace {

StitchLibrary *library = nullptr;
int startRows = 0;

void writeSeeds(FuzzEnvironment &seeds)
{
    const QString iconPath = FuzzEnvironment::scratchPath(QStringLiteral("bobble.png"));
    QImage icon(3, 3, QImage::Format_ARGB32);
    icon.fill(Qt::magenta);
    icon.save(iconPath);

    StitchRecord drawn;
    drawn.name = QStringLiteral("Bobble");
    drawn.abbrivs = {QStringLiteral("mb"), QStringLiteral("bob")};
    drawn.paths = {iconPath};
    drawn.description = QStringLiteral("Make a bobble");
    drawn.opposite = QStringLiteral("mb");
    drawn.category = QStringLiteral("Mine");
    StitchRecord plain;
    plain.name = QStringLiteral("Twist");
    plain.abbrivs = {QStringLiteral("tw")};
    plain.category = QStringLiteral("Cables");

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    StitchSetExchange exchange(&buffer);
    exchange.writeHeader();
    exchange.writeStitch(drawn);
    exchange.writeStitch(plain);
    buffer.close();
    seeds.addSeed(QStringLiteral("two.set"), bytes);

    for (const char *token :
         {"<Stitch>", "</Stitch>", "Name:", "Abbrivs:", "Icons:", "Description:", "Opposite:", "Category:", "k"})
        seeds.addStreamToken(QString::fromLatin1(token));
    seeds.addPlainToken(QByteArray::fromHex("2ac9863e"));
    seeds.addPlainToken(QByteArray::fromHex("000310ce"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    library = new StitchLibrary;
    startRows = library->model()->rowCount();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzEnvironment::writeInput(data, size, QStringLiteral("input.set"));
    library->readSetFile(path);
    // The imported rows go, so that every input meets the same library.
    StitchLibraryModel *model = library->model();
    model->removeRows(startRows, model->rowCount() - startRows);
    FuzzEnvironment::reset();
    return 0;
}
