#include "app/browser/IniBaum.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ravik {

IniBaum::IniBaum(QWidget* parent) : QTreeView(parent), modell_(this) {
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
}

QModelIndex IniBaum::ausgewaehlterKnoten() const {
    if (!selectionModel())
        return {};
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.constFirst();
}

void IniBaum::auswaehlen(const QModelIndex& knoten) {
    if (!knoten.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(knoten, QItemSelectionModel::ClearAndSelect);
}

int IniBaum::ebene(const QModelIndex& knoten) const {
    return modell_.istSektion(knoten) ? 0 : 1;
}

int IniBaum::bildIndex(const QModelIndex& knoten) const {
    if (!knoten.isValid())
        return -1;
    return modell_.istSektion(knoten) ? kSektionsBild : kSchluesselBild;
}

QModelIndex IniBaum::schluesselAnhaengen(const QModelIndex& sektion, const QString& name) {
    return modell_.schluesselAnhaengen(sektion, name);
}

void IniBaum::knotenLoeschen(const QModelIndex& knoten) {
    const bool warAusgewaehlt = knoten == ausgewaehlterKnoten();
    // The neighbour that takes the selection: next sibling, else the previous one,
    // else the parent.
    QModelIndex nachfolger;
    if (warAusgewaehlt) {
        nachfolger = knoten.sibling(knoten.row() + 1, 0);
        if (!nachfolger.isValid() && knoten.row() > 0)
            nachfolger = knoten.sibling(knoten.row() - 1, 0);
        if (!nachfolger.isValid())
            nachfolger = knoten.parent();
    }
    const QPersistentModelIndex ziel(nachfolger);
    modell_.entfernen(knoten);
    if (warAusgewaehlt) {
        if (ziel.isValid())
            auswaehlen(ziel);
        else
            selectionModel()->clear();
    }
}

void IniBaum::leeren() {
    modell_.leeren();
}

void IniBaum::allesAusklappen() {
    expandAll();
}

void IniBaum::allesEinklappen() {
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
    QTreeView::keyPressEvent(event);
}

void IniBaum::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    emit tasteLosgelassen(event);
}

} // namespace ravik
