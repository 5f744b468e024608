#include "app/platform/dialogs/InputBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravik {

InputBox::InputBox(const QString& caption, const QString& prompt, int maxLength, QWidget* parent)
    : QDialog(parent), field_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("Texteingabe"));
    setWindowTitle(caption);
    auto* label = new QLabel(prompt, this);
    label->setWordWrap(true);
    field_->setObjectName(QStringLiteral("Eingabefeld"));
    field_->setMaxLength(maxLength);
    field_->setMinimumWidth(320);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString InputBox::text() const {
    return field_->text();
}

} // namespace ravik
