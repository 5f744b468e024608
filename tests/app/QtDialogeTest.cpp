// The real dialogs behind the dialog interface: captions, icons, the order of the
// buttons, and what Enter, Escape and the close box answer.
#include "app/platform/dialogs/InputBox.h"
#include "app/platform/dialogs/QtDialogService.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace ravik;

namespace {

// Runs `handle` on the modal dialog as soon as it is shown.
void sobaldOffen(const std::function<void(QWidget*)>& handle) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
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
        sobaldOffen([](QWidget* dialog) { dialog->close(); });
        QCOMPARE(dialoge.message(MessageKind::Warning, "Text", MessageButtons::YesNo), Answer::Cancel);
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
