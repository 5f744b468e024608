#pragma once

#include <QList>

namespace ravik {

class Werbebereich;

// The promotional texts of the side panels: all show the same text, and the next one
// comes at a warm start and after a number of clicks or typed characters.
class Werberotation {
public:
    explicit Werberotation(QList<Werbebereich*> bereiche) : bereiche_(std::move(bereiche)) {}

    // The next text, in every panel; the clicks are counted anew.
    void Werbetexte();
    // One click (or typed character) more: the next text when the count reaches
    // `schwelle`.
    void zaehlen(int schwelle);

    int klickzaehler() const { return klickzaehler_; }
    int werbeindex() const { return werbeindex_; }

private:
    QList<Werbebereich*> bereiche_;
    int klickzaehler_ = 0;
    int werbeindex_ = 0;
};

} // namespace ravik
