#include "stitchsetexchange.h"
#include "stitchfixtures.h"
#include "testenvironment.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <QtTest>

class TestStitchSetExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void writtenBytes_data();
    void writtenBytes();
    void versions_data();
    void versions();
    void afterAGoodRecord_data();
    void afterAGoodRecord();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// The stream encoding, spelled out byte by byte so that the test does not
// share the writer's assumptions.
static QByteArray int32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

static QByteArray string(const QString &text)
{
    QByteArray bytes = int32(qint32(text.size() * 2));
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xff));
    }
    return bytes;
}

static QByteArray bytes(const QByteArray &data)
{
    return int32(qint32(data.size())) + data;
}

static QByteArray fileStart(qint32 version = 200910)
{
    return int32(0x2AC9863E) + int32(version);
}

// "Dot", without a count or with its counts before the end tag.
static QByteArray dotRecord(const QByteArray &counts = QByteArray())
{
    return string("<Stitch>") + string("Name:") + string("Dot") + string("Abbrivs:") + int32(2) + string("dt")
        + string("d2") + string("Icons:") + int32(1) + string("dot.svg") + bytes("abc") + string("Description:")
        + string("A dot") + string("Opposite:") + string("dt") + string("Category:") + string("Misc") + counts
        + string("</Stitch>");
}

static QByteArray counts(qint32 worked, qint32 made)
{
    return string("Worked:") + int32(worked) + string("Made:") + int32(made);
}

// A set of stitches that all work 1 and make 1 is written as before, in
// the version before counts, which older readers read; one that counts
// anything else takes the next version, which they refuse as newer.
void TestStitchSetExchange::writtenBytes_data()
{
    QTest::addColumn<QList<int>>("workedMade"); // per stitch
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("1 and 1, as before") << QList<int>{1, 1} << fileStart() + dotRecord();
    QTest::newRow("a decrease") << QList<int>{2, 1} << fileStart(200911) + dotRecord(counts(2, 1));
    QTest::newRow("No Stitch") << QList<int>{0, 0} << fileStart(200911) + dotRecord(counts(0, 0));
    QTest::newRow("one counted among plain") << QList<int>{1, 1, 3, 1}
                                             << fileStart(200911) + dotRecord() + dotRecord(counts(3, 1));
}

void TestStitchSetExchange::writtenBytes()
{
    QFETCH(QList<int>, workedMade);
    QFETCH(QByteArray, expected);
    const StitchRecord dot{"Dot", {"dt", "d2"}, {m_env->writeScratch("dot.svg", "abc")}, "A dot", "dt", "Misc"};
    QList<StitchRecord> records;
    for (int i = 0; i + 1 < workedMade.size(); i += 2) {
        records.append(dot);
        records.last().worked = workedMade.at(i);
        records.last().made = workedMade.at(i + 1);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StitchSetExchange exchange(&buffer);
    QCOMPARE(exchange.writeSet(records), StitchSetExchange::Ok);
    QCOMPARE(buffer.data(), expected);
    QVERIFY(StitchSetExchange::versionFor(records) <= StitchSetExchange::formatVersion);
}

// Every version up to ours reads alike; a newer one is refused before its
// records.
void TestStitchSetExchange::versions_data()
{
    QTest::addColumn<qint32>("version");
    QTest::addColumn<QByteArray>("counts");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("read"); // worked/made
    QTest::newRow("older") << 200905 << QByteArray() << int(StitchSetExchange::Ok) << "1/1";
    QTest::newRow("without counts") << 200910 << QByteArray() << int(StitchSetExchange::Ok) << "1/1";
    QTest::newRow("with counts") << 200911 << counts(4, 4) << int(StitchSetExchange::Ok) << "4/4";
    QTest::newRow("counts at the limit") << 200911 << counts(64, 0) << int(StitchSetExchange::Ok) << "64/0";
    QTest::newRow("newer") << 200912 << QByteArray() << int(StitchSetExchange::NewerVersion) << "";
}

void TestStitchSetExchange::versions()
{
    QFETCH(qint32, version);
    QFETCH(QByteArray, counts);
    QFETCH(int, status);
    QFETCH(QString, read);
    QByteArray file = fileStart(version) + dotRecord(counts);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    StitchSetExchange reader(&buffer);
    QCOMPARE(int(reader.readHeader()), status);
    QCOMPARE(reader.version(), version);
    if (status != StitchSetExchange::Ok)
        return;
    StitchSetExchange::Entry entry;
    QCOMPARE(reader.readStitch(entry), StitchSetExchange::Ok);
    QCOMPARE(StitchFixtures::counts(entry.record.worked, entry.record.made), read);
    QVERIFY(reader.atEnd());
}

void TestStitchSetExchange::afterAGoodRecord_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("status");
    const int damaged = StitchSetExchange::Damaged;
    const QByteArray start = string("<Stitch>") + string("Name:") + string("Next");
    QTest::newRow("negative count") << start + string("Abbrivs:") + int32(-1) << damaged;
    QTest::newRow("count beyond the file") << start + string("Abbrivs:") + int32(0x7fffffff) + string("a") << damaged;
    QTest::newRow("icon count beyond the file") << start + string("Icons:") + int32(2) + string("a.svg") + bytes("x")
                                                << damaged;
    QTest::newRow("image beyond the file") << start + string("Icons:") + int32(1) + string("a.svg") + int32(1000) + "abc"
                                           << damaged;
    QTest::newRow("string beyond the file") << start + string("Opposite:") + int32(1 << 30) + "ab" << damaged;
    QTest::newRow("odd string length") << start + string("Opposite:") + int32(3) + "abc" + string("</Stitch>")
                                       << damaged;
    QTest::newRow("cut inside a length") << start + QByteArray("\0\0", 2) << damaged;
    QTest::newRow("count beyond the limit") << start + counts(65, 1) << damaged;
    QTest::newRow("negative count of stitches") << start + counts(1, -1) << damaged;
    QTest::newRow("count of stitches cut short") << start + string("Made:") + QByteArray("\0\0", 2) << damaged;
    // Tokens come in any order, unknown ones are passed over, and a record
    // that the file ends between two tokens is taken as far as it goes.
    QTest::newRow("any order, unknown token") << string("Category:") + string("Misc") + string("Later:") + start
                                                     + string("</Stitch>")
                                              << int(StitchSetExchange::Ok);
    QTest::newRow("cut between tokens") << start << int(StitchSetExchange::Ok);
}

void TestStitchSetExchange::afterAGoodRecord()
{
    QFETCH(QByteArray, tail);
    QFETCH(int, status);
    QByteArray file = fileStart() + dotRecord() + tail;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    StitchSetExchange reader(&buffer);
    QCOMPARE(reader.readHeader(), StitchSetExchange::Ok);
    StitchSetExchange::Entry entry;
    QCOMPARE(reader.readStitch(entry), StitchSetExchange::Ok);
    QCOMPARE(entry.record.abbrivs, (QStringList{"dt", "d2"}));
    QCOMPARE(entry.icons.first().data, QByteArray("abc"));
    QCOMPARE(int(reader.readStitch(entry)), status);
    if (status == StitchSetExchange::Ok) {
        QCOMPARE(entry.record.name, QStringLiteral("Next"));
        QVERIFY(reader.atEnd());
    }
}

YARNWISE_CORE_TEST_MAIN(TestStitchSetExchange)
#include "tst_stitchsetexchange.moc"
