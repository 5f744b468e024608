// Files too large for a view are refused with a German message, in both views, and
// stay untouched.
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QFile>
#include <QFileInfo>

using namespace ravik;
using namespace ravik::test;

namespace {

// A sparse file: its size costs no disk space and no time to write.
QString riesigeDatei(Umgebung& u, qint64 groesse) {
    const QString pfad = u.pfad("riesig.ini");
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || !datei.resize(groesse))
        qFatal("cannot create the sparse file");
    return pfad;
}

} // namespace

class GrenzenTest : public QObject {
    Q_OBJECT

    static constexpr qint64 k600Mb = qint64(600) * 1024 * 1024;

private slots:
    void aHugeFileIsRefusedInTheBrowser() {
        Umgebung u;
        const QString pfad = riesigeDatei(u, k600Mb);
        u.starten();
        u.klick("BitBtn3");
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateiladen");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{QStringLiteral("Datei %1 kann nicht geöffnet werden. Die Datei ist "
                                            "600 MB groß; die Browseransicht lädt höchstens 512 MB.")
                                 .arg(QFileInfo(pfad).absoluteFilePath())});
        QCOMPARE(u.baumTexte(), QStringList());
        QCOMPARE(QFileInfo(pfad).size(), k600Mb);
    }

    void aHugeFileIsRefusedInTheEditor() {
        Umgebung u;
        const QString pfad = riesigeDatei(u, k600Mb);
        u.starten();
        u.klick("BitBtn2");
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateiladen");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{QStringLiteral("Datei %1 kann nicht geöffnet werden. Die Datei ist "
                                            "600 MB groß; der Editor lädt höchstens 512 MB.")
                                 .arg(QFileInfo(pfad).absoluteFilePath())});
        QVERIFY(u.w<QsciScintilla>("SynMemo1")->text().isEmpty());
        QCOMPARE(QFileInfo(pfad).size(), k600Mb);
    }
};

QTEST_MAIN(GrenzenTest)
#include "GrenzenTest.moc"
