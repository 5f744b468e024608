#pragma once

#include "app/document/Ansichtsstand.h"
#include "app/shell/Ansicht.h"
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
class Farbfeld;
class IniBaum;
class IniDocument;
class SynMemo;
class WerkzeugKnopf;
class Wiederherstellungswaechter;
struct Wiederherstellungskopie;

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
// the editor view own their widgets (BrowserAnsicht, EditorAnsicht); the window's
// methods are the program's actions, named as the user knows them, and read as its
// table of contents: each subsystem's methods live in that subsystem's folder
// (shell, document, browser, editor, settings, help) and ask the views and the
// document to do the work.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(const Startoptionen& optionen, DialogService& dialoge, Desktop& desktop,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Document state (read by tests) ---
    const QString& dateistatus() const { return dateistatusText(dokument_.status()); }
    const QString& dateiname() const { return dokument_.name(); }
    const Dokument& dokument() const { return dokument_; }
    const QString& anwendungstitel() const { return Anwendungstitel; }
    int klickzaehler() const { return Klickzaehler; }
    int werbeindex() const { return Werbeindex; }
    const WerteTabelle& werteTabelle() const { return dokument_.tabelle(); }
    const QString& altSektion() const { return AltSektion; }
    const QString& altSchluessel() const { return AltSchluessel; }
    const QString& altWert() const { return AltWert; }
    QString einstellungsdatei() const;

    // --- Shell: start-up and views (app/shell) ---
    void FormCreate();
    void Warmstart(Ansicht ansicht);
    void Anzeige(Ansicht ansicht);
    void ButtonsAktivieren(Ansicht ansicht);
    void btnZurueckClick(QPushButton* sender);
    bool browserAktiv() const;
    bool editorAktiv() const;

    // --- Document: load, save, new, switch, close (app/document) ---
    void DateiLaden(const QString& pfad, Ansicht ansicht);
    void DateiSpeichern(const QString& pfad, Ansicht ansicht,
                        const QString& kopieDesOriginals = QString());
    void speicherzielPruefen(const QString& pfad, Ansicht ansicht);
    void WerteTabelleLoeschen();
    bool WertVorhanden(const QString& sektion, const QString& schluessel);
    void tbtnDateiladenClick();
    // The open command with the file already chosen (from the recent files, or
    // dropped onto the window): the unsaved-changes guard as for the open button,
    // then this file instead of the open dialog.
    void gewaehlteDateiOeffnen(const QString& pfad);
    // A file of the recent-files menu; one that is gone leaves the list.
    void zuletztOeffnen(const QString& pfad);
    // Returns true when the document was written.
    bool tbtnDateispeichernClick();
    void tbtnNeuClick();
    void Sicherheitsabfrage(QWidget* knopf);
    void tbtnFlipClick();
    void CheckBox1Click();
    void CheckBox2Click();

    // --- Review of changes (app/changes) ---
    void tbtnAenderungenClick();
    // The dialog "Änderungen prüfen"; before a save, true when the user chose to save.
    bool aenderungenZeigen(bool vorDemSpeichern);
    bool vorDemSpeichernPruefen();

    // --- Crash recovery (app/document/Wiederherstellen.cpp) ---
    void WiederherstellungAnbieten();
    Wiederherstellungswaechter* wiederherstellung() const { return wiederherstellung_.get(); }

    // --- Browser view (app/browser) ---
    void iniAnzeigeClick();
    void btnOKClick();
    void btnStopClick();
    void tbtnNeueSektionClick();
    void tbtnNeuerWertClick();
    void tbtnDeleteClick();
    void tbtnAnsichtClick();
    void sucheBaumChange(const QString& text);

    // --- Settings (app/settings) ---
    void KonfigurationLaden();
    void KonfigurationSpeichern();
    void FarbenAnwenden();
    void Button1Click(QWidget* sender);
    void Button4Click();

    // --- Help and promotion (app/help) ---
    void tbtnHilfeClick();
    void btnNutzungClick();
    void Werbetexte();
    void Panel1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widget construction (app/shell/Oberflaeche.cpp)
    void oberflaecheAufbauen();
    QToolBar* werkzeugleisteAufbauen();
    QToolBar* strukturleisteAufbauen();
    QWidget* startseiteAufbauen();
    QWidget* optionsseiteAufbauen();
    QWidget* hilfeseiteAufbauen();
    void menuesAufbauen();
    void signaleVerbinden();

    // Runs a user action; an error ends it and is shown in the error box.
    void ausfuehren(const std::function<void()>& aktion);
    void fehlerAnzeigen(const QString& meldung);
    // The document's file changed by another program (app/document/Dateiaenderung.cpp):
    // looked at when the window is active and idle, and before saving over it.
    void dateiaenderungVormerken();
    void dateiaenderungNachfragen();
    void dateiaenderungPruefen();
    void dateiNeuLaden();
    bool ueberschreibenBestaetigt(const QString& pfad);

    // Keyboard (app/shell/Tastatur.cpp). True: the key was the window's own and
    // goes no further.
    bool FormKeyDown(QKeyEvent* event);
    void iniAnzeigeKeyDown(QKeyEvent* event);
    void iniAnzeigeKeyUp(QKeyEvent* event);
    void SynMemo1KeyPress(QChar zeichen);
    void PopupClick(QAction* eintrag);
    void FormClose(QCloseEvent* event);

    // Helpers shared by several actions
    // A file became the document's (opened or saved): the titles name it, and it
    // joins the recent files.
    void titelSetzen(const QString& pfad);
    // The caption, with Qt's modified mark while the document is not saved.
    void fenstertitelSetzen(const QString& text);
    void aenderungsmarkeZeigen();
    void zuletztMenueAufbauen();
    void zuletztMenueFuellen();
    void zuletztMerken(const QString& pfad);
    std::optional<QString> dateiWaehlen();
    void neueDateiTitel();
    bool namenPruefen(const QString& sektion, const QString& schluessel);
    // A typed value that would break the file's line (a line break, a NUL) is
    // refused with the reason; true when it is fine.
    bool wertPruefen(const QString& wert);
    // The value of a new key, asked again while it is refused; empty when cancelled.
    QString neuenWertErfragen();
    void titelVorhandenMelden();
    void geaendert(); // a command changed the document: status and save button
    // Loading: the browser view from a text, the editor view from a file or the text.
    void browserFuellen(std::unique_ptr<IniDocument> text, bool ausDatei);
    void editorLaden(const QString& pfad);
    void editorAusDokument();
    QString hilfedateiPfad(const QString& name) const;
    void hilfedateiLesen(const QString& pfad);
    void hilfeAktualisieren();
    void nutzungsbedingungenLaden();
    void wiederherstellungEinrichten();
    bool dokumentImEditor() const;
    std::optional<Wiederherstellungskopie> wiederherstellungsStand();
    void wiederherstellen(const Wiederherstellungskopie& kopie);

    DialogService& dialoge_;
    Desktop& desktop_;
    Startoptionen optionen_;

    // Unit-level state
    QString Programmpfad;
    QString Temppfad;
    // The settings file is not used (a link, another user's): told once at the start,
    // and not written at close.
    bool einstellungenGesperrt_ = false;
    QString AltSektion, AltSchluessel, AltWert;
    QString Anwendungstitel;
    int Klickzaehler = 0;
    int Werbeindex = 0;
    QString openDialogVorgabe_;
    std::optional<QString> vorgewaehlt_; // a file chosen before the open command ran
    QString fenstertitel_;
    Tastenvorschau tastenvorschau_;
    int laufendeAktionen_ = 0;
    bool pruefungAusstehend_ = false;
    Ansichtsstand ansichtsstand_; // the view shown, written by Anzeige()

    // The open document: its name (Dateiname), status (Dateistatus), text and table.
    Dokument dokument_;
    // Keeps the recovery copy of the unsaved document; gone before the document.
    std::unique_ptr<Wiederherstellungswaechter> wiederherstellung_;

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
    WerkzeugKnopf* tbtnAenderungen = nullptr;
    QCheckBox* chkAenderungenVorDemSpeichern = nullptr;

    QWidget* panelWillkommen = nullptr;
    QWidget* panelSetup = nullptr;
    QWidget* panelHilfe = nullptr;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The two views of the document; they own their widgets.
    BrowserAnsicht* browser_ = nullptr;
    EditorAnsicht* editor_ = nullptr;

    QPushButton* Button4 = nullptr;
    QComboBox* comboAnsicht = nullptr;
    Farbfeld* farbeSektionen = nullptr;
    Farbfeld* farbeSchluessel = nullptr;
    Farbfeld* farbeAktuelleZeile = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* btnZurueck2 = nullptr;

    QTextBrowser* HilfeMemo = nullptr;
    QPushButton* btnZurueck = nullptr;
    QPushButton* btnNutzung = nullptr;

    QMenu* menueZuletzt = nullptr;
    QMenu* PopupMemo = nullptr;
    QMenu* PopupBaum = nullptr;
    QMenu* PopupEdit = nullptr;
};

} // namespace ravik
