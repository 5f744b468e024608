// A Ravik killed with SIGKILL: its copy survives, and the next start offers it. The
// test runs itself as the program to kill (--kind): a real main window with scripted
// dialogs, real key events, then the event loop until the end.
#include "core/document/Wiederherstellung.h"
#include "tests/support/Umgebung.h"

#include <QDir>
#include <QProcess>
#include <Qsci/qsciscintilla.h>

using namespace ravik;
using namespace ravik::test;

namespace {

const char* const kKind = "--kind";

// The child: opens the file, switches to the editor, types a line and waits.
int kindLaufen(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList argumente = app.arguments();
    Umgebung u;
    u.zustandspfad = argumente.value(2);
    u.starten({argumente.value(3)});
    u.klick("tbtnFlip");
    u.taste("SynMemo1", Qt::Key_End, Qt::ControlModifier);
    u.taste("SynMemo1", Qt::Key_Return);
    QTest::keyClicks(u.w("SynMemo1"), "neu=vor dem Absturz");
    return app.exec();
}

std::optional<Wiederherstellungskopie> kopieMit(const QString& verzeichnis,
                                                const QByteArray& inhalt) {
    for (const QString& name : QDir(verzeichnis).entryList({"*.wiederherstellung"}, QDir::Files)) {
        auto kopie = Wiederherstellung::lesen(QDir(verzeichnis).filePath(name));
        if (kopie && kopie->text.contains(inhalt))
            return kopie;
    }
    return std::nullopt;
}

} // namespace

class AbsturzTest : public QObject {
    Q_OBJECT

private slots:
    void nachSigkillWirdDieUngespeicherteFassungAngeboten() {
        QTemporaryDir zustand, daten, temp;
        const QString datei = daten.filePath("a.ini");
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[A]\r\nk=1\r\n");
        f.close();

        QProcess kind;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert("TMPDIR", temp.path()); // the child's own temporary directories
        kind.setProcessEnvironment(umgebung);
        kind.setProcessChannelMode(QProcess::ForwardedChannels);
        kind.start(QCoreApplication::applicationFilePath(), {kKind, zustand.path(), datei});
        QVERIFY(kind.waitForStarted());
        // The copy comes a few seconds after the last key.
        QTRY_VERIFY_WITH_TIMEOUT(kopieMit(zustand.path(), "neu=vor dem Absturz"), 60000);
        // While the child runs, its copy is nobody else's.
        QVERIFY(VerwaisteKopie::finden(zustand.path()).empty());
        kind.kill(); // SIGKILL
        QVERIFY(kind.waitForFinished(30000));
        QCOMPARE(kind.exitStatus(), QProcess::CrashExit);

        Umgebung u;
        u.zustandspfad = zustand.path();
        u.dialoge.answer(Answer::Yes);
        TForm1& form = u.starten();
        QCOMPARE(
            u.dialoge.messageTexts(),
            QStringList{"Ravik wurde nicht ordnungsgemäß beendet.\r\n\r\nSoll die ungespeicherte "
                        "Fassung von " +
                        datei + " wiederhergestellt werden?"});
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.w<QsciScintilla>("SynMemo1")->text(),
                 QString("[A]\r\nk=1\r\n\r\nneu=vor dem Absturz"));
        QCOMPARE(form.dateiname(), datei);
        QCOMPARE(form.dateistatus(), QString("geaendert"));
    }
};

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], kKind) == 0)
        return kindLaufen(argc, argv);
    QApplication app(argc, argv);
    AbsturzTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AbsturzTest.moc"
