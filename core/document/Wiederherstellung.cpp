#include "core/document/Wiederherstellung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSet>
#include <algorithm>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace ravik {
namespace {

const QByteArray kKennung = QByteArrayLiteral("Ravik-Wiederherstellung 1");

const struct {
    TextEncoding kodierung;
    const char* name;
} kKodierungen[] = {{TextEncoding::Utf8, "utf-8"},
                    {TextEncoding::Utf8Bom, "utf-8-bom"},
                    {TextEncoding::Utf16LE, "utf-16le"},
                    {TextEncoding::Utf16BE, "utf-16be"},
                    {TextEncoding::Windows1252, "windows-1252"}};

const struct {
    EolStyle stil;
    const char* name;
} kZeilenenden[] = {{EolStyle::CrLf, "crlf"}, {EolStyle::Lf, "lf"}, {EolStyle::Cr, "cr"}};

QByteArray kodierungsName(TextEncoding kodierung) {
    for (const auto& k : kKodierungen)
        if (k.kodierung == kodierung)
            return k.name;
    return {};
}

QByteArray zeilenendeName(EolStyle stil) {
    for (const auto& z : kZeilenenden)
        if (z.stil == stil)
            return z.name;
    return {};
}

// Lock files this process holds, by path. A lock that names this process's pid and
// is not among them was left by an earlier process that had the same pid.
std::mutex eigeneSperrenSchutz;
QSet<QString>& eigeneSperren() {
    static QSet<QString> sperren;
    return sperren;
}

} // namespace

namespace Wiederherstellung {

QString standardVerzeichnis() {
    // Only an absolute XDG_STATE_HOME counts; a relative one is ignored, as other
    // desktop programs ignore it.
    QString basis = qEnvironmentVariable("XDG_STATE_HOME");
    if (basis.isEmpty() || QDir::isRelativePath(basis))
        basis = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(basis + QStringLiteral("/ravik"));
}

bool verzeichnisAnlegen(const QString& verzeichnis) {
    const QString pfad = QDir::cleanPath(QDir(verzeichnis).absolutePath());
    QStringList fehlend;
    for (QString p = pfad; !QFileInfo::exists(p);) {
        fehlend.prepend(p);
        const QString oben = QFileInfo(p).path();
        if (oben == p)
            break;
        p = oben;
    }
    const auto nurEigentuemer = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString& d : fehlend)
        if (!QDir().mkdir(d, nurEigentuemer) && !QFileInfo(d).isDir())
            return false;
    struct stat info {};
    const QByteArray nativ = QFile::encodeName(pfad);
    if (::stat(nativ.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if ((info.st_mode & 077) && info.st_uid == ::geteuid())
        ::chmod(nativ.constData(), info.st_mode & 0700);
    return true;
}

QByteArray kopf(const Wiederherstellungskopie& kopie) {
    QByteArray k = kKennung;
    k += "\nname: " + kopie.name.toUtf8().toPercentEncoding("/");
    k += "\nkodierung: " + kodierungsName(kopie.kodierung);
    k += "\nzeilenende: " + zeilenendeName(kopie.zeilenende);
    k += QByteArray("\nansicht: ") + (kopie.editoransicht ? "editor" : "browser");
    k += "\nlaenge: " + QByteArray::number(kopie.text.size());
    k += "\n\n";
    return k;
}

std::optional<Wiederherstellungskopie> lesen(const QString& pfad) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray inhalt = datei.readAll();
    const qsizetype ende = inhalt.indexOf("\n\n");
    if (ende < 0)
        return std::nullopt;
    const QList<QByteArray> zeilen = inhalt.left(ende).split('\n');
    if (zeilen.value(0) != kKennung)
        return std::nullopt;
    QHash<QByteArray, QByteArray> felder;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const qsizetype trenner = zeilen[i].indexOf(": ");
        if (trenner > 0)
            felder.insert(zeilen[i].left(trenner), zeilen[i].mid(trenner + 2));
    }
    Wiederherstellungskopie kopie;
    bool gefunden = false;
    for (const auto& k : kKodierungen)
        if (felder.value("kodierung") == k.name) {
            kopie.kodierung = k.kodierung;
            gefunden = true;
        }
    if (!gefunden)
        return std::nullopt;
    gefunden = false;
    for (const auto& z : kZeilenenden)
        if (felder.value("zeilenende") == z.name) {
            kopie.zeilenende = z.stil;
            gefunden = true;
        }
    const QByteArray ansicht = felder.value("ansicht");
    if (!gefunden || (ansicht != "editor" && ansicht != "browser") || !felder.contains("name"))
        return std::nullopt;
    kopie.editoransicht = ansicht == "editor";
    kopie.name = QString::fromUtf8(QByteArray::fromPercentEncoding(felder.value("name")));
    bool zahl = false;
    const qint64 laenge = felder.value("laenge").toLongLong(&zahl);
    const qsizetype text = ende + 2;
    if (!zahl || laenge != inhalt.size() - text)
        return std::nullopt; // cut short, or more than was written
    kopie.text = inhalt.mid(text);
    return kopie;
}

