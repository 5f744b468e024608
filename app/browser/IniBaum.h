#pragma once

#include "app/browser/IniBaumModell.h"

#include <QTreeView>

namespace ravik {

// The tree `iniAnzeige`: sections at the top level, their keys below. Read-only; a
// right click opens the context menu without selecting. Every left click (also on
// the empty area) and every key press and release is reported.
class IniBaum : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kSektionsBild = 0;
    static constexpr int kSchluesselBild = 2;

    explicit IniBaum(QWidget* parent = nullptr);

    IniBaumModell& modell() { return modell_; }

    int knotenAnzahl() const { return modell_.knotenAnzahl(); }
    QModelIndex ausgewaehlterKnoten() const;
    void auswaehlen(const QModelIndex& knoten);
    int ebene(const QModelIndex& knoten) const;
    int bildIndex(const QModelIndex& knoten) const; // 0 section, 2 key, -1 none
    QString text(const QModelIndex& knoten) const { return modell_.text(knoten); }
    QModelIndex erstesSektion() const { return modell_.index(0, 0); }

    QModelIndex sektionAnhaengen(const QString& name) { return modell_.sektionAnhaengen(name); }
    QModelIndex schluesselAnhaengen(const QModelIndex& sektion, const QString& name);
    void setText(const QModelIndex& knoten, const QString& text) { modell_.setText(knoten, text); }
    // Removes the node with its children; the selection moves to a neighbour.
    void knotenLoeschen(const QModelIndex& knoten);
    void leeren();

    void allesAusklappen();
    // A selected key hidden by the collapse hands the selection to its section.
    void allesEinklappen();

signals:
    void geklickt();
    void tasteGedrueckt(QKeyEvent* event);
    void tasteLosgelassen(QKeyEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    IniBaumModell modell_;
};

} // namespace ravik
