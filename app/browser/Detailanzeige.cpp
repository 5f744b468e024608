// The detail panel: loading it from the tree's selection, confirming and cancelling.
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "core/document/Bearbeitung.h"
#include "core/platform/ini/TIniFile.h"

#include <QApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QPushButton>

namespace ravik {

void TForm1::detailfelderLeeren() {
    for (DetailFeld* feld : {WertAnzeige, SektionAnzeige, SchluesselAnzeige}) {
        feld->setFreigegeben(false);
        feld->clear();
    }
}

// The panel is recomputed from the selection every time: cleared, or loaded with a
// section or a key. Each field is set once to its final state (disabling and
// enabling it again would cost a repaint and move the focus away).
void TForm1::iniAnzeigeClick() {
    if (++Klickzaehler == 8)
        Werbetexte();
    AltWert.clear();
    AltSchluessel.clear();
    AltSektion.clear();
    const QModelIndex knoten = iniAnzeige->ausgewaehlterKnoten();
    if (iniAnzeige->knotenAnzahl() == 0 || !knoten.isValid()) {
        detailfelderLeeren();
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursorZurueck = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    const auto zeigen = [](DetailFeld* feld, bool frei, const QString& text) {
        feld->setFreigegeben(frei);
        if (feld->text() != text)
            feld->setText(text);
        else
            feld->setCursorPosition(text.size());
    };
    if (iniAnzeige->ebene(knoten) == 1) {
        const QString sektion = iniAnzeige->text(knoten.parent());
        const QString schluessel = iniAnzeige->text(knoten);
        const QString wert = dokument_.tabelle().WertAuslesen(sektion, schluessel);
        zeigen(SektionAnzeige, false, sektion);
        zeigen(SchluesselAnzeige, true, schluessel);
        zeigen(WertAnzeige, true, wert);
        AltSektion = sektion;
        AltSchluessel = schluessel;
        AltWert = wert;
    } else {
        AltSektion = iniAnzeige->text(knoten);
        zeigen(SektionAnzeige, true, AltSektion);
        zeigen(SchluesselAnzeige, false, QString());
        zeigen(WertAnzeige, false, QString());
    }
    btnOK->setEnabled(true);
    btnStop->setEnabled(true);
}

// Names that would damage the file, or empty names, are refused where they are typed.
bool TForm1::namenPruefen(const QString& sektion, const QString& schluessel) {
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

void TForm1::btnOKClick() {
    const Bearbeitung::Detailtexte alt{AltSektion, AltSchluessel, AltWert};
    const Bearbeitung::Detailtexte neu{SektionAnzeige->text(), SchluesselAnzeige->text(),
                                       WertAnzeige->text()};
    const bool neuerSchluessel = neu.schluessel != alt.schluessel;
    const bool neueSektion = neu.sektion != alt.sektion;

    if (!namenPruefen(neueSektion ? neu.sektion : QString(), neuerSchluessel ? neu.schluessel : QString()))
        return;
    if (neu.wert != alt.wert) {
        const QString grund = TIniFile::validateValue(neu.wert);
        if (!grund.isEmpty()) {
            dialoge_.message(MessageKind::Error, grund, MessageButtons::Ok);
            return;
        }
    }
    // Two entries of one name apart from case would be one in the file.
    if (Bearbeitung::namenskonflikt(dokument_.tabelle(), alt, neu)) {
        titelVorhandenMelden();
        return;
    }

    const QModelIndex knoten = iniAnzeige->ausgewaehlterKnoten();
    const Bearbeitung::Bestaetigung ergebnis = Bearbeitung::bestaetigen(dokument_.tabelle(), alt, neu);
    if (ergebnis.schluessel)
        iniAnzeige->setText(knoten, neu.schluessel);
    if (ergebnis.sektion)
        iniAnzeige->setText(knoten, neu.sektion);
    if (ergebnis.geaendert())
        dokument_.setStatus(Dateistatus::Geaendert);
    AltSchluessel = neu.schluessel;
    AltSektion = neu.sektion;
    AltWert = neu.wert;
    tbtnDateispeichern->setEnabled(true);
    if (browserAktiv())
        iniAnzeige->setFocus();
}

void TForm1::btnStopClick() {
    if (browserAktiv())
        iniAnzeige->setFocus();
    iniAnzeigeClick();
}

} // namespace ravik
