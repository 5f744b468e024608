// The editor view's files: every byte survives opening and saving, the line rules,
// a new document's encoding and line breaks, and the errors — through the window.
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <csignal>
#include <sys/resource.h>

using namespace ravik;
using namespace ravik::test;

namespace {

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding, const char* mark) {
    QStringEncoder encoder(encoding, QStringEncoder::Flag::Stateless);
    return QByteArray(mark, 2) + QByteArray(encoder.encode(text));
}

// A window in the editor view, the backup copy off.
struct Editorfenster {
    Umgebung u;
    SynMemo* memo = nullptr;
    Editorfenster() {
        u.starten();
        u.klick("BitBtn2");
        u.w<QCheckBox>("CheckBox1")->setChecked(true); // no warning on the way
        u.dialoge.answer(Answer::Ok);
        u.w<QCheckBox>("CheckBox1")->setChecked(false);
        u.dialoge.clear();
        memo = u.w<SynMemo>("SynMemo1");
    }
    void oeffnen(const QString& pfad) {
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateiladen");
    }
    // The save button is enabled by the first change; an unchanged text is saved by
    // the command itself.
    void speichern(const QString& pfad) {
        u.dialoge.chooseFile(pfad);
        if (u.aktiv("tbtnDateispeichern"))
            u.klick("tbtnDateispeichern");
        else
            u.form().tbtnDateispeichernClick();
    }
    QString fehler() const {
        const QStringList texte = u.dialoge.messageTexts();
        return texte.isEmpty() ? QStringLiteral("<kein Fehler>") : texte.last();
    }
    // Typed as keys, also characters without a key of their own.
    void tippen(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QByteArray puffer() const { return memo->utf8Text().toByteArray(); }
};

} // namespace

class EditorDateiTest : public QObject {
    Q_OBJECT

private slots:
    void openedAndSavedUnchangedIsTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("[S]\r\nk=v\r\n");
        QTest::newRow("CR") << QByteArray("[S]\rk=v\r");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\re");
        QTest::newRow("only breaks") << QByteArray("\r\n\r\n\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("UTF-8 BOM") << QByteArray("\xef\xbb\xbfk=\xc3\xa4\r\n");
        QTest::newRow("UTF-16 LE") << utf16(QStringLiteral("[Ä]\r\nk=€\r\n"), QStringEncoder::Utf16LE, "\xff\xfe");
        QTest::newRow("UTF-16 BE") << utf16(QStringLiteral("[Ä]\nk=€"), QStringEncoder::Utf16BE, "\xfe\xff");
        QTest::newRow("Windows-1252") << QByteArray("[\xc4]\r\nk=\x80\xe4\x81\x9f\r\n");
        QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0\0\r\nc\0", 12);
        QTest::newRow("invalid UTF-8") << QByteArray("k=\xc3\x28\r\nx=\xff\xfe\xfd");
        QTest::newRow("lone UTF-8 BOM") << QByteArray("\xef\xbb\xbf");
        QTest::newRow("trailing blanks") << QByteArray("k=v  \r\n\t\r\n");
        QByteArray binary(4096, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char& byte : binary)
            byte = char(random.bounded(256));
        QTest::newRow("binary") << binary;
    }
    void openedAndSavedUnchangedIsTheFile() {
        QFETCH(QByteArray, bytes);
        Editorfenster e;
        e.oeffnen(e.u.schreiben("a.ini", bytes));
        // Moving over every line does not touch them.
        QTest::keyClick(e.memo, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < e.memo->lineCount(); ++i) {
            QTest::keyClick(e.memo, Qt::Key_End);
            QTest::keyClick(e.memo, Qt::Key_Down);
        }
        e.speichern(e.u.pfad("b.ini"));
        QCOMPARE(Umgebung::lesen(e.u.pfad("b.ini")), bytes);
        QCOMPARE(e.u.form().dateistatus(), QString("gespeichert"));
    }

