#include "cli/Vorkommen.h"

#include "core/platform/ini/IniSyntax.h"
#include "core/platform/text/TextCodec.h"

#include <algorithm>
#include <cstring>

namespace ravik::cli {

namespace {

bool istUtf16(TextEncoding k) {
    return k == TextEncoding::Utf16LE || k == TextEncoding::Utf16BE;
}

// Each line with the length of its line end (CR LF, LF, CR or none). The next CR and
// the next LF are looked for apart and each only once it is passed, so that a file of
// one kind of line end is not searched again for the other on every line.
template <typename Besuch> void zeilenDurchgehen(QByteArrayView text, Besuch&& besuch) {
    const char* const anfangText = text.data();
    const char* const ende = anfangText + text.size();
    const auto suchen = [ende](const char* ab, char c) {
        const void* p = std::memchr(ab, c, size_t(ende - ab));
        return p ? static_cast<const char*>(p) : ende;
    };
    const char* naechstesLf = nullptr;
    const char* naechstesCr = nullptr;
    const char* zeile = anfangText;
    while (zeile < ende) {
        if (!naechstesLf || naechstesLf < zeile)
            naechstesLf = suchen(zeile, '\n');
        if (!naechstesCr || naechstesCr < zeile)
            naechstesCr = suchen(zeile, '\r');
        const char* bruch = std::min(naechstesLf, naechstesCr);
        qsizetype eol = 0;
        if (bruch < ende)
            eol = (*bruch == '\r' && bruch + 1 < ende && bruch[1] == '\n') ? 2 : 1;
        if (!besuch(zeile - anfangText, bruch - zeile, eol))
            return;
        zeile = bruch + eol;
    }
}

// A header line starts with '[' after its blanks; other lines need no closer look
// outside the section asked for.
bool istKopf(QByteArrayView zeile) {
    for (char c : zeile)
        if (!IniSyntax::isBlank(c))
            return c == '[';
    return false;
}

// The engine's choice of encoding without its count of line ends, which a command
// does not need: a UTF-16 mark is looked at whole, anything else is UTF-8 when valid.
TextEncoding kodierungErkennen(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return TextCodec::detect(bytes);
    if (!TextCodec::isValidUtf8(bytes))
        return TextEncoding::Windows1252;
    return bytes.startsWith("\xEF\xBB\xBF") ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
}

} // namespace

Vorkommen::Vorkommen(const QByteArray& dateibytes)
    : datei_(dateibytes), kodierung_(kodierungErkennen(dateibytes)),
      vergleich_(kodierung_ != TextEncoding::Windows1252) {
    if (istUtf16(kodierung_)) {
        // As the engine holds it: UTF-8, which maps to UTF-16 and back exactly.
        utf16Text_ = TextCodec::decode(QByteArrayView(datei_).sliced(2), kodierung_).toUtf8();
        text_ = utf16Text_;
        return;
    }
    const qsizetype marke = datei_.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    praefix_ = QByteArrayView(datei_).first(marke);
    text_ = QByteArrayView(datei_).sliced(marke);
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
        const QByteArrayView zeile = text_.sliced(anfang, laenge);
        if (!darin && !istKopf(zeile))
            return true;
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
    const QByteArrayView alt = text_.sliced(zeile.anfang, zeile.laenge);
    if (IniSyntax::unquote(zeile.rohwert) == QByteArrayView(*bytes))
        return alt.toByteArray(); // the value it has: not a byte changes
    return alt.first(zeile.wertAnfang).toByteArray() +
           IniSyntax::valueText(*bytes, IniSyntax::enclosingQuote(zeile.rohwert));
}

QByteArray Vorkommen::ersetzt(const std::vector<Ersetzung>& ersetzungen) const {
    QByteArray neu;
    neu.reserve(praefix_.size() + text_.size() + 256);
    neu.append(praefix_);
    qsizetype bis = 0;
    for (const auto& [zeile, inhalt] : ersetzungen) { // in file order
        neu.append(text_.sliced(bis, zeile.anfang - bis));
        if (inhalt) {
            neu.append(*inhalt);
            neu.append(text_.sliced(zeile.anfang + zeile.laenge, zeile.endeLaenge));
        }
        bis = zeile.anfang + zeile.laenge + zeile.endeLaenge;
    }
    neu.append(text_.sliced(bis));
    if (istUtf16(kodierung_))
        return IniDocument(neu, kodierung_).toBytes();
    return neu;
}

} // namespace ravik::cli
