// The settings file (default view and the editor's three colours) and the options
// panel's actions.
#include "app/settings/Optionsseite.h"

#include "app/editor/SynIniSyn.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/settings/Farbfeld.h"
#include "core/settings/Dateityp.h"
#include "core/settings/Einstellungen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include "app/platform/widgets/Bausteine.h"
#include <QPushButton>

namespace ravik {

using Bausteine::knopf;

Optionsseite::Optionsseite(const Ort& ort, DialogService& dialoge, SynMemo& editor,
                           const Ausfuehrer& ausfuehren, QWidget* parent)
    : QWidget(parent), ort_(ort), dialoge_(dialoge), editor_(editor) {
    setObjectName(QStringLiteral("panelSetup"));
    QWidget* panel = this;

    auto* allgemein = new QGroupBox(QStringLiteral("Allgemeine Einstellungen"), panel);
    QFont fett = allgemein->font();
    fett.setBold(true);
    allgemein->setFont(fett);
    Button4 = knopf(QStringLiteral("Button4"), QStringLiteral("Jetzt verknüpfen"), allgemein);
    comboAnsicht = new QComboBox(allgemein);
    comboAnsicht->setObjectName(QStringLiteral("comboAnsicht"));
    comboAnsicht->addItems({QStringLiteral("Browseransicht"), QStringLiteral("Editoransicht")});
    auto* g = new QGridLayout(allgemein);
    QLabel* verknuepfen = new QLabel(QStringLiteral("INI-Dateien mit Ravik verknüpfen"), allgemein);
    QLabel* oeffnen = new QLabel(QStringLiteral("INI-Dateien direkt öffnen in:"), allgemein);
    for (QWidget* normal : {static_cast<QWidget*>(verknuepfen), static_cast<QWidget*>(oeffnen),
                            static_cast<QWidget*>(Button4), static_cast<QWidget*>(comboAnsicht)}) {
        QFont f = normal->font();
        f.setBold(false);
        normal->setFont(f);
    }
    g->addWidget(verknuepfen, 0, 0);
    g->addWidget(Button4, 0, 1);
    g->addWidget(oeffnen, 1, 0);
    g->addWidget(comboAnsicht, 1, 1);

    auto* farben = new QGroupBox(QStringLiteral("Farbeinstellungen der Editoranzeige"), panel);
    farben->setFont(fett);
    farbeSektionen = new Farbfeld(QStringLiteral("farbeSektionen"), farben);
    farbeSchluessel = new Farbfeld(QStringLiteral("farbeSchluessel"), farben);
    farbeAktuelleZeile = new Farbfeld(QStringLiteral("farbeAktuelleZeile"), farben);
    Button1 = knopf(QStringLiteral("Button1"), QStringLiteral("Ändern"), farben);
    Button2 = knopf(QStringLiteral("Button2"), QStringLiteral("Ändern"), farben);
    Button3 = knopf(QStringLiteral("Button3"), QStringLiteral("Ändern"), farben);
    auto* f = new QGridLayout(farben);
    const struct {
        Farbfeld* feld;
        const char* text;
        QPushButton* knopf;
    } reihen[] = {{farbeSektionen, "Farbe Sektionen", Button1},
                  {farbeSchluessel, "Farbe Schlüssel", Button2},
                  {farbeAktuelleZeile, "Farbe Aktuelle Zeile", Button3}};
    int reihe = 0;
    for (const auto& rz : reihen) {
        auto* label = new QLabel(QString::fromUtf8(rz.text), farben);
        for (QWidget* normal : {static_cast<QWidget*>(label), static_cast<QWidget*>(rz.knopf)}) {
            QFont nf = normal->font();
            nf.setBold(false);
            normal->setFont(nf);
        }
        f->addWidget(rz.feld, reihe, 0);
        f->addWidget(label, reihe, 1);
        f->addWidget(rz.knopf, reihe, 2);
        ++reihe;
    }
    f->setColumnStretch(1, 1);

    btnZurueck2 = knopf(QStringLiteral("btnZurueck2"), QStringLiteral("Zurück"), panel);
    auto* v = new QVBoxLayout(panel);
    v->addWidget(allgemein);
    v->addWidget(farben);
    v->addStretch();
    auto* unten = new QHBoxLayout;
    unten->addWidget(btnZurueck2);
    unten->addStretch();
    v->addLayout(unten);

    for (QPushButton* b : {Button1, Button2, Button3})
        connect(b, &QPushButton::clicked, this, [=] { ausfuehren([=] { Button1Click(b); }); });
    connect(Button4, &QPushButton::clicked, this, [=] { ausfuehren([this] { Button4Click(); }); });
}

Ansicht Optionsseite::startansicht() const {
    return comboAnsicht->currentIndex() != 0 ? Ansicht::Editor : Ansicht::Browser;
}

void Optionsseite::KonfigurationLaden() {
    const QString grund = Einstellungen::gesperrt(ort_.einstellungsdatei);
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
                                                   : Einstellungen::lesen(ort_.einstellungsdatei);
    comboAnsicht->setCurrentIndex(e.ansicht);
    farbeSektionen->setZahl(e.farbeSektionen);
    farbeSchluessel->setZahl(e.farbeSchluessel);
    farbeAktuelleZeile->setZahl(e.farbeAktuelleZeile);
}

void Optionsseite::KonfigurationSpeichern() {
    if (einstellungenGesperrt_)
        return; // the user was told at the start
    Einstellungen e;
    e.ansicht = comboAnsicht->currentIndex();
    e.farbeSektionen = farbeSektionen->zahl();
    e.farbeSchluessel = farbeSchluessel->zahl();
    e.farbeAktuelleZeile = farbeAktuelleZeile->zahl();
    e.schreiben(ort_.einstellungsdatei);
}

void Optionsseite::FarbenAnwenden() {
    editor_.highlighter()->setSectionColor(farbeSektionen->farbe());
    editor_.highlighter()->setKeyColor(farbeSchluessel->farbe());
    editor_.setActiveLineColor(farbeAktuelleZeile->farbe());
}

void Optionsseite::Button1Click(QWidget* sender) {
    Farbfeld* feld = sender == Button1   ? farbeSektionen
                     : sender == Button2 ? farbeSchluessel
                                         : farbeAktuelleZeile;
    if (const auto gewaehlt = dialoge_.chooseColor(feld->farbe()))
        feld->setFarbe(*gewaehlt);
    FarbenAnwenden();
}

void Optionsseite::Button4Click() {
    const QString fehler = DateitypRegistrieren(QStringLiteral(".ini"), QStringLiteral("INI-Datei"),
                                                QStringLiteral("Ravik Velmora INI-Editor"),
                                                ort_.programmdatei, QStringLiteral("%1"), 0);
    if (!fehler.isEmpty())
        dialoge_.message(
            MessageKind::Error,
            QStringLiteral("INI-Dateien konnten nicht mit Ravik verknüpft werden.\r\n\r\n") +
                fehler,
            MessageButtons::Ok);
}

} // namespace ravik
