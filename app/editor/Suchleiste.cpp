#include "app/editor/Suchleiste.h"

#include "app/editor/SynMemo.h"
#include "app/platform/widgets/Bausteine.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace ravik {
namespace {

// Longer selections are not meant as a search text.
constexpr long kLaengsteAuswahl = 256;

QLineEdit* feld(const QString& name, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setClearButtonEnabled(true);
    return f;
}

QPushButton* knopf(const QString& name, const QString& text, const QString& hinweis,
                   QWidget* parent) {
    QPushButton* k = Bausteine::knopf(name, text, parent);
    k->setToolTip(hinweis);
    k->setAutoDefault(false);
    return k;
}

} // namespace

Suchleiste::Suchleiste(SynMemo& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("sucheEditor"));
    suchtext_ = feld(QStringLiteral("sucheText"), this);
    suchtext_->setToolTip(QStringLiteral("Suchtext (Strg+F); Enter sucht weiter, "
                                         "Umschalt+Enter zurück"));
    ersetzung_ = feld(QStringLiteral("ersetzenText"), this);
    ersetzung_->setToolTip(QStringLiteral("Ersetzen durch; Enter ersetzt"));
    vorige_ = knopf(QStringLiteral("btnVorige"), QStringLiteral("Vorige"),
                    QStringLiteral("Vorige Fundstelle (Umschalt+F3)"), this);
    naechste_ = knopf(QStringLiteral("btnNaechste"), QStringLiteral("Nächste"),
                      QStringLiteral("Nächste Fundstelle (F3)"), this);
    ersetzen_ =
        knopf(QStringLiteral("btnErsetzen"), QStringLiteral("Ersetzen"),
              QStringLiteral("Die markierte Fundstelle ersetzen und die nächste suchen"), this);
    alleErsetzen_ = knopf(QStringLiteral("btnAlleErsetzen"), QStringLiteral("Alle ersetzen"),
                          QStringLiteral("Alle Fundstellen im Text ersetzen (ein Schritt "
                                         "für Rückgängig)"),
                          this);
    auto* zu = knopf(QStringLiteral("btnSucheSchliessen"), QStringLiteral("×"),
                     QStringLiteral("Suchleiste schließen (Esc)"), this);
    zu->setFlat(true);
    zu->setMaximumWidth(zu->sizeHint().height() + 4);
    grossKlein_ = new QCheckBox(QStringLiteral("Groß-/Kleinschreibung"), this);
    grossKlein_->setObjectName(QStringLiteral("sucheGrossKlein"));
    ganzesWort_ = new QCheckBox(QStringLiteral("Ganzes Wort"), this);
    ganzesWort_->setObjectName(QStringLiteral("sucheGanzesWort"));
    meldung_ = new QLabel(this);
    meldung_->setObjectName(QStringLiteral("sucheMeldung"));
    // A long search text in the message must not widen the window.
    meldung_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // Three rows, so that every label keeps its full width beside the editor's side panel
    // at the window's first size: search, replace, then the options and the message.
    auto* g = new QGridLayout(this);
    g->setContentsMargins(4, 2, 4, 2);
    g->setVerticalSpacing(2);
    g->addWidget(new QLabel(QStringLiteral("Suchen:"), this), 0, 0);
    g->addWidget(suchtext_, 0, 1);
    g->addWidget(vorige_, 0, 2);
    g->addWidget(naechste_, 0, 3);
    g->addWidget(zu, 0, 4, Qt::AlignRight);
    g->addWidget(new QLabel(QStringLiteral("Ersetzen durch:"), this), 1, 0);
    g->addWidget(ersetzung_, 1, 1);
    g->addWidget(ersetzen_, 1, 2);
    g->addWidget(alleErsetzen_, 1, 3);
    auto* optionen = new QHBoxLayout;
    optionen->setContentsMargins(0, 0, 0, 0);
    optionen->addWidget(grossKlein_);
    optionen->addWidget(ganzesWort_);
    optionen->addWidget(meldung_, 1);
    g->addLayout(optionen, 2, 1, 1, 4);
    g->setColumnStretch(1, 1);

    connect(vorige_, &QPushButton::clicked, this, [this] { weitersuchen(false); });
    connect(naechste_, &QPushButton::clicked, this, [this] { weitersuchen(true); });
    connect(ersetzen_, &QPushButton::clicked, this, &Suchleiste::ersetzen);
    connect(alleErsetzen_, &QPushButton::clicked, this, &Suchleiste::alleErsetzen);
    connect(zu, &QPushButton::clicked, this, &Suchleiste::schliessen);
    connect(suchtext_, &QLineEdit::textChanged, this, [this] {
        melden(QString());
        knoepfeAktivieren();
    });
    for (QCheckBox* option : {grossKlein_, ganzesWort_})
        connect(option, &QCheckBox::toggled, this, [this] { melden(QString()); });
    suchtext_->installEventFilter(this);
    ersetzung_->installEventFilter(this);
    // Escape belongs to the bar only while it has the focus: in the editor it stays a
    // typed character.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &Suchleiste::schliessen);

    knoepfeAktivieren();
    hide();
}

