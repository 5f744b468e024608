#pragma once

#include <QLineEdit>

namespace ravik {

// The search field above the tree (`sucheBaum`). Escape empties it (and, once empty,
// hands the focus to the tree); Enter and the down arrow go to the tree, to walk
// through what was found.
class Suchfeld : public QLineEdit {
    Q_OBJECT
public:
    explicit Suchfeld(QWidget* parent);

    // A light red field says that nothing holds the text.
    void setKeineTreffer(bool keine);

signals:
    void zumBaum();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ravik
