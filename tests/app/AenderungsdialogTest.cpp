// "Änderungen prüfen" in the window: the list and the diff of what a save would
// write, giving up one change in either view, and the review before saving.
#include "app/changes/Aenderungsdialog.h"
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <Qsci/qsciscintilla.h>

using namespace ravik;
using namespace ravik::test;

namespace {

const QByteArray kDatei = "; Dienst\n[A]\nk=1\nm=2\n\n[B]\nx=9\n";

// Runs `handle` on the review dialog once it is shown, then closes it with the button
// of that name.
void imDialog(const std::function<void(QDialog*)>& handle, const QString& schliessen) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, handle, schliessen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "dlgAenderungen")
            return;
        timer->stop();
        timer->deleteLater();
        handle(dialog);
        dialog->findChild<QPushButton*>(schliessen)->click();
    });
    timer->start();
}

QStringList zeilen(QDialog* d) {
    auto* liste = d->findChild<QTreeWidget*>("aenderungsListe");
    QStringList out;
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        QStringList spalten;
        for (int s = 0; s < 5; ++s)
            spalten << liste->topLevelItem(i)->text(s);
        out << spalten.join('|');
    }
    return out;
}

void verwerfen(QDialog* d, int zeile) {
    auto* liste = d->findChild<QTreeWidget*>("aenderungsListe");
    QTest::mouseClick(qobject_cast<QPushButton*>(liste->itemWidget(liste->topLevelItem(zeile), 5)),
                      Qt::LeftButton);
}

QString hinweis(QDialog* d) {
    return d->findChild<QLabel*>("lblAenderungenHinweis")->text();
}

} // namespace

