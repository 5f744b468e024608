#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace ravik {

class DialogService;

// The help panel: the help text, or the terms of use, read from the program's text
// files, and the back button whose caption says where it leads.
class Hilfeseite : public QWidget {
    Q_OBJECT
public:
    // programmpfad: the program's directory, ending in "/".
    Hilfeseite(const QString& programmpfad, DialogService& dialoge, QWidget* parent);

    QPushButton& zurueck() const { return *btnZurueck; }
    QPushButton& nutzung() const { return *btnNutzung; }

    // The panel is shown: the help text, unless it is shown already.
    void hilfeAktualisieren();
    // Changes between the help and the terms of use.
    void btnNutzungClick();
    // The terms of use as text (the start panel shows them too).
    QString nutzungsbedingungen() const;

private:
    QString hilfedateiPfad(const QString& name) const;
    void hilfedateiLesen(const QString& pfad);

    QString programmpfad_;
    DialogService& dialoge_;
    QTextBrowser* HilfeMemo = nullptr;
    QPushButton* btnZurueck = nullptr;
    QPushButton* btnNutzung = nullptr;
};

} // namespace ravik
