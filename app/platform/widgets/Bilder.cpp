#include "app/platform/widgets/Bilder.h"

#include <array>

namespace ravik::Bilder {
namespace {

constexpr std::array<const char*, kWerkzeugBilder> kWerkzeug = {
    "open", "save", "expand", "collapse", "new-key", "new-section", "new-file",
    "delete", "edit-field", "help", "to-browser", "to-editor", "options"};

constexpr std::array<const char*, 4> kBaum = {"section", "section-selected", "key",
                                              "key-selected"};

QString pfad(const char* ordner, const char* name) {
    return QStringLiteral(":/ravik/%1/%2.svg").arg(QLatin1String(ordner), QLatin1String(name));
}

} // namespace

QIcon werkzeugBild(int index) {
    if (index < 0 || index >= kWerkzeugBilder)
        return {};
    return QIcon(pfad("tool", kWerkzeug[index]));
}

QIcon baumBild(int normal, int ausgewaehlt) {
    QIcon icon;
    icon.addFile(pfad("tree", kBaum[normal]), QSize(16, 16), QIcon::Normal);
    icon.addFile(pfad("tree", kBaum[ausgewaehlt]), QSize(16, 16), QIcon::Selected);
    return icon;
}

QIcon kleinesBild(const char* name) {
    return QIcon(pfad("small", name));
}

QIcon startbild() {
    return QIcon(QStringLiteral(":/ravik/start.svg"));
}

QIcon programmsymbol() {
    return QIcon(QStringLiteral(":/ravik/ravik.svg"));
}

} // namespace ravik::Bilder
