// Switching a key on or off: ";extension=mysqli" becomes "extension=mysqli" and back,
// in the file's text, with every other byte as it was.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Browserbefehle.h"
#include "app/browser/DetailFeld.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/document/Dokument.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace ravik {
namespace {

// More expanded sections than this are expanded again as a whole tree.
constexpr int kAufklappenEinzeln = 1000;

} // namespace

void Browserbefehle::actSchluesselAktivierenClick() {
    IniBaum& baum = browser_->baum();
    const QModelIndex knoten = baum.ausgewaehlterKnoten();
    if (!browserAktiv() || !knoten.isValid() || baum.ebene(knoten) != 1)
        return;
    const QString sektion = baum.text(knoten.parent());
    const auto* aus = baum.ausgeschaltet(knoten);
    if (!aus) {
        const QString name = baum.text(knoten);
        nachNeuemText([&] { dokument_.schluesselAusschalten(sektion, name); }, sektion, name, true);
        geaendert();
        return;
    }
    const QString name = aus->name;
    const qint32 zeile = aus->line;
    // Two live keys of one name are what php.ini's "extension" lines want and a mistake
    // anywhere else: the user says which, and nothing happens unasked.
    bool aktivenAusschalten = false;
    if (dokument_.tabelle().hatLebendenNamen(sektion, name)) {
        const QString frage =
            QStringLiteral("Der Schlüssel %1 ist in dieser Sektion schon aktiv. Soll er ein weiteres Mal "
                           "aktiviert werden?\r\n\r\nJa: Beide Einträge gelten.\r\nNein: Der aktive "
                           "Eintrag wird dafür deaktiviert.\r\nAbbrechen: Nichts ändern.")
                .arg(name);
        const Answer antwort = dialoge_.message(MessageKind::Confirmation, frage, MessageButtons::YesNoCancel);
        if (antwort != Answer::Yes && antwort != Answer::No)
            return;
        aktivenAusschalten = antwort == Answer::No;
    }
    nachNeuemText([&] { dokument_.schluesselEinschalten(sektion, zeile, aktivenAusschalten); }, sektion,
                  name, false);
    geaendert();
}

void Browserbefehle::auskommentierteZeigen(bool zeigen) {
    IniBaum& baum = browser_->baum();
    if (baum.modell().ausgeschalteteZeigen() == zeigen)
        return;
    const QModelIndex knoten = baum.ausgewaehlterKnoten();
    const bool schluessel = knoten.isValid() && baum.ebene(knoten) == 1;
    const QString sektion = !knoten.isValid() ? QString() : baum.text(schluessel ? knoten.parent() : knoten);
    nachNeuemText([&] { baum.modell().setAusgeschalteteZeigen(zeigen); }, sektion,
                  schluessel ? baum.text(knoten) : QString(), schluessel && baum.ausgeschaltet(knoten));
}

void Browserbefehle::nachNeuemText(const std::function<void()>& aenderung, const QString& sektion,
                                   const QString& schluessel, bool ausgeschaltet) {
    IniBaum& baum = browser_->baum();
    QStringList aufgeklappt;
    const bool einzeln = baum.aufgeklappteSektionen(aufgeklappt, kAufklappenEinzeln);
    aenderung();
    if (einzeln)
        baum.sektionenAufklappen(aufgeklappt);
    else
        baum.allesAusklappen();
    const QModelIndex s = baum.sektionsKnoten(sektion);
    const QModelIndex k = ausgeschaltet ? baum.ausgeschalteterKnoten(s, schluessel)
                                        : baum.schluesselKnoten(s, schluessel);
    if (s.isValid())
        baum.auswaehlen(k.isValid() ? k : s);
    iniAnzeigeClick();
    ButtonsAktivieren(Ansicht::Browser);
}

void Browserbefehle::wertBearbeitungVersucht() {
    if (!ausgeschaltetGewaehlt_)
        return;
    actSchluesselAktivierenClick();
    // Switched on, the field is editable and takes the key that was typed.
    if (!ausgeschaltetGewaehlt_)
        browser_->detail().wertfeld().setFocus(Qt::OtherFocusReason);
}

} // namespace ravik
