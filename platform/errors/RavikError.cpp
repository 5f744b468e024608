#include "platform/errors/RavikError.h"

#include <cstring>

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

QString systemReason(int errnoValue) {
    return QString::fromLocal8Bit(std::strerror(errnoValue));
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace ravik
