#include <QTest>
class IniEditTest : public QObject {
    Q_OBJECT private slots : void todo() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(IniEditTest)
#include "IniEditTest.moc"
