// Saving: the save command with its backup copy, and writing either view's document.
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/Warteanzeige.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/ini/TIniFile.h"

#include <QCheckBox>
#include <QSet>

namespace ravik {
namespace {

// Copies the file as it is now to "<file>.bak". A document without a file yet (new,
// or its file is gone) has nothing to copy, and the save goes on without a backup.
void sicherheitskopieAnlegen(const QString& dateiname) {
    if (dateiname.isEmpty() || !FileIO::exists(dateiname))
        return;
    const QByteArray inhalt = FileIO::readAll(dateiname);
    const QString kopie = dateiname + QStringLiteral(".bak");
    if (const auto fehler = FileIO::replaceAtomically(kopie, inhalt))
        throw EFCreateError(kopie, fehler->reason);
}

// Applies the table's marked changes to the file in four passes: create the live
// sections, erase the deleted ones, remove the deleted keys, write every live key.
// Untouched lines of the file stay as they are.
void tabelleAnwenden(const WerteTabelle& tabelle, bool baumLeer, const QString& pfad,
                     Warteanzeige& warten) {
    // With an empty tree the table holds only deleted rows (or the blank row of a
    // new document): only the removals apply.
    QStringList anlegen, entfernen;
    QList<QPair<QString, QString>> schluesselEntfernen;
    QSet<QString> lebendeSektionen; // folded as the file's names are
    const int zeilen = tabelle.RowCount();
    for (int r = 0; r < zeilen; ++r) {
        const QString& s = tabelle.sektion(r);
        if (tabelle.istSektionsZeile(r)) {
            if (tabelle.istGeloescht(r)) {
                entfernen.append(s);
            } else if (!baumLeer) {
                anlegen.append(s);
                lebendeSektionen.insert(s.toCaseFolded());
            }
        } else if (tabelle.istGeloescht(r)) {
            schluesselEntfernen.append({s, tabelle.schluessel(r)});
        }
    }

    TIniFile ini(pfad);
    if (ini.LineCount() == 0 && !baumLeer) // a new file: every row becomes a line
        ini.Reserve(zeilen, tabelle.textBytes() + qsizetype(zeilen) * 4);
    for (const QString& s : anlegen)
        ini.CreateSection(s);
    warten.schritt();
    // Also an empty section goes; one that is live again under the same name (a
    // rename back, another entry renamed to it) stays, and only its deleted keys go.
    for (const QString& s : entfernen)
        if (!lebendeSektionen.contains(s.toCaseFolded()))
            ini.RemoveSection(s);
    for (const auto& [s, k] : schluesselEntfernen)
        ini.RemoveKey(s, k);
    warten.schritt();
    if (!baumLeer) {
        const QString* sektion = nullptr; // rows of a section mostly follow each other
        QByteArray sektionUtf8;
        for (int r = 0; r < zeilen; ++r) {
            if ((r & 0xFFF) == 0)
                warten.schritt(r);
            if (tabelle.istGeloescht(r) || tabelle.istSektionsZeile(r))
                continue;
            if (&tabelle.sektion(r) != sektion) {
                sektion = &tabelle.sektion(r);
                sektionUtf8 = sektion->toUtf8();
            }
            ini.WriteValueUtf8(sektionUtf8, tabelle.schluesselUtf8(r), tabelle.wertUtf8(r));
        }
    }
    // The chosen file exists afterwards, also when nothing had to be written.
    ini.Flush(true);
}

} // namespace

bool TForm1::tbtnDateispeichernClick() {
    const QString ansicht = browserAktiv() ? QStringLiteral("browser") : QStringLiteral("editor");
    const auto gewaehlt = dialoge_.saveFileName({Dateiname});
    if (!gewaehlt)
        return false;
    if (CheckBox1->isChecked())
        sicherheitskopieAnlegen(Dateiname);
    DateiSpeichern(*gewaehlt, ansicht);
    tbtnDateispeichern->setEnabled(true);
    Dateistatus = QStringLiteral("gespeichert");
    Dateiname = *gewaehlt;
    titelSetzen(Dateiname);
    return true;
}

void TForm1::DateiSpeichern(const QString& pfad, const QString& ansicht) {
    Warteanzeige warten(this, QStringLiteral("Datei wird gespeichert …"));
    if (ansicht == QLatin1String("editor")) {
        // Also an empty text is written: a user who deleted everything means it.
        const auto fortschritt = warten.folgen(*SynMemo1);
        SynMemo1->saveLinesToFile(pfad);
        return;
    }
    try {
        tabelleAnwenden(WerteTabelle_, iniAnzeige->knotenAnzahl() == 0, pfad, warten);
    } catch (const EFOpenError&) {
        // A target that cannot even be read (a directory, no permission) cannot be
        // written either: report it as such.
        throw EIniFileException::cannotWrite(pfad);
    }
}

void TForm1::CheckBox1Click() {
    if (CheckBox1->isChecked()) {
        CheckBox1->setChecked(true);
        CheckBox2->setChecked(true);
        return;
    }
    dialoge_.message(MessageKind::Warning,
                     QStringLiteral("Änderungen an Konfigurationsdateien können zu unvorhersehbaren\r\n"
                                    "Fehlern und Programmabstürzen führen.\r\n\r\n"
                                    "Wir empfehlen eine Sicherungskopie anzulegen, mit welcher Sie die\r\n"
                                    "vorgenommenen Änderungen rückgängig machen können."),
                     MessageButtons::Ok);
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
}

void TForm1::CheckBox2Click() {
    CheckBox1->setChecked(CheckBox2->isChecked());
}

} // namespace ravik
