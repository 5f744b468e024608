// The command line: one command on one INI file, through the engine the window uses and
// its save (atomic, owner and permissions kept, links followed), under a lock.
#include "cli/Befehlszeile.h"

#include "cli/Dateisperre.h"
#include "cli/UnifiedDiff.h"
#include "cli/Vorkommen.h"

#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/ini/IniDocument.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>

namespace ravik::cli {

namespace {

constexpr int kWartezeitMs = 10000; // for the lock another command holds

// --- the terminal's encoding ---------------------------------------------------------

QByteArray terminalZeichensatz() {
    static const QByteArray satz = [] {
        std::setlocale(LC_CTYPE, "");
        return QByteArray(nl_langinfo(CODESET));
    }();
    return satz;
}

// The plain C locale (a script under cron, LANG unset) names ASCII; its bytes pass
// through as UTF-8, as they would without this program, rather than becoming '?'.
bool terminalIstUtf8() {
    const QByteArray satz = terminalZeichensatz().toUpper();
    return satz == "UTF-8" || satz == "UTF8" || satz == "ANSI_X3.4-1968" || satz == "ASCII";
}

QByteArray umwandeln(const QByteArray& text, const char* nach, const char* von) {
    iconv_t cd = iconv_open(nach, von);
    if (cd == iconv_t(-1))
        return text;
    QByteArray ergebnis;
    QByteArray eingabe = text;
    char* ein = eingabe.data();
    size_t einRest = size_t(eingabe.size());
    char puffer[4096];
    while (einRest > 0) {
        char* aus = puffer;
        size_t ausRest = sizeof puffer;
        const size_t r = iconv(cd, &ein, &einRest, &aus, &ausRest);
        ergebnis.append(puffer, qsizetype(sizeof puffer - ausRest));
        if (r == size_t(-1) && errno != E2BIG) { // a character the terminal cannot show
            ergebnis.append('?');
            ++ein;
            --einRest;
        }
    }
    iconv_close(cd);
    return ergebnis;
}

QByteArray fuerTerminal(const QString& text) {
    if (terminalIstUtf8())
        return text.toUtf8();
    return umwandeln(text.toUtf8(), (terminalZeichensatz() + "//TRANSLIT").constData(), "UTF-8");
}

QString ausTerminal(const QByteArray& text) {
    if (terminalIstUtf8())
        return QString::fromUtf8(text);
    return QString::fromUtf8(umwandeln(text, "UTF-8", terminalZeichensatz().constData()));
}

// --- the call --------------------------------------------------------------------------

enum class Befehl { Keiner, Get, Set, Del, List, Exists, Hilfe, Version };
enum class Format { Standard, Value, Lines, Ini, Json };

struct Auftrag {
    Befehl befehl = Befehl::Keiner;
    QStringList positionen; // FILE SECTION KEY VALUE
    bool alle = false;
    int index = 0; // 1 = the first occurrence; 0: not given
    bool sicherung = false;
    bool probe = false;
    bool diff = false;
    Format format = Format::Standard;
};

Befehl befehlFuer(const QString& a) {
    if (a == u"--get") return Befehl::Get;
    if (a == u"--set") return Befehl::Set;
    if (a == u"--del") return Befehl::Del;
    if (a == u"--list") return Befehl::List;
    if (a == u"--exists") return Befehl::Exists;
    if (a == u"--help") return Befehl::Hilfe;
    if (a == u"--version") return Befehl::Version;
    return Befehl::Keiner;
}

struct Fehlaufruf {
    QString text;
};

Auftrag lesen(const QStringList& argumente) {
    Auftrag auftrag;
    bool optionenVorbei = false;
    for (int i = 0; i < argumente.size(); ++i) {
        const QString& a = argumente[i];
        if (optionenVorbei || !a.startsWith(u"--")) {
            auftrag.positionen << a;
            continue;
        }
        if (a == u"--") {
            optionenVorbei = true;
            continue;
        }
        if (const Befehl b = befehlFuer(a); b != Befehl::Keiner) {
            if (auftrag.befehl != Befehl::Keiner && auftrag.befehl != b)
                throw Fehlaufruf{QStringLiteral("Nur ein Befehl auf einmal.")};
            auftrag.befehl = b;
        } else if (a == u"--all") {
            auftrag.alle = true;
        } else if (a == u"--backup") {
            auftrag.sicherung = true;
        } else if (a == u"--dry-run") {
            auftrag.probe = true;
        } else if (a == u"--diff") {
            auftrag.diff = true;
        } else if (a == u"--index" || a.startsWith(u"--index=")) {
            QString zahl = a.mid(8);
            if (a == u"--index") {
                if (++i >= argumente.size())
                    throw Fehlaufruf{QStringLiteral("--index braucht eine Zahl.")};
                zahl = argumente[i];
            }
            bool ok = false;
            auftrag.index = zahl.toInt(&ok);
            if (!ok || auftrag.index < 1)
                throw Fehlaufruf{QStringLiteral("--index braucht eine Zahl ab 1, nicht „%1“.").arg(zahl)};
        } else if (a.startsWith(u"--format=") || a == u"--format") {
            QString f = a.mid(9);
            if (a == u"--format") {
                if (++i >= argumente.size())
                    throw Fehlaufruf{QStringLiteral("--format braucht value, lines, ini oder json.")};
                f = argumente[i];
            }
            if (f == u"value") auftrag.format = Format::Value;
            else if (f == u"lines") auftrag.format = Format::Lines;
            else if (f == u"ini") auftrag.format = Format::Ini;
            else if (f == u"json") auftrag.format = Format::Json;
            else throw Fehlaufruf{QStringLiteral("Unbekanntes Format „%1“ (value, lines, ini, json).").arg(f)};
        } else {
            throw Fehlaufruf{QStringLiteral("Unbekannte Option „%1“.").arg(a)};
        }
    }
    const qsizetype n = auftrag.positionen.size();
    const auto anzahl = [&](qsizetype von, qsizetype bis) {
        if (n < von || n > bis)
            throw Fehlaufruf{n < von ? QStringLiteral("Zu wenige Argumente.")
                                     : QStringLiteral("Zu viele Argumente.")};
    };
    switch (auftrag.befehl) {
    case Befehl::Keiner: throw Fehlaufruf{QStringLiteral("Kein Befehl angegeben.")};
    case Befehl::Hilfe:
    case Befehl::Version: anzahl(0, 0); break;
    case Befehl::Get: anzahl(3, 3); break;
    case Befehl::Set: anzahl(4, 4); break;
    case Befehl::Del:
    case Befehl::Exists: anzahl(2, 3); break;
    case Befehl::List: anzahl(1, 2); break;
    }
    const bool schreibt = auftrag.befehl == Befehl::Set || auftrag.befehl == Befehl::Del;
    if ((auftrag.sicherung || auftrag.probe || auftrag.diff) && !schreibt)
        throw Fehlaufruf{QStringLiteral("--backup, --dry-run und --diff gelten nur für --set und --del.")};
    if ((auftrag.alle || auftrag.index) && !(schreibt || auftrag.befehl == Befehl::Get))
        throw Fehlaufruf{QStringLiteral("--all und --index gelten nur für --get, --set und --del.")};
    if (auftrag.alle && auftrag.index)
        throw Fehlaufruf{QStringLiteral("--all und --index schließen einander aus.")};
    if (auftrag.befehl == Befehl::Del && n == 2 && (auftrag.alle || auftrag.index))
        throw Fehlaufruf{QStringLiteral("--all und --index gelten nur für einen Schlüssel.")};
    return auftrag;
}

// --- output ----------------------------------------------------------------------------

struct Ausgabe {
    QByteArray& aus;
    QByteArray& fehler;
    int melden(int ende, const QString& text) {
        fehler += fuerTerminal(QStringLiteral("ravik: ") + text + u'\n');
        return ende;
    }
    void zeile(const QString& text) { aus += fuerTerminal(text + u'\n'); }
    void json(const QJsonValue& wert) {
        const QJsonDocument doc = wert.isArray()    ? QJsonDocument(wert.toArray())
                                  : wert.isObject() ? QJsonDocument(wert.toObject())
                                                    : QJsonDocument(QJsonArray{wert});
        QByteArray text = doc.toJson(QJsonDocument::Compact);
        if (!wert.isArray() && !wert.isObject())
            text = text.mid(1, text.size() - 2); // a lone value, not in brackets
        aus += fuerTerminal(QString::fromUtf8(text) + u'\n');
    }
};

// Keys with their values, as the format asks.
void paareAusgeben(Ausgabe& ausgabe, Format format, const QString& sektion,
                   const QList<std::pair<QString, QString>>& paare, bool einzeln) {
    switch (format) {
    case Format::Standard:
    case Format::Value:
        for (const auto& p : paare)
            ausgabe.zeile(p.second);
        return;
    case Format::Ini:
        ausgabe.zeile(u'[' + sektion + u']');
        [[fallthrough]];
    case Format::Lines:
        for (const auto& p : paare)
            ausgabe.zeile(p.first + u'=' + p.second);
        return;
    case Format::Json:
        if (einzeln) {
            ausgabe.json(paare.constFirst().second);
        } else if (paare.isEmpty() || paare.constFirst().first.isNull()) {
            QJsonArray werte;
            for (const auto& p : paare)
                werte.append(p.second);
            ausgabe.json(werte);
        } else {
            QJsonObject objekt; // a repeated key: its last value, as --get gives it
            for (const auto& p : paare)
                objekt.insert(p.first, p.second);
            ausgabe.json(objekt);
        }
        return;
    }
}

// --- reading ---------------------------------------------------------------------------

struct NichtAlsIni {
    QString grund;
};

// The engine's whole document is built only for what needs it (the list of sections,
// a new key or section, a removal): a value read or changed in place is found by one
// pass over the bytes, which on a large file is most of the command's time.
struct Gelesen {
    QByteArray bytes;
    bool vorhanden = false;
    std::unique_ptr<IniDocument> dokument;
    // Raises NichtAlsIni when the engine refuses the file (too large to index).
    IniDocument& engine() {
        if (!dokument) {
            try {
                dokument = bytes.isEmpty() ? std::make_unique<IniDocument>() : std::make_unique<IniDocument>(bytes);
            } catch (const RavikError& e) {
                throw NichtAlsIni{e.message()};
            }
        }
        return *dokument;
    }
};

Gelesen dateiLesen(const QString& pfad) {
    Gelesen g;
    auto bytes = FileIO::readAllIfExists(pfad); // EFOpenError for what cannot be read
    g.vorhanden = bytes.has_value();
    if (bytes)
        g.bytes = std::move(*bytes);
    return g;
}

QString anzeigename(const QString& pfad) {
    return QFileInfo(pfad).absoluteFilePath();
}

int lesenderBefehl(const Auftrag& a, Ausgabe& ausgabe) {
    const QString& pfad = a.positionen[0];
    Gelesen g;
    try {
        g = dateiLesen(pfad);
    } catch (const RavikError& e) {
        return ausgabe.melden(NichtLesbar, e.message());
    }
    if (!g.vorhanden) {
        if (a.befehl == Befehl::Exists)
            return NichtGefunden;
        return ausgabe.melden(NichtGefunden, QStringLiteral("Die Datei %1 gibt es nicht.").arg(anzeigename(pfad)));
    }
    if (a.befehl == Befehl::List && a.positionen.size() == 1) {
        const QStringList namen = g.engine().sectionNames();
        QList<std::pair<QString, QString>> paare;
        for (const QString& name : namen)
            paare.append({QString(), name});
        if (a.format == Format::Ini || a.format == Format::Lines) {
            for (const QString& name : namen)
                ausgabe.zeile(a.format == Format::Ini ? u'[' + name + u']' : name);
        } else {
            paareAusgeben(ausgabe, a.format, QString(), paare, false);
        }
        return Erledigt;
    }
    const QString& sektion = a.positionen[1];
    const QString schluessel = a.positionen.value(2);
    const Vorkommen vorkommen(g.bytes);
    const auto zeilen = vorkommen.schluessel(sektion, schluessel);
    if (!zeilen)
        return NichtGefunden;
    if (a.befehl == Befehl::Exists)
        return a.positionen.size() == 2 || !zeilen->empty() ? Erledigt : NichtGefunden;

    QList<std::pair<QString, QString>> paare;
    for (const auto& z : *zeilen)
        paare.append({vorkommen.name(z), vorkommen.wert(z)});
    if (a.befehl == Befehl::List) {
        paareAusgeben(ausgabe, a.format == Format::Standard ? Format::Lines : a.format, sektion, paare, false);
        return Erledigt;
    }
    // --get: the last occurrence, every one with --all, the given one with --index.
    if (paare.isEmpty())
        return NichtGefunden;
    if (a.index) {
        if (a.index > paare.size())
            return NichtGefunden;
        paare = {paare[a.index - 1]};
    } else if (!a.alle) {
        paare = {paare.constLast()};
    }
    if (a.format == Format::Json && a.alle) {
        for (auto& p : paare)
            p.first = QString(); // every value of one key: a list
    }
    paareAusgeben(ausgabe, a.format, sektion, paare, !a.alle);
    return Erledigt;
}

// --- writing ---------------------------------------------------------------------------

int schreibenderBefehl(const Auftrag& a, Ausgabe& ausgabe) {
    const QString& pfad = a.positionen[0];
    const QString& sektion = a.positionen[1];
    const QString schluessel = a.positionen.value(2);
    const QString angezeigt = anzeigename(pfad);

    Dateisperre sperre;
    if (!a.probe) {
        switch (sperre.sperren(pfad, a.befehl == Befehl::Set, kWartezeitMs)) {
        case Dateisperre::Ergebnis::Gesperrt: break;
        case Dateisperre::Ergebnis::Fehlt:
            return ausgabe.melden(NichtGefunden, QStringLiteral("Die Datei %1 gibt es nicht.").arg(angezeigt));
        case Dateisperre::Ergebnis::Belegt:
            return ausgabe.melden(Gesperrt, QStringLiteral("Die Datei %1 ist gesperrt: Ein anderer Befehl "
                                                           "ändert sie gerade.").arg(angezeigt));
        case Dateisperre::Ergebnis::Fehler:
            return ausgabe.melden(NichtLesbar, QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                                                   .arg(angezeigt, sperre.grund()));
        }
    }
    // A file created for the lock goes again when the command writes nothing.
    struct Aufraeumen {
        Dateisperre& s;
        bool geschrieben = false;
        ~Aufraeumen() { if (!geschrieben) s.verwerfen(); }
    } aufraeumen{sperre};

    const Dateistand vorher = Dateistand::von(pfad);
    Gelesen g;
    try {
        g = dateiLesen(pfad);
    } catch (const RavikError& e) {
        return ausgabe.melden(NichtLesbar, e.message());
    }
    if (!g.vorhanden && a.befehl == Befehl::Del)
        return ausgabe.melden(NichtGefunden, QStringLiteral("Die Datei %1 gibt es nicht.").arg(angezeigt));
    const Vorkommen vorkommen(g.bytes);
    QByteArray neu;
    try {
        if (a.befehl == Befehl::Set) {
            // The refusals depend on the text and the file's encoding only.
            const IniDocument pruefer(QByteArray(), vorkommen.kodierung());
            const QString& wert = a.positionen[3];
            for (const QString& grund : {pruefer.sectionNameRefusal(sektion), pruefer.keyNameRefusal(schluessel),
                                         pruefer.valueRefusal(wert)})
                if (!grund.isEmpty())
                    return ausgabe.melden(FalscherAufruf, grund);
        }
        const auto zeilen = vorkommen.schluessel(sektion, schluessel);
        const qsizetype anzahl = zeilen ? qsizetype(zeilen->size()) : 0;
        if (a.befehl == Befehl::Del && (!zeilen || (!schluessel.isEmpty() && anzahl == 0)))
            return ausgabe.melden(NichtGefunden,
                                  schluessel.isEmpty()
                                      ? QStringLiteral("Die Sektion [%1] gibt es nicht.").arg(sektion)
                                      : QStringLiteral("Den Schlüssel %1 gibt es in [%2] nicht.").arg(schluessel, sektion));
        if (a.index > qMax<qsizetype>(anzahl, a.befehl == Befehl::Set ? 1 : 0))
            return ausgabe.melden(NichtGefunden, QStringLiteral("Der Schlüssel %1 kommt in [%2] nur %3-mal vor.")
                                                     .arg(schluessel, sektion).arg(anzahl));
        if (!schluessel.isEmpty() && anzahl > 1 && !a.alle && !a.index)
            return ausgabe.melden(Mehrdeutig, QStringLiteral("Der Schlüssel %1 kommt in [%2] %3-mal vor; "
                                                             "--all oder --index N sagt, welcher gemeint ist.")
                                                  .arg(schluessel, sektion).arg(anzahl));
        // A value changed in place, and a given occurrence removed: line by line, by the
        // engine's rules for the line. Whatever adds or removes more: the engine.
        const bool zeilenweise = anzahl > 0 && (a.befehl == Befehl::Set || a.index);
        if (zeilenweise) {
            std::vector<Vorkommen::Ersetzung> ersetzungen;
            for (qsizetype i = 0; i < anzahl; ++i) {
                if (a.index && i != a.index - 1)
                    continue;
                const auto& z = (*zeilen)[size_t(i)];
                if (a.befehl == Befehl::Del)
                    ersetzungen.push_back({z, std::nullopt});
                else if (auto zeile = vorkommen.mitWert(z, a.positionen[3]))
                    ersetzungen.push_back({z, std::move(zeile)});
                else // refused above already; never taken for a removal
                    throw EIniFileException(QStringLiteral("Der Wert lässt sich in dieser Datei nicht schreiben."));
            }
            neu = vorkommen.ersetzt(ersetzungen);
        } else {
            IniDocument& doc = g.engine();
            if (a.befehl == Befehl::Set)
                doc.setValue(sektion, schluessel, a.positionen[3]);
            else if (schluessel.isEmpty())
                doc.removeSection(sektion);
            else
                doc.removeKey(sektion, schluessel);
            neu = doc.isModified() ? doc.toBytes() : g.bytes;
        }
    } catch (const RavikError& e) {
        return ausgabe.melden(FalscherAufruf, e.message());
    }

    const bool aendert = neu != g.bytes;
    if (a.diff && aendert) {
        const auto diff = unifiedDiff(g.bytes, neu, QFileInfo(pfad).fileName());
        if (!diff)
            return ausgabe.melden(FalscherAufruf, QStringLiteral("--diff kann dieses Programm nicht anzeigen."));
        ausgabe.aus += *diff;
    }
    if (!aendert)
        return Erledigt; // nothing changes: nothing is written
    if (a.probe)
        return Erledigt;
    if (!(Dateistand::von(pfad) == vorher))
        return ausgabe.melden(Gesperrt, QStringLiteral("Die Datei %1 wurde während des Befehls geändert; "
                                                       "nichts geschrieben.").arg(angezeigt));
    QString kopie;
    if (a.sicherung && g.vorhanden) {
        try {
            kopie = Dokument::sicherheitskopieAnlegen(pfad);
        } catch (const RavikError& e) {
            return ausgabe.melden(SchreibenFehlgeschlagen, e.message());
        }
    }
    const auto fehler = FileIO::save(
        pfad, [&](const FileIO::PieceWriter& schreiben) { schreiben(neu); }, {kopie});
    if (fehler)
        return ausgabe.melden(SchreibenFehlgeschlagen,
                              QStringLiteral("In %1 kann nicht geschrieben werden: %2").arg(angezeigt, fehler->reason));
    aufraeumen.geschrieben = true;
    return Erledigt;
}

template <typename Ausfuehrung> int alsIni(const Auftrag& a, Ausgabe& ausgabe, Ausfuehrung&& befehl) {
    try {
        return befehl(a, ausgabe);
    } catch (const NichtAlsIni& f) {
        return ausgabe.melden(NichtLesbar, QStringLiteral("Die Datei %1 lässt sich nicht als INI-Datei lesen: %2")
                                               .arg(anzeigename(a.positionen[0]), f.grund));
    }
}

} // namespace

QByteArray aufruf() {
    return fuerTerminal(QStringLiteral(
        "Aufruf: ravik [DATEI]                       öffnet DATEI im Fenster\n"
        "        ravik -- DATEI                      auch eine DATEI, die mit - beginnt\n"
        "        ravik --get    DATEI SEKTION SCHLÜSSEL\n"
        "        ravik --set    DATEI SEKTION SCHLÜSSEL WERT\n"
        "        ravik --del    DATEI SEKTION [SCHLÜSSEL]\n"
        "        ravik --list   DATEI [SEKTION]\n"
        "        ravik --exists DATEI SEKTION [SCHLÜSSEL]\n"
        "        ravik --help | --version\n"
        "Optionen:\n"
        "  --all          jedes Vorkommen eines mehrfachen Schlüssels\n"
        "  --index N      das N-te Vorkommen (ab 1)\n"
        "  --backup       vor dem Schreiben DATEI.bak anlegen\n"
        "  --dry-run      nichts schreiben\n"
        "  --diff         die Änderung als Unified Diff zeigen\n"
        "  --format=value|lines|ini|json\n"
        "Exit-Status: 0 erledigt, 1 nicht gefunden, 2 falscher Aufruf, 3 Datei nicht als INI\n"
        "lesbar, 4 Schreiben fehlgeschlagen, 5 mehrdeutig, 6 gesperrt oder während des Befehls geändert.\n"));
}

QString argument(const char* text) {
    return ausTerminal(QByteArray(text));
}

bool istBefehl(const QStringList& argumente) {
    for (const QString& a : argumente) {
        if (a == u"--")
            return false;
        // Any other "--word" is this command line's too (Qt's own options are spelled
        // with one dash): a wrong one is refused here, without a display.
        if (a.startsWith(u"--"))
            return true;
    }
    return false;
}

int ausfuehren(const QStringList& argumente, QByteArray& aus, QByteArray& fehler) {
    Ausgabe ausgabe{aus, fehler};
    Auftrag auftrag;
    try {
        auftrag = lesen(argumente);
    } catch (const Fehlaufruf& f) {
        ausgabe.melden(FalscherAufruf, f.text);
        fehler += aufruf();
        return FalscherAufruf;
    }
    switch (auftrag.befehl) {
    case Befehl::Hilfe:
        aus += aufruf();
        return Erledigt;
    case Befehl::Version:
        aus += QByteArrayLiteral("ravik " RAVIK_VERSION "\n");
        return Erledigt;
    case Befehl::Set:
    case Befehl::Del:
        return alsIni(auftrag, ausgabe, schreibenderBefehl);
    default:
        return alsIni(auftrag, ausgabe, lesenderBefehl);
    }
}

} // namespace ravik::cli
