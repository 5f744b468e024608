#include "app/settings/Farbfeld.h"

namespace ravik {

Farbfeld::Farbfeld(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFixedSize(25, 25);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setZahl(0xFFFFFF);
}

QColor Farbfeld::farbeAusZahl(int zahl) {
    const auto z = static_cast<quint32>(zahl);
    return QColor(z & 0xFF, (z >> 8) & 0xFF, (z >> 16) & 0xFF);
}

int Farbfeld::zahlAusFarbe(const QColor& farbe) {
    return farbe.red() | (farbe.green() << 8) | (farbe.blue() << 16);
}

void Farbfeld::setZahl(int zahl) {
    zahl_ = zahl;
    QPalette p = palette();
    p.setColor(QPalette::Window, farbe());
    setPalette(p);
}

QColor Farbfeld::farbe() const {
    return farbeAusZahl(zahl_);
}

void Farbfeld::setFarbe(const QColor& farbe) {
    setZahl(zahlAusFarbe(farbe));
}

} // namespace ravik
