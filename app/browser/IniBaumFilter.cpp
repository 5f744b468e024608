#include "app/browser/IniBaumFilter.h"

#include "app/browser/IniBaumModell.h"
#include "core/document/WerteTabelle.h"

#include <QHash>
#include <algorithm>

namespace ravik {
namespace {

// The values of a section's keys, as WerteTabelle::WertAuslesen reads them (the last
// row of the name, whatever its mark), found in one walk over the section's rows.
// Built only when a key's name does not hold the text already; one object walks all
// sections, reusing its memory.
class SektionsWerte {
public:
    explicit SektionsWerte(const WerteTabelle* tabelle) : tabelle_(tabelle) {}

    // The section and the table rows of its key nodes.
    void sektion(const QString& name, const std::vector<int>& schluessel) {
        name_ = name;
        schluessel_ = &schluessel;
        gebaut_ = false;
    }

    QByteArrayView wert(int schluessel) {
        if (!gebaut_)
            aufbauen();
        const int zeile = zeilen_[schluessel];
        return zeile < 0 ? QByteArrayView() : tabelle_->wertUtf8(zeile);
    }

private:
    void aufbauen() {
        gebaut_ = true;
        const std::vector<int>& knoten = *schluessel_;
        tabelle_->schluesselZeilen(name_, zeilen_);
        // The usual case: the section's rows are its key nodes' rows, each once.
        if (zeilen_ == knoten)
            return;
        // After edits (deleted rows, keys brought back), or among switched-off keys:
        // by name.
        QHash<QByteArrayView, int> letzte;
        for (int r : zeilen_)
            letzte.insert(tabelle_->schluesselUtf8(r), r);
        zeilen_.resize(knoten.size());
        for (size_t k = 0; k < knoten.size(); ++k) {
            zeilen_[k] = IniBaumModell::istAusgeschaltet(knoten[k])
                             ? -1
                             : letzte.value(tabelle_->schluesselUtf8(knoten[k]), -1);
        }
    }

