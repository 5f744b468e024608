// The start panel: the terms of use, and the choice of the view to start in.
#include "app/help/Startseite.h"

#include "app/platform/widgets/Bausteine.h"
#include "app/platform/widgets/Bilder.h"
#include "core/help/Werbetexte.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravik {

using namespace Bausteine;

Startseite::Startseite(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panelWillkommen"));
    QWidget* panel = this;

    auto* startbild = new QWidget(panel);
    startbild->setObjectName(QStringLiteral("panelStartbild"));
    startbild->setAutoFillBackground(true);
    QPalette weiss = startbild->palette();
    weiss.setColor(QPalette::Window, Qt::white);
    startbild->setPalette(weiss);
    auto* bild = new QLabel(startbild);
    bild->setObjectName(QStringLiteral("Startbild"));
    bild->setPixmap(Bilder::startbild().pixmap(240, 180));
    bild->setAlignment(Qt::AlignCenter);
    Memo1 = new QPlainTextEdit(startbild);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(9 + 2); // 9 pixels of character height, as Windows counts it
    Memo1->setFont(arial);
    QPalette blau = Memo1->palette();
    blau.setColor(QPalette::Base, QColor(176, 216, 255));
    Memo1->setPalette(blau);
    auto* links = new QVBoxLayout(startbild);
    links->addWidget(bild);
    links->addWidget(textLabel(QStringLiteral("Bitte beachten Sie die Nutzungsbedingungen:"), startbild));
    links->addWidget(Memo1, 1);

    auto* rechts = new QWidget(panel);
    rechts->setFixedWidth(276);
    BitBtn3 = knopf(QStringLiteral("BitBtn3"), QStringLiteral("Ravik im Browsermodus starten"), rechts);
    BitBtn2 = knopf(QStringLiteral("BitBtn2"), QStringLiteral("Ravik im Editormodus starten"), rechts);
    BitBtn3->setIcon(Bilder::werkzeugBild(Bilder::kZumBrowser));
    BitBtn2->setIcon(Bilder::werkzeugBild(Bilder::kZumEditor));
    auto* r = new QVBoxLayout(rechts);
    r->addWidget(fettesLabel(QStringLiteral("Bitte wählen Sie:"), rechts));
    r->addWidget(BitBtn3);
    r->addWidget(BitBtn2);
    r->addWidget(textLabel(QStringLiteral("(mit dem Starten des Programms erkennen Sie die Nutzungsbedingungen an)"), rechts));
    r->addSpacing(12);
    r->addWidget(fettesLabel(QStringLiteral("Wichtiger Hinweis"), rechts));
    r->addWidget(textLabel(haftungsausschluss(), rechts));
    r->addWidget(textLabel(QStringLiteral("Bitte beachten Sie auch die Informationen, die während der Nutzung des Produktes eingeblendet werden."), rechts));
    r->addStretch();

    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(startbild, 1);
    h->addWidget(senkrechteLinie(panel));
    h->addWidget(rechts);
}

void Startseite::nutzungsbedingungenZeigen(const QString& text) {
    Memo1->clear();
    Memo1->setPlainText(text);
}

} // namespace ravik
