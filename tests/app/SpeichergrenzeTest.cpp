// Running out of memory: a file too big for the memory left, opened in the browser
// view, carried there from the editor or opened in the editor, gives "Nicht genügend
// Arbeitsspeicher" and leaves the document shown before as it was. The window runs in a child process (a
// fresh one: a forked copy of a window would wait for drawing threads it does not
// have) under a limit on its address space (setrlimit(RLIMIT_AS)), and reports what
// it showed.
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QFile>
#include <QProcess>

#include <sys/resource.h>

using namespace ravik;
using namespace ravik::test;

namespace {

// Room above what the child holds when the limit is set: enough for the small
// document, the editor with the big file and the messages, far too little for the
// browser view of a million sections.
constexpr rlim_t kSpielraum = rlim_t(200) << 20;

rlim_t adressraumJetzt() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith("VmSize:"))
            return rlim_t(zeile.mid(7).trimmed().split(' ').value(0).toULongLong()) * 1024;
    return 0;
}

QByteArray kleineSektionen(int anzahl) {
    QByteArray out;
    out.reserve(qsizetype(anzahl) * 16);
    for (int s = 0; s < anzahl; ++s)
        out += "[S" + QByteArray::number(s) + "]\nk=v\n";
    return out;
}

} // namespace

class SpeichergrenzeTest : public QObject {
    Q_OBJECT
private slots:
    void browserLoadAndSwitchSayOutOfMemoryAndKeepTheDocument() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves terabytes of address space and cannot run under RLIMIT_AS; "
              "the plain build runs this test");
#endif
        QTemporaryDir dir;
        const QString klein = dir.filePath("klein.ini");
        const QString gross = dir.filePath("gross.ini");
        const QString riesig = dir.filePath("riesig.ini");
        const QString bericht = dir.filePath("bericht");
        for (const auto& [pfad, inhalt] : {std::pair{klein, QByteArray("[A]\nk=1\n[B]\n")},
                                           std::pair{gross, kleineSektionen(1000000)},
                                           std::pair{riesig, QByteArray("[R]\n") + QByteArray("k=v\n").repeated(16 << 20)}}) {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(inhalt);
        }
        QProcess kind;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert("RAVIK_GRENZE_KLEIN", klein);
        umgebung.insert("RAVIK_GRENZE_GROSS", gross);
        umgebung.insert("RAVIK_GRENZE_RIESIG", riesig);
        umgebung.insert("RAVIK_GRENZE_BERICHT", bericht);
        kind.setProcessEnvironment(umgebung);
        kind.start(QCoreApplication::applicationFilePath(), {"unterDerGrenze"});
        QVERIFY(kind.waitForFinished(180000));
        QCOMPARE(kind.exitStatus(), QProcess::NormalExit); // no crash
        QFile f(bericht);
        QVERIFY2(f.open(QIODevice::ReadOnly), kind.readAllStandardError().constData());
        const QStringList z = QString::fromUtf8(f.readAll()).split('\n');
        QCOMPARE(z.size(), 9);
        QVERIFY2(z[0].contains(QStringLiteral("Nicht genügend Arbeitsspeicher")), qPrintable(z[0]));
        QCOMPARE(z[1], QStringLiteral("A,A/k,B"));
        QCOMPARE(z[2], klein);
        QVERIFY2(z[3].contains(QStringLiteral("Nicht genügend Arbeitsspeicher")), qPrintable(z[3]));
        QCOMPARE(z[4], QStringLiteral("editor"));
        QCOMPARE(z[5], QStringLiteral("0"));
        QVERIFY2(z[6].contains(QStringLiteral("Nicht genügend Arbeitsspeicher")), qPrintable(z[6]));
        QCOMPARE(z[7], QStringLiteral("0"));
        QCOMPARE(z[8], gross);
    }

    // The child's part: the window under the limit, its messages and document written
    // to the report.
    void unterDerGrenze() {
        const QString bericht = qEnvironmentVariable("RAVIK_GRENZE_BERICHT");
        if (bericht.isEmpty())
            QSKIP("the child process of the test above");
        const QString klein = qEnvironmentVariable("RAVIK_GRENZE_KLEIN");
        const QString gross = qEnvironmentVariable("RAVIK_GRENZE_GROSS");
        Umgebung u;
        u.starten({klein});
        const rlimit grenze{adressraumJetzt() + kSpielraum, RLIM_INFINITY};
        QCOMPARE(::setrlimit(RLIMIT_AS, &grenze), 0);
        QStringList zeilen;
        // Opening the big file in the browser view: the small one stays.
        u.dialoge.chooseFile(gross);
        u.klick("tbtnDateiladen");
        zeilen << u.dialoge.messageTexts().join('|') << u.baumTexte().join(',') << u.form().dateiname();
        u.dialoge.clear();
        // The big file in the editor, then carried to the browser view: it stays in
        // the editor.
        u.klick("tbtnFlip");
        u.dialoge.chooseFile(gross);
        u.klick("tbtnDateiladen");
        const int zeilenImEditor = u.w<SynMemo>("SynMemo1")->lineCount();
        u.klick("tbtnFlip");
        zeilen << u.dialoge.messageTexts().join('|') << u.sichtbareAnsicht()
               << QString::number(u.w<SynMemo>("SynMemo1")->lineCount() - zeilenImEditor);
        u.dialoge.clear();
        // A file of 64 MB in the editor (text, styles and 16 million lines): the
        // editor keeps the big file.
        u.dialoge.chooseFile(qEnvironmentVariable("RAVIK_GRENZE_RIESIG"));
        u.klick("tbtnDateiladen");
        zeilen << u.dialoge.messageTexts().join('|')
               << QString::number(u.w<SynMemo>("SynMemo1")->lineCount() - zeilenImEditor) << u.form().dateiname();
        QFile f(bericht);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(zeilen.join('\n').toUtf8());
    }
};

QTEST_MAIN(SpeichergrenzeTest)
#include "SpeichergrenzeTest.moc"
