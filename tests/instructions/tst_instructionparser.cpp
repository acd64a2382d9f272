#include "chartfixtures.h"
#include "instructionparser.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QCoreApplication>
#include <QtTest>

class TestInstructionParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void parseLine_data();
    void parseLine();
    void unknownWords_data();
    void unknownWords();
    void keywordsAreLiteral_data();
    void keywordsAreLiteral();
    void absurdCountsStayBounded();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// Whether `longer` is `shorter` followed by a count ("nupp7" and "nupp").
void TestInstructionParser::initTestCase()
{
    StitchSet::instance()->load();
}


void TestInstructionParser::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("wrongSide");
    QTest::addColumn<QString>("row"); // leftmost cell first, 6 wide

    QTest::newRow("knit and purl") << "k2, p2, k2" << false << "k k p p k k";
    QTest::newRow("padded at the left") << "yo, p3" << false << "x x p p p yo";
    QTest::newRow("wrong side, padded at the right") << "p4" << true << "k k k k x x";
    QTest::newRow("case ignored") << "K3, P3" << false << "p p p k k k";
    QTest::newRow("blank before the count") << "k 3" << false << "x x x k k k";
    QTest::newRow("blank before a comma") << "k3 , p3" << false << "p p p k k k";
    QTest::newRow("cable counts its cells") << "22rc, k2" << false << "k k 22rc 22rc 22rc 22rc";
    QTest::newRow("too long for the row") << "k10" << false << "k k k k k k";
    QTest::newRow("unknown word dropped") << "zz3, k3" << false << "x x x k k k";
    QTest::newRow("empty line") << "" << false << "x x x x x x";
    QTest::newRow("abbreviation with a space") << "k1 tbl2, k1" << false << "x x x k k1_tbl k1_tbl";
    QTest::newRow("group") << "(k1, p1) 2 times, k2" << false << "k k p k p k";
    QTest::newRow("bracketed group") << "k1, [yo, k2tog] 2 TIMES" << false << "x k2tog yo k2tog yo k";
    QTest::newRow("nested groups") << "((k1) 2 times, p1) 2 times" << false << "p k k p k k";
    // Brackets that open no group are read as the characters they are.
    QTest::newRow("group without a count is no group") << "(k1, p1), k1" << false << "x x x k p k";
    QTest::newRow("unclosed group") << "(k1, p1 3 times" << false << "x x x x p k";
    QTest::newRow("group of a digit-ending stitch") << "(yo2x) 2 times" << false << "x x x x yo2x yo2x";
    // What the published style writes.
    QTest::newRow("label, capital, star repeat to end")
        << "Row 1 (RS): K1, *p1, k1; rep from * to end." << false << "x k p k p k";
    QTest::newRow("star repeat to last stitches") << "*k2, p1; rep from * to last 3 sts, k3" << false
                                                  << "k k k p k k";
    QTest::newRow("one stitch to the last") << "p to last 2 sts, k2" << false << "k k p p p p";
    QTest::newRow("to end, then a yarn over") << "k to end, yo" << false << "yo k k k k k";
    QTest::newRow("bracketed once") << "[k1, p1] once, k4" << false << "k k k k p k";
    QTest::newRow("a whole row in a word") << "Purl." << true << "k k k k k k";
    QTest::newRow("stitch count after the full stop") << "K1, yo, k1, yo, k1. 5 sts" << false << "x k yo k yo k";
    QTest::newRow("stitch count in brackets") << "k2, p2 (4 sts)" << false << "x x p p k k";
    QTest::newRow("round label, full stop") << "Rnd 3: k3." << false << "x x x k k k";
    // What typed patterns hold.
    QTest::newRow("blanks between items") << "K1 P2 K3" << false << "k k k p p k";
    QTest::newRow("trailing blank") << "k2, p2 " << false << "x x p p k k";
    QTest::newRow("stitches then to the end") << "k2, p2, k to end" << false << "k k p p k k";
    QTest::newRow("times written x3") << "[k1, p1] x3" << false << "p k p k p k";
    QTest::newRow("abbreviation with a blank, then to the last") << "k1 tbl, k to last 2 sts, p2" << false
                                                                  << "p p k k k k1_tbl";
    QTest::newRow("label naming several rows") << "Rows 1, 3 and 5: k6" << false << "k k k k k k";
    QTest::newRow("knit one row") << "Knit 1 row" << false << "k k k k k k";
}

void TestInstructionParser::parseLine()
{
    QFETCH(QString, line);
    QFETCH(bool, wrongSide);
    QFETCH(QString, row);
    const InstructionParser parser(StitchSet::instance()->keyWords());
    const QList<Stitch *> parsed = InstructionParser::row(parser.cells(line, 6), 6, wrongSide);
    QCOMPARE(stitchIds(parsed), QString(row).replace(QLatin1Char('_'), QLatin1Char(' ')));
}

