// The recent files: the drop-down of the open button, and opening a file that was
// chosen before the open command ran (from that list, or dropped onto the window).
#include "app/document/Dokumentsteuerung.h"

#include "app/document/Fensterseite.h"
#include "app/platform/dialogs/DialogService.h"
#include <QToolButton>
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/settings/ZuletztGeoeffnet.h"

#include <QAction>
#include <QMenu>
#include <QScopeGuard>

namespace ravik {

void Dokumentsteuerung::zuletztMenueAufbauen(QToolButton& knopf) {
    menueZuletzt_ = new QMenu(&fenster_);
    menueZuletzt_->setObjectName(QStringLiteral("menueZuletzt"));
    menueZuletzt_->setToolTipsVisible(true);
    knopf.setMenu(menueZuletzt_);
    // A click on the button still opens the dialog; its arrow opens the list.
    knopf.setPopupMode(QToolButton::MenuButtonPopup);
    // Another running copy of the program may have changed the list since.
    connect(menueZuletzt_, &QMenu::aboutToShow, this, [this] { zuletztMenueFuellen(); });
    connect(menueZuletzt_, &QMenu::triggered, this, [this](QAction* eintrag) {
        const QString pfad = eintrag->data().toString();
        if (!pfad.isEmpty())
            seite_.ausfuehren([=] { zuletztOeffnen(pfad); });
    });
}

void Dokumentsteuerung::zuletztMenueFuellen() {
    menueZuletzt_->clear();
    const QStringList dateien = ZuletztGeoeffnet(seite_.einstellungsdatei()).dateien();
    if (dateien.isEmpty()) {
        menueZuletzt_->addAction(QStringLiteral("Keine zuletzt geöffneten Dateien"))
            ->setEnabled(false);
        return;
    }
    const QStringList texte = ZuletztGeoeffnet::menuetexte(dateien);
    for (int i = 0; i < dateien.size(); ++i) {
        QString text = texte[i];
        text.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* eintrag = menueZuletzt_->addAction(text);
        eintrag->setObjectName(QStringLiteral("zuletzt%1").arg(i + 1));
        eintrag->setToolTip(dateien[i]);
        eintrag->setData(dateien[i]);
    }
}

void Dokumentsteuerung::zuletztMerken(const QString& pfad) {
    if (!FileIO::exists(pfad))
        return; // a name typed into the open dialog that was never saved
    try {
        ZuletztGeoeffnet(seite_.einstellungsdatei()).merken(pfad);
    } catch (const RavikError&) {
        // The list is a convenience: a settings file that cannot be written is
        // reported when the program closes and writes its settings.
    }
    zuletztMenueFuellen();
}

void Dokumentsteuerung::zuletztOeffnen(const QString& pfad) {
    if (!FileIO::exists(pfad)) {
        dialoge_.message(MessageKind::Warning,
                         QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.\r\n\r\n"
                                        "Sie wird aus der Liste der zuletzt geöffneten Dateien "
                                        "entfernt.")
                             .arg(pfad),
                         MessageButtons::Ok);
        ZuletztGeoeffnet(seite_.einstellungsdatei()).vergessen(pfad);
        zuletztMenueFuellen();
        return;
    }
    gewaehlteDateiOeffnen(pfad);
}

// The open command asks the unsaved-changes guard as always; where it would show the
// open dialog (at once, or after the user discarded the changes) it takes this file.
void Dokumentsteuerung::gewaehlteDateiOeffnen(const QString& pfad) {
    vorgewaehlt_ = pfad;
    const auto zuruecksetzen = qScopeGuard([this] { vorgewaehlt_.reset(); });
    tbtnDateiladenClick();
}

} // namespace ravik
