#include "app/browser/Detailpanel.h"

#include "app/browser/DetailFeld.h"
#include "app/platform/widgets/Bausteine.h"

#include <QLabel>
#include "app/platform/widgets/Bilder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace ravik {
namespace {

// Each field is set once to its final state: disabling and enabling it again would
// cost a repaint and move the focus away.
void zeigen(DetailFeld* feld, bool frei, const QString& text) {
    feld->setFreigegeben(frei);
    if (feld->text() != text)
        feld->setText(text);
    else
        feld->setCursorPosition(text.size());
}

} // namespace

Detailpanel::Detailpanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel2"));
    sektion_ = new DetailFeld(QStringLiteral("SektionAnzeige"), true, this);
    schluessel_ = new DetailFeld(QStringLiteral("SchluesselAnzeige"), true, this);
    wert_ = new DetailFeld(QStringLiteral("WertAnzeige"), false, this);
    auto* raster = new QGridLayout(this);
    raster->setVerticalSpacing(8);
    const struct {
        const char* bild;
        const char* text;
        DetailFeld* feld;
    } zeilen[] = {{"section", "Sektion", sektion_}, {"key", "Schlüssel", schluessel_}, {"value", "Wert", wert_}};
    int zeile = 0;
    for (const auto& z : zeilen) {
        z.feld->setMinimumWidth(150); // 207 pixels wide where the font allows
        z.feld->setContextMenuPolicy(Qt::CustomContextMenu);
        raster->addWidget(Bausteine::bildLabel(Bilder::kleinesBild(z.bild), 16, this), zeile, 0);
        raster->addWidget(Bausteine::fettesLabel(QString::fromUtf8(z.text), this), zeile, 1);
        raster->addWidget(z.feld, zeile, 2);
        connect(z.feld, &DetailFeld::enterGedrueckt, this, &Detailpanel::enterGedrueckt);
        if (z.feld == wert_)
            connect(z.feld, &DetailFeld::bearbeitungVersucht, this, &Detailpanel::wertBearbeitungVersucht);
        connect(z.feld, &QWidget::customContextMenuRequested, this,
                [this, feld = z.feld](const QPoint& p) { emit kontextmenu(feld->mapToGlobal(p)); });
        ++zeile;
    }
    ok_ = Bausteine::knopf(QStringLiteral("btnOK"), QStringLiteral("OK"), this);
    abbruch_ = Bausteine::knopf(QStringLiteral("btnStop"), QStringLiteral("Abbruch"), this);
    ok_->setIcon(Bilder::kleinesBild("ok"));
    abbruch_->setIcon(Bilder::kleinesBild("cancel"));
    for (QPushButton* b : {ok_, abbruch_}) {
        b->setFixedSize(100, 25);
        b->setEnabled(false);
        b->setAutoDefault(true); // Enter on the focused button presses it
    }
    connect(ok_, &QPushButton::clicked, this, &Detailpanel::ok);
    connect(abbruch_, &QPushButton::clicked, this, &Detailpanel::abbruch);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbruch_);
    knoepfe->addStretch();
    raster->addLayout(knoepfe, zeile, 2);
    setTabOrder(sektion_, schluessel_);
    setTabOrder(schluessel_, wert_);
    setTabOrder(wert_, ok_);
    setTabOrder(ok_, abbruch_);
}

void Detailpanel::leeren() {
    for (DetailFeld* feld : {wert_, sektion_, schluessel_}) {
        feld->setFreigegeben(false);
        feld->clear();
    }
    wert_->setReadOnly(false);
}

void Detailpanel::sektionZeigen(const QString& sektion) {
    zeigen(sektion_, true, sektion);
    zeigen(schluessel_, false, QString());
    zeigen(wert_, false, QString());
    wert_->setReadOnly(false);
}

void Detailpanel::schluesselZeigen(const QString& sektion, const QString& schluessel,
                                   const QString& wert) {
    zeigen(sektion_, false, sektion);
    zeigen(schluessel_, true, schluessel);
    zeigen(wert_, true, wert);
    wert_->setReadOnly(false);
}

void Detailpanel::ausgeschaltetZeigen(const QString& sektion, const QString& schluessel,
                                      const QString& wert) {
    zeigen(sektion_, false, sektion);
    zeigen(schluessel_, false, schluessel);
    zeigen(wert_, true, wert);
    wert_->setReadOnly(true);
}

Bearbeitung::Detailtexte Detailpanel::texte() const {
    return {sektion_->text(), schluessel_->text(), wert_->text()};
}

void Detailpanel::knoepfeFreigeben(bool frei) {
    ok_->setEnabled(frei);
    abbruch_->setEnabled(frei);
}

void Detailpanel::sektionsfeldFokussieren() {
    sektion_->setFocus(Qt::OtherFocusReason);
}

void Detailpanel::schluesselfeldFokussieren() {
    schluessel_->setFocus(Qt::OtherFocusReason);
}

} // namespace ravik
