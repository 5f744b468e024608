// Carrying the document from one view to the other. The document's text is the
// medium: the browser view's edits are applied to it and the editor shows it; the
// editor's text becomes it again on the way back. A switch that cannot be made
// leaves the source view and the document as they were.
#include "app/document/Dokumentsteuerung.h"

#include "app/browser/BrowserAnsicht.h"
#include "core/document/Dokument.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/Warteanzeige.h"
#include "core/platform/ini/IniDocument.h"

namespace ravik {

void Dokumentsteuerung::tbtnFlipClick() {
    if (editorAktiv()) {
        // The text is taken before anything changes: a text its encoding cannot hold
        // stays in the editor, with the reason shown.
        std::unique_ptr<IniDocument> text;
        {
            Warteanzeige warten(&fenster_, QStringLiteral("Datei wird geladen …"));
            editor_->editor().trimEditedLines();
            text = dokument_.textAusEditor(editor_->editor().utf8Text());
        }
        Warmstart(Ansicht::Browser);
        zeigen(Ansicht::Browser);
        try {
            if (text->lineCount() > 0)
                browserFuellen(std::move(text), false);
            else
                dokument_.textUebernehmen(std::move(text));
        } catch (...) {
            // The text is the document's by now: the editor gets it back.
            zeigen(Ansicht::Editor);
            editorAusDokument();
            dokument_.textFreigeben();
            ButtonsAktivieren(Ansicht::Editor);
            throw;
        }
        ButtonsAktivieren(Ansicht::Browser);
        if (baumAusgeklappt_)
            browser_->baum().allesAusklappen();
        else
            browser_->baum().allesEinklappen();
        return;
    }

    {
        Warteanzeige warten(&fenster_, QStringLiteral("Datei wird geladen …"));
        dokument_.anwenden([&](qint64 zeilen) { warten.schritt(zeilen); });
    }
    Warmstart(Ansicht::Editor);
    zeigen(Ansicht::Editor);
    // The text holds every edit now; the table is not needed while it is in the
    // editor, and a large document is not held three times over. (The tree's names
    // stay: F2 expands and collapses the tree also in the editor view.)
    dokument_.tabelle().leeren();
    try {
        editorAusDokument();
    } catch (...) {
        // The text is still whole: back to the browser view with it.
        zeigen(Ansicht::Browser);
        browserFuellen(dokument_.uebernehmeText(), false);
        ButtonsAktivieren(Ansicht::Browser);
        throw;
    }
    dokument_.textFreigeben();
    ButtonsAktivieren(Ansicht::Editor);
}

} // namespace ravik
