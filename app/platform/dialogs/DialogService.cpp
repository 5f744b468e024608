#include "app/platform/dialogs/DialogService.h"

#include <QDir>
#include <QFileInfo>

namespace ravik {
namespace {

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// "Name (*.a *.b)" gives *.a and *.b.
QStringList patternsOf(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QString FileDialogRequest::chosenFile(const QString& named) const {
    if (named.isEmpty() || defaultSuffix.isEmpty())
        return named;
    const QFileInfo info(named);
    if (info.fileName().contains(QLatin1Char('.')) || info.exists() || info.isSymLink())
        return named;
    if (!preset.isEmpty() && absolute(named) == absolute(preset))
        return named;
    return named + QLatin1Char('.') + defaultSuffix;
}

QString FileDialogRequest::filterForPreset() const {
    if (filters.isEmpty())
        return {};
    const QString name = QFileInfo(preset).fileName();
    if (!name.isEmpty())
        for (const QString& filter : filters)
            if (QDir::match(patternsOf(filter), name))
                return filter;
    return filters.constFirst();
}

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

Answer DialogService::escapeAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return Answer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return Answer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNoEscapeCancels:
        break;
    }
    return Answer::Cancel;
}

} // namespace ravik
