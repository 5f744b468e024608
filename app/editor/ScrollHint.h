#pragma once

#include <QObject>
#include <QString>

class QAbstractScrollArea;

namespace ravik {

// While the vertical scroll-bar thumb is dragged, a hint near the upper right corner
// names the line that will be at the top ("Top Line: %d", counted from 1).
class ScrollHint : public QObject {
    Q_OBJECT
public:
    explicit ScrollHint(QAbstractScrollArea* area);

    // The hint being shown, empty when none is.
    QString text() const { return text_; }

private:
    void show(int firstVisibleLine);
    void hide();

    QAbstractScrollArea* area_;
    QString text_;
};

} // namespace ravik
