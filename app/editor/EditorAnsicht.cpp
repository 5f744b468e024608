#include "app/editor/EditorAnsicht.h"

#include "app/editor/SynMemo.h"
#include "app/help/Werbebereich.h"
#include "app/platform/widgets/Bausteine.h"

#include <QLabel>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ravik {

EditorAnsicht::EditorAnsicht(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panelEditor"));
    auto* memo = new QWidget(this);
    memo->setObjectName(QStringLiteral("panelMemo"));
    editor_ = new SynMemo(memo);
    auto* m = new QVBoxLayout(memo);
    m->setContentsMargins(0, 0, 0, 0);
    m->addWidget(editor_);

    auto* seite = new QWidget(this);
    seite->setObjectName(QStringLiteral("Panel5"));
    seite->setFixedWidth(232);
    werbung_ = new Werbebereich(QStringLiteral("WerbetextAnzeige2"), 131, seite);
    sicherheitskopie_ = new QCheckBox(seite);
    sicherheitskopie_->setObjectName(QStringLiteral("CheckBox1"));
    sicherheitskopie_->setChecked(true);
    auto* p = new QVBoxLayout(seite);
    p->addWidget(werbung_);
    p->addStretch();
    p->addWidget(Bausteine::fettesLabel(QStringLiteral("Sicherheitskopie erstellen (empfohlen)"), seite));
    p->addWidget(sicherheitskopie_);

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(memo, 1);
    h->addWidget(Bausteine::senkrechteLinie(this));
    h->addWidget(seite);
}

} // namespace ravik
