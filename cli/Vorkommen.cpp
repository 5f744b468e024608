#include "cli/Vorkommen.h"

#include "core/platform/ini/IniSyntax.h"
#include "core/platform/text/TextCodec.h"

namespace ravik::cli {

namespace {

bool istUtf16(TextEncoding k) {
    return k == TextEncoding::Utf16LE || k == TextEncoding::Utf16BE;
}

// Each line with the length of its line end (CR LF, LF, CR or none).
template <typename Besuch> void zeilenDurchgehen(const QByteArray& text, Besuch&& besuch) {
    const qsizetype n = text.size();
    qsizetype anfang = 0;
    while (anfang < n) {
        qsizetype ende = anfang;
        while (ende < n && text[ende] != '\r' && text[ende] != '\n')
            ++ende;
        qsizetype eol = 0;
        if (ende < n)
            eol = (text[ende] == '\r' && ende + 1 < n && text[ende + 1] == '\n') ? 2 : 1;
        if (!besuch(anfang, ende - anfang, eol))
            return;
        anfang = ende + eol;
    }
}

} // namespace

Vorkommen::Vorkommen(const QByteArray& dateibytes, const IniDocument& dokument)
    : kodierung_(dokument.encoding()), vergleich_(dokument.encoding() != TextEncoding::Windows1252) {
    if (istUtf16(kodierung_)) {
        dokument.writeText([this](QByteArrayView stueck) { text_.append(stueck); });
    } else if (kodierung_ == TextEncoding::Utf8Bom) {
        text_ = dateibytes.mid(3);
    } else {
        text_ = dateibytes;
    }
}

QString Vorkommen::lesen(QByteArrayView bytes) const {
    return kodierung_ == TextEncoding::Windows1252 ? TextCodec::decodeWindows1252(bytes)
                                                   : QString::fromUtf8(bytes);
}

std::optional<QByteArray> Vorkommen::kodieren(QStringView text) const {
    if (kodierung_ == TextEncoding::Windows1252)
        return TextCodec::encodeWindows1252(text);
    return text.toUtf8();
}

std::optional<std::vector<Vorkommen::Zeile>> Vorkommen::schluessel(const QString& sektion,
                                                                   const QString& schluessel) const {
    const auto gesucht = kodieren(sektion);
    const auto gesuchterSchluessel = kodieren(schluessel);
    if (!gesucht || !gesuchterSchluessel)
        return std::nullopt; // a name the file cannot hold is in no line
    bool gefunden = false;
    bool darin = false;
    std::vector<Zeile> zeilen;
    zeilenDurchgehen(text_, [&](qsizetype anfang, qsizetype laenge, qsizetype eol) {
        const QByteArrayView zeile(text_.constData() + anfang, laenge);
        switch (IniSyntax::classify(zeile)) {
        case IniSyntax::LineKind::Section:
            if (darin)
                return false; // the first occurrence ends here
            darin = vergleich_.equal(IniSyntax::sectionName(zeile), *gesucht);
            gefunden = gefunden || darin;
            return true;
        case IniSyntax::LineKind::Key:
            if (darin) {
                const auto teile = IniSyntax::splitKey(zeile);
                if (gesuchterSchluessel->isEmpty() || vergleich_.equal(teile.name, *gesuchterSchluessel))
                    zeilen.push_back({anfang, laenge, eol, teile.name, teile.rawValue, teile.valueStart});
            }
            return true;
        default:
            return true;
        }
    });
    if (!gefunden)
        return std::nullopt;
    return zeilen;
}

QString Vorkommen::wert(const Zeile& zeile) const {
    return lesen(IniSyntax::unquote(zeile.rohwert));
}

QString Vorkommen::name(const Zeile& zeile) const {
    return lesen(zeile.name);
}

std::optional<QByteArray> Vorkommen::mitWert(const Zeile& zeile, const QString& wert) const {
    const auto bytes = kodieren(wert);
    if (!bytes)
        return std::nullopt;
    const QByteArrayView alt(text_.constData() + zeile.anfang, zeile.laenge);
    if (IniSyntax::unquote(zeile.rohwert) == QByteArrayView(*bytes))
        return alt.toByteArray(); // the value it has: not a byte changes
    return alt.first(zeile.wertAnfang).toByteArray() +
           IniSyntax::valueText(*bytes, IniSyntax::enclosingQuote(zeile.rohwert));
}

QByteArray Vorkommen::ersetzt(const std::vector<Ersetzung>& ersetzungen) const {
    QByteArray neu;
    neu.reserve(text_.size() + 256);
    qsizetype bis = 0;
    for (const auto& [zeile, inhalt] : ersetzungen) { // in file order
        neu.append(text_.constData() + bis, zeile.anfang - bis);
        if (inhalt) {
            neu.append(*inhalt);
            neu.append(text_.constData() + zeile.anfang + zeile.laenge, zeile.endeLaenge);
        }
        bis = zeile.anfang + zeile.laenge + zeile.endeLaenge;
    }
    neu.append(text_.constData() + bis, text_.size() - bis);
    return IniDocument(neu, kodierung_).toBytes();
}

} // namespace ravik::cli
