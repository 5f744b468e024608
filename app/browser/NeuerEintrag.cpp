// New section and new key, in the browser view (tree and table) and in the editor view
// (a line appended to the text).
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"

namespace ravik {
namespace {
const QString kNeuerSchluesselTitel = QStringLiteral("Neuen Schlüssel einfügen");
const QString kNeuerSchluesselFrage = QStringLiteral("Bitte geben Sie den Titel des neuen Schlüssels ein:");
const QString kNeuerWertTitel = QStringLiteral("Neuen Wert einfügen");
const QString kNeuerWertFrage = QStringLiteral("Bitte geben Sie den Wert des neuen Schlüssels ein:");
const QString kGeaendert = QStringLiteral("geaendert");
const QString kGeaendert2 = QStringLiteral("geaendert2");
} // namespace

void TForm1::tbtnNeueSektionClick() {
    const QString name = dialoge_.inputText(QStringLiteral("Neue Sektion einfügen"),
                                            QStringLiteral("Bitte geben Sie den Titel der neuen Sektion ein:"));
    if (name.isEmpty() || !namenPruefen(name, QString()))
        return;
    if (browserAktiv()) {
        if (WertVorhanden(name, QString()))
            return;
        const bool tabelleWarLeer = WerteTabelle_.istLeer() && iniAnzeige->knotenAnzahl() == 0;
        iniAnzeige->auswaehlen(iniAnzeige->sektionAnhaengen(name));
        Dateistatus = kGeaendert2;
        // A section deleted earlier and not yet saved comes back, as an empty section.
        for (int r : WerteTabelle_.zeilenMit(name, QString())) {
            WerteTabelle_.setMarke(r, WerteTabelle::kNeu);
            Dateistatus = kGeaendert;
        }
        if (Dateistatus == kGeaendert2) {
            if (tabelleWarLeer)
                WerteTabelle_.setZeile(0, name, {}, {}, WerteTabelle::kNeu);
            else
                WerteTabelle_.anhaengen(name, {}, {}, WerteTabelle::kNeu);
        }
        iniAnzeigeClick();
        ButtonsAktivieren(QStringLiteral("browser"));
        Dateistatus = kGeaendert;
    } else {
        if (WertVorhanden(name, QString()))
            return;
        SynMemo1->appendLine(QLatin1Char('[') + name + QLatin1Char(']'));
        ButtonsAktivieren(QStringLiteral("editor"));
        Dateistatus = kGeaendert;
    }
    tbtnDateispeichern->setEnabled(true);
}

void TForm1::tbtnNeuerWertClick() {
    if (!browserAktiv()) {
        const QString schluessel = dialoge_.inputText(kNeuerSchluesselTitel, kNeuerSchluesselFrage);
        if (!schluessel.isEmpty() && namenPruefen(QString(), schluessel)) {
            const QString wert = dialoge_.inputText(kNeuerWertTitel, kNeuerWertFrage);
            SynMemo1->appendLine(schluessel + QLatin1Char('=') + wert);
        }
        Dateistatus = kGeaendert;
        return;
    }

    const QModelIndex ausgewaehlt = iniAnzeige->ausgewaehlterKnoten();
    if (!ausgewaehlt.isValid())
        return;
    const QString schluessel = dialoge_.inputText(kNeuerSchluesselTitel, kNeuerSchluesselFrage);
    if (schluessel.isEmpty() || !namenPruefen(QString(), schluessel))
        return;
    const QModelIndex sektionsKnoten =
        iniAnzeige->ebene(ausgewaehlt) == 1 ? ausgewaehlt.parent() : ausgewaehlt;
    const QString sektion = iniAnzeige->text(sektionsKnoten);
    if (WertVorhanden(sektion, schluessel))
        return;
    iniAnzeige->auswaehlen(iniAnzeige->schluesselAnhaengen(sektionsKnoten, schluessel));
    iniAnzeigeClick();
    Dateistatus = kGeaendert2;
    // A key deleted earlier and not yet saved comes back, with an empty value.
    for (int r : WerteTabelle_.zeilenMit(sektion, schluessel)) {
        WerteTabelle_.setWert(r, QString());
        WerteTabelle_.setMarke(r, WerteTabelle::kEdit);
        Dateistatus = kGeaendert;
    }
    if (Dateistatus == kGeaendert2) {
        const QString wert = dialoge_.inputText(kNeuerWertTitel, kNeuerWertFrage);
        WerteTabelle_.anhaengen(sektion, schluessel, wert, WerteTabelle::kEdit);
    }
    Dateistatus = kGeaendert;
    tbtnDateispeichern->setEnabled(true);
    iniAnzeigeClick();
}

} // namespace ravik
