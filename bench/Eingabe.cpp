#include "bench/Eingabe.h"

#include <QString>

namespace ravik::bench {
namespace {

// A small deterministic generator, so the file never depends on the library's one.
struct Zufall {
    quint64 zustand = 0x243F6A8885A308D3ULL;
    quint32 naechste() {
        zustand ^= zustand << 13;
        zustand ^= zustand >> 7;
        zustand ^= zustand << 17;
        return static_cast<quint32>(zustand >> 11);
    }
};

const char* const kWoerter[] = {"Größe", "Übersicht", "Straße", "Äpfel", "Müller",
                                "Schlüssel", "Lösung", "Gebäude", "Grüße", "Maß"};

void sektion(QByteArray& out, int s, int schluessel, Zufall& z) {
    if (s % 7 == 0)
        out += "; Abschnitt " + QByteArray::number(s) + " – automatisch erzeugt\r\n";
    out += "[Sektion_" + QByteArray::number(s) + "]\r\n";
    for (int k = 0; k < schluessel; ++k) {
        out += "Eintrag_" + QByteArray::number(k) + '=';
        switch (k % 4) {
        case 0:
            out += QByteArray::number(z.naechste() % 1000000);
            break;
        case 1:
            out += "\"Wert " + QByteArray::number(z.naechste() % 10000) + "\"";
            break;
        case 2:
            out += "C:\\Velmora\\Datei" + QByteArray::number(z.naechste() % 1000) + ".dat";
            break;
        default:
            out += kWoerter[z.naechste() % 10];
            break;
        }
        out += "\r\n";
    }
    out += "\r\n";
}

} // namespace

QByteArray grosseIniDatei(int sektionen, int schluessel) {
    QByteArray out;
    out.reserve(sektionen * schluessel * 30);
    Zufall z;
    for (int s = 0; s < sektionen; ++s)
        sektion(out, s, schluessel, z);
    return out;
}

QByteArray iniDateiMitGroesse(qint64 bytes) {
    QByteArray out;
    out.reserve(bytes + 4096);
    Zufall z;
    for (int s = 0; out.size() < bytes; ++s)
        sektion(out, s, 25, z);
    return out;
}

QByteArray kleineSektionen(int sektionen) {
    QByteArray out;
    out.reserve(qsizetype(sektionen) * 16);
    for (int s = 0; s < sektionen; ++s)
        out += "[S" + QByteArray::number(s) + "]\nk=v\n";
    return out;
}

QByteArray langeZeile(qint64 bytes) {
    QByteArray out = "[Lang]\r\nWert=";
    out.reserve(bytes + 32);
    while (out.size() < bytes)
        out += "abcdefghij0123456789";
    out += "\r\n";
    return out;
}

} // namespace ravik::bench
