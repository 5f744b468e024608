#include "bench/EditorTasten.h"

#include "core/platform/files/TextFile.h"
#include "app/editor/Statuszeile.h"
#include "app/editor/SynMemo.h"
#include "bench/Eingabe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace ravik::bench {
namespace {

using Sci = QsciScintillaBase;

constexpr int kTasten = 50;

void zeichnen() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

double taste(SynMemo& memo, Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
    QElapsedTimer uhr;
    uhr.start();
    QTest::keyClick(&memo, key, mod);
    zeichnen();
    return uhr.nsecsElapsed() / 1e6;
}

double median(std::vector<double> werte) {
    if (werte.empty())
        return -1;
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() / 2];
}

double drucken(const char* name, const std::vector<double>& werte) {
    const double m = median(werte);
    std::printf("%-42s %10.1f ms  (Median aus %zu, höchstens %.1f ms)\n", name, m, werte.size(),
                werte.empty() ? 0.0 : *std::max_element(werte.begin(), werte.end()));
    std::fflush(stdout);
    return m;
}

// The same key `anzahl` times; vorher() places the caret before each (not timed).
double reihe(SynMemo& memo, const char* name, Qt::Key key, Qt::KeyboardModifiers mod,
             const std::function<void()>& vorher = {}, int anzahl = kTasten) {
    std::vector<double> werte;
    for (int i = 0; i < anzahl; ++i) {
        if (vorher)
            vorher();
        werte.push_back(taste(memo, key, mod));
    }
    return drucken(name, werte);
}

void caretNach(SynMemo& memo, long position) {
    memo.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(position));
    zeichnen();
}

long laenge(const SynMemo& memo) {
    return memo.SendScintilla(Sci::SCI_GETLENGTH);
}

long zeilenAnfang(const SynMemo& memo, long zeile) {
    return memo.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(zeile));
}

} // namespace

EditorTastenZeiten editorTastenMessen(SynMemo& memo) {
    EditorTastenZeiten z;
    memo.setFocus();
    zeichnen();
    caretNach(memo, 0);
    z.obenTippen = reihe(memo, "Editor: Zeichen oben tippen", Qt::Key_X, Qt::NoModifier);
    caretNach(memo, zeilenAnfang(memo, memo.lineCount() / 2));
    z.mitteTippen = reihe(memo, "Editor: Zeichen in der Mitte tippen", Qt::Key_X, Qt::NoModifier);
    caretNach(memo, laenge(memo));
    z.endeTippen = reihe(memo, "Editor: Zeichen am Ende tippen", Qt::Key_X, Qt::NoModifier);
    z.endeReturn = reihe(memo, "Editor: Eingabetaste am Ende", Qt::Key_Return, Qt::NoModifier);
    z.endeRuecktaste = reihe(memo, "Editor: Rücktaste am Ende", Qt::Key_Backspace, Qt::NoModifier);
    caretNach(memo, laenge(memo) - 2000);
    z.endeEntf = reihe(memo, "Editor: Entf am Ende", Qt::Key_Delete, Qt::NoModifier);
    caretNach(memo, zeilenAnfang(memo, memo.lineCount() - 2 * kTasten));
    z.endeStrgY = reihe(memo, "Editor: Strg+Y am Ende", Qt::Key_Y, Qt::ControlModifier);

    // Undo and redo of runs at the end, a few rounds of each.
    std::vector<double> zurueckTippen, vorTippen, zurueckLoeschen, vorLoeschen;
    for (int runde = 0; runde < 5; ++runde) {
        caretNach(memo, laenge(memo));
        for (int i = 0; i < kTasten; ++i)
            QTest::keyClick(&memo, Qt::Key_Y);
        zeichnen();
        zurueckTippen.push_back(taste(memo, Qt::Key_Z, Qt::ControlModifier));
        vorTippen.push_back(taste(memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
        caretNach(memo, laenge(memo));
        for (int i = 0; i < kTasten; ++i)
            QTest::keyClick(&memo, Qt::Key_Backspace);
        zeichnen();
        zurueckLoeschen.push_back(taste(memo, Qt::Key_Z, Qt::ControlModifier));
        vorLoeschen.push_back(taste(memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
    }
    z.rueckgaengigTippen = drucken("Editor: Strg+Z über 50 Zeichen am Ende", zurueckTippen);
    z.wiederholenTippen = drucken("Editor: Strg+Umschalt+Z darüber", vorTippen);
    z.rueckgaengigRuecktaste =
        drucken("Editor: Strg+Z über 50 Rücktasten am Ende", zurueckLoeschen);
    z.wiederholenRuecktaste = drucken("Editor: Strg+Umschalt+Z darüber", vorLoeschen);

    z.strgEnde = reihe(
        memo, "Editor: Strg+Ende von oben", Qt::Key_End, Qt::ControlModifier,
        [&] { caretNach(memo, 0); }, 10);
    return z;
}

double langeZeileMessen(SynMemo& memo, const char* name, int tasten) {
    memo.setFocus();
    caretNach(memo, 0);
    const QByteArray nebenan = QByteArray("Editor: Taste neben ") + name;
    const double neben = reihe(memo, nebenan.constData(), Qt::Key_X, Qt::NoModifier, {}, tasten);
    // Breaking a line above it moves the long line down; joining them moves it back.
    const QByteArray darueber = QByteArray("Editor: Eingabe- und Rücktaste über ") + name;
    std::vector<double> werte;
    for (int i = 0; i < 2; ++i) {
        werte.push_back(taste(memo, Qt::Key_Return));
        werte.push_back(taste(memo, Qt::Key_Backspace));
    }
    drucken(darueber.constData(), werte);
    caretNach(memo, zeilenAnfang(memo, 1) + 5);
    const QByteArray darin = QByteArray("Editor: Taste in ") + name;
    reihe(memo, darin.constData(), Qt::Key_X, Qt::NoModifier, {}, 3);
    return neben;
}

double langeZeileMessen(const QString& verzeichnis, qint64 bytes, const char* name, int tasten) {
    const QString pfad = QDir(verzeichnis).filePath(QStringLiteral("lang.ini"));
    {
        QFile f(pfad);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(langeZeile(bytes) + grosseIniDatei(20, 25));
    }
    // With the status line below, as in the window: it follows every key.
    QWidget rahmen;
    auto* memoImRahmen = new SynMemo(&rahmen);
    SynMemo& memo = *memoImRahmen;
    auto* spalte = new QVBoxLayout(&rahmen);
    spalte->addWidget(memoImRahmen, 1);
    spalte->addWidget(new Statuszeile(memo, &rahmen));
    rahmen.resize(900, 700);
    rahmen.show();
    zeichnen();
    const TextFileContent inhalt = TextFile::read(pfad);
    memo.setTextFrom([&](const SynMemo::PieceSink& stueck) { TextFile::toUtf8Pieces(inhalt, stueck); },
                     inhalt.bytes.size());
    zeichnen();
    const double ms = langeZeileMessen(memo, name, tasten);
    QFile::remove(pfad);
    return ms;
}

} // namespace ravik::bench
