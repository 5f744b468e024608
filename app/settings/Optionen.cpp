// The settings file (default view and the editor's three colours) and the options
// panel's actions.
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynIniSyn.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/settings/Farbfeld.h"
#include "app/shell/TForm1.h"
#include "core/settings/Dateityp.h"
#include "core/settings/Einstellungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace ravik {

QString TForm1::einstellungsdatei() const {
    return Einstellungen::datei(Programmpfad);
}

void TForm1::KonfigurationLaden() {
    const QString grund = Einstellungen::gesperrt(einstellungsdatei());
    einstellungenGesperrt_ = !grund.isEmpty();
    if (einstellungenGesperrt_)
        dialoge_.message(MessageKind::Warning,
                         QStringLiteral("Die Einstellungen werden nicht verwendet. %1\r\n\r\n"
                                        "Ravik beginnt mit den Voreinstellungen und speichert "
                                        "weder Einstellungen noch die zuletzt geöffneten "
                                        "Dateien.")
                             .arg(grund),
                         MessageButtons::Ok);
    const Einstellungen e = einstellungenGesperrt_ ? Einstellungen()
                                                   : Einstellungen::lesen(einstellungsdatei());
    comboAnsicht->setCurrentIndex(e.ansicht);
    farbeSektionen->setZahl(e.farbeSektionen);
    farbeSchluessel->setZahl(e.farbeSchluessel);
    farbeAktuelleZeile->setZahl(e.farbeAktuelleZeile);
    chkAenderungenVorDemSpeichern->setChecked(e.aenderungenVorDemSpeichern);
}

void TForm1::KonfigurationSpeichern() {
    if (einstellungenGesperrt_)
        return; // the user was told at the start
    Einstellungen e;
    e.ansicht = comboAnsicht->currentIndex();
    e.farbeSektionen = farbeSektionen->zahl();
    e.farbeSchluessel = farbeSchluessel->zahl();
    e.farbeAktuelleZeile = farbeAktuelleZeile->zahl();
    e.aenderungenVorDemSpeichern = chkAenderungenVorDemSpeichern->isChecked();
    e.schreiben(einstellungsdatei());
}

void TForm1::FarbenAnwenden() {
    editor_->editor().highlighter()->setSectionColor(farbeSektionen->farbe());
    editor_->editor().highlighter()->setKeyColor(farbeSchluessel->farbe());
    editor_->editor().setActiveLineColor(farbeAktuelleZeile->farbe());
}

void TForm1::Button1Click(QWidget* sender) {
    Farbfeld* feld = sender == Button1   ? farbeSektionen
                     : sender == Button2 ? farbeSchluessel
                                         : farbeAktuelleZeile;
    if (const auto gewaehlt = dialoge_.chooseColor(feld->farbe()))
        feld->setFarbe(*gewaehlt);
    FarbenAnwenden();
}

void TForm1::Button4Click() {
    const QString fehler = DateitypRegistrieren(QStringLiteral(".ini"), QStringLiteral("INI-Datei"),
                                                QStringLiteral("Ravik Velmora INI-Editor"),
                                                optionen_.programmdatei, QStringLiteral("%1"), 0);
    if (!fehler.isEmpty())
        dialoge_.message(
            MessageKind::Error,
            QStringLiteral("INI-Dateien konnten nicht mit Ravik verknüpft werden.\r\n\r\n") +
                fehler,
            MessageButtons::Ok);
}

} // namespace ravik
