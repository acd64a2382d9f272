// Imports stitch set exchange files (".set") into the stitch library, as
// its Import command does, with a link planted in the user's stitch-image
// folder under the name of the seeds' image: an import that writes through
// it stops the run.

#include "fuzzenvironment.h"

#include "stitchlibrary.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"
#include "stitchsetexchange.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

StitchLibrary *library = nullptr;
int startRows = 0;

QByteArray setOf(const QList<StitchRecord> &records)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    StitchSetExchange exchange(&buffer);
    exchange.writeSet(records);
    return bytes;
}

// Images named with folders, which the writer never writes.
QByteArray foldersInNames()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << StitchSetExchange::magicNumber << StitchSetExchange::formatVersion << QStringLiteral("<Stitch>")
        << QStringLiteral("Abbrivs:") << qint32(1) << QStringLiteral("up") << QStringLiteral("Icons:") << qint32(3)
        << QStringLiteral("../bobble.png") << QByteArray("a") << QStringLiteral("..\\..\\bobble.png")
        << QByteArray("b") << QStringLiteral("/bobble.png") << QByteArray("c") << QStringLiteral("</Stitch>");
    return bytes;
}

QString outsideTarget()
{
    return FuzzEnvironment::scratchPath(QStringLiteral("outside.png"));
}

void plantLink()
{
    QDir().mkpath(StitchSet::userIconFolder());
    QFile::link(outsideTarget(), StitchSet::userIconFolder() + QStringLiteral("/bobble.png"));
}

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

    seeds.addSeed(QStringLiteral("two.set"), setOf({drawn, plain}));
    QList<StitchRecord> many;
    for (int i = 1; i <= 40; ++i)
        many.append({QString(), {QStringLiteral("m%1").arg(i)}, {}, QString(), QString(), QStringLiteral("C%1").arg(i % 3)});
    seeds.addSeed(QStringLiteral("many.set"), setOf(many));
    seeds.addSeed(QStringLiteral("folders.set"), foldersInNames());
    StitchRecord cable;
    cable.name = QStringLiteral("Cable");
    cable.abbrivs = {QStringLiteral("c4")};
    cable.category = QStringLiteral("Cables");
    cable.worked = 4;
    cable.made = 4;
    seeds.addSeed(QStringLiteral("counted.set"), setOf({cable}));

    for (const char *token : {"<Stitch>", "</Stitch>", "Name:", "Abbrivs:", "Icons:", "Description:", "Opposite:",
                              "Category:", "Worked:", "Made:", "k"})
        seeds.addStreamToken(QString::fromLatin1(token));
    seeds.addPlainToken(QByteArray::fromHex("2ac9863e"));
    seeds.addPlainToken(QByteArray::fromHex("000310ce"));
    seeds.addPlainToken(QByteArray::fromHex("000310cf"));
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
    plantLink();
    library->readSetFile(path);
    if (QFileInfo::exists(outsideTarget())) {
        std::fprintf(stderr, "the import wrote through a link in the stitch-image folder\n");
        std::abort();
    }
    // The imported rows go, so that every input meets the same library.
    StitchLibraryModel *model = library->model();
    model->removeRows(startRows, model->rowCount() - startRows);
    FuzzEnvironment::reset();
    return 0;
}
