#include "app/platform/desktop/Desktop.h"

#include <QDesktopServices>

namespace ravik {

void SystemDesktop::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

} // namespace ravik
