#include <QTest>
class IniConsistencyTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniConsistencyTest)
#include "IniConsistencyTest.moc"
