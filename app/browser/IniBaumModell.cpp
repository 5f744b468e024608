#include "app/browser/IniBaumModell.h"

#include "app/platform/widgets/Bilder.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

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

IniBaumModell::~IniBaumModell() {
    if (tabelle_ && tabelle_->beobachter() == this)
        tabelle_->setBeobachter(nullptr);
}

void IniBaumModell::setTabelle(WerteTabelle* tabelle) {
    beginResetModel();
    if (tabelle_ && tabelle_->beobachter() == this)
        tabelle_->setBeobachter(nullptr);
    tabelle_ = tabelle;
    if (tabelle_)
        tabelle_->setBeobachter(this);
    sektionenLesen();
    endResetModel();
}

// Key indexes carry the number of their section's key nodes, spread over the 64-bit
// range so that hashes of neighbouring sections' keys do not collide in the view's
// tables.
quintptr IniBaumModell::idFuer(qint32 kinder) {
    return static_cast<quintptr>((quint64(kinder) + 1) * kSpread);
}

const IniBaumModell::Kinder* IniBaumModell::kinderVon(const QModelIndex& keyIndex) const {
    const quint64 nummer = static_cast<quint64>(keyIndex.internalId()) * kUnspread - 1;
    return nummer < kinder_.size() ? kinder_[nummer].get() : nullptr;
}

int IniBaumModell::sektionsZeile(quintptr schluesselId) const {
    const quint64 nummer = static_cast<quint64>(schluesselId) * kUnspread - 1;
    const Kinder* k = nummer < kinder_.size() ? kinder_[nummer].get() : nullptr;
    return k ? k->sektion : -1;
}

IniBaumModell::Kinder& IniBaumModell::kinder(int sektion) const {
    const Sektion& s = sektionen_[sektion];
    if (s.kinder >= 0)
        return *kinder_[s.kinder];
    auto neu = std::make_unique<Kinder>();
    neu->sektion = sektion;
    tabelle_->lebendeSchluessel(s.id, neu->zeilen);
    neu->aus = ausgeschalteteVon(sektion);
    einreihen(neu->zeilen, neu->aus);
    const_cast<Sektion&>(s).kinder = qint32(kinder_.size());
    kinder_.push_back(std::move(neu));
    return *kinder_.back();
}

std::vector<IniBaumModell::Ausgeschaltet> IniBaumModell::ausgeschalteteVon(int sektion) const {
    if (!ausgeschalteteZeigen_ || !ausgeschalteteQuelle_)
        return {};
    return ausgeschalteteQuelle_(tabelle_->lebendeSektionsZeile(sektionen_[sektion].id));
}

// Each switched-off key goes where the file has it: after as many of the section's keys
// as stand above it there.
void IniBaumModell::einreihen(std::vector<int>& zeilen, const std::vector<Ausgeschaltet>& aus) {
    if (aus.empty())
        return;
    std::vector<int> lebende = std::move(zeilen);
    zeilen.clear();
    zeilen.reserve(lebende.size() + aus.size());
    size_t a = 0;
    for (size_t l = 0; l < lebende.size(); ++l) {
        for (; a < aus.size() && size_t(aus[a].keysBefore) <= l; ++a)
            zeilen.push_back(-1 - int(a));
        zeilen.push_back(lebende[l]);
    }
    for (; a < aus.size(); ++a)
        zeilen.push_back(-1 - int(a));
}

void IniBaumModell::setAusgeschalteteZeigen(bool zeigen) {
    if (zeigen == ausgeschalteteZeigen_)
        return;
    beginResetModel();
    ausgeschalteteZeigen_ = zeigen;
    for (auto& s : sektionen_)
        s.kinder = -1;
    kinder_.clear();
    endResetModel();
}

const IniBaumModell::Ausgeschaltet* IniBaumModell::ausgeschaltet(const QModelIndex& index) const {
    if (!index.isValid() || istSektion(index))
        return nullptr;
    const Kinder* k = kinderVon(index);
    if (!k || index.row() >= int(k->zeilen.size()) || !istAusgeschaltet(k->zeilen[index.row()]))
        return nullptr;
    return &k->aus[size_t(-1 - k->zeilen[index.row()])];
}

const IniBaumModell::Ausgeschaltet& IniBaumModell::ausgeschaltet(int sektion, int eintrag) const {
    return kinder(sektion).aus[size_t(-1 - eintrag)];
}