    const WerteTabelle* tabelle_;
    QString name_;
    const std::vector<int>* schluessel_ = nullptr;
    bool gebaut_ = false;
    std::vector<int> zeilen_; // table row of each key of the tree's section, or -1
};

} // namespace

IniBaumFilter::IniBaumFilter(IniBaumModell& quelle, QObject* parent)
    : QAbstractItemModel(parent), quelle_(quelle) {
    connect(&quelle_, &QAbstractItemModel::rowsInserted, this, &IniBaumFilter::quelleEingefuegt);
    connect(&quelle_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &IniBaumFilter::quelleWirdEntfernt);
    connect(&quelle_, &QAbstractItemModel::rowsRemoved, this, &IniBaumFilter::quelleEntfernt);
    connect(&quelle_, &QAbstractItemModel::dataChanged, this, &IniBaumFilter::quelleGeaendert);
    connect(&quelle_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { beginResetModel(); });
    connect(&quelle_, &QAbstractItemModel::modelReset, this, [this] {
        nadel_ = CaselessNeedle(QString());
        sektionen_.clear();
        zeileVonQuelle_.clear();
        endResetModel();
    });
}

IniBaumFilter::~IniBaumFilter() = default;

void IniBaumFilter::filtern(const QString& text) {
    const CaselessNeedle neu(text);
    // A longer text finds only what the shorter one found: the search stays among it.
    const bool nurBisherige = !nadel_.isEmpty() && neu.narrows(nadel_) &&
                              int(zeileVonQuelle_.size()) == quelle_.sektionsAnzahl();
    beginResetModel();
    nadel_ = neu;
    sektionen_ = nadel_.isEmpty() ? std::vector<Sektion>() : suchen(nurBisherige);
    zuordnungNeu();
    endResetModel();
}

std::vector<IniBaumFilter::Sektion> IniBaumFilter::suchen(bool nurBisherige) const {
    std::vector<Sektion> ergebnis;
    const WerteTabelle* tabelle = quelle_.tabelle();
    if (!tabelle)
        return ergebnis;
    const int anzahl = nurBisherige ? int(sektionen_.size()) : quelle_.sektionsAnzahl();
    ergebnis.reserve(anzahl); // a short text finds nearly every section of a big file
    SektionsWerte werte(tabelle);
    std::vector<int> gefunden;
    std::vector<int> schluessel;
    for (int i = 0; i < anzahl; ++i) {
        const int s = nurBisherige ? sektionen_[i].quelle : i;
        // The keys are read from the table: a section's key nodes are made only for
        // the sections that show keys.
        quelle_.schluesselZeilen(s, schluessel);
        const QString name = quelle_.sektionsName(s);
        werte.sektion(name, schluessel);
        gefunden.clear();
        auto pruefen = [&](int k) {
            if (IniBaumModell::istAusgeschaltet(schluessel[k])) {
                const auto& aus = quelle_.ausgeschaltet(s, schluessel[k]);
                if (nadel_.foundIn(aus.name) || nadel_.foundIn(aus.value))
                    gefunden.push_back(k);
            } else if (nadel_.foundIn(tabelle->schluesselUtf8(schluessel[k])) ||
                       nadel_.foundIn(werte.wert(k))) {
                gefunden.push_back(k);
            }
        };
        if (nurBisherige) {
            for (int k : sektionen_[i].schluessel)
                pruefen(k);
        } else {
            for (int k = 0, n = int(schluessel.size()); k < n; ++k)
                pruefen(k);
        }
        const bool selbst = nadel_.foundIn(name);
        if (selbst || !gefunden.empty())
            ergebnis.push_back({s, std::vector<int>(gefunden.begin(), gefunden.end()), selbst});
    }
    return ergebnis;
}

void IniBaumFilter::zuordnungNeu() {
    zeileVonQuelle_.assign(quelle_.sektionsAnzahl(), -1);
    for (int i = 0; i < int(sektionen_.size()); ++i)
        zeileVonQuelle_[sektionen_[i].quelle] = i;
}

std::vector<int> IniBaumFilter::sektionenMitSchluesseln() const {
    std::vector<int> zeilen;
    for (int i = 0; i < int(sektionen_.size()); ++i)
        if (!sektionen_[i].schluessel.empty())
            zeilen.push_back(i);
    return zeilen;
}

qsizetype IniBaumFilter::gezeigteSchluessel() const {
    qsizetype anzahl = 0;
    for (const Sektion& sektion : sektionen_)
        anzahl += qsizetype(sektion.schluessel.size());
    return anzahl;
}

QModelIndex IniBaumFilter::ersterTreffer() const {
    if (sektionen_.empty())
        return {};
    const QModelIndex sektion = index(0, 0);
    return sektionen_.front().selbst ? sektion : index(0, 0, sektion);
}

QModelIndex IniBaumFilter::zurQuelle(const QModelIndex& i) const {
    if (!i.isValid() || i.model() != this)
        return {};
    if (i.internalId() == 0)
        return quelle_.index(sektionen_[i.row()].quelle, 0);
    const QModelIndex sektion = parent(i);
    if (!sektion.isValid())
        return {};
    const Sektion& s = sektionen_[sektion.row()];
    return quelle_.index(s.schluessel[i.row()], 0, quelle_.index(s.quelle, 0));
}

QModelIndex IniBaumFilter::ausQuelle(const QModelIndex& q) const {
    if (!q.isValid() || q.model() != &quelle_)
        return {};
    const QModelIndex quelleSektion = q.parent();
    const int zeile = quelleSektion.isValid() ? quelleSektion.row() : q.row();
    if (zeile >= int(zeileVonQuelle_.size()) || zeileVonQuelle_[zeile] < 0)
        return {};
    const QModelIndex sektion = index(zeileVonQuelle_[zeile], 0);
    if (!quelleSektion.isValid())
        return sektion;
    const std::vector<int>& schluessel = sektionen_[sektion.row()].schluessel;
    const auto it = std::lower_bound(schluessel.begin(), schluessel.end(), q.row());
    if (it == schluessel.end() || *it != q.row())
        return {};
    return index(int(it - schluessel.begin()), 0, sektion);
}

QModelIndex IniBaumFilter::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(sektionen_.size()) ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= int(sektionen_.size()))
        return {};
    const Sektion& s = sektionen_[parent.row()];
    if (row >= int(s.schluessel.size()))
        return {};
    return createIndex(row, 0, quelle_.schluesselId(s.quelle));
}

QModelIndex IniBaumFilter::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const int zeile = quelle_.sektionsZeile(child.internalId());
    if (zeile < 0 || zeile >= int(zeileVonQuelle_.size()) || zeileVonQuelle_[zeile] < 0)
        return {};
    return createIndex(zeileVonQuelle_[zeile], 0, quintptr(0));
}

int IniBaumFilter::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(sektionen_.size());
    if (parent.internalId() != 0)
        return 0;
    return int(sektionen_[parent.row()].schluessel.size());
}

int IniBaumFilter::columnCount(const QModelIndex&) const {
    return 1;
}

bool IniBaumFilter::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant IniBaumFilter::data(const QModelIndex& index, int role) const {
    return quelle_.data(zurQuelle(index), role);
}

// As the whole tree's, without looking the node up there: the view asks for every row.
Qt::ItemFlags IniBaumFilter::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.internalId() == 0 ? f : f | Qt::ItemNeverHasChildren;
}

// ---- The whole tree changes under the search -----------------------------------

int IniBaumFilter::einfuegestelle(int quelleSektion) const {
    return int(std::lower_bound(sektionen_.begin(), sektionen_.end(), quelleSektion,
                                [](const Sektion& s, int q) { return s.quelle < q; }) -
               sektionen_.begin());
}

