#include "app/browser/IniBaumModell.h"

#include "app/platform/widgets/Bilder.h"

namespace ravik {
namespace {

constexpr quint64 kSpread = 0x9E3779B97F4A7C15ULL;
// Multiplicative inverse of kSpread modulo 2^64.
constexpr quint64 kUnspread = 0xF1DE83E19937733DULL;
static_assert(kSpread * kUnspread == 1, "inverse");

} // namespace

IniBaumModell::IniBaumModell(QObject* parent)
    : QAbstractItemModel(parent), sektionsBild_(Bilder::baumBild(0, 1)),
      schluesselBild_(Bilder::baumBild(2, 3)) {}

IniBaumModell::~IniBaumModell() = default;

quintptr IniBaumModell::idFuer(quint64 nummer) {
    return static_cast<quintptr>((nummer + 1) * kSpread);
}

IniBaumModell::Knoten* IniBaumModell::sektionVon(const QModelIndex& keyIndex) const {
    const quint64 nummer = static_cast<quint64>(keyIndex.internalId()) * kUnspread - 1;
    return nummer < nachNummer_.size() ? nachNummer_[nummer] : nullptr;
}

int IniBaumModell::sektionsZeile(quintptr schluesselId) const {
    const quint64 nummer = static_cast<quint64>(schluesselId) * kUnspread - 1;
    const Knoten* s = nummer < nachNummer_.size() ? nachNummer_[nummer] : nullptr;
    return s ? s->zeile : -1;
}

bool IniBaumModell::istSektion(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == 0;
}

QModelIndex IniBaumModell::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < sektionsAnzahl() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (!istSektion(parent))
        return {};
    const Knoten& s = *sektionen_[parent.row()];
    if (row >= static_cast<int>(s.schluessel.size()))
        return {};
    return createIndex(row, 0, idFuer(s.nummer));
}

QModelIndex IniBaumModell::parent(const QModelIndex& child) const {
    if (!child.isValid() || istSektion(child))
        return {};
    Knoten* s = sektionVon(child);
    return s ? createIndex(s->zeile, 0, quintptr(0)) : QModelIndex();
}

int IniBaumModell::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return sektionsAnzahl();
    if (!istSektion(parent))
        return 0;
    return static_cast<int>(sektionen_[parent.row()]->schluessel.size());
}

int IniBaumModell::columnCount(const QModelIndex&) const {
    return 1;
}

bool IniBaumModell::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QString IniBaumModell::text(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    if (istSektion(index))
        return sektionen_[index.row()]->name;
    Knoten* s = sektionVon(index);
    return s ? namen_.text(s->schluessel[index.row()]) : QString();
}

QVariant IniBaumModell::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(index);
    case Qt::DecorationRole:
        return istSektion(index) ? sektionsBild_ : schluesselBild_;
    default:
        return {};
    }
}

Qt::ItemFlags IniBaumModell::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!istSektion(index))
        f |= Qt::ItemNeverHasChildren;
    return f;
}

IniBaumModell::Knoten* IniBaumModell::neuerKnoten(const QString& name) {
    auto knoten = std::make_unique<Knoten>();
    knoten->name = name;
    knoten->zeile = sektionsAnzahl();
    knoten->nummer = nachNummer_.size();
    nachNummer_.push_back(knoten.get());
    sektionen_.push_back(std::move(knoten));
    return sektionen_.back().get();
}

void IniBaumModell::leeren() {
    ladenBeginnen();
    ladenBeenden();
}

void IniBaumModell::ladenBeginnen() {
    beginResetModel();
    sektionen_.clear();
    sektionen_.shrink_to_fit();
    nachNummer_.clear();
    nachNummer_.shrink_to_fit();
    namen_.clear();
    knoten_ = 0;
}

void IniBaumModell::sektionLaden(const QString& name, qsizetype schluesselAnzahl) {
    neuerKnoten(name)->schluessel.reserve(schluesselAnzahl);
    ++knoten_;
}

void IniBaumModell::schluesselLaden(const QString& name) {
    sektionen_.back()->schluessel.push_back(namen_.add(name));
    ++knoten_;
}

void IniBaumModell::schluesselLaden(QByteArrayView utf8) {
    sektionen_.back()->schluessel.push_back(namen_.add(utf8));
    ++knoten_;
}

void IniBaumModell::ladenBeenden() {
    endResetModel();
}

void IniBaumModell::ausTabelleLaden(const WerteTabelle& tabelle) {
    ladenBeginnen();
    if (!tabelle.istLeer()) {
        const int zeilen = tabelle.RowCount();
        for (int r = 0; r < zeilen; ++r) {
            if (!tabelle.istSektionsZeile(r)) {
                schluesselLaden(tabelle.schluesselUtf8(r));
                continue;
            }
            int schluessel = 0;
            while (r + 1 + schluessel < zeilen && !tabelle.istSektionsZeile(r + 1 + schluessel))
                ++schluessel;
            sektionLaden(tabelle.sektion(r), schluessel);
        }
    }
    ladenBeenden();
}

QModelIndex IniBaumModell::sektionAnhaengen(const QString& name) {
    const int row = sektionsAnzahl();
    beginInsertRows({}, row, row);
    neuerKnoten(name);
    ++knoten_;
    endInsertRows();
    return index(row, 0);
}

QModelIndex IniBaumModell::schluesselAnhaengen(const QModelIndex& sektion, const QString& name) {
    if (!istSektion(sektion))
        return {};
    Knoten& s = *sektionen_[sektion.row()];
    const int row = static_cast<int>(s.schluessel.size());
    beginInsertRows(sektion, row, row);
    s.schluessel.push_back(namen_.add(name));
    ++knoten_;
    endInsertRows();
    return index(row, 0, sektion);
}

void IniBaumModell::setText(const QModelIndex& index, const QString& text) {
    if (!index.isValid())
        return;
    if (istSektion(index))
        sektionen_[index.row()]->name = text;
    else if (Knoten* s = sektionVon(index))
        s->schluessel[index.row()] = namen_.add(text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::ToolTipRole});
}

void IniBaumModell::zeilenNeuNummerieren(int ab) {
    for (int r = ab; r < sektionsAnzahl(); ++r)
        sektionen_[r]->zeile = r;
}

void IniBaumModell::entfernen(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const int row = index.row();
    if (istSektion(index)) {
        beginRemoveRows({}, row, row);
        Knoten* k = sektionen_[row].get();
        knoten_ -= 1 + static_cast<int>(k->schluessel.size());
        nachNummer_[k->nummer] = nullptr;
        sektionen_.erase(sektionen_.begin() + row);
        zeilenNeuNummerieren(row);
        endRemoveRows();
        return;
    }
    Knoten* s = sektionVon(index);
    if (!s)
        return;
    beginRemoveRows(index.parent(), row, row);
    s->schluessel.erase(s->schluessel.begin() + row);
    --knoten_;
    endRemoveRows();
}

} // namespace ravik
