#include "core/settings/Fensterlage.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniNumber.h"
#include "core/platform/ini/TIniFile.h"
#include "core/settings/Einstellungsdatei.h"

namespace ravik {
namespace {

const QString kFenster = QStringLiteral("Window");
const QString kLinks = QStringLiteral("Left");
const QString kOben = QStringLiteral("Top");
const QString kBreite = QStringLiteral("Width");
const QString kHoehe = QStringLiteral("Height");
const QString kMaximiert = QStringLiteral("Maximized");
const QString kDetail = QStringLiteral("DetailWidth");
const QString kSeite = QStringLiteral("SidePanelWidth");

// A value that is there and a number, as the settings' numbers are read.
std::optional<int> zahl(TIniFile& ini, const QString& schluessel) {
    return IniNumber::parse(ini.ReadValue(kFenster, schluessel, QString()));
}

// Enough of a frame to take hold of it: its caption's strip, 100 by 20 pixels.
bool greifbar(const QRect& rahmen, const QList<QRect>& bildschirme) {
    const QRect griff(rahmen.topLeft(), QSize(std::min(rahmen.width(), 100), 20));
    for (const QRect& schirm : bildschirme)
        if (schirm.intersected(griff).width() >= std::min(griff.width(), 40) &&
            schirm.intersected(griff).height() >= 10)
            return true;
    return false;
}

} // namespace

Fensterlage Fensterlage::lesen(const QString& datei) {
    Fensterlage lage;
    try {
        TIniFile ini = einstellungsdateiBinden(datei, false);
        const auto x = zahl(ini, kLinks), y = zahl(ini, kOben);
        const auto b = zahl(ini, kBreite), h = zahl(ini, kHoehe);
        if (x && y && b && h && *b > 0 && *h > 0)
            lage.rahmen = QRect(*x, *y, *b, *h);
        lage.maximiert = zahl(ini, kMaximiert).value_or(0) != 0;
        if (const auto d = zahl(ini, kDetail); d && *d > 0)
            lage.detailbreite = d;
        if (const auto s = zahl(ini, kSeite); s && *s > 0)
            lage.seitenbreite = s;
    } catch (const RavikError&) {
        return Fensterlage();
    }
    return lage;
}

void Fensterlage::schreiben(const QString& datei) const {
    TIniFile ini = einstellungsdateiBinden(datei, true);
    try {
        if (rahmen) {
            ini.WriteNumber(kFenster, kLinks, rahmen->x());
            ini.WriteNumber(kFenster, kOben, rahmen->y());
            ini.WriteNumber(kFenster, kBreite, rahmen->width());
            ini.WriteNumber(kFenster, kHoehe, rahmen->height());
        }
        ini.WriteNumber(kFenster, kMaximiert, maximiert ? 1 : 0);
        if (detailbreite)
            ini.WriteNumber(kFenster, kDetail, *detailbreite);
        if (seitenbreite)
            ini.WriteNumber(kFenster, kSeite, *seitenbreite);
    } catch (const EFOpenError&) {
        throw EIniFileException::cannotWrite(datei);
    }
    ini.Flush();
}

QRect Fensterlage::platzieren(const QList<QRect>& bildschirme, const QSize& vorgabe,
                              const QSize& kleinste) const {
    if (rahmen && greifbar(*rahmen, bildschirme))
        return rahmen->size().expandedTo(kleinste) == rahmen->size()
                   ? *rahmen
                   : QRect(rahmen->topLeft(), rahmen->size().expandedTo(kleinste));
    const QRect schirm = bildschirme.isEmpty() ? QRect(QPoint(0, 0), vorgabe) : bildschirme.first();
    QSize groesse = rahmen ? rahmen->size() : vorgabe;
    groesse = groesse.boundedTo(schirm.size()).expandedTo(kleinste);
    QRect mitte(QPoint(0, 0), groesse);
    mitte.moveCenter(schirm.center());
    return mitte;
}

} // namespace ravik
