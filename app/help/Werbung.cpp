// The rotating promotional texts of both side panels.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/platform/widgets/Werbebereich.h"
#include "core/help/Werbetexte.h"
#include "app/shell/TForm1.h"
#include "app/platform/desktop/Desktop.h"

#include <QLabel>
#include <QUrl>

namespace ravik {

void TForm1::Werbetexte() {
    Klickzaehler = 0;
    const QString& text = werbetexte().at(Werbeindex);
    browser_->werbung().setText(text);
    editor_->werbung().setText(text);
    if (++Werbeindex == werbetexte().size())
        Werbeindex = 0;
}

void TForm1::Panel1Click() {
    desktop_.openUrl(QUrl(herstellerWebseite()));
}

} // namespace ravik
