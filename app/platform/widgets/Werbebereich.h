#pragma once

#include <QWidget>

class QLabel;

namespace ravik {

// The promotional area of a side panel: the underlined heading "Werbung", the note
// "(einfach anklicken)", an icon and the text. Heading, icon, text and the side panel
// around them react to clicks (marked with the property "werbeflaeche"); the note
// does not.
class Werbebereich : public QWidget {
    Q_OBJECT
public:
    // `textName`: the objectName of the text label; `seitenteil`: the side panel whose
    // free area belongs to the area too.
    Werbebereich(const QString& textName, int textHoehe, QWidget* seitenteil);

    void setText(const QString& text);
    QString text() const;

private:
    QLabel* text_;
};

} // namespace ravik