void eigeneSperre(const QString& pfad, bool gehalten) {
    const std::lock_guard<std::mutex> schutz(eigeneSperrenSchutz);
    if (gehalten)
        eigeneSperren().insert(pfad);
    else
        eigeneSperren().remove(pfad);
}

bool istEigeneSperre(const QString& pfad) {
    const std::lock_guard<std::mutex> schutz(eigeneSperrenSchutz);
    return eigeneSperren().contains(pfad);
}

} // namespace Wiederherstellung

VerwaisteKopie::VerwaisteKopie(QString pfad, QDateTime geaendert, std::unique_ptr<QLockFile> sperre)
    : pfad_(std::move(pfad)), geaendert_(std::move(geaendert)), sperre_(std::move(sperre)) {}
VerwaisteKopie::VerwaisteKopie(VerwaisteKopie&&) noexcept = default;
VerwaisteKopie& VerwaisteKopie::operator=(VerwaisteKopie&&) noexcept = default;
VerwaisteKopie::~VerwaisteKopie() = default;

std::optional<Wiederherstellungskopie> VerwaisteKopie::lesen() const {
    return Wiederherstellung::lesen(pfad_);
}

void VerwaisteKopie::verwerfen() {
    QFile::remove(pfad_);
    if (sperre_)
        sperre_->unlock(); // removes the lock file
}

std::vector<VerwaisteKopie> VerwaisteKopie::finden(const QString& verzeichnis) {
    using namespace Wiederherstellung;
    const QDir dir(verzeichnis);
    if (!dir.exists())
        return {};
    // Every process that left a file here: its copy, its lock, or a copy it was
    // writing when it ended.
    QSet<QString> kennungen;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        for (const QString& endung : {kNeuEndung, kKopieEndung, kSperreEndung})
            if (name.endsWith(endung)) {
                kennungen.insert(name.chopped(endung.size()));
                break;
            }
    }
    std::vector<VerwaisteKopie> kopien;
    for (const QString& kennung : kennungen) {
        const QString sperrpfad = dir.filePath(kennung + kSperreEndung);
        if (istEigeneSperre(sperrpfad))
            continue;
        auto sperre = std::make_unique<QLockFile>(sperrpfad);
        sperre->setStaleLockTime(0); // a lock is stale only when its process is gone
        qint64 pid = 0;
        if (sperre->getLockInfo(&pid, nullptr, nullptr) &&
            pid == QCoreApplication::applicationPid())
            sperre->removeStaleLockFile();
        if (!sperre->tryLock(0))
            continue; // its process is running
        QFile::remove(dir.filePath(kennung + kNeuEndung));
        const QString kopie = dir.filePath(kennung + kKopieEndung);
        const QFileInfo info(kopie);
        if (!info.isFile()) {
            sperre->unlock();
            continue;
        }
        kopien.emplace_back(kopie, info.lastModified(), std::move(sperre));
    }
    std::sort(kopien.begin(), kopien.end(), [](const VerwaisteKopie& a, const VerwaisteKopie& b) {
        return a.geaendert() > b.geaendert();
    });
    return kopien;
}

} // namespace ravik
