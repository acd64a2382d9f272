// Reads the update server's reply.

#include "fuzzenvironment.h"

#include "applicationupdate.h"

#include <QUrl>

namespace {

const QUrl server(QStringLiteral("https://updates.yarnwise.example.org/software/current.php"));

void writeSeeds(FuzzEnvironment &seeds)
{
    seeds.addSeed(QStringLiteral("offer.xml"),
                  "<?xml version=\"1.0\"?>\n"
                  "<version>\n"
                  "  <version>1.6.0</version>\n"
                  "  <file>downloads/yarnwise-1.6.0.tar.gz</file>\n"
                  "  <message>Charts now print faster.</message>\n"
                  "  <description>Faster printing &amp; a new stitch set.</description>\n"
                  "</version>\n");
    seeds.addSeed(QStringLiteral("absolute.xml"),
                  "<version><version>2.0.1</version>"
                  "<file>https://updates.yarnwise.example.org/yarnwise-2.0.1.dmg</file></version>");

    for (const char *token :
         {"<version>", "</version>", "<file>", "</file>", "<message>", "</message>", "<description>",
          "</description>", "<?xml version=\"1.0\"?>", "<!DOCTYPE version [", "<!ENTITY", "&amp;", "<![CDATA[",
          "]]>", "https://", "http://", "1.2.3"})
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
    ApplicationUpdate::Offer offer;
    QString problem;
    ApplicationUpdate::readOffer(FuzzEnvironment::bytes(data, size), server, &offer, &problem);
    return 0;
}
