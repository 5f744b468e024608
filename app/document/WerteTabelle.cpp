#include "app/document/WerteTabelle.h"

namespace ravik {
namespace {

quint64 mix(quint64 h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

quint64 textHash(const QString& text, quint64 seed) {
    return mix(qHash(text, static_cast<size_t>(seed)) + seed * 0x9E3779B97F4A7C15ULL);
}

} // namespace

WerteTabelle::WerteTabelle() {
    leeren();
}

quint64 WerteTabelle::paarSchluessel(const QString& sektion, const QString& schluessel) {
    return textHash(sektion, 1) ^ (textHash(schluessel, 2) * 31);
}

void WerteTabelle::einketten(QHash<quint64, Kette>& ketten, quint64 id,
                             std::vector<Verweise>& links, int row) {
    Kette& kette = ketten[id];
    if (kette.kopf < 0) {
        kette.kopf = kette.ende = row;
        links[row] = {};
        return;
    }
    if (kette.ende < row) { // the usual case: a new row at the end
        links[kette.ende].naechste = row;
        links[row] = {-1, kette.ende};
        kette.ende = row;
        return;
    }
    // An overwritten row joins a chain in the middle: keep ascending order.
    int nach = kette.kopf;
    while (nach >= 0 && nach < row)
        nach = links[nach].naechste;
    const int vor = links[nach].vorige;
    links[row] = {nach, vor};
    links[nach].vorige = row;
    if (vor >= 0)
        links[vor].naechste = row;
    else
        kette.kopf = row;
}

void WerteTabelle::ausketten(QHash<quint64, Kette>& ketten, quint64 id,
                             std::vector<Verweise>& links, int row) {
    auto it = ketten.find(id);
    if (it == ketten.end())
        return;
    const Verweise v = links[row];
    if (v.vorige >= 0)
        links[v.vorige].naechste = v.naechste;
    else
        it->kopf = v.naechste;
    if (v.naechste >= 0)
        links[v.naechste].vorige = v.vorige;
    else
        it->ende = v.vorige;
    links[row] = {};
    if (it->kopf < 0)
        ketten.erase(it);
}

void WerteTabelle::indexAufnehmen(int row) {
    const Zeile& z = rows_[row];
    einketten(paarKetten_, paarSchluessel(z.sektion, z.schluessel), paarLinks_, row);
    einketten(sektionsKetten_, textHash(z.sektion, 3), sektionsLinks_, row);
}

void WerteTabelle::indexEntfernen(int row) {
    const Zeile& z = rows_[row];
    ausketten(paarKetten_, paarSchluessel(z.sektion, z.schluessel), paarLinks_, row);
    ausketten(sektionsKetten_, textHash(z.sektion, 3), sektionsLinks_, row);
}

void WerteTabelle::indexNeuAufbauen() {
    paarKetten_.clear();
    sektionsKetten_.clear();
    paarLinks_.assign(rows_.size(), {});
    sektionsLinks_.assign(rows_.size(), {});
    for (int r = 0; r < RowCount(); ++r)
        indexAufnehmen(r);
}

void WerteTabelle::reserve(int rows) {
    rows_.reserve(rows);
    paarLinks_.reserve(rows);
    sektionsLinks_.reserve(rows);
    paarKetten_.reserve(rows);
}

void WerteTabelle::setRowCount(int count) {
    if (count < 1)
        count = 1;
    if (count < RowCount()) {
        rows_.resize(count);
        indexNeuAufbauen();
        return;
    }
    while (RowCount() < count) {
        rows_.push_back({});
        paarLinks_.push_back({});
        sektionsLinks_.push_back({});
        indexAufnehmen(RowCount() - 1);
    }
}

void WerteTabelle::setSektion(int row, const QString& text) {
    if (rows_[row].sektion == text)
        return;
    indexEntfernen(row);
    rows_[row].sektion = text;
    indexAufnehmen(row);
}

void WerteTabelle::setSchluessel(int row, const QString& text) {
    if (rows_[row].schluessel == text)
        return;
    indexEntfernen(row);
    rows_[row].schluessel = text;
    indexAufnehmen(row);
}

void WerteTabelle::setZeile(int row, const QString& sektion, const QString& schluessel,
                            const QString& wert, const QString& marke) {
    indexEntfernen(row);
    rows_[row] = {sektion, schluessel, wert, marke};
    indexAufnehmen(row);
}

int WerteTabelle::anhaengen(const QString& sektion, const QString& schluessel,
                            const QString& wert, const QString& marke) {
    rows_.push_back({sektion, schluessel, wert, marke});
    paarLinks_.push_back({});
    sektionsLinks_.push_back({});
    const int row = RowCount() - 1;
    indexAufnehmen(row);
    return row;
}

void WerteTabelle::leeren() {
    rows_.clear();
    rows_.shrink_to_fit();
    rows_.push_back({});
    indexNeuAufbauen();
}

bool WerteTabelle::istLeer() const {
    if (rows_.size() != 1)
        return false;
    const Zeile& z = rows_.front();
    return z.sektion.isEmpty() && z.schluessel.isEmpty() && z.wert.isEmpty() && z.marke.isEmpty();
}

std::vector<int> WerteTabelle::zeilenMit(const QString& sektion, const QString& schluessel,
                                         int limit) const {
    std::vector<int> result;
    if (limit < 0)
        limit = RowCount();
    auto it = paarKetten_.constFind(paarSchluessel(sektion, schluessel));
    if (it == paarKetten_.cend())
        return result;
    for (int r = it->kopf; r >= 0 && r < limit; r = paarLinks_[r].naechste)
        if (rows_[r].sektion == sektion && rows_[r].schluessel == schluessel)
            result.push_back(r);
    return result;
}

std::vector<int> WerteTabelle::zeilenDerSektion(const QString& sektion, int limit) const {
    std::vector<int> result;
    if (limit < 0)
        limit = RowCount();
    auto it = sektionsKetten_.constFind(textHash(sektion, 3));
    if (it == sektionsKetten_.cend())
        return result;
    for (int r = it->kopf; r >= 0 && r < limit; r = sektionsLinks_[r].naechste)
        if (rows_[r].sektion == sektion)
            result.push_back(r);
    return result;
}

QString WerteTabelle::WertAuslesen(const QString& sektion, const QString& schluessel) const {
    auto it = paarKetten_.constFind(paarSchluessel(sektion, schluessel));
    if (it == paarKetten_.cend())
        return {};
    for (int r = it->ende; r >= 0; r = paarLinks_[r].vorige)
        if (rows_[r].sektion == sektion && rows_[r].schluessel == schluessel)
            return rows_[r].wert;
    return {};
}

bool WerteTabelle::hatLebendeZeile(const QString& sektion, const QString& schluessel) const {
    for (int r : zeilenMit(sektion, schluessel))
        if (!istGeloescht(r))
            return true;
    return false;
}

} // namespace ravik
