// Reads stitch-set XML files into a catalogue of their own.

#include "fuzzenvironment.h"

#include "stitch.h"
#include "stitchset.h"
#include "stitchsetfile.h"

#include <QFile>

namespace {

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
    own.setPaths({QStringLiteral(":/stitches/unknown.svg")});
    const QString path = FuzzEnvironment::scratchPath(QStringLiteral("own.xml"));
    StitchSetFile::write(path, {QStringLiteral("Mine"), QStringLiteral("Own stitches"), QStringLiteral("Me"),
                                QStringLiteral("here")},
                         {&own});
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    seeds.addSeed(QStringLiteral("own.xml"), written.readAll());

    for (const char *token :
         {"<stitch_set>", "</stitch_set>", "<set_name>", "<set_description>", "<set_author>", "<set_location>",
          "<stitch>", "</stitch>", "<name>", "<category>", "<description>", "<opposite>", "<builtin>1</builtin>",
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
