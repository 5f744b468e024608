// Deleting the selected entry, and expanding or collapsing the whole tree.
#include "app/browser/IniBaum.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"

namespace ravik {

void TForm1::tbtnDeleteClick() {
    const QModelIndex knoten = iniAnzeige->ausgewaehlterKnoten();
    if (iniAnzeige->knotenAnzahl() > 0 && knoten.isValid()) {
        const bool istSektion = iniAnzeige->bildIndex(knoten) == IniBaum::kSektionsBild;
        const QString frage =
            istSektion ? QStringLiteral("Soll die markierte Sektion wirklich gelöscht werden?\r\n\r\n"
                                        "Die darin enthaltenen Schlüssel werden ebenfalls gelöscht!\r\n\r\n"
                                        "Dieser Vorgang kann nicht rückgängig gemacht werden!")
                       : QStringLiteral("Soll der markierte Schlüssel wirklich gelöscht werden?\r\n\r\n"
                                        "Dieser Vorgang kann nicht rückgängig gemacht werden!");
        if (dialoge_.message(MessageKind::Confirmation, frage, MessageButtons::OkCancel) == Answer::Ok) {
            tbtnDateispeichern->setEnabled(true);
            Dateistatus = QStringLiteral("geaendert");
            if (istSektion) {
                const QString sektion = iniAnzeige->text(knoten);
                for (int r : WerteTabelle_.zeilenDerSektion(sektion))
                    WerteTabelle_.setMarke(r, WerteTabelle::kDelete);
            } else {
                const QString sektion = iniAnzeige->text(knoten.parent());
                const QString schluessel = iniAnzeige->text(knoten);
                for (int r : WerteTabelle_.zeilenMit(sektion, schluessel)) {
                    WerteTabelle_.setWert(r, QString());
                    WerteTabelle_.setMarke(r, WerteTabelle::kDelete);
                }
            }
            iniAnzeige->knotenLoeschen(knoten);
            iniAnzeigeClick();
        }
    }
    ButtonsAktivieren(QStringLiteral("browser"));
}

void TForm1::tbtnAnsichtClick() {
    if (iniAnzeige->knotenAnzahl() == 0)
        return;
    if (tbtnAnsicht->bildIndex() == 3) {
        tbtnAnsicht->setBildIndex(2);
        iniAnzeige->allesEinklappen();
        tbtnAnsicht->setHinweis(QStringLiteral("Alle Schlüssel ausklappen (F2)"));
    } else {
        tbtnAnsicht->setBildIndex(3);
        iniAnzeige->allesAusklappen();
        tbtnAnsicht->setHinweis(QStringLiteral("Alle Schlüssel einklappen (F2)"));
        const QModelIndex knoten = iniAnzeige->ausgewaehlterKnoten();
        if (knoten.isValid())
            iniAnzeige->scrollTo(knoten);
    }
    iniAnzeigeClick();
}

} // namespace ravik
