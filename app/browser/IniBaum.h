#pragma once

#include "app/browser/IniBaumFilter.h"
#include "app/browser/IniBaumModell.h"

#include <QPersistentModelIndex>
#include <QTreeView>
#include <vector>

namespace ravik {

// The tree `iniAnzeige`: sections at the top level, their keys below. Read-only; a
// right click opens the context menu without selecting. Every left click (also on
// the empty area) and every key press and release is reported.
//
// A search (filtern) shows only the sections and keys that hold a text; the tree
// stays whole underneath. Every method here speaks of nodes of the whole tree
// (IniBaumModell), also while a search is shown; it takes the indexes the view shows
// as well.
//
// Of a file of very many sections the view is given the sections a page at a time
// (IniBaumModell::kSeite): scrolling to the end, End and the arrow keys near the end
// give it more, and every node selected, expanded or scrolled to brings the rows
// down to it.
class IniBaum : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kSektionsBild = 0;
    static constexpr int kSchluesselBild = 2;
    // A search that shows more keys than this leaves their sections collapsed.
    static constexpr qsizetype kAufklappGrenze = 10000;

    explicit IniBaum(QWidget* parent = nullptr);

    IniBaumModell& modell() { return modell_; }
    // The entry table the tree shows and follows, whose values the search looks at.
    void setWerte(WerteTabelle* werte) { modell_.setTabelle(werte); }

    // Shows what holds the text, the sections with such keys expanded (up to
    // kAufklappGrenze keys; the selected one's section always); the selection
    // stays where it was if that is shown, else it goes to the first match. An empty
    // text shows the whole tree again, its sections expanded as before the search
    // (F2 during the search decides anew for all), the selected node in sight.
    // Returns true when the selection moved to another node.
    bool filtern(const QString& text);
    bool filtert() const { return model() == &filter_; }
    int sichtbareSektionen() const { return model()->rowCount(); }

    int knotenAnzahl() const { return modell_.knotenAnzahl(); }
    QModelIndex ausgewaehlterKnoten() const;
    void auswaehlen(const QModelIndex& knoten);
    int ebene(const QModelIndex& knoten) const;
    int bildIndex(const QModelIndex& knoten) const; // 0 section, 2 key, -1 none
    QString text(const QModelIndex& knoten) const;
    QModelIndex erstesSektion() const { return modell_.index(0, 0); }

    // The nodes of a section and of a key, by name (invalid when there is none).
    QModelIndex sektionsKnoten(const QString& name) const { return modell_.sektionsKnoten(name); }
    QModelIndex schluesselKnoten(const QModelIndex& sektion, const QString& name) const {
        return modell_.schluesselKnoten(quelle(sektion), name);
    }

    // The switched-off key a node stands for (IniBaumModell), nullptr for others.
    const IniBaumModell::Ausgeschaltet* ausgeschaltet(const QModelIndex& knoten) const {
        return modell_.ausgeschaltet(quelle(knoten));
    }
    QModelIndex ausgeschalteterKnoten(const QModelIndex& sektion, const QString& name) const {
        return modell_.ausgeschalteterKnoten(quelle(sektion), name);
    }
    // The names of the expanded sections, and expanding them again in a tree made
    // anew; false when there were more than `hoechstens` (expand all instead).
    bool aufgeklappteSektionen(QStringList& namen, int hoechstens) const;
    void sektionenAufklappen(const QStringList& namen);

    void allesAusklappen();
    // A selected key hidden by the collapse hands the selection to its section.
    void allesEinklappen();

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A new tree (loading, a new file) ended the search.
    void filterAufgehoben();
    void geklickt();
    void tasteGedrueckt(QKeyEvent* event);
    void tasteLosgelassen(QKeyEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void verticalScrollbarValueChanged(int value) override;

private:
    enum class Aufklappen { WieVorher, Alle, Keine };

    QModelIndex quelle(const QModelIndex& index) const;
    // The node as the view shows it (the view is given the rows down to it first).
    QModelIndex sichtbar(const QModelIndex& index);
    void weitereFuerTaste(const QKeyEvent* event);
    void modellZeigen(QAbstractItemModel* modell);
    void aufklappungMerken();
    void aufklappungWiederherstellen();
    // A selected node that the table's edit removes hands the selection to a neighbour
    // among the nodes shown: the next sibling, else the previous one, else the parent.
    void knotenWirdEntfernt(const QModelIndex& parent, int first, int last);
    void knotenEntfernt();

    IniBaumModell modell_;
    IniBaumFilter filter_;
    // The whole tree's expansion from before the search.
    Aufklappen vorher_ = Aufklappen::WieVorher;
    std::vector<QPersistentModelIndex> vorherAufgeklappt_;
    QPersistentModelIndex nachfolger_;
    bool auswahlEntfernt_ = false;
};

} // namespace ravik
