#include "core/platform/text/CaselessNeedle.h"

#include <QTest>

using namespace ravik;

// The tree's search: a text in names and values without regard to case, the same on
// UTF-8 bytes as on QString.
class CaselessNeedleTest : public QObject {
    Q_OBJECT

private slots:
    void foundIn_data() {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("haystack");
        QTest::addColumn<bool>("found");
        QTest::newRow("same") << "memory"
                              << "memory_limit" << true;
        QTest::newRow("other case") << "MeMoRy"
                                    << "memory_LIMIT" << true;
        QTest::newRow("at the end") << "limit"
                                    << "memory_limit" << true;
        QTest::newRow("longer than the haystack") << "memory_limits"
                                                  << "memory_limit" << false;
        QTest::newRow("not there") << "xyz"
                                   << "memory_limit" << false;
        QTest::newRow("partial start, then found") << "mem_l"
                                                   << "memmem_limit" << true;
        QTest::newRow("umlaut, other case") << "ÜBERSICHT"
                                            << "Übersicht der Straße" << true;
        QTest::newRow("umlaut in an ASCII haystack") << "ä"
                                                     << "aaaa" << false;
        QTest::newRow("ASCII in a haystack with umlauts") << "strasse"
                                                          << "Straße, STRASSE" << true;
        QTest::newRow("Kelvin sign folds to k") << QString(QChar(0x212A)) << "key" << true;
        QTest::newRow("empty needle") << ""
                                      << "anything" << true;
        QTest::newRow("empty haystack") << "a"
                                        << "" << false;
    }
    void foundIn() {
        QFETCH(QString, needle);
        QFETCH(QString, haystack);
        QFETCH(bool, found);
        const CaselessNeedle n(needle);
        QCOMPARE(n.foundIn(haystack.toUtf8()), found);
        QCOMPARE(n.foundIn(QStringView(haystack)), found);
    }

    void narrows() {
        QVERIFY(CaselessNeedle("Memo").narrows(CaselessNeedle("mem")));
        QVERIFY(CaselessNeedle("xmemx").narrows(CaselessNeedle("MEM")));
        QVERIFY(!CaselessNeedle("me").narrows(CaselessNeedle("mem")));
        QVERIFY(!CaselessNeedle("mem").narrows(CaselessNeedle("mam")));
    }
};

QTEST_GUILESS_MAIN(CaselessNeedleTest)
#include "CaselessNeedleTest.moc"
