#pragma once

#include "app/commands/Ansicht.h"
#include "app/commands/Befehlsumfeld.h"
#include "app/document/Ansichtsstand.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QMenu;
class QToolButton;
class QWidget;

namespace ravik {

class Aktionen;
class BrowserAnsicht;
class DialogService;
class Dokument;
class EditorAnsicht;
class Fensterseite;
class IniDocument;
class Wiederherstellungswaechter;
struct Wiederherstellungskopie;

// Runs the open document's life in the window: open, new, save, the switch between
// the two views, the unsaved-changes and changed-on-disk questions, the recovery copy
// and the recent files. It holds which view is shown and writes what follows from it
// (captions, the switch and expand images, the commands' enabled states); nothing is
// read back from a widget. The document itself (name, status, text, table) is the
// core's Dokument.
class Dokumentsteuerung : public QObject, public Befehlsumfeld {
    Q_OBJECT
public:
    struct Wiederherstellungsort {
        QString zustandspfad;   // where the recovery copy is kept; empty: none is kept
        int verzoegerungMs = 3000;
    };

    Dokumentsteuerung(Dokument& dokument, BrowserAnsicht& browser, EditorAnsicht& editor,
                      Aktionen& aktionen, DialogService& dialoge, Fensterseite& seite,
                      QWidget& fenster, const Wiederherstellungsort& ort);
    ~Dokumentsteuerung() override;

    // --- The view shown ---
    void zeigen(Ansicht ansicht);
    std::optional<Ansicht> aktuelleAnsicht() const { return ansichtsstand_.aktuell(); }
    bool browserAktiv() const override { return ansichtsstand_.browserAktiv(); }
    bool editorAktiv() const { return ansichtsstand_.editorAktiv(); }
    void ButtonsAktivieren(Ansicht ansicht) override;
    void Warmstart(Ansicht ansicht);
    // The expand command's state: the tree was expanded or collapsed as a whole.
    bool baumAusgeklappt() const override { return baumAusgeklappt_; }
    void setBaumAusgeklappt(bool ausgeklappt) override;

    // --- The document's life ---
    // The file named on the command line, in the view the options name.
    void starten(const QString& pfad, Ansicht ansicht);
    void DateiLaden(const QString& pfad, Ansicht ansicht);
    void DateiSpeichern(const QString& pfad, Ansicht ansicht,
                        const QString& kopieDesOriginals = QString());
    void speicherzielPruefen(const QString& pfad, Ansicht ansicht);
    void WerteTabelleLoeschen();
    bool WertVorhanden(const QString& sektion, const QString& schluessel) override;
    void titelVorhandenMelden() override;
    void tbtnDateiladenClick();
    // The open command with the file already chosen (from the recent files, or
    // dropped onto the window).
    void gewaehlteDateiOeffnen(const QString& pfad);
    // A file of the recent-files menu; one that is gone leaves the list.
    void zuletztOeffnen(const QString& pfad);
    // Returns true when the document was written.
    bool tbtnDateispeichernClick();
    void tbtnNeuClick();
    void tbtnFlipClick();
    void CheckBox1Click();
    void CheckBox2Click();
    // A command changed the document: status and save command.
    void geaendert() override;
    // Asked when the window closes: false keeps it open (the user's save failed).
    bool schliessenErlaubt();
    // The program ends normally: unsaved changes were given up.
    void beendet();

    // --- Captions ---
    const QString& anwendungstitel() const { return anwendungstitel_; }
    void fenstertitelSetzen(const QString& text);
    void titelSetzen(const QString& pfad);
    void neueDateiTitel();

    // --- The file changed on disk: looked at when the window is active and idle ---
    void dateiaenderungVormerken();
    void nachAktion();

    // --- Crash recovery ---
    void WiederherstellungAnbieten();
    Wiederherstellungswaechter* wiederherstellung() const { return wiederherstellung_.get(); }

    // --- Recent files, the drop-down of the open button ---
    void zuletztMenueAufbauen(QToolButton& knopf);
    void zuletztMenueFuellen();

private:
    enum class Folgebefehl { Neu, Oeffnen };
    void Sicherheitsabfrage(Folgebefehl befehl);
    void browserFuellen(std::unique_ptr<IniDocument> text, bool ausDatei);
    void editorLaden(const QString& pfad);
    void editorAusDokument();
    std::optional<QString> dateiWaehlen();
    void geladenAnzeigen();
    bool ueberschreibenBestaetigt(const QString& pfad);
    void dateiaenderungNachfragen();
    void dateiaenderungPruefen();
    void dateiNeuLaden();
    void aenderungsmarkeZeigen();
    void zuletztMerken(const QString& pfad);
    void wiederherstellungEinrichten(const Wiederherstellungsort& ort);
    std::optional<Wiederherstellungskopie> wiederherstellungsStand();
    void wiederherstellen(const Wiederherstellungskopie& kopie);

    Dokument& dokument_;
    BrowserAnsicht* browser_;
    EditorAnsicht* editor_;
    Aktionen* aktionen_;
    DialogService& dialoge_;
    Fensterseite& seite_;
    QWidget& fenster_;

    Ansichtsstand ansichtsstand_;
    bool baumAusgeklappt_ = false;
    QString fenstertitel_;
    QString anwendungstitel_;
    QString openDialogVorgabe_;
    std::optional<QString> vorgewaehlt_; // a file chosen before the open command ran
    bool pruefungAusstehend_ = false;
    QMenu* menueZuletzt_ = nullptr;
    // Keeps the recovery copy of the unsaved document; gone before the document.
    std::unique_ptr<Wiederherstellungswaechter> wiederherstellung_;
};

} // namespace ravik
