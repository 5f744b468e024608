// Habits of a desktop editor around the file: the caption's mark for unsaved changes,
// the recent files of the open button, and files dropped onto the window.
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

using namespace ravik;
using namespace ravik::test;

namespace {

const QString kTitel = QStringLiteral("Ravik: Der Velmora INI-Editor (\"%1\")");

struct Eintrag {
    QString text;
    QString tipp;
};

QList<Eintrag> zuletzt(Umgebung& u) {
    QList<Eintrag> liste;
    for (QAction* a : u.w<QMenu>("menueZuletzt")->actions())
        if (a->isEnabled())
            liste.append({a->text(), a->toolTip()});
    return liste;
}

QStringList zuletztTexte(Umgebung& u) {
    QStringList texte;
    for (const Eintrag& e : zuletzt(u))
        texte << e.text;
    return texte;
}

QMimeData* dateien(const QStringList& pfade) {
    auto* daten = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : pfade)
        urls << QUrl::fromLocalFile(p);
    daten->setUrls(urls);
    daten->setText(pfade.join('\n')); // file managers offer the names as text too
    return daten;
}

// Drags the data onto the widget and drops it there, as the window system delivers
// it; true when the widget took the drop.
bool ablegen(QWidget* ziel, QMimeData* daten) {
    const std::unique_ptr<QMimeData> halten(daten);
    const QPointF p = ziel->rect().center();
    const Qt::DropActions aktionen = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent hinein(p.toPoint(), aktionen, daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &hinein);
    if (!hinein.isAccepted())
        return false;
    QDragMoveEvent bewegen(p.toPoint(), aktionen, daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &bewegen);
    QDropEvent fallen(p, aktionen, daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &fallen);
    QCoreApplication::processEvents(); // the file opens after the drop has ended
    return fallen.isAccepted() && fallen.dropAction() != Qt::MoveAction;
}

QString editorText(Umgebung& u) {
    return QString::fromUtf8(u.w<SynMemo>("SynMemo1")->utf8Text().toByteArray());
}

} // namespace

class DateienTest : public QObject {
    Q_OBJECT

private slots:
    // "*" after the caption while the document is not saved; the captions themselves
    // stay as they are.
    void theCaptionMarksUnsavedChanges() {
        Umgebung u;
        TForm1& f = u.starten();
        QCOMPARE(u.fenstertitel(), QString("Ravik: Der Velmora INI-Editor Version 1.0.0"));
        u.klick("BitBtn3");
        u.dialoge.type("Neu"); // the first section of a new file
        u.klick("tbtnNeu");
        QCOMPARE(u.fenstertitel(), QString("Ravik: Der Velmora INI-Editor (Neue Datei)*"));
        QVERIFY(f.isWindowModified());
        const QString pfad = u.pfad("a[*].ini");
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.fenstertitel(), kTitel.arg("a[*].ini"));
        QVERIFY(!f.isWindowModified());

        u.auswaehlen("Neu");
        u.w<QLineEdit>("SektionAnzeige")->setText("Alt");
        u.klick("btnOK");
        QCOMPARE(u.fenstertitel(), kTitel.arg("a[*].ini") + "*");
        u.dialoge.answer(Answer::No); // the guard: discard
        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(u.schreiben("b.ini", "[B]\n"));
        u.klick("tbtnDateiladen");
        QCOMPARE(u.fenstertitel(), kTitel.arg("b.ini"));
        QCOMPARE(f.windowTitle(), kTitel.arg("b.ini")); // saved: the caption byte for byte

