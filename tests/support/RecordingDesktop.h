#pragma once

#include "app/platform/desktop/Desktop.h"

#include <QList>

namespace ravik::test {

// Records the addresses the program asked the desktop to open.
class RecordingDesktop : public Desktop {
public:
    void openUrl(const QUrl& url) override { opened.append(url); }
    QList<QUrl> opened;
};

} // namespace ravik::test
