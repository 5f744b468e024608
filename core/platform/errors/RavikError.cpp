#include "core/platform/errors/RavikError.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace ravik {

EFOpenError::EFOpenError(const QString& path, const QString& reason)
    : RavikError(QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(path, reason)) {}

EFCreateError::EFCreateError(const QString& path, const QString& reason)
    : RavikError(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(path, reason)) {}

EWriteError::EWriteError() : RavikError(QStringLiteral("Stream-Schreibfehler")) {}

EWriteError::EWriteError(const QString& path, const QString& reason)
    : RavikError(QStringLiteral("Stream-Schreibfehler: Datei \"%1\" wurde nicht gespeichert. %2")
                     .arg(path, reason)) {}

EIniFileException EIniFileException::cannotWrite(const QString& path) {
    return EIniFileException(QStringLiteral("In %1 kann nicht geschrieben werden").arg(path));
}

EOutOfResources::EOutOfResources()
    : RavikError(QStringLiteral("Das Laden des Streams ist misslungen")) {}

QString messageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const RavikError*>(&error))
        return own->message();
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("Nicht genügend Arbeitsspeicher für diesen Vorgang");
    return QString::fromLocal8Bit(error.what());
}

// The program speaks German whatever the locale it runs in; the C library's texts
// follow the locale (English in a C locale). The reasons a user meets when opening
// and saving files are ours; rarer ones keep the system's text.
QString systemReason(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return QStringLiteral("Datei oder Verzeichnis nicht gefunden");
    case EACCES:
        return QStringLiteral("Keine Berechtigung");
    case EPERM:
        return QStringLiteral("Vorgang nicht erlaubt");
    case EISDIR:
        return QStringLiteral("Ist ein Verzeichnis");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Verzeichnis");
    case ENOSPC:
        return QStringLiteral("Kein Speicherplatz mehr auf dem Gerät");
    case EDQUOT:
        return QStringLiteral("Speicherkontingent (Quota) überschritten");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist nur lesbar");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang");
    case ELOOP:
        return QStringLiteral("Zu viele Ebenen symbolischer Verknüpfungen");
    case EMLINK:
        return QStringLiteral("Zu viele Verknüpfungen");
    case EIO:
        return QStringLiteral("Ein- oder Ausgabefehler");
    case EBUSY:
        return QStringLiteral("Gerät oder Ressource ist belegt");
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade ausgeführt");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case ENOMEM:
        return QStringLiteral("Nicht genügend Arbeitsspeicher");
    default:
        return QString::fromLocal8Bit(std::strerror(errnoValue));
    }
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace ravik
