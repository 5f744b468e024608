// The real dialogs behind the dialog interface: captions, icons, the order of the
// buttons, and what Enter, Escape and the close box answer; the file dialogs' filters
// and the file they give back.
#include "app/platform/dialogs/InputBox.h"
#include "app/platform/dialogs/QtDialogService.h"
#include "tests/platform/TestFiles.h"
#include "tests/support/Umgebung.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace ravik;
using namespace ravik::test;

namespace {

// Runs `handle` on the modal dialog (of that class) as soon as it is shown; the watch
// ends with its owner, when one is given.
void sobaldOffen(const std::function<void(QWidget*)>& handle, const char* klasse = "QDialog",
                 QObject* besitzer = nullptr) {
    auto* timer = new QTimer(besitzer);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, handle, klasse] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->inherits(klasse)) {
            timer->stop();
            timer->deleteLater();
            handle(dialog);
        }
    });
    timer->start();
}

QStringList knopfTexte(QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    QStringList texte;
    QList<QAbstractButton*> knoepfe = box->buttons();
    std::sort(knoepfe.begin(), knoepfe.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    for (QAbstractButton* k : knoepfe)
        texte << k->text();
    return texte;
}

// The file dialog as the user sees it, and the questions it asks after Enter (each
// answered "Yes").
struct Dateidialog {
    QStringList filter;
    QString gewaehlterFilter;
    QString name;
    QStringList fragen;
};

// Answers each question while the dialog lasts; one after another would be seen too.
void fragenBeantworten(QStringList& fragen, QWidget* dialog) {
    sobaldOffen(
        [&fragen, dialog](QWidget* frage) {
            auto* box = qobject_cast<QMessageBox*>(frage);
            fragen << box->text();
            fragenBeantworten(fragen, dialog);
            box->button(QMessageBox::Yes)->click();
        },
        "QMessageBox", dialog);
}

// Types `eingabe` into the file dialog (a null text accepts what it proposes) and
// presses Enter.
void dateidialogBedienen(Dateidialog& gesehen, const QString& eingabe) {
    sobaldOffen(
        [&gesehen, eingabe](QWidget* dialog) {
            auto* datei = qobject_cast<QFileDialog*>(dialog);
            gesehen.filter = datei->nameFilters();
            gesehen.gewaehlterFilter = datei->selectedNameFilter();
            auto* feld = datei->findChild<QLineEdit*>("fileNameEdit");
            gesehen.name = feld->text();
            if (!eingabe.isNull())
                feld->setText(eingabe); // typed keys would open the completion list
            fragenBeantworten(gesehen.fragen, dialog);
            QTest::keyClick(feld, Qt::Key_Return);
        },
        "QFileDialog");
}

const QStringList kDateifilter{
    "INI-Dateien (*.ini)",
    "Konfigurationsdateien (*.ini *.conf *.cnf *.cfg *.inf *.desktop *.service)",
    "Alle Dateien (*)"};

} // namespace

class QtDialogeTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsStandInTheirOrderAndKeysAnswer_data() {
        QTest::addColumn<int>("knoepfe");
        QTest::addColumn<QStringList>("texte");
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("antwort");
        const auto ok = int(MessageButtons::Ok), okAbbr = int(MessageButtons::OkCancel),
                   jaNein = int(MessageButtons::YesNo), alle = int(MessageButtons::YesNoCancel);
        QTest::newRow("ok, enter") << ok << QStringList{"OK"} << int(Qt::Key_Return) << int(Answer::Ok);
        QTest::newRow("ok, escape") << ok << QStringList{"OK"} << int(Qt::Key_Escape) << int(Answer::Ok);
        QTest::newRow("ok cancel, enter") << okAbbr << QStringList{"OK", "Abbrechen"} << int(Qt::Key_Return) << int(Answer::Ok);
        QTest::newRow("ok cancel, escape") << okAbbr << QStringList{"OK", "Abbrechen"} << int(Qt::Key_Escape) << int(Answer::Cancel);
        QTest::newRow("yes no, enter") << jaNein << QStringList{"&Ja", "&Nein"} << int(Qt::Key_Return) << int(Answer::Yes);
        QTest::newRow("yes no, escape") << jaNein << QStringList{"&Ja", "&Nein"} << int(Qt::Key_Escape) << int(Answer::No);
        QTest::newRow("yes no (default no), enter") << int(MessageButtons::YesNoDefaultNo) << QStringList{"&Ja", "&Nein"} << int(Qt::Key_Return) << int(Answer::No);
        QTest::newRow("yes no cancel, escape") << alle << QStringList{"&Ja", "&Nein", "Abbrechen"} << int(Qt::Key_Escape) << int(Answer::Cancel);
        const auto jaNeinSchliessen = int(MessageButtons::YesNoEscapeCancels);
        QTest::newRow("yes no (escape cancels), enter") << jaNeinSchliessen << QStringList{"&Ja", "&Nein"} << int(Qt::Key_Return) << int(Answer::Yes);
        QTest::newRow("yes no (escape cancels), escape") << jaNeinSchliessen << QStringList{"&Ja", "&Nein"} << int(Qt::Key_Escape) << int(Answer::Cancel);
    }
    void buttonsStandInTheirOrderAndKeysAnswer() {
        QFETCH(int, knoepfe);
        QFETCH(QStringList, texte);
        QFETCH(int, taste);
        QFETCH(int, antwort);
        QtDialogService dialoge;
        QStringList gesehen;
        QString titel;
        sobaldOffen([&](QWidget* dialog) {
            gesehen = knopfTexte(dialog);
            titel = dialog->windowTitle();
            QTest::keyClick(dialog, Qt::Key(taste));
        });
        const Answer a = dialoge.message(MessageKind::Confirmation, "Frage?", MessageButtons(knoepfe));
        QCOMPARE(gesehen, texte);
        QCOMPARE(titel, QString("Bestätigung"));
        QCOMPARE(int(a), antwort);
    }

    void theCloseBoxAnswersCancel() {
        QtDialogService dialoge;
        for (MessageButtons knoepfe : {MessageButtons::YesNo, MessageButtons::YesNoEscapeCancels}) {
            bool geschlossen = false;
            sobaldOffen([&](QWidget* dialog) { geschlossen = dialog->close(); });
            QCOMPARE(dialoge.message(MessageKind::Warning, "Text", knoepfe), Answer::Cancel);
            QVERIFY(geschlossen);
        }
    }

    void kindsGiveCaptionsAndIcons() {
        QtDialogService dialoge;
        dialoge.setApplicationTitle("Ravik (\"a.ini\")");
        const struct {
            MessageKind art;
            const char* titel;
            QMessageBox::Icon symbol;
        } faelle[] = {{MessageKind::Warning, "Warnung", QMessageBox::Warning},
                      {MessageKind::Error, "Fehler", QMessageBox::Critical},
                      {MessageKind::Information, "Informationen", QMessageBox::Information},
                      {MessageKind::Confirmation, "Bestätigung", QMessageBox::Question},
                      {MessageKind::Plain, "Ravik (\"a.ini\")", QMessageBox::NoIcon},
                      {MessageKind::AppError, "Ravik (\"a.ini\")", QMessageBox::Critical}};
        for (const auto& fall : faelle) {
            QString titel;
            QMessageBox::Icon symbol = QMessageBox::NoIcon;
            sobaldOffen([&](QWidget* dialog) {
                titel = dialog->windowTitle();
                symbol = qobject_cast<QMessageBox*>(dialog)->icon();
                QTest::keyClick(dialog, Qt::Key_Return);
            });
            dialoge.message(fall.art, "Text", MessageButtons::Ok);
            QCOMPARE(titel, QString(fall.titel));
            QCOMPARE(symbol, fall.symbol);
        }
    }

    // Most INI files on Linux have no ".ini": a name is taken as the user gave it, and
    // only a name typed without any suffix gets one.
    void theChosenFileIsTheOneTheUserNamed_data() {
        QTest::addColumn<QString>("vorschlag");
        QTest::addColumn<QString>("genannt");
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("filter");
        QTest::newRow("typed without a suffix") << "" << "neu" << "neu.ini" << kDateifilter[0];
        QTest::newRow("typed with a suffix") << "" << "neu.conf" << "neu.conf" << kDateifilter[0];
        QTest::newRow("typed hidden file") << "" << ".gitconfig" << ".gitconfig" << kDateifilter[0];
        QTest::newRow("an existing file") << "a.ini" << "vorhanden" << "vorhanden" << kDateifilter[0];
        QTest::newRow("the proposed git config") << "config" << "config" << "config" << kDateifilter[2];
        QTest::newRow("the proposed unit") << "a.service" << "a.service" << "a.service" << kDateifilter[1];
        QTest::newRow("not the proposed name") << "config" << "neu" << "neu.ini" << kDateifilter[2];
    }
    void theChosenFileIsTheOneTheUserNamed() {
        QFETCH(QString, vorschlag);
        QFETCH(QString, genannt);
        QFETCH(QString, datei);
        QFETCH(QString, filter);
        QTemporaryDir ordner;
        QVERIFY(testfiles::writeFile(ordner.filePath("vorhanden"), "[A]\n"));
        FileDialogRequest anfrage{vorschlag.isEmpty() ? QString() : ordner.filePath(vorschlag)};
        QCOMPARE(anfrage.filters, kDateifilter);
        QCOMPARE(anfrage.chosenFile(ordner.filePath(genannt)), ordner.filePath(datei));
        QCOMPARE(anfrage.filterForPreset(), filter);
    }

    // Through the window: git's config opened, changed and saved by accepting the
    // proposed name in the real dialog is written to config itself, asking once.
    void acceptingTheProposedNameSavesToThatFile() {
        Umgebung u;
        const QString config = u.schreiben("config", "[core]\n\tbare = false\n");
        QtDialogService echteDialoge;
        TForm1& f = u.starten({config}, &echteDialoge);
        echteDialoge.setParent(&f);
        u.auswaehlen("core/bare");
        u.w<QLineEdit>("WertAnzeige")->setText("true");
        u.klick("btnOK");
        Dateidialog gesehen;
        dateidialogBedienen(gesehen, QString());
        u.klick("tbtnDateispeichern");
        QCOMPARE(gesehen.filter, kDateifilter);
        QCOMPARE(gesehen.gewaehlterFilter, QString("Alle Dateien (*)"));
        QCOMPARE(gesehen.name, QString("config"));
        QCOMPARE(gesehen.fragen.size(), 1);
        QVERIFY2(gesehen.fragen[0].contains("config"), qPrintable(gesehen.fragen[0]));
        QCOMPARE(testfiles::readFile(config), QByteArray("[core]\n\tbare = true\n"));
        QCOMPARE(testfiles::entries(u.datenverzeichnis.path()), (QStringList{"config", "config.bak"}));
        QCOMPARE(f.dateiname(), config);
    }

    // A typed name gets its suffix before the dialog closes, so the question about an
    // existing file is asked about the file that will be written; the open dialog
    // opens a file without suffix that the user named.
    void aTypedNameIsCompletedInsideTheDialog() {
        QTemporaryDir ordner;
        QVERIFY(testfiles::writeFile(ordner.filePath("neu.ini"), "[A]\n"));
        QVERIFY(testfiles::writeFile(ordner.filePath("config"), "[A]\n"));
        QtDialogService dialoge;
        Dateidialog gespeichert;
        dateidialogBedienen(gespeichert, ordner.filePath("neu"));
        QCOMPARE(dialoge.saveFileName({}).value_or("<abgebrochen>"), ordner.filePath("neu.ini"));
        QCOMPARE(gespeichert.gewaehlterFilter, kDateifilter[0]);
        QCOMPARE(gespeichert.fragen.size(), 1);
        QVERIFY2(gespeichert.fragen[0].contains("neu.ini"), qPrintable(gespeichert.fragen[0]));

        Dateidialog geoeffnet;
        dateidialogBedienen(geoeffnet, ordner.filePath("config"));
        QCOMPARE(dialoge.openFileName({}).value_or("<abgebrochen>"), ordner.filePath("config"));
        QCOMPARE(geoeffnet.filter, kDateifilter);
        QCOMPARE(geoeffnet.fragen, QStringList());
    }

    void theInputBoxTakesAtMost255CharactersAndCancelGivesEmpty() {
        QtDialogService dialoge;
        QString titel;
        sobaldOffen([&](QWidget* dialog) {
            titel = dialog->windowTitle();
            auto* feld = dialog->findChild<QLineEdit*>("Eingabefeld");
            QTest::keyClicks(feld, QString(300, 'x'));
            QTest::keyClick(feld, Qt::Key_Return);
        });
        QCOMPARE(dialoge.inputText("Neue Sektion einfügen", "Bitte …"), QString(255, 'x'));
        QCOMPARE(titel, QString("Neue Sektion einfügen"));
        sobaldOffen([](QWidget* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>("Eingabefeld"), "abc");
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(dialoge.inputText("T", "P"), QString());
    }
};

QTEST_MAIN(QtDialogeTest)
#include "QtDialogeTest.moc"
