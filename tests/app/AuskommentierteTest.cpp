// Keys a file has switched off, in the browser view: shown greyed among the keys,
// switched on and off in place with every other byte kept, found by the search, hidden.
#include "app/browser/IniBaum.h"
#include "tests/support/Umgebung.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace ravik;
using namespace ravik::test;

namespace {

QByteArray phpIni() {
    QFile f(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip/php_ini_art.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The node of the section's last switched-off key of this name and value.
QModelIndex knoten(Umgebung& u, const QString& sektion, const QString& name, const QString& wert) {
    auto* baum = u.w<IniBaum>("iniAnzeige");
    QAbstractItemModel* m = baum->model();
    QModelIndex gefunden;
    for (int s = 0; s < m->rowCount(); ++s) {
        const QModelIndex sk = m->index(s, 0);
        if (sk.data().toString() != sektion)
            continue;
        for (int k = 0; k < m->rowCount(sk); ++k) {
            const QModelIndex i = m->index(k, 0, sk);
            const auto* aus = baum->ausgeschaltet(i);
            if (aus && aus->name == name && aus->value == wert)
                gefunden = i;
        }
    }
    return gefunden;
}

void anklicken(Umgebung& u, const QModelIndex& i) {
    auto* baum = u.w<IniBaum>("iniAnzeige");
    baum->scrollTo(i);
    QTest::mouseClick(baum->viewport(), Qt::LeftButton, {}, baum->visualRect(i).center());
}

QByteArray speichern(Umgebung& u, const QString& pfad) {
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateispeichern");
    return Umgebung::lesen(pfad);
}

} // namespace

class AuskommentierteTest : public QObject {
    Q_OBJECT

private slots:
    void phpIniSchluesselEinUndAus() {
        Umgebung u;
        const QByteArray original = phpIni();
        const QString pfad = u.schreiben("php.ini", original);
        u.starten({pfad});
        auto* aktion = u.form().findChild<QAction*>("actSchluesselAktivieren");

        QModelIndex mysqli = knoten(u, "PHP", "extension", "mysqli");
        QCOMPARE(mysqli.data(Qt::ToolTipRole).toString(), "Auskommentiert");
        anklicken(u, mysqli);
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), "mysqli");
        QVERIFY(u.w<QLineEdit>("WertAnzeige")->isReadOnly());
        QCOMPARE(aktion->text(), "Schlüssel aktivieren");
        QVERIFY(aktion->isEnabled());

        // F8 on the tree: exactly that line loses its ';'.
        u.taste("iniAnzeige", Qt::Key_F8);
        QCOMPARE(u.ausgewaehlt(), "PHP/extension");
        QVERIFY(u.w<IniBaum>("iniAnzeige")->ausgeschaltet(u.w<IniBaum>("iniAnzeige")->ausgewaehlterKnoten()) == nullptr);
        QCOMPARE(aktion->text(), "Schlüssel deaktivieren");
        QByteArray an = original;
        an.replace("\n;extension=mysqli\n", "\nextension=mysqli\n");
        QCOMPARE(speichern(u, pfad), an);

        // Off again through the context menu's item: the file as it was.
        u.klick("actSchluesselAktivieren");
        QCOMPARE(knoten(u, "PHP", "extension", "mysqli").data(Qt::ToolTipRole).toString(), "Auskommentiert");
        QCOMPARE(speichern(u, pfad), original);

        // A second live "extension" is asked for; a box closed changes nothing.
        anklicken(u, knoten(u, "PHP", "extension", "mysqli"));
        u.taste("iniAnzeige", Qt::Key_F8);
        anklicken(u, knoten(u, "PHP", "extension", "bz2"));
        u.dialoge.closeBox();
        u.taste("iniAnzeige", Qt::Key_F8);
        QCOMPARE(u.dialoge.messageTexts().size(), 1);
        QVERIFY(u.dialoge.messageTexts().constLast().startsWith(
            "Der Schlüssel extension ist in dieser Sektion schon aktiv."));
        QCOMPARE(speichern(u, pfad), an);
        QCOMPARE(knoten(u, "PHP", "extension", "bz2").data(Qt::ToolTipRole).toString(), "Auskommentiert");
    }

    void tippenSchaltetEinUndSucheFindet() {
        Umgebung u;
        const QByteArray original = phpIni();
        const QString pfad = u.schreiben("php.ini", original);
        u.starten({pfad});

        anklicken(u, knoten(u, "PHP", "display_startup_errors", "On"));
        QCOMPARE(u.w<QPlainTextEdit>("KommentarAnzeige")->toPlainText(), "Switch this on only while developing:");
        // Typing in the read-only value switches the key on and types there.
        anklicken(u, knoten(u, "PHP", "max_input_vars", "1000"));
        QTest::keyClick(u.w<QLineEdit>("WertAnzeige"), Qt::Key_2);
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), "10002");
        u.klick("btnOK");
        QByteArray erwartet = original;
        erwartet.replace(";max_input_vars = 1000", "max_input_vars = 10002");
        QCOMPARE(speichern(u, pfad), erwartet);

        // The search finds switched-off keys; the check box hides them.
        u.w<QLineEdit>("sucheBaum")->setText("output_buff");
        QCOMPARE(u.baumTexte(), QStringList({"PHP", "PHP/output_buffering"}));
        u.w<QLineEdit>("sucheBaum")->clear();
        QVERIFY(u.baumTexte().contains("Date/date.timezone"));
        u.klick("chkAuskommentierte");
        QVERIFY(!u.baumTexte().contains("Date/date.timezone"));
        QVERIFY(u.baumTexte().contains("Session/session.save_handler"));
    }
};

QTEST_MAIN(AuskommentierteTest)
#include "AuskommentierteTest.moc"
