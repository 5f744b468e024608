// The detail panel: loading it from the tree's selection, confirming and cancelling.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/browser/Browserbefehle.h"
#include "app/help/Werberotation.h"
#include "core/document/Dokument.h"
#include "app/commands/Aktionen.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "core/document/Bearbeitung.h"
#include "core/platform/ini/TIniFile.h"

#include <QApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QPushButton>

namespace ravik {

Browserbefehle::Browserbefehle(Dokument& dokument, BrowserAnsicht& browser, EditorAnsicht& editor,
                               Aktionen& aktionen, DialogService& dialoge, Befehlsumfeld& steuerung,
                               Werberotation& werbung)
    : dokument_(dokument), browser_(&browser), editor_(&editor), aktionen_(&aktionen), dialoge_(dialoge),
      steuerung_(&steuerung), werbung_(&werbung) {}

// The panel is recomputed from the selection every time: cleared, or loaded with a
// section or a key.
void Browserbefehle::iniAnzeigeClick() {
    werbung_->zaehlen(8);
    AltWert.clear();
    AltSchluessel.clear();
    AltSektion.clear();
    IniBaum& baum = browser_->baum();
    Detailpanel& detail = browser_->detail();
    const QModelIndex knoten = baum.ausgewaehlterKnoten();
    ausgeschaltetGewaehlt_ = false;
    if (baum.knotenAnzahl() == 0 || !knoten.isValid()) {
        aktionen_->schalterFuer(Aktionen::Schalter::Keiner);
        detail.leeren();
        browser_->kommentarZeigen(QString());
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursorZurueck = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    if (const auto* aus = baum.ausgeschaltet(knoten)) {
        // Shown as it would read once switched on; nothing here is the table's.
        ausgeschaltetGewaehlt_ = true;
        aktionen_->schalterFuer(Aktionen::Schalter::Aktivieren);
        detail.ausgeschaltetZeigen(baum.text(knoten.parent()), aus->name, aus->value);
        browser_->kommentarZeigen(dokument_.kommentarDerZeile(aus->line));
        detail.knoepfeFreigeben(false);
        return;
    }
    aktionen_->schalterFuer(baum.ebene(knoten) == 1 ? Aktionen::Schalter::Deaktivieren
                                                    : Aktionen::Schalter::Keiner);
    // Asked by the section's id, not its name: the table's index of names is made
    // only when a command needs it.
    const int sektionsId = int(baum.modell().sektionsId(knoten));
    if (baum.ebene(knoten) == 1) {
        AltSektion = baum.text(knoten.parent());
        AltSchluessel = baum.text(knoten);
        AltWert = dokument_.tabelle().WertAuslesen(sektionsId, AltSchluessel);
        detail.schluesselZeigen(AltSektion, AltSchluessel, AltWert);
    } else {
        AltSektion = baum.text(knoten);
        detail.sektionZeigen(AltSektion);
    }
    browser_->kommentarZeigen(dokument_.kommentar(sektionsId, AltSchluessel));
    detail.knoepfeFreigeben(true);
}

// Names that would damage the file, or empty names, are refused where they are typed.
bool Browserbefehle::namenPruefen(const QString& sektion, const QString& schluessel) {
    QString grund;
    if (!sektion.isNull()) {
        grund = sektion.isEmpty() ? QStringLiteral("Der Titel der Sektion darf nicht leer sein.")
                                  : TIniFile::validateSectionName(sektion);
    }
    if (grund.isEmpty() && !schluessel.isNull()) {
        grund = schluessel.isEmpty() ? QStringLiteral("Der Titel des Schlüssels darf nicht leer sein.")
                                     : TIniFile::validateKeyName(schluessel);
    }
    if (grund.isEmpty())
        return true;
    dialoge_.message(MessageKind::Error,
                     grund + QStringLiteral("\r\n\r\nBitte wählen Sie einen anderen Titel."),
                     MessageButtons::Ok);
    return false;
}

bool Browserbefehle::wertPruefen(const QString& wert) {
    const QString grund = TIniFile::validateValue(wert);
    if (grund.isEmpty())
        return true;
    dialoge_.message(MessageKind::Error, grund, MessageButtons::Ok);
    return false;
}

void Browserbefehle::btnOKClick() {
    if (ausgeschaltetGewaehlt_)
        return; // nothing of it can be typed before it is switched on
    const Bearbeitung::Detailtexte alt{AltSektion, AltSchluessel, AltWert};
    // Names as the file will hold them, so that " x" is the key x.
    const Bearbeitung::Detailtexte neu = Bearbeitung::wieInDatei(browser_->detail().texte());
    const bool neuerSchluessel = neu.schluessel != alt.schluessel;
    const bool neueSektion = neu.sektion != alt.sektion;

    if (!namenPruefen(neueSektion ? neu.sektion : QString(), neuerSchluessel ? neu.schluessel : QString()))
        return;
    if (neu.wert != alt.wert && !wertPruefen(neu.wert))
        return;
    // Two entries of one name apart from case would be one in the file.
    if (Bearbeitung::namenskonflikt(dokument_.tabelle(), alt, neu)) {
        steuerung_->titelVorhandenMelden();
        return;
    }

    // The tree follows the table: the selected node shows its new name.
    const Bearbeitung::Bestaetigung ergebnis = Bearbeitung::bestaetigen(dokument_.tabelle(), alt, neu);
    if (ergebnis.geaendert())
        dokument_.bearbeitet();
    AltSchluessel = neu.schluessel;
    AltSektion = neu.sektion;
    AltWert = neu.wert;
    aktionen_->speichernErlauben();
    if (browserAktiv())
        browser_->baum().setFocus();
}

void Browserbefehle::btnStopClick() {
    if (browserAktiv())
        browser_->baum().setFocus();
    iniAnzeigeClick();
}

} // namespace ravik
