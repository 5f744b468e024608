#include "core/document/Wiederherstellung.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <utility>

#include <sys/file.h>
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

std::shared_ptr<const SafeDirectory> verzeichnisOeffnen(const QString& verzeichnis, bool anlegen) {
    auto ordner = std::make_shared<SafeDirectory>(SafeDirectory::open(
        verzeichnis, anlegen ? SafeDirectory::Create::Yes : SafeDirectory::Create::No, 0700));
    if (anlegen)
        ordner->restrictToOwner();
    return ordner;
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
    return auslesen(datei.readAll());
}

std::optional<Wiederherstellungskopie> auslesen(const QByteArray& inhalt) {
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

Sperre::Sperre(std::shared_ptr<const SafeDirectory> ordner, QString name, int fd)
    : ordner_(std::move(ordner)), name_(std::move(name)), fd_(fd) {}

Sperre::Sperre(Sperre&& andere) noexcept
    : ordner_(std::move(andere.ordner_)), name_(std::move(andere.name_)),
      fd_(std::exchange(andere.fd_, -1)) {}

Sperre& Sperre::operator=(Sperre&& andere) noexcept {
    if (this != &andere) {
        if (fd_ >= 0)
            ::close(fd_);
        ordner_ = std::move(andere.ordner_);
        name_ = std::move(andere.name_);
        fd_ = std::exchange(andere.fd_, -1);
    }
    return *this;
}

Sperre::~Sperre() {
    if (fd_ >= 0)
        ::close(fd_);
}

void Sperre::entfernen() {
    if (fd_ < 0)
        return;
    // Removed before it is let go: whoever waits for it then finds its file gone.
    ordner_->remove(name_);
    ::close(std::exchange(fd_, -1));
}

std::optional<Sperre> Sperre::anlegen(std::shared_ptr<const SafeDirectory> ordner,
                                      const QString& name) {
    const int fd = ordner->openFile(name, O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return std::nullopt;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int fehler = errno;
        ::close(fd);
        ordner->remove(name);
        errno = fehler;
        return std::nullopt;
    }
    // For whoever looks: which process holds it.
    (void)writeFully(fd, QByteArray::number(qint64(::getpid())) + '\n');
    return Sperre(std::move(ordner), name, fd);
}

std::optional<Sperre> Sperre::verwaist(std::shared_ptr<const SafeDirectory> ordner,
                                       const QString& name) {
    int fd = ordner->openFile(name, O_RDWR);
    if (fd < 0 && errno == ENOENT)
        return anlegen(std::move(ordner), name);
    if (fd < 0)
        return std::nullopt;
    struct stat offen {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &offen) != 0 || !S_ISREG(offen.st_mode)) {
        ::close(fd);
        return std::nullopt; // its process runs
    }
    // Its process may have ended normally meanwhile and removed the file: the lock
    // counts only while the name still leads to it.
    const std::optional<struct stat> eintrag = ordner->entry(name);
    if (!eintrag || eintrag->st_ino != offen.st_ino || eintrag->st_dev != offen.st_dev) {
        ::close(fd);
        return std::nullopt;
    }
    return Sperre(std::move(ordner), name, fd);
}

} // namespace Wiederherstellung

VerwaisteKopie::VerwaisteKopie(std::shared_ptr<const SafeDirectory> ordner, QString kennung,
                               QDateTime geaendert, Wiederherstellung::Sperre sperre)
    : ordner_(std::move(ordner)), kennung_(std::move(kennung)), geaendert_(std::move(geaendert)),
      sperre_(std::move(sperre)) {}
VerwaisteKopie::VerwaisteKopie(VerwaisteKopie&&) noexcept = default;
VerwaisteKopie& VerwaisteKopie::operator=(VerwaisteKopie&&) noexcept = default;
VerwaisteKopie::~VerwaisteKopie() = default;

QString VerwaisteKopie::name() const {
    return kennung_ + Wiederherstellung::kKopieEndung;
}

QString VerwaisteKopie::pfad() const {
    return ordner_->filePath(name());
}

std::optional<Wiederherstellungskopie> VerwaisteKopie::lesen() const {
    const std::optional<QByteArray> inhalt = ordner_->readFile(name(), nullptr);
    if (!inhalt)
        return std::nullopt;
    return Wiederherstellung::auslesen(*inhalt);
}

void VerwaisteKopie::verwerfen() {
    ordner_->remove(name());
    if (sperre_)
        sperre_->entfernen();
}

QString VerwaisteKopie::beiseitelegen() {
    const QString beiseite = name() + Wiederherstellung::kBeschaedigtEndung;
    const bool umbenannt = ordner_->rename(name(), beiseite);
    if (sperre_)
        sperre_->entfernen();
    return umbenannt ? ordner_->filePath(beiseite) : QString();
}

std::vector<VerwaisteKopie> VerwaisteKopie::finden(const QString& verzeichnis) {
    using namespace Wiederherstellung;
    const std::shared_ptr<const SafeDirectory> ordner = verzeichnisOeffnen(verzeichnis, false);
    if (!ordner->usable())
        return {};
    // Every process that left a file here: its copy, its lock, or a copy it was
    // writing when it ended.
    QSet<QString> kennungen;
    for (const QString& name : ordner->entries()) {
        for (const QString& endung : {kNeuEndung, kKopieEndung, kSperreEndung})
            if (name.endsWith(endung)) {
                kennungen.insert(name.chopped(endung.size()));
                break;
            }
    }
    std::vector<VerwaisteKopie> kopien;
    for (const QString& kennung : kennungen) {
        std::optional<Sperre> sperre = Sperre::verwaist(ordner, kennung + kSperreEndung);
        if (!sperre)
            continue; // its process is running
        ordner->remove(kennung + kNeuEndung);
        const std::optional<struct stat> info = ordner->entry(kennung + kKopieEndung);
        if (!info || !S_ISREG(info->st_mode)) {
            sperre->entfernen();
            continue;
        }
        const QDateTime geaendert = QDateTime::fromMSecsSinceEpoch(
            qint64(info->st_mtim.tv_sec) * 1000 + info->st_mtim.tv_nsec / 1000000);
        kopien.emplace_back(ordner, kennung, geaendert, std::move(*sperre));
    }
    std::sort(kopien.begin(), kopien.end(), [](const VerwaisteKopie& a, const VerwaisteKopie& b) {
        return a.geaendert() > b.geaendert();
    });
    return kopien;
}

} // namespace ravik
