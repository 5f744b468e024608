#include "app/editor/EditorAnsicht.h"

#include "app/editor/Statuszeile.h"
#include "app/editor/Suchleiste.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/Werbebereich.h"
#include "app/platform/widgets/Bausteine.h"

#include <QLabel>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

namespace ravik {

EditorAnsicht::EditorAnsicht(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panelEditor"));
    auto* memo = new QWidget(this);
    memo->setObjectName(QStringLiteral("panelMemo"));
    editor_ = new SynMemo(memo);
    suche_ = new Suchleiste(*editor_, memo);
    statuszeile_ = new Statuszeile(*editor_, memo);
    auto* m = new QVBoxLayout(memo);
    m->setContentsMargins(0, 0, 0, 0);
    m->setSpacing(0);
    m->addWidget(editor_, 1);
    m->addWidget(suche_);
    m->addWidget(statuszeile_);

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
    tastenkuerzelAnlegen();
}

// Window-wide while the view is shown (the editor leaves unbound Ctrl combinations and
// function keys to shortcuts); in the browser view the same keys are free for it.
void EditorAnsicht::tastenkuerzelAnlegen() {
    const auto kuerzel = [this](QKeyCombination taste, auto aktion) {
        auto* s = new QShortcut(QKeySequence(taste), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, aktion);
    };
    kuerzel(Qt::CTRL | Qt::Key_F, [this] { suche_->oeffnen(); });
    kuerzel(QKeyCombination(Qt::Key_F3), [this] { suche_->weitersuchen(true); });
    kuerzel(Qt::SHIFT | Qt::Key_F3, [this] { suche_->weitersuchen(false); });
}

void EditorAnsicht::dateiformatSetzen(TextEncoding kodierung, EolStyle zeilenende) {
    editor_->setEolStyle(zeilenende);
    statuszeile_->formatSetzen(kodierung, zeilenende);
}

QByteArrayView EditorAnsicht::aktuellerText() {
    editor_->trimEditedLines(); // no blanks left at the end of an edited line
    return editor_->utf8Text();
}

void EditorAnsicht::textSetzen(const Quelle& quelle, qsizetype bytes) {
    editor_->setTextFrom(quelle, bytes);
}

qint64 EditorAnsicht::groessteDatei() const {
    return SynMemo::kMaxFileBytes;
}

qint64 EditorAnsicht::laengsteZeile() const {
    return SynMemo::kMaxLineBytes;
}

} // namespace ravik
