// The window caption and its modified mark.
#include "app/shell/TForm1.h"

namespace ravik {

void TForm1::fenstertitelSetzen(const QString& text) {
    fenstertitel_ = text;
    aenderungsmarkeZeigen();
}

// Qt shows its mark ("*" after the caption) where the caption holds "[*]" while the
// window counts as modified. A saved document's caption is the text alone; a "[*]" in
// a file's name is written doubled, which Qt shows as it is.
void TForm1::aenderungsmarkeZeigen() {
    const bool ungespeichert = !dokument_.gespeichert();
    QString titel = fenstertitel_;
    titel.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    if (ungespeichert)
        titel += QLatin1String("[*]");
    if (ungespeichert == isWindowModified() && titel == windowTitle())
        return;
    if (ungespeichert) {
        setWindowTitle(titel);
        setWindowModified(true);
    } else {
        setWindowModified(false);
        setWindowTitle(titel);
    }
}

} // namespace ravik
