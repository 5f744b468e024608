#include "app/document/Systemdateifragen.h"

#include "app/platform/dialogs/DialogService.h"
#include "core/document/Systemdatei.h"

#include <QDir>

namespace ravik {

void systemdateiFragenAnbinden(DialogService& dialoge) {
    Systemdatei::fragenSetzen([&dialoge](Systemdatei::Frage frage, const QString& pfad) {
        const QString text = frage == Systemdatei::Frage::Lesen
                                 ? QStringLiteral("Die Datei %1 kann nur mit Administratorrechten gelesen "
                                                  "werden. Mit Administratorrechten öffnen?")
                                 : QStringLiteral("Die Datei %1 gehört dem System. Mit "
                                                  "Administratorrechten speichern?");
        // Closing the box is no: nothing is done with more rights than the user chose.
        return dialoge.message(MessageKind::Confirmation, text.arg(QDir::toNativeSeparators(pfad)),
                               MessageButtons::YesNo) == Answer::Yes;
    });
}

void systemdateiFragenLoesen() {
    Systemdatei::fragenSetzen({});
}

} // namespace ravik
