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
    if (const qint32 nummer = kinderNummer(sektion); nummer >= 0)
        return *kinder_[nummer];
    auto neu = std::make_unique<Kinder>();
    neu->sektion = sektion;
    tabelle_->lebendeSchluessel(id(sektion), neu->zeilen);
    neu->aus = ausgeschalteteVon(sektion);
    einreihen(neu->zeilen, neu->aus);
    kinder_.push_back(std::move(neu));
    kinderNummer_.insert(sektion, qint32(kinder_.size() - 1));
    return *kinder_.back();
}

std::vector<IniBaumModell::Ausgeschaltet> IniBaumModell::ausgeschalteteVon(int sektion) const {
    if (!ausgeschalteteZeigen_ || !ausgeschalteteQuelle_)
        return {};
    return ausgeschalteteQuelle_(tabelle_->lebendeSektionsZeile(id(sektion)));
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
    kinderNummer_.clear();
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
    return idFuer(kinderNummer(sektion));
}

QString IniBaumModell::sektionsName(int sektion) const {
    return tabelle_->sektionsName(id(sektion));
}

void IniBaumModell::schluesselZeilen(int sektion, std::vector<int>& zeilen) const {
    if (const qint32 nummer = kinderNummer(sektion); nummer >= 0) {
        zeilen = kinder_[nummer]->zeilen;
        return;
    }
    // A search walks every section: key nodes are made only for one with switched-off
    // keys, whose entries must keep their numbers.
    if (!ausgeschalteteVon(sektion).empty()) {
        zeilen = kinder(sektion).zeilen;
        return;
    }
    tabelle_->lebendeSchluessel(id(sektion), zeilen);
}

int IniBaumModell::sektionVon(const QModelIndex& index) const {
    return istSektion(index) ? index.row() : parent(index).row();
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
    return createIndex(row, 0, idFuer(kinderNummer(parent.row())));
}

QModelIndex IniBaumModell::parent(const QModelIndex& child) const {
    if (!child.isValid() || istSektion(child))
        return {};
    const Kinder* k = kinderVon(child);
    return k ? createIndex(k->sektion, 0, quintptr(0)) : QModelIndex();
}

int IniBaumModell::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return gezeigt_;
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
    if (const qint32 nummer = kinderNummer(parent.row()); nummer >= 0)
        return !kinder_[nummer]->zeilen.empty();
    return tabelle_->hatLebendenSchluessel(id(parent.row())) || !ausgeschalteteVon(parent.row()).empty();
}

void IniBaumModell::zeigenBis(int sektion) {
    if (sektion < gezeigt_)
        return;
    sektion = std::min(sektion, anzahl_ - 1);
    if (sektion < gezeigt_)
        return;
    zeigtWeitere_ = true;
    beginInsertRows({}, gezeigt_, sektion);
    gezeigt_ = sektion + 1;
    endInsertRows();
    zeigtWeitere_ = false;
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
    if (idsGleichZeilen_)
        return id >= erste_ && id - erste_ < quint32(anzahl_) ? int(id - erste_) : -1;
    const auto it = std::find(ids_.begin(), ids_.end(), id);
    return it == ids_.end() ? -1 : int(it - ids_.begin());
}

int IniBaumModell::gezeigteZeileVon(quint32 id) {
    const int row = zeileVon(id);
    if (row >= 0)
        zeigenBis(row);
    return row;
}

