#pragma once

#include <QIcon>

namespace ravik::Bilder {

// Tool-button images by index: 0 open, 1 save, 2 expand, 3 collapse, 4 new key,
// 5 new section, 6 new file, 7 delete, 8 edit field, 9 help, 10 to browser,
// 11 to editor, 12 options.
QIcon werkzeugBild(int index);
constexpr int kWerkzeugBilder = 13;
constexpr int kOeffnen = 0;
constexpr int kSpeichern = 1;
constexpr int kBaumEingeklappt = 2; // the expand button while the tree is collapsed
constexpr int kBaumAusgeklappt = 3; // and while it is expanded
constexpr int kNeuerSchluessel = 4;
constexpr int kNeueSektion = 5;
constexpr int kNeueDatei = 6;
constexpr int kLoeschen = 7;
constexpr int kHilfe = 9;
constexpr int kZumBrowser = 10; // the switch button shows the view a press leads to
constexpr int kZumEditor = 11;
constexpr int kOptionen = 12;

// Tree images by index: 0 section, 1 section selected, 2 key, 3 key selected. The
// icon shows the second image while its node is selected.
QIcon baumBild(int normal, int ausgewaehlt);

// Small pictures: "section", "key", "value", "ok", "cancel", "promo".
QIcon kleinesBild(const char* name);

QIcon startbild();
QIcon programmsymbol();

} // namespace ravik::Bilder
