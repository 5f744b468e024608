#include "core/document/WerteTabelle.h"

#include "core/platform/files/MemoryHints.h"
#include "core/platform/ini/IniSyntax.h"

#include <QSet>

#include <algorithm>
#include <new>

namespace ravik {

WerteTabelle::WerteTabelle() {
    leeren();
}

namespace {
quint32 namensHash(QByteArrayView utf8) {
    return quint32(qHash(utf8, 0x5ec7));
}
} // namespace

// The hash sektionsIds_ holds each id under.
auto WerteTabelle::namensHashes() const {
    return [this](qint32 id) { return namensHash(arena_.view(nameVon(quint32(id)))); };
}

quint32 WerteTabelle::sektionsId(const QString& name) {
    return sektionsIdUtf8(name.toUtf8());
}

quint32 WerteTabelle::sektionsIdUtf8(QByteArrayView name) {
    const int gefunden = gesuchteSektionsId(name);
    return gefunden >= 0 ? quint32(gefunden) : neueSektionsId(name);
}

int WerteTabelle::sektionsIdOderMinus(const QString& name) const {
    return gesuchteSektionsId(name.toUtf8());
}

int WerteTabelle::gesuchteSektionsId(QByteArrayView name) const {
    if (!namenIndexieren()) {
        for (quint32 id = 0; id < sektionsAnzahl(); ++id)
            if (arena_.equals(nameVon(id), name))
                return int(id);
        return -1;
    }
    return sektionsIds_.find(namensHash(name), [&](qint32 vorhanden) {
        return arena_.equals(nameVon(quint32(vorhanden)), name);
    });
}

quint32 WerteTabelle::neueSektionsId(QByteArrayView name) {
    geladenAufloesen();
    const auto neu = static_cast<qint32>(sektionsNamen_.size());
    if (quint32(neu) >= kMaxSektionen)
        throw std::bad_alloc();
    // Room in both lists first, so that neither grows without the other.
    if (sektionsNamen_.size() == sektionsNamen_.capacity())
        sektionsNamen_.reserve(sektionsNamen_.size() * 2 + 1);
    ketten_.reserve(sektionsNamen_.capacity());
    sektionsNamen_.push_back(arena_.add(name));
    ketten_.push_back({});
    if (namenIndexiert_) {
        try {
            sektionsIds_.insert(namensHash(name), neu, namensHashes());
        } catch (const std::bad_alloc&) {
            namenVergessen(); // made again at the next lookup
        }
    }
    return quint32(neu);
}

void WerteTabelle::namenVergessen() {
    sektionsIds_ = IniIdIndex();
    namenIndexiert_ = false;
}

// Built aside and put in place whole; when memory for it is short, lookups walk the
// names instead, so that a lookup never fails.
bool WerteTabelle::namenIndexieren() const {
    if (namenIndexiert_)
        return true;
    try {
        IniIdIndex index;
        index.reserve(qsizetype(sektionsAnzahl()), namensHashes());
        for (quint32 id = 0; id < sektionsAnzahl(); ++id)
            index.insert(namensHash(arena_.view(nameVon(id))), qint32(id), namensHashes());
        sektionsIds_ = std::move(index);
        namenIndexiert_ = true;
    } catch (const std::bad_alloc&) {
    }
    return namenIndexiert_;
}

int WerteTabelle::naechste(int row) const {
    if (verkettet_)
        return links_[row].naechste;
    if (wieGeladen_)
        return row + 1 < RowCount() && rows_[size_t(row) + 1].sektion == rows_[size_t(row)].sektion ? row + 1 : -1;
    return row < ketten_[rows_[row].sektion].ende ? row + 1 : -1;
}

int WerteTabelle::vorige(int row) const {
    if (verkettet_)
        return links_[row].vorige;
    if (wieGeladen_)
        return row > 0 && rows_[size_t(row) - 1].sektion == rows_[size_t(row)].sektion ? row - 1 : -1;
    return row > ketten_[rows_[row].sektion].kopf ? row - 1 : -1;
}

// A loaded section's first row: its rows follow the ids, one run each.
int WerteTabelle::kopf(quint32 id) const {
    if (!geladeneId(id))
        return ketten_[id].kopf;
    const auto erste = std::lower_bound(rows_.begin() + ersteGeladeneZeile_, rows_.end(), id,
                                        [](const Zeile& z, quint32 gesucht) { return z.sektion < gesucht; });
    return int(erste - rows_.begin());
}

int WerteTabelle::ende(quint32 id) const {
    if (!geladeneId(id))
        return ketten_[id].ende;
    return id + 1 < sektionsAnzahl() ? kopf(id + 1) - 1 : RowCount() - 1;
}

// Room first, so that running out of memory leaves the table as it was.
void WerteTabelle::geladenAufloesen() {
    if (!wieGeladen_)
        return;
    sektionsNamen_.reserve(sektionsAnzahl());
    ketten_.reserve(sektionsAnzahl());
    for (int r = ersteGeladeneZeile_; r < RowCount(); ++r) {
        if (!laufBeginn(r)) {
            ++ketten_.back().ende;
            continue;
        }
        sektionsNamen_.push_back(rows_[size_t(r)].wert);
        ketten_.push_back({r, r});
    }
    for (int r = ersteGeladeneZeile_; r < RowCount(); ++r)
        if (laufBeginn(r))
            rows_[size_t(r)].wert = {};
    wieGeladen_ = false;
    geladeneSektionen_ = 0;
}

void WerteTabelle::verketten() {
    geladenAufloesen();
    if (verkettet_)
        return;
    links_.assign(rows_.size(), {});
    for (const Kette& kette : ketten_)
        for (int r = kette.kopf; r >= 0 && r <= kette.ende; ++r)
            links_[r] = {r < kette.ende ? r + 1 : -1, r > kette.kopf ? r - 1 : -1};
    verkettet_ = true;
}

// Without links, a row can leave its section's run only at either end, and join a
// run only right after its last row. Links, when a change needs them, are made
// before anything changes, so that running out of memory leaves the table whole.
bool WerteTabelle::verlaesstLauf(int row) const {
    const Kette& kette = ketten_[rows_[row].sektion];
    return row == kette.kopf || row == kette.ende;
}

bool WerteTabelle::schliesstAnLaufAn(quint32 sektion, int row) const {
    const Kette& kette = ketten_[sektion];
    return kette.kopf < 0 || kette.ende == row - 1;
}

// Every new row comes here: it is linked into its section's chain at the end.
int WerteTabelle::zeileAnhaengen(const Zeile& zeile) {
    const int row = RowCount();
    if (wieGeladen_) { // the callers keep the rows in order of their ids
        rows_.push_back(zeile);
        return row;
    }
    if (!schliesstAnLaufAn(zeile.sektion, row))
        verketten();
    rows_.push_back(zeile);
    if (verkettet_)
        links_.push_back({});
    einketten(row);
    return row;
}

void WerteTabelle::einketten(int row) {
    Kette& kette = ketten_[rows_[row].sektion];
    if (!verkettet_ && schliesstAnLaufAn(rows_[row].sektion, row)) {
        if (kette.kopf < 0)
            kette.kopf = row;
        kette.ende = row;
        return;
    }
    verketten();
    if (kette.kopf < 0) {
        kette.kopf = kette.ende = row;
        links_[row] = {};
        return;
    }
    if (kette.ende < row) { // the usual case: a new row at the end
        links_[kette.ende].naechste = row;
        links_[row] = {-1, kette.ende};
        kette.ende = row;
        return;
    }
    // An overwritten row joins a chain in the middle: keep ascending order.
    int nach = kette.kopf;
    while (nach < row)
        nach = links_[nach].naechste;
    const int vor = links_[nach].vorige;
    links_[row] = {nach, vor};
    links_[nach].vorige = row;
    if (vor >= 0)
        links_[vor].naechste = row;
    else
        kette.kopf = row;
}

void WerteTabelle::ausketten(int row) {
    Kette& kette = ketten_[rows_[row].sektion];
    if (!verkettet_ && verlaesstLauf(row)) {
        if (row == kette.kopf && row == kette.ende)
            kette = {};
        else if (row == kette.ende)
            --kette.ende;
        else
            ++kette.kopf;
        return;
    }
    verketten();
    const Verweise v = links_[row];
    if (v.vorige >= 0)
        links_[v.vorige].naechste = v.naechste;
    else
        kette.kopf = v.naechste;
    if (v.naechste >= 0)
        links_[v.naechste].vorige = v.vorige;
    else
        kette.ende = v.vorige;
    links_[row] = {};
}

void WerteTabelle::reserve(qsizetype rows) {
    // Growing by doubling would hold the old and the new copy at once. (The sections'
    // names and runs stay with the rows while the table is as loaded.)
    rows_.reserve(rows);
    MemoryHints::expectLargeFill(rows_.data(), rows_.capacity() * sizeof(Zeile));
}

void WerteTabelle::setRowCount(int count) {
    geladenAufloesen();
    if (count < 1)
        count = 1;
    while (RowCount() > count) {
        ausketten(RowCount() - 1);
        rows_.pop_back();
        if (verkettet_)
            links_.pop_back();
    }
    const quint32 leer = sektionsId(QString());
    while (RowCount() < count)
        zeileAnhaengen({{}, {}, leer, Aktionsmarke::Keine, false, false});
}

void WerteTabelle::alteNamenMerken(int row) {
    const Zeile& z = rows_[row];
    if (z.ausText && !alteNamen_.contains(row))
        alteNamen_.insert(row, {z.sektion, z.schluessel});
}

void WerteTabelle::setSchluessel(int row, const QString& text) {
    geladenAufloesen();
    alteNamenMerken(row);
    rows_[row].schluessel = arena_.add(text);
    rows_[row].geaendert = true;
}

void WerteTabelle::setSektion(int row, const QString& text) {
    geladenAufloesen();
    const quint32 id = sektionsId(text);
    if (rows_[row].sektion == id)
        return;
    if (!verlaesstLauf(row) || !schliesstAnLaufAn(id, row))
        verketten();
    alteNamenMerken(row);
    ausketten(row);
    rows_[row].sektion = id;
    rows_[row].geaendert = true;
    einketten(row);
}

void WerteTabelle::setZeile(int row, const QString& sektion, const QString& schluessel,
                            const QString& wert, Aktionsmarke marke) {
    geladenAufloesen();
    setSektion(row, sektion);
    setSchluessel(row, schluessel);
    Zeile& z = rows_[row];
    z.wert = arena_.add(wert);
    z.setMarke(marke);
    z.geaendert = true;
}

int WerteTabelle::anhaengen(const QString& sektion, const QString& schluessel,
                            const QString& wert, Aktionsmarke marke) {
    geladenAufloesen();
    return zeileAnhaengen({arena_.add(schluessel), arena_.add(wert), sektionsId(sektion), marke, false, true});
}

int WerteTabelle::sektionLaden(const QString& sektion) {
    return sektionLadenUtf8(sektion.toUtf8());
}

int WerteTabelle::sektionLadenUtf8(QByteArrayView sektion) {
    int row = 0;
    if (istLeer()) {
        setSektion(0, QString::fromUtf8(sektion));
    } else if (sektion.isEmpty()) { // the blank row's name: its id is older
        geladenAufloesen();
        row = zeileAnhaengen({{}, {}, sektionsIdUtf8(sektion), Aktionsmarke::Keine, false, true});
    } else {
        // The text gives each name once: no lookup, and no index of names until the
        // first lookup by name (a file may hold a million sections).
        if (!wieGeladen_ && !verkettet_ && alteNamen_.isEmpty()) {
            wieGeladen_ = true;
            ersteGeladeneZeile_ = RowCount();
        }
        namenVergessen();
        if (!wieGeladen_) {
            row = zeileAnhaengen({{}, {}, neueSektionsId(sektion), Aktionsmarke::Keine, false, true});
        } else {
            if (sektionsAnzahl() >= kMaxSektionen)
                throw std::bad_alloc();
            row = zeileAnhaengen({{}, arena_.add(sektion), sektionsAnzahl(), Aktionsmarke::Keine, false, true});
            ++geladeneSektionen_;
        }
    }
    rows_[row].ausText = true;
    rows_[row].geaendert = false;
    return row;
}

int WerteTabelle::schluesselLaden(int sektionsZeile, QByteArrayView schluessel,
                                  QByteArrayView wert) {
    if (wieGeladen_ && rows_[size_t(sektionsZeile)].sektion != rows_.back().sektion)
        geladenAufloesen();
    return zeileAnhaengen({arena_.add(schluessel), arena_.add(wert), rows_[sektionsZeile].sektion,
                           Aktionsmarke::Keine, true, false});
}

std::optional<WerteTabelle::Herkunft> WerteTabelle::herkunft(int row) const {
    const Zeile& z = rows_[row];
    if (!z.ausText)
        return std::nullopt;
    const auto alt = alteNamen_.constFind(row);
    if (alt == alteNamen_.cend())
        return Herkunft{sektionsName(z.sektion), arena_.text(z.schluessel)};
    return Herkunft{sektionsName(alt->sektion), arena_.text(alt->schluessel)};
}

bool WerteTabelle::anderemLebendenEintragGleich(int row) const {
    const auto h = herkunft(row);
    if (!h)
        return false;
    auto gleich = [&](int r) {
        if (r == row || istGeloescht(r) || !rows_[r].ausText)
            return false;
        const auto andere = herkunft(r);
        return andere->sektion == h->sektion && andere->schluessel == h->schluessel;
    };
    // A row keeps the names of its entry unless it was renamed.
    for (int r : zeilenMit(h->sektion, h->schluessel))
        if (!alteNamen_.contains(r) && gleich(r))
            return true;
    for (auto it = alteNamen_.cbegin(); it != alteNamen_.cend(); ++it)
        if (gleich(it.key()))
            return true;
    return false;
}

std::vector<int> WerteTabelle::umbenannteZeilen() const {
    std::vector<int> zeilen;
    zeilen.reserve(alteNamen_.size());
    for (auto it = alteNamen_.cbegin(); it != alteNamen_.cend(); ++it)
        zeilen.push_back(it.key());
    std::sort(zeilen.begin(), zeilen.end());
    return zeilen;
}

void WerteTabelle::herkunftUebertragen(int von, int nach) {
    geladenAufloesen();
    Zeile& quelle = rows_[von];
    if (!quelle.ausText)
        return;
    const Herkunft h = *herkunft(von);
    quelle.ausText = false;
    alteNamen_.remove(von);
    rows_[nach].ausText = true;
    rows_[nach].geaendert = quelle.geaendert = true;
    alteNamen_.insert(nach, {sektionsId(h.sektion), arena_.add(h.schluessel)});
}

void WerteTabelle::herkunftAbgleichen() {
    alteNamen_.clear();
    if (istLeer())
        return; // the blank row of an empty document stands for nothing
    for (Zeile& z : rows_) {
        z.ausText = z.marke() != Aktionsmarke::Delete;
        z.geaendert = false;
    }
}

void WerteTabelle::leeren() {
    if (beobachter_)
        beobachter_->tabelleWirdNeu();
    rows_.clear();
    rows_.shrink_to_fit();
    links_.clear();
    links_.shrink_to_fit();
    verkettet_ = false;
    sektionsNamen_.clear();
    sektionsNamen_.shrink_to_fit();
    ketten_.clear();
    ketten_.shrink_to_fit();
    wieGeladen_ = false;
    geladeneSektionen_ = 0;
    ersteGeladeneZeile_ = 0;
    sektionsIds_ = IniIdIndex();
    namenIndexiert_ = true;
    alteNamen_.clear();
    arena_.clear();
    setRowCount(1);
    if (beobachter_)
        beobachter_->tabelleNeu();
}

bool WerteTabelle::istLeer() const {
    if (rows_.size() != 1)
        return false;
    const Zeile& z = rows_.front();
    return nameVon(z.sektion).isEmpty() && z.schluessel.isEmpty() && wertVon(0).isEmpty() &&
           z.marke() == Aktionsmarke::Keine && !z.ausText;
}

int WerteTabelle::lebendeSektionsZeile(quint32 id) const {
    for (int r = kopf(id); r >= 0; r = naechste(r))
        if (rows_[r].schluessel.isEmpty() && rows_[r].marke() != Aktionsmarke::Delete)
            return r;
    return -1;
}

bool WerteTabelle::hatLebendenSchluessel(quint32 id) const {
    for (int r = kopf(id); r >= 0; r = naechste(r))
        if (!rows_[r].schluessel.isEmpty() && rows_[r].marke() != Aktionsmarke::Delete)
            return true;
    return false;
}

void WerteTabelle::lebendeSchluessel(quint32 id, std::vector<int>& zeilen) const {
    zeilen.clear();
    for (int r = kopf(id); r >= 0; r = naechste(r))
        if (!rows_[r].schluessel.isEmpty() && rows_[r].marke() != Aktionsmarke::Delete)
            zeilen.push_back(r);
    if (zeilen.size() < 2)
        return;
    // Two live rows of one name (records of a key brought back together) are one key.
    // A search asks this of every section at each key typed: a few keys are compared
    // in turn, without a table.
    if (zeilen.size() <= 32) {
        size_t behalten = 0;
        for (size_t i = 0; i < zeilen.size(); ++i) {
            const QByteArrayView name = arena_.view(rows_[size_t(zeilen[i])].schluessel);
            bool doppelt = false;
            for (size_t j = 0; j < behalten && !doppelt; ++j)
                doppelt = arena_.view(rows_[size_t(zeilen[j])].schluessel) == name;
            if (!doppelt)
                zeilen[behalten++] = zeilen[i];
        }
        zeilen.resize(behalten);
        return;
    }
    QSet<QByteArrayView> gesehen;
    gesehen.reserve(qsizetype(zeilen.size()));
    auto ende = std::remove_if(zeilen.begin(), zeilen.end(), [&](int r) {
        const QByteArrayView name = arena_.view(rows_[r].schluessel);
        if (gesehen.contains(name))
            return true;
        gesehen.insert(name);
        return false;
    });
    zeilen.erase(ende, zeilen.end());
}

void WerteTabelle::nurSektionenBehalten() {
    if (istLeer())
        return;
    WerteTabelle sektionen;
    std::vector<bool> gesehen(sektionsAnzahl());
    for (int r = 0; r < RowCount(); ++r) {
        const quint32 id = rows_[r].sektion;
        if (!istSektionsZeile(r) || istGeloescht(r) || gesehen[id])
            continue;
        gesehen[id] = true;
        sektionen.sektionLadenUtf8(arena_.view(nameVon(id)));
    }
    ersetzenDurch(std::move(sektionen));
}

void WerteTabelle::ersetzenDurch(WerteTabelle&& andere) {
    Beobachter* beobachter = beobachter_;
    if (beobachter)
        beobachter->tabelleWirdNeu();
    *this = std::move(andere);
    beobachter_ = beobachter;
    if (beobachter)
        beobachter->tabelleNeu();
}

std::vector<int> WerteTabelle::zeilenMit(const QString& sektion, const QString& schluessel,
                                         int limit) const {
    return zeilenMit(sektionsIdOderMinus(sektion), schluessel, limit);
}

std::vector<int> WerteTabelle::zeilenMit(int sektionsId, const QString& schluessel, int limit) const {
    std::vector<int> result;
    const QByteArray gesucht = schluessel.toUtf8();
    zeilenDerSektionDurchlaufen(sektionsId, limit < 0 ? RowCount() : limit, [&](int r) {
        if (arena_.equals(rows_[r].schluessel, gesucht))
            result.push_back(r);
    });
    return result;
}

std::vector<int> WerteTabelle::zeilenDerSektion(const QString& sektion, int limit) const {
    std::vector<int> result;
    zeilenDerSektionDurchlaufen(sektionsIdOderMinus(sektion), limit < 0 ? RowCount() : limit,
                                [&](int r) { result.push_back(r); });
    return result;
}

void WerteTabelle::schluesselZeilen(const QString& sektion, std::vector<int>& zeilen) const {
    zeilen.clear();
    zeilenDerSektionDurchlaufen(sektionsIdOderMinus(sektion), RowCount(), [&](int r) {
        if (!rows_[r].schluessel.isEmpty())
            zeilen.push_back(r);
    });
}

QString WerteTabelle::WertAuslesen(const QString& sektion, const QString& schluessel) const {
    return WertAuslesen(sektionsIdOderMinus(sektion), schluessel);
}

QString WerteTabelle::WertAuslesen(int id, const QString& schluessel) const {
    if (id < 0)
        return {};
    const QByteArray gesucht = schluessel.toUtf8();
    for (int r = ende(quint32(id)); r >= 0; r = vorige(r))
        if (arena_.equals(rows_[r].schluessel, gesucht))
            return wert(r);
    return {};
}

bool WerteTabelle::hatLebendeZeile(const QString& sektion, const QString& schluessel) const {
    for (int r : zeilenMit(sektion, schluessel))
        if (!istGeloescht(r))
            return true;
    return false;
}

bool WerteTabelle::hatLebendenNamen(const QString& sektion, const QString& schluessel,
                                    int ausser) const {
    // As the file holds names: without their outer blanks, without regard to case.
    const QStringView gesuchteSektion = IniSyntax::trimBlanks(QStringView(sektion));
    const QStringView gesuchterSchluessel = IniSyntax::trimBlanks(QStringView(schluessel));
    const QByteArray schluesselUtf8 = gesuchterSchluessel.toUtf8();
    const QByteArray sektionUtf8 = gesuchteSektion.toUtf8();
    const bool sektionAscii = QtPrivate::isAscii(QLatin1StringView(sektionUtf8));
    for (int id = 0; id < int(sektionsAnzahl()); ++id) {
        // Most names are told apart on their bytes, without decoding them (a file may
        // hold a million): ASCII names compare without regard to case as they are.
        const QByteArrayView name = IniSyntax::trimBlanks(arena_.view(nameVon(quint32(id))));
        if (sektionAscii && QtPrivate::isAscii(QLatin1StringView(name))) {
            if (name.compare(sektionUtf8, Qt::CaseInsensitive) != 0)
                continue;
        } else if (IniSyntax::trimBlanks(QStringView(sektionsName(id))).compare(gesuchteSektion, Qt::CaseInsensitive) != 0) {
            continue;
        }
        bool gefunden = false;
        zeilenDerSektionDurchlaufen(id, RowCount(), [&](int r) {
            if (gefunden || r == ausser || istGeloescht(r))
                return;
            const TextArena::Text k = rows_[r].schluessel;
            if (schluessel.isEmpty()) {
                gefunden = k.isEmpty();
                return;
            }
            if (k.isEmpty())
                return;
            gefunden = arena_.equals(k, schluesselUtf8) ||
                       IniSyntax::trimBlanks(QStringView(arena_.text(k)))
                               .compare(gesuchterSchluessel, Qt::CaseInsensitive) == 0;
        });
        if (gefunden)
            return true;
    }
    return false;
}

} // namespace ravik
