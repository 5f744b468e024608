// The rotating promotional texts of both side panels.
#include "core/help/Werbetexte.h"
#include "app/shell/TForm1.h"
#include "app/platform/desktop/Desktop.h"

#include <QLabel>
#include <QUrl>

namespace ravik {

void TForm1::Werbetexte() {
    Klickzaehler = 0;
    const QString& text = werbetexte().at(Werbeindex);
    WerbetextAnzeige->setText(text);
    WerbetextAnzeige2->setText(text);
    if (++Werbeindex == werbetexte().size())
        Werbeindex = 0;
}

void TForm1::Panel1Click() {
    desktop_.openUrl(QUrl(herstellerWebseite()));
}

} // namespace ravik
