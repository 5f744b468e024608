#include <QTest>
class IniScaleTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniScaleTest)
#include "IniScaleTest.moc"
