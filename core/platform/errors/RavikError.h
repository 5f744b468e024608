#pragma once

#include <QString>
#include <stdexcept>

namespace ravik {

// An error that ends the user's action and is shown in the application's error box.
// The message is the German text the user sees.
class RavikError : public std::runtime_error {
public:
    explicit RavikError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// "Datei %s kann nicht geöffnet werden. %s"
class EFOpenError : public RavikError {
public:
    EFOpenError(const QString& path, const QString& reason);
};

// "Datei \"%s\" kann nicht erstellt werden. %s"
class EFCreateError : public RavikError {
public:
    EFCreateError(const QString& path, const QString& reason);
};

// "Stream-Schreibfehler", and with the file and the reason when they are known:
// "Stream-Schreibfehler: Datei \"%s\" wurde nicht gespeichert. %s"
class EWriteError : public RavikError {
public:
    EWriteError();
    EWriteError(const QString& path, const QString& reason);
};

// "In %s kann nicht geschrieben werden", or a refusal of a name or value
// that would corrupt the file.
class EIniFileException : public RavikError {
public:
    using RavikError::RavikError;
    static EIniFileException cannotWrite(const QString& path);
};

// "Das Laden des Streams ist misslungen"
class EOutOfResources : public RavikError {
public:
    EOutOfResources();
};

// The German text for any error that ends an action: our own errors carry it, a
// failed allocation gets one, anything else shows what it says.
QString messageOf(const std::exception& error);

// The reason for a failed file operation, from errno, in German for the common ones
// (missing, no permission, a directory, disk full, read-only, too large, ...) and in
// the system's words for the rest.
QString systemReason(int errnoValue);

// The error box's text: a "." is appended when the last character sorts after ".".
QString errorBoxText(const QString& message);

} // namespace ravik
