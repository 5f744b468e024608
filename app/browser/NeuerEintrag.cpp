// New section and new key, in the browser view (tree and table) and in the editor view
// (a line appended to the text).
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/browser/Browserbefehle.h"
#include "app/help/Werberotation.h"
#include "core/document/Dokument.h"
#include "app/commands/Aktionen.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "core/document/Bearbeitung.h"
#include "app/platform/dialogs/DialogService.h"

namespace ravik {
namespace {
const QString kNeuerSchluesselTitel = QStringLiteral("Neuen Schlüssel einfügen");
const QString kNeuerSchluesselFrage = QStringLiteral("Bitte geben Sie den Titel des neuen Schlüssels ein:");
const QString kNeuerWertTitel = QStringLiteral("Neuen Wert einfügen");
const QString kNeuerWertFrage = QStringLiteral("Bitte geben Sie den Wert des neuen Schlüssels ein:");
} // namespace

QString Browserbefehle::neuenWertErfragen() {
    for (;;) {
        const QString wert = dialoge_.inputText(kNeuerWertTitel, kNeuerWertFrage);
        if (wertPruefen(wert))
            return wert;
    }
}

// Names are taken as the file will hold them, without outer blanks, so that they
// are compared with the others as the file compares them.
void Browserbefehle::tbtnNeueSektionClick() {
    const QString getippt = dialoge_.inputText(QStringLiteral("Neue Sektion einfügen"),
                                               QStringLiteral("Bitte geben Sie den Titel der neuen Sektion ein:"));
    if (getippt.isEmpty()) // cancelled
        return;
    const QString name = Bearbeitung::nameWieInDatei(getippt);
    if (!namenPruefen(name, QString()))
        return;
    if (browserAktiv()) {
        if (WertVorhanden(name, QString()))
            return;
        browser_->baum().auswaehlen(browser_->baum().sektionAnhaengen(name));
        dokument_.eintragHinzugefuegt();
        // A section deleted earlier and not yet saved comes back, as an empty section.
        if (Bearbeitung::sektionZurueckholen(dokument_.tabelle(), name))
            dokument_.bearbeitet();
        if (dokument_.status() == Dateistatus::Geaendert2)
            Bearbeitung::sektionAnfuegen(dokument_.tabelle(), name);
        iniAnzeigeClick();
        ButtonsAktivieren(Ansicht::Browser);
        dokument_.bearbeitet();
    } else {
        if (WertVorhanden(name, QString()))
            return;
        editor_->editor().appendLine(QLatin1Char('[') + name + QLatin1Char(']'));
        ButtonsAktivieren(Ansicht::Editor);
        dokument_.bearbeitet();
    }
    aktionen_->speichernErlauben();
}

void Browserbefehle::tbtnNeuerWertClick() {
    if (!browserAktiv()) {
        const QString getippt = dialoge_.inputText(kNeuerSchluesselTitel, kNeuerSchluesselFrage);
        const QString schluessel = Bearbeitung::nameWieInDatei(getippt);
        if (!getippt.isEmpty() && namenPruefen(QString(), schluessel)) {
            const QString wert = neuenWertErfragen();
            editor_->editor().appendLine(schluessel + QLatin1Char('=') + wert);
        }
        dokument_.bearbeitet();
        return;
    }

    const QModelIndex ausgewaehlt = browser_->baum().ausgewaehlterKnoten();
    if (!ausgewaehlt.isValid())
        return;
    const QString getippt = dialoge_.inputText(kNeuerSchluesselTitel, kNeuerSchluesselFrage);
    if (getippt.isEmpty()) // cancelled
        return;
    const QString schluessel = Bearbeitung::nameWieInDatei(getippt);
    if (!namenPruefen(QString(), schluessel))
        return;
    const QModelIndex sektionsKnoten =
        browser_->baum().ebene(ausgewaehlt) == 1 ? ausgewaehlt.parent() : ausgewaehlt;
    const QString sektion = browser_->baum().text(sektionsKnoten);
    if (WertVorhanden(sektion, schluessel))
        return;
    browser_->baum().auswaehlen(browser_->baum().schluesselAnhaengen(sektionsKnoten, schluessel));
    iniAnzeigeClick();
    dokument_.eintragHinzugefuegt();
    // A key deleted earlier and not yet saved comes back, with an empty value.
    if (Bearbeitung::schluesselZurueckholen(dokument_.tabelle(), sektion, schluessel))
        dokument_.bearbeitet();
    if (dokument_.status() == Dateistatus::Geaendert2) {
        const QString wert = neuenWertErfragen();
        Bearbeitung::schluesselAnfuegen(dokument_.tabelle(), sektion, schluessel, wert);
    }
    geaendert();
    iniAnzeigeClick();
}

} // namespace ravik
