#pragma once

#include "core/document/Bearbeitung.h"

#include <QWidget>

class QPushButton;

namespace ravik {

class DetailFeld;

// The detail panel: the fields section, key and value with OK and Abbruch. It shows
// one entry at a time: cleared, a section (only its name editable) or a key (name and
// value editable).
class Detailpanel : public QWidget {
    Q_OBJECT
public:
    explicit Detailpanel(QWidget* parent);

    void leeren(); // the three fields empty and disabled
    void sektionZeigen(const QString& sektion);
    void schluesselZeigen(const QString& sektion, const QString& schluessel, const QString& wert);
    // A switched-off key: its value shown read-only; typing there asks for it to be
    // switched on (wertBearbeitungVersucht).
    void ausgeschaltetZeigen(const QString& sektion, const QString& schluessel, const QString& wert);
    DetailFeld& wertfeld() { return *wert_; }
    Bearbeitung::Detailtexte texte() const;

    void knoepfeFreigeben(bool frei);
    void sektionsfeldFokussieren();
    void schluesselfeldFokussieren();

signals:
    void ok();
    void abbruch();
    void enterGedrueckt(); // in a field: the window moves the focus on
    void wertBearbeitungVersucht();
    void kontextmenu(const QPoint& global);

private:
    DetailFeld* sektion_;
    DetailFeld* schluessel_;
    DetailFeld* wert_;
    QPushButton* ok_;
    QPushButton* abbruch_;
};

} // namespace ravik
