// Files a view cannot open are refused with a German message, in both views, and stay
// untouched; the document on screen stays whole.
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

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
    void aHugeFileIsRefused_data() {
        QTest::addColumn<QString>("startknopf");
        QTest::addColumn<QString>("ansicht");
        QTest::newRow("browser") << "BitBtn3" << "die Browseransicht";
        QTest::newRow("editor") << "BitBtn2" << "der Editor";
    }
    void aHugeFileIsRefused() {
        QFETCH(QString, startknopf);
        QFETCH(QString, ansicht);
        Umgebung u;
        const QString pfad = riesigeDatei(u, k600Mb);
        u.starten();
        u.klick(startknopf);
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateiladen");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{QStringLiteral("Datei %1 kann nicht geöffnet werden. Die Datei ist "
                                            "600 MB groß; %2 lädt höchstens 512 MB.")
                                 .arg(QFileInfo(pfad).absoluteFilePath(), ansicht)});
        // The view shows nothing of it, and the file is as it was.
        QCOMPARE(u.baumTexte(), QStringList());
        QVERIFY(u.w<QsciScintilla>("SynMemo1")->text().isEmpty());
        QCOMPARE(QFileInfo(pfad).size(), k600Mb);
    }

    // Tree, detail panel, buttons, name, title and status are those of the document
    // the user was working on.
    void aFailedOpenLeavesTheDocumentWhole_data() {
        QTest::addColumn<QString>("ziel");
        QTest::newRow("directory") << "verzeichnis";
        QTest::newRow("too large") << "riesig";
    }
    void aFailedOpenLeavesTheDocumentWhole() {
        QFETCH(QString, ziel);
        Umgebung u;
        const QString alt = u.schreiben("a.ini", "[A]\nk=1\n[B]\n");
        TForm1& f = u.starten({alt});
        // The caption (without the mark of unsaved changes: the guard counts the
        // discarded change as saved).
        const QString titel = f.windowTitle();
        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        const QString pfad = ziel == "riesig" ? riesigeDatei(u, k600Mb) : u.datenverzeichnis.path();
        u.dialoge.answer(Answer::No);  // discard the change ...
        u.dialoge.answer(Answer::Yes); // ... for sure
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateiladen");
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::AppError);
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k", "B"}));
        QCOMPARE(u.ausgewaehlt(), QString("A/k"));
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("2"));
        QVERIFY(u.w<QLineEdit>("WertAnzeige")->isEnabled());
        for (const char* an : {"tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK"})
            QVERIFY2(u.aktiv(an), an);
        QCOMPARE(f.dateiname(), alt);
        QCOMPARE(f.windowTitle(), titel);
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|2|change", "B|||"}));
    }
};

QTEST_MAIN(GrenzenTest)
#include "GrenzenTest.moc"
