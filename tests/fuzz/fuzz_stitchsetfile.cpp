// Reads stitch-set XML files into a catalogue of their own.

#include "fuzzenvironment.h"

#include "stitch.h"
#include "stitchset.h"
#include "stitchsetfile.h"

#include <QBuffer>
#include <QFile>
#include <QXmlStreamWriter>

namespace {

// A user library in small: many stitches over a few categories, some
// sharing an abbreviation with an earlier one.
QByteArray manyStitches()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&buffer);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("stitch_set"));
    for (int i = 1; i <= 40; ++i) {
        StitchRecord record;
        record.abbrivs = {QStringLiteral("m%1").arg(i), QStringLiteral("m%1").arg(i / 2)};
        record.category = QStringLiteral("C%1").arg(i % 3);
        StitchSetFile::writeStitch(xml, record, false);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return buffer.data();
}

// Nested one level beyond what the reader takes.
QByteArray deepNesting()
{
    const int depth = StitchSetFile::deepestNesting - 2;
    return "<stitch_set><stitch><abbrivs><abbriv>deep</abbriv></abbrivs><name>" + QByteArray("<a>").repeated(depth)
        + "x" + QByteArray("</a>").repeated(depth) + "</name></stitch></stitch_set>\n";
}

void writeSeeds(FuzzEnvironment &seeds)
{
    QFile builtin(QStringLiteral(":/stitches_yrn.xml"));
    builtin.open(QIODevice::ReadOnly);
    // The first few stitches of the built-in set are plenty to start from.
    QByteArray head = builtin.readAll();
    const int cut = head.indexOf("</stitch>", 3000);
    if (cut > 0)
        head = head.left(cut + 9) + "\n</stitch_set>\n";
    seeds.addSeed(QStringLiteral("builtin.xml"), head);

    Stitch own;
    own.setName(QStringLiteral("Bobble"));
    own.setAbbrivs({QStringLiteral("mb"), QStringLiteral("bob")});
    own.setCategory(QStringLiteral("Mine"));
    own.setOpposite(QStringLiteral("mb"));
    own.setDescription(QStringLiteral("Make a bobble & turn <twice>"));
    own.setMade(3);
    own.setPaths({QStringLiteral(":/stitches/unknown.svg")});
    const QString path = FuzzEnvironment::scratchPath(QStringLiteral("own.xml"));
    StitchSetFile::write(path, {QStringLiteral("Mine"), QStringLiteral("Own stitches"), QStringLiteral("Me"),
                                QStringLiteral("here")},
                         {&own});
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    seeds.addSeed(QStringLiteral("own.xml"), written.readAll());
    seeds.addSeed(QStringLiteral("many.xml"), manyStitches());
    seeds.addSeed(QStringLiteral("deep.xml"), deepNesting());

    for (const char *token :
         {"<stitch_set>", "</stitch_set>", "<set_name>", "<set_description>", "<set_author>", "<set_location>",
          "<stitch>", "</stitch>", "<name>", "<category>", "<worked>", "<made>", "<description>", "<opposite>",
          "<builtin>1</builtin>",
          "<abbrivs>", "<abbriv>", "</abbrivs>", "<images>", "<image>", "</images>", "<?xml version=\"1.0\"?>",
          "<!DOCTYPE", "<!ENTITY", "&amp;", "<![CDATA[", "]]>", "&#x", ":/stitches/"})
        seeds.addPlainToken(token);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzEnvironment::writeInput(data, size, QStringLiteral("input.xml"));
    StitchSet set;
    StitchSetFile::read(path, set);
    FuzzEnvironment::reset();
    return 0;
}
