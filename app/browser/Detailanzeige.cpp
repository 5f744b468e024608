// The detail panel: loading it from the tree's selection, confirming and cancelling.
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"
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
        const QString wert = WerteTabelle_.WertAuslesen(sektion, schluessel);
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
    const QString s = SektionAnzeige->text();
    const QString k = SchluesselAnzeige->text();
    const QString v = WertAnzeige->text();
    const bool neuerWert = v != AltWert;
    const bool neuerSchluessel = k != AltSchluessel;
    const bool neueSektion = s != AltSektion;

    if (!namenPruefen(neueSektion ? s : QString(), neuerSchluessel ? k : QString()))
        return;
    if (neuerWert) {
        const QString grund = TIniFile::validateValue(v);
        if (!grund.isEmpty()) {
            dialoge_.message(MessageKind::Error, grund, MessageButtons::Ok);
            return;
        }
    }

    const QModelIndex knoten = iniAnzeige->ausgewaehlterKnoten();
    if (neuerWert) {
        for (int r : WerteTabelle_.zeilenMit(AltSektion, AltSchluessel)) {
            WerteTabelle_.setWert(r, v);
            if (WerteTabelle_.marke(r).isEmpty())
                WerteTabelle_.setMarke(r, WerteTabelle::kChange);
        }
        Dateistatus = QStringLiteral("geaendert");
    }
    if (neuerSchluessel) {
        for (int r : WerteTabelle_.zeilenMit(s, AltSchluessel)) {
            if (WerteTabelle_.istGeloescht(r))
                continue;
            const QString& marke = WerteTabelle_.marke(r);
            if (marke.isEmpty() || marke == WerteTabelle::kChange) {
                WerteTabelle_.setMarke(r, WerteTabelle::kEdit);
                WerteTabelle_.anhaengen(s, AltSchluessel, {}, WerteTabelle::kDelete);
            }
            WerteTabelle_.setSchluessel(r, k);
        }
        iniAnzeige->setText(knoten, k);
        Dateistatus = QStringLiteral("geaendert");
    }
    if (neueSektion) {
        for (int r : WerteTabelle_.zeilenDerSektion(AltSektion)) {
            if (WerteTabelle_.istGeloescht(r))
                continue;
            if (WerteTabelle_.istSektionsZeile(r)) {
                WerteTabelle_.setMarke(r, WerteTabelle::kDelete);
            } else {
                WerteTabelle_.setSektion(r, s);
                WerteTabelle_.setMarke(r, WerteTabelle::kEdit);
            }
        }
        WerteTabelle_.anhaengen(s, {}, {}, WerteTabelle::kNeu);
        iniAnzeige->setText(knoten, s);
        Dateistatus = QStringLiteral("geaendert");
    }
    AltSchluessel = k;
    AltSektion = s;
    AltWert = v;
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
