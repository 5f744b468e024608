#include "bench/EditorSuche.h"

#include "app/editor/SynMemo.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <functional>

namespace ravik::bench {
namespace {

using Sci = QsciScintillaBase;

// Prints the time and what the bar says afterwards.
double messen(const char* name, const std::function<void()>& schritt,
              const QLabel* meldung = nullptr) {
    QElapsedTimer uhr;
    uhr.start();
    schritt();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    const double ms = uhr.nsecsElapsed() / 1e6;
    std::printf("%-42s %10.1f ms  %s\n", name, ms, meldung ? qPrintable(meldung->text()) : "");
    std::fflush(stdout);
    return ms;
}

} // namespace

EditorSucheZeiten editorSucheMessen(QWidget& fenster) {
    auto* memo = fenster.findChild<SynMemo*>(QStringLiteral("SynMemo1"));
    auto* suche = fenster.findChild<QLineEdit*>(QStringLiteral("sucheText"));
    auto* ersetzung = fenster.findChild<QLineEdit*>(QStringLiteral("ersetzenText"));
    auto* meldung = fenster.findChild<QLabel*>(QStringLiteral("sucheMeldung"));
    auto* grossKlein = fenster.findChild<QCheckBox*>(QStringLiteral("sucheGrossKlein"));
    auto* alle = fenster.findChild<QAbstractButton*>(QStringLiteral("btnAlleErsetzen"));
    const auto nachOben = [memo] {
        memo->setFocus();
        memo->SendScintilla(Sci::SCI_GOTOPOS, 0UL);
    };
    const auto suchen = [&](const QString& text, const QString& durch, bool mitGrossKlein) {
        nachOben();
        QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
        suche->setText(text);
        ersetzung->setText(durch);
        grossKlein->setChecked(mitGrossKlein);
        QTest::keyClick(suche, Qt::Key_Escape);
    };

    EditorSucheZeiten z;
    suchen(QStringLiteral("nirgends"), {}, false);
    messen(
        "Editor: F3 ohne Fundstelle (zweimal alles)", [&] { QTest::keyClick(memo, Qt::Key_F3); },
        meldung);
    suchen(QStringLiteral("größe"), {}, false);
    messen(
        "Editor: Umschalt+F3 oben, Umlaut, Aa = aA",
        [&] { QTest::keyClick(memo, Qt::Key_F3, Qt::ShiftModifier); }, meldung);

    suchen(QStringLiteral("Sektion_"), QStringLiteral("Abschnitt_"), false);
    z.alleErsetzen = messen(
        "Editor: Alle ersetzen, Sektion_", [&] { alle->click(); }, meldung);
    z.ersetzt = meldung->text().section(QLatin1Char(' '), 0, 0).toInt();
    messen("Editor: Strg+Z darüber",
           [&] { QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier); });
    suchen(QStringLiteral("größe"), QStringLiteral("Maße"), false);
    messen(
        "Editor: Alle ersetzen, größe, Aa = aA", [&] { alle->click(); }, meldung);
    messen("Editor: Strg+Z darüber",
           [&] { QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier); });
    return z;
}

} // namespace ravik::bench
