#include "app/platform/widgets/Seitenteiler.h"

#include <QResizeEvent>

namespace ravik {

Seitenteiler::Seitenteiler(const QString& name, QWidget* hauptteil, QWidget* seite, int breite,
                           QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), ausstehend_(breite) {
    setObjectName(name);
    setChildrenCollapsible(false);
    setHandleWidth(2);
    // The handle looks like the sunken line that parts the panels elsewhere.
    setStyleSheet(QStringLiteral("QSplitter::handle { border-left: 1px solid palette(mid); "
                                 "border-right: 1px solid palette(light); }"));
    seite->setMinimumWidth(breite);
    addWidget(hauptteil);
    addWidget(seite);
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
}

std::optional<int> Seitenteiler::seitenbreite() const {
    if (!ausgelegt_ || ausstehend_)
        return ausstehend_;
    return sizes().value(1);
}

void Seitenteiler::setSeitenbreite(int breite) {
    ausstehend_ = breite;
    if (ausgelegt_)
        anwenden();
}

void Seitenteiler::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ausgelegt_ = event->size().width() > 0;
    if (ausstehend_ && ausgelegt_)
        anwenden();
}

// The main part keeps at least a sliver: a remembered width from a wider screen
// must not push it out of the window.
void Seitenteiler::anwenden() {
    const int gesamt = width() - handleWidth();
    const int seite = std::clamp(*ausstehend_, widget(1)->minimumWidth(),
                                 std::max(widget(1)->minimumWidth(), gesamt - 100));
    setSizes({gesamt - seite, seite});
    ausstehend_.reset();
}

} // namespace ravik
