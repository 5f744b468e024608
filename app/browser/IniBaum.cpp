#include "app/browser/IniBaum.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace ravik {

IniBaum::IniBaum(QWidget* parent) : QTreeView(parent), modell_(this), filter_(modell_, this) {
    setObjectName(QStringLiteral("iniAnzeige"));
    setModel(&modell_);
    setHeaderHidden(true);
    setIndentation(27);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setMouseTracking(true); // hot tracking
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::CustomContextMenu);
    setExpandsOnDoubleClick(true);
    // A new tree ends the search; the view goes back to the whole tree before it
    // changes, so that it never shows a search of a tree that is gone.
    connect(&modell_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (!filtert())
            return;
        modellZeigen(&modell_);
        vorherAufgeklappt_.clear();
        vorher_ = Aufklappen::WieVorher;
        emit filterAufgehoben();
    });
    connect(&modell_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &IniBaum::knotenWirdEntfernt);
    connect(&modell_, &QAbstractItemModel::rowsRemoved, this, &IniBaum::knotenEntfernt);
}

QModelIndex IniBaum::quelle(const QModelIndex& index) const {
    return index.model() == &filter_ ? filter_.zurQuelle(index) : index;
}

QModelIndex IniBaum::sichtbar(const QModelIndex& index) {
    if (index.model() == &modell_ && !filtert())
        modell_.zeigenBis(modell_.sektionVon(index));
    if (index.model() == model())
        return index;
    return filtert() ? filter_.ausQuelle(index) : QModelIndex();
}

void IniBaum::modellZeigen(QAbstractItemModel* modell) {
    QItemSelectionModel* alt = selectionModel();
    setModel(modell);
    delete alt;
}

void IniBaum::aufklappungMerken() {
    vorher_ = Aufklappen::WieVorher;
    vorherAufgeklappt_.clear();
    for (int r = 0, n = modell_.sektionsAnzahl(); r < n; ++r) {
        const QModelIndex sektion = modell_.index(r, 0);
        if (isExpanded(sektion))
            vorherAufgeklappt_.emplace_back(sektion);
    }
}

void IniBaum::aufklappungWiederherstellen() {
    if (vorher_ == Aufklappen::Alle)
        expandAll();
    if (vorher_ == Aufklappen::WieVorher)
        for (const QPersistentModelIndex& sektion : vorherAufgeklappt_)
            if (sektion.isValid())
                expand(sektion);
    vorherAufgeklappt_.clear();
    vorher_ = Aufklappen::WieVorher;
}

bool IniBaum::filtern(const QString& text) {
    const QPersistentModelIndex auswahl(ausgewaehlterKnoten());
    if (text.isEmpty()) {
        if (!filtert())
            return false;
        modellZeigen(&modell_);
        filter_.filtern(QString());
        aufklappungWiederherstellen();
        if (auswahl.isValid()) {
            if (!modell_.istSektion(auswahl))
                expand(sichtbar(auswahl.parent()));
            auswaehlen(auswahl);
            scrollTo(auswahl);
        }
        return false;
    }
    if (!filtert()) {
        aufklappungMerken();
        modellZeigen(&filter_);
    }
    filter_.filtern(text);
    // A text as short as one letter can match most keys of a big file: listing them all
    // would cost the view a row each, and the view never gives that memory back. Such a
    // search shows the sections collapsed until the text narrows it.
    if (filter_.gezeigteSchluessel() <= kAufklappGrenze)
        for (int zeile : filter_.sektionenMitSchluesseln())
            expand(filter_.index(zeile, 0));
    const QModelIndex bisher = filter_.ausQuelle(auswahl);
    const QModelIndex ziel = bisher.isValid() ? bisher : filter_.ersterTreffer();
    if (ziel.parent().isValid())
        expand(ziel.parent());
    auswaehlen(ziel);
    return ausgewaehlterKnoten() != QModelIndex(auswahl);
}

void IniBaum::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTreeView::scrollTo(sichtbar(index), hint);
}

QModelIndex IniBaum::ausgewaehlterKnoten() const {
    if (!selectionModel())
        return {};
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : quelle(selected.constFirst());
}

