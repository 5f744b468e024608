#include "tests/app/IniZeilen.h"

namespace ravik::test {
namespace {

bool leer(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArray ohneZeilenende(const QByteArray& zeile) {
    QByteArray inhalt = zeile;
    while (inhalt.endsWith('\n') || inhalt.endsWith('\r'))
        inhalt.chop(1);
    return inhalt;
}

QByteArray zeilenende(const QByteArray& zeile) {
    return zeile.mid(ohneZeilenende(zeile).size());
}

QByteArray getrimmt(QByteArray text) {
    while (!text.isEmpty() && leer(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && leer(text.back()))
        text.chop(1);
    return text;
}

bool istKopf(const QByteArray& zeile) {
    return getrimmt(ohneZeilenende(zeile)).startsWith('[');
}

QByteArray kopfName(const QByteArray& zeile) {
    QByteArray inhalt = getrimmt(ohneZeilenende(zeile)).mid(1);
    const qsizetype zu = inhalt.indexOf(']');
    return getrimmt(zu < 0 ? inhalt : inhalt.left(zu));
}

bool istSchluessel(const QByteArray& zeile) {
    const QByteArray inhalt = getrimmt(ohneZeilenende(zeile));
    const qsizetype gleich = inhalt.indexOf('=');
    return !inhalt.startsWith(';') && !inhalt.startsWith('[') && gleich > 0;
}

QByteArray schluesselName(const QByteArray& zeile) {
    const QByteArray inhalt = ohneZeilenende(zeile);
    return getrimmt(inhalt.left(inhalt.indexOf('=')));
}

bool gleicherName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniZeilen::IniZeilen(const QByteArray& datei) : kodierung_(TextCodec::detect(datei)) {
    QByteArray text = datei;
    if (kodierung_ == TextEncoding::Utf16LE || kodierung_ == TextEncoding::Utf16BE) {
        bom_ = datei.left(2);
        text = TextCodec::decode(QByteArrayView(datei).sliced(2), kodierung_).toUtf8();
    } else if (datei.startsWith("\xEF\xBB\xBF")) {
        bom_ = datei.left(3);
        text = datei.mid(3);
    }
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        zeilen_.push_back(text.mid(anfang, i + 1 - anfang));
        anfang = i + 1;
    }
    if (anfang < text.size())
        zeilen_.push_back(text.mid(anfang));
}

QString IniZeilen::text(const QByteArray& bytes) const {
    return kodierung_ == TextEncoding::Windows1252 ? TextCodec::decodeWindows1252(bytes)
                                                   : QString::fromUtf8(bytes);
}

QByteArray IniZeilen::kodiert(const QString& text) const {
    return kodierung_ == TextEncoding::Windows1252 ? TextCodec::encodeWindows1252(text).value()
                                                   : text.toUtf8();
}

int IniZeilen::erstesVorkommen(const QString& sektion) const {
    for (int i = 0; i < int(zeilen_.size()); ++i)
        if (istKopf(zeilen_[i]) && gleicherName(text(kopfName(zeilen_[i])), sektion))
            return i;
    return -1;
}

int IniZeilen::blockEnde(int kopf) const {
    int i = kopf + 1;
    while (i < int(zeilen_.size()) && !istKopf(zeilen_[i]))
        ++i;
    return i;
}

int IniZeilen::ersterSchluessel(const QString& sektion, const QString& schluessel) const {
    const int kopf = erstesVorkommen(sektion);
    if (kopf < 0)
        return -1;
    for (int i = kopf + 1; i < blockEnde(kopf); ++i)
        if (istSchluessel(zeilen_[i]) && gleicherName(text(schluesselName(zeilen_[i])), schluessel))
            return i;
    return -1;
}

void IniZeilen::wertErsetzen(int zeile, const QString& wert) {
    const QByteArray alt = ohneZeilenende(zeilen_[zeile]);
    qsizetype wertAnfang = alt.indexOf('=') + 1;
    while (wertAnfang < alt.size() && leer(alt[wertAnfang]))
        ++wertAnfang;
    const QByteArray alterWert = getrimmt(alt.mid(wertAnfang));
    const bool inAnfuehrung =
        alterWert.size() >= 2 && alterWert.startsWith('"') && alterWert.endsWith('"');
    QByteArray neu = kodiert(wert);
    if (inAnfuehrung)
        neu = '"' + neu + '"';
    zeilen_[zeile] = alt.left(wertAnfang) + neu + zeilenende(zeilen_[zeile]);
}

QByteArray IniZeilen::haeufigstesZeilenende() const {
    int crlf = 0, lf = 0, cr = 0;
    for (const QByteArray& z : zeilen_) {
        const QByteArray ende = zeilenende(z);
        crlf += ende == "\r\n";
        lf += ende == "\n";
        cr += ende == "\r";
    }
    QByteArray ende = "\r\n";
    int meiste = crlf;
    if (lf > meiste) {
        ende = "\n";
        meiste = lf;
    }
    if (cr > meiste)
        ende = "\r";
    return ende;
}

void IniZeilen::schluesselEinfuegen(const QString& sektion, const QString& schluessel,
                                    const QString& wert) {
    const QByteArray ende = haeufigstesZeilenende();
    const int kopf = erstesVorkommen(sektion);
    int nach = kopf;
    for (int i = kopf + 1; i < blockEnde(kopf); ++i)
        if (istSchluessel(zeilen_[i]))
            nach = i;
    if (zeilenende(zeilen_[nach]).isEmpty())
        zeilen_[nach] += ende;
    zeilen_.insert(zeilen_.begin() + nach + 1, kodiert(schluessel + '=' + wert) + ende);
}

int IniZeilen::schluesselEntfernen(const QString& sektion, const QString& schluessel) {
    const int kopf = erstesVorkommen(sektion);
    int entfernt = 0;
    for (int i = blockEnde(kopf) - 1; i > kopf; --i) {
        if (istSchluessel(zeilen_[i]) &&
            gleicherName(text(schluesselName(zeilen_[i])), schluessel)) {
            zeilen_.erase(zeilen_.begin() + i);
            ++entfernt;
        }
    }
    return entfernt;
}

int IniZeilen::sektionEntfernen(const QString& sektion) {
    int entfernt = 0;
    for (int i = 0; i < int(zeilen_.size());) {
        if (istKopf(zeilen_[i]) && gleicherName(text(kopfName(zeilen_[i])), sektion)) {
            const int ende = blockEnde(i);
            entfernt += ende - i;
            zeilen_.erase(zeilen_.begin() + i, zeilen_.begin() + ende);
        } else {
            ++i;
        }
    }
    return entfernt;
}

QByteArray IniZeilen::bytes() const {
    QByteArray text;
    for (const QByteArray& z : zeilen_)
        text += z;
    if (kodierung_ == TextEncoding::Utf16LE || kodierung_ == TextEncoding::Utf16BE)
        return bom_ + TextCodec::encode(QString::fromUtf8(text), kodierung_).value();
    return bom_ + text;
}

} // namespace ravik::test
