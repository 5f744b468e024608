#pragma once

#include <QString>

namespace ravik {

// The five views of the main window, each one panel.
enum class Ansicht { Start, Browser, Editor, Setup, Hilfe };

// "start", "browser", "editor", "setup", "hilfe".
inline QString ansichtName(Ansicht ansicht) {
    static const char* const kNamen[] = {"start", "browser", "editor", "setup", "hilfe"};
    return QLatin1String(kNamen[static_cast<int>(ansicht)]);
}

} // namespace ravik
