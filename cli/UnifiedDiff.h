#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace ravik::cli {

// The unified diff ("--- a/name", "+++ b/name", hunks) between the file's bytes and
// the bytes a write would leave, from the same comparison that reviews a save in the
// window. nullopt when this build has no such comparison.
std::optional<QByteArray> unifiedDiff(QByteArrayView before, QByteArrayView after, const QString& name);

} // namespace ravik::cli