// The first change that makes a row's id differ from its number writes the ids down.
// Written aside and put in place whole: running out of memory leaves the tree as it was.
void IniBaumModell::idsFesthalten() {
    if (!idsGleichZeilen_)
        return;
    std::vector<quint32> ids(static_cast<size_t>(anzahl_));
    for (int r = 0; r < anzahl_; ++r)
        ids[size_t(r)] = erste_ + quint32(r);
    ids_.swap(ids);
    idsGleichZeilen_ = false;
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
// A table gives ids in the order it meets names, so a loaded one needs no list of ids.
void IniBaumModell::sektionenLesen() {
    ids_.clear();
    ids_.shrink_to_fit();
    idsGleichZeilen_ = true;
    erste_ = 0;
    kinder_.clear();
    kinder_.shrink_to_fit();
    kinderNummer_.clear();
    anzahl_ = gezeigt_ = 0;
    if (!tabelle_ || tabelle_->istLeer())
        return;
    const auto lebendeSektion = [this](int r) {
        return tabelle_->istSektionsZeile(r) && !tabelle_->istGeloescht(r);
    };
    bool erste = true;
    quint32 naechste = 0;
    bool geordnet = true;
    for (int r = 0, n = tabelle_->RowCount(); r < n && geordnet; ++r) {
        if (!lebendeSektion(r))
            continue;
        const quint32 id = tabelle_->sektionsId(r);
        if (erste)
            erste_ = naechste = id;
        erste = false;
        if (id == naechste)
            ++naechste; // ids from erste_ to naechste were all met before: a repeat is skipped
        else if (id > naechste || id < erste_)
            geordnet = false;
    }
    if (geordnet) {
        anzahl_ = int(naechste - erste_);
    } else {
        idsGleichZeilen_ = false;
        std::vector<bool> gesehen;
        for (int r = 0, n = tabelle_->RowCount(); r < n; ++r) {
            if (!lebendeSektion(r))
                continue;
            const quint32 id = tabelle_->sektionsId(r);
            if (id >= gesehen.size())
                gesehen.resize(id + 1);
            if (gesehen[id])
                continue;
            gesehen[id] = true;
            ids_.push_back(id);
        }
        anzahl_ = int(ids_.size());
    }
    gezeigt_ = std::min(anzahl_, kSeite);
}

void IniBaumModell::tabelleWirdNeu() {
    beginResetModel();
}

void IniBaumModell::tabelleNeu() {
    sektionenLesen();
    endResetModel();
}

// A new section is the last: the view is given every row, so that it can show it.
void IniBaumModell::sektionHinzugefuegt(quint32 sektion) {
    if (zeileVon(sektion) >= 0)
        return;
    alleZeigen();
    const int row = sektionsAnzahl();
    if (row == 0 && idsGleichZeilen_)
        erste_ = sektion;
    if (sektion != erste_ + quint32(row))
        idsFesthalten();
    if (!idsGleichZeilen_ && ids_.size() == ids_.capacity())
        ids_.reserve(ids_.size() * 2 + 1);
    beginInsertRows({}, row, row);
    if (!idsGleichZeilen_)
        ids_.push_back(sektion);
    ++anzahl_;
    ++gezeigt_;
    endInsertRows();
}

void IniBaumModell::sektionUmbenannt(quint32 alt, quint32 neu) {
    const int row = gezeigteZeileVon(alt);
    if (row < 0)
        return;
    idsFesthalten();
    ids_[size_t(row)] = neu;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::ToolTipRole});
}

void IniBaumModell::sektionEntfernt(quint32 sektion) {
    const int row = gezeigteZeileVon(sektion);
    if (row < 0)
        return;
    idsFesthalten();
    beginRemoveRows({}, row, row);
    if (const qint32 nummer = kinderNummer(row); nummer >= 0)
        kinder_[nummer].reset();
    ids_.erase(ids_.begin() + row);
    --anzahl_;
    --gezeigt_;
    kinderNummer_.clear();
    for (size_t i = 0; i < kinder_.size(); ++i) {
        if (!kinder_[i])
            continue;
        if (kinder_[i]->sektion > row)
            --kinder_[i]->sektion;
        kinderNummer_.insert(kinder_[i]->sektion, qint32(i));
    }
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
    const int row = gezeigteZeileVon(tabelle_->sektionsId(zeile));
    if (row < 0)
        return;
    const bool schonGemacht = kinderNummer(row) >= 0;
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
    if (row < 0 || kinderNummer(row) < 0)
        return; // no key node made yet: it reads the new name when it is
    zeigenBis(row);
    const int pos = schluesselPosition(kinder(row), zeile);
    if (pos < 0)
        return;
    const QModelIndex i = index(pos, 0, index(row, 0));
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::ToolTipRole});
}

void IniBaumModell::schluesselEntfernt(quint32 sektion, int zeile) {
    const int row = zeileVon(sektion);
    if (row < 0 || kinderNummer(row) < 0)
        return;
    zeigenBis(row);
    Kinder& k = kinder(row);
    const int pos = schluesselPosition(k, zeile);
    if (pos < 0)
        return;
    beginRemoveRows(index(row, 0), pos, pos);
    k.zeilen.erase(k.zeilen.begin() + pos);
    endRemoveRows();
}

} // namespace ravik
