#pragma once

#include "core/platform/text/TextArena.h"

#include "core/document/WerteTabelle.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <vector>

namespace ravik {

// The tree's names: top-level section nodes, each with its key nodes. Values are not
// held here. Built for files with hundreds of thousands of keys: a key node is just
// its name inside its section's node.
class IniBaumModell : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit IniBaumModell(QObject* parent = nullptr);
    ~IniBaumModell() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

    int knotenAnzahl() const { return knoten_; }
    int sektionsAnzahl() const { return static_cast<int>(sektionen_.size()); }
    bool istSektion(const QModelIndex& index) const;
    QString text(const QModelIndex& index) const;

    // Plain reads for the filter (IniBaumFilter), by row.
    const QString& sektionsName(int sektion) const { return sektionen_[sektion]->name; }
    int schluesselAnzahl(int sektion) const { return int(sektionen_[sektion]->schluessel.size()); }
    QByteArrayView schluesselUtf8(int sektion, int schluessel) const {
        return namen_.view(sektionen_[sektion]->schluessel[schluessel]);
    }
    // The internal id that the section's key indexes carry, and back: the section's
    // row for such an id (-1 once the section is gone).
    quintptr schluesselId(int sektion) const { return idFuer(sektionen_[sektion]->nummer); }
    int sektionsZeile(quintptr schluesselId) const;

    void leeren();
    // Loading a whole document: the view learns of it once, at the end.
    void ladenBeginnen();
    void sektionLaden(const QString& name, qsizetype schluesselAnzahl = 0);
    void schluesselLaden(const QString& name); // a key of the last loaded section
    void schluesselLaden(QByteArrayView utf8);
    void ladenBeenden();
    // The whole tree from a table loaded from the text: its rows in the text's order.
    void ausTabelleLaden(const WerteTabelle& tabelle);
    QModelIndex sektionAnhaengen(const QString& name);
    QModelIndex schluesselAnhaengen(const QModelIndex& sektion, const QString& name);
    void setText(const QModelIndex& index, const QString& text);
    void entfernen(const QModelIndex& index);

private:
    struct Knoten {
        QString name;
        std::vector<TextArena::Text> schluessel;
        int zeile = 0;      // its row among the sections
        quint64 nummer = 0; // permanent, never reused
    };

    // Key indexes carry their section's number, spread over the 64-bit range so that
    // hashes of neighbouring sections' keys do not collide in the view's tables.
    static quintptr idFuer(quint64 nummer);
    Knoten* sektionVon(const QModelIndex& keyIndex) const;
    Knoten* neuerKnoten(const QString& name);
    void zeilenNeuNummerieren(int ab);

    std::vector<std::unique_ptr<Knoten>> sektionen_;
    std::vector<Knoten*> nachNummer_; // number → node (nullptr once removed)
    int knoten_ = 0;
    TextArena namen_; // the keys' names
    QIcon sektionsBild_;
    QIcon schluesselBild_;
};

} // namespace ravik
