#include "core/platform/ini/IniValidation.h"

#include "core/platform/ini/IniSyntax.h"

namespace ravik::IniValidation {
namespace {

// CR and LF end the line; NUL ends the text for many programs that read INI files.
QString checkLineBreakAndNul(QStringView text, const QString& what) {
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n')
            return QStringLiteral("%1 darf keinen Zeilenumbruch enthalten.").arg(what);
        if (c == u'\0')
            return QStringLiteral("%1 darf kein Nullzeichen enthalten.").arg(what);
    }
    return {};
}

} // namespace

QString checkSectionName(QStringView name) {
    const QString what = QStringLiteral("Der Sektionsname");
    if (QString reason = checkLineBreakAndNul(name, what); !reason.isEmpty())
        return reason;
    if (name.contains(u']'))
        return QStringLiteral("Der Sektionsname darf kein „]“ enthalten.");
    return {};
}

QString checkKeyName(QStringView name) {
    const QString what = QStringLiteral("Der Schlüsselname");
    if (QString reason = checkLineBreakAndNul(name, what); !reason.isEmpty())
        return reason;
    const QStringView trimmed = IniSyntax::trimBlanks(name);
    if (trimmed.isEmpty())
        return QStringLiteral("Der Schlüsselname darf nicht leer sein.");
    if (trimmed.front() == u';')
        return QStringLiteral("Der Schlüsselname darf nicht mit „;“ beginnen, "
                              "sonst wird die Zeile als Kommentar gelesen.");
    if (trimmed.front() == u'[')
        return QStringLiteral("Der Schlüsselname darf nicht mit „[“ beginnen, "
                              "sonst wird die Zeile als Sektion gelesen.");
    if (trimmed.contains(u'='))
        return QStringLiteral("Der Schlüsselname darf kein „=“ enthalten.");
    return {};
}

QString checkValue(QStringView value) {
    return checkLineBreakAndNul(value, QStringLiteral("Der Wert"));
}

} // namespace ravik::IniValidation
