#pragma once

#include <QUrl>

namespace ravik {

// What the program asks of the desktop session; tests substitute a recorder.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Hands the address to the default browser and does not wait.
    virtual void openUrl(const QUrl& url) = 0;
};

class SystemDesktop : public Desktop {
public:
    void openUrl(const QUrl& url) override;
};

} // namespace ravik