        u.klick("tbtnFlip");
        QTest::keyClick(u.w("SynMemo1"), Qt::Key_X);
        QCOMPARE(u.fenstertitel(), kTitel.arg("b.ini") + "*");
        u.dialoge.chooseFile(u.pfad("b.ini"));
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.fenstertitel(), kTitel.arg("b.ini"));
        QVERIFY(u.dialoge.unexpected.isEmpty());
    }

    // Opened and saved files, newest first, each with its path as tooltip; kept in the
    // settings file beside the settings, for the next start.
    void recentFilesAreTheOpenedAndSavedOnes() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.dialoge.chooseFile(u.schreiben("b.ini", "[B]\nk=1\n"));
        u.klick("tbtnDateiladen");
        u.auswaehlen("B/k");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        QDir().mkpath(u.pfad("sub"));
        u.dialoge.chooseFile(u.pfad("sub/a.ini"));
        u.klick("tbtnDateispeichern");
        u.dialoge.chooseFile(u.pfad("gibtsnicht.ini")); // typed, never saved: not listed
        u.klick("tbtnDateiladen");
        u.dialoge.clear();
        const QList<Eintrag> liste = zuletzt(u);
        QCOMPARE(liste.size(), 3);
        QCOMPARE(liste[0].text, QString("a.ini (%1)").arg(QDir::toNativeSeparators(u.pfad("sub"))));
        QCOMPARE(liste[0].tipp, u.pfad("sub/a.ini"));
        QCOMPARE(liste[1].text, QString("b.ini"));
        QCOMPARE(liste[2].tipp, u.pfad("a.ini"));
        u.form().close();

        const QByteArray ini = Umgebung::lesen(u.programmverzeichnis.filePath("ravik.ini"));
        QVERIFY(ini.contains("[General]\r\nView=0\r\n[Color]\r\nSections=255\r\nKeys="
                             "16711680\r\nActive=12320767\r\n"));
        QVERIFY(
            ini.contains("[Zuletzt]\r\nDatei1=" + u.pfad("sub/a.ini").toUtf8() + "\r\nDatei2="));
        u.starten();
        QCOMPARE(zuletzt(u).size(), 3);
    }

    // Choosing one opens it in the current view, through the unsaved-changes guard,
    // without the open dialog; one that is gone leaves the list with a message.
    void aRecentFileOpensInTheCurrentView() {
        Umgebung u;
        const QString a = u.schreiben("a.ini", "[A]\nk=1\n");
        const QString b = u.schreiben("b.ini", "[B]\nm=2\n");
        u.starten({a});
        u.dialoge.chooseFile(b);
        u.klick("tbtnDateiladen");
        QCOMPARE(zuletztTexte(u), (QStringList{"b.ini", "a.ini"}));

        u.klick("zuletzt2");
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QCOMPARE(u.fenstertitel(), kTitel.arg("a.ini"));
        QCOMPARE(zuletztTexte(u), (QStringList{"a.ini", "b.ini"}));

        u.klick("tbtnFlip");
        QTest::keyClick(u.w("SynMemo1"), Qt::Key_X);
        u.dialoge.clear();
        u.dialoge.answer(Answer::Cancel);
        u.klick("zuletzt2");
        QVERIFY(editorText(u).contains("k=1"));
        u.dialoge.answer(Answer::No);
        u.dialoge.answer(Answer::Yes);
        u.klick("zuletzt2");
        QCOMPARE(editorText(u), QString("[B]\nm=2\n"));
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.form().dateiname(), b);
        QCOMPARE(u.dialoge.shown.size(), 3); // the guard's questions; no open dialog
        QVERIFY(u.dialoge.unexpected.isEmpty());

        QFile::remove(a);
        u.dialoge.clear();
        u.klick("zuletzt2");
        QCOMPARE(
            u.dialoge.messageTexts(),
            QStringList{QString("Die Datei \"%1\" wurde nicht gefunden.\r\n\r\nSie wird aus der "
                                "Liste der zuletzt geöffneten Dateien entfernt.")
                            .arg(a)});
        QCOMPARE(zuletztTexte(u), QStringList{"b.ini"});
        QCOMPARE(u.form().dateiname(), b);
    }

    // A file dropped onto either view opens there, through the guard; text dropped into
    // the editor is still inserted.
    void droppedFilesOpenInTheCurrentView() {
        Umgebung u;
        const QString a = u.schreiben("a.ini", "[A]\nk=1\n");
        const QString b = u.schreiben("b.ini", "[B]\nm=2\n");
        u.starten();
        QVERIFY(!ablegen(&u.form(), dateien({a}))); // not on the start page
        u.klick("BitBtn3");
        QVERIFY(!ablegen(&u.form(), dateien({u.datenverzeichnis.path()}))); // a folder
        QVERIFY(ablegen(&u.form(), dateien({u.datenverzeichnis.path(), a, b})));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QCOMPARE(u.fenstertitel(), kTitel.arg("a.ini"));

        // Onto a detail field: the file opens; its name is not typed into the field.
        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        u.dialoge.answer(Answer::Cancel);
        QVERIFY(ablegen(u.w("WertAnzeige"), dateien({b})));
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("2"));
        u.dialoge.answer(Answer::No);
        u.dialoge.answer(Answer::Yes);
        QVERIFY(ablegen(u.w("WertAnzeige"), dateien({b})));
        QCOMPARE(u.baumTexte(), (QStringList{"B", "B/m"}));

        u.klick("tbtnFlip");
        QWidget* flaeche = u.w<SynMemo>("SynMemo1")->viewport();
        auto* text = new QMimeData;
        text->setText("neu=1");
        QVERIFY(ablegen(flaeche, text));
        QVERIFY(editorText(u).contains("neu=1"));
        QCOMPARE(u.form().dateistatus(), QString("geaendert"));
        u.dialoge.answer(Answer::No);
        u.dialoge.answer(Answer::Yes);
        QVERIFY(ablegen(flaeche, dateien({a})));
        QCOMPARE(editorText(u), QString("[A]\nk=1\n"));
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QVERIFY(u.dialoge.unexpected.isEmpty());
    }
};

QTEST_MAIN(DateienTest)
#include "DateienTest.moc"
