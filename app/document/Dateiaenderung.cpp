// The document's file changed by another program: saving over it asks first, and the
// window asks once whether to reload it when it becomes active again.
#include "app/document/Dokumentsteuerung.h"

#include "app/document/Fensterseite.h"
#include "core/document/Dokument.h"
#include "core/document/Systemdatei.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/files/FileIO.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace ravik {
namespace {

bool dieselbeDatei(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a) == QFileInfo(b);
}

QString angezeigt(const QString& pfad) {
    return QFileInfo(pfad).absoluteFilePath();
}

// What the file at pfad has become, when a save would now write another file: a
// symbolic link, or a path through a link that points elsewhere.
QString umgelenkt(const QString& pfad) {
    const QString ziel = FileIO::writtenFile(pfad);
    if (QFileInfo(pfad).isSymLink())
        return QStringLiteral("Die Datei %1 ist jetzt eine Verknüpfung auf %2.")
            .arg(angezeigt(pfad), ziel);
    return QStringLiteral("Der Pfad der Datei %1 führt jetzt zu %2.").arg(angezeigt(pfad), ziel);
}

} // namespace

// A save over the document's own file that another program changed since it was
// loaded or saved needs the user's word, and so does a save that would now write
// another file; a file that is gone is simply written anew.
bool Dokumentsteuerung::ueberschreibenBestaetigt(const QString& pfad) {
    Dateistempel& stempel = dokument_.dateistempel();
    if (!dieselbeDatei(stempel.pfad(), pfad))
        return true;
    QString frage;
    switch (stempel.vergleichen()) {
    case Dateistempel::Vergleich::Gleich:
    case Dateistempel::Vergleich::Fehlt:
        return true;
    case Dateistempel::Vergleich::Geaendert:
        frage = QStringLiteral("Die Datei %1 wurde außerhalb von Ravik geändert.\r\n\r\n"
                               "Soll sie trotzdem überschrieben werden?")
                    .arg(angezeigt(pfad));
        break;
    case Dateistempel::Vergleich::Umgelenkt:
        frage =
            umgelenkt(pfad) + QStringLiteral("\r\n\r\nBeim Speichern wird %1 geschrieben.\r\n\r\n"
                                             "Soll sie trotzdem überschrieben werden?")
                                  .arg(FileIO::writtenFile(pfad));
        break;
    }
    if (dialoge_.message(MessageKind::Warning, frage, MessageButtons::YesNoDefaultNo) != Answer::Yes)
        return false;
    // A system file's helper checks the file against what was loaded: the user's word
    // lets it take the file as it is now.
    Systemdatei::ueberschreibenErlauben(pfad);
    return true;
}

// The window became active: the file is looked at once the window is idle, never in
// the middle of an action or while another box is open.
void Dokumentsteuerung::dateiaenderungVormerken() {
    pruefungAusstehend_ = true;
    QTimer::singleShot(0, this, [this] { dateiaenderungNachfragen(); });
}

void Dokumentsteuerung::dateiaenderungNachfragen() {
    if (!pruefungAusstehend_ || seite_.aktionLaeuft() || QApplication::activeModalWidget())
        return; // an action that is running asks again when it ends
    pruefungAusstehend_ = false;
    if (!fenster_.isActiveWindow())
        return; // the user went elsewhere again: the next activation asks
    seite_.ausfuehren([this] { dateiaenderungPruefen(); });
}

void Dokumentsteuerung::dateiaenderungPruefen() {
    if (!browserAktiv() && !editorAktiv())
        return;
    const QString pfad = dokument_.name();
    Dateistempel& stempel = dokument_.dateistempel();
    if (!dieselbeDatei(stempel.pfad(), pfad))
        return;
    const Dateistempel::Vergleich befund = stempel.vergleichen();
    if (befund == Dateistempel::Vergleich::Gleich)
        return;
    // Each state of the file is brought up once: what the user was told about last
    // time is not asked again.
    Dateistempel& gemeldet = dokument_.gemeldeteAenderung();
    if (!gemeldet.leer() && gemeldet.vergleichen() == Dateistempel::Vergleich::Gleich)
        return;
    gemeldet = Dateistempel::lesen(pfad);

    if (befund == Dateistempel::Vergleich::Fehlt) {
        // The open document is now the only copy of the file: the user should know,
        // so that it can be saved before the window is closed.
        dialoge_.message(MessageKind::Information,
                         QStringLiteral("Die Datei %1 wurde außerhalb von Ravik gelöscht oder "
                                        "umbenannt.\r\n\r\nBeim Speichern wird sie neu angelegt.")
                             .arg(angezeigt(pfad)),
                         MessageButtons::Ok);
        return;
    }
    const bool ungespeichert = !dokument_.gespeichert();
    QString frage = befund == Dateistempel::Vergleich::Umgelenkt
                        ? umgelenkt(pfad) + QStringLiteral("\r\n\r\nSoll sie neu geladen werden?")
                        : QStringLiteral("Die Datei %1 wurde außerhalb von Ravik geändert.\r\n\r\n"
                                         "Soll sie neu geladen werden?")
                              .arg(angezeigt(pfad));
    if (ungespeichert)
        frage += QStringLiteral("\r\n\r\nIhre ungespeicherten Änderungen gehen dabei verloren.");
    const Answer antwort =
        dialoge_.message(ungespeichert ? MessageKind::Warning : MessageKind::Confirmation, frage,
                         ungespeichert ? MessageButtons::YesNoDefaultNo : MessageButtons::YesNo);
    if (antwort == Answer::Yes)
        dateiNeuLaden();
}

// As the open command loads a file, into the view that is current; a load that fails
// leaves the document as it was.
void Dokumentsteuerung::dateiNeuLaden() {
    const QString pfad = dokument_.name();
    if (browserAktiv()) {
        DateiLaden(pfad, Ansicht::Browser);
        geladenAnzeigen();
    } else {
        editorLaden(pfad);
    }
    dokument_.alsGespeichertAnsehen();
}

// An action of the user's ended: a look at the file that waited for it is taken now.
void Dokumentsteuerung::nachAktion() {
    if (pruefungAusstehend_)
        QTimer::singleShot(0, this, [this] { dateiaenderungNachfragen(); });
}

} // namespace ravik
