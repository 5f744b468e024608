#pragma once

#include <QIcon>

namespace ravik::Bilder {

// Tool-button images by index: 0 open, 1 save, 2 expand, 3 collapse, 4 new key,
// 5 new section, 6 new file, 7 delete, 8 edit field, 9 help, 10 to browser,
// 11 to editor, 12 options.
QIcon werkzeugBild(int index);
constexpr int kWerkzeugBilder = 13;

// Tree images by index: 0 section, 1 section selected, 2 key, 3 key selected. The
// icon shows the second image while its node is selected.
QIcon baumBild(int normal, int ausgewaehlt);

// Small pictures: "section", "key", "value", "ok", "cancel", "promo".
QIcon kleinesBild(const char* name);

QIcon startbild();
QIcon programmsymbol();

} // namespace ravik::Bilder
