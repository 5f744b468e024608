// The settings file (default view and the editor's three colours) and the options
// panel's actions.
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynIniSyn.h"
#include "app/editor/SynMemo.h"
#include "app/settings/Farbfeld.h"
#include "app/shell/TForm1.h"
#include "core/settings/Dateityp.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>

namespace ravik {
namespace {
const QString kDateiname = QStringLiteral("ravik.ini");
const QString kAllgemein = QStringLiteral("General");
const QString kFarben = QStringLiteral("Color");
constexpr int kStandardAnsicht = 0;
constexpr int kStandardSektionen = 255;        // red
constexpr int kStandardSchluessel = 16711680;  // blue
constexpr int kStandardAktiv = 12320767;       // light yellow
} // namespace

// Beside the program file when that directory is writable (a portable copy or the
// build tree), otherwise in the user's configuration directory.
QString TForm1::einstellungsdatei() const {
    const QFileInfo programmverzeichnis(Programmpfad);
    if (programmverzeichnis.isDir() && programmverzeichnis.isWritable())
        return Programmpfad + kDateiname;
    const QString verzeichnis = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(verzeichnis).filePath(kDateiname);
}

void TForm1::KonfigurationLaden() {
    int ansicht = kStandardAnsicht;
    int sektionen = kStandardSektionen;
    int schluessel = kStandardSchluessel;
    int aktiv = kStandardAktiv;
    try {
        TIniFile ini(einstellungsdatei());
        ansicht = ini.ReadNumber(kAllgemein, QStringLiteral("View"), kStandardAnsicht);
        sektionen = ini.ReadNumber(kFarben, QStringLiteral("Sections"), kStandardSektionen);
        schluessel = ini.ReadNumber(kFarben, QStringLiteral("Keys"), kStandardSchluessel);
        aktiv = ini.ReadNumber(kFarben, QStringLiteral("Active"), kStandardAktiv);
    } catch (const RavikError&) {
        // A settings file that cannot be read gives the defaults, like a missing one.
    }
    comboAnsicht->setCurrentIndex(ansicht);
    farbeSektionen->setZahl(sektionen);
    farbeSchluessel->setZahl(schluessel);
    farbeAktuelleZeile->setZahl(aktiv);
}

void TForm1::KonfigurationSpeichern() {
    const QString pfad = einstellungsdatei();
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    TIniFile ini(pfad);
    ini.WriteNumber(kAllgemein, QStringLiteral("View"), comboAnsicht->currentIndex());
    ini.WriteNumber(kFarben, QStringLiteral("Sections"), farbeSektionen->zahl());
    ini.WriteNumber(kFarben, QStringLiteral("Keys"), farbeSchluessel->zahl());
    ini.WriteNumber(kFarben, QStringLiteral("Active"), farbeAktuelleZeile->zahl());
    ini.Flush();
}

void TForm1::FarbenAnwenden() {
    editor_->editor().highlighter()->setSectionColor(farbeSektionen->farbe());
    editor_->editor().highlighter()->setKeyColor(farbeSchluessel->farbe());
    editor_->editor().setActiveLineColor(farbeAktuelleZeile->farbe());
}

void TForm1::Button1Click(QWidget* sender) {
    Farbfeld* feld = sender == Button1   ? farbeSektionen
                     : sender == Button2 ? farbeSchluessel
                                         : farbeAktuelleZeile;
    if (const auto gewaehlt = dialoge_.chooseColor(feld->farbe()))
        feld->setFarbe(*gewaehlt);
    FarbenAnwenden();
}

void TForm1::Button4Click() {
    const QString fehler = DateitypRegistrieren(QStringLiteral(".ini"), QStringLiteral("INI-Datei"),
                                                QStringLiteral("Ravik Velmora INI-Editor"),
                                                optionen_.programmdatei, QStringLiteral("%1"), 0);
    if (!fehler.isEmpty())
        dialoge_.message(MessageKind::Error,
                         QStringLiteral("INI-Dateien konnten nicht mit Ravik verknüpft werden.\r\n\r\n") + fehler,
                         MessageButtons::Ok);
}

} // namespace ravik