    void linesAsTheProgramSeesThem_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("enter"); // what Enter inserts afterwards
        QTest::newRow("CR LF with final break") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b", ""} << QByteArray("\r\n");
        QTest::newRow("LF without final break") << QByteArray("a\nb") << QStringList{"a", "b"} << QByteArray("\n");
        QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << QByteArray("\r\n");
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b", ""} << QByteArray("\r");
        QTest::newRow("empty file") << QByteArray() << QStringList{} << QByteArray("\r\n");
        QTest::newRow("NUL kept in line") << QByteArray("a\0b\nc", 5) << QStringList{QString::fromUtf8("a\0b", 3), "c"} << QByteArray("\n");
        QTest::newRow("Windows-1252 decoded") << QByteArray("k=\x80\xe4") << QStringList{"k=€ä"} << QByteArray("\r\n");
        QTest::newRow("UTF-8 BOM not in the text") << QByteArray("\xef\xbb\xbf[S]\r\n") << QStringList{"[S]", ""} << QByteArray("\r\n");
    }
    void linesAsTheProgramSeesThem() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, enter);
        Editorfenster e;
        e.oeffnen(e.u.schreiben("a.ini", bytes));
        QCOMPARE(e.memo->lineCount(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(e.memo->lineAt(i), lines[i]);
        const bool empty = lines.isEmpty() || (lines.size() == 1 && lines[0].isEmpty());
        QCOMPARE(e.memo->isTextEmpty(), empty);
        QTest::keyClick(e.memo, Qt::Key_Home, Qt::ControlModifier);
        const QByteArray vorher = e.puffer();
        QTest::keyClick(e.memo, Qt::Key_Return);
        QCOMPARE(e.puffer(), enter + vorher);
    }

    // Whatever was open before, a new document is UTF-8 with CR LF breaks.
    void aNewDocumentIsUtf8WithCrLf() {
        Editorfenster e;
        e.oeffnen(e.u.schreiben("alt.ini", "[\xc4]\nk=\x80\n"));
        e.u.klick("tbtnNeu");
        QVERIFY(e.memo->isTextEmpty());
        e.tippen(QStringLiteral("[Ü]"));
        QTest::keyClick(e.memo, Qt::Key_Return);
        e.tippen(QStringLiteral("k=€"));
        e.speichern(e.u.pfad("neu.ini"));
        QCOMPARE(Umgebung::lesen(e.u.pfad("neu.ini")), QStringLiteral("[Ü]\r\nk=€").toUtf8());
    }

    void newSectionAfterAFinalBreakLeavesABlankLine() {
        Editorfenster e;
        e.oeffnen(e.u.schreiben("a.ini", "[A]\r\nk=1\r\n"));
        e.u.dialoge.type("B");
        e.u.klick("tbtnNeueSektion");
        e.speichern(e.u.pfad("a.ini"));
        QCOMPARE(Umgebung::lesen(e.u.pfad("a.ini")), QByteArray("[A]\r\nk=1\r\n\r\n[B]"));
    }

    // A file that cannot be opened leaves the document as it was: text, name, title.
    void filesThatCannotBeOpenedChangeNothing_data() {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("grund"); // empty: the system's
        QTest::newRow("missing") << QString("nicht/da.ini") << QString();
        QTest::newRow("directory") << QString(".") << QString();
        QTest::newRow("device") << QString("/dev/zero") << QString("Das ist keine gewöhnliche Datei.");
        QTest::newRow("overlong line") << QString("lang.ini")
                                       << QString("Die Datei enthält eine Zeile mit mehr als 16000000 Bytes; so lange Zeilen kann der Editor nicht bearbeiten.");
    }
    void filesThatCannotBeOpenedChangeNothing() {
        QFETCH(QString, pfad);
        QFETCH(QString, grund);
        Editorfenster e;
        const QString alt = e.u.schreiben("alt.ini", "keep=me\n");
        e.oeffnen(alt);
        const QString titel = e.u.form().windowTitle();
        if (pfad == "lang.ini")
            e.u.schreiben(pfad, "a\n" + QByteArray(SynMemo::kMaxLineBytes + 1, 'x'));
        const QString ziel = pfad.startsWith('/') ? pfad : QDir::cleanPath(e.u.pfad(pfad));
        e.oeffnen(ziel);
        const QString erwartet = QStringLiteral("Datei %1 kann nicht geöffnet werden. ").arg(QFileInfo(ziel).absoluteFilePath());
        QVERIFY2(e.fehler().startsWith(erwartet), qPrintable(e.fehler()));
        if (!grund.isEmpty())
            QCOMPARE(e.fehler(), erwartet + grund);
        QCOMPARE(e.puffer(), QByteArray("keep=me\n"));
        QCOMPARE(e.u.form().dateiname(), alt);
        QCOMPARE(e.u.form().windowTitle(), titel);
    }

    void saveErrorsKeepTheFileAndTheStatus() {
        Editorfenster e;
        e.oeffnen(e.u.schreiben("old.ini", "old=1\n"));
        QTest::keyClicks(e.memo, QStringLiteral("x"));
        const QString ohneVerzeichnis = e.u.pfad("fehlt/neu.ini");
        e.speichern(ohneVerzeichnis);
        QVERIFY(e.fehler().startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(ohneVerzeichnis)));
        QCOMPARE(e.u.form().dateistatus(), QString("geaendert"));
        // A file size limit makes the write itself fail after the file was created.
        e.memo->insert(QString(64 * 1024, 'y'));
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        e.speichern(e.u.pfad("old.ini"));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(e.fehler(), QStringLiteral("Stream-Schreibfehler: Datei \"%1\" wurde nicht "
                                            "gespeichert. Die Datei ist zu groß.")
                                 .arg(e.u.pfad("old.ini")));
        QCOMPARE(Umgebung::lesen(e.u.pfad("old.ini")), QByteArray("old=1\n"));
        QCOMPARE(QDir(e.u.datenverzeichnis.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.ini"});
        QCOMPARE(e.u.form().dateistatus(), QString("geaendert"));
    }

    void textTheEncodingCannotHoldIsRefused() {
        Editorfenster e;
        const QString pfad = e.u.schreiben("cp1252.ini", "k=\xe4\r\n");
        e.oeffnen(pfad);
        QTest::keyClick(e.memo, Qt::Key_End);
        e.tippen(QStringLiteral("ж"));
        e.speichern(pfad);
        QCOMPARE(e.fehler(), QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält Zeichen, die in der Kodierung Windows-1252 nicht darstellbar sind.").arg(pfad));
        QCOMPARE(Umgebung::lesen(pfad), QByteArray("k=\xe4\r\n"));
        QVERIFY(QDir(e.u.datenverzeichnis.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
    }

    // Only lines whose text the user changed lose their trailing blanks, whatever the
    // caret did on the way: each step is a key ("Shift+Down"), a text typed ('text) or
    // "Alle ersetzen" through the find bar (ersetzen:what>by).
    void onlyChangedLinesLoseTheirBlanks_data() {
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<QByteArray>("gespeichert");
        QTest::addColumn<bool>("geaendert"); // the editor's text left its save point
        const QByteArray datei = "[S]\nk=1   \nl=2   \nm=3\n";
        QTest::newRow("line deleted with Shift+Down, Delete") << QStringList{"Down", "Shift+Down", "Delete", "Down", "Up"} << QByteArray("[S]\nl=2   \nm=3\n") << true;
        QTest::newRow("line deleted with Ctrl+Y") << QStringList{"Down", "Ctrl+Y", "Down"} << QByteArray("[S]\nl=2   \nm=3\n") << true;
        QTest::newRow("Home, Return moves the line") << QStringList{"Down", "Down", "Home", "Return", "Down"} << QByteArray("[S]\nk=1   \n\nl=2   \nm=3\n") << true;
        QTest::newRow("line moved by cut and paste") << QStringList{"Down", "Shift+Down", "Ctrl+X", "Down", "Ctrl+V", "Ctrl+Home"} << QByteArray("[S]\nl=2   \nk=1   \nm=3\n") << true;
        QTest::newRow("typed and undone") << QStringList{"Down", "End", "'x", "Ctrl+Z", "Down"} << datei << false;
        QTest::newRow("Alle ersetzen undone") << QStringList{"ersetzen:=>: ", "Ctrl+Z", "Ctrl+Home", "Down", "Down", "Down"} << datei << false;
        QTest::newRow("blank deleted") << QStringList{"Down", "End", "Backspace", "Down"} << QByteArray("[S]\nk=1\nl=2   \nm=3\n") << true;
        QTest::newRow("blank deleted and typed again") << QStringList{"Down", "End", "Backspace", "' ", "Down"} << datei << true;
        QTest::newRow("blank deleted, caret stays") << QStringList{"Down", "End", "Backspace"} << QByteArray("[S]\nk=1\nl=2   \nm=3\n") << true;
        QTest::newRow("new line") << QStringList{"Ctrl+End", "'n=4  ", "Up"} << QByteArray("[S]\nk=1   \nl=2   \nm=3\nn=4") << true;
    }
    void onlyChangedLinesLoseTheirBlanks() {
        QFETCH(QStringList, schritte);
        QFETCH(QByteArray, gespeichert);
        QFETCH(bool, geaendert);
        Editorfenster e;
        e.oeffnen(e.u.schreiben("a.ini", "[S]\nk=1   \nl=2   \nm=3\n"));
        for (const QString& schritt : schritte) {
            if (schritt.startsWith('\'')) {
                e.tippen(schritt.mid(1));
            } else if (schritt.startsWith("ersetzen:")) {
                QTest::keyClick(e.memo, Qt::Key_F, Qt::ControlModifier);
                const QStringList was = schritt.mid(9).split('>');
                e.u.w<QLineEdit>("sucheText")->setText(was[0]);
                e.u.w<QLineEdit>("ersetzenText")->setText(was[1]);
                e.u.klick("btnAlleErsetzen");
                QVERIFY(e.puffer().contains(was[1].toUtf8()));
            } else {
                const QKeyCombination taste = QKeySequence::fromString(schritt)[0];
                QTest::keyClick(e.memo, taste.key(), taste.keyboardModifiers());
            }
        }
        QCOMPARE(e.memo->isModified(), geaendert);
        e.speichern(e.u.pfad("b.ini"));
        QCOMPARE(Umgebung::lesen(e.u.pfad("b.ini")), gespeichert);
    }

    // Blanks typed at the end of the line that still holds the caret are not saved,
    // nor carried to the browser view.
    void blanksOnTheCaretLineAreNotSaved() {
        Editorfenster e;
        e.oeffnen(e.u.schreiben("a.ini", "a  \r\n"));
        QTest::keyClick(e.memo, Qt::Key_Down);
        QTest::keyClicks(e.memo, QStringLiteral("[S]  "));
        e.speichern(e.u.pfad("a.ini"));
        QCOMPARE(Umgebung::lesen(e.u.pfad("a.ini")), QByteArray("a  \r\n[S]"));
        QTest::keyClicks(e.memo, QStringLiteral("  "));
        QTest::keyClick(e.memo, Qt::Key_Return);
        QTest::keyClicks(e.memo, QStringLiteral("k=1 "));
        e.u.klick("tbtnFlip");
        QCOMPARE(e.u.baumTexte(), (QStringList{"S", "S/k"}));
        e.u.klick("tbtnFlip");
        QCOMPARE(e.puffer(), QByteArray("a  \r\n[S]\r\nk=1"));
    }
};

QTEST_MAIN(EditorDateiTest)
#include "EditorDateiTest.moc"