class AenderungsdialogTest : public QObject {
    Q_OBJECT

private slots:
    // Two edits, one taken back in the dialog: the save writes the other alone.
    void takesBackOneChangeInEitherView_data() {
        QTest::addColumn<bool>("editor");
        QTest::newRow("browser view") << false;
        QTest::newRow("editor view") << true;
    }
    void takesBackOneChangeInEitherView() {
        QFETCH(bool, editor);
        Umgebung u;
        const QString datei = u.schreiben("dienst.ini", kDatei);
        TForm1& f = u.starten({datei});
        QVERIFY(!u.aktiv("tbtnAenderungen"));
        if (editor) {
            u.klick("tbtnFlip");
            auto* memo = u.w<SynMemo>("SynMemo1");
            memo->setSelection(2, 2, 2, 3); // k=1
            QTest::keyClicks(memo, "5");
            memo->setSelection(6, 2, 6, 3); // x=9
            QTest::keyClicks(memo, "0");
        } else {
            for (const char* schluessel : {"A/k", "B/x"}) {
                u.auswaehlen(schluessel);
                u.w<QLineEdit>("WertAnzeige")->setText(QString(schluessel) == "A/k" ? "5" : "0");
                u.klick("btnOK");
            }
        }
        QVERIFY(u.aktiv("tbtnAenderungen"));
        QStringList vorher, nachher;
        QString diff;
        imDialog(
            [&](QDialog* d) {
                vorher = zeilen(d);
                diff = d->findChild<QsciScintilla*>("aenderungsDiff")->text();
                verwerfen(d, 0);
                nachher = zeilen(d);
            },
            "btnAenderungenSchliessen");
        u.klick("tbtnAenderungen");
        QCOMPARE(vorher, (QStringList{"A|k|geändert|1|5", "B|x|geändert|9|0"}));
        QVERIFY2(diff.contains("@@ -1,7 +1,7 @@\n ; Dienst\n [A]\n-k=1\n+k=5\n"), qPrintable(diff));
        QCOMPARE(nachher, QStringList{"B|x|geändert|9|0"});
        if (editor) { // given up as an edit: undo brings the change back
            auto* memo = u.w<SynMemo>("SynMemo1");
            QCOMPARE(memo->text(2), QString("k=1\n"));
            memo->undo();
            QCOMPARE(memo->text(2), QString("k=5\n"));
            memo->redo();
        }
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), QByteArray(kDatei).replace("x=9", "x=0"));
    }

    // Giving up every change (after the question) leaves the document as its file;
    // a file changed on disk meanwhile is what it is compared with.
    void allGivenUpAfterAskingAgainstTheFileAsItIsNow() {
        Umgebung u;
        const QString datei = u.schreiben("dienst.ini", kDatei);
        TForm1& f = u.starten({datei});
        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText("5");
        u.klick("btnOK");
        const QByteArray aussen = QByteArray(kDatei).replace("m=2", "m=3");
        u.schreiben("dienst.ini", aussen);
        QString hinweisVorher, hinweisNachher;
        QStringList vorher;
        imDialog(
            [&](QDialog* d) {
                hinweisVorher = hinweis(d);
                vorher = zeilen(d);
                u.dialoge.answer(Answer::No);
                d->findChild<QPushButton*>("btnAlleVerwerfen")->click();
                QCOMPARE(zeilen(d), vorher);
                u.dialoge.answer(Answer::Yes);
                d->findChild<QPushButton*>("btnAlleVerwerfen")->click();
                hinweisNachher = hinweis(d);
            },
            "btnAenderungenSchliessen");
        u.taste("iniAnzeige", Qt::Key_F7); // the key, from the tree
        QVERIFY2(hinweisVorher.contains("außerhalb von Ravik geändert"), qPrintable(hinweisVorher));
        QCOMPARE(vorher, (QStringList{"A|k|geändert|1|5", "A|m|geändert|3|2"}));
        QCOMPARE(u.dialoge.shown.size(), 2);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Confirmation);
        QVERIFY2(hinweisNachher.endsWith("Keine Änderungen"), qPrintable(hinweisNachher));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY(!u.aktiv("tbtnAenderungen"));
        QCOMPARE(u.tabelle().filter("A|m|").value(0), QString("A|m|3|"));
    }

    // An edit taken back by hand leaves the file's bytes: no changes, and the document
    // counts as saved again.
    void anEditTakenBackByHandLeavesNoChanges() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("dienst.ini", kDatei)});
        u.auswaehlen("A/k");
        for (const char* wert : {"5", "1"}) {
            u.w<QLineEdit>("WertAnzeige")->setText(wert);
            u.klick("btnOK");
        }
        QString gezeigt;
        imDialog([&](QDialog* d) { gezeigt = hinweis(d); }, "btnAenderungenSchliessen");
        u.klick("tbtnAenderungen");
        QCOMPARE(gezeigt, QString("Keine Änderungen"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY(!u.aktiv("tbtnAenderungen"));
    }

    // With the option on, every save shows the dialog first; "Abbrechen" writes nothing.
    void showsTheChangesBeforeEverySaveWhenAsked() {
        Umgebung u;
        const QString datei = u.schreiben("dienst.ini", kDatei);
        u.starten({datei});
        u.w<QCheckBox>("chkAenderungenVorDemSpeichern")->setChecked(true);
        u.auswaehlen("B/x");
        u.w<QLineEdit>("WertAnzeige")->setText("0");
        u.klick("btnOK");
        QStringList gezeigt;
        imDialog([&](QDialog* d) { gezeigt = zeilen(d); }, "btnAenderungenAbbrechen");
        u.klick("tbtnDateispeichern");
        QCOMPARE(gezeigt, QStringList{"B|x|geändert|9|0"});
        QCOMPARE(Umgebung::lesen(datei), kDatei);
        QVERIFY(u.dialoge.shown.isEmpty()); // no save dialog either
        imDialog([](QDialog*) {}, "btnAenderungenSpeichern");
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), QByteArray(kDatei).replace("x=9", "x=0"));
    }
};

QTEST_MAIN(AenderungsdialogTest)
#include "AenderungsdialogTest.moc"
