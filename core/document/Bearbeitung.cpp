#include "core/document/Bearbeitung.h"

#include "core/platform/ini/IniSyntax.h"

namespace ravik::Bearbeitung {

namespace {

// The live row of a section itself (key empty), -1 when none.
int lebendeSektionsZeile(const WerteTabelle& tabelle, const QString& sektion) {
    for (int r : tabelle.zeilenMit(sektion, QString()))
        if (!tabelle.istGeloescht(r))
            return r;
    return -1;
}

int lebendeSchluesselZeile(const WerteTabelle& tabelle, const QString& sektion,
                           const QString& schluessel) {
    for (int r : tabelle.zeilenMit(sektion, schluessel))
        if (!tabelle.istGeloescht(r))
            return r;
    return -1;
}

// Tells the table's observer (the tree) what an edit meant for the entries.
template <typename Fn> void melden(const WerteTabelle& tabelle, Fn&& fn) {
    if (WerteTabelle::Beobachter* beobachter = tabelle.beobachter())
        fn(*beobachter);
}

quint32 idVon(const WerteTabelle& tabelle, const QString& sektion) {
    return quint32(tabelle.sektionsIdVon(sektion));
}

} // namespace

QString nameWieInDatei(const QString& name) {
    const QStringView getrimmt = IniSyntax::trimBlanks(QStringView(name));
    if (getrimmt.size() == name.size())
        return name;
    return getrimmt.isEmpty() ? QStringLiteral("") : getrimmt.toString();
}

Detailtexte wieInDatei(const Detailtexte& texte) {
    return {nameWieInDatei(texte.sektion), nameWieInDatei(texte.schluessel), texte.wert};
}

bool namenskonflikt(const WerteTabelle& tabelle, const Detailtexte& alt, const Detailtexte& neu) {
    if (neu.sektion != alt.sektion &&
        tabelle.hatLebendenNamen(neu.sektion, QString(), lebendeSektionsZeile(tabelle, alt.sektion)))
        return true;
    return neu.schluessel != alt.schluessel && !alt.schluessel.isEmpty() &&
           tabelle.hatLebendenNamen(neu.sektion, neu.schluessel,
                                    lebendeSchluesselZeile(tabelle, neu.sektion, alt.schluessel));
}

Bestaetigung bestaetigen(WerteTabelle& tabelle, const Detailtexte& alt, const Detailtexte& neu) {
    Bestaetigung ergebnis;
    if (neu.wert != alt.wert) {
        for (int r : tabelle.zeilenMit(alt.sektion, alt.schluessel)) {
            tabelle.setWert(r, neu.wert);
            if (tabelle.marke(r) == Aktionsmarke::Keine)
                tabelle.setMarke(r, Aktionsmarke::Change);
        }
        ergebnis.wert = true;
    }
    if (neu.schluessel != alt.schluessel) {
        int umbenannt = -1;
        for (int r : tabelle.zeilenMit(neu.sektion, alt.schluessel)) {
            if (tabelle.istGeloescht(r))
                continue;
            const Aktionsmarke marke = tabelle.marke(r);
            if (marke == Aktionsmarke::Keine || marke == Aktionsmarke::Change) {
                tabelle.setMarke(r, Aktionsmarke::Edit);
                tabelle.anhaengen(neu.sektion, alt.schluessel, {}, Aktionsmarke::Delete);
            }
            tabelle.setSchluessel(r, neu.schluessel);
            if (umbenannt < 0)
                umbenannt = r;
        }
        if (umbenannt >= 0)
            melden(tabelle, [&](auto& b) { b.schluesselUmbenannt(umbenannt); });
        ergebnis.schluessel = true;
    }
    if (neu.sektion != alt.sektion) {
        int alteSektionsZeile = -1;
        for (int r : tabelle.zeilenDerSektion(alt.sektion)) {
            if (tabelle.istGeloescht(r))
                continue;
            if (tabelle.istSektionsZeile(r)) {
                tabelle.setMarke(r, Aktionsmarke::Delete);
                alteSektionsZeile = r;
            } else {
                tabelle.setSektion(r, neu.sektion);
                tabelle.setMarke(r, Aktionsmarke::Edit);
            }
        }
        const int neueZeile = tabelle.anhaengen(neu.sektion, {}, {}, Aktionsmarke::Neu);
        // The section keeps its place in the file, under its new name.
        if (alteSektionsZeile >= 0)
            tabelle.herkunftUebertragen(alteSektionsZeile, neueZeile);
        melden(tabelle, [&](auto& b) {
            b.sektionUmbenannt(idVon(tabelle, alt.sektion), tabelle.sektionsId(neueZeile));
        });
        ergebnis.sektion = true;
    }
    return ergebnis;
}

bool sektionZurueckholen(WerteTabelle& tabelle, const QString& name) {
    bool zurueck = false;
    for (int r : tabelle.zeilenMit(name, QString())) {
        tabelle.setMarke(r, Aktionsmarke::Neu);
        zurueck = true;
    }
    if (zurueck)
        melden(tabelle, [&](auto& b) { b.sektionHinzugefuegt(idVon(tabelle, name)); });
    return zurueck;
}

void sektionAnfuegen(WerteTabelle& tabelle, const QString& name) {
    if (tabelle.istLeer())
        tabelle.setZeile(0, name, {}, {}, Aktionsmarke::Neu);
    else
        tabelle.anhaengen(name, {}, {}, Aktionsmarke::Neu);
    melden(tabelle, [&](auto& b) { b.sektionHinzugefuegt(idVon(tabelle, name)); });
}

bool schluesselZurueckholen(WerteTabelle& tabelle, const QString& sektion,
                            const QString& schluessel) {
    int zurueck = -1;
    for (int r : tabelle.zeilenMit(sektion, schluessel)) {
        tabelle.setWert(r, QString());
        tabelle.setMarke(r, Aktionsmarke::Edit);
        if (zurueck < 0)
            zurueck = r;
    }
    if (zurueck >= 0)
        melden(tabelle, [&](auto& b) { b.schluesselHinzugefuegt(zurueck); });
    return zurueck >= 0;
}

int schluesselAnfuegen(WerteTabelle& tabelle, const QString& sektion, const QString& schluessel,
                       const QString& wert) {
    const int zeile = tabelle.anhaengen(sektion, schluessel, wert, Aktionsmarke::Edit);
    melden(tabelle, [&](auto& b) { b.schluesselHinzugefuegt(zeile); });
    return zeile;
}

void sektionLoeschen(WerteTabelle& tabelle, const QString& sektion) {
    const std::vector<int> zeilen = tabelle.zeilenDerSektion(sektion);
    for (int r : zeilen)
        tabelle.setMarke(r, Aktionsmarke::Delete);
    if (!zeilen.empty())
        melden(tabelle, [&](auto& b) { b.sektionEntfernt(idVon(tabelle, sektion)); });
}

void schluesselLoeschen(WerteTabelle& tabelle, const QString& sektion, const QString& schluessel) {
    const std::vector<int> zeilen = tabelle.zeilenMit(sektion, schluessel);
    for (int r : zeilen) {
        tabelle.setWert(r, QString());
        tabelle.setMarke(r, Aktionsmarke::Delete);
    }
    if (!zeilen.empty())
        melden(tabelle, [&](auto& b) { b.schluesselEntfernt(tabelle.sektionsId(zeilen.front()), zeilen.front()); });
}

} // namespace ravik::Bearbeitung
