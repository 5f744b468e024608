#pragma once

#include "core/document/WerteTabelle.h"
#include "core/platform/ini/IniDocument.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

namespace ravik {

// The tree over the entry table: top-level section nodes, each with its key nodes.
// It holds no names: a section node is the table's id of its name (8 bytes), and the
// key nodes of a section exist only once the view or a search asks for them, as the
// table rows that carry them. The table tells it every change the edit rules make, so
// a command edits the table alone and the tree follows.
//
// Order: sections as loaded, new ones at the end, a renamed one where it stood; keys
// in the table's order, a new or recovered one as the last of its section.
//
// Keys switched off in the file (";extension=mysqli") are shown among the keys, greyed,
// where the file has them. They are not in the table: the document reads them from its
// text (the source set here) when a section's key nodes are made. A key node's entry
// in a section's list is then either a table row (>= 0) or a switched-off key (< 0).
class IniBaumModell : public QAbstractItemModel, private WerteTabelle::Beobachter {
    Q_OBJECT
public:
    explicit IniBaumModell(QObject* parent = nullptr);
    ~IniBaumModell() override;

    // The table shown; the model follows it from now on.
    void setTabelle(WerteTabelle* tabelle);
    const WerteTabelle* tabelle() const { return tabelle_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

    using Ausgeschaltet = IniDocument::SwitchedOffKey;
    // The switched-off keys of the section with this table row.
    using AusgeschalteteQuelle = std::function<std::vector<Ausgeschaltet>(int sektionsZeile)>;
    void setAusgeschalteteQuelle(AusgeschalteteQuelle quelle) { ausgeschalteteQuelle_ = std::move(quelle); }
    // Shown or hidden: the tree is made anew.
    void setAusgeschalteteZeigen(bool zeigen);
    bool ausgeschalteteZeigen() const { return ausgeschalteteZeigen_; }
    // The switched-off key a node stands for, nullptr for any other node.
    const Ausgeschaltet* ausgeschaltet(const QModelIndex& index) const;
    // The node of the section's switched-off key of this name (the first), if shown.
    QModelIndex ausgeschalteterKnoten(const QModelIndex& sektion, const QString& name) const;
    // An entry of a section's list (schluesselZeilen) that is a switched-off key.
    static bool istAusgeschaltet(int eintrag) { return eintrag < 0; }
    const Ausgeschaltet& ausgeschaltet(int sektion, int eintrag) const;

    // Whether the tree has a node at all (a key needs its section).
    int knotenAnzahl() const { return sektionsAnzahl(); }
    int sektionsAnzahl() const { return static_cast<int>(sektionen_.size()); }
    bool istSektion(const QModelIndex& index) const;
    QString text(const QModelIndex& index) const;
    QModelIndex sektionsKnoten(const QString& name) const;
    QModelIndex schluesselKnoten(const QModelIndex& sektion, const QString& name) const;

    // Plain reads for the filter (IniBaumFilter), by row, without making key nodes.
    QString sektionsName(int sektion) const;
    // The entries of the section's key nodes, in the tree's order: table rows, and
    // switched-off keys as negative numbers (istAusgeschaltet).
    void schluesselZeilen(int sektion, std::vector<int>& zeilen) const;
    // The internal id that the section's key indexes carry, and back: the section's
    // row for such an id (-1 once the section is gone).
    quintptr schluesselId(int sektion) const;
    int sektionsZeile(quintptr schluesselId) const;

private:
    struct Sektion {
        quint32 id = 0;      // the table's id of its name
        qint32 kinder = -1;  // its key nodes in kinder_, -1 while not asked for
    };
    struct Kinder {
        int sektion = 0;          // the section's row
        std::vector<int> zeilen;  // table row of each key node, or -1 - index into aus
        std::vector<Ausgeschaltet> aus;
    };

    void tabelleWirdNeu() override;
    void tabelleNeu() override;
    void sektionHinzugefuegt(quint32 sektion) override;
    void sektionUmbenannt(quint32 alt, quint32 neu) override;
    void sektionEntfernt(quint32 sektion) override;
    void schluesselHinzugefuegt(int zeile) override;
    void schluesselUmbenannt(int zeile) override;
    void schluesselEntfernt(quint32 sektion, int zeile) override;

    void sektionenLesen();
    int zeileVon(quint32 id) const;
    Kinder& kinder(int sektion) const;
    int schluesselPosition(const Kinder& k, int zeile) const;
    static quintptr idFuer(qint32 kinder);
    const Kinder* kinderVon(const QModelIndex& keyIndex) const;

    WerteTabelle* tabelle_ = nullptr;
    std::vector<Sektion> sektionen_;
    // Key nodes of the sections asked for; a removed section leaves nullptr, so that
    // the ids its key indexes carried are never reused.
    mutable std::vector<std::unique_ptr<Kinder>> kinder_;
    std::vector<Ausgeschaltet> ausgeschalteteVon(int sektion) const;
    static void einreihen(std::vector<int>& zeilen, const std::vector<Ausgeschaltet>& aus);

    AusgeschalteteQuelle ausgeschalteteQuelle_;
    bool ausgeschalteteZeigen_ = true;
    QIcon sektionsBild_;
    QIcon schluesselBild_;
};

} // namespace ravik
