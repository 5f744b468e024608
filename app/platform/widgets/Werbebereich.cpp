#include "app/platform/widgets/Werbebereich.h"

#include "app/platform/widgets/Bausteine.h"
#include "app/platform/widgets/Bilder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ravik {

Werbebereich::Werbebereich(const QString& textName, int textHoehe, QWidget* seitenteil)
    : QWidget(seitenteil) {
    auto* kopf = new QHBoxLayout;
    auto* symbol = Bausteine::bildLabel(Bilder::kleinesBild("promo"), 16, this);
    auto* werbung = Bausteine::fettesLabel(QStringLiteral("Werbung"), this, true);
    auto* hinweis = new QLabel(QStringLiteral("(einfach anklicken)"), this);
    hinweis->setObjectName(QStringLiteral("WerbungHinweis"));
    kopf->addWidget(symbol);
    kopf->addWidget(werbung);
    kopf->addWidget(hinweis);
    kopf->addStretch();
    text_ = new QLabel(this);
    text_->setObjectName(textName);
    text_->setMinimumHeight(textHoehe);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addLayout(kopf);
    v->addWidget(text_);
    for (QWidget* w : {static_cast<QWidget*>(symbol), static_cast<QWidget*>(werbung),
                       static_cast<QWidget*>(text_), seitenteil}) {
        w->setCursor(Qt::PointingHandCursor);
        w->setProperty("werbeflaeche", true);
    }
    // A click on the side panel counts only where none of its other controls is.
    seitenteil->setProperty("werbeSeitenteil", true);
    setProperty("werbeflaeche", true);
}

void Werbebereich::setText(const QString& text) {
    text_->setText(text);
}

QString Werbebereich::text() const {
    return text_->text();
}

} // namespace ravik