SearchOptions Suchleiste::optionen() const {
    return {grossKlein_->isChecked(), ganzesWort_->isChecked()};
}

void Suchleiste::oeffnen() {
    const long start = editor_.SendScintilla(SynMemo::SCI_GETSELECTIONSTART);
    const long ende = editor_.SendScintilla(SynMemo::SCI_GETSELECTIONEND);
    if (ende > start && ende - start <= kLaengsteAuswahl) {
        const QString auswahl = editor_.selectedText();
        if (!auswahl.contains(QLatin1Char('\n')) && !auswahl.contains(QLatin1Char('\r')))
            suchtext_->setText(auswahl);
    }
    show();
    suchtext_->setFocus(Qt::ShortcutFocusReason);
    suchtext_->selectAll();
}

void Suchleiste::weitersuchen(bool vorwaerts) {
    if (suchtext_->text().isEmpty()) {
        oeffnen();
        return;
    }
    show();
    ergebnisMelden(editor_.find(suchtext_->text(), optionen(), vorwaerts), vorwaerts);
}

void Suchleiste::ersetzen() {
    if (suchtext_->text().isEmpty())
        return;
    editor_.replaceSelection(suchtext_->text(), ersetzung_->text(), optionen());
    ergebnisMelden(editor_.find(suchtext_->text(), optionen(), true), true);
}

void Suchleiste::alleErsetzen() {
    if (suchtext_->text().isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int anzahl = editor_.replaceAll(suchtext_->text(), ersetzung_->text(), optionen());
    QApplication::restoreOverrideCursor();
    if (anzahl == 0)
        ergebnisMelden(FindResult::NotFound, true);
    else if (anzahl == 1)
        melden(QStringLiteral("1 Stelle ersetzt."));
    else
        melden(QStringLiteral("%1 Stellen ersetzt.").arg(anzahl));
}

void Suchleiste::schliessen() {
    hide();
    editor_.setFocus(Qt::OtherFocusReason);
}

void Suchleiste::ergebnisMelden(FindResult ergebnis, bool vorwaerts) {
    switch (ergebnis) {
    case FindResult::Found:
        melden(QString());
        break;
    case FindResult::FoundAfterWrap:
        melden(vorwaerts ? QStringLiteral("Textende erreicht, weiter am Anfang.")
                         : QStringLiteral("Textanfang erreicht, weiter am Ende."));
        break;
    case FindResult::NotFound:
        melden(QStringLiteral("„%1“ wurde nicht gefunden.").arg(suchtext_->text()), true);
        break;
    }
}

void Suchleiste::melden(const QString& text, bool fehler) {
    meldung_->setText(text);
    meldung_->setStyleSheet(fehler ? QStringLiteral("color: #b00000;") : QString());
}

void Suchleiste::knoepfeAktivieren() {
    const bool suchtext = !suchtext_->text().isEmpty();
    for (QPushButton* k : {vorige_, naechste_, ersetzen_, alleErsetzen_})
        k->setEnabled(suchtext);
}

// Enter in the search field searches on (Shift+Enter back), in the replacement field
// it replaces.
bool Suchleiste::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* taste = static_cast<QKeyEvent*>(event);
    if (taste->key() != Qt::Key_Return && taste->key() != Qt::Key_Enter)
        return false;
    if (watched == ersetzung_)
        ersetzen();
    else
        weitersuchen(!(taste->modifiers() & Qt::ShiftModifier));
    return true;
}

} // namespace ravik
