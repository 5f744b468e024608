#include "core/document/Dokument.h"
#include "core/document/Systemdatei.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"
#include "core/platform/ini/IniDocument.h"

#include <QFileInfo>
#include <new>
#include <utility>

namespace ravik {

namespace {

constexpr int kMeldenAlle = 0x1000; // rows between two progress reports

QString nichtGenugSpeicher() {
    return QStringLiteral("Nicht genügend Arbeitsspeicher.");
}

// What showing a loaded table may come to cost beside it: the tree view's record of
// every section once the user has scrolled to the end (about 40 bytes, in a list that
// grows to twice that), and the table's names, runs and index of names written down at
// the first edit (about 20 bytes).
constexpr qsizetype kAnzeigeJeSektion = 96;

} // namespace

Dokument::Dokument(QObject* parent) : QObject(parent), text_(std::make_unique<IniDocument>()) {}

Dokument::~Dokument() = default;

void Dokument::setName(const QString& name) {
    if (name == name_)
        return;
    name_ = name;
    emit nameGeaendert(name_);
}

void Dokument::statusSetzen(Dateistatus status) {
    status_ = status;
    emit statusGesetzt(status_);
}

void Dokument::bearbeitet() {
    statusSetzen(Dateistatus::Geaendert);
}

void Dokument::eintragHinzugefuegt() {
    statusSetzen(Dateistatus::Geaendert2);
}

void Dokument::alsGespeichertAnsehen() {
    statusSetzen(Dateistatus::Gespeichert);
}

void Dokument::leeren() {
    tabelle_.leeren(); // before the text its names may point into
    text_ = std::make_unique<IniDocument>();
    kodierung_ = TextEncoding::Utf8;
    zeilenende_ = EolStyle::CrLf;
    setDateistempel(Dateistempel());
}

void Dokument::textFreigeben() {
    tabelle_.nurSektionenBehalten(); // copies the names out of the text first
    text_ = std::make_unique<IniDocument>();
}

QString Dokument::kommentar(const QString& sektion, const QString& schluessel) const {
    return kommentar(tabelle_.sektionsIdVon(sektion), schluessel);
}

QString Dokument::kommentar(int sektionsId, const QString& schluessel) const {
    const std::vector<int> zeilen = tabelle_.zeilenMit(sektionsId, schluessel);
    for (auto it = zeilen.rbegin(); it != zeilen.rend(); ++it) {
        if (tabelle_.istGeloescht(*it))
            continue;
        const auto herkunft = tabelle_.herkunft(*it);
        return herkunft ? text_->commentAbove(herkunft->sektion, herkunft->schluessel) : QString();
    }
    return {};
}

std::unique_ptr<IniDocument> Dokument::uebernehmeText() {
    tabelle_.nurSektionenBehalten(); // its names no longer point into the text handed over
    auto text = std::move(text_);
    text_ = std::make_unique<IniDocument>();
    return text;
}

std::unique_ptr<IniDocument> Dokument::dateiLesen(const QString& pfad, Dateistempel* stempel) {
    const QFileInfo info(pfad);
    const QString angezeigt = info.absoluteFilePath();
    if (info.isFile() && info.size() > kMaxBytes)
        throw EFOpenError(angezeigt, QStringLiteral("Die Datei ist %1 MB groß; die Browseransicht "
                                                    "lädt höchstens %2 MB.")
                                         .arg(info.size() / (1024 * 1024))
                                         .arg(kMaxBytes / (1024 * 1024)));
    try {
        Dateistempel gelesen = Dateistempel::vorLesen(pfad);
        std::optional<QByteArray> bytes = Systemdatei::lesen(pfad);
        if (!bytes) {
            bytes = FileIO::readAllIfExists(pfad);
            if (bytes)
                Systemdatei::geladen(pfad, *bytes);
        }
        if (bytes)
            gelesen.inhaltSetzen(*bytes);
        if (stempel)
            *stempel = std::move(gelesen);
        if (!bytes)
            return std::make_unique<IniDocument>();
        return std::make_unique<IniDocument>(std::move(*bytes));
    } catch (const EIniFileException& zuGross) {
        throw EFOpenError(angezeigt, zuGross.message());
    } catch (const std::bad_alloc&) {
        throw EFOpenError(angezeigt, nichtGenugSpeicher());
    }
}

std::unique_ptr<IniDocument> Dokument::textAusEditor(QByteArrayView utf8) const {
    if (kodierung_ != TextEncoding::Windows1252)
        return std::make_unique<IniDocument>(utf8.toByteArray(), kodierung_);
    const auto bytes = TextCodec::encodeWindows1252(TextCodec::decode(utf8, TextEncoding::Utf8));
    if (!bytes)
        throw RavikError(QStringLiteral("Der Text enthält Zeichen, die in der Kodierung %1 nicht "
                                        "darstellbar sind.")
                             .arg(TextCodec::displayName(kodierung_)));
    return std::make_unique<IniDocument>(*bytes, kodierung_);
}

void Dokument::textUebernehmen(std::unique_ptr<IniDocument> text, const Fortschritt& fortschritt) {
    // The new table is built beside the old one: running out of memory on the way
    // leaves the document as it was.
    WerteTabelle tabelle;
    tabelle.textLeihen(text->bytesAsRead());
    try {
        tabelle.reserve(text->lineCount() + 1);
        int zeilen = 0;
        qsizetype sektionen = 0;
        auto melden = [&] {
            if (fortschritt && (++zeilen & (kMeldenAlle - 1)) == 0)
                fortschritt(zeilen);
            ++sektionen;
        };
        // A UTF-8 text's names and values go in as the bytes they are, in one walk.
        int sektionsZeile = 0;
        const bool utf8 = text->sectionsWithKeysUtf8(
            [&](QByteArrayView sektion) {
                melden();
                sektionsZeile = tabelle.sektionLadenUtf8(sektion);
            },
            [&](QByteArrayView k, QByteArrayView v) { tabelle.schluesselLaden(sektionsZeile, k, v); });
        // Section by section, without a list of all names (a million of them is common).
        QStringList schluessel;
        QStringList werte;
        if (!utf8) {
            text->forEachSectionName([&](const QString& sektion) {
                melden();
                const int zeile = tabelle.sektionLaden(sektion);
                text->keysWithValues(sektion, schluessel, werte);
                for (qsizetype i = 0; i < schluessel.size(); ++i)
                    tabelle.schluesselLaden(zeile, schluessel[i].toUtf8(), werte[i].toUtf8());
            });
        }
        MemoryHints::ensureAvailable(size_t(sektionen * kAnzeigeJeSektion + kRaumDanach));
    } catch (const std::bad_alloc&) {
        throw RavikError(nichtGenugSpeicher());
    }
    // The old table points into the old text: the text goes after it.
    std::unique_ptr<IniDocument> alterText = std::exchange(text_, std::move(text));
    tabelle_.ersetzenDurch(std::move(tabelle));
}

namespace {

[[noreturn]] void eintragAblehnen(const QString& sektion, const QString& schluessel,
                                  const QString& grund) {
    const QString eintrag = schluessel.isEmpty()
                                ? QStringLiteral("Sektion „%1“").arg(sektion)
                                : QStringLiteral("Sektion „%1“, Schlüssel „%2“").arg(sektion, schluessel);
    throw EIniFileException(eintrag + QStringLiteral(": ") + grund);
}

} // namespace

// Everything the text would refuse of the table's edits is found here, before the
// first of them is made, and refused with the entry it concerns. What only the text
// can judge (an entry written back as the file has it, a name read from the file) is
// left to it: the result tells that the apply needs a copy to fall back on.
bool Dokument::anwendenPruefen() const {
    const WerteTabelle& t = tabelle_;
    const IniDocument& text = *text_;
    bool unsicher = false;
    int geprueft = -1; // the rows of a section mostly follow each other
    for (int r = 0; r < t.RowCount(); ++r) {
        if (!t.seitAbgleichGeaendert(r) || t.istGeloescht(r))
            continue;
        const auto h = t.herkunft(r);
        const QString sektion = t.sektion(r);
        if (t.istSektionsZeile(r)) {
            if (!h || h->sektion != sektion) {
                if (const QString grund = text.sectionNameRefusal(sektion); !grund.isEmpty())
                    eintragAblehnen(sektion, {}, grund);
            }
            continue;
        }
        const QString schluessel = t.schluessel(r);
        if (const QString grund = text.keyNameRefusal(schluessel); !grund.isEmpty()) {
            if (!h || h->schluessel != schluessel)
                eintragAblehnen(sektion, schluessel, grund);
            unsicher = true; // a name as the file has it
        }
        // The section's own row is checked for itself; this one may be a name from the file.
        if (int(t.sektionsId(r)) != geprueft) {
            geprueft = int(t.sektionsId(r));
            unsicher = unsicher || !text.sectionNameRefusal(sektion).isEmpty();
        }
        if (const QString grund = text.valueRefusalUtf8(t.wertUtf8(r)); !grund.isEmpty()) {
            if (!h || text.value(h->sektion, h->schluessel) != t.wert(r))
                eintragAblehnen(sektion, schluessel, grund);
            unsicher = true; // the value as the file has it
        }
    }
    return unsicher;
}

void Dokument::anwenden(const Fortschritt& fortschritt) {
    if (tabelle_.istLeer())
        return;
    std::unique_ptr<IniDocument> vorher;
    if (anwendenPruefen())
        vorher = std::make_unique<IniDocument>(*text_);
    try {
        tabelleEinbringen(*text_, fortschritt);
    } catch (...) {
        if (vorher)
            text_ = std::move(vorher);
        throw;
    }
    tabelle_.herkunftAbgleichen();
}

void Dokument::tabelleEinbringen(IniDocument& text, const Fortschritt& fortschritt) const {
    const WerteTabelle& t = tabelle_;
    const int zeilen = t.RowCount();

    // Deleted entries go first, under the names the text gives them: a live entry may
    // take such a name next.
    for (int r = 0; r < zeilen; ++r) {
        if (!t.istGeloescht(r) || !t.seitAbgleichGeaendert(r))
            continue;
        if (const auto h = t.herkunft(r); h && !t.anderemLebendenEintragGleich(r)) {
            if (t.istSektionsZeile(r))
                text.removeSection(h->sektion);
            else
                text.removeKey(h->sektion, h->schluessel);
        }
    }
    if (fortschritt)
        fortschritt(0);

    // Renames in place, keys first while their sections still have their old names.
    std::vector<std::pair<QString, QString>> sektionen;
    QList<QString> reihenfolge;
    QHash<QString, std::vector<std::pair<QString, QString>>> schluessel;
    for (int r : t.umbenannteZeilen()) {
        if (t.istGeloescht(r))
            continue;
        const auto h = t.herkunft(r);
        if (t.istSektionsZeile(r)) {
            if (h->sektion != t.sektion(r))
                sektionen.emplace_back(h->sektion, t.sektion(r));
        } else if (h->schluessel != t.schluessel(r)) {
            if (!schluessel.contains(h->sektion))
                reihenfolge.append(h->sektion);
            schluessel[h->sektion].emplace_back(h->schluessel, t.schluessel(r));
        }
    }
    for (const QString& s : reihenfolge)
        text.renameKeys(s, schluessel[s]);
    text.renameSections(sektionen);

    // New sections in the table's order, then every live key.
    for (int r = 0; r < zeilen; ++r)
        if (t.seitAbgleichGeaendert(r) && t.istSektionsZeile(r) && !t.istGeloescht(r) && !t.herkunft(r))
            text.createSection(t.sektion(r));
    int sektion = -1; // the rows of a section mostly follow each other
    QByteArrayView sektionUtf8;
    for (int r = 0; r < zeilen; ++r) {
        if (fortschritt && (r & (kMeldenAlle - 1)) == 0)
            fortschritt(r);
        // Rows unchanged since the text last took the table's edits are in it already.
        if (!t.seitAbgleichGeaendert(r) || t.istGeloescht(r) || t.istSektionsZeile(r))
            continue;
        if (int(t.sektionsId(r)) != sektion) {
            sektion = int(t.sektionsId(r));
            sektionUtf8 = t.sektionUtf8(r);
        }
        text.setValueUtf8(sektionUtf8, t.schluesselUtf8(r), t.wertUtf8(r));
    }
}

void Dokument::editorTextSchreiben(const std::function<void(QByteArrayView)>& stueck) const {
    text_->writeText(stueck);
}

void Dokument::schnappschussSchreiben(const std::function<void(QByteArrayView)>& stueck) {
    anwenden();
    text_->writeText(stueck);
}

void Dokument::speichern(const QString& pfad, const Fortschritt& fortschritt,
                         const QString& kopieDesOriginals) const {
    qint64 geschrieben = 0;
    qint64 gemeldet = 0;
    const auto inhalt = [&](const FileIO::PieceWriter& schreiben) {
        text_->writeTo([&](QByteArrayView stueck) {
            schreiben(stueck);
            geschrieben += stueck.size();
            if (fortschritt && geschrieben - gemeldet >= (qint64(1) << 20)) {
                gemeldet = geschrieben;
                fortschritt(geschrieben);
            }
        });
    };
    const auto fehler = FileIO::save(pfad, inhalt, {kopieDesOriginals});
    if (fehler)
        throw EIniFileException::cannotWrite(pfad);
}

} // namespace ravik