QModelIndex IniBaumModell::ausgeschalteterKnoten(const QModelIndex& sektion, const QString& name) const {
    if (!istSektion(sektion))
        return {};
    const Kinder& k = kinder(sektion.row());
    for (int i = 0; i < int(k.zeilen.size()); ++i)
        if (istAusgeschaltet(k.zeilen[i]) && k.aus[size_t(-1 - k.zeilen[i])].name == name)
            return index(i, 0, sektion);
    return {};
}

quintptr IniBaumModell::schluesselId(int sektion) const {
    kinder(sektion);
    return idFuer(sektionen_[sektion].kinder);
}

QString IniBaumModell::sektionsName(int sektion) const {
    return tabelle_->sektionsName(sektionen_[sektion].id);
}

void IniBaumModell::schluesselZeilen(int sektion, std::vector<int>& zeilen) const {
    const Sektion& s = sektionen_[sektion];
    if (s.kinder >= 0) {
        zeilen = kinder_[s.kinder]->zeilen;
        return;
    }
    // A search walks every section: key nodes are made only for one with switched-off
    // keys, whose entries must keep their numbers.
    if (!ausgeschalteteVon(sektion).empty()) {
        zeilen = kinder(sektion).zeilen;
        return;
    }
    tabelle_->lebendeSchluessel(s.id, zeilen);
}

bool IniBaumModell::istSektion(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == 0;
}

QModelIndex IniBaumModell::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < sektionsAnzahl() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (!istSektion(parent) || parent.row() >= sektionsAnzahl())
        return {};
    if (row >= static_cast<int>(kinder(parent.row()).zeilen.size()))
        return {};
    return createIndex(row, 0, idFuer(sektionen_[parent.row()].kinder));
}

QModelIndex IniBaumModell::parent(const QModelIndex& child) const {
    if (!child.isValid() || istSektion(child))
        return {};
    const Kinder* k = kinderVon(child);
    return k ? createIndex(k->sektion, 0, quintptr(0)) : QModelIndex();
}

int IniBaumModell::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return sektionsAnzahl();
    if (!istSektion(parent) || parent.row() >= sektionsAnzahl())
        return 0;
    return static_cast<int>(kinder(parent.row()).zeilen.size());
}

int IniBaumModell::columnCount(const QModelIndex&) const {
    return 1;
}

// Asked for every section the view draws: answered from the table, without making
// the section's key nodes.
bool IniBaumModell::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return sektionsAnzahl() > 0;
    if (!istSektion(parent) || parent.row() >= sektionsAnzahl())
        return false;
    const Sektion& s = sektionen_[parent.row()];
    if (s.kinder >= 0)
        return !kinder_[s.kinder]->zeilen.empty();
    return tabelle_->hatLebendenSchluessel(s.id) || !ausgeschalteteVon(parent.row()).empty();
}

QString IniBaumModell::text(const QModelIndex& index) const {
    if (!index.isValid() || !tabelle_)
        return {};
    if (istSektion(index))
        return index.row() < sektionsAnzahl() ? sektionsName(index.row()) : QString();
    const Kinder* k = kinderVon(index);
    if (!k || index.row() >= int(k->zeilen.size()))
        return {};
    const int eintrag = k->zeilen[index.row()];
    return istAusgeschaltet(eintrag) ? k->aus[size_t(-1 - eintrag)].name : tabelle_->schluessel(eintrag);
}

