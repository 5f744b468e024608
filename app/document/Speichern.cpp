// Saving: the save command (the document writes, with its backup copy), and the
// backup box of both views.
#include "app/document/Dokumentsteuerung.h"

#include "app/browser/BrowserAnsicht.h"
#include "core/document/Dokument.h"
#include "app/editor/EditorAnsicht.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/commands/Aktionen.h"
#include "app/platform/widgets/Warteanzeige.h"

#include <QCheckBox>

namespace ravik {

void Dokumentsteuerung::speicherzielPruefen(const QString& pfad, Ansicht ansicht) {
    Dokument::speicherzielPruefen(pfad, ansicht == Ansicht::Editor);
}

bool Dokumentsteuerung::tbtnDateispeichernClick() {
    const Ansicht ansicht = browserAktiv() ? Ansicht::Browser : Ansicht::Editor;
    const auto gewaehlt = dialoge_.saveFileName({dokument_.name()});
    if (!gewaehlt || !ueberschreibenBestaetigt(*gewaehlt))
        return false;
    {
        Warteanzeige warten(&fenster_, QStringLiteral("Datei wird gespeichert …"));
        dokument_.speichernUnter(*gewaehlt, editor_->sicherheitskopie().isChecked(),
                                 ansicht == Ansicht::Editor ? editor_ : nullptr,
                                 [&](qint64 erledigt) { warten.schritt(erledigt); });
    }
    aktionen_->speichernErlauben();
    titelSetzen(*gewaehlt);
    return true;
}

// Writes either view's document (see Dokument::speichernUnter, which the save command
// uses): kopieDesOriginals names a backup of the very file written, made just now.
void Dokumentsteuerung::DateiSpeichern(const QString& pfad, Ansicht ansicht, const QString& kopieDesOriginals) {
    Warteanzeige warten(&fenster_, QStringLiteral("Datei wird gespeichert …"));
    const auto fortschritt = [&](qint64 erledigt) { warten.schritt(erledigt); };
    if (ansicht == Ansicht::Editor) {
        dokument_.editorSpeichern(pfad, *editor_, fortschritt, kopieDesOriginals);
        return;
    }
    dokument_.anwenden(fortschritt);
    dokument_.speichern(pfad, fortschritt, kopieDesOriginals);
}

void Dokumentsteuerung::CheckBox1Click() {
    if (editor_->sicherheitskopie().isChecked()) {
        editor_->sicherheitskopie().setChecked(true);
        browser_->sicherheitskopie().setChecked(true);
        return;
    }
    dialoge_.message(MessageKind::Warning,
                     QStringLiteral("Änderungen an Konfigurationsdateien können zu unvorhersehbaren\r\n"
                                    "Fehlern und Programmabstürzen führen.\r\n\r\n"
                                    "Wir empfehlen eine Sicherungskopie anzulegen, mit welcher Sie die\r\n"
                                    "vorgenommenen Änderungen rückgängig machen können."),
                     MessageButtons::Ok);
    editor_->sicherheitskopie().setChecked(false);
    browser_->sicherheitskopie().setChecked(false);
}

void Dokumentsteuerung::CheckBox2Click() {
    editor_->sicherheitskopie().setChecked(browser_->sicherheitskopie().isChecked());
}

} // namespace ravik
