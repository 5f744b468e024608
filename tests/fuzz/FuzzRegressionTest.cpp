// Replays every input that once broke a fuzzer's invariants (fuzz/regressions/<fuzzer>)
// and every file of the round-trip collection through the same checks, so that a
// fixed fault stays fixed without libFuzzer.
#include "fuzz/checks/FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace ravik;

namespace {

using Check = std::string (*)(QByteArrayView);

struct Fuzzer {
    const char* name;
    Check check;
};
const Fuzzer kFuzzers[] = {{"ini_engine", fuzz::checkIniEngine},
                           {"line_text", fuzz::checkLineText},
                           {"tokenizer", fuzz::checkTokenizer}};

QStringList filesIn(const QString& dir) {
    QStringList paths;
    const QDir d(dir);
    for (const QString& name : d.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!name.startsWith(QLatin1Char('.')))
            paths << d.filePath(name);
    return paths;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

} // namespace

class FuzzRegressionTest : public QObject {
    Q_OBJECT

private slots:
    void everySavedInputKeepsTheInvariants_data() {
        QTest::addColumn<int>("fuzzer");
        QTest::addColumn<QString>("path");
        int regressions = 0;
        for (int f = 0; f < int(std::size(kFuzzers)); ++f) {
            const QString name = QLatin1String(kFuzzers[f].name);
            const QStringList own =
                filesIn(QStringLiteral(RAVIK_SOURCE_DIR "/fuzz/regressions/") + name);
            regressions += int(own.size());
            const QStringList data =
                filesIn(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip"));
            for (const QString& path : own + data)
                QTest::newRow(qPrintable(name + QLatin1Char(':') + QFileInfo(path).fileName()))
                    << f << path;
        }
        QVERIFY2(regressions > 0, "no saved fuzzer inputs found");
    }

    void everySavedInputKeepsTheInvariants() {
        QFETCH(int, fuzzer);
        QFETCH(QString, path);
        const std::string broken = kFuzzers[fuzzer].check(contents(path));
        QVERIFY2(broken.empty(), broken.c_str());
    }
};

QTEST_MAIN(FuzzRegressionTest)
#include "FuzzRegressionTest.moc"
