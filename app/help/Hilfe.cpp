// The help panel with the help and terms texts, and the terms on the start panel.
#include "app/help/Hilfeseite.h"

#include "app/platform/widgets/Bausteine.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/text/TextCodec.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ravik {
namespace {
const QString kHilfedatei = QStringLiteral("ravik_h.tpx");
const QString kNutzungsdatei = QStringLiteral("ravik_n.tpx");
const QString kHilfe = QStringLiteral("Hilfe");
const QString kNutzungsbedingungen = QStringLiteral("Nutzungsbedingungen");

QString textDerDatei(const QString& pfad) {
    return TextCodec::decodeFile(FileIO::readAll(pfad)).text;
}

// Our texts mark rich text (Qt's HTML subset) by opening with a document tag.
bool istRichText(const QString& text) {
    const QString anfang = text.left(64).trimmed();
    for (const char* kennung : {"<html", "<!doctype html", "<qt"})
        if (anfang.startsWith(QLatin1String(kennung), Qt::CaseInsensitive))
            return true;
    return false;
}
} // namespace

Hilfeseite::Hilfeseite(const QString& programmpfad, DialogService& dialoge, QWidget* parent)
    : QWidget(parent), programmpfad_(programmpfad), dialoge_(dialoge) {
    setObjectName(QStringLiteral("panelHilfe"));
    HilfeMemo = new QTextBrowser(this);
    HilfeMemo->setObjectName(QStringLiteral("HilfeMemo"));
    HilfeMemo->setOpenExternalLinks(true);
    HilfeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11 + 2); // 11 pixels of character height, as Windows counts it
    HilfeMemo->setFont(arial);
    btnZurueck = Bausteine::knopf(QStringLiteral("btnZurueck"), QStringLiteral("Zurück"), this);
    btnNutzung = Bausteine::knopf(QStringLiteral("btnNutzung"), kNutzungsbedingungen, this);
    auto* v = new QVBoxLayout(this);
    v->addWidget(HilfeMemo, 1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(btnZurueck);
    unten->addStretch();
    unten->addWidget(btnNutzung);
    v->addLayout(unten);
}

// Beside the program file (a portable copy or the build tree), else in the data
// directory of the installation the program belongs to, else in the XDG data
// directories.
QString Hilfeseite::hilfedateiPfad(const QString& name) const {
    const QString nebenProgramm = programmpfad_ + name;
    if (FileIO::exists(nebenProgramm))
        return nebenProgramm;
    const QString installation = programmpfad_ + QStringLiteral("../share/ravik/") + name;
    if (FileIO::exists(installation))
        return QDir::cleanPath(installation);
    const QString xdg = QStandardPaths::locate(QStandardPaths::AppDataLocation, name);
    return xdg.isEmpty() ? nebenProgramm : xdg;
}

// Rich text is shown formatted, anything else as plain text; a file that is no text
// at all cannot be shown.
void Hilfeseite::hilfedateiLesen(const QString& pfad) {
    const QString text = textDerDatei(pfad);
    if (text.contains(QChar(0)))
        throw EOutOfResources();
    if (istRichText(text))
        HilfeMemo->setHtml(text);
    else
        HilfeMemo->setPlainText(text);
}

void Hilfeseite::hilfeAktualisieren() {
    const bool hilfeDa = !HilfeMemo->document()->isEmpty() && btnNutzung->text() != kHilfe;
    if (!hilfeDa) {
        const QString pfad = hilfedateiPfad(kHilfedatei);
        if (FileIO::exists(pfad))
            hilfedateiLesen(pfad);
        else
            dialoge_.message(MessageKind::Plain,
                             QStringLiteral("Die Hilfedatei konnte nicht gefunden werden"),
                             MessageButtons::Ok);
    }
    btnNutzung->setText(kNutzungsbedingungen);
}

void Hilfeseite::btnNutzungClick() {
    QString datei;
    if (btnNutzung->text() == kHilfe) {
        datei = kHilfedatei;
        btnNutzung->setText(kNutzungsbedingungen);
    } else {
        datei = kNutzungsdatei;
        btnNutzung->setText(kHilfe);
    }
    HilfeMemo->clear();
    const QString pfad = hilfedateiPfad(datei);
    if (FileIO::exists(pfad))
        hilfedateiLesen(pfad);
    else
        dialoge_.message(MessageKind::Plain, QStringLiteral("Die Datei konnte nicht gefunden werden"),
                         MessageButtons::Ok);
}

QString Hilfeseite::nutzungsbedingungen() const {
    return textDerDatei(hilfedateiPfad(kNutzungsdatei));
}

} // namespace ravik