// The rows here (from, to) of the shown entries among first..last of the whole tree;
// from > to when none is shown.
std::pair<int, int> IniBaumFilter::sichtbareSpanne(const std::vector<int>& zeilen, int first,
                                                   int last) const {
    const auto von = std::lower_bound(zeilen.begin(), zeilen.end(), first);
    const auto bis = std::upper_bound(von, zeilen.end(), last);
    return {int(von - zeilen.begin()), int(bis - zeilen.begin()) - 1};
}

// Without a search nothing is shown and nothing needs to follow the tree: the next
// search starts from the whole tree.
void IniBaumFilter::quelleEingefuegt(const QModelIndex& parent, int first, int last) {
    if (nadel_.isEmpty() || quelle_.zeigtWeitere())
        return;
    const int anzahl = last - first + 1;
    if (!parent.isValid()) {
        for (Sektion& s : sektionen_)
            if (s.quelle >= first)
                s.quelle += anzahl;
        const int stelle = einfuegestelle(first);
        beginInsertRows({}, stelle, stelle + anzahl - 1);
        for (int i = 0; i < anzahl; ++i) {
            Sektion neu;
            neu.quelle = first + i;
            sektionen_.insert(sektionen_.begin() + stelle + i, std::move(neu));
        }
        zuordnungNeu();
        endInsertRows();
        return;
    }
    const int quelleSektion = parent.row();
    const int zeile =
        quelleSektion < int(zeileVonQuelle_.size()) ? zeileVonQuelle_[quelleSektion] : -1;
    if (zeile < 0) {
        // A key added to a section not shown: the section comes with it.
        Sektion neu;
        neu.quelle = quelleSektion;
        for (int k = first; k <= last; ++k)
            neu.schluessel.push_back(k);
        const int stelle = einfuegestelle(quelleSektion);
        beginInsertRows({}, stelle, stelle);
        sektionen_.insert(sektionen_.begin() + stelle, std::move(neu));
        zuordnungNeu();
        endInsertRows();
        return;
    }
    std::vector<int>& schluessel = sektionen_[zeile].schluessel;
    for (int& k : schluessel)
        if (k >= first)
            k += anzahl;
    const int stelle =
        int(std::lower_bound(schluessel.begin(), schluessel.end(), first) - schluessel.begin());
    beginInsertRows(index(zeile, 0), stelle, stelle + anzahl - 1);
    for (int i = 0; i < anzahl; ++i)
        schluessel.insert(schluessel.begin() + stelle + i, first + i);
    endInsertRows();
}

void IniBaumFilter::quelleWirdEntfernt(const QModelIndex& parent, int first, int last) {
    entfernenLaeuft_ = false;
    if (nadel_.isEmpty())
        return;
    if (!parent.isValid()) {
        const auto [von, bis] = sichtbareSpanne(
            [&] {
                std::vector<int> zeilen;
                zeilen.reserve(sektionen_.size());
                for (const Sektion& s : sektionen_)
                    zeilen.push_back(s.quelle);
                return zeilen;
            }(),
            first, last);
        if (von <= bis) {
            beginRemoveRows({}, von, bis);
            entfernenLaeuft_ = true;
        }
        return;
    }
    const int zeile =
        parent.row() < int(zeileVonQuelle_.size()) ? zeileVonQuelle_[parent.row()] : -1;
    if (zeile < 0)
        return;
    const auto [von, bis] = sichtbareSpanne(sektionen_[zeile].schluessel, first, last);
    if (von <= bis) {
        beginRemoveRows(index(zeile, 0), von, bis);
        entfernenLaeuft_ = true;
    }
}

void IniBaumFilter::quelleEntfernt(const QModelIndex& parent, int first, int last) {
    if (nadel_.isEmpty())
        return;
    const int anzahl = last - first + 1;
    if (!parent.isValid()) {
        std::vector<Sektion> bleiben;
        bleiben.reserve(sektionen_.size());
        for (Sektion& s : sektionen_) {
            if (s.quelle >= first && s.quelle <= last)
                continue;
            if (s.quelle > last)
                s.quelle -= anzahl;
            bleiben.push_back(std::move(s));
        }
        sektionen_ = std::move(bleiben);
        zuordnungNeu();
    } else if (parent.row() < int(zeileVonQuelle_.size()) && zeileVonQuelle_[parent.row()] >= 0) {
        std::vector<int>& schluessel = sektionen_[zeileVonQuelle_[parent.row()]].schluessel;
        std::vector<int> bleiben;
        for (int k : schluessel) {
            if (k < first)
                bleiben.push_back(k);
            else if (k > last)
                bleiben.push_back(k - anzahl);
        }
        schluessel = std::move(bleiben);
    }
    if (entfernenLaeuft_) {
        entfernenLaeuft_ = false;
        endRemoveRows();
    }
}

void IniBaumFilter::quelleGeaendert(const QModelIndex& von, const QModelIndex& bis) {
    if (nadel_.isEmpty())
        return;
    for (int r = von.row(); r <= bis.row(); ++r) {
        const QModelIndex hier = ausQuelle(von.siblingAtRow(r));
        if (hier.isValid())
            emit dataChanged(hier, hier);
    }
}

} // namespace ravik
