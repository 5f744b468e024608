#include "core/document/Aenderungen.h"

#include "core/platform/ini/IniSyntax.h"
#include "core/platform/ini/IniTextCodec.h"
#include "core/platform/text/TextCodec.h"
#include "core/platform/text/TextScan.h"

#include <dtl/dtl.hpp>

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace ravik {

QString Aenderung::artText() const {
    switch (art) {
    case Art::Geaendert:
        return QStringLiteral("geändert");
    case Art::Hinzugefuegt:
        return QStringLiteral("hinzugefügt");
    case Art::Entfernt:
        return QStringLiteral("entfernt");
    case Art::Umbenannt:
        return QStringLiteral("umbenannt");
    }
    return {};
}

namespace {

using Teil = Aenderungsvergleich::Teil;
using LineKind = IniSyntax::LineKind;

constexpr qint32 kKontext = 3;
// Lines that must agree in a row before the texts count as in step again.
constexpr qint32 kGleichlauf = 3;
// The exact comparison of a stretch costs about (shorter + 1) × (both + 1) steps and
// as many path records in the worst case; beyond this it is taken as replaced whole.
constexpr qint64 kAufwand = 1000000;

struct Hasher {
    size_t operator()(QByteArrayView v) const { return qHash(v); }
};

// Fed a piece at a time, the scan holds no copy of a large text.
TextEncoding kodierungVon(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return TextEncoding::Utf8;
    TextScan scan;
    constexpr qsizetype kStueck = qsizetype(1) << 20;
    for (qsizetype pos = 0; pos < bytes.size(); pos += kStueck)
        scan.feed(bytes.sliced(pos, qMin(kStueck, bytes.size() - pos)));
    scan.finish();
    return scan.encoding();
}

// One side of the comparison: its text split into lines, the byte-order mark apart.
class Seite {
public:
    explicit Seite(QByteArrayView bytes) {
        kodierung_ = kodierungVon(bytes);
        bom_ = TextCodec::byteOrderMark(kodierung_);
        if (istUtf16()) {
            // Compared as its text; the lines of UTF-16 bytes are not found by bytes.
            gehalten_ = TextCodec::decodeFile(bytes).text.toUtf8();
            text_ = gehalten_;
        } else {
            text_ = bytes.sliced(bom_.size());
        }
        codec_ = IniTextCodec(kodierung_ != TextEncoding::Windows1252);
        teilen();
    }

    bool istUtf16() const {
        return kodierung_ == TextEncoding::Utf16LE || kodierung_ == TextEncoding::Utf16BE;
    }
    TextEncoding kodierung() const { return kodierung_; }
    const QByteArray& bom() const { return bom_; }
    qint32 anzahl() const { return qint32(anfaenge_.size()) - 1; }
    QByteArrayView roh(qint32 i) const {
        return text_.sliced(anfaenge_[i], anfaenge_[i + 1] - anfaenge_[i]);
    }
    QByteArrayView inhalt(qint32 i) const {
        const QByteArrayView r = roh(i);
        return r.first(r.size() - endeLaenge(r));
    }
    QByteArrayView ende(qint32 i) const {
        const QByteArrayView r = roh(i);
        return r.last(endeLaenge(r));
    }
    QString text(QByteArrayView bytes) const { return codec_.decode(bytes); }

    // The header line of the section line i belongs to; -1 before the first.
    qint32 kopfVon(qint32 i) const {
        const auto it = std::upper_bound(koepfe_.begin(), koepfe_.end(), i);
        return it == koepfe_.begin() ? -1 : *(it - 1);
    }
    QString sektionVon(qint32 i) const {
        const qint32 kopf = kopfVon(i);
        return kopf < 0 ? QString() : text(IniSyntax::sectionName(inhalt(kopf)));
    }
    QByteArray gefaltet(QByteArrayView name) const { return text(name).toCaseFolded().toUtf8(); }

    // A key's name, and for a key that its section holds more than once, which of them.
    QString schluesselName(qint32 i) const {
        const QByteArrayView name = IniSyntax::keyName(inhalt(i));
        const qint32 kopf = kopfVon(i);
        auto& vorkommen = vorkommen_[kopf];
        if (vorkommen.isEmpty()) {
            const auto naechster = std::upper_bound(koepfe_.begin(), koepfe_.end(), kopf);
            const qint32 bis = naechster == koepfe_.end() ? anzahl() : *naechster;
            for (qint32 z = kopf + 1; z < bis; ++z)
                if (IniSyntax::classify(inhalt(z)) == LineKind::Key)
                    vorkommen[gefaltet(IniSyntax::keyName(inhalt(z)))].push_back(z);
        }
        const std::vector<qint32>& zeilen = vorkommen[gefaltet(name)];
        if (zeilen.size() < 2)
            return text(name);
        const auto nr = std::find(zeilen.begin(), zeilen.end(), i) - zeilen.begin() + 1;
        return QStringLiteral("%1 (%2. Vorkommen)").arg(text(name)).arg(nr);
    }

private:
    static qsizetype endeLaenge(QByteArrayView r) {
        if (r.endsWith('\n'))
            return r.size() >= 2 && r[r.size() - 2] == '\r' ? 2 : 1;
        return r.endsWith('\r') ? 1 : 0;
    }

    // CR LF, LF and a lone CR each end a line, as the editor and the engine read them.
    void teilen() {
        const char* d = text_.data();
        const qsizetype n = text_.size();
        anfaenge_.reserve(size_t(std::count(d, d + n, '\n') + 2)); // lone CRs are rare
        qsizetype start = 0;
        while (start < n) {
            anfaenge_.push_back(quint32(start));
            qsizetype p = start;
            while (p < n && IniSyntax::isBlank(d[p]))
                ++p;
            if (p < n && d[p] == '[')
                koepfe_.push_back(anzahl());
            const void* lf = std::memchr(d + p, '\n', size_t(n - p));
            const void* cr = std::memchr(
                d + p, '\r', size_t((lf ? static_cast<const char*>(lf) : d + n) - (d + p)));
            if (cr) {
                p = static_cast<const char*>(cr) - d + 1;
                if (p < n && d[p] == '\n')
                    ++p;
            } else {
                p = lf ? static_cast<const char*>(lf) - d + 1 : n;
            }
            start = p;
        }
        if (n == 0 && !bom_.isEmpty())
            anfaenge_.push_back(0); // the mark alone: one empty line carries it
        anfaenge_.push_back(quint32(n));
    }

    TextEncoding kodierung_;
    QByteArray bom_;
    QByteArray gehalten_;
    QByteArrayView text_;
    IniTextCodec codec_{true};
    std::vector<quint32> anfaenge_; // where each line starts, then the end
    std::vector<qint32> koepfe_;    // the section header lines
    mutable std::unordered_map<qint32, QHash<QByteArray, std::vector<qint32>>> vorkommen_;
};

// A stretch where the sides differ; `nurEnde`: the same text with another line end.
struct Block {
    qint32 a0, a1, b0, b1;
    bool nurEnde;
};

struct Abgleich {
    std::vector<Block> bloecke;
    bool durchgehend = false;
};

bool imGleichlauf(const Seite& a, const Seite& b, qint32 x, qint32 y) {
    for (qint32 t = 0; t < kGleichlauf; ++t) {
        const bool endeA = x + t == a.anzahl(), endeB = y + t == b.anzahl();
        if (endeA || endeB)
            return endeA && endeB;
        if (a.inhalt(x + t) != b.inhalt(y + t))
            return false;
    }
    return true;
}

// Where the sides agree again after parting at (i, j): the pair of lines nearest to it
// (fewest lines passed on both sides) from which kGleichlauf lines agree, looked up in
// a window that doubles until the answer is certain; both ends when there is none.
std::pair<qint32, qint32> treffpunkt(const Seite& a, const Seite& b, qint32 i, qint32 j) {
    for (qint64 w = 64;; w *= 2) {
        const qint32 limA = qint32(qMin<qint64>(a.anzahl(), i + w));
        const qint32 limB = qint32(qMin<qint64>(b.anzahl(), j + w));
        std::unordered_map<QByteArrayView, qint32, Hasher> erstes;
        std::vector<qint32> naechstes(size_t(limB - j), -1);
        erstes.reserve(size_t(limB - j));
        for (qint32 y = limB - 1; y >= j; --y) {
            auto [it, neu] = erstes.try_emplace(b.inhalt(y), y);
            if (!neu) {
                naechstes[size_t(y - j)] = it->second;
                it->second = y;
            }
        }
        qint64 best = qint64(a.anzahl() - i) + (b.anzahl() - j);
        std::pair<qint32, qint32> ziel{a.anzahl(), b.anzahl()};
        for (qint32 x = i; x < limA && x - i < best; ++x) {
            const auto it = erstes.find(a.inhalt(x));
            int schritte = 0;
            for (qint32 y = it == erstes.end() ? -1 : it->second;
                 y >= 0 && qint64(x - i) + (y - j) < best && ++schritte <= 64;
                 y = naechstes[size_t(y - j)]) {
                if (imGleichlauf(a, b, x, y)) {
                    best = qint64(x - i) + (y - j);
                    ziel = {x, y};
                    break;
                }
            }
        }
        if (best <= w || (limA == a.anzahl() && limB == b.anzahl()))
            return ziel;
    }
}

// The stretch [i, x) × [j, y), compared exactly where that is affordable.
void luecke(const Seite& a, const Seite& b, qint32 i, qint32 x, qint32 j, qint32 y, Abgleich& ab) {
    const qint64 m = x - i, n = y - j;
    if (m == 0 || n == 0 || (qMin(m, n) + 1) * (m + n + 1) > kAufwand) {
        ab.bloecke.push_back({i, x, j, y, false});
        if (m > 0 && n > 0 && m + n >= (qint64(a.anzahl()) + b.anzahl()) / 2)
            ab.durchgehend = true;
        return;
    }
    std::vector<QByteArrayView> sa, sb;
    sa.reserve(size_t(m));
    sb.reserve(size_t(n));
    for (qint32 z = i; z < x; ++z)
        sa.push_back(a.inhalt(z));
    for (qint32 z = j; z < y; ++z)
        sb.push_back(b.inhalt(z));
    dtl::Diff<QByteArrayView> d(sa, sb);
    d.compose();
    qint32 ia = i, ib = j, va = i, vb = j;
    const auto abschliessen = [&] {
        if (ia > va || ib > vb)
            ab.bloecke.push_back({va, ia, vb, ib, false});
    };
    for (const auto& e : d.getSes().getSequence()) {
        switch (e.second.type) {
        case dtl::SES_DELETE:
            ++ia;
            break;
        case dtl::SES_ADD:
            ++ib;
            break;
        default:
            abschliessen();
            if (a.ende(ia) != b.ende(ib))
                ab.bloecke.push_back({ia, ia + 1, ib, ib + 1, true});
            va = ++ia;
            vb = ++ib;
        }
    }
    abschliessen();
}

Abgleich angleichen(const Seite& a, const Seite& b) {
    Abgleich ab;
    qint32 i = 0, j = 0;
    for (;;) {
        while (i < a.anzahl() && j < b.anzahl() && a.inhalt(i) == b.inhalt(j)) {
            if (a.ende(i) != b.ende(j))
                ab.bloecke.push_back({i, i + 1, j, j + 1, true});
            ++i;
            ++j;
        }
        if (i == a.anzahl() && j == b.anzahl())
            return ab;
        const auto [x, y] = treffpunkt(a, b, i, j);
        luecke(a, b, i, x, j, y, ab);
        i = x;
        j = y;
    }
}

QByteArray diffZeile(const Seite& s, qint32 i, char zeichen) {
    QByteArray z;
    z += zeichen;
    if (i == 0 && !s.istUtf16())
        z += s.bom();
    z += s.roh(i);
    // A diff's lines end at LF: a file that does not end in one says so, as patch wants
    // it. (A lone CR inside the file ends a line here but not for patch.)
    if (!z.endsWith('\n') && i == s.anzahl() - 1)
        z += "\n\\ No newline at end of file\n";
    else if (!z.endsWith('\n'))
        z += '\n';
    return z;
}

// The unified diff: blocks nearer than twice the context share a hunk.
QByteArray unifiedDiff(const Seite& a, const Seite& b, const std::vector<Block>& bloecke,
                       const QString& name) {
    if (bloecke.empty())
        return {};
    const QByteArray n =
        name.isEmpty() ? QByteArray("Neue Datei") : QFileInfo(name).fileName().toUtf8();
    // A document that never had a file is compared with nothing, as diff -N does.
    QByteArray out =
        (name.isEmpty() && a.anzahl() == 0 ? QByteArray("--- /dev/null") : "--- a/" + n) +
        "\n+++ b/" + n + "\n";
    for (size_t k = 0; k < bloecke.size();) {
        size_t ende = k + 1;
        while (ende < bloecke.size() && bloecke[ende].a0 - bloecke[ende - 1].a1 <= 2 * kKontext)
            ++ende;
        const Block& erster = bloecke[k];
        const Block& letzter = bloecke[ende - 1];
        const qint32 vor = qMin(kKontext, erster.a0);
        const qint32 nach = qMin(kKontext, a.anzahl() - letzter.a1);
        const qint32 sa = erster.a0 - vor, sb = erster.b0 - vor;
        const qint32 la = letzter.a1 + nach - sa, lb = letzter.b1 + nach - sb;
        out += QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                   .arg(la ? sa + 1 : sa)
                   .arg(la)
                   .arg(lb ? sb + 1 : sb)
                   .arg(lb)
                   .toLatin1();
        qint32 z = sa;
        for (size_t m = k; m < ende; ++m) {
            const Block& bl = bloecke[m];
            for (; z < bl.a0; ++z)
                out += diffZeile(a, z, ' ');
            for (qint32 i = bl.a0; i < bl.a1; ++i)
                out += diffZeile(a, i, '-');
            for (qint32 i = bl.b0; i < bl.b1; ++i)
                out += diffZeile(b, i, '+');
            z = bl.a1;
        }
        for (; z < letzter.a1 + nach; ++z)
            out += diffZeile(a, z, ' ');
        k = ende;
    }
    return out;
}

QString endeName(QByteArrayView e) {
    if (e == "\r\n")
        return QStringLiteral("CR LF");
    if (e == "\n")
        return QStringLiteral("LF");
    if (e == "\r")
        return QStringLiteral("CR");
    return QStringLiteral("keins");
}

// Turns the blocks into changes in the user's terms, each with the lines it takes back.
class Beschreibung {
public:
    Beschreibung(const Seite& a, const Seite& b) : a_(a), b_(b) {}

    std::vector<Aenderung> aenderungen;
    std::vector<std::vector<Teil>> teile;

    void inhalt(const Block& bl) {
        const qint64 m = bl.a1 - bl.a0, n = bl.b1 - bl.b0;
        std::vector<QByteArray> sa, sb;
        if ((qMin(m, n) + 1) * (m + n + 1) <= kAufwand) {
            for (qint32 i = bl.a0; i < bl.a1; ++i)
                sa.push_back(kennung(a_, i));
            for (qint32 i = bl.b0; i < bl.b1; ++i)
                sb.push_back(kennung(b_, i));
        }
        if (sa.empty() || sb.empty()) {
            lauf(bl.a0, bl.a1, bl.b0, bl.b1);
            return;
        }
        // Lines of the same entry (a key's name, a section's name) are paired.
        dtl::Diff<QByteArray> d(sa, sb);
        d.compose();
        qint32 ia = bl.a0, ib = bl.b0, va = ia, vb = ib;
        for (const auto& e : d.getSes().getSequence()) {
            if (e.second.type == dtl::SES_DELETE) {
                ++ia;
            } else if (e.second.type == dtl::SES_ADD) {
                ++ib;
            } else {
                lauf(va, ia, vb, ib);
                paar(ia, ib);
                va = ++ia;
                vb = ++ib;
            }
        }
        lauf(va, ia, vb, ib);
    }

    void neu(Aenderung::Art art, QString sektion, QString schluessel, QString alt, QString neu,
             std::vector<Teil> t) {
        aenderungen.push_back(
            {art, std::move(sektion), std::move(schluessel), std::move(alt), std::move(neu)});
        teile.push_back(std::move(t));
    }

private:
    static QByteArray kennung(const Seite& s, qint32 i) {
        const QByteArrayView z = s.inhalt(i);
        switch (IniSyntax::classify(z)) {
        case LineKind::Section:
            return 'S' + s.gefaltet(IniSyntax::sectionName(z));
        case LineKind::Key:
            return 'K' + s.gefaltet(IniSyntax::keyName(z));
        default:
            return 'L' + z.toByteArray();
        }
    }

    static QString zeilentext(const Seite& s, qint32 i) {
        const QString t = s.text(s.inhalt(i));
        return t.isEmpty() ? QStringLiteral("(Leerzeile)") : t;
    }
    static QString wert(const Seite& s, qint32 i) {
        return s.text(IniSyntax::unquote(IniSyntax::splitKey(s.inhalt(i)).rawValue));
    }

    // The same entry on both sides, read otherwise now.
    void paar(qint32 i, qint32 j) {
        const LineKind ka = IniSyntax::classify(a_.inhalt(i));
        const LineKind kb = IniSyntax::classify(b_.inhalt(j));
        const std::vector<Teil> t{{i, i + 1, j, j + 1}};
        if (ka == LineKind::Section && kb == LineKind::Section) {
            const QString alt = a_.sektionVon(i), neu = b_.sektionVon(j);
            if (alt != neu)
                return this->neu(Aenderung::Art::Umbenannt, alt, QString(), alt, neu, t);
        } else if (ka == LineKind::Key && kb == LineKind::Key) {
            const QString sektion = b_.sektionVon(j);
            const QString alt = IniSyntax::keyName(a_.inhalt(i)) == IniSyntax::keyName(b_.inhalt(j))
                                    ? QString()
                                    : a_.text(IniSyntax::keyName(a_.inhalt(i)));
            if (!alt.isEmpty() && wert(a_, i) == wert(b_, j))
                return neu(Aenderung::Art::Umbenannt, sektion, a_.schluesselName(i), alt,
                           b_.text(IniSyntax::keyName(b_.inhalt(j))), t);
            if (alt.isEmpty() && wert(a_, i) != wert(b_, j))
                return neu(Aenderung::Art::Geaendert, sektion, b_.schluesselName(j), wert(a_, i),
                           wert(b_, j), t);
            return neu(Aenderung::Art::Geaendert, sektion, b_.schluesselName(j), zeilentext(a_, i),
                       zeilentext(b_, j), t);
        }
        neu(Aenderung::Art::Geaendert, b_.sektionVon(j), QString(), zeilentext(a_, i),
            zeilentext(b_, j), t);
    }

    // Lines only one side has between paired ones: one line each way is that line
    // changed (a rename, when both name a section or a key); otherwise what went, by
    // section, then what came.
    void lauf(qint32 a0, qint32 a1, qint32 b0, qint32 b1) {
        if (a1 - a0 == 1 && b1 - b0 == 1)
            return paar(a0, b0);
        einseitig(
            a_, a0, a1,
            [&](qint32 von, qint32 bis) {
                return Teil{von, bis, b0, b0};
            },
            Aenderung::Art::Entfernt);
        einseitig(
            b_, b0, b1,
            [&](qint32 von, qint32 bis) {
                return Teil{a1, a1, von, bis};
            },
            Aenderung::Art::Hinzugefuegt);
    }

    template <typename MachTeil>
    void einseitig(const Seite& s, qint32 von, qint32 bis, MachTeil machTeil, Aenderung::Art art) {
        const bool weg = art == Aenderung::Art::Entfernt;
        for (qint32 i = von; i < bis;) {
            LineKind k = IniSyntax::classify(s.inhalt(i));
            // Blank and comment lines right before a section header go with it.
            qint32 kopf = i;
            while (kopf < bis && k != LineKind::Section && k != LineKind::Key)
                k = ++kopf < bis ? IniSyntax::classify(s.inhalt(kopf)) : k;
            if (kopf < bis && k == LineKind::Section) {
                // A section with its lines, as far as they went or came with it.
                qint32 ende = kopf + 1, schluessel = 0;
                for (; ende < bis && IniSyntax::classify(s.inhalt(ende)) != LineKind::Section;
                     ++ende)
                    schluessel += IniSyntax::classify(s.inhalt(ende)) == LineKind::Key;
                const QString inhalt =
                    schluessel ? QStringLiteral("%1 Schlüssel").arg(schluessel) : QString();
                neu(art, s.sektionVon(kopf), QString(), weg ? inhalt : QString(),
                    weg ? QString() : inhalt, {machTeil(i, ende)});
                i = ende;
                continue;
            }
            // Each line up to the key (or the end) on its own, the key too.
            for (const qint32 bisZeile = qMin(bis, kopf + 1); i < bisZeile; ++i) {
                const bool istSchluessel = IniSyntax::classify(s.inhalt(i)) == LineKind::Key;
                const QString schluessel = istSchluessel ? s.schluesselName(i) : QString();
                const QString inhalt = istSchluessel ? wert(s, i) : zeilentext(s, i);
                neu(art, s.sektionVon(i), schluessel, weg ? inhalt : QString(),
                    weg ? QString() : inhalt, {machTeil(i, i + 1)});
            }
        }
    }

    const Seite& a_;
    const Seite& b_;
};

} // namespace

Aenderungsvergleich Aenderungsvergleich::vergleichen(QByteArrayView alt, QByteArrayView neu,
                                                     const QString& dateiname) {
    Aenderungsvergleich v;
    const Seite a(alt), b(neu);
    const Abgleich ab = angleichen(a, b);
    const QString ganzeDatei = QStringLiteral("(ganze Datei)");

    Beschreibung beschreibung(a, b);
    if (a.bom() != b.bom()) {
        const auto art = a.bom().isEmpty()   ? Aenderung::Art::Hinzugefuegt
                         : b.bom().isEmpty() ? Aenderung::Art::Entfernt
                                             : Aenderung::Art::Geaendert;
        const auto name = [](const Seite& s) {
            return s.bom().isEmpty() ? QString() : TextCodec::displayName(s.kodierung());
        };
        beschreibung.neu(art, ganzeDatei, QStringLiteral("Byte-Order-Mark (BOM)"), name(a), name(b),
                         {});
    }

    if (ab.durchgehend) {
        beschreibung.neu(Aenderung::Art::Geaendert, ganzeDatei,
                         QStringLiteral("Die Datei wurde durchgehend geändert."),
                         QStringLiteral("%1 Zeilen").arg(a.anzahl()),
                         QStringLiteral("%1 Zeilen").arg(b.anzahl()),
                         {{0, a.anzahl(), 0, b.anzahl()}});
        v.durchgehend_ = true;
    } else {
        std::vector<Teil> enden;
        QString endenAlt, endenNeu;
        for (const Block& bl : ab.bloecke) {
            if (!bl.nurEnde) {
                beschreibung.inhalt(bl);
                continue;
            }
            const QByteArrayView ea = a.ende(bl.a0), eb = b.ende(bl.b0);
            const bool letzte = bl.a1 == a.anzahl() && bl.b1 == b.anzahl();
            if (letzte && (ea.isEmpty() || eb.isEmpty())) {
                beschreibung.neu(
                    ea.isEmpty() ? Aenderung::Art::Hinzugefuegt : Aenderung::Art::Entfernt,
                    ganzeDatei, QStringLiteral("Zeilenende am Dateiende"),
                    ea.isEmpty() ? QString() : endeName(ea),
                    eb.isEmpty() ? QString() : endeName(eb), {{bl.a0, bl.a1, bl.b0, bl.b1}});
                continue;
            }
            const auto merken = [](QString& alle, const QString& diese) {
                if (alle.isEmpty())
                    alle = diese;
                else if (alle != diese)
                    alle = QStringLiteral("gemischt");
            };
            merken(endenAlt, endeName(ea));
            merken(endenNeu, endeName(eb));
            enden.push_back({bl.a0, bl.a1, bl.b0, bl.b1});
        }
        if (!enden.empty()) {
            const QString anzahl = QStringLiteral(" (%1 Zeilen)").arg(enden.size());
            beschreibung.neu(Aenderung::Art::Geaendert, ganzeDatei, QStringLiteral("Zeilenenden"),
                             endenAlt + anzahl, endenNeu + anzahl, std::move(enden));
        }
    }
    v.aenderungen_ = std::move(beschreibung.aenderungen);
    v.teile_ = std::move(beschreibung.teile);
    v.bomZeile_ = a.bom() != b.bom() ? 0 : -1; // the mark's change comes first

    // The mark stands on the first line of each side: the diff shows it there, so a
    // first line that is otherwise the same is shown as changed.
    std::vector<Block> bloecke = ab.bloecke;
    if (a.bom() != b.bom() && !a.istUtf16() && !b.istUtf16() && a.anzahl() && b.anzahl()) {
        if (bloecke.empty() || bloecke.front().a0 > 0) {
            bloecke.insert(bloecke.begin(), Block{0, 1, 0, 1, true});
        } else if (Block& f = bloecke.front();
                   (f.a1 == 0 || f.b1 == 0) && f.a1 < a.anzahl() && f.b1 < b.anzahl()) {
            ++f.a1; // with the pair after it, which may be a block of its own
            ++f.b1;
            if (bloecke.size() > 1 && bloecke[1].a0 == f.a1 - 1)
                bloecke.erase(bloecke.begin() + 1);
        }
    }
    v.diff_ = unifiedDiff(a, b, bloecke, dateiname);
    return v;
}

QByteArray Aenderungsvergleich::zuruecknehmen(QByteArrayView alt, QByteArrayView neu,
                                              int index) const {
    const Seite a(alt), b(neu);
    const bool bom = index == bomZeile_;
    QByteArray text;
    text.reserve(neu.size() + 64);
    if (!b.istUtf16())
        text += bom ? a.bom() : b.bom();
    qint32 j = 0;
    for (const Teil& t : teile_[size_t(index)]) {
        for (; j < t.neuVon; ++j)
            text += b.roh(j);
        for (qint32 i = t.altVon; i < t.altBis; ++i)
            text += a.roh(i);
        j = t.neuBis;
    }
    for (; j < b.anzahl(); ++j)
        text += b.roh(j);
    if (!b.istUtf16())
        return text;
    // A UTF-16 file was compared as its text: back into its encoding, with its mark.
    const Seite& ziel = bom ? a : b;
    const auto kodiert = TextCodec::encode(QString::fromUtf8(text), ziel.kodierung());
    return ziel.bom() + kodiert.value_or(QByteArray());
}

} // namespace ravik
