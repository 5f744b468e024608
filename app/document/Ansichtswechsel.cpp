// Carrying the document from one view to the other. The document's text is the
// medium: the browser view's edits are applied to it and the editor shows it; the
// editor's text becomes it again on the way back. A switch that cannot be made
// leaves the source view and the document as they were.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/shell/Warteanzeige.h"
#include "app/shell/WerkzeugKnopf.h"
#include "core/platform/ini/IniDocument.h"

namespace ravik {

void TForm1::tbtnFlipClick() {
    if (editorAktiv()) {
        // The text is taken before anything changes: a text its encoding cannot hold
        // stays in the editor, with the reason shown.
        std::unique_ptr<IniDocument> text;
        {
            Warteanzeige warten(this, QStringLiteral("Datei wird geladen …"));
            editor_->editor().trimEditedLines();
            text = dokument_.textAusEditor(editor_->editor().utf8Text());
        }
        Warmstart(Ansicht::Browser);
        Anzeige(Ansicht::Browser);
        if (text->lineCount() > 0)
            browserFuellen(std::move(text), false);
        else
            dokument_.textUebernehmen(std::move(text));
        ButtonsAktivieren(Ansicht::Browser);
        if (tbtnAnsicht->bildIndex() == Bilder::kBaumEingeklappt)
            browser_->baum().allesEinklappen();
        else
            browser_->baum().allesAusklappen();
        return;
    }

    {
        Warteanzeige warten(this, QStringLiteral("Datei wird geladen …"));
        dokument_.anwenden([&](qint64 zeilen) { warten.schritt(zeilen); });
    }
    Warmstart(Ansicht::Editor);
    Anzeige(Ansicht::Editor);
    editorAusDokument();
    ButtonsAktivieren(Ansicht::Editor);
}

} // namespace ravik
