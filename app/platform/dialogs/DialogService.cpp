#include "app/platform/dialogs/DialogService.h"

namespace ravik {

QString DialogService::captionFor(MessageKind kind) const {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warnung");
    case MessageKind::Error:
        return QStringLiteral("Fehler");
    case MessageKind::Information:
        return QStringLiteral("Informationen");
    case MessageKind::Confirmation:
        return QStringLiteral("Bestätigung");
    case MessageKind::Plain:
    case MessageKind::AppError:
        break;
    }
    return applicationTitle_;
}

} // namespace ravik
