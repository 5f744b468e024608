#include <QTest>
class IniEncodingTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniEncodingTest)
#include "IniEncodingTest.moc"