void IniBaum::auswaehlen(const QModelIndex& knoten) {
    const QModelIndex ziel = sichtbar(knoten);
    if (!ziel.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(ziel, QItemSelectionModel::ClearAndSelect);
}

int IniBaum::ebene(const QModelIndex& knoten) const {
    return modell_.istSektion(quelle(knoten)) ? 0 : 1;
}

int IniBaum::bildIndex(const QModelIndex& knoten) const {
    if (!knoten.isValid())
        return -1;
    return modell_.istSektion(quelle(knoten)) ? kSektionsBild : kSchluesselBild;
}

QString IniBaum::text(const QModelIndex& knoten) const {
    return modell_.text(quelle(knoten));
}

void IniBaum::knotenWirdEntfernt(const QModelIndex& parent, int first, int last) {
    auswahlEntfernt_ = false;
    const QModelIndex ausgewaehlt = ausgewaehlterKnoten();
    if (!ausgewaehlt.isValid() || ausgewaehlt.parent() != parent || ausgewaehlt.row() < first ||
        ausgewaehlt.row() > last)
        return;
    auswahlEntfernt_ = true;
    QModelIndex nachfolger;
    const QModelIndex angezeigt = sichtbar(ausgewaehlt);
    if (angezeigt.isValid()) {
        nachfolger = angezeigt.sibling(angezeigt.row() + 1, 0);
        if (!nachfolger.isValid() && angezeigt.row() > 0)
            nachfolger = angezeigt.sibling(angezeigt.row() - 1, 0);
        if (!nachfolger.isValid())
            nachfolger = angezeigt.parent();
    }
    nachfolger_ = nachfolger;
}

void IniBaum::knotenEntfernt() {
    if (!auswahlEntfernt_)
        return;
    auswahlEntfernt_ = false;
    const QPersistentModelIndex ziel = nachfolger_;
    nachfolger_ = QPersistentModelIndex();
    if (ziel.isValid())
        auswaehlen(ziel);
    else
        selectionModel()->clear();
}

// During a search F2 decides for the whole tree: after it all sections are expanded,
// or all collapsed.
bool IniBaum::aufgeklappteSektionen(QStringList& namen, int hoechstens) const {
    namen.clear();
    QAbstractItemModel* m = model();
    for (int r = 0, n = m->rowCount(); r < n; ++r) {
        const QModelIndex i = m->index(r, 0);
        if (!isExpanded(i))
            continue;
        if (namen.size() == hoechstens)
            return false;
        namen.append(text(i));
    }
    return true;
}

void IniBaum::sektionenAufklappen(const QStringList& namen) {
    for (const QString& name : namen)
        if (const QModelIndex i = sichtbar(sektionsKnoten(name)); i.isValid())
            expand(i);
}

void IniBaum::allesAusklappen() {
    if (filtert()) {
        vorher_ = Aufklappen::Alle;
        vorherAufgeklappt_.clear();
    }
    if (!filtert())
        modell_.alleZeigen();
    expandAll();
}

void IniBaum::allesEinklappen() {
    if (filtert()) {
        vorher_ = Aufklappen::Keine;
        vorherAufgeklappt_.clear();
    }
    const QModelIndex knoten = ausgewaehlterKnoten();
    collapseAll();
    if (knoten.isValid() && !modell_.istSektion(knoten))
        auswaehlen(knoten.parent());
}

void IniBaum::mousePressEvent(QMouseEvent* event) {
    // A right click opens the menu for the selected node; it never moves the selection.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void IniBaum::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit geklickt();
}

void IniBaum::keyPressEvent(QKeyEvent* event) {
    emit tasteGedrueckt(event);
    weitereFuerTaste(event);
    QTreeView::keyPressEvent(event);
}

// End goes to the last section of the file, and the arrow keys and Page Down never stop
// at the last page the view was given.
void IniBaum::weitereFuerTaste(const QKeyEvent* event) {
    if (filtert() || modell_.alleGezeigt())
        return;
    if (event->key() == Qt::Key_End) {
        modell_.alleZeigen();
        return;
    }
    if (event->key() != Qt::Key_Down && event->key() != Qt::Key_PageDown)
        return;
    if (modell_.sektionVon(currentIndex()) + 1000 >= modell_.gezeigteSektionen())
        modell_.naechsteSeiteZeigen();
}

// Scrolled to the end of what the view was given: the next page.
void IniBaum::verticalScrollbarValueChanged(int value) {
    QTreeView::verticalScrollbarValueChanged(value);
    // (A view laid out anew passes through an empty range: that is no scrolling.)
    if (!filtert() && !modell_.alleGezeigt() && value > 0 && value == verticalScrollBar()->maximum())
        modell_.naechsteSeiteZeigen();
}

void IniBaum::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    emit tasteLosgelassen(event);
}

} // namespace ravik
