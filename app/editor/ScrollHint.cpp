#include "app/editor/ScrollHint.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QScrollBar>
#include <QToolTip>

namespace ravik {

ScrollHint::ScrollHint(QAbstractScrollArea* area) : QObject(area), area_(area) {
    QScrollBar* bar = area_->verticalScrollBar();
    connect(bar, &QScrollBar::sliderMoved, this, &ScrollHint::show);
    connect(bar, &QScrollBar::sliderReleased, this, &ScrollHint::hide);
}

void ScrollHint::show(int firstVisibleLine) {
    text_ = QStringLiteral("Top Line: %1").arg(firstVisibleLine + 1);
    const int width = QFontMetrics(QToolTip::font()).horizontalAdvance(text_) + 24;
    const QRect viewport = area_->viewport()->geometry();
    const QPoint corner(viewport.right() - width, viewport.top() + 4);
    QToolTip::showText(area_->mapToGlobal(corner), text_, area_);
}

void ScrollHint::hide() {
    text_.clear();
    QToolTip::hideText();
}

} // namespace ravik
