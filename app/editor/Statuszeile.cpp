#include "app/editor/Statuszeile.h"

#include "app/editor/SynMemo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace ravik {
namespace {

QLabel* feld(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QFrame* trenner(QWidget* parent) {
    auto* linie = new QFrame(parent);
    linie->setFrameShape(QFrame::VLine);
    linie->setFrameShadow(QFrame::Sunken);
    return linie;
}

} // namespace

Statuszeile::Statuszeile(SynMemo& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("Statuszeile"));
    position_ = feld(QStringLiteral("statusPosition"), this);
    modus_ = feld(QStringLiteral("statusModus"), this);
    format_ = feld(QStringLiteral("statusFormat"), this);
    // Wide enough for the longer mode and for big line numbers, so that the line does
    // not jump while the caret moves.
    modus_->setMinimumWidth(modus_->fontMetrics().horizontalAdvance(QStringLiteral("EINF")) + 8);
    modus_->setAlignment(Qt::AlignCenter);
    position_->setMinimumWidth(
        position_->fontMetrics().horizontalAdvance(QStringLiteral("Zeile 0000000, Spalte 00000")));

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(4, 1, 4, 1);
    h->addWidget(position_);
    h->addStretch();
    h->addWidget(trenner(this));
    h->addWidget(modus_);
    h->addWidget(trenner(this));
    h->addWidget(format_);

    connect(&editor_, &SynMemo::caretUpdated, this, &Statuszeile::aktualisieren);
    // Caret moves that no user action reports, such as dragging a selection.
    connect(&editor_, &SynMemo::SCN_UPDATEUI, this, &Statuszeile::aktualisieren);
    formatSetzen(TextEncoding::Utf8, editor_.eolStyle());
    aktualisieren();
}

QString Statuszeile::zeilenendeName(EolStyle zeilenende) {
    switch (zeilenende) {
    case EolStyle::CrLf:
        return QStringLiteral("CR LF");
    case EolStyle::Lf:
        return QStringLiteral("LF");
    case EolStyle::Cr:
        return QStringLiteral("CR");
    }
    return {};
}

void Statuszeile::formatSetzen(TextEncoding kodierung, EolStyle zeilenende) {
    format_->setText(TextCodec::displayName(kodierung) + QStringLiteral(" · ") +
                     zeilenendeName(zeilenende));
}

void Statuszeile::aktualisieren() {
    const CaretPosition::LineColumn stelle = editor_.caretLineColumn();
    position_->setText(QStringLiteral("Zeile %1, Spalte %2").arg(stelle.line).arg(stelle.column));
    modus_->setText(editor_.overwriteMode() ? QStringLiteral("ÜB") : QStringLiteral("EINF"));
}

} // namespace ravik
