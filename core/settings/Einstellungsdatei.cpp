#include "core/settings/Einstellungsdatei.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/SafeDirectory.h"

#include <QFileInfo>

namespace ravik {
namespace {

std::shared_ptr<const SafeDirectory> ordner(const QString& datei, bool anlegen) {
    return std::make_shared<SafeDirectory>(SafeDirectory::open(
        QFileInfo(datei).absolutePath(),
        anlegen ? SafeDirectory::Create::Yes : SafeDirectory::Create::No, 0700));
}

} // namespace

TIniFile einstellungsdateiBinden(const QString& datei, bool anlegen) {
    return TIniFile(ordner(datei, anlegen), QFileInfo(datei).fileName());
}

QString einstellungsdateiGesperrt(const QString& datei) {
    // Only a link or another user's counts: a file that merely cannot be written is
    // reported when it is written.
    const std::shared_ptr<const SafeDirectory> o = ordner(datei, true);
    if (!o->usable())
        return o->unsafe() ? o->reason() : QString();
    bool unsicher = false;
    const QString grund = o->refusal(QFileInfo(datei).fileName(), &unsicher);
    return unsicher ? grund : QString();
}

void einstellungsdateiErsetzen(const QString& datei, const QByteArray& inhalt) {
    const std::shared_ptr<const SafeDirectory> o = ordner(datei, true);
    const auto fehler = o->replaceFile(QFileInfo(datei).fileName(),
                                       [&](const SafeDirectory::PieceWriter& write) { write(inhalt); });
    if (fehler)
        throw EFCreateError(datei, *fehler);
}

} // namespace ravik
