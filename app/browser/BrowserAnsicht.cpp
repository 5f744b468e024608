#include "app/browser/BrowserAnsicht.h"

#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/browser/Suchfeld.h"
#include "app/platform/widgets/Werbebereich.h"
#include "app/platform/widgets/Bausteine.h"
#include "app/platform/widgets/Seitenteiler.h"

#include <QLabel>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ravik {

BrowserAnsicht::BrowserAnsicht(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panelBrowser"));

    auto* anzeige = new QWidget(this);
    anzeige->setObjectName(QStringLiteral("panelAnzeige"));
    suche_ = new Suchfeld(anzeige);
    baum_ = new IniBaum(anzeige);
    auskommentierte_ = new QCheckBox(QStringLiteral("Auskommentierte zeigen"), anzeige);
    auskommentierte_->setObjectName(QStringLiteral("chkAuskommentierte"));
    auskommentierte_->setChecked(true);
    auskommentierte_->setToolTip(QStringLiteral("Schlüssel zeigen, die in der Datei auskommentiert sind "
                                                "(„;extension=mysqli“)"));
    auto* filterzeile = new QHBoxLayout;
    filterzeile->setContentsMargins(0, 0, 0, 0);
    filterzeile->addWidget(suche_, 1);
    filterzeile->addWidget(auskommentierte_);
    auto* a = new QVBoxLayout(anzeige);
    a->setContentsMargins(0, 0, 0, 0);
    a->setSpacing(2);
    a->addLayout(filterzeile);
    a->addWidget(baum_);
    setTabOrder(suche_, auskommentierte_);
    setTabOrder(auskommentierte_, baum_);
    connect(suche_, &Suchfeld::zumBaum, baum_, [this] { baum_->setFocus(Qt::OtherFocusReason); });
    // A new tree starts without a search.
    connect(baum_, &IniBaum::filterAufgehoben, this, [this] {
        const QSignalBlocker still(suche_);
        suche_->clear();
        suche_->setKeineTreffer(false);
    });

    auto* werte = new QWidget(this);
    werte->setObjectName(QStringLiteral("panelWerte"));
    detail_ = new Detailpanel(werte);
    kommentar_ = new QPlainTextEdit(werte);
    kommentar_->setObjectName(QStringLiteral("KommentarAnzeige"));
    kommentar_->setReadOnly(true);
    kommentar_->setMinimumHeight(40);
    kommentar_->setFocusPolicy(Qt::ClickFocus); // outside the detail fields' tab order
    kommentar_->setToolTip(QStringLiteral("Die Kommentarzeilen, die in der Datei direkt über dem "
                                          "markierten Eintrag stehen"));
    werbung_ = new Werbebereich(QStringLiteral("WerbetextAnzeige"), 83, werte);
    sicherheitskopie_ = new QCheckBox(werte);
    sicherheitskopie_->setObjectName(QStringLiteral("CheckBox2"));
    sicherheitskopie_->setChecked(true);
    auto* w = new QVBoxLayout(werte);
    w->addWidget(detail_);
    w->addWidget(Bausteine::fettesLabel(QStringLiteral("Kommentar"), werte));
    w->addWidget(kommentar_, 1);
    w->addSpacing(6);
    w->addWidget(werbung_);
    w->addWidget(Bausteine::fettesLabel(QStringLiteral("Sicherheitskopie erstellen (empfohlen)"), werte));
    w->addWidget(sicherheitskopie_);

    teiler_ = new Seitenteiler(QStringLiteral("teilerBrowser"), anzeige, werte, 317, this);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(teiler_);
}

bool BrowserAnsicht::suchen(const QString& text) {
    const bool bewegt = baum_->filtern(text);
    suche_->setKeineTreffer(baum_->filtert() && baum_->sichtbareSektionen() == 0);
    return bewegt;
}

// Walking through the tree mostly passes keys without a comment: an unchanged text is
// not set again.
void BrowserAnsicht::kommentarZeigen(const QString& text) {
    if (kommentar_->toPlainText() != text)
        kommentar_->setPlainText(text);
}

void BrowserAnsicht::sucheFokussieren() {
    suche_->setFocus(Qt::ShortcutFocusReason);
    suche_->selectAll();
}

} // namespace ravik
