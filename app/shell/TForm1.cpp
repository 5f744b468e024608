#include "app/editor/EditorAnsicht.h"
#include "app/shell/TForm1.h"
#include "app/commands/Aktionen.h"

#include "app/document/Systemdateifragen.h"
#include "app/document/Wiederherstellungswaechter.h"

#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/document/Systemdatei.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/help/Werbetexte.h"
#include "core/settings/Einstellungen.h"
#include "core/settings/Baumanzeige.h"
#include "core/settings/Fensterlage.h"
#include "app/browser/BrowserAnsicht.h"
#include "app/platform/widgets/Seitenteiler.h"
#include <QGuiApplication>
#include <QScreen>
#include "app/help/Hilfeseite.h"
#include "app/help/Werberotation.h"
#include "app/platform/desktop/Desktop.h"
#include "app/settings/Optionsseite.h"
#include <QUrl>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>


namespace ravik {

TForm1::TForm1(const Startoptionen& optionen, DialogService& dialoge, Desktop& desktop,
               QWidget* parent)
    : QWidget(parent), dialoge_(dialoge), desktop_(desktop), optionen_(optionen) {
    Programmpfad = optionen_.programmpfad;
    if (!Programmpfad.endsWith(QLatin1Char('/')))
        Programmpfad += QLatin1Char('/');
    Temppfad = optionen_.temppfad;
    oberflaecheAufbauen();
    signaleVerbinden();
    qApp->installEventFilter(this); // key preview: the window sees keys first
    systemdateiFragenAnbinden(dialoge_);
    ausfuehren([this] { FormCreate(); });
    ausfuehren([this] { steuerung_->WiederherstellungAnbieten(); });
}

TForm1::~TForm1() {
    systemdateiFragenLoesen();
    qApp->removeEventFilter(this);
}

void TForm1::ausfuehren(const std::function<void()>& aktion) {
    ++laufendeAktionen_;
    try {
        aktion();
    } catch (const Abgebrochen&) {
        // The administrator prompt was cancelled: nothing to report.
    } catch (const std::exception& e) {
        fehlerAnzeigen(messageOf(e));
    }
    --laufendeAktionen_;
    // An action that ended early must not leave the wait cursor behind.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (laufendeAktionen_ == 0)
        steuerung_->nachAktion();
}

void TForm1::fehlerAnzeigen(const QString& meldung) {
    dialoge_.message(MessageKind::AppError, errorBoxText(meldung), MessageButtons::Ok);
}

void TForm1::FormCreate() {
    panelSetup->KonfigurationLaden();
    steuerung_->zuletztMenueFuellen();
    panelSetup->FarbenAnwenden();
    dokument_.setName(QString());
    Werbetexte();
    // A start-up step that fails shows its error; the window then opens on an empty,
    // unchanged document, which closing does not ask about.
    if (optionen_.argumente.isEmpty())
        ausfuehren([this] { Anzeige(Ansicht::Start); });
    else
        steuerung_->starten(QFileInfo(optionen_.argumente.constFirst()).absoluteFilePath(),
                            panelSetup->startansicht());
    dokument_.alsGespeichertAnsehen();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this)
            tastenvorschau_.druckVorbei();
        return false;
    }
    case QEvent::KeyPress: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != this)
            return false;
        // The window sees each press once, at its first delivery.
        if (!tastenvorschau_.neuerDruck(w, static_cast<QKeyEvent*>(event)))
            return false;
        bool eigen = false;
        ausfuehren([&] { eigen = FormKeyDown(static_cast<QKeyEvent*>(event)); });
        return eigen; // other keys still reach the focused control
    }
    case QEvent::WindowActivate:
        if (watched == this)
            steuerung_->dateiaenderungVormerken();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != this)
            return false;
        if (w->objectName() == QLatin1String("WerbungHinweis"))
            return true; // the note does not react to clicks
        if (!w->property("werbeflaeche").toBool())
            return false;
        auto* maus = static_cast<QMouseEvent*>(event);
        // A click that reached a side panel from one of its other children is not ours.
        if (w->property("werbeSeitenteil").toBool() && w->childAt(maus->position().toPoint()))
            return false;
        if (event->type() == QEvent::MouseButtonRelease && maus->button() == Qt::LeftButton)
            ausfuehren([this] { Panel1Click(); });
        return true;
    }
    default:
        return false;
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void TForm1::FormClose(QCloseEvent* event) {
    // The settings are written on every close. A failure is shown, and the window
    // still closes: the program must always be closable.
    ausfuehren([this] {
        panelSetup->KonfigurationSpeichern();
        lageMerken();
    });
    ausfuehren([this] {
        if (!panelHilfe->isHidden())
            btnZurueckClick(&panelHilfe->zurueck());
        else if (!panelSetup->isHidden())
            btnZurueckClick(&panelSetup->zurueck());
    });
    // The user who asked to save keeps the window unless the document reached its file.
    bool schliessen = false;
    ausfuehren([&] { schliessen = steuerung_->schliessenErlaubt(); });
    if (!schliessen) {
        event->ignore();
        return;
    }
    event->accept();
    steuerung_->beendet();
}

void TForm1::lageHerstellen() {
    const Fensterlage lage = panelSetup->einstellungenGesperrt() ? Fensterlage()
                                                                 : Fensterlage::lesen(einstellungsdatei());
    QList<QRect> bildschirme;
    if (QScreen* erster = screen())
        bildschirme << erster->availableGeometry();
    for (QScreen* weiterer : QGuiApplication::screens())
        if (weiterer != screen())
            bildschirme << weiterer->availableGeometry();
    setGeometry(lage.platzieren(bildschirme, size(), minimumSize()));
    if (lage.maximiert)
        setWindowState(windowState() | Qt::WindowMaximized);
    if (lage.detailbreite)
        browser_->teiler().setSeitenbreite(*lage.detailbreite);
    if (lage.seitenbreite)
        editor_->teiler().setSeitenbreite(*lage.seitenbreite);
    if (!panelSetup->einstellungenGesperrt())
        browser_->auskommentierte().setChecked(Baumanzeige::lesen(einstellungsdatei()).auskommentierteZeigen);
}

void TForm1::lageMerken() {
    if (panelSetup->einstellungenGesperrt())
        return; // the user was told at the start
    Fensterlage lage;
    lage.rahmen = normalGeometry().isValid() ? normalGeometry() : geometry();
    lage.maximiert = isMaximized();
    lage.detailbreite = browser_->teiler().seitenbreite();
    lage.seitenbreite = editor_->teiler().seitenbreite();
    lage.schreiben(einstellungsdatei());
    Baumanzeige baum;
    baum.auskommentierteZeigen = browser_->auskommentierte().isChecked();
    baum.schreiben(einstellungsdatei());
}

QString TForm1::einstellungsdatei() const {
    return Einstellungen::datei(Programmpfad);
}

void TForm1::Panel1Click() {
    desktop_.openUrl(QUrl(herstellerWebseite()));
}

} // namespace ravik
