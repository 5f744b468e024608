#pragma once

#include <QString>
#include <QStringList>

namespace ravik {

// The promotional texts of the side panels, shown in turn from number 0 to 14.
const QStringList& werbetexte();

// The maker's disclaimer of liability on the start panel, under "Wichtiger Hinweis".
QString haftungsausschluss();

// The maker's web site, opened when the user clicks a promotional area.
QString herstellerWebseite();

} // namespace ravik
