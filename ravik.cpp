// Ravik, the Velmora INI editor: program entry.
#include "app/shell/TForm1.h"
#include "app/platform/desktop/Desktop.h"
#include "app/platform/dialogs/QtDialogService.h"
#include "cli/Befehlszeile.h"
#include "cli/Fensterargumente.h"
#include "core/document/Wiederherstellung.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

// Qt's own dialogs (file and colour dialogs, standard buttons) speak German too.
void deutscheUebersetzungLaden(QApplication& app) {
    const QString pfad = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* modul : {"qtbase_de", "qscintilla_de"}) {
        auto* uebersetzung = new QTranslator(&app);
        if (uebersetzung->load(QLatin1String(modul), pfad))
            app.installTranslator(uebersetzung);
        else
            delete uebersetzung;
    }
}

void schreiben(const QByteArray& text, std::FILE* wohin) {
    std::fwrite(text.constData(), 1, size_t(text.size()), wohin);
}

// The command line runs before any application object: it needs no display and starts
// at once.
int befehlAusfuehren(const QStringList& argumente) {
    QByteArray aus;
    QByteArray fehler;
    const int ende = ravik::cli::ausfuehren(argumente, aus, fehler);
    schreiben(aus, stdout);
    schreiben(fehler, stderr);
    return ende;
}

} // namespace

int main(int argc, char* argv[]) {
    ravik::FileIO::failWritesPastTheSizeLimit();
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente << ravik::cli::argument(argv[i]);
    if (ravik::cli::istBefehl(argumente))
        return befehlAusfuehren(argumente);

    ravik::MemoryHints::configureAllocator();
    const int trennung = ravik::cli::qtArgumentanzahl(argc, argv);
    int qtArgc = trennung; // Qt takes its options out of these
    QApplication app(qtArgc, argv);
    // What Qt left of the arguments before "--", and everything after it.
    const auto fenster = ravik::cli::fensterargumenteLesen(
        QApplication::arguments().mid(1) + argumente.mid(trennung - 1));
    if (!fenster.fehler.isEmpty()) {
        schreiben(("ravik: " + fenster.fehler + u'\n').toLocal8Bit() + ravik::cli::aufruf(), stderr);
        return ravik::cli::FalscherAufruf;
    }
    QApplication::setApplicationName(QStringLiteral("ravik"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.ravik.Ravik"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    deutscheUebersetzungLaden(app);

    ravik::Startoptionen optionen;
    optionen.argumente = fenster.dateien;
    optionen.programmpfad = QApplication::applicationDirPath() + QLatin1Char('/');
    optionen.programmdatei = QApplication::applicationFilePath();
    optionen.temppfad = qEnvironmentVariable("TEMP");
    optionen.zustandspfad = ravik::Wiederherstellung::standardVerzeichnis();

    ravik::QtDialogService dialoge;
    ravik::SystemDesktop desktop;
    ravik::TForm1 form1(optionen, dialoge, desktop);
    dialoge.setParent(&form1);
    form1.lageHerstellen();
    form1.show();
    return app.exec();
}
