#pragma once

#include "core/document/WerteTabelle.h"
#include "core/platform/ini/IniDocument.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

namespace ravik {

// The tree over the entry table: top-level section nodes, each with its key nodes.
// It holds no names: a section node is the table's id of its name (nothing at all
// while the ids follow the rows, as in a table just loaded), and the key nodes of a
// section exist only once the view or a search asks for them, as the table rows that
// carry them.
//
// The view keeps a record of every top-level row it is given (40 bytes), and a file of
// a million small sections would pay that before the first screen is drawn. So the
// view is given the sections a page at a time as it scrolls to the end,
// and the rows up to a section whenever a section further down is shown, selected or
// changed (zeigenBis). Everything else here (index(), the filter's reads by row)
// speaks of all sections. The table tells it every change the edit rules make, so
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

    // Sections handed to the view at a time. The view asks for them itself (IniBaum):
    // QTreeView's fetchMore would take a page more at every layout of the tree.
    static constexpr int kSeite = 10000;
    int gezeigteSektionen() const { return gezeigt_; }
    bool alleGezeigt() const { return gezeigt_ == anzahl_; }
    void naechsteSeiteZeigen() { zeigenBis(gezeigt_ + kSeite - 1); }
    // The view is given the rows up to this section's (all of them: alleZeigen).
    void zeigenBis(int sektion);
    void alleZeigen() { zeigenBis(sektionsAnzahl() - 1); }
    // True while rows are handed to the view: they are no new sections.
    bool zeigtWeitere() const { return zeigtWeitere_; }

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
    int sektionsAnzahl() const { return anzahl_; }
    bool istSektion(const QModelIndex& index) const;
    // The row of the node's section (its own for a section node), -1 for no node.
    int sektionVon(const QModelIndex& index) const;
    // The table's id of the section's name (of the key's section, for a key node).
    quint32 sektionsId(const QModelIndex& index) const { return id(sektionVon(index)); }
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
    quint32 id(int sektion) const { return idsGleichZeilen_ ? erste_ + quint32(sektion) : ids_[size_t(sektion)]; }
    void idsFesthalten();
    int zeileVon(quint32 id) const;
    // The section's row for a change the table reports, shown to the view first.
    int gezeigteZeileVon(quint32 id);
    qint32 kinderNummer(int sektion) const { return kinderNummer_.value(sektion, -1); }
    Kinder& kinder(int sektion) const;
    int schluesselPosition(const Kinder& k, int zeile) const;
    static quintptr idFuer(qint32 kinder);
    const Kinder* kinderVon(const QModelIndex& keyIndex) const;

    WerteTabelle* tabelle_ = nullptr;
    int anzahl_ = 0;
    int gezeigt_ = 0;
    bool zeigtWeitere_ = false;
    // The table's id of each section's name, by row; none while the ids follow the
    // rows, from the first section's id (erste_) on.
    std::vector<quint32> ids_;
    bool idsGleichZeilen_ = true;
    quint32 erste_ = 0;
    // Key nodes of the sections asked for; a removed section leaves nullptr, so that
    // the ids its key indexes carried are never reused.
    mutable std::vector<std::unique_ptr<Kinder>> kinder_;
    mutable QHash<int, qint32> kinderNummer_; // section row -> its key nodes in kinder_
    std::vector<Ausgeschaltet> ausgeschalteteVon(int sektion) const;
    static void einreihen(std::vector<int>& zeilen, const std::vector<Ausgeschaltet>& aus);

    AusgeschalteteQuelle ausgeschalteteQuelle_;
    bool ausgeschalteteZeigen_ = true;
    QIcon sektionsBild_;
    QIcon schluesselBild_;
};

} // namespace ravik
