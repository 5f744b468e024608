#pragma once

#include "core/platform/text/CaselessNeedle.h"

#include <QAbstractItemModel>
#include <vector>

namespace ravik {

class IniBaumModell;
class WerteTabelle;

// The tree as a search shows it: the sections and keys whose name or value (the entry
// table's, as the detail panel shows it) holds the searched text (without regard to case), over the whole tree, which it never
// changes. A section is shown when it holds the text itself or has a key that does;
// of its keys only those that hold it.
//
// While it is shown, the whole tree may change under it: a section or key added
// there is shown here too, and one renamed stays shown, so the user sees what the
// command did; removed ones go. The next search decides afresh. A whole new tree
// (loading) empties it and ends the search.
class IniBaumFilter : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit IniBaumFilter(IniBaumModell& quelle, QObject* parent = nullptr);
    ~IniBaumFilter() override;

    void filtern(const QString& text);
    const QString& text() const { return nadel_.text(); }
    // Rows here of the sections that show keys.
    std::vector<int> sektionenMitSchluesseln() const;
    // How many keys are shown, over all sections.
    qsizetype gezeigteSchluessel() const;
    // The first node that holds the text itself.
    QModelIndex ersterTreffer() const;

    QModelIndex zurQuelle(const QModelIndex& index) const;
    // Invalid when the node is not shown here.
    QModelIndex ausQuelle(const QModelIndex& quelle) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

private:
    struct Sektion {
        int quelle = 0;              // its row in the whole tree
        std::vector<int> schluessel; // rows of the keys shown, ascending
        bool selbst = false;         // the section's name holds the text
    };

    std::vector<Sektion> suchen(bool nurBisherige) const;
    void zuordnungNeu();
    int einfuegestelle(int quelleSektion) const;
    std::pair<int, int> sichtbareSpanne(const std::vector<int>& zeilen, int first, int last) const;

    void quelleEingefuegt(const QModelIndex& parent, int first, int last);
    void quelleWirdEntfernt(const QModelIndex& parent, int first, int last);
    void quelleEntfernt(const QModelIndex& parent, int first, int last);
    void quelleGeaendert(const QModelIndex& von, const QModelIndex& bis);

    IniBaumModell& quelle_;
    CaselessNeedle nadel_{QString()};
    std::vector<Sektion> sektionen_;
    std::vector<int> zeileVonQuelle_; // row in the whole tree → row here, -1 when not shown
    bool entfernenLaeuft_ = false;
};

} // namespace ravik
