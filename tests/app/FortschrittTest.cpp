// The progress dialog of long loads: shown for a step known to take seconds, not for
// a file that loads at once, and gone when the load ends.
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QProgressDialog>

using namespace ravik;
using namespace ravik::test;

namespace {

// Notes the label of every progress dialog that appears.
class DialogZeuge : public QObject {
public:
    DialogZeuge() { qApp->installEventFilter(this); }
    ~DialogZeuge() override { qApp->removeEventFilter(this); }
    QStringList gezeigt;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QProgressDialog*>(objekt))
                gezeigt.append(dialog->objectName() + QLatin1Char(':') + dialog->labelText());
        return false;
    }
};

void imEditorOeffnen(Umgebung& u, const QString& pfad) {
    u.starten();
    u.zeigen();
    u.klick("BitBtn2");
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateiladen");
}

} // namespace

class FortschrittTest : public QObject {
    Q_OBJECT

private slots:
    void aLineOfMegabytesShowsProgressInTheEditor() {
        Umgebung u;
        const QByteArray zeile = "wert=" + QByteArray(1200000, 'x');
        const QString pfad = u.schreiben("lang.ini", "[A]\r\n" + zeile + "\r\n");
        DialogZeuge zeuge;
        imEditorOeffnen(u, pfad);
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QCOMPARE(zeuge.gezeigt, QStringList{"Fortschritt:Datei wird geladen …"});
        QVERIFY(!u.form().findChild<QProgressDialog*>());
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        QCOMPARE(memo->text(1).size(), zeile.size() + 2);
        QCOMPARE(memo->SendScintilla(QsciScintillaBase::SCI_GETLAYOUTCACHE),
                 long(QsciScintillaBase::SC_CACHE_DOCUMENT));
    }

    void aSmallFileShowsNoDialog() {
        Umgebung u;
        const QString pfad = u.schreiben("klein.ini", "[A]\r\nk=v\r\n");
        DialogZeuge zeuge;
        imEditorOeffnen(u, pfad);
        QCOMPARE(u.w<QsciScintilla>("SynMemo1")->text(), QStringLiteral("[A]\r\nk=v\r\n"));
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QStringLiteral("browser"));
        QCOMPARE(zeuge.gezeigt, QStringList());
    }
};

QTEST_MAIN(FortschrittTest)
#include "FortschrittTest.moc"
