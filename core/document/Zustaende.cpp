#include "core/document/Zustaende.h"

namespace ravik {

const QString& dateistatusText(Dateistatus status) {
    static const QString kTexte[] = {QString(), QStringLiteral("gespeichert"),
                                     QStringLiteral("geaendert"), QStringLiteral("geaendert2")};
    return kTexte[static_cast<int>(status)];
}

const QString& aktionsmarkeText(Aktionsmarke marke) {
    static const QString kTexte[] = {QString(), QStringLiteral("change"), QStringLiteral("edit"),
                                     QStringLiteral("neu"), QStringLiteral("delete")};
    return kTexte[static_cast<int>(marke)];
}

} // namespace ravik
