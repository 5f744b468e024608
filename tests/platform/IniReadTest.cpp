#include <QTest>
class IniReadTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniReadTest)
#include "IniReadTest.moc"
