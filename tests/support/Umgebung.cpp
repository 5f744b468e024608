#include "tests/support/Umgebung.h"

#include "app/browser/IniBaum.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QWindow>

namespace ravik::test {

Umgebung::Umgebung() {
    QStandardPaths::setTestModeEnabled(true);
    for (const char* text : {"ravik_h.tpx", "ravik_n.tpx"})
        QFile::copy(QStringLiteral(RAVIK_SOURCE_DIR "/data/") + QLatin1String(text),
                    programmverzeichnis.filePath(QLatin1String(text)));
}

Umgebung::~Umgebung() {
    form_.reset();
}

TForm1& Umgebung::starten(const QStringList& argumente, DialogService* andereDialoge) {
    Startoptionen optionen;
    optionen.argumente = argumente;
    optionen.programmpfad = programmverzeichnis.path() + QLatin1Char('/');
    optionen.programmdatei = programmverzeichnis.filePath(QStringLiteral("ravik"));
    optionen.temppfad = tempverzeichnis.path();
    optionen.zustandspfad = zustandspfad;
    optionen.sicherungsverzoegerungMs = sicherungsverzoegerungMs;
    form_.reset(); // a window started again follows the one before it
    form_ = std::make_unique<TForm1>(optionen, andereDialoge ? *andereDialoge : dialoge, desktop);
    return *form_;
}

void Umgebung::zeigen() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

QString Umgebung::pfad(const QString& name) const {
    return datenverzeichnis.filePath(name);
}

QString Umgebung::schreiben(const QString& name, const QByteArray& inhalt) {
    const QString ziel = pfad(name);
    QFile f(ziel);
    if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size())
        qFatal("cannot write %s", qPrintable(ziel));
    return ziel;
}

QByteArray Umgebung::lesen(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<fehlt>");
    return f.readAll();
}

void Umgebung::klick(const QString& name) {
    if (auto* action = form_->findChild<QAction*>(name)) {
        action->trigger(); // its menu reports it as chosen
        return;
    }
    // A disabled button ignores the click, as it would under the mouse.
    w<QAbstractButton>(name)->click();
}

void Umgebung::taste(const QString& widget, Qt::Key key, Qt::KeyboardModifiers mod) {
    QTest::keyClick(w(widget), key, mod);
}

QString Umgebung::fenstertitel() const {
    form_->winId(); // the native window, which carries the caption as shown
    return form_->windowHandle()->title();
}

QString Umgebung::sichtbareAnsicht() const {
    const struct {
        const char* panel;
        const char* name;
    } ansichten[] = {{"panelWillkommen", "start"}, {"panelBrowser", "browser"},
                     {"panelEditor", "editor"},    {"panelSetup", "setup"},
                     {"panelHilfe", "hilfe"}};
    QString sichtbar;
    for (const auto& a : ansichten)
        if (!w(QLatin1String(a.panel))->isHidden()) {
            if (!sichtbar.isEmpty())
                return QStringLiteral("mehrere");
            sichtbar = QLatin1String(a.name);
        }
    return sichtbar;
}

bool Umgebung::aktiv(const QString& name) const {
    return w(name)->isEnabled();
}

QStringList Umgebung::baumTexte() const {
    auto* baum = w<IniBaum>(QStringLiteral("iniAnzeige"));
    QAbstractItemModel* m = baum->model();
    QStringList texte;
    for (int s = 0; s < m->rowCount(); ++s) {
        const QModelIndex sektion = m->index(s, 0);
        texte << m->data(sektion).toString();
        for (int k = 0; k < m->rowCount(sektion); ++k)
            texte << m->data(sektion).toString() + QLatin1Char('/') +
                         m->data(m->index(k, 0, sektion)).toString();
    }
    return texte;
}

QStringList Umgebung::tabelle() const {
    const WerteTabelle& t = form_->werteTabelle();
    QStringList zeilen;
    for (int r = 0; r < t.RowCount(); ++r)
        zeilen << QStringList{t.sektion(r), t.schluessel(r), t.wert(r), aktionsmarkeText(t.marke(r))}
                      .join(QLatin1Char('|'));
    return zeilen;
}

QString Umgebung::ausgewaehlt() const {
    auto* baum = w<IniBaum>(QStringLiteral("iniAnzeige"));
    const QModelIndex k = baum->ausgewaehlterKnoten();
    if (!k.isValid())
        return {};
    if (baum->ebene(k) == 0)
        return baum->text(k);
    return baum->text(k.parent()) + QLatin1Char('/') + baum->text(k);
}

void Umgebung::auswaehlen(const QString& pfad) {
    auto* baum = w<IniBaum>(QStringLiteral("iniAnzeige"));
    QAbstractItemModel* m = baum->model();
    const QStringList teile = pfad.split(QLatin1Char('/'));
    for (int s = 0; s < m->rowCount(); ++s) {
        const QModelIndex sektion = m->index(s, 0);
        if (m->data(sektion).toString() != teile[0])
            continue;
        QModelIndex ziel = sektion;
        if (teile.size() > 1) {
            ziel = {};
            for (int k = 0; k < m->rowCount(sektion); ++k)
                if (m->data(m->index(k, 0, sektion)).toString() == teile[1])
                    ziel = m->index(k, 0, sektion);
        }
        if (!ziel.isValid())
            break;
        baum->scrollTo(ziel);
        baum->auswaehlen(ziel);
        emit baum->geklickt();
        return;
    }
    qFatal("no tree node %s", qPrintable(pfad));
}

} // namespace ravik::test
