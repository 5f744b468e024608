// Deleting the selected entry, and expanding or collapsing the whole tree.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/platform/widgets/Bilder.h"
#include "app/browser/Browserbefehle.h"
#include "app/help/Werberotation.h"
#include "core/document/Dokument.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "core/document/Bearbeitung.h"
#include "app/platform/dialogs/DialogService.h"

namespace ravik {

void Browserbefehle::tbtnDeleteClick() {
    const QModelIndex knoten = browser_->baum().ausgewaehlterKnoten();
    // A switched-off key is a comment of the file: switched on first, it can be deleted.
    if (browser_->baum().knotenAnzahl() > 0 && knoten.isValid() && !browser_->baum().ausgeschaltet(knoten)) {
        const bool istSektion = browser_->baum().bildIndex(knoten) == IniBaum::kSektionsBild;
        const QString frage =
            istSektion ? QStringLiteral("Soll die markierte Sektion wirklich gelöscht werden?\r\n\r\n"
                                        "Die darin enthaltenen Schlüssel werden ebenfalls gelöscht!\r\n\r\n"
                                        "Dieser Vorgang kann nicht rückgängig gemacht werden!")
                       : QStringLiteral("Soll der markierte Schlüssel wirklich gelöscht werden?\r\n\r\n"
                                        "Dieser Vorgang kann nicht rückgängig gemacht werden!");
        if (dialoge_.message(MessageKind::Confirmation, frage, MessageButtons::OkCancel) == Answer::Ok) {
            geaendert();
            if (istSektion)
                Bearbeitung::sektionLoeschen(dokument_.tabelle(), browser_->baum().text(knoten));
            else
                Bearbeitung::schluesselLoeschen(dokument_.tabelle(), browser_->baum().text(knoten.parent()),
                                                browser_->baum().text(knoten));
            // The tree follows the table: the node is gone, its neighbour selected.
            iniAnzeigeClick();
        }
    }
    ButtonsAktivieren(Ansicht::Browser);
}

void Browserbefehle::tbtnAnsichtClick() {
    if (browser_->baum().knotenAnzahl() == 0)
        return;
    const bool ausklappen = !steuerung_->baumAusgeklappt();
    steuerung_->setBaumAusgeklappt(ausklappen);
    if (!ausklappen) {
        browser_->baum().allesEinklappen();
    } else {
        browser_->baum().allesAusklappen();
        const QModelIndex knoten = browser_->baum().ausgewaehlterKnoten();
        if (knoten.isValid())
            browser_->baum().scrollTo(knoten);
    }
    iniAnzeigeClick();
}

} // namespace ravik
