#pragma once

#include <QFrame>

namespace ravik {

// A 25x25 colour swatch: the one place a settings colour is held while running.
// It keeps the colour as the stored number (red in bits 0-7, green 8-15, blue 16-23),
// so a value read from the settings file is written back as it was.
class Farbfeld : public QFrame {
    Q_OBJECT
public:
    Farbfeld(const QString& name, QWidget* parent);

    int zahl() const { return zahl_; }
    void setZahl(int zahl);
    QColor farbe() const;
    void setFarbe(const QColor& farbe);

    static QColor farbeAusZahl(int zahl);
    static int zahlAusFarbe(const QColor& farbe);

private:
    int zahl_ = 0xFFFFFF;
};

} // namespace ravik
