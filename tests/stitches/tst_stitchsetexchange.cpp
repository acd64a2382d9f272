#include "stitchsetexchange.h"
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

    void writtenBytes();
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

static QByteArray fileStart()
{
    return int32(0x2AC9863E) + int32(200910);
}

static QByteArray dotRecord()
{
    return string("<Stitch>") + string("Name:") + string("Dot") + string("Abbrivs:") + int32(2) + string("dt")
        + string("d2") + string("Icons:") + int32(1) + string("dot.svg") + bytes("abc") + string("Description:")
        + string("A dot") + string("Opposite:") + string("dt") + string("Category:") + string("Misc")
        + string("</Stitch>");
}

void TestStitchSetExchange::writtenBytes()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StitchSetExchange exchange(&buffer);
    exchange.writeHeader();
    const StitchRecord dot{"Dot", {"dt", "d2"}, {m_env->writeScratch("dot.svg", "abc")}, "A dot", "dt", "Misc"};
    QCOMPARE(exchange.writeStitch(dot), StitchSetExchange::Ok);

    QCOMPARE(buffer.data().left(8).toHex(), QByteArray("2ac9863e000310ce"));
    QCOMPARE(buffer.data(), fileStart() + dotRecord());
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
