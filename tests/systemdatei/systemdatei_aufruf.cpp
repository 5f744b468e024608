// Run by SystemdateiPkexecTest as an ordinary user: opens and saves a file as the
// program's document does, answering Ja to the administrator questions, so that the
// real pkexec and polkit decide. Prints what the user would see.
//   systemdatei_aufruf lesen PFAD                      the text read and its stamp, to stdout
//   systemdatei_aufruf speichern PFAD NEUER-TEXT [--sicherung] [--warten] [--trotzdem]
//       opens PFAD, (--warten: prints "geladen" and waits for a line on stdin),
//       saves NEUER-TEXT over it (--trotzdem: as after "trotzdem überschreiben")
//   systemdatei_aufruf gross PFAD BYTES GRENZE         hands BYTES bytes to the helper
// Exit 0: done, 1: cancelled, 2: the German message follows "FEHLER: ".
#include "core/document/Dokument.h"
#include "core/document/Systemdatei.h"
#include "core/platform/files/PrivilegedFile.h"
#include "core/platform/ini/IniDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

using namespace ravik;

namespace {

void aus(const QByteArray& text) {
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

int ausfuehren(const QStringList& a) {
    Systemdatei::fragenSetzen([](Systemdatei::Frage frage, const QString&) {
        aus(frage == Systemdatei::Frage::Lesen ? "frage: lesen\n" : "frage: speichern\n");
        return true;
    });
    const QString pfad = a.value(2);
    if (a.value(1) == "lesen") {
        Dateistempel stempel;
        const auto text = Dokument::dateiLesen(pfad, &stempel);
        text->writeTo([](QByteArrayView stueck) { aus(stueck.toByteArray()); });
        // What the changed-on-disk check says of the file just read.
        aus(stempel.vergleichen() == Dateistempel::Vergleich::Gleich ? "stempel: gleich\n" : "stempel: anders\n");
        return 0;
    }
    if (a.value(1) == "gross") {
        const QByteArray inhalt(a.value(3).toLongLong(), 'x');
        PrivilegedFile::Options optionen;
        optionen.helper = PrivilegedFile::helperPath();
        optionen.limit = a.value(4).toLongLong();
        const auto ergebnis = PrivilegedFile::write(pfad, PrivilegedFile::hashOfFile(pfad), false,
                                                    [&](const FileIO::PieceWriter& w) { w(inhalt); }, optionen);
        if (ergebnis.status == PrivilegedFile::Outcome::Status::Done)
            return 0;
        aus("FEHLER: " + ergebnis.reason.toUtf8() + '\n');
        return 2;
    }
    Dokument dokument;
    dokument.textUebernehmen(Dokument::dateiLesen(pfad));
    dokument.setName(pfad);
    if (a.contains("--warten")) {
        aus("geladen\n");
        char zeile[16];
        if (!std::fgets(zeile, sizeof zeile, stdin))
            return 3;
    }
    QFile neu(a.value(3));
    if (!neu.open(QIODevice::ReadOnly))
        return 3;
    dokument.textUebernehmen(std::make_unique<IniDocument>(neu.readAll()));
    if (a.contains("--trotzdem")) // the answer Ja to "Soll sie trotzdem überschrieben werden?"
        Systemdatei::ueberschreibenErlauben(pfad);
    dokument.speichernUnter(pfad, a.contains("--sicherung"), nullptr);
    aus(Systemdatei::titelZusatz(pfad).toUtf8() + '\n');
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return ausfuehren(app.arguments());
    } catch (const Abgebrochen&) {
        return 1;
    } catch (const std::exception& e) {
        aus("FEHLER: " + messageOf(e).toUtf8() + '\n');
        return 2;
    }
}
