#include "core/platform/errors/RavikError.h"

#include <cstring>
#include <new>

namespace ravik {

EFOpenError::EFOpenError(const QString& path, const QString& reason)
    : RavikError(QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(path, reason)) {}

EFCreateError::EFCreateError(const QString& path, const QString& reason)
    : RavikError(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(path, reason)) {}

EWriteError::EWriteError() : RavikError(QStringLiteral("Stream-Schreibfehler")) {}

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

QString systemReason(int errnoValue) {
    return QString::fromLocal8Bit(std::strerror(errnoValue));
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace ravik