// Lines as designers type them into a 40-stitch row: what they work and
// which of their words are not stitches.
void TestInstructionParser::unknownWords_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QStringList>("unknown");
    QTest::newRow("to end") << "k2, p2, yo, k2tog, k to end" << 40 << QStringList();
    QTest::newRow("two typos") << "k2, pp2, yo, k2tgo, k34" << 37 << QStringList{"pp2", "k2tgo"};
    QTest::newRow("star repeat to end") << "*k2, p2; rep from * to end" << 40 << QStringList();
    QTest::newRow("blanks for commas") << "K2 P2 K2 P2" << 8 << QStringList();
    QTest::newRow("trailing blank") << "k2, p2 " << 4 << QStringList();
    QTest::newRow("full stop") << "k3." << 3 << QStringList();
    QTest::newRow("blank before a comma") << "k3 , p3" << 6 << QStringList();
    QTest::newRow("a repeat misspelt") << "*k2, p2; rep form * to end" << 4
                                       << QStringList{"rep", "form", "to", "end"};
    QTest::newRow("a cast-on line") << "Cast on 24 sts." << 0 << QStringList{"Cast", "on", "24", "sts"};
}

void TestInstructionParser::unknownWords()
{
    QFETCH(QString, line);
    QFETCH(int, cells);
    QFETCH(QStringList, unknown);
    const InstructionParser parser(StitchSet::instance()->keyWords());
    const InstructionParser::Reading reading = parser.read(line, 40, 41);
    QCOMPARE(reading.cells.size(), cells);
    QStringList words;
    for (const InstructionParser::Span &span : reading.unknown)
        words.append(line.mid(span.start, span.length));
    QCOMPARE(words, unknown);
}

void TestInstructionParser::keywordsAreLiteral_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("plus") << "m1+2, k1" << QStringList{"m1+", "m1+", "k"};
    QTest::newRow("parentheses") << "c2(f)" << QStringList{"c2(f)"};
    QTest::newRow("dot is not a wildcard") << "kxb, k.b" << QStringList{"k.b"};
    QTest::newRow("empty keyword matches nothing") << "zz" << QStringList{};
    QTest::newRow("letters beyond ASCII") << QString::fromUtf8("strø2, k1") << QStringList{QString::fromUtf8("strø"), QString::fromUtf8("strø"), "k"};
    QTest::newRow("capitals beyond ASCII") << QString::fromUtf8("STRØ") << QStringList{QString::fromUtf8("strø")};
    // A letter outside the first plane is one character of the word, a
    // picture character is none; a combining mark belongs to its letter.
    QTest::newRow("letter of another plane") << QString::fromUtf8("\xF0\xA0\x80\x80k2, k1") << QStringList{"k"};
    QTest::newRow("picture before a stitch") << QString::fromUtf8("\xF0\x9F\x98\x80k2") << QStringList{"k", "k"};
    QTest::newRow("spacing mark") << QString::fromUtf8("\xE0\xA4\xAC\xE0\xA4\xBE k2") << QStringList{"k", "k"};
    QTest::newRow("capital of another plane") << QString::fromUtf8("\xF0\x90\x90\x80") << QStringList{QString::fromUtf8("\xF0\x90\x90\xA8")};
}

void TestInstructionParser::keywordsAreLiteral()
{
    QFETCH(QString, line);
    QFETCH(QStringList, cells);
    const InstructionParser parser(
        {QString(), "m1+", "c2(f)", "k.b", "k", QString::fromUtf8("strø"), QString::fromUtf8("\xF0\x90\x90\xA8")});
    QCOMPARE(parser.cells(line, 20), cells);
}

void TestInstructionParser::absurdCountsStayBounded()
{
    const InstructionParser parser(StitchSet::instance()->keyWords());
    QCOMPARE(parser.cells(QStringLiteral("k2147483647"), 12).size(), 12);
    QCOMPARE(parser.cells(QStringLiteral("k99999999999999999999, p1"), 12).size(), 12);
    QCOMPARE(parser.cells(QStringLiteral("k") + QString(1000000, QLatin1Char('7')), 12).size(), 12);
    QCOMPARE(parser.cells(QStringLiteral("k0, p1"), 12), (QStringList{"k", "p"}));
    QCOMPARE(parser.cells(QStringLiteral("(k1, p1) 999999999 times"), 12).size(), 12);
    QString nested = QStringLiteral("k1");
    for (int i = 0; i < 40; ++i)
        nested = QStringLiteral("(%1) 999999999 times").arg(nested);
    QCOMPARE(parser.cells(nested, 12).size(), 12); // deeper than any pattern: read as plain text
    QCOMPARE(parser.cells(QString(100000, QLatin1Char('(')) + QStringLiteral("k1"), 12).size(), 1);
    QString brackets;
    for (int i = 0; i < 50000; ++i)
        brackets += QStringLiteral(",(");
    QCOMPARE(parser.cells(brackets + QStringLiteral("k1) 3 times"), 12).size(), 3);
    QCOMPARE(parser.cells(QStringLiteral("*k1; rep from * to end"), 100000).size(), 100000);
    QCOMPARE(parser.cells(QStringLiteral("k1, *; rep from * to end"), 12).size(), 1);
}

YARNWISE_CORE_TEST_MAIN(TestInstructionParser)
#include "tst_instructionparser.moc"
