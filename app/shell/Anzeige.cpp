// The five views and the structure buttons.
#include "app/browser/IniBaum.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QPushButton>
#include <QToolBar>

namespace ravik {
namespace {
const QString kZurueck = QStringLiteral("Zurück");
const QString kZurueckZumProgramm = QStringLiteral("Zurück zum Programm");
} // namespace

// The current view is read from the panels; a panel counts as shown when it is not
// hidden, also while the window itself is not on screen.
bool TForm1::browserAktiv() const {
    return !panelBrowser->isHidden();
}

bool TForm1::editorAktiv() const {
    return !panelEditor->isHidden();
}

void TForm1::Anzeige(const QString& name) {
    struct Zeile {
        const char* name;
        bool leisten, willkommen, hilfe, setup, editor, browser;
    };
    static constexpr Zeile kTabelle[] = {
        {"browser", true, false, false, false, false, true},
        {"setup", false, false, false, true, false, false},
        {"hilfe", false, false, true, false, false, false},
        {"editor", true, false, false, false, true, false},
        {"start", false, true, false, false, false, false},
    };
    const Zeile* zeile = nullptr;
    for (const Zeile& z : kTabelle)
        if (name == QLatin1String(z.name)) {
            zeile = &z;
            break;
        }
    if (!zeile)
        return;

    if (zeile->leisten) {
        ToolBar2->show();
        ToolBar1->show();
    } else {
        ToolBar1->hide();
        ToolBar2->hide();
    }
    panelWillkommen->setVisible(zeile->willkommen);
    panelHilfe->setVisible(zeile->hilfe);
    panelSetup->setVisible(zeile->setup);
    panelEditor->setVisible(zeile->editor);
    panelBrowser->setVisible(zeile->browser);

    if (name == QLatin1String("browser")) {
        btnZurueck->setText(kZurueck);
        btnZurueck2->setText(kZurueck);
        tbtnFlip->setBildIndex(11);
    } else if (name == QLatin1String("editor")) {
        btnZurueck->setText(kZurueckZumProgramm);
        btnZurueck2->setText(kZurueckZumProgramm);
        tbtnFlip->setBildIndex(10);
    } else if (name == QLatin1String("hilfe")) {
        hilfeAktualisieren();
    } else if (name == QLatin1String("start")) {
        nutzungsbedingungenLaden();
    }
}

void TForm1::ButtonsAktivieren(const QString& name) {
    bool neuerWert = true, loeschen = false, ansicht = false, detail = true;
    if (name == QLatin1String("browser")) {
        const bool gefuellt = iniAnzeige->knotenAnzahl() > 0;
        neuerWert = loeschen = ansicht = detail = gefuellt;
    }
    tbtnNeueSektion->setEnabled(true);
    tbtnNeuerWert->setEnabled(neuerWert);
    tbtnDelete->setEnabled(loeschen);
    tbtnAnsicht->setEnabled(ansicht);
    btnOK->setEnabled(detail);
    btnStop->setEnabled(detail);
}

void TForm1::btnZurueckClick(QPushButton* sender) {
    if (sender->text() == kZurueck)
        Anzeige(QStringLiteral("browser"));
    else
        Anzeige(QStringLiteral("editor"));
}

} // namespace ravik
