#include "app/browser/BrowserAnsicht.h"

#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/help/Werbebereich.h"
#include "app/platform/widgets/Bausteine.h"

#include <QLabel>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ravik {

BrowserAnsicht::BrowserAnsicht(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panelBrowser"));

    auto* anzeige = new QWidget(this);
    anzeige->setObjectName(QStringLiteral("panelAnzeige"));
    baum_ = new IniBaum(anzeige);
    auto* a = new QVBoxLayout(anzeige);
    a->setContentsMargins(0, 0, 0, 0);
    a->addWidget(baum_);

    auto* werte = new QWidget(this);
    werte->setObjectName(QStringLiteral("panelWerte"));
    werte->setFixedWidth(317);
    detail_ = new Detailpanel(werte);
    werbung_ = new Werbebereich(QStringLiteral("WerbetextAnzeige"), 83, werte);
    sicherheitskopie_ = new QCheckBox(werte);
    sicherheitskopie_->setObjectName(QStringLiteral("CheckBox2"));
    sicherheitskopie_->setChecked(true);
    auto* w = new QVBoxLayout(werte);
    w->addWidget(detail_);
    w->addSpacing(10);
    w->addWidget(werbung_);
    w->addStretch();
    w->addWidget(Bausteine::fettesLabel(QStringLiteral("Sicherheitskopie erstellen (empfohlen)"), werte));
    w->addWidget(sicherheitskopie_);

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(anzeige, 1);
    h->addWidget(Bausteine::senkrechteLinie(this));
    h->addWidget(werte);
}

} // namespace ravik
