#include "app/platform/widgets/Bausteine.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace ravik::Bausteine {

QLabel* fettesLabel(const QString& text, QWidget* parent, bool unterstrichen) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont f = label->font();
    f.setBold(true);
    f.setUnderline(unterstrichen);
    label->setFont(f);
    return label;
}

QLabel* textLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QFrame* senkrechteLinie(QWidget* parent) {
    auto* linie = new QFrame(parent);
    linie->setFrameShape(QFrame::VLine);
    linie->setFrameShadow(QFrame::Sunken);
    linie->setLineWidth(1);
    linie->setFixedWidth(2);
    return linie;
}

QLabel* bildLabel(const QIcon& icon, int groesse, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(groesse, groesse));
    label->setFixedSize(groesse, groesse);
    return label;
}

QPushButton* knopf(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace ravik::Bausteine
