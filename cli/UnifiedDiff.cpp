#include "cli/UnifiedDiff.h"

// The comparison lives with the document (the window's review of a save); the command
// line only prints its diff.
#if __has_include("core/document/Aenderungen.h")
#include "core/document/Aenderungen.h"
#define RAVIK_HAS_CHANGE_REVIEW 1
#endif

namespace ravik::cli {

std::optional<QByteArray> unifiedDiff(QByteArrayView before, QByteArrayView after, const QString& name) {
#ifdef RAVIK_HAS_CHANGE_REVIEW
    return Aenderungsvergleich::vergleichen(before, after, name).diff();
#else
    Q_UNUSED(before);
    Q_UNUSED(after);
    Q_UNUSED(name);
    return std::nullopt;
#endif
}

} // namespace ravik::cli
