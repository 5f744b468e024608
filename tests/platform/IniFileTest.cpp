#include <QTest>
class IniFileTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
