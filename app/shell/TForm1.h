#pragma once

#include "app/browser/Browserbefehle.h"
#include "app/commands/Ansicht.h"
#include "app/document/Dokumentsteuerung.h"
#include "app/document/Fensterseite.h"
#include "app/help/Werberotation.h"
#include "app/shell/Tastenvorschau.h"
#include "core/document/Dokument.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QToolBar;
class QAction;

namespace ravik {

class Aktionen;
class BrowserAnsicht;
class DialogService;
class Desktop;
class EditorAnsicht;
class Hilfeseite;
class Optionsseite;
class Startseite;
class Werberotation;
class IniBaum;
class IniDocument;
class SynMemo;
class WerkzeugKnopf;

// What the program is started with; tests pass temporary directories.
struct Startoptionen {
    QStringList argumente;   // command-line arguments after the program name
    QString programmpfad;    // directory of the program file, ending in "/"
    QString temppfad;        // value of TEMP (may be empty)
    QString programmdatei;   // full path of the program file (file-type association)
    QString zustandspfad;    // where the recovery copy is kept; empty: none is kept
    int sicherungsverzoegerungMs = 3000; // rest after the last change before it is written
};

// The main window: the tool bars, the five panels and the document. The browser and
// the editor view own their widgets (BrowserAnsicht, EditorAnsicht); the document's
// life runs in its controller (Dokumentsteuerung), which the window's document
// commands hand on to. The window's methods are the program's actions, named as the
// user knows them.
class TForm1 : public QWidget, private Fensterseite {
    Q_OBJECT
public:
    TForm1(const Startoptionen& optionen, DialogService& dialoge, Desktop& desktop,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Document state (read by tests) ---
    const QString& dateistatus() const { return dateistatusText(dokument_.status()); }
    const QString& dateiname() const { return dokument_.name(); }
    const Dokument& dokument() const { return dokument_; }
    const QString& anwendungstitel() const { return steuerung_->anwendungstitel(); }
    int klickzaehler() const { return werbung_->klickzaehler(); }
    int werbeindex() const { return werbung_->werbeindex(); }
    const WerteTabelle& werteTabelle() const { return dokument_.tabelle(); }
    const QString& altSektion() const { return befehle_->altSektion(); }
    const QString& altSchluessel() const { return befehle_->altSchluessel(); }
    const QString& altWert() const { return befehle_->altWert(); }
    QString einstellungsdatei() const override;

    // --- Shell: start-up and views (app/shell) ---
    void FormCreate();
    void Warmstart(Ansicht ansicht) { steuerung_->Warmstart(ansicht); }
    void Anzeige(Ansicht ansicht) { steuerung_->zeigen(ansicht); }
    void ButtonsAktivieren(Ansicht ansicht) { steuerung_->ButtonsAktivieren(ansicht); }
    void btnZurueckClick(QPushButton* sender);
    bool browserAktiv() const { return steuerung_->browserAktiv(); }
    bool editorAktiv() const { return steuerung_->editorAktiv(); }

    // --- Document: load, save, new, switch (the controller, app/document) ---
    void DateiLaden(const QString& pfad, Ansicht ansicht) { steuerung_->DateiLaden(pfad, ansicht); }
    void WerteTabelleLoeschen() { steuerung_->WerteTabelleLoeschen(); }
    bool WertVorhanden(const QString& sektion, const QString& schluessel) {
        return steuerung_->WertVorhanden(sektion, schluessel);
    }
    void tbtnDateiladenClick() { steuerung_->tbtnDateiladenClick(); }
    bool tbtnDateispeichernClick() { return steuerung_->tbtnDateispeichernClick(); }
    void tbtnNeuClick() { steuerung_->tbtnNeuClick(); }
    void tbtnFlipClick() { steuerung_->tbtnFlipClick(); }
    Dokumentsteuerung& steuerung() const { return *steuerung_; }
    Wiederherstellungswaechter* wiederherstellung() const { return steuerung_->wiederherstellung(); }

    // --- Browser view (app/browser) ---
    void iniAnzeigeClick() { befehle_->iniAnzeigeClick(); }
    void btnOKClick() { befehle_->btnOKClick(); }
    void btnStopClick() { befehle_->btnStopClick(); }
    void tbtnNeueSektionClick() { befehle_->tbtnNeueSektionClick(); }
    void tbtnNeuerWertClick() { befehle_->tbtnNeuerWertClick(); }
    void tbtnDeleteClick() { befehle_->tbtnDeleteClick(); }
    void tbtnAnsichtClick() { befehle_->tbtnAnsichtClick(); }
    void sucheBaumChange(const QString& text) { befehle_->sucheBaumChange(text); }

    // --- Help and promotion (app/help) ---
    void tbtnHilfeClick();
    void Werbetexte() { werbung_->Werbetexte(); }
    void Panel1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widget construction (app/shell/Oberflaeche.cpp)
    void oberflaecheAufbauen();
    QToolBar* werkzeugleisteAufbauen();
    QToolBar* strukturleisteAufbauen();
    void menuesAufbauen();
    void signaleVerbinden();

    // Runs a user action; an error ends it and is shown in the error box.
    void ausfuehren(const std::function<void()>& aktion) override;
    bool aktionLaeuft() const override { return laufendeAktionen_ > 0; }
    void fehlerAnzeigen(const QString& meldung);
    // What the document's controller asks of the window.
    void panelsZeigen(Ansicht ansicht) override;
    void eintragAnzeigen() override { iniAnzeigeClick(); }
    void neueSektion() override { tbtnNeueSektionClick(); }
    void werbetexteZeigen() override { Werbetexte(); }

    // Keyboard (app/shell/Tastatur.cpp). True: the key was the window's own and
    // goes no further.
    bool FormKeyDown(QKeyEvent* event);
    void iniAnzeigeKeyDown(QKeyEvent* event);
    void iniAnzeigeKeyUp(QKeyEvent* event);
    void SynMemo1KeyPress(QChar zeichen);
    void PopupClick(QAction* eintrag);
    void FormClose(QCloseEvent* event);

    void geaendert() { steuerung_->geaendert(); } // status and save command

    DialogService& dialoge_;
    Desktop& desktop_;
    Startoptionen optionen_;

    // Unit-level state
    QString Programmpfad;
    QString Temppfad;
    std::unique_ptr<Werberotation> werbung_;
    Tastenvorschau tastenvorschau_;
    int laufendeAktionen_ = 0;

    // The open document: its name (Dateiname), status (Dateistatus), text and table;
    // its controller runs its life and holds the view shown.
    Dokument dokument_;
    Dokumentsteuerung* steuerung_ = nullptr;
    std::unique_ptr<Browserbefehle> befehle_;

    // The commands: one action each, shown by the tool buttons, run by keys and menus.
    Aktionen* aktionen_ = nullptr;

    // Widgets (named after their objectName)
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    WerkzeugKnopf* tbtnNeu = nullptr;
    WerkzeugKnopf* tbtnDateiladen = nullptr;
    WerkzeugKnopf* tbtnDateispeichern = nullptr;
    WerkzeugKnopf* tbtnFlip = nullptr;
    WerkzeugKnopf* tbtnOptionen = nullptr;
    WerkzeugKnopf* tbtnHilfe = nullptr;
    WerkzeugKnopf* tbtnNeueSektion = nullptr;
    WerkzeugKnopf* tbtnNeuerWert = nullptr;
    WerkzeugKnopf* tbtnDelete = nullptr;
    WerkzeugKnopf* tbtnAnsicht = nullptr;

    Startseite* panelWillkommen = nullptr;
    Optionsseite* panelSetup = nullptr;
    Hilfeseite* panelHilfe = nullptr;

    // The two views of the document; they own their widgets.
    BrowserAnsicht* browser_ = nullptr;
    EditorAnsicht* editor_ = nullptr;


    QMenu* PopupMemo = nullptr;
    QMenu* PopupBaum = nullptr;
    QMenu* PopupEdit = nullptr;
};

} // namespace ravik