QVariant IniBaumModell::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const bool aus = ausgeschaltet(index) != nullptr;
    switch (role) {
    case Qt::DisplayRole:
        return text(index);
    case Qt::ToolTipRole:
        return aus ? QStringLiteral("Auskommentiert") : text(index);
    case Qt::ForegroundRole:
        if (aus)
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
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

int IniBaumModell::zeileVon(quint32 id) const {
    for (int r = 0; r < sektionsAnzahl(); ++r)
        if (sektionen_[r].id == id)
            return r;
    return -1;
}

QModelIndex IniBaumModell::sektionsKnoten(const QString& name) const {
    const int id = tabelle_ ? tabelle_->sektionsIdVon(name) : -1;
    return id < 0 ? QModelIndex() : index(zeileVon(quint32(id)), 0);
}

QModelIndex IniBaumModell::schluesselKnoten(const QModelIndex& sektion, const QString& name) const {
    if (!istSektion(sektion))
        return {};
    const QByteArray gesucht = name.toUtf8();
    const Kinder& k = kinder(sektion.row());
    for (int i = 0; i < int(k.zeilen.size()); ++i)
        if (!istAusgeschaltet(k.zeilen[i]) && tabelle_->schluesselUtf8(k.zeilen[i]) == gesucht)
            return index(i, 0, sektion);
    return {};
}

// The sections of a table just loaded: its live section rows in order, each name once.
void IniBaumModell::sektionenLesen() {
    sektionen_.clear();
    sektionen_.shrink_to_fit();
    kinder_.clear();
    kinder_.shrink_to_fit();
    if (!tabelle_ || tabelle_->istLeer())
        return;
    std::vector<bool> gesehen;
    qsizetype anzahl = 0;
    for (int r = 0, n = tabelle_->RowCount(); r < n; ++r)
        anzahl += tabelle_->istSektionsZeile(r) ? 1 : 0;
    sektionen_.reserve(anzahl);
    for (int r = 0, n = tabelle_->RowCount(); r < n; ++r) {
        if (!tabelle_->istSektionsZeile(r) || tabelle_->istGeloescht(r))
            continue;
        const quint32 id = tabelle_->sektionsId(r);
        if (id >= gesehen.size())
            gesehen.resize(id + 1);
        if (gesehen[id])
            continue;
        gesehen[id] = true;
        sektionen_.push_back({id, -1});
    }
}

void IniBaumModell::tabelleWirdNeu() {
    beginResetModel();
}

void IniBaumModell::tabelleNeu() {
    sektionenLesen();
    endResetModel();
}

void IniBaumModell::sektionHinzugefuegt(quint32 sektion) {
    if (zeileVon(sektion) >= 0)
        return;
    const int row = sektionsAnzahl();
    beginInsertRows({}, row, row);
    sektionen_.push_back({sektion, -1});
    endInsertRows();
}

void IniBaumModell::sektionUmbenannt(quint32 alt, quint32 neu) {
    const int row = zeileVon(alt);
    if (row < 0)
        return;
    sektionen_[row].id = neu;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::ToolTipRole});
}

void IniBaumModell::sektionEntfernt(quint32 sektion) {
    const int row = zeileVon(sektion);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    if (sektionen_[row].kinder >= 0)
        kinder_[sektionen_[row].kinder].reset();
    sektionen_.erase(sektionen_.begin() + row);
    for (auto& k : kinder_)
        if (k && k->sektion > row)
            --k->sektion;
    endRemoveRows();
}

int IniBaumModell::schluesselPosition(const Kinder& k, int zeile) const {
    const auto genau = std::find(k.zeilen.begin(), k.zeilen.end(), zeile);
    if (genau != k.zeilen.end())
        return int(genau - k.zeilen.begin());
    const QByteArrayView name = tabelle_->schluesselUtf8(zeile);
    for (int i = 0; i < int(k.zeilen.size()); ++i)
        if (!istAusgeschaltet(k.zeilen[i]) && tabelle_->schluesselUtf8(k.zeilen[i]) == name)
            return i;
    return -1;
}

// A new key, or one brought back, is its section's last: the others keep their rows.
void IniBaumModell::schluesselHinzugefuegt(int zeile) {
    const int row = zeileVon(tabelle_->sektionsId(zeile));
    if (row < 0)
        return;
    const bool schonGemacht = sektionen_[row].kinder >= 0;
    Kinder& k = kinder(row);
    const int bisher = schluesselPosition(k, zeile);
    if (bisher >= 0) {
        if (schonGemacht)
            return;
        // Made just now, with the key in the table's place: nobody has seen those
        // rows yet, and the key moves last.
        k.zeilen.erase(k.zeilen.begin() + bisher);
    }
    const int ende = int(k.zeilen.size());
    beginInsertRows(index(row, 0), ende, ende);
    k.zeilen.push_back(zeile);
    endInsertRows();
}

void IniBaumModell::schluesselUmbenannt(int zeile) {
    const int row = zeileVon(tabelle_->sektionsId(zeile));
    if (row < 0 || sektionen_[row].kinder < 0)
        return; // no key node made yet: it reads the new name when it is
    const int pos = schluesselPosition(kinder(row), zeile);
    if (pos < 0)
        return;
    const QModelIndex i = index(pos, 0, index(row, 0));
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::ToolTipRole});
}

void IniBaumModell::schluesselEntfernt(quint32 sektion, int zeile) {
    const int row = zeileVon(sektion);
    if (row < 0 || sektionen_[row].kinder < 0)
        return;
    Kinder& k = kinder(row);
    const int pos = schluesselPosition(k, zeile);
    if (pos < 0)
        return;
    beginRemoveRows(index(row, 0), pos, pos);
    k.zeilen.erase(k.zeilen.begin() + pos);
    endRemoveRows();
}

} // namespace ravik
